#pragma once
// The script engines' regular-expression component, driven through COM the way the plug-in's
// first versions drove it: the reference the address scanner is proven against, and a row of the
// benchmark. Test code only; the plug-in never links it.

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

struct RegExpMatch
{
    LONG firstIndex;
    std::wstring value;
};

// One extraction as the plug-in made it: creates the component, sets Global and the pattern,
// executes it over the text, reads every match and releases everything. Appends the matches in
// the component's order; returns the first failure of a component call, or S_OK. The calling
// thread must have joined a COM apartment.
HRESULT ExecuteRegExp(std::wstring_view pattern, std::wstring_view text, std::vector<RegExpMatch>& matches);
