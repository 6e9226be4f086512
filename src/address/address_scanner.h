#pragma once
// Finds mail addresses in UTF-16 text: exactly the matches that a backtracking regular-expression
// engine finds for AddressPattern with global search, where \w is ASCII letters, digits and the
// low line alone. Written for this one pattern, so that no text can make it slower than linear.

#include <cstddef>
#include <string_view>
#include <vector>

// The pattern the scanner implements.
constexpr char AddressPattern[] = R"([\w\-][\w\.\-]*@([\w\-]+\.)+[\w\-]+)";

struct AddressSpan
{
    size_t offset;
    size_t length;
};

// Appends the addresses found in the text to `found`, in the order in which they stand.
void FindAddresses(std::wstring_view text, std::vector<AddressSpan>& found);
