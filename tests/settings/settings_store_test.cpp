// LoadSettings, SaveSettings and CopyBounded against the registry of the test prefix. The host's
// current mailbox is a real MailBox.ini in a temporary folder, named by the two host functions
// played here; every registry write of this executable passes through a recorder that sees the
// exact bytes written and can refuse one value's write.

#include "settings/settings_store.h"

#include "fault_injection.h"
#include "shell/host_api.h"
#include "support/source_files.h"

#include <gtest/gtest.h>

#include <sddl.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace {

constexpr char kVendorKey[] = "Software\\RimArts";
constexpr char kSettingsKey[] = "Software\\RimArts\\B2\\Settings";
constexpr char kEnabled[] = "BrenlowOnOff";
constexpr char kDomain[] = "BrenlowCompanyDomain";
constexpr char kBoss[] = "BrenlowAddress";
constexpr char kShowAlert[] = "BrenlowShowAlert";
constexpr HRESULT kTextCut = static_cast<HRESULT>(0x8007007A);

PluginSettings MakeSettings(int32_t enabled, const std::string& domain, const std::string& boss, int32_t showAlert)
{
    PluginSettings settings;
    std::memset(&settings, 0, sizeof settings);
    settings.enabled = enabled;
    std::memcpy(settings.companyDomain, domain.data(), domain.size());
    std::memcpy(settings.bossAddress, boss.data(), boss.size());
    settings.showAlert = showAlert;
    return settings;
}

std::string Bytes(const void* data, size_t size)
{
    return std::string(static_cast<const char*>(data), size);
}

std::string Dword(DWORD value)
{
    return Bytes(&value, sizeof value);
}

} // namespace

// Whole records, every byte of the text fields included.
bool operator==(const PluginSettings& a, const PluginSettings& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

void PrintTo(const PluginSettings& s, std::ostream* out)
{
    auto text = [](const char* field) { return std::string(field, strnlen(field, sizeof s.companyDomain)); };
    *out << "{" << s.enabled << ", \"" << text(s.companyDomain) << "\", \"" << text(s.bossAddress) << "\", "
         << s.showAlert << "}";
}

namespace {

struct Write
{
    std::string name;
    DWORD type;
    std::string bytes; // exactly the bytes counted by the writer

    bool operator==(const Write& other) const
    {
        return name == other.name && type == other.type && bytes == other.bytes;
    }
};

void PrintTo(const Write& w, std::ostream* out)
{
    *out << w.name << " type " << w.type << ", " << w.bytes.size() << " bytes";
}

std::vector<Write> writes;
std::string refusedValue; // the value whose write fails, if any
decltype(&RegSetValueExA) realRegSetValueExA;

LSTATUS WINAPI RecordingRegSetValueExA(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size)
{
    writes.push_back({name, type, Bytes(data, size)});
    if (name == refusedValue)
        return ERROR_ACCESS_DENIED;
    return realRegSetValueExA(key, name, reserved, type, data, size);
}

// The host's current mailbox, as its two functions hand it out.
struct MailBoxHost
{
    std::string dataFolder;
    std::string mailBox;
    std::vector<std::string> calls;
} host;

LPCSTR WINAPI FakeGetCurrentMailBox()
{
    host.calls.push_back("BKA_GetCurrentMailBox");
    return host.mailBox.c_str();
}

LPCSTR WINAPI FakeGetDataFolder()
{
    host.calls.push_back("BKA_GetDataFolder");
    return host.dataFolder.c_str();
}

struct StoredValue
{
    DWORD type;
    std::string bytes; // as the registry hands them out: text values with their terminator counted
};

// The text of a stored text value, without the terminator the registry adds when reading.
std::string TextOf(const StoredValue& value)
{
    return value.bytes.substr(0, value.bytes.find('\0'));
}

class SettingsStoreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, kVendorKey);
        ASSERT_TRUE(CreateSettingsKey());

        char temp[MAX_PATH];
        ASSERT_GT(GetTempPathA(sizeof temp, temp), 0u);
        root_ = std::string(temp) + "quillmere-settings-" + std::to_string(GetCurrentProcessId()) + "\\";
        UseMailBox("Data\\", "Box1\\");
        WriteMailBoxIni("[Account]\r\nName=User\r\nMailAddress=user@example.com\r\n");
        host.calls.clear();
        hostApi.BKA_GetCurrentMailBox = FakeGetCurrentMailBox;
        hostApi.BKA_GetDataFolder = FakeGetDataFolder;

        writes.clear();
        refusedValue.clear();
        writeRecorder.emplace(GetModuleHandleA(nullptr), "advapi32.dll", "RegSetValueExA", RecordingRegSetValueExA);
        ASSERT_TRUE(writeRecorder->applied());
        realRegSetValueExA = writeRecorder->original<decltype(&RegSetValueExA)>();
    }

    void TearDown() override
    {
        writeRecorder.reset();
        RegDeleteTreeA(HKEY_CURRENT_USER, kVendorKey);
        RemoveMailBox();
        hostApi = {};
    }

    static bool CreateSettingsKey()
    {
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
            ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }

    static bool SettingsKeyExists()
    {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }

    // Stores a value as given, past the recorder.
    static void Store(const char* name, DWORD type, const std::string& bytes)
    {
        HKEY key = nullptr;
        ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
        LSTATUS status = realRegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                                            static_cast<DWORD>(bytes.size()));
        RegCloseKey(key);
        ASSERT_EQ(status, ERROR_SUCCESS) << name;
    }

    // Stores a text as a string value without a terminator: the byte after the counted ones is
    // not zero, so the registry adds none.
    static void StoreUnterminatedText(const char* name, const std::string& text)
    {
        HKEY key = nullptr;
        ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
        std::string buffer = text + "X";
        LSTATUS status = realRegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(buffer.data()),
                                            static_cast<DWORD>(text.size()));
        RegCloseKey(key);
        ASSERT_EQ(status, ERROR_SUCCESS) << name;
    }

    static void StoreValidSettings()
    {
        Store(kEnabled, REG_DWORD, Dword(1));
        Store(kDomain, REG_SZ, "corp.example");
        Store(kBoss, REG_SZ, "boss@corp.example");
        Store(kShowAlert, REG_DWORD, Dword(0));
    }

    static std::optional<StoredValue> Stored(const char* name)
    {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
            return std::nullopt;
        StoredValue value{};
        DWORD size = 0;
        std::optional<StoredValue> result;
        if (RegQueryValueExA(key, name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
            std::string bytes(size, '\0');
            if (RegQueryValueExA(key, name, nullptr, &value.type, reinterpret_cast<BYTE*>(bytes.data()), &size) ==
                ERROR_SUCCESS) {
                value.bytes = bytes.substr(0, size);
                result = value;
            }
        }
        RegCloseKey(key);
        return result;
    }

    static void ExpectStoredNumber(const char* name, DWORD value)
    {
        std::optional<StoredValue> stored = Stored(name);
        ASSERT_TRUE(stored) << name;
        EXPECT_EQ(stored->type, static_cast<DWORD>(REG_DWORD)) << name;
        EXPECT_EQ(stored->bytes, Dword(value)) << name;
    }

    // An empty text is stored as a value of no bytes at all; any other comes back with the one
    // terminator the registry counts when reading.
    static void ExpectStoredText(const char* name, const std::string& text)
    {
        std::optional<StoredValue> stored = Stored(name);
        ASSERT_TRUE(stored) << name;
        EXPECT_EQ(stored->type, static_cast<DWORD>(REG_SZ)) << name;
        EXPECT_EQ(TextOf(*stored), text) << name;
        EXPECT_EQ(stored->bytes.size(), text.empty() ? 0 : text.size() + 1) << name;
    }

    void UseMailBox(const std::string& dataFolder, const std::string& mailBox)
    {
        RemoveMailBox();
        host.dataFolder = root_ + dataFolder;
        host.mailBox = mailBox;
        CreateDirectoryA(root_.c_str(), nullptr);
        CreateDirectoryA(host.dataFolder.c_str(), nullptr);
        CreateDirectoryA((host.dataFolder + host.mailBox).c_str(), nullptr);
    }

    std::string MailBoxIni() const { return host.dataFolder + host.mailBox + "MailBox.ini"; }

    void WriteMailBoxIni(const std::string& contents) const
    {
        HANDLE file = CreateFileA(MailBoxIni().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE) << MailBoxIni() << ": error " << GetLastError();
        DWORD written = 0;
        WriteFile(file, contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr);
        CloseHandle(file);
        ASSERT_EQ(written, contents.size());
    }

    void RemoveMailBox() const
    {
        if (host.dataFolder.empty())
            return;
        DeleteFileA(MailBoxIni().c_str());
        RemoveDirectoryA((host.dataFolder + host.mailBox).c_str());
        RemoveDirectoryA(host.dataFolder.c_str());
        RemoveDirectoryA(root_.c_str());
    }

    // Loads into a record full of other bytes, so that the clearing shows.
    HRESULT Load(PluginSettings& settings)
    {
        std::memset(&settings, 0xCC, sizeof settings);
        writes.clear();
        host.calls.clear();
        return LoadSettings(&settings);
    }

    HRESULT Save(const PluginSettings& settings)
    {
        writes.clear();
        return SaveSettings(settings);
    }

    std::string root_;
    std::optional<ImportPatch> writeRecorder;
};

TEST_F(SettingsStoreTest, FirstLoadCreatesEveryValueWithItsDefault)
{
    PluginSettings settings;
    EXPECT_EQ(Load(settings), S_OK);

    EXPECT_EQ(settings, MakeSettings(0, "example.com", "", 1));
    EXPECT_EQ(writes, (std::vector<Write>{{kEnabled, REG_DWORD, Dword(0)},
                                          {kDomain, REG_SZ, "example.com"},
                                          {kBoss, REG_SZ, ""},
                                          {kShowAlert, REG_DWORD, Dword(1)}}));
    EXPECT_EQ(host.calls, (std::vector<std::string>{"BKA_GetCurrentMailBox", "BKA_GetDataFolder"}));
    ExpectStoredNumber(kEnabled, 0);
    ExpectStoredText(kDomain, "example.com");
    ExpectStoredText(kBoss, "");
    ExpectStoredNumber(kShowAlert, 1);
}

TEST_F(SettingsStoreTest, LaterLoadReadsTheCreatedValuesAndWritesNothing)
{
    PluginSettings first;
    ASSERT_EQ(Load(first), S_OK);
    WriteMailBoxIni("[Account]\r\nMailAddress=user@changed.example\r\n");

    PluginSettings second;
    EXPECT_EQ(Load(second), S_OK);
    EXPECT_EQ(second, first);
    EXPECT_TRUE(writes.empty());
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(SettingsStoreTest, OnlyTheMissingValueIsCreated)
{
    StoreValidSettings();
    ASSERT_EQ(RegDeleteKeyValueA(HKEY_CURRENT_USER, kSettingsKey, kShowAlert), ERROR_SUCCESS);

    PluginSettings settings;
    EXPECT_EQ(Load(settings), S_OK);
    EXPECT_EQ(settings, MakeSettings(1, "corp.example", "boss@corp.example", 1));
    EXPECT_EQ(writes, (std::vector<Write>{{kShowAlert, REG_DWORD, Dword(1)}}));
    EXPECT_TRUE(host.calls.empty());
    ExpectStoredNumber(kEnabled, 1);
    ExpectStoredText(kDomain, "corp.example");
    ExpectStoredText(kBoss, "boss@corp.example");
    ExpectStoredNumber(kShowAlert, 1);
}

// One stored value, the other three being StoreValidSettings' and the mailbox's address
// user@example.com: what the load makes of it, and what it writes back in its place.
struct StoredCase
{
    const char* name;
    DWORD type;
    std::string bytes;
    bool terminated; // false: a string value stored without its terminator
    PluginSettings expected;
    std::optional<Write> rewrite;
};

void PrintTo(const StoredCase& c, std::ostream* out)
{
    *out << c.name << " type " << c.type << ", " << c.bytes.size() << " bytes" << (c.terminated ? "" : " unterminated");
}

class StoredValueTest : public SettingsStoreTest, public ::testing::WithParamInterface<StoredCase>
{
};

TEST_P(StoredValueTest, Loads)
{
    const StoredCase& c = GetParam();
    StoreValidSettings();
    if (c.terminated)
        Store(c.name, c.type, c.bytes);
    else
        StoreUnterminatedText(c.name, c.bytes);

    PluginSettings settings;
    EXPECT_EQ(Load(settings), S_OK);
    EXPECT_EQ(settings, c.expected);
    if (c.rewrite) {
        EXPECT_EQ(writes, std::vector<Write>{*c.rewrite});
        std::optional<StoredValue> stored = Stored(c.name);
        ASSERT_TRUE(stored);
        EXPECT_EQ(stored->type, c.rewrite->type);
        EXPECT_EQ(TextOf(*stored), TextOf({c.rewrite->type, c.rewrite->bytes}));
    } else {
        EXPECT_TRUE(writes.empty());
    }
}

const std::string k255(255, 'd');
const std::string k256(256, 'd');

INSTANTIATE_TEST_SUITE_P(
    Values, StoredValueTest,
    ::testing::Values(
        // a number of 8 bytes does not fit its field: missing, off, rewritten as 4 bytes
        StoredCase{kEnabled, REG_QWORD, std::string("\1\0\0\0\0\0\0\0", 8), true,
                   MakeSettings(0, "corp.example", "boss@corp.example", 0), Write{kEnabled, REG_DWORD, Dword(0)}},
        // one byte holding 1 reads as 1, the other three bytes being cleared
        StoredCase{kEnabled, REG_DWORD, std::string("\1", 1), true,
                   MakeSettings(1, "corp.example", "boss@corp.example", 0), std::nullopt},
        // the type is not examined: the bytes of a text land in the number as they are
        StoredCase{kEnabled, REG_SZ, "1", true, MakeSettings(0x31, "corp.example", "boss@corp.example", 0),
                   std::nullopt},
        // a warning setting other than 0 or 1 is kept as it is
        StoredCase{kShowAlert, REG_DWORD, Dword(2), true, MakeSettings(1, "corp.example", "boss@corp.example", 2),
                   std::nullopt},
        // a warning setting of 5 bytes is missing: it becomes 1 again
        StoredCase{kShowAlert, REG_BINARY, std::string("\0\0\0\0\0", 5), true,
                   MakeSettings(1, "corp.example", "boss@corp.example", 1), Write{kShowAlert, REG_DWORD, Dword(1)}},
        // the longest domain that fits: 255 bytes and the terminator
        StoredCase{kDomain, REG_SZ, k255, true, MakeSettings(1, k255, "boss@corp.example", 0), std::nullopt},
        // 256 bytes with no terminator leave no room for one: missing, derived again and overwritten
        StoredCase{kDomain, REG_SZ, k256, false, MakeSettings(1, "example.com", "boss@corp.example", 0),
                   Write{kDomain, REG_SZ, "example.com"}},
        // a longer text, terminated: missing as well
        StoredCase{kDomain, REG_SZ, std::string(300, 'd'), true, MakeSettings(1, "example.com", "boss@corp.example", 0),
                   Write{kDomain, REG_SZ, "example.com"}},
        // an unterminated text shorter than the field ends at the first cleared byte
        StoredCase{kDomain, REG_BINARY, "example.org", true, MakeSettings(1, "example.org", "boss@corp.example", 0),
                   std::nullopt},
        // an empty value of 0 bytes is a stored empty domain, not a missing one
        StoredCase{kDomain, REG_SZ, "", true, MakeSettings(1, "", "boss@corp.example", 0), std::nullopt},
        // a boss address of 256 bytes without terminator is missing: replaced by an empty value
        StoredCase{kBoss, REG_SZ, k256, false, MakeSettings(1, "corp.example", "", 0), Write{kBoss, REG_SZ, ""}},
        // a Shift_JIS text comes back byte for byte
        StoredCase{kBoss, REG_SZ, "上司 <boss@corp.example>", true,
                   MakeSettings(1, "corp.example", "上司 <boss@corp.example>", 0), std::nullopt}));

// The default domain from the current mailbox's file, found by joining data folder and mailbox.
struct DerivedCase
{
    const char* dataFolder;
    const char* mailBox;
    const char* ini; // nullptr: the mailbox has no MailBox.ini
    const char* domain;
};

void PrintTo(const DerivedCase& c, std::ostream* out)
{
    *out << c.dataFolder << " + " << c.mailBox << ": " << (c.ini ? c.ini : "(no file)");
}

class DerivedDomainTest : public SettingsStoreTest, public ::testing::WithParamInterface<DerivedCase>
{
};

TEST_P(DerivedDomainTest, IsStored)
{
    const DerivedCase& c = GetParam();
    UseMailBox(c.dataFolder, c.mailBox);
    if (c.ini)
        WriteMailBoxIni(c.ini);

    PluginSettings settings;
    EXPECT_EQ(Load(settings), S_OK);
    EXPECT_EQ(settings, MakeSettings(0, c.domain, "", 1));
    ASSERT_EQ(writes.size(), 4u);
    EXPECT_EQ(writes[1], (Write{kDomain, REG_SZ, c.domain}));
    ExpectStoredText(kDomain, c.domain);
}

INSTANTIATE_TEST_SUITE_P(
    MailBoxes, DerivedDomainTest,
    ::testing::Values(
        // the usual layout: both texts end in a backslash
        DerivedCase{"Data\\", "Box1\\", "[Account]\r\nMailAddress=taro@example.co.jp\r\n", "example.co.jp"},
        // the texts are joined as they are, with no separator added between them
        DerivedCase{"Data", "Box1\\", "[Account]\r\nMailAddress=hanako@example.net\r\n", "example.net"},
        // everything after the first at sign, the second included
        DerivedCase{"Data\\", "Box1\\", "[Account]\r\nMailAddress=a@b@example.com\r\n", "b@example.com"},
        // an address without an at sign gives an empty domain
        DerivedCase{"Data\\", "Box1\\", "[Account]\r\nMailAddress=user\r\n", ""},
        // the key in another section does not count
        DerivedCase{"Data\\", "Box1\\", "[Other]\r\nMailAddress=user@example.com\r\n", ""},
        // no mailbox file at all
        DerivedCase{"Data\\", "Box1\\", nullptr, ""}));

TEST_F(SettingsStoreTest, StoredEmptyDomainIsKeptWithoutDerivingAgain)
{
    WriteMailBoxIni("[Account]\r\nMailAddress=user\r\n");
    PluginSettings first;
    ASSERT_EQ(Load(first), S_OK);
    ASSERT_EQ(first, MakeSettings(0, "", "", 1));
    WriteMailBoxIni("[Account]\r\nMailAddress=user@example.com\r\n");

    PluginSettings second;
    EXPECT_EQ(Load(second), S_OK);
    EXPECT_EQ(second, first);
    EXPECT_TRUE(writes.empty());
    EXPECT_TRUE(host.calls.empty());
}

// A default that cannot be written ends the load there: the field holds its default, the later
// fields keep their zeros and the later values are neither read nor created.
struct RefusedCase
{
    const char* refused;
    PluginSettings expected;
    std::vector<const char*> created;
};

void PrintTo(const RefusedCase& c, std::ostream* out)
{
    *out << c.refused << " refused";
}

class RefusedDefaultTest : public SettingsStoreTest, public ::testing::WithParamInterface<RefusedCase>
{
};

TEST_P(RefusedDefaultTest, EndsTheLoad)
{
    const RefusedCase& c = GetParam();
    refusedValue = c.refused;

    PluginSettings settings;
    EXPECT_EQ(Load(settings), E_FAIL);
    EXPECT_EQ(settings, c.expected);
    EXPECT_EQ(writes.back().name, c.refused);
    for (const char* name : {kEnabled, kDomain, kBoss, kShowAlert}) {
        bool created = std::find(c.created.begin(), c.created.end(), std::string(name)) != c.created.end();
        EXPECT_EQ(Stored(name).has_value(), created) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(Values, RefusedDefaultTest,
                         ::testing::Values(
                             // the first write refused: nothing is created
                             RefusedCase{kEnabled, MakeSettings(0, "", "", 0), {}},
                             // the domain refused: it is in the record, the boss and the warning are not
                             RefusedCase{kDomain, MakeSettings(0, "example.com", "", 0), {kEnabled}},
                             // the boss address refused
                             RefusedCase{kBoss, MakeSettings(0, "example.com", "", 0), {kEnabled, kDomain}},
                             // the last write refused: the record is complete but the load has still failed
                             RefusedCase{
                                 kShowAlert, MakeSettings(0, "example.com", "", 1), {kEnabled, kDomain, kBoss}}));

TEST_F(SettingsStoreTest, RefusedDefaultLeavesTheLaterValuesUnread)
{
    Store(kBoss, REG_SZ, "boss@corp.example");
    Store(kShowAlert, REG_DWORD, Dword(0));
    refusedValue = kDomain;

    PluginSettings settings;
    EXPECT_EQ(Load(settings), E_FAIL);
    EXPECT_EQ(settings, MakeSettings(0, "example.com", "", 0));
    ExpectStoredText(kBoss, "boss@corp.example");
    ExpectStoredNumber(kShowAlert, 0);
}

TEST_F(SettingsStoreTest, MissingKeyGivesNoSettingsAndIsNotCreated)
{
    ASSERT_EQ(RegDeleteTreeA(HKEY_CURRENT_USER, kVendorKey), ERROR_SUCCESS);

    PluginSettings settings;
    EXPECT_EQ(Load(settings), E_FAIL);
    EXPECT_EQ(settings, MakeSettings(0, "", "", 0));
    EXPECT_EQ(Save(MakeSettings(1, "example.com", "boss@example.com", 1)), E_FAIL);
    EXPECT_TRUE(writes.empty());
    EXPECT_TRUE(host.calls.empty());
    EXPECT_FALSE(SettingsKeyExists());
}

// Gives the settings key the access rights of a security descriptor while it lives, then every
// right again, so that the key can be deleted after the test whatever happened in it.
class KeyAccess
{
public:
    explicit KeyAccess(const char* sddl) { Set(sddl); }
    ~KeyAccess() { Set("D:(A;;KA;;;WD)"); }
    KeyAccess(const KeyAccess&) = delete;
    KeyAccess& operator=(const KeyAccess&) = delete;

private:
    static void Set(const char* sddl)
    {
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &descriptor, nullptr));
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, WRITE_DAC, &key) == ERROR_SUCCESS) {
            EXPECT_EQ(RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor), ERROR_SUCCESS);
            RegCloseKey(key);
        }
        LocalFree(descriptor);
    }
};

// The user may read the host's key but not write it; the store opens it for both.
TEST_F(SettingsStoreTest, KeyTheUserMayOnlyReadGivesNoSettings)
{
    StoreValidSettings();
    KeyAccess readOnly("D:P(A;;KRWD;;;WD)");
    HKEY probe = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ | KEY_SET_VALUE, &probe), ERROR_ACCESS_DENIED);
    ExpectStoredNumber(kEnabled, 1);

    PluginSettings settings;
    EXPECT_EQ(Load(settings), E_FAIL);
    EXPECT_EQ(settings, MakeSettings(0, "", "", 0));
    EXPECT_EQ(Save(MakeSettings(0, "example.com", "", 1)), E_FAIL);
    EXPECT_TRUE(writes.empty());
    ExpectStoredNumber(kEnabled, 1);
}

TEST_F(SettingsStoreTest, NullRecordTouchesNothing)
{
    writes.clear();
    EXPECT_EQ(LoadSettings(nullptr), E_INVALIDARG);
    EXPECT_TRUE(writes.empty());
    EXPECT_TRUE(host.calls.empty());
    EXPECT_FALSE(Stored(kEnabled));
}

TEST_F(SettingsStoreTest, SaveWritesTheFourValuesInOrder)
{
    EXPECT_EQ(Save(MakeSettings(1, "example.com", "boss@example.com", 1)), S_OK);

    EXPECT_EQ(writes, (std::vector<Write>{{kEnabled, REG_DWORD, Dword(1)},
                                          {kDomain, REG_SZ, "example.com"},
                                          {kBoss, REG_SZ, "boss@example.com"},
                                          {kShowAlert, REG_DWORD, Dword(1)}}));
    ExpectStoredNumber(kEnabled, 1);
    ExpectStoredText(kDomain, "example.com");
    ExpectStoredText(kBoss, "boss@example.com");
    ExpectStoredNumber(kShowAlert, 1);

    PluginSettings loaded;
    EXPECT_EQ(Load(loaded), S_OK);
    EXPECT_EQ(loaded, MakeSettings(1, "example.com", "boss@example.com", 1));
    EXPECT_TRUE(writes.empty());
}

TEST_F(SettingsStoreTest, SaveReplacesValuesOfAnyTypeAndWritesEmptyTextsAsNoBytes)
{
    Store(kEnabled, REG_SZ, "1");
    Store(kDomain, REG_DWORD, Dword(7));
    Store(kBoss, REG_SZ, "boss@corp.example");

    EXPECT_EQ(Save(MakeSettings(0, "", "", 0)), S_OK);
    EXPECT_EQ(writes, (std::vector<Write>{{kEnabled, REG_DWORD, Dword(0)},
                                          {kDomain, REG_SZ, ""},
                                          {kBoss, REG_SZ, ""},
                                          {kShowAlert, REG_DWORD, Dword(0)}}));
    ExpectStoredNumber(kEnabled, 0);
    ExpectStoredText(kDomain, "");
    ExpectStoredText(kBoss, "");
    ExpectStoredNumber(kShowAlert, 0);
}

// A record whose text field lacks its terminator never makes the save read past the field.
TEST_F(SettingsStoreTest, SaveWritesAtMost255BytesOfAText)
{
    PluginSettings settings = MakeSettings(1, "example.com", "", 1);
    std::memset(settings.bossAddress, 'b', sizeof settings.bossAddress);

    EXPECT_EQ(Save(settings), S_OK);
    ASSERT_EQ(writes.size(), 4u);
    EXPECT_EQ(writes[2], (Write{kBoss, REG_SZ, std::string(255, 'b')}));
    // With no zero after the counted bytes, the registry keeps the text without a terminator.
    std::optional<StoredValue> stored = Stored(kBoss);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->bytes, std::string(255, 'b'));
}

TEST_F(SettingsStoreTest, FailedSaveStopsAtTheRefusedValue)
{
    StoreValidSettings();
    refusedValue = kDomain;

    EXPECT_EQ(Save(MakeSettings(0, "example.com", "new@example.com", 1)), E_FAIL);
    EXPECT_EQ(writes, (std::vector<Write>{{kEnabled, REG_DWORD, Dword(0)}, {kDomain, REG_SZ, "example.com"}}));
    ExpectStoredNumber(kEnabled, 0);
    ExpectStoredText(kDomain, "corp.example");
    ExpectStoredText(kBoss, "boss@corp.example");
    ExpectStoredNumber(kShowAlert, 0);
}

// The example that administrators import for their users gives exactly the settings it describes.
TEST_F(SettingsStoreTest, AdministratorsPresetFileIsLoadedAsItStands)
{
    RegDeleteTreeA(HKEY_CURRENT_USER, kVendorKey);
    std::string command = "reg.exe import \"" + SourceFile("docs/deploy.reg") + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(
        CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    ASSERT_EQ(exitCode, 0u) << command;

    PluginSettings settings;
    EXPECT_EQ(Load(settings), S_OK);
    EXPECT_EQ(settings, MakeSettings(1, "example.co.jp", "boss@example.co.jp", 1));
    EXPECT_TRUE(writes.empty());
    EXPECT_TRUE(host.calls.empty());
}

struct CopyCase
{
    std::string source;
    HRESULT result;
    std::string field; // the text the field holds up to its terminator
};

void PrintTo(const CopyCase& c, std::ostream* out)
{
    *out << c.source.size() << " bytes";
}

class CopyBoundedTest : public ::testing::TestWithParam<CopyCase>
{
};

TEST_P(CopyBoundedTest, Copies)
{
    const CopyCase& c = GetParam();
    char field[256];
    std::memset(field, 'x', sizeof field);

    EXPECT_EQ(CopyBounded(c.source.c_str(), field), c.result);
    ASSERT_EQ(field[c.field.size()], '\0');
    EXPECT_EQ(std::string(field), c.field);
}

INSTANTIATE_TEST_SUITE_P(Sources, CopyBoundedTest,
                         ::testing::Values(
                             // an empty source gives an empty field
                             CopyCase{"", S_OK, ""},
                             // the longest text that fits is copied whole
                             CopyCase{std::string(255, 'a'), S_OK, std::string(255, 'a')},
                             // one byte more is cut to 255 and a terminator in the last position
                             CopyCase{std::string(256, 'a'), kTextCut, std::string(255, 'a')},
                             // a much longer text the same way
                             CopyCase{std::string(254, 'a') + "bcdef", kTextCut, std::string(254, 'a') + "b"}));

} // namespace
