#pragma once
// Narrow text in the ANSI code page (Shift_JIS for our users) to and from UTF-16. A conversion
// that fails raises HResultError; a byte sequence the code page does not define is converted as
// the system does by default, without error.

#include <string>
#include <string_view>

// A null pointer converts to empty text.
std::wstring Widen(const char* text);
std::string Narrow(std::wstring_view text);
