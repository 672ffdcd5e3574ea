#pragma once
// The manual page korvel3d.1, written from the table of options.
#include <string>

// dataDir: the folder the archive and the sheet's interface file are installed in.
std::string ManPage(const std::string& dataDir);
