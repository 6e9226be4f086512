#include "address/address_scanner.h"

namespace {

bool IsWordCharacter(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9') || c == L'_';
}

// [\w\-]: a character of a domain label; the local part also allows the full stop.
bool IsLabelCharacter(wchar_t c)
{
    return IsWordCharacter(c) || c == L'-';
}
bool IsLocalCharacter(wchar_t c)
{
    return IsLabelCharacter(c) || c == L'.';
}

// The length of ([\w\-]+\.)+[\w\-]+ at `start`: the longest chain of labels joined by single full
// stops, which must hold at least two labels; 0 when there is no such chain.
size_t DomainLength(std::wstring_view text, size_t start)
{
    size_t position = start;
    size_t end = start;
    int labels = 0;
    for (;;) {
        size_t labelStart = position;
        while (position < text.size() && IsLabelCharacter(text[position]))
            ++position;
        if (position == labelStart)
            break;
        ++labels;
        end = position;
        if (position == text.size() || text[position] != L'.')
            break;
        ++position;
    }
    return labels >= 2 ? end - start : 0;
}

} // namespace

// Every match ends a run of local characters at an at sign, so the scan goes from run to run. A
// match starts at the run's first label character: the engine tries that position first, and
// every later start in the run meets the same at sign. When the domain fails, no start in the run
// can match and the scan resumes after the at sign. Linear: the run scan only moves forward, and
// a domain scan reads, besides a match it then skips, at most one label and one full stop, which
// the run scan reads once more afterwards.
void FindAddresses(std::wstring_view text, std::vector<AddressSpan>& found)
{
    size_t position = 0;
    while (position < text.size()) {
        while (position < text.size() && !IsLocalCharacter(text[position]) && text[position] != L'@')
            ++position;
        size_t runStart = position;
        while (position < text.size() && IsLocalCharacter(text[position]))
            ++position;
        if (position == text.size())
            break;
        if (text[position] != L'@')
            continue;

        size_t at = position;
        size_t start = runStart;
        while (start < at && text[start] == L'.')
            ++start;
        size_t domain = start < at ? DomainLength(text, at + 1) : 0;
        if (domain) {
            found.push_back({start, at + 1 + domain - start});
            position = at + 1 + domain;
        } else {
            position = at + 1;
        }
    }
}
