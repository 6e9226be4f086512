#pragma once
// The settings as four values in the host's own registry key of the current user. Nothing is
// cached: every check and every opening of the dialog loads them afresh.

#include "settings/plugin_settings.h"

#include <windows.h>

// Fills the record, first creating every missing value with its default; the default company
// domain comes from the mail address of the host's current mailbox. S_OK; E_INVALIDARG for a null
// record; E_FAIL when the key cannot be opened or a default cannot be written.
HRESULT LoadSettings(PluginSettings* settings);

// Writes the four values, stopping at the first failed write: S_OK or E_FAIL.
HRESULT SaveSettings(PluginSettings settings);

// Copies the text into a 256-byte text field; a text too long for it is cut to 255 bytes and
// answered with HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER).
HRESULT CopyBounded(const char* source, char* field);
