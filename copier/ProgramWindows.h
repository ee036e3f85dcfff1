// The windows of their own that the program's main window opens: the properties window with
// its Summary pages, the about box, the batch copy, the folder picker of the add-folder
// command and the rename popup.
#pragma once
#include "copier/FrmCopy.h"

namespace salva {

// Registers the Summary pages and fills the options' command windows with the program's own.
void UseProgramWindows(FrmCopy::Options& options);

}  // namespace salva
