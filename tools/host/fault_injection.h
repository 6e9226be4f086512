#pragma once
// Makes a system service fail inside a loaded plug-in, by pointing the plug-in's import of it at
// a stand-in that fails, so that the plug-in's error paths run on its real code.

#include <windows.h>

#include <string>
#include <vector>

// Points the module's import of dll!function at the replacement for as long as it lives.
class ImportPatch
{
public:
    ImportPatch(HMODULE module, const char* dll, const char* function, FARPROC replacement);
    template <typename Function>
    ImportPatch(HMODULE module, const char* dll, const char* function, Function replacement)
        : ImportPatch(module, dll, function, reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(replacement)))
    {
    }
    ~ImportPatch();
    ImportPatch(ImportPatch&& other) noexcept;
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;
    ImportPatch& operator=(ImportPatch&&) = delete;

    // False when the module does not import that function.
    bool applied() const { return slot_ != nullptr; }

    // What the import pointed at before: a stand-in that records calls passes them on to it.
    template <typename Function> Function original() const
    {
        return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(original_));
    }

private:
    FARPROC* slot_ = nullptr;
    FARPROC original_ = nullptr;
};

// Faults by name, for as long as the object lives: "conversion" (code-page conversions fail),
// "memory" (malloc finds no memory for requests of 1 KiB or more), "messagebox" (message boxes
// fail to show).
class InjectedFault
{
public:
    InjectedFault(HMODULE module, const std::string& fault);

    // False for an unknown fault or a module without the imports it replaces.
    bool applied() const { return !patches_.empty(); }

private:
    std::vector<ImportPatch> patches_;
};
