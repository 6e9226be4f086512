#pragma once
// The plug-in's one menu command, which opens the settings dialog.

#include <windows.h>

// Registers the command with the host and appends a separator and the command's item to the
// fifth sub-menu. Nothing is remembered, so every call registers and appends again.
void AddSettingsCommand(HMENU menu);

// The command callback: opens the settings dialog owned by the window and answers its result.
int WINAPI ShowSettingsDialog(HWND window, LPARAM unused);

// The command's state callback: the command is always available as it is.
UINT WINAPI QueryCommandState(HWND window, LPARAM unused);
