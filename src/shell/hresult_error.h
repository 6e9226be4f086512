#pragma once
// The one error that is raised rather than returned: memory or a system service failed.
// Every exported callback stops it before it reaches the host.

#include <windows.h>

#include <exception>

class HResultError : public std::exception
{
public:
    explicit HResultError(HRESULT code) : code_(code) {}
    HRESULT code() const { return code_; }
    const char* what() const noexcept override { return "Quillmere: a system service failed"; }

private:
    HRESULT code_;
};

// Raises the calling thread's last error. A last error of 0 still counts as a failure, E_FAIL.
[[noreturn]] void ThrowLastError();
