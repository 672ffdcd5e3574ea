#pragma once
// The stored preferences' defaults as a record: what a new store reads as.
#include "front/settings.h"

struct DefaultPreferences {
    bool MainMonitorOnly = false;
    SETTINGS settings;
};

// Taken from the preference table, so it cannot drift from the store's defaults.
DefaultPreferences Defaults();
