// BindHostApi against executables played by the test: which names they export and which version
// they report.

#include "shell/host_api.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

struct FakeExecutable
{
    HMODULE handle = reinterpret_cast<HMODULE>(0x400000);
    std::set<std::string> missing;
    std::string version = "2.81.04";
    std::vector<std::string> lookups;
    int versionCalls = 0;
};

FakeExecutable* executable;

LPCSTR WINAPI FakeGetVersion()
{
    ++executable->versionCalls;
    return executable->version.c_str();
}

INT_PTR WINAPI FakeFunction()
{
    return 0;
}

HMODULE WINAPI FakeGetModuleHandle(LPCSTR name)
{
    return name ? nullptr : executable->handle;
}

FARPROC WINAPI FakeGetProcAddress(HMODULE module, LPCSTR name)
{
    EXPECT_EQ(module, executable->handle);
    executable->lookups.push_back(name);
    if (executable->missing.count(name))
        return nullptr;
    if (std::string(name) == "BKA_GetVersion")
        return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(FakeGetVersion));
    return FakeFunction;
}

const std::vector<std::string>& RequiredNames()
{
    static const std::vector<std::string> names = [] {
        std::vector<std::string> list;
#define REQUIRED_NAME(name, type, binding)   \
    if (std::string(#binding) == "Required") \
        list.push_back(#name);
        QUILLMERE_HOST_FUNCTIONS(REQUIRED_NAME)
#undef REQUIRED_NAME
        return list;
    }();
    return names;
}

const std::vector<std::string> kOptionalLookupOrder = {"BKA_SetStatus", "BKA_NextUnread", "BKA_ProcessMail",
                                                       "BKA_GetSize"};

class BindHostApiTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        hostApi = {};
        executable = &fake;
    }

    int Bind() { return BindHostApi(FakeGetModuleHandle, FakeGetProcAddress); }

    FakeExecutable fake;
};

TEST_F(BindHostApiTest, FullHostIsBoundWithEveryEntryInFieldOrder)
{
    EXPECT_EQ(Bind(), 1);
    EXPECT_EQ(hostApi.hostModule, fake.handle);

    ASSERT_EQ(RequiredNames().size(), 54u);
    std::vector<std::string> expected = RequiredNames();
    expected.insert(expected.end(), kOptionalLookupOrder.begin(), kOptionalLookupOrder.end());
    EXPECT_EQ(fake.lookups, expected);
    EXPECT_EQ(fake.lookups.front(), "BKA_GetVersion");
    EXPECT_EQ(fake.lookups[53], "BKA_Connect");
    EXPECT_EQ(fake.versionCalls, 1);

    EXPECT_NE(hostApi.BKA_CompSetSpecifiedHeader, nullptr);
    EXPECT_NE(hostApi.BKA_SetStatus, nullptr);
    EXPECT_NE(hostApi.BKA_GetSize, nullptr);
}

TEST_F(BindHostApiTest, SecondCallAfterSuccessLooksNothingUp)
{
    ASSERT_EQ(Bind(), 1);
    fake.lookups.clear();
    EXPECT_EQ(Bind(), 1);
    EXPECT_TRUE(fake.lookups.empty());
    EXPECT_EQ(fake.versionCalls, 1);
}

TEST_F(BindHostApiTest, NoExecutableHandleFailsBeforeAnyLookup)
{
    fake.handle = nullptr;
    EXPECT_EQ(Bind(), 0);
    EXPECT_EQ(hostApi.hostModule, nullptr);
    EXPECT_TRUE(fake.lookups.empty());
}

TEST_F(BindHostApiTest, MissingOptionalFunctionsStayNullAndTheHostIsBound)
{
    fake.missing = {"BKA_GetSize", "BKA_NextUnread", "BKA_ProcessMail"};
    EXPECT_EQ(Bind(), 1);
    EXPECT_EQ(hostApi.BKA_GetSize, nullptr);
    EXPECT_EQ(hostApi.BKA_NextUnread, nullptr);
    EXPECT_EQ(hostApi.BKA_ProcessMail, nullptr);
    EXPECT_EQ(hostApi.hostModule, fake.handle);
}

TEST_F(BindHostApiTest, FailedBindingStartsAgainOnTheNextCall)
{
    fake.missing = {"BKA_Free"};
    EXPECT_EQ(Bind(), 0);
    fake.missing.clear();
    fake.lookups.clear();
    EXPECT_EQ(Bind(), 1);
    EXPECT_EQ(fake.lookups.size(), 58u);
}

class MissingRequiredFunction : public BindHostApiTest, public ::testing::WithParamInterface<std::string>
{
};

TEST_P(MissingRequiredFunction, RefusesAndStopsLookingAtTheMissingName)
{
    fake.missing = {GetParam()};
    EXPECT_EQ(Bind(), 0);
    EXPECT_EQ(hostApi.hostModule, nullptr);
    ASSERT_FALSE(fake.lookups.empty());
    EXPECT_EQ(fake.lookups.back(), GetParam()); // nothing after it, no optional name
    EXPECT_EQ(fake.versionCalls, 0);
}

INSTANTIATE_TEST_SUITE_P(EachOfThe54, MissingRequiredFunction, ::testing::ValuesIn(RequiredNames()),
                         [](const auto& info) { return info.param; });

struct VersionCase
{
    const char* version;
    bool hasSetStatus;
    int bound;
};

class VersionRule : public BindHostApiTest, public ::testing::WithParamInterface<VersionCase>
{
};

TEST_P(VersionRule, DecidesWhetherAHostWithoutSetStatusIsBound)
{
    fake.version = GetParam().version;
    if (!GetParam().hasSetStatus)
        fake.missing = {"BKA_SetStatus"};
    EXPECT_EQ(Bind(), GetParam().bound);
    EXPECT_EQ(hostApi.hostModule != nullptr, GetParam().bound == 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, VersionRule,
                         ::testing::Values(VersionCase{"2.00.06", true, 1},      // with BKA_SetStatus any version binds
                                           VersionCase{"2.00.06.1234", true, 1}, // long as well
                                           VersionCase{"2.00.06", false, 0},     // the first version that must have it
                                           VersionCase{"2.00.10", false, 0},     // sorts after
                                           VersionCase{"2.1", false, 0},         // sorts after, textually
                                           VersionCase{"2.81.04", false, 0},     // a current host
                                           VersionCase{"2.00.05", false, 1},     // sorts before
                                           VersionCase{"1.99", false, 1},        // sorts before
                                           VersionCase{"10.0", false, 1},        // textual: '1' sorts before '2'
                                           VersionCase{"", false, 1},            // empty sorts before everything
                                           VersionCase{"2.00.05a", false,
                                                       0}, // eight bytes: too long, whatever its order
                                           VersionCase{"1.00.00.0", false, 0})); // nine bytes

} // namespace
