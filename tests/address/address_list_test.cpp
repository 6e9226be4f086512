// AddressList over narrow text in code page 932, as the host hands it over: widening, counts,
// items, and the answers for indexes out of range.

#include "address/address_list.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

std::vector<std::wstring> Items(AddressList& list)
{
    LONG count = -1;
    EXPECT_EQ(list.GetCount(&count), S_OK);
    std::vector<std::wstring> items;
    for (LONG i = 0; i < count; ++i) {
        const wchar_t* text = nullptr;
        EXPECT_EQ(list.GetItem(i, &text), S_OK);
        items.emplace_back(text);
    }
    return items;
}

TEST(AddressList, FindsTheAddressesOfNarrowText)
{
    struct Case
    {
        const char* text;
        std::vector<std::wstring> items;
    };
    const Case cases[] = {
        // Two addresses, in the order in which they stand.
        {"User <user@example.com>, staff@sub.example.com", {L"user@example.com", L"staff@sub.example.com"}},
        // A Japanese display name is widened, not read byte by byte.
        {"営業部 <user@example.com>", {L"user@example.com"}},
        // ア is 0x83 0x41 in code page 932: its bytes alone would read A@b.c.
        {"ア@b.c", {}},
        // The boss's address on its own is one item, the whole text.
        {"boss@example.co.jp", {L"boss@example.co.jp"}},
        // With a display name and angle brackets it is one item, shorter than the text.
        {"上司 <boss@example.co.jp>", {L"boss@example.co.jp"}},
        // Case is kept and an address that stands twice is listed twice.
        {"A@B.C; A@B.C", {L"A@B.C", L"A@B.C"}},
        // No address.
        {"営業部 全員", {}},
        // Empty text.
        {"", {}},
        // Absent text counts as empty.
        {nullptr, {}},
    };
    ASSERT_EQ(std::string("ア"), "\x83\x41");
    for (const Case& c : cases) {
        AddressList list(c.text);
        EXPECT_EQ(Items(list), c.items) << (c.text ? c.text : "(absent)");
    }
}

TEST(AddressList, GetItemExtractsOnItsOwnAndHandsOutTheSameTextEachTime)
{
    AddressList list("a@b.c, x@y.z");
    const wchar_t* first = nullptr;
    EXPECT_EQ(list.GetItem(1, &first), S_OK);
    EXPECT_STREQ(first, L"x@y.z");
    const wchar_t* again = nullptr;
    EXPECT_EQ(list.GetItem(1, &again), S_OK);
    EXPECT_EQ(again, first) << "the item is borrowed, not copied";
    LONG count = 0;
    EXPECT_EQ(list.GetCount(&count), S_OK);
    EXPECT_EQ(count, 2);
}

TEST(AddressList, ExtractRunByTheCallerFillsTheList)
{
    AddressList list("a@b.c");
    EXPECT_EQ(list.Extract(), S_OK);
    LONG count = 0;
    EXPECT_EQ(list.GetCount(&count), S_OK);
    EXPECT_EQ(count, 1);
}

TEST(AddressList, AnIndexOutOfRangeGivesEFailAndTheEmptyText)
{
    struct Case
    {
        const char* text;
        LONG index;
    };
    const Case cases[] = {
        // Compared without sign, -1 is the largest index of all.
        {"a@b.c", -1},
        // One past the last item.
        {"a@b.c", 1},
        {"a@b.c", LONG_MAX},
        // A list that found nothing has no valid index, and extracts again for each request.
        {"no address here", 0},
        {"", 0},
        {nullptr, 0},
    };
    for (const Case& c : cases) {
        AddressList list(c.text);
        for (int request = 0; request < 2; ++request) {
            const wchar_t* text = L"not set";
            EXPECT_EQ(list.GetItem(c.index, &text), E_FAIL) << (c.text ? c.text : "(absent)") << " " << c.index;
            ASSERT_NE(text, nullptr);
            EXPECT_STREQ(text, L"");
        }
    }
}

} // namespace
