#include "shell/exports.h"
#include "shell/host_api.h"

// Stores the instance handle and binds the host; a host that cannot be bound keeps the module out.
BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    moduleInstance = instance;
    if (reason != DLL_PROCESS_ATTACH)
        return TRUE;
    try {
        return BindHostApi() ? TRUE : FALSE;
    } catch (...) {
        return FALSE;
    }
}
