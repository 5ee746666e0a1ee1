#pragma once

namespace orbitograph {

// The main window's commands, by the ids of its menu.
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
};

}  // namespace orbitograph
