#pragma once
// The ways the program hosts the saver. Each returns the program's exit status.
#include "app/command_line.h"

// The saver on every monitor until any input.
int RunFullScreen(const CommandLine& line);
// One view in an ordinary window (or the small preview pane) until Escape, q or close.
int RunWindow(const CommandLine& line);
// XScreenSaver's hack: draws into its window until SIGTERM or the window goes.
int RunHack(const CommandLine& line);
// Headless frames into PNG files.
int RunRender(const CommandLine& line);

// A one-line complaint about how the program was called, and its exit status (2).
int UsageError(const std::string& message);
