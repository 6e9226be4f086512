#include "shell/host_api.h"

HostApi hostApi;

namespace {

enum Binding
{
    Required,
    Optional
};

// Hosts older than this one may lack BKA_SetStatus; newer ones must export it.
constexpr char kLastVersionWithoutSetStatus[] = "2.00.06";

// GetProcAddress knows no signatures; the detour through a plain function pointer says the cast is meant.
template <typename Function> Function AsHostFunction(FARPROC proc)
{
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(proc));
}

} // namespace

int BindHostApi(GetModuleHandleFn getModule, GetProcAddressFn getProc)
{
    if (hostApi.hostModule)
        return 1;

    HMODULE host = hostApi.hostModule = getModule(nullptr);
    if (!host)
        return 0;

#define QUILLMERE_BIND_REQUIRED(name, type, binding)               \
    if (binding == Required) {                                     \
        hostApi.name = AsHostFunction<type>(getProc(host, #name)); \
        if (!hostApi.name) {                                       \
            hostApi.hostModule = nullptr;                          \
            return 0;                                              \
        }                                                          \
    }
    QUILLMERE_HOST_FUNCTIONS(QUILLMERE_BIND_REQUIRED)
#undef QUILLMERE_BIND_REQUIRED

    hostApi.BKA_SetStatus = getProc(host, "BKA_SetStatus");
    hostApi.BKA_NextUnread = getProc(host, "BKA_NextUnread");
    hostApi.BKA_ProcessMail = getProc(host, "BKA_ProcessMail");
    hostApi.BKA_GetSize = getProc(host, "BKA_GetSize");

    // A textual comparison, as the host's own versions have always been compared.
    LPCSTR version = hostApi.BKA_GetVersion();
    if (lstrlenA(version) <= 7 && lstrcmpA(version, kLastVersionWithoutSetStatus) < 0)
        return 1;
    if (hostApi.BKA_SetStatus)
        return 1;
    hostApi.hostModule = nullptr;
    return 0;
}
