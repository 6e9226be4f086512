// The settings dialog of the real DLL, opened by the host's two ways into it and driven as a user
// drives it: typing, ticking, OK and Cancel, with every message box recorded and the registry read
// back afterwards.

#include "support/dialog_driver.h"
#include "support/hosted_plugin.h"
#include "support/settings_key.h"

#include "fault_injection.h"
#include "message_box_answerer.h"
#include "res/resource.h"
#include "settings/settings_dialog.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <optional>
#include <ostream>

namespace {

// What the user sees of the controls that change.
enum class Choice
{
    None,
    WarnFirst,
    AutoCc,
    Both,
};
enum class Details
{
    Enabled,
    Disabled,
    Mixed,
};

struct Look
{
    bool ticked;
    Choice choice;
    Details details; // the domain, the boss address and both radio buttons
    std::string companyDomain;
    std::string bossAddress;
    bool restEnabled = true; // the check box, labels, note, group box, OK and Cancel

    bool operator==(const Look& other) const
    {
        return ticked == other.ticked && choice == other.choice && details == other.details &&
               companyDomain == other.companyDomain && bossAddress == other.bossAddress &&
               restEnabled == other.restEnabled;
    }
};

std::ostream& operator<<(std::ostream& out, const Look& look)
{
    const char* choices[] = {"none", "warn first", "auto Cc", "both"};
    const char* details[] = {"enabled", "disabled", "mixed"};
    return out << "{box " << (look.ticked ? "ticked" : "clear") << ", choice " << choices[int(look.choice)]
               << ", details " << details[int(look.details)] << ", domain \"" << look.companyDomain << "\", boss \""
               << look.bossAddress << "\", the rest " << (look.restEnabled ? "enabled" : "not all enabled") << '}';
}

Look Seen(const DialogState& state)
{
    auto at = [&](int id) {
        auto found = state.find(id);
        return found == state.end() ? ControlState{} : found->second;
    };
    Look look{};
    look.ticked = at(IDC_ENABLE).checked;
    bool warn = at(IDC_SHOW_ALERT).checked, autoCc = at(IDC_AUTO_CC).checked;
    look.choice = warn && autoCc ? Choice::Both : warn ? Choice::WarnFirst : autoCc ? Choice::AutoCc : Choice::None;
    int enabled = 0;
    for (int id : {IDC_DOMAIN, IDC_BOSS_ADDRESS, IDC_SHOW_ALERT, IDC_AUTO_CC})
        enabled += at(id).enabled;
    look.details = enabled == 4 ? Details::Enabled : enabled == 0 ? Details::Disabled : Details::Mixed;
    look.companyDomain = at(IDC_DOMAIN).text;
    look.bossAddress = at(IDC_BOSS_ADDRESS).text;
    look.restEnabled = true;
    for (const auto& [id, control] : state)
        if (id != IDC_DOMAIN && id != IDC_BOSS_ADDRESS && id != IDC_SHOW_ALERT && id != IDC_AUTO_CC)
            look.restEnabled = look.restEnabled && control.enabled;
    return look;
}

enum class Opening
{
    Command,    // the plug-in's menu command, which answers the dialog's result
    SetupEntry, // the host's set-up entry, which answers 1 whatever the result
};

struct DialogCase
{
    const char* name;
    Opening opening;
    Stored before;
    std::vector<DialogStep> script;
    int answer;
    std::vector<std::wstring> messages; // every box, in order
    Stored after;
    std::vector<Look> looks = {}; // at activation, then at each Record step; not checked when empty
    bool conversionFails = false;
};

std::ostream& operator<<(std::ostream& out, const DialogCase& row)
{
    return out << row.name;
}

const std::wstring kNotOneAddress = L"正しくメールアドレスを入力してください";
const std::wstring kNotTheAddressAlone =
    L"メールアドレスだけを入力してください\n名前や<>などメールアドレス以外の文字は入力しないでください";
const std::wstring kNoCompanyDomain = L"自社のドメインを入力してください";
const std::wstring kNotSaved = L"設定を保存できませんでした";

const std::string kDomain = "example.com";
const std::string kBoss = "boss@example.com";

// 243 + 12 bytes: an address of exactly 255 bytes, then text that only a longer read would see.
const std::string kLongAddress = std::string(243, 'a') + "@example.com";

std::string Repeat(const std::string& text, int times)
{
    std::string repeated;
    for (int i = 0; i < times; ++i)
        repeated += text;
    return repeated;
}

const DialogCase kCases[] = {
    // Switched off, nothing is checked: empty texts and the chosen radio button are saved.
    {"OffWithEmptyFieldsSaves", Opening::Command, Values(0, "", "", 0), {Press(IDOK)}, IDOK, {}, Values(0, "", "", 0)},
    // Switching off before OK saves what was typed, however wrong, and the radio button chosen.
    {"OffSavesWhatWasTypedUnchecked",
     Opening::Command,
     Values(1, kDomain, kBoss, 1),
     {Type(IDC_BOSS_ADDRESS, "Boss <boss@example.com>"), Type(IDC_DOMAIN, ""), Click(IDC_AUTO_CC), Click(IDC_ENABLE),
      Press(IDOK)},
     IDOK,
     {},
     Values(0, "", "Boss <boss@example.com>", 0)},
    // No boss address: the first message; the dialog stays open and nothing is saved.
    {"EmptyBossAddress",
     Opening::Command,
     Values(1, kDomain, "", 1),
     {Press(IDOK), Record(), Press(IDCANCEL)},
     IDCANCEL,
     {kNotOneAddress},
     Values(1, kDomain, "", 1),
     {{true, Choice::WarnFirst, Details::Enabled, kDomain, ""},
      {true, Choice::WarnFirst, Details::Enabled, kDomain, ""}}},
    // Two addresses are not one.
    {"TwoAddresses",
     Opening::Command,
     Values(1, kDomain, kBoss, 1),
     {Type(IDC_BOSS_ADDRESS, "boss@example.com, b@example.com"), Press(IDOK), Press(IDCANCEL)},
     IDCANCEL,
     {kNotOneAddress},
     Values(1, kDomain, kBoss, 1)},
    // A display name with the address: the second message, and the input stays as typed.
    {"DisplayNameWithTheAddress",
     Opening::Command,
     Values(1, kDomain, kBoss, 1),
     {Type(IDC_BOSS_ADDRESS, "Boss <boss@example.com>"), Press(IDOK), Record(), Press(IDCANCEL)},
     IDCANCEL,
     {kNotTheAddressAlone},
     Values(1, kDomain, kBoss, 1),
     {{true, Choice::WarnFirst, Details::Enabled, kDomain, kBoss},
      {true, Choice::WarnFirst, Details::Enabled, kDomain, "Boss <boss@example.com>"}}},
    // A leading space is something besides the address.
    {"LeadingSpace",
     Opening::Command,
     Values(1, kDomain, kBoss, 1),
     {Type(IDC_BOSS_ADDRESS, " boss@example.com"), Press(IDOK), Press(IDCANCEL)},
     IDCANCEL,
     {kNotTheAddressAlone},
     Values(1, kDomain, kBoss, 1)},
    // So is a trailing one.
    {"TrailingSpace",
     Opening::Command,
     Values(1, kDomain, kBoss, 1),
     {Type(IDC_BOSS_ADDRESS, "boss@example.com "), Press(IDOK), Press(IDCANCEL)},
     IDCANCEL,
     {kNotTheAddressAlone},
     Values(1, kDomain, kBoss, 1)},
    // A full-width space after the address is as foreign to it as an ASCII one.
    {"TrailingFullWidthSpace",
     Opening::Command,
     Values(1, kDomain, kBoss, 1),
     {Type(IDC_BOSS_ADDRESS, Ansi(L"boss@example.com　")), Press(IDOK), Press(IDCANCEL)},
     IDCANCEL,
     {kNotTheAddressAlone},
     Values(1, kDomain, kBoss, 1)},
    // A good address with no domain: the domain message alone.
    {"EmptyDomainAlone",
     Opening::Command,
     Values(1, kDomain, kBoss, 1),
     {Type(IDC_DOMAIN, ""), Press(IDOK), Press(IDCANCEL)},
     IDCANCEL,
     {kNoCompanyDomain},
     Values(1, kDomain, kBoss, 1)},
    // Both empty: the address message, then the domain message, from one press of OK.
    {"BothEmpty",
     Opening::Command,
     Values(1, "", "", 1),
     {Press(IDOK), Record(), Press(IDCANCEL)},
     IDCANCEL,
     {kNotOneAddress, kNoCompanyDomain},
     Values(1, "", "", 1),
     {{true, Choice::WarnFirst, Details::Enabled, "", ""}, {true, Choice::WarnFirst, Details::Enabled, "", ""}}},
    // Valid input at the very first opening: the defaults are shown, then the user's settings saved.
    {"ValidInputSaves",
     Opening::Command,
     kNoValues,
     {Click(IDC_ENABLE), Type(IDC_BOSS_ADDRESS, kBoss), Click(IDC_AUTO_CC), Press(IDOK)},
     IDOK,
     {},
     Values(1, kDomain, kBoss, 0),
     {{false, Choice::WarnFirst, Details::Enabled, kDomain, ""}}},
    // Values the dialog never writes: no box ticked, no radio button chosen, and OK saves 0 for both.
    {"StoredTwosShowNothingAndSaveZeros",
     Opening::Command,
     Values(2, kDomain, kBoss, 2),
     {Press(IDOK)},
     IDOK,
     {},
     Values(0, kDomain, kBoss, 0),
     {{false, Choice::None, Details::Enabled, kDomain, kBoss}}},
    // Switched off, the details stay enabled until the check box first reports, which it does as
    // soon as it takes the focus; each click then applies the rule again.
    {"EnablingRuleFollowsTheCheckBox",
     Opening::Command,
     Values(0, kDomain, kBoss, 1),
     {Record(), Click(IDC_ENABLE), Record(), Click(IDC_ENABLE), Record(), Press(IDCANCEL)},
     IDCANCEL,
     {},
     Values(0, kDomain, kBoss, 1),
     {{false, Choice::WarnFirst, Details::Enabled, kDomain, kBoss},
      {false, Choice::WarnFirst, Details::Disabled, kDomain, kBoss},
      {true, Choice::WarnFirst, Details::Enabled, kDomain, kBoss},
      {false, Choice::WarnFirst, Details::Disabled, kDomain, kBoss}}},
    // Over 255 bytes typed: only the first 255 count, so the checks pass on the cut address.
    {"LongTextsAreCutTo255Bytes",
     Opening::Command,
     Values(1, kDomain, "", 1),
     {Type(IDC_BOSS_ADDRESS, kLongAddress + " <x>"), Type(IDC_DOMAIN, std::string(300, 'd')), Press(IDOK)},
     IDOK,
     {},
     Values(1, std::string(255, 'd'), kLongAddress, 1)},
    // A cut that would split a double-byte character leaves it out whole: a lone lead byte would be
    // stored as another character, making the value too long to load.
    {"CutKeepsDoubleByteCharactersWhole",
     Opening::Command,
     Values(1, kDomain, kBoss, 1),
     {Type(IDC_DOMAIN, Repeat(Ansi(L"あ"), 128)), Press(IDOK)},
     IDOK,
     {},
     Values(1, Repeat(Ansi(L"あ"), 127), kBoss, 1)},
    // Cancel at the very first opening saves nothing, but the defaults the opening created stay.
    {"CancelAtFirstOpeningKeepsTheDefaults",
     Opening::Command,
     kNoValues,
     {Click(IDC_ENABLE), Type(IDC_BOSS_ADDRESS, kBoss), Press(IDCANCEL)},
     IDCANCEL,
     {},
     Values(0, kDomain, "", 1)},
    // The close box cancels.
    {"CloseBoxCancels",
     Opening::Command,
     Values(0, kDomain, kBoss, 1),
     {Click(IDC_ENABLE), Close()},
     IDCANCEL,
     {},
     Values(0, kDomain, kBoss, 1)},
    // Without the host's key the dialog opens empty; OK cannot save and says so, the dialog stays
    // open with the input, and nothing is created.
    {"WithoutTheKeyOpensEmptyAndSaysItCannotSave",
     Opening::Command,
     kNoKey,
     {Click(IDC_ENABLE), Type(IDC_DOMAIN, kDomain), Type(IDC_BOSS_ADDRESS, kBoss), Press(IDOK), Record(),
      Press(IDCANCEL)},
     IDCANCEL,
     {kNotSaved},
     kNoKey,
     {{false, Choice::None, Details::Enabled, "", ""}, {true, Choice::None, Details::Enabled, kDomain, kBoss}}},
    // The host's set-up entry answers 1 after OK...
    {"SetupEntryAfterOk",
     Opening::SetupEntry,
     Values(0, kDomain, kBoss, 1),
     {Click(IDC_ENABLE), Press(IDOK)},
     1,
     {},
     Values(1, kDomain, kBoss, 1)},
    // ...and after Cancel.
    {"SetupEntryAfterCancel",
     Opening::SetupEntry,
     Values(0, kDomain, kBoss, 1),
     {Click(IDC_ENABLE), Press(IDCANCEL)},
     1,
     {},
     Values(0, kDomain, kBoss, 1)},
    // A conversion that fails while loading (deriving the missing domain) leaves the template's
    // controls, although the switch had been read as on.
    {"ErrorWhileOpeningLeavesTheTemplate",
     Opening::Command,
     {true, 1, std::nullopt, kBoss, 1},
     {Press(IDCANCEL)},
     IDCANCEL,
     {},
     {true, 1, std::nullopt, kBoss, 1},
     {{false, Choice::None, Details::Enabled, "", ""}},
     true},
    // A conversion that fails while checking counts as invalid input, with no message.
    {"ErrorWhileConfirmingKeepsTheDialogOpen",
     Opening::Command,
     Values(1, kDomain, kBoss, 1),
     {Type(IDC_BOSS_ADDRESS, "other@example.com"), Press(IDOK), Record(), Press(IDCANCEL)},
     IDCANCEL,
     {},
     Values(1, kDomain, kBoss, 1),
     {{true, Choice::WarnFirst, Details::Enabled, kDomain, kBoss},
      {true, Choice::WarnFirst, Details::Enabled, kDomain, "other@example.com"}},
     true},
};

class SettingsDialogTest : public HostedPluginTest, public ::testing::WithParamInterface<DialogCase>
{
protected:
    void SetUp() override
    {
        HostedPluginTest::SetUp();
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        dataFolder_ = std::string(temp) + "quillmere-dialog-" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(dataFolder_.c_str(), nullptr);
        CreateDirectoryA((dataFolder_ + "Box\\").c_str(), nullptr);
        std::ofstream(dataFolder_ + "Box\\MailBox.ini") << "[Account]\r\nMailAddress=user@example.com\r\n";
        fakeHost().dataFolder = dataFolder_;
        fakeHost().mailBox = "Box\\";
        ASSERT_TRUE(owner_) << "cannot create the host's window";
    }

    void TearDown() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\RimArts");
        DeleteFileA((dataFolder_ + "Box\\MailBox.ini").c_str());
        RemoveDirectoryA((dataFolder_ + "Box\\").c_str());
        RemoveDirectoryA(dataFolder_.c_str());
    }

    int Open(Opening opening)
    {
        if (opening == Opening::SetupEntry)
            return plugin().BKC_OnPlugInSetup(owner_.get());
        plugin().BKC_OnMenuInit(owner_.get(), nullptr, 0);
        return fakeHost().commands.at(0).callback(owner_.get(), 0);
    }

    HWND owner() const { return owner_.get(); }

private:
    std::string dataFolder_;
    UniqueWindow owner_{CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, nullptr, nullptr,
                                        GetModuleHandleA(nullptr), nullptr)};
};

TEST_P(SettingsDialogTest, DrivenByTheUser)
{
    const DialogCase& row = GetParam();
    WriteStored(row.before);
    std::optional<InjectedFault> fault;
    if (row.conversionFails) {
        fault.emplace(plugin().module(), "conversion");
        ASSERT_TRUE(fault->applied());
    }

    DialogDriver driver(row.script);
    int answer = Open(row.opening);
    fault.reset();

    ASSERT_NE(driver.dialog(), nullptr) << "the dialog did not open";
    EXPECT_EQ(driver.owner(), owner());
    EXPECT_FALSE(driver.leftOpen()) << "the script ended with the dialog still open";
    EXPECT_EQ(answer, row.answer);

    std::vector<std::string> texts;
    for (const MessageBoxRecord& box : driver.boxes()) {
        texts.push_back(box.text);
        EXPECT_EQ(box.caption, Ansi(L"ブレンロウプラグイン"));
        EXPECT_EQ(box.style, static_cast<UINT>(MB_OK));
        EXPECT_EQ(box.owner, driver.dialog());
    }
    std::vector<std::string> expected;
    for (const std::wstring& message : row.messages)
        expected.push_back(Ansi(message));
    EXPECT_EQ(texts, expected);

    if (!row.looks.empty()) {
        std::vector<Look> looks;
        for (const DialogState& state : driver.states())
            looks.push_back(Seen(state));
        EXPECT_EQ(looks, row.looks);
    }
    EXPECT_EQ(ReadStored(), row.after);
}

INSTANTIATE_TEST_SUITE_P(Cases, SettingsDialogTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<DialogCase>& info) { return info.param.name; });

// The procedure's answers to the dialog manager, message by message. It runs on a modeless copy of
// the dialog in this process, with no settings key, so that nothing is loaded or saved; the box
// that says so is answered.
TEST(SettingsDialogProcedure, AnswersAsItsMessageTableSays)
{
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\RimArts");
    MessageBoxAnswerer answerer(IDOK);
    struct Row
    {
        UINT message;
        WPARAM wParam;
        INT_PTR answer;
    };
    const Row rows[] = {
        {WM_INITDIALOG, 0, FALSE},                                // the focus is left to the dialog manager
        {WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), TRUE},         // confirmed: switched off, it saves
        {WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), FALSE},    // cancelled
        {WM_COMMAND, MAKEWPARAM(IDC_ENABLE, BN_CLICKED), FALSE},  // the enabling rule
        {WM_COMMAND, MAKEWPARAM(IDC_ENABLE, BN_SETFOCUS), FALSE}, // any notification runs it
        {WM_COMMAND, MAKEWPARAM(IDC_DOMAIN, EN_CHANGE), FALSE},   // any other control: nothing
        {WM_COMMAND, MAKEWPARAM(IDC_AUTO_CC, BN_CLICKED), FALSE}, // the radio buttons work by themselves
        {WM_CLOSE, 0, TRUE},                                      // the close box cancels
        {WM_DESTROY, 0, TRUE},                                    // so does destruction
        {WM_TIMER, 1, FALSE},                                     // anything else: not handled
    };
    for (const Row& row : rows) {
        UniqueWindow dialog(CreateDialogParamA(HostedPlugin().module(), MAKEINTRESOURCEA(IDD_SETTINGS), nullptr,
                                               SettingsDialogProc, 0));
        ASSERT_TRUE(dialog);
        EXPECT_EQ(SettingsDialogProc(dialog.get(), row.message, row.wParam, 0), row.answer)
            << "message 0x" << std::hex << row.message << ", wParam 0x" << row.wParam;
    }
}

TEST(SettingsDialogProcedure, ReadingRefusesANullRecord)
{
    EXPECT_EQ(ReadSettingsFromDialog(nullptr, nullptr), E_INVALIDARG);
}

} // namespace
