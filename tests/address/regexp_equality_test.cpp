// The scanner against the script engines' regular-expression component, created through COM as
// the plug-in once created it: both must find the same addresses at the same places, in the same
// order, for every text.

#include "address/address_scanner.h"
#include "address/regexp_component.h"
#include "address/worked_examples.h"
#include "shell/ansi_text.h"
#include "support/com_ptr.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

namespace {

// Non-ASCII characters as \uXXXX, so that a failing text can be typed back in.
std::string Escaped(std::wstring_view text)
{
    std::string escaped;
    for (wchar_t c : text) {
        if (c >= 0x20 && c < 0x7F && c != L'\\') {
            escaped += static_cast<char>(c);
        } else {
            char code[8];
            std::snprintf(code, sizeof code, "\\u%04X", static_cast<unsigned>(c));
            escaped += code;
        }
    }
    return escaped;
}

std::string Describe(size_t offset, std::wstring_view item)
{
    return std::to_string(offset) + ":\"" + Escaped(item) + "\" ";
}

std::string ScannerMatches(std::wstring_view text)
{
    std::string described;
    for (auto span = FindAddress(text, 0); span; span = FindAddress(text, span->offset + span->length))
        described += Describe(span->offset, text.substr(span->offset, span->length));
    return described;
}

class RegExpEquality : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_HRESULT_SUCCEEDED(apartment_.result()); }

    std::string ComponentMatches(std::wstring_view text)
    {
        std::vector<RegExpMatch> matches;
        HRESULT result = ExecuteRegExp(pattern_, text, matches);
        if (FAILED(result))
            ADD_FAILURE() << "the component failed with " << std::hex << result << " on \"" << Escaped(text) << "\"";
        std::string described;
        for (const RegExpMatch& match : matches)
            described += Describe(static_cast<size_t>(match.firstIndex), match.value);
        return described;
    }

    // Both results side by side, or nothing when they agree.
    std::string Disagreement(std::wstring_view text)
    {
        std::string expected = ComponentMatches(text);
        std::string actual = ScannerMatches(text);
        if (actual == expected)
            return {};
        return "text \"" + Escaped(text) + "\"\n  component: " + expected + "\n  scanner:   " + actual;
    }

    // True when both agree; the first disagreements are printed with their text.
    bool Agree(std::wstring_view text)
    {
        std::string disagreement = Disagreement(text);
        if (disagreement.empty())
            return true;
        if (++disagreements_ <= 20)
            ADD_FAILURE() << disagreement;
        return false;
    }

    int disagreements() const { return disagreements_; }

private:
    ComApartment apartment_;
    std::wstring pattern_ = Widen(AddressPattern);
    int disagreements_ = 0;
};

TEST_F(RegExpEquality, FindsTheWorkedExamplesItems)
{
    for (const WorkedExample& example : WorkedExamples()) {
        std::vector<RegExpMatch> matches;
        ASSERT_EQ(ExecuteRegExp(Widen(AddressPattern), example.text, matches), S_OK);
        std::vector<std::wstring> items;
        for (const RegExpMatch& match : matches)
            items.push_back(match.value);
        EXPECT_EQ(items, example.items) << Escaped(example.text);
        Agree(example.text);
    }
}

// Each UTF-16 code unit at the head of a local part, inside one, inside a domain label and after a
// domain's second label: the two agree on which characters are word characters, hyphens, full
// stops and at signs. Spaces keep the code units apart, so one text tests 64 of them.
std::wstring CodeUnitProbe(wchar_t c)
{
    return std::wstring(1, c) + L"@b.c a" + c + L"@b.c a@b" + c + L"c.d a@b.c" + c + L"d ";
}

TEST_F(RegExpEquality, AgreesOnEveryCodeUnit)
{
    for (unsigned first = 1; first <= 0xFFFF; first += 64) {
        const unsigned end = std::min(first + 64, 0x10000u);
        std::wstring text;
        for (unsigned code = first; code < end; ++code)
            text += CodeUnitProbe(static_cast<wchar_t>(code));
        if (Disagreement(text).empty())
            continue;
        // Name the code units themselves, or the whole text when they agree one by one.
        int before = disagreements();
        for (unsigned code = first; code < end; ++code)
            Agree(CodeUnitProbe(static_cast<wchar_t>(code)));
        if (disagreements() == before)
            Agree(text);
    }
    EXPECT_EQ(disagreements(), 0);
}

// Random texts made of near addresses and noise, with one character in ten replaced, over the
// characters that decide a match and neighbours that must not: non-ASCII letters, the full-width
// at sign, separators of address lists and line breaks.
class RandomText
{
public:
    explicit RandomText(std::mt19937::result_type seed) : random_(seed) {}

    std::wstring Next()
    {
        std::wstring text;
        for (size_t segments = Below(7); segments > 0; --segments) {
            if (Below(3) == 0) {
                text += Word(Alphabet, 1, 3);
            } else {
                text += Word(LocalCharacters, 0, 4) + L'@';
                for (size_t labels = 1 + Below(3); labels > 0; --labels)
                    text += Word(LabelCharacters, 0, 3) + (labels > 1 ? L"." : L"");
            }
        }
        for (wchar_t& c : text) {
            if (Below(10) == 0)
                c = Alphabet[Below(Alphabet.size())];
        }
        return text;
    }

private:
    static constexpr std::wstring_view LabelCharacters = L"abcxyzABXY0189_-";
    static constexpr std::wstring_view LocalCharacters = L"abcxyzABXY0189_-.";
    static constexpr std::wstring_view Alphabet = L"abcxyzABXY0189_-.@+<>,; \r\néア＠Ａｚ０";

    // Plain remainders rather than a distribution, so that every standard library draws the same texts.
    size_t Below(size_t limit) { return random_() % limit; }

    std::wstring Word(std::wstring_view characters, size_t shortest, size_t longest)
    {
        std::wstring word(shortest + Below(longest - shortest + 1), L' ');
        for (wchar_t& c : word)
            c = characters[Below(characters.size())];
        return word;
    }

    std::mt19937 random_;
};

TEST_F(RegExpEquality, AgreesOnRandomTexts)
{
    const char* setting = std::getenv("QUILLMERE_RANDOM_TEXTS");
    const unsigned long count = setting ? std::strtoul(setting, nullptr, 10) : 20000;
    const std::mt19937::result_type seed = 20240611;
    std::printf("random texts: seed %lu, count %lu\n", static_cast<unsigned long>(seed), count);

    RandomText texts(seed);
    unsigned long withAddresses = 0;
    for (unsigned long i = 0; i < count; ++i) {
        std::wstring text = texts.Next();
        if (Agree(text) && !ScannerMatches(text).empty())
            ++withAddresses;
    }
    std::printf("random texts with addresses: %lu\n", withAddresses);
    EXPECT_EQ(disagreements(), 0) << "of " << count << " texts";
    // The texts must reach matches often, or the comparison proves little.
    EXPECT_GE(withAddresses, count / 5);
}

} // namespace
