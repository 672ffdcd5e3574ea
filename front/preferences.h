#pragma once
// Reading the stored preferences into the view's flag and settings record, and writing them back.
#include "front/settings.h"
#include "platform/screen_saver_defaults.h"

inline constexpr char kPreferencesModule[] = "zqKorvel3D";

// When the store's version mark is not exactly "1.0", first writes the mark and every default
// and synchronizes; then reads every key into its field. The values that would break the saver
// (glyph size, line count, fall speed) are brought within their safe bounds; all others are
// taken as stored.
void ReadPreferences(ScreenSaverDefaults& store, bool& mainMonitorOnly, SETTINGS& settings);
// Writes every key but the version mark from the flag and the record, then synchronizes.
// False when the store could not be saved.
bool WritePreferences(ScreenSaverDefaults& store, bool mainMonitorOnly, const SETTINGS& settings);

// The same on the module's shared store.
void ReadPreferences(bool& mainMonitorOnly, SETTINGS& settings);
bool WritePreferences(bool mainMonitorOnly, const SETTINGS& settings);
