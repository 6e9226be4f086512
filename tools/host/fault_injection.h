#pragma once
// Makes a system service fail inside a loaded plug-in, by pointing the plug-in's import of it at
// a stand-in that fails, so that the plug-in's error paths run on its real code.

#include <windows.h>

#include <string>

// Replaces the module's import of dll!function; answers the address it replaced, or null when
// the module does not import that function.
FARPROC PatchImport(HMODULE module, const char* dll, const char* function, FARPROC replacement);

// Faults by name: "conversion" (code-page conversions fail), "memory" (malloc finds no memory),
// "messagebox" (message boxes fail to show). Answers false for an unknown name or an import
// the module does not have.
bool InjectFault(HMODULE module, const std::string& fault);
