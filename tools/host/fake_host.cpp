#include "fake_host.h"

#include <cstring>

FakeHost& fakeHost()
{
    static FakeHost host;
    return host;
}

const std::string* FakeHost::FindHeader(const std::string& name) const
{
    for (const auto& [field, value] : headers)
        if (lstrcmpiA(field.c_str(), name.c_str()) == 0)
            return &value;
    return nullptr;
}

void FakeHost::SetHeader(const std::string& name, const std::string& value)
{
    for (auto& [field, old] : headers)
        if (lstrcmpiA(field.c_str(), name.c_str()) == 0) {
            old = value;
            return;
        }
    headers.emplace_back(name, value);
}

// The functions the plug-in calls. A variant of the simulator built with, for example,
// -DBKA_Connect=BKA_Connect_Missing exports that function under another name, and so plays
// a host that lacks it.
extern "C" {

__declspec(dllexport) LPCSTR WINAPI BKA_GetVersion()
{
    ++fakeHost().versionReads;
    return fakeHost().version.c_str();
}

__declspec(dllexport) int WINAPI BKA_RegisterCommand(LPCSTR text, int type, CommandCallback callback)
{
    auto& commands = fakeHost().commands;
    commands.push_back({text ? text : "", type, callback, nullptr});
    return kFirstCommandId + static_cast<int>(commands.size()) - 1;
}

__declspec(dllexport) int WINAPI BKA_RegisterUICallback(UINT commandId, CommandStateCallback callback)
{
    auto& commands = fakeHost().commands;
    size_t index = commandId - kFirstCommandId;
    if (index >= commands.size())
        return 0;
    commands[index].stateCallback = callback;
    return 1;
}

__declspec(dllexport) LPCSTR WINAPI BKA_GetDataFolder()
{
    return fakeHost().dataFolder.c_str();
}
__declspec(dllexport) LPCSTR WINAPI BKA_GetCurrentMailBox()
{
    return fakeHost().mailBox.c_str();
}

// Like the host: at most size - 1 bytes of the field and a terminator; an absent field leaves
// the buffer as it was.
__declspec(dllexport) int WINAPI BKA_CompGetSpecifiedHeader(HWND, LPCSTR header, LPSTR buffer, int size)
{
    FakeHost& host = fakeHost();
    host.headerReads.push_back(header ? header : "");
    const std::string* value = header ? host.FindHeader(header) : nullptr;
    if (!value || !buffer || size <= 0)
        return 0;
    size_t length = value->size() < static_cast<size_t>(size) ? value->size() : static_cast<size_t>(size) - 1;
    std::memcpy(buffer, value->data(), length);
    buffer[length] = '\0';
    return static_cast<int>(length);
}

__declspec(dllexport) int WINAPI BKA_CompSetSpecifiedHeader(HWND, LPCSTR header, LPCSTR value)
{
    FakeHost& host = fakeHost();
    if (!header || !value)
        return 0;
    host.headerWrites.emplace_back(header, value);
    host.SetHeader(header, value);
    return 1;
}

// Everything else the host exports: present, and never called by the plug-in.
#define FAKE_HOST_EXPORT(name, type, binding) FAKE_HOST_EXPORT_##type(name)
#define FAKE_HOST_EXPORT_HostProc(name)         \
    __declspec(dllexport) INT_PTR WINAPI name() \
    {                                           \
        return 0;                               \
    }
#define FAKE_HOST_EXPORT_GetVersionFn(name)
#define FAKE_HOST_EXPORT_RegisterCommandFn(name)
#define FAKE_HOST_EXPORT_RegisterUICallbackFn(name)
#define FAKE_HOST_EXPORT_GetFolderTextFn(name)
#define FAKE_HOST_EXPORT_CompGetSpecifiedHeaderFn(name)
#define FAKE_HOST_EXPORT_CompSetSpecifiedHeaderFn(name)
QUILLMERE_HOST_FUNCTIONS(FAKE_HOST_EXPORT)

} // extern "C"
