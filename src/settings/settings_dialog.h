#pragma once
// The modal dialog in which the user edits the plug-in's settings.

#include <windows.h>

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the dialog modally, owned by the window, and answers DialogBoxParamA's result:
// 1 after the settings were saved, 2 when the user cancelled.
INT_PTR OpenSettingsDialog(HWND owner);
