#include "fault_injection.h"

#include <cstdlib>
#include <cstring>
#include <utility>

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

// Large requests fail, as when a big buffer cannot be had. Small ones still succeed: with no memory
// at all, even the runtime's lock around its emergency exception memory cannot be set up.
constexpr size_t kSmallestFailingRequest = 1024;
using MallocFn = void*(__cdecl*)(size_t);
MallocFn realMalloc;

void* __cdecl FailingMalloc(size_t size)
{
    return size < kSmallestFailingRequest ? realMalloc(size) : nullptr;
}

int WINAPI FailingMessageBoxA(HWND, LPCSTR, LPCSTR, UINT)
{
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
}

// The module's import address table entry for dll!function, or null.
FARPROC* FindImport(HMODULE module, const char* dll, const char* function)
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
            if (std::strcmp(reinterpret_cast<char*>(byName->Name), function) == 0)
                return reinterpret_cast<FARPROC*>(&slots->u1.Function);
        }
    }
    return nullptr;
}

void WriteSlot(FARPROC* slot, FARPROC value)
{
    DWORD protection = 0;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection);
    *slot = value;
    VirtualProtect(slot, sizeof *slot, protection, &protection);
}

} // namespace

ImportPatch::ImportPatch(HMODULE module, const char* dll, const char* function, FARPROC replacement)
    : slot_(FindImport(module, dll, function))
{
    if (!slot_)
        return;
    original_ = *slot_;
    WriteSlot(slot_, replacement);
}

ImportPatch::ImportPatch(ImportPatch&& other) noexcept
    : slot_(std::exchange(other.slot_, nullptr)), original_(other.original_)
{
}

ImportPatch::~ImportPatch()
{
    if (slot_)
        WriteSlot(slot_, original_);
}

InjectedFault::InjectedFault(HMODULE module, const std::string& fault)
{
    auto patch = [&](const char* dll, const char* function, FARPROC replacement) {
        ImportPatch patch(module, dll, function, replacement);
        if (patch.applied())
            patches_.push_back(std::move(patch));
    };
    if (fault == "conversion") {
        patch("kernel32.dll", "MultiByteToWideChar", AsProc(FailingMultiByteToWideChar));
        patch("kernel32.dll", "WideCharToMultiByte", AsProc(FailingWideCharToMultiByte));
    } else if (fault == "memory") {
        realMalloc = malloc;
        patch("msvcrt.dll", "malloc", AsProc(FailingMalloc));
    } else if (fault == "messagebox") {
        patch("user32.dll", "MessageBoxA", AsProc(FailingMessageBoxA));
    }
}
