#pragma once
// A plug-in loaded the way the host loads it, with its sixteen callbacks found by name.

#include "shell/exports.h"
#include "shell/unique_handle.h"

#include <string>

#define QUILLMERE_PLUGIN_CALLBACKS(X) \
    X(BKC_OnStart)                    \
    X(BKC_OnExit)                     \
    X(BKC_OnMenuInit)                 \
    X(BKC_OnOpenFolder)               \
    X(BKC_OnOpenMail)                 \
    X(BKC_OnEveryMinute)              \
    X(BKC_OnOpenCompose)              \
    X(BKC_OnOutgoing)                 \
    X(BKC_OnKeyDispatch)              \
    X(BKC_OnRetrieve)                 \
    X(BKC_OnSend)                     \
    X(BKC_OnFinishRetrieve)           \
    X(BKC_OnPlugInSetup)              \
    X(BKC_OnPlugInInfo)               \
    X(BKC_OnDragDrop)                 \
    X(BKC_OnBeforeFilter2)

class PluginModule
{
public:
    // Loads the DLL; loaded() tells whether Windows loaded it, which it refuses when the
    // plug-in cannot bind to this process.
    explicit PluginModule(const std::string& path);

    bool loaded() const { return static_cast<bool>(module_); }
    HMODULE module() const { return module_.get(); }
    DWORD loadError() const { return loadError_; }

    // Each callback, or null when the DLL does not export it.
#define QUILLMERE_PLUGIN_FIELD(name) decltype(&::name) name = nullptr;
    QUILLMERE_PLUGIN_CALLBACKS(QUILLMERE_PLUGIN_FIELD)
#undef QUILLMERE_PLUGIN_FIELD

private:
    UniqueModule module_;
    DWORD loadError_ = 0;
};

// The DLL beside the running program, or the one QUILLMERE_DLL names.
std::string DefaultPluginPath();
