// IsAddressListed and AreAllWithinDomain over real header texts, with the real address list.

#include "check/recipient_tests.h"

#include "fault_injection.h"

#include <gtest/gtest.h>

#include <shlwapi.h>

#include <cstdio>
#include <ostream>
#include <optional>
#include <string>
#include <vector>

namespace {

struct ListedCase
{
    const char* header;
    const char* boss;
    int expected;
};

// Test names stay ASCII: Shift_JIS bytes are shown as escapes.
std::string Printable(const char* text)
{
    if (!text)
        return "(null)";
    std::string printable;
    for (; *text; ++text) {
        auto byte = static_cast<unsigned char>(*text);
        if (byte < 0x80) {
            printable += *text;
            continue;
        }
        char escape[5];
        std::snprintf(escape, sizeof escape, "\\x%02X", byte);
        printable += escape;
    }
    return printable;
}

void PrintTo(const ListedCase& c, std::ostream* out)
{
    *out << Printable(c.header) << " / " << Printable(c.boss);
}

class IsAddressListedTest : public ::testing::TestWithParam<ListedCase>
{
};

TEST_P(IsAddressListedTest, Answers)
{
    const ListedCase& c = GetParam();
    EXPECT_EQ(IsAddressListed(c.header, c.boss), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Headers, IsAddressListedTest,
                         ::testing::Values(
                             // the boss alone
                             ListedCase{"boss@example.co.jp", "boss@example.co.jp", 1},
                             // other letter case in the header still counts
                             ListedCase{"BOSS@Example.CO.JP", "boss@example.co.jp", 1},
                             // the boss inside angle brackets after a Japanese display name
                             ListedCase{"上司 <boss@example.co.jp>", "boss@example.co.jp", 1},
                             // the boss after other recipients
                             ListedCase{"a@example.co.jp, \"Client\" <c@client.com>, boss@example.co.jp",
                                        "boss@example.co.jp", 1},
                             // extra letters before the local part
                             ListedCase{"xboss@example.co.jp", "boss@example.co.jp", 0},
                             // extra letters after the domain
                             ListedCase{"boss@example.co.jpx", "boss@example.co.jp", 0},
                             // one more label after the domain
                             ListedCase{"boss@example.co.jp.other.net", "boss@example.co.jp", 0},
                             // a display name shaped like the boss's address counts like any address
                             ListedCase{"\"boss@example.co.jp\" <secretary@example.co.jp>", "boss@example.co.jp", 1},
                             // only a group name: no address at all
                             ListedCase{"Undisclosed recipients:;", "boss@example.co.jp", 0},
                             // a boss stored with a display name is never found whole
                             ListedCase{"Boss <boss@example.co.jp>", "Boss <boss@example.co.jp>", 0},
                             // a boss stored empty is never listed
                             ListedCase{"boss@example.co.jp", "", 0},
                             // an empty header
                             ListedCase{"", "boss@example.co.jp", 0},
                             // a null header
                             ListedCase{nullptr, "boss@example.co.jp", 0}));

struct DomainCase
{
    const char* header;
    const char* domain;
    int expected;
};

void PrintTo(const DomainCase& c, std::ostream* out)
{
    *out << Printable(c.header) << " / " << Printable(c.domain);
}

class AreAllWithinDomainTest : public ::testing::TestWithParam<DomainCase>
{
};

TEST_P(AreAllWithinDomainTest, Answers)
{
    const DomainCase& c = GetParam();
    EXPECT_EQ(AreAllWithinDomain(c.header, c.domain), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Headers, AreAllWithinDomainTest,
                         ::testing::Values(
                             // the domain itself
                             DomainCase{"a@example.co.jp", "example.co.jp", 1},
                             // a subdomain contains the domain
                             DomainCase{"a@sales.example.co.jp", "example.co.jp", 1},
                             // other letter case
                             DomainCase{"a@EXAMPLE.CO.JP", "example.co.jp", 1},
                             // the domain as a substring with letters before it counts as inside
                             DomainCase{"a@myexample.co.jp", "example.co.jp", 1},
                             // and with labels after it
                             DomainCase{"a@example.co.jp.other.net", "example.co.jp", 1},
                             // a different top-level domain is outside
                             DomainCase{"a@example.com", "example.co.jp", 0},
                             // a shorter domain is outside
                             DomainCase{"a@example.co", "example.co.jp", 0},
                             // the domain in the local part only: the part before the at sign is never looked at
                             DomainCase{"example.co.jp@other.net", "example.co.jp", 0},
                             // three addresses, only the last outside
                             DomainCase{"a@example.co.jp, b@sales.example.co.jp, c@client.com", "example.co.jp", 0},
                             // a display name shaped like an outside address, the real address inside
                             DomainCase{"\"c@client.com\" <a@example.co.jp>", "example.co.jp", 0},
                             // a Japanese display name around an inside address
                             DomainCase{"営業部 <a@example.co.jp>", "example.co.jp", 1},
                             // only a group name: no address, so nothing is outside
                             DomainCase{"Undisclosed recipients:;", "example.co.jp", 1},
                             // an empty header
                             DomainCase{"", "example.co.jp", 1},
                             // a null header
                             DomainCase{nullptr, "example.co.jp", 1},
                             // an empty domain lies in no address: every recipient is outside
                             DomainCase{"a@example.co.jp", "", 0},
                             // an empty domain with no address to judge keeps the default answer
                             DomainCase{"Undisclosed recipients:;", "", 1},
                             // an empty domain and a null header
                             DomainCase{nullptr, "", 1}));

// The texts handed to the system's comparison and search functions, in the order they were asked
// for, recorded by passing this executable's imports of them through the functions below.
std::vector<std::wstring> compared;
std::vector<std::wstring> searched;
decltype(&StrCmpIW) realStrCmpIW;
decltype(&StrStrIW) realStrStrIW;

int WINAPI RecordingStrCmpIW(LPCWSTR first, LPCWSTR second)
{
    compared.emplace_back(first);
    return realStrCmpIW(first, second);
}

LPWSTR WINAPI RecordingStrStrIW(LPCWSTR text, LPCWSTR search)
{
    searched.emplace_back(text);
    return realStrStrIW(text, search);
}

// Shows which addresses each test looks at: the walk in header order and where it stops.
class RecipientWalkTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        compared.clear();
        searched.clear();
        HMODULE self = GetModuleHandleA(nullptr);
        compareRecorder.emplace(self, "shlwapi.dll", "StrCmpIW", RecordingStrCmpIW);
        searchRecorder.emplace(self, "shlwapi.dll", "StrStrIW", RecordingStrStrIW);
        ASSERT_TRUE(compareRecorder->applied() && searchRecorder->applied());
        realStrCmpIW = compareRecorder->original<decltype(&StrCmpIW)>();
        realStrStrIW = searchRecorder->original<decltype(&StrStrIW)>();
    }

    void TearDown() override
    {
        compareRecorder.reset();
        searchRecorder.reset();
    }

    std::optional<ImportPatch> compareRecorder;
    std::optional<ImportPatch> searchRecorder;
};

TEST_F(RecipientWalkTest, BossSearchStopsAtTheFirstEqualAddress)
{
    EXPECT_EQ(IsAddressListed("a@example.co.jp, Boss@Example.co.jp, boss@example.co.jp", "boss@example.co.jp"), 1);
    EXPECT_EQ(compared, (std::vector<std::wstring>{L"a@example.co.jp", L"Boss@Example.co.jp"}));
}

TEST_F(RecipientWalkTest, DomainIsSearchedAfterTheFirstAtSignUntilTheFirstOutsideAddress)
{
    EXPECT_EQ(AreAllWithinDomain("a@sales.example.co.jp, b@client.com, c@other.net", "example.co.jp"), 0);
    EXPECT_EQ(searched, (std::vector<std::wstring>{L"sales.example.co.jp", L"client.com"}));
}

TEST_F(RecipientWalkTest, HeadersWithoutAddressesCompareNothing)
{
    EXPECT_EQ(IsAddressListed("Undisclosed recipients:;", "boss@example.co.jp"), 0);
    EXPECT_EQ(AreAllWithinDomain("", "example.co.jp"), 1);
    EXPECT_TRUE(compared.empty());
    EXPECT_TRUE(searched.empty());
}

} // namespace
