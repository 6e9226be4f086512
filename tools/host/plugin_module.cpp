#include "plugin_module.h"

#include <cstdlib>

PluginModule::PluginModule(const std::string& path) : module_(LoadLibraryA(path.c_str()))
{
    if (!module_) {
        loadError_ = GetLastError();
        return;
    }
#define QUILLMERE_PLUGIN_BIND(name) \
    name = reinterpret_cast<decltype(name)>(reinterpret_cast<void (*)()>(GetProcAddress(module_.get(), #name)));
    QUILLMERE_PLUGIN_CALLBACKS(QUILLMERE_PLUGIN_BIND)
#undef QUILLMERE_PLUGIN_BIND
}

std::string DefaultPluginPath()
{
    if (const char* path = std::getenv("QUILLMERE_DLL"); path && *path)
        return path;
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path = self;
    return path.substr(0, path.find_last_of("\\/") + 1) + "Quillmere.dll";
}
