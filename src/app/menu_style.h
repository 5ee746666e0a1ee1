#pragma once

class QMenu;

namespace orbitograph {

// Makes a pop-up menu keep every separator, also one at its top or bottom
// (Qt drops those by default), and draws a separator as a line in the middle
// of half a text line's height, so that a separator at the top shows clear
// of the menu's frame as one between items does.
void SetUpMenu(QMenu* menu);

}  // namespace orbitograph
