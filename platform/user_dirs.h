#pragma once
// The user's folders for Korvel 3D, after the XDG base directory conventions.
#include <string>

// $XDG_CONFIG_HOME/korvel3d, else ~/.config/korvel3d; KORVEL3D_CONFIG_DIR overrides both.
std::string UserConfigDir();
// $XDG_CACHE_HOME/korvel3d, else ~/.cache/korvel3d.
std::string UserCacheDir();
// Creates the folder and its parents (mode 0700 for new ones); true when it exists afterwards.
bool EnsureDirectory(const std::string& path);
