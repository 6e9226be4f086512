// The scanner alone, over the worked examples and where a search resumes.

#include "address/address_scanner.h"
#include "address/worked_examples.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::wstring> Items(std::wstring_view text)
{
    std::vector<std::wstring> items;
    for (auto span = FindAddress(text, 0); span; span = FindAddress(text, span->offset + span->length))
        items.emplace_back(text.substr(span->offset, span->length));
    return items;
}

TEST(AddressScanner, FindsTheWorkedExamplesItems)
{
    for (const WorkedExample& example : WorkedExamples())
        EXPECT_EQ(Items(example.text), example.items) << testing::PrintToString(example.text);
}

TEST(AddressScanner, StartsNoAddressBeforeWhereTheSearchStands)
{
    struct Case
    {
        const wchar_t* text;
        size_t from;
        size_t offset;
        size_t length;
    };
    const Case cases[] = {
        // The local part is cut where the search stands.
        {L"ab@c.d", 1, 1, 5},
        // A full stop where the search stands is skipped like one at the head of the text.
        {L"a.b@c.d", 1, 2, 5},
        // Past the address's at sign, only a later one counts.
        {L"a@b.c x@y.z", 2, 6, 5},
    };
    for (const Case& c : cases) {
        auto span = FindAddress(c.text, c.from);
        ASSERT_TRUE(span) << testing::PrintToString(c.text);
        EXPECT_EQ(span->offset, c.offset) << testing::PrintToString(c.text);
        EXPECT_EQ(span->length, c.length) << testing::PrintToString(c.text);
    }
    // Nothing from the text's end, or from beyond it.
    EXPECT_FALSE(FindAddress(L"a@b.c", 5));
    EXPECT_FALSE(FindAddress(L"a@b.c", 6));
}

} // namespace
