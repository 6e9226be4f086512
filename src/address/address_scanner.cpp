#include "address/address_scanner.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

enum CharacterClass : unsigned char
{
    Other,
    Label, // [\w\-]: ASCII letters and digits, the low line and the hyphen-minus
    FullStop,
};

struct AsciiClasses
{
    CharacterClass of[128] = {};

    constexpr AsciiClasses()
    {
        for (int c = 0; c < 128; ++c) {
            bool word = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
            of[c] = word || c == '-' ? Label : c == '.' ? FullStop : Other;
        }
    }
};

constexpr AsciiClasses asciiClasses;

// Only ASCII characters are word characters, as in the script engines: no accented, full-width
// or other letter is.
CharacterClass ClassOf(wchar_t c)
{
    return c < 128 ? asciiClasses.of[c] : Other;
}

bool IsLabelCharacter(wchar_t c)
{
    return ClassOf(c) == Label;
}

// [\w\.\-]
bool IsLocalCharacter(wchar_t c)
{
    return ClassOf(c) != Other;
}

// The first at sign from `position` on, or the text's size. Past the first few characters, text
// is read four characters at a time: in v, the four XORed with '@', a character is 0 exactly where
// an at sign stands, and (v - 0x0001...) & ~v & 0x8000... is non-zero exactly when one of them is.
size_t FindAtSign(std::wstring_view text, size_t position)
{
    static_assert(sizeof(wchar_t) == 2, "UTF-16 text");
    for (size_t end = std::min(text.size(), position + 8); position < end; ++position) {
        if (text[position] == L'@')
            return position;
    }
    for (; position + 4 <= text.size(); position += 4) {
        std::uint64_t v;
        std::memcpy(&v, text.data() + position, sizeof v);
        v ^= 0x0040004000400040;
        if ((v - 0x0001000100010001) & ~v & 0x8000800080008000)
            break;
    }
    while (position < text.size() && text[position] != L'@')
        ++position;
    return position;
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

// Every match holds an at sign, and the local characters before it cannot hold another, so the
// search goes from at sign to at sign. A match starts at the first label character of the run of
// local characters that ends at the at sign: the engine tries that position first, and every
// later start in the run meets the same at sign and the same domain. The run is never followed
// back past `from`, where the engine's search stands. When the domain fails, no start in the run
// can match, and the search goes on after the at sign.
//
// Linear in the text's length, whatever the text, over a whole search from match to match: the
// at-sign search only moves forward; each run followed back lies between where the search stands
// and the next at sign, so no character is in two runs; a domain that matches is passed over, and
// one that fails ends at the next at sign at the latest, after which the at-sign search reads its
// characters once more. So each character is read a few times at most.
std::optional<AddressSpan> FindAddress(std::wstring_view text, size_t from)
{
    for (size_t at = FindAtSign(text, from); at < text.size(); at = FindAtSign(text, from)) {
        size_t start = at;
        while (start > from && IsLocalCharacter(text[start - 1]))
            --start;
        while (start < at && text[start] == L'.')
            ++start;
        if (size_t domain = start < at ? DomainLength(text, at + 1) : 0)
            return AddressSpan{start, at + 1 + domain - start};
        from = at + 1;
    }
    return std::nullopt;
}
