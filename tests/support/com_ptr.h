#pragma once
// Owners for COM resources in the tests: an interface pointer, an automation string, and the
// calling thread's membership of a COM apartment. The plug-in itself never uses COM.

#include "shell/unique_handle.h"

#include <objbase.h>
#include <oleauto.h>

#include <utility>

using UniqueBstr = UniqueHandle<BSTR, SysFreeString>;

template <typename Interface> class ComPtr
{
public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() { reset(); }

    Interface* get() const { return pointer_; }
    Interface* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }

    // For calls that hand a new reference back through an out-parameter.
    Interface** put()
    {
        reset();
        return &pointer_;
    }
    void** putVoid() { return reinterpret_cast<void**>(put()); }

    void reset()
    {
        if (pointer_)
            std::exchange(pointer_, nullptr)->Release();
    }

private:
    Interface* pointer_ = nullptr;
};

// Joins the calling thread to a single-threaded apartment for the owner's lifetime.
class ComApartment
{
public:
    ComApartment() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment()
    {
        if (SUCCEEDED(result_))
            CoUninitialize();
    }

    HRESULT result() const { return result_; }

private:
    HRESULT result_;
};
