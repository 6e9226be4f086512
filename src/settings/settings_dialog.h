#pragma once
// The modal dialog in which the user edits the plug-in's settings. The controls hold its state;
// the dialog keeps no record of its own between messages.

#include "settings/plugin_settings.h"

#include <windows.h>

// Never lets an error out into the dialog manager: an error while opening leaves the controls as
// the template made them, and one while confirming keeps the dialog open with nothing saved.
INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Puts the record into the controls; a value other than exactly 1 (or 0 for the automatic Cc)
// leaves its button unchecked. Enables and disables nothing. S_OK.
HRESULT FillSettingsDialog(PluginSettings settings, HWND dialog);

// Fills the record from the controls, each text cut to 255 bytes. S_OK, or E_INVALIDARG for a
// null record.
HRESULT ReadSettingsFromDialog(PluginSettings* settings, HWND dialog);

// Runs the dialog modally, owned by the window, and answers DialogBoxParamA's result:
// IDOK after the settings were saved, IDCANCEL when the user cancelled or closed it.
INT_PTR OpenSettingsDialog(HWND owner);
