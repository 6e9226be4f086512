#include "fault_injection.h"

#include <cstring>

namespace {

template <typename Function> FARPROC AsProc(Function function)
{
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(function));
}

int WINAPI FailingMultiByteToWideChar(UINT, DWORD, LPCCH, int, LPWSTR, int)
{
    SetLastError(ERROR_NO_UNICODE_TRANSLATION);
    return 0;
}

int WINAPI FailingWideCharToMultiByte(UINT, DWORD, LPCWCH, int, LPSTR, int, LPCCH, LPBOOL)
{
    SetLastError(ERROR_NO_UNICODE_TRANSLATION);
    return 0;
}

void* __cdecl FailingMalloc(size_t)
{
    return nullptr;
}

int WINAPI FailingMessageBoxA(HWND, LPCSTR, LPCSTR, UINT)
{
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
}

} // namespace

FARPROC PatchImport(HMODULE module, const char* dll, const char* function, FARPROC replacement)
{
    auto* base = reinterpret_cast<BYTE*>(module);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!imports.VirtualAddress)
        return nullptr;

    for (auto* entry = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); entry->Name;
         ++entry) {
        if (lstrcmpiA(reinterpret_cast<char*>(base + entry->Name), dll) != 0)
            continue;
        DWORD namesRva = entry->OriginalFirstThunk ? entry->OriginalFirstThunk : entry->FirstThunk;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + namesRva);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<char*>(byName->Name), function) != 0)
                continue;
            DWORD protection = 0;
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &protection);
            auto previous = reinterpret_cast<FARPROC>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection, &protection);
            return previous;
        }
    }
    return nullptr;
}

bool InjectFault(HMODULE module, const std::string& fault)
{
    if (fault == "conversion") {
        bool widening = PatchImport(module, "kernel32.dll", "MultiByteToWideChar", AsProc(FailingMultiByteToWideChar));
        bool narrowing = PatchImport(module, "kernel32.dll", "WideCharToMultiByte", AsProc(FailingWideCharToMultiByte));
        return widening || narrowing;
    }
    if (fault == "memory")
        return PatchImport(module, "msvcrt.dll", "malloc", AsProc(FailingMalloc)) != nullptr;
    if (fault == "messagebox")
        return PatchImport(module, "user32.dll", "MessageBoxA", AsProc(FailingMessageBoxA)) != nullptr;
    return false;
}
