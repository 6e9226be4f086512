#pragma once
// The host's functions, resolved by name from the host's executable when the plug-in is loaded.

#include <windows.h>

// Callbacks the plug-in hands to the host for its menu command.
using CommandCallback = int(WINAPI*)(HWND window, LPARAM unused);
using CommandStateCallback = UINT(WINAPI*)(HWND window, LPARAM unused);

// The host functions the plug-in calls. Every other entry is only looked up and kept.
using GetVersionFn = LPCSTR(WINAPI*)();
using RegisterCommandFn = int(WINAPI*)(LPCSTR text, int type, CommandCallback callback);
using RegisterUICallbackFn = int(WINAPI*)(UINT commandId, CommandStateCallback callback);
using GetFolderTextFn = LPCSTR(WINAPI*)();
using CompGetSpecifiedHeaderFn = int(WINAPI*)(HWND window, LPCSTR header, LPSTR buffer, int size);
using CompSetSpecifiedHeaderFn = int(WINAPI*)(HWND window, LPCSTR header, LPCSTR value);
using HostProc = FARPROC;

// X(name, type, binding) for each of the host's 58 functions, in the record's field order.
// A host without an Optional function still binds; a host without a Required one does not.
#define QUILLMERE_HOST_FUNCTIONS(X)                                   \
    X(BKA_GetVersion, GetVersionFn, Required)                         \
    X(BKA_Command, HostProc, Required)                                \
    X(BKA_GetWindowHandles, HostProc, Required)                       \
    X(BKA_RegisterCommand, RegisterCommandFn, Required)               \
    X(BKA_RegisterUICallback, RegisterUICallbackFn, Required)         \
    X(BKA_GetDataFolder, GetFolderTextFn, Required)                   \
    X(BKA_GetTempFolder, HostProc, Required)                          \
    X(BKA_GetTempFileName, HostProc, Required)                        \
    X(BKA_GetCurrentMailBox, GetFolderTextFn, Required)               \
    X(BKA_SetCurrentMailBox, HostProc, Required)                      \
    X(BKA_GetCurrentFolder, HostProc, Required)                       \
    X(BKA_SetCurrentFolder, HostProc, Required)                       \
    X(BKA_GetFolderDisplayName, HostProc, Required)                   \
    X(BKA_SetMessageText, HostProc, Required)                         \
    X(BKA_GetCurrentMail, HostProc, Required)                         \
    X(BKA_SetCurrentMail, HostProc, Required)                         \
    X(BKA_GetNextMail, HostProc, Required)                            \
    X(BKA_SetSel, HostProc, Required)                                 \
    X(BKA_AppendMessage, HostProc, Required)                          \
    X(BKA_MoveSelectedMessages, HostProc, Required)                   \
    X(BKA_GetStatus, HostProc, Required)                              \
    X(BKA_SetStatus, HostProc, Optional)                              \
    X(BKA_ComposeMail, HostProc, Required)                            \
    X(BKA_GetCharSet, HostProc, Required)                             \
    X(BKA_GetSource, HostProc, Required)                              \
    X(BKA_SetSource, HostProc, Required)                              \
    X(BKA_GetSize, HostProc, Optional)                                \
    X(BKA_GetHeader, HostProc, Required)                              \
    X(BKA_GetText, HostProc, Required)                                \
    X(BKA_SetText, HostProc, Required)                                \
    X(BKA_GetSpecifiedHeader, HostProc, Required)                     \
    X(BKA_SetSpecifiedHeader, HostProc, Required)                     \
    X(BKA_CompGetCharSet, HostProc, Required)                         \
    X(BKA_CompGetSource, HostProc, Required)                          \
    X(BKA_CompSetSource, HostProc, Required)                          \
    X(BKA_CompGetHeader, HostProc, Required)                          \
    X(BKA_CompGetSpecifiedHeader, CompGetSpecifiedHeaderFn, Required) \
    X(BKA_CompSetSpecifiedHeader, CompSetSpecifiedHeaderFn, Required) \
    X(BKA_CompGetText, HostProc, Required)                            \
    X(BKA_CompSetText, HostProc, Required)                            \
    X(BKA_CompAttachFile, HostProc, Required)                         \
    X(BKA_Alloc, HostProc, Required)                                  \
    X(BKA_ReAlloc, HostProc, Required)                                \
    X(BKA_Free, HostProc, Required)                                   \
    X(BKA_ISO_2022_JP, HostProc, Required)                            \
    X(BKA_ISO_2022_KR, HostProc, Required)                            \
    X(BKA_HZ_GB2312, HostProc, Required)                              \
    X(BKA_ISO_8859_2, HostProc, Required)                             \
    X(BKA_EUC_JP, HostProc, Required)                                 \
    X(BKA_UTF_7, HostProc, Required)                                  \
    X(BKA_UTF_8, HostProc, Required)                                  \
    X(BKA_B64Convert, HostProc, Required)                             \
    X(BKA_QPConvert, HostProc, Required)                              \
    X(BKA_MIMEHeader, HostProc, Required)                             \
    X(BKA_SerializeRcpts, HostProc, Required)                         \
    X(BKA_Connect, HostProc, Required)                                \
    X(BKA_NextUnread, HostProc, Optional)                             \
    X(BKA_ProcessMail, HostProc, Optional)

struct HostApi
{
#define QUILLMERE_HOST_FIELD(name, type, binding) type name;
    QUILLMERE_HOST_FUNCTIONS(QUILLMERE_HOST_FIELD)
#undef QUILLMERE_HOST_FIELD
    HMODULE hostModule; // non-null once binding has succeeded
};

// Written once while the module is attached to the process, read by every callback afterwards.
extern HostApi hostApi;

using GetModuleHandleFn = HMODULE(WINAPI*)(LPCSTR name);
using GetProcAddressFn = FARPROC(WINAPI*)(HMODULE module, LPCSTR name);

// Binds hostApi to the process's executable: 1 when bound, 0 when the plug-in must refuse to load.
// The two lookups are parameters so that tests can play hosts with any set of names and versions.
int BindHostApi(GetModuleHandleFn getModule = GetModuleHandleA, GetProcAddressFn getProc = GetProcAddress);
