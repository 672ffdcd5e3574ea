#pragma once
// Handing an address to the desktop: its opener shows a web page in the user's browser.
#include <string>

// Starts the desktop's opener ("xdg-open", found on PATH) with the address as its one argument,
// directly and without a shell, and returns at once without waiting for it. False, with *error,
// when it cannot be started.
bool OpenAddress(const std::string& address, std::string* error = nullptr);
