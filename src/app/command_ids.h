#pragma once

namespace orbitograph {

// The main window's commands, by the ids of its menu. The ids are the
// program's own command identifiers and stay as they are: 57603 and 57607
// are the ids Save and Print have always had, the others the 40000 range of
// the program's own commands.
enum CommandId : int {
    kCmdExit = 40002,
    kCmdSavePicture = 57603,
    kCmdPrint = 57607,
    kCmdFractalParameters = 40005,
    kCmdProgramSettings = 40013,
    kCmdShowAttractors = 40016,
    kCmdShowBasins = 40017,
    kCmdLegend = 40022,
    kCmdAbout = 40009,
    kCmdHelpInstructions = 40008,
    // The pop-up "Исследование".
    kCmdFitWindow = 40101,
    kCmdBack = 40102,
    kCmdForward = 40103,
    kCmdHomeArea = 40104,
    kCmdStatusBar = 40105,
    kCmdLiveParams = 40120,
    kCmdOpenParamsFromPicture = 40121,
    kCmdExportData = 40122,
    kCmdProbe = 40123,
    kCmdClearProbe = 40124,
    kCmdSweep = 40125,
    kCmdPlane = 40126,
    // "Раскраска бассейнов" and the dock "Аттракторы".
    kCmdColourByKind = 40160,
    kCmdColourByAttractor = 40161,
    kCmdColourByExit = 40162,
    kCmdColourByPeriod = 40163,
    kCmdAttractorDock = 40164,
};

}  // namespace orbitograph
