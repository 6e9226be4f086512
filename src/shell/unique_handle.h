#pragma once
// Owners for Win32 handles: each closes its handle once, on every path out of its scope.

#include <windows.h>

#include <utility>

template <typename Handle, auto Close> class UniqueHandle
{
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        reset(std::exchange(other.handle_, nullptr));
        return *this;
    }
    ~UniqueHandle() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

    // For functions that hand a new handle back through an out-parameter.
    Handle* put()
    {
        reset();
        return &handle_;
    }

    void reset(Handle handle = nullptr)
    {
        if (handle_)
            Close(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = nullptr;
};

using UniqueHkey = UniqueHandle<HKEY, RegCloseKey>;
using UniqueModule = UniqueHandle<HMODULE, FreeLibrary>;
using UniqueHook = UniqueHandle<HHOOK, UnhookWindowsHookEx>;
using UniqueWindow = UniqueHandle<HWND, DestroyWindow>;
