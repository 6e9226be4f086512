#pragma once
// What the settings dialog requires before it saves: with the feature on, the boss address must be
// one mail address and nothing else, and the company domain must not be empty.

#include "settings/plugin_settings.h"

#include <vector>

struct SettingsValidation
{
    bool valid = true;
    std::vector<const char*> messages; // for the user, in the order they are to be shown
};

// A switched-off feature needs nothing. An address that can't be searched counts as missing; an
// error raised while searching (a failed conversion, no memory) passes to the caller.
SettingsValidation ValidateSettings(const PluginSettings& settings);
