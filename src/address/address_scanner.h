#pragma once
// Finds mail addresses in UTF-16 text: exactly the matches that a backtracking regular-expression
// engine finds for AddressPattern with global search, where \w is ASCII letters, digits and the
// low line alone. Written for this one pattern, so that no text can make it slower than linear.

#include <cstddef>
#include <optional>
#include <string_view>

// The pattern the scanner implements.
constexpr char AddressPattern[] = R"([\w\-][\w\.\-]*@([\w\-]+\.)+[\w\-]+)";

struct AddressSpan
{
    size_t offset;
    size_t length;
};

// The first address that starts at `from` or later, or none. Searching again from the end of the
// address found gives the next one, as the engine's global search does: addresses never overlap.
std::optional<AddressSpan> FindAddress(std::wstring_view text, size_t from);
