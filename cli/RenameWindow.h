#pragma once
// A component renamed as a person does it in the tool window's rename window: its row chosen, the
// new name typed, "設定" pressed, the window closed with OK. `quorlin rename` and the language
// server both rename so; the designer behind the window decides what changes.

#include <string>

#include "ConsoleDesktop.h"
#include "toolkit/Form.h"

namespace cli {

struct WindowRename {
    bool Opened = false;   // the window came up: the current unit has a form
    bool Listed = false;   // the window lists a component of the old name
    bool Renamed = false;  // its row took the new name: the designer accepted it
};

// Renames component oldName of the current unit's form to newName (both as the add-in holds them,
// code page 932); what the add-in says goes to the desktop. False when the tool window has no
// rename item.
bool RenameInWindow(tk::Form& toolWindow, ConsoleDesktop& desktop, const std::string& oldName,
                    const std::string& newName, WindowRename& rename);

}  // namespace cli
