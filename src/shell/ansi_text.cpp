#include "shell/ansi_text.h"

#include "shell/hresult_error.h"

#include <climits>

void ThrowLastError()
{
    DWORD error = GetLastError();
    throw HResultError(error ? HRESULT_FROM_WIN32(error) : E_FAIL);
}

std::wstring Widen(const char* text)
{
    if (!text || !*text)
        return {};
    int size = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (size <= 0)
        ThrowLastError();
    std::wstring wide(static_cast<size_t>(size), L'\0');
    if (MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), size) != size)
        ThrowLastError();
    wide.pop_back(); // the terminator, which std::wstring keeps itself
    return wide;
}

std::string Narrow(std::wstring_view text)
{
    if (text.empty())
        return {};
    if (text.size() > INT_MAX)
        throw HResultError(E_OUTOFMEMORY);
    int length = static_cast<int>(text.size());
    int size = WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        ThrowLastError();
    std::string narrow(static_cast<size_t>(size), '\0');
    if (WideCharToMultiByte(CP_ACP, 0, text.data(), length, narrow.data(), size, nullptr, nullptr) != size)
        ThrowLastError();
    return narrow;
}
