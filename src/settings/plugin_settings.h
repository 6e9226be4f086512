#pragma once
// The plug-in's four settings.

#include <cstdint>

struct PluginSettings
{
    int32_t enabled;         // the check runs when non-zero; the dialog writes 1 or 0
    char companyDomain[256]; // recipients whose domain part does not contain it are outside
    char bossAddress[256];   // added to Cc when the boss is missing
    int32_t showAlert;       // exactly 1: warn first and let the user choose; else add silently
};
