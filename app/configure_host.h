#pragma once
// korvel3d --configure: the configuration sheet beside a live preview of the saver.
#include "app/command_line.h"

// Shows the preview window and the sheet. Cancel (or Escape, or closing either window) ends
// the program; Save writes the settings and rebuilds the preview at once, which keeps running
// until its window is closed (a click or Return in it opens the sheet again). Returns the
// program's exit status: 0, 1 when the sheet or the preview cannot be made, 2 without a display.
int RunConfigure(const CommandLine& line);
