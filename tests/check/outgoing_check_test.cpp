// The outgoing check end to end: the real DLL called by a host process, its settings in the real
// registry, its warning shown as a real message box and answered by a hook.

#include "support/hosted_plugin.h"
#include "support/settings_key.h"

#include "fault_injection.h"
#include "message_box_answerer.h"

#include <optional>
#include <vector>

namespace {

constexpr char kMixed[] = "multipart/mixed; boundary=\"----=_b1\"";
constexpr char kOutside[] = "Customer <customer@client.example.com>";
constexpr char kBoss[] = "boss@example.co.jp";

// One message as the compose window holds it, and how it is queued.
struct Scenario
{
    Stored settings = Values(1, "example.co.jp", kBoss, 1);
    std::string contentType = kMixed;
    std::string to = kOutside;
    std::string cc;
    std::string bcc;
    int mode = 0;
    int answer = IDOK;
};

struct Outcome
{
    int verdict = 0;
    std::vector<MessageBoxRecord> boxes;
    std::vector<FakeHost::Field> writes;
    std::vector<std::string> reads;
};

class OutgoingCheckTest : public HostedPluginTest
{
protected:
    Outcome Send(const Scenario& scenario)
    {
        WriteStored(scenario.settings);
        FakeHost& host = fakeHost();
        host.SetHeader("Content-Type", scenario.contentType);
        host.SetHeader("To", scenario.to);
        host.SetHeader("Cc", scenario.cc);
        host.SetHeader("Bcc", scenario.bcc);
        MessageBoxAnswerer answerer(scenario.answer);
        Outcome outcome;
        outcome.verdict = plugin().BKC_OnOutgoing(compose.get(), scenario.mode);
        outcome.boxes = answerer.boxes();
        outcome.writes = host.headerWrites;
        outcome.reads = host.headerReads;
        return outcome;
    }

    SettingsKeyRemover remover;
    UniqueWindow compose{CreateWindowExA(0, "STATIC", "compose", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                                         nullptr, nullptr)};
};

TEST_F(OutgoingCheckTest, WarningIsTheSpecifiedBoxOwnedByTheComposeWindow)
{
    Outcome outcome = Send(Scenario());
    EXPECT_EQ(outcome.verdict, 1);
    ASSERT_EQ(outcome.boxes.size(), 1u);
    const MessageBoxRecord& box = outcome.boxes[0];
    EXPECT_EQ(box.caption, Ansi(L"ブレンロウプラグイン"));
    EXPECT_EQ(box.text, Ansi(L"上司を宛先に加えずに添付ファイルを社外へ送信しようとしています。\r\n"
                             L"上司をCCに追加して送信しますか？"));
    EXPECT_EQ(box.style, static_cast<UINT>(MB_OKCANCEL)); // OK and Cancel, no icon, OK the default
    EXPECT_EQ(box.owner, compose.get());
    ASSERT_EQ(outcome.writes.size(), 1u);
    EXPECT_EQ(outcome.writes[0], FakeHost::Field("Cc", kBoss));
}

TEST_F(OutgoingCheckTest, AllFourFieldsAreFetchedInOrderBeforeAnyIsLookedAt)
{
    Scenario plain;
    plain.contentType = "text/plain";
    Outcome outcome = Send(plain);
    EXPECT_EQ(outcome.verdict, 1);
    EXPECT_EQ(outcome.reads, (std::vector<std::string>{"Content-Type", "To", "Cc", "Bcc"}));
    EXPECT_TRUE(outcome.writes.empty());
}

struct Case
{
    const char* what;
    void (*arrange)(Scenario&);
    int verdict;
    bool warned;
    std::optional<std::string> cc; // the Cc written; none when nothing is written
};

void PrintTo(const Case& c, std::ostream* out)
{
    *out << c.what;
}

class OutgoingCheckCases : public OutgoingCheckTest, public ::testing::WithParamInterface<Case>
{
};

TEST_P(OutgoingCheckCases, DecidesWarnsAndRewritesCc)
{
    Scenario scenario;
    GetParam().arrange(scenario);
    Outcome outcome = Send(scenario);

    EXPECT_EQ(outcome.verdict, GetParam().verdict);
    EXPECT_EQ(outcome.boxes.size(), GetParam().warned ? 1u : 0u);
    if (GetParam().cc) {
        ASSERT_EQ(outcome.writes.size(), 1u);
        EXPECT_EQ(outcome.writes[0], FakeHost::Field("Cc", *GetParam().cc));
    } else {
        EXPECT_TRUE(outcome.writes.empty()) << "wrote " << outcome.writes[0].first << ": " << outcome.writes[0].second;
    }
}

const std::string kBossAlone = kBoss;
const std::nullopt_t kNoWrite = std::nullopt;

// clang-format off
INSTANTIATE_TEST_SUITE_P(Table, OutgoingCheckCases, ::testing::Values(
    // modes 1 and 2 let everything go untouched; every other mode runs the check
    Case{"Mode1", [](Scenario& s) { s.mode = 1; }, 1, false, kNoWrite},
    Case{"Mode2", [](Scenario& s) { s.mode = 2; }, 1, false, kNoWrite},
    Case{"Mode0", [](Scenario&) {}, 1, true, kBossAlone},
    Case{"Mode3", [](Scenario& s) { s.mode = 3; }, 1, true, kBossAlone},
    Case{"ModeMinus1", [](Scenario& s) { s.mode = -1; }, 1, true, kBossAlone},
    // switched off, or on by any value but 0
    Case{"Disabled", [](Scenario& s) { s.settings.enabled = 0; }, 1, false, kNoWrite},
    Case{"EnabledTwoCountsAsOn", [](Scenario& s) { s.settings.enabled = 2; }, 1, true, kBossAlone},
    // only exactly 1 warns; 0, 2 and others add the boss silently
    Case{"SilentWithShowAlert0", [](Scenario& s) { s.settings.showAlert = 0; }, 1, false, kBossAlone},
    Case{"SilentWithShowAlert2", [](Scenario& s) { s.settings.showAlert = 2; }, 1, false, kBossAlone},
    // attachments: multipart/mixed anywhere, any letter case
    Case{"MixedInOtherCase", [](Scenario& s) { s.contentType = "Multipart/Mixed; boundary=x"; }, 1, true, kBossAlone},
    Case{"MixedInCapitals", [](Scenario& s) { s.contentType = "MULTIPART/MIXED; boundary=x"; }, 1, true, kBossAlone},
    Case{"Alternative", [](Scenario& s) { s.contentType = "multipart/alternative; boundary=x"; }, 1, false, kNoWrite},
    Case{"Related", [](Scenario& s) { s.contentType = "multipart/related; boundary=x"; }, 1, false, kNoWrite},
    Case{"PlainText", [](Scenario& s) { s.contentType = "text/plain; charset=ISO-2022-JP"; }, 1, false, kNoWrite},
    Case{"NoContentType", [](Scenario& s) { s.contentType = ""; }, 1, false, kNoWrite},
    // the boss anywhere among the recipients, in any letter case
    Case{"BossInTo", [](Scenario& s) { s.to += ", boss@example.co.jp"; }, 1, false, kNoWrite},
    Case{"BossInCc", [](Scenario& s) { s.cc = "Boss <boss@example.co.jp>"; }, 1, false, kNoWrite},
    Case{"BossOnlyInBcc", [](Scenario& s) { s.bcc = "boss@example.co.jp"; }, 1, false, kNoWrite},
    Case{"BossInOtherCase", [](Scenario& s) { s.to += ", BOSS@Example.CO.JP"; }, 1, false, kNoWrite},
    Case{"BossNearMiss", [](Scenario& s) { s.to += ", bigboss@example.co.jp"; }, 1, true, "boss@example.co.jp"},
    // where the outside recipient is
    Case{"AllInside", [](Scenario& s) { s.to = "a@example.co.jp"; s.cc = "b@sales.example.co.jp"; }, 1, false, kNoWrite},
    Case{"OutsideOnlyInBccGoesToCc", [](Scenario& s) { s.to = "a@example.co.jp"; s.cc = "b@example.co.jp"; s.bcc = "x@client.example.com"; },
         1, true, "b@example.co.jp, boss@example.co.jp"},
    Case{"NoRecipients", [](Scenario& s) { s.to = ""; }, 1, false, kNoWrite},
    // the new Cc: the old text untouched, ", ", the boss
    Case{"CcWithTwoAddresses", [](Scenario& s) { s.cc = "a@example.co.jp, b@example.co.jp"; }, 1, true,
         "a@example.co.jp, b@example.co.jp, boss@example.co.jp"},
    Case{"CcEndingInComma", [](Scenario& s) { s.cc = "a@example.co.jp,"; }, 1, true, "a@example.co.jp,, boss@example.co.jp"},
    Case{"CcOfBlanks", [](Scenario& s) { s.cc = "   "; }, 1, true, "   , boss@example.co.jp"},
    Case{"CcWithJapaneseName", [](Scenario& s) { s.cc = "営業部 <sales@example.co.jp>"; }, 1, true,
         "営業部 <sales@example.co.jp>, boss@example.co.jp"},
    // Cancel stops the message and writes nothing
    Case{"Cancel", [](Scenario& s) { s.answer = IDCANCEL; }, -1, true, kNoWrite},
    // stored bosses the dialog would refuse: never found, appended as they stand
    Case{"BossStoredWithName", [](Scenario& s) {
             s.settings.bossAddress = "上司 <boss@example.co.jp>"; s.to += ", boss@example.co.jp"; },
         1, true, "上司 <boss@example.co.jp>"},
    Case{"EmptyBossAndEmptyCc", [](Scenario& s) { s.settings.bossAddress = ""; }, 1, true, ""},
    Case{"EmptyBoss", [](Scenario& s) { s.settings.bossAddress = ""; s.cc = "a@example.co.jp"; }, 1, true,
         "a@example.co.jp, "},
    // an empty company domain contains no address: everyone is outside
    Case{"EmptyDomain", [](Scenario& s) { s.settings.companyDomain = ""; s.to = "a@example.co.jp"; },
         1, true, kBossAlone}),
    [](const auto& info) { return std::string(info.param.what); });
// clang-format on

TEST_F(OutgoingCheckTest, WithoutTheHostsKeyTheMessageGoesUnchecked)
{
    Scenario scenario;
    scenario.settings = kNoKey;
    Outcome outcome = Send(scenario);
    EXPECT_EQ(outcome.verdict, 1);
    EXPECT_TRUE(outcome.boxes.empty());
    EXPECT_TRUE(outcome.writes.empty());
    EXPECT_EQ(ReadStored(), kNoKey);
}

TEST_F(OutgoingCheckTest, FirstCheckCreatesTheDefaultsAndLetsTheMessageGo)
{
    Scenario scenario;
    scenario.settings = kNoValues;
    Outcome outcome = Send(scenario);
    EXPECT_EQ(outcome.verdict, 1);
    EXPECT_TRUE(outcome.writes.empty());
    Stored created = ReadStored();
    EXPECT_EQ(created.enabled, 0u);
    EXPECT_EQ(created.showAlert, 1u);
}

// Recipients far beyond the first kilobyte of a field.
std::string ManyInsideAddresses(size_t bytes)
{
    std::string list;
    for (int i = 0; list.size() < bytes; ++i)
        list += (list.empty() ? "" : ", ") + std::string("Colleague ") + std::to_string(i) + " <colleague" +
                std::to_string(i) + "@example.co.jp>";
    return list;
}

TEST_F(OutgoingCheckTest, OutsideRecipientAtTheEndOfALongToIsFound)
{
    Scenario scenario;
    scenario.to = ManyInsideAddresses(3000) + ", customer@client.example.com";
    ASSERT_GT(scenario.to.size(), 3000u);
    Outcome outcome = Send(scenario);
    EXPECT_EQ(outcome.boxes.size(), 1u);
    ASSERT_EQ(outcome.writes.size(), 1u);
    EXPECT_EQ(outcome.writes[0].second, kBoss);
}

TEST_F(OutgoingCheckTest, LongCcIsRebuiltWhole)
{
    Scenario scenario;
    scenario.cc = ManyInsideAddresses(5000);
    Outcome outcome = Send(scenario);
    ASSERT_EQ(outcome.writes.size(), 1u);
    EXPECT_EQ(outcome.writes[0].second, scenario.cc + ", " + kBoss);
}

TEST_F(OutgoingCheckTest, BossAtTheEndOfALongCcIsFound)
{
    Scenario scenario;
    scenario.cc = ManyInsideAddresses(5000) + ", boss@example.co.jp";
    Outcome outcome = Send(scenario);
    EXPECT_TRUE(outcome.boxes.empty());
    EXPECT_TRUE(outcome.writes.empty());
}

TEST_F(OutgoingCheckTest, CcThatFillsTheFirstBufferExactlyIsRebuiltWhole)
{
    for (size_t length : {1022u, 1023u, 1024u, 2047u}) {
        fakeHost().headerWrites.clear();
        Scenario scenario;
        scenario.cc = "a@example.co.jp," + std::string(length - 16, ' ');
        ASSERT_EQ(scenario.cc.size(), length);
        Outcome outcome = Send(scenario);
        ASSERT_EQ(outcome.writes.size(), 1u) << length;
        EXPECT_EQ(outcome.writes[0].second, scenario.cc + ", " + kBoss) << length;
    }
}

TEST_F(OutgoingCheckTest, CcTooLongToFetchWholeIsLeftUntouched)
{
    Scenario scenario;
    scenario.cc = ManyInsideAddresses(3u << 20);
    scenario.answer = IDOK;
    Outcome outcome = Send(scenario);
    EXPECT_EQ(outcome.verdict, 1);
    EXPECT_EQ(outcome.boxes.size(), 1u); // the outside To is still found and the user warned
    EXPECT_TRUE(outcome.writes.empty());
}

// A failure inside the plug-in stops the check before anything is written; the message goes on.
class OutgoingCheckFaults : public OutgoingCheckTest, public ::testing::WithParamInterface<const char*>
{
};

TEST_P(OutgoingCheckFaults, LetTheMessageGoUnchanged)
{
    InjectedFault fault(plugin().module(), GetParam());
    ASSERT_TRUE(fault.applied());
    Outcome outcome = Send(Scenario());
    EXPECT_EQ(outcome.verdict, 1);
    EXPECT_TRUE(outcome.boxes.empty());
    EXPECT_TRUE(outcome.writes.empty());
}

INSTANTIATE_TEST_SUITE_P(Faults, OutgoingCheckFaults, ::testing::Values("conversion", "memory"));

TEST_F(OutgoingCheckTest, BoxThatFailsToShowCountsAsOk)
{
    InjectedFault fault(plugin().module(), "messagebox");
    ASSERT_TRUE(fault.applied());
    Outcome outcome = Send(Scenario());
    EXPECT_EQ(outcome.verdict, 1);
    ASSERT_EQ(outcome.writes.size(), 1u);
    EXPECT_EQ(outcome.writes[0].second, kBoss);
}

} // namespace
