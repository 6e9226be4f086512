// quillmere-bench: the cost of one address extraction, by engine and input. Each row is one named
// case; the figure is the median of many timed runs. Run it under wine64 with the ANSI code page
// 932 (scripts/wine-run), as the tests run.

#include "address/address_list.h"
#include "address/address_scanner.h"
#include "address/regexp_component.h"
#include "fake_host.h"
#include "plugin_module.h"
#include "reference_check.h"
#include "shell/ansi_text.h"
#include "settings/settings_store.h"
#include "shell/host_api.h"
#include "shell/unique_handle.h"
#include "support/com_ptr.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

struct Input
{
    std::string name;
    std::string narrow; // as the host hands it over
    std::wstring text;  // widened, as an extraction reads it
};

struct Case
{
    std::string engine;
    const Input* input;
    std::function<void()> run;
    const char* notRun = nullptr; // why the case is listed but not timed
};

struct Figure
{
    double seconds; // per run, the median
    int runs;
};

volatile size_t sink; // keeps the optimiser from dropping the work measured

double Now()
{
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / frequency;
}

// The median run time of many runs: samples of batches long enough for the counter, 31 samples,
// or 5 for a case whose single run takes longer than a tenth of a second. A case whose single run
// takes longer than `patience` seconds is reported from that one run.
Figure Measure(const std::function<void()>& run, double patience)
{
    double start = Now();
    run();
    double once = Now() - start;
    if (once > patience)
        return {once, 1};
    int batch = std::max(1, static_cast<int>(2e-3 / std::max(once, 1e-9)));
    std::vector<double> samples(once > 0.1 ? 5 : 31);
    for (double& sample : samples) {
        start = Now();
        for (int i = 0; i < batch; ++i)
            run();
        sample = (Now() - start) / batch;
    }
    std::nth_element(samples.begin(), samples.begin() + samples.size() / 2, samples.end());
    return {samples[samples.size() / 2], 1 + static_cast<int>(samples.size()) * batch};
}

Input FromNarrow(std::string name, const std::string& narrow)
{
    return {std::move(name), narrow, Widen(narrow.c_str())};
}

// A To header as the host hands it over, 1023 bytes: 20 addresses with Japanese display names.
Input TypicalHeader()
{
    static const char* const names[] = {"営業部 山田 太郎", "総務部 佐藤 花子", "開発部 鈴木 一郎", "経理部 高橋 美咲",
                                        "企画部 田中 健太"};
    static const char* const domains[] = {"example.co.jp", "sales.example.com", "mail.example.ne.jp"};
    std::string header;
    for (int i = 0; i < 20; ++i) {
        char address[64];
        std::snprintf(address, sizeof address, "user%02d.name@%s", i, domains[i % 3]);
        header += (i ? ", \"" : "\"") + std::string(names[i % 5]) + "\" <" + address + ">";
    }
    header.resize(1023, ' ');
    return FromNarrow("To header, 20 addresses", header);
}

// Japanese prose without an at sign, 1023 bytes.
Input JapaneseText()
{
    std::string text;
    while (text.size() < 1023)
        text += "いつもお世話になっております。営業部の山田です。来週の打ち合わせの件でご連絡しました。";
    text.resize(1022);
    text += ' ';
    return FromNarrow("Japanese text, no address", text);
}

std::string Repeat(const std::string& unit, size_t bytes)
{
    std::string text;
    while (text.size() < bytes)
        text += unit;
    text.resize(bytes);
    return text;
}

std::string SizeName(size_t bytes)
{
    return bytes >= 1 << 20 ? std::to_string(bytes >> 20) + " MiB" : std::to_string(bytes >> 10) + " KiB";
}

// Texts built to make a matcher do the most work per character.
std::vector<Input> AdversarialTexts()
{
    std::vector<Input> inputs;
    for (size_t bytes : {size_t{1} << 10, size_t{64} << 10, size_t{1} << 20}) {
        // One run of local characters that never reaches an at sign.
        inputs.push_back(FromNarrow("local run, no @, " + SizeName(bytes), Repeat("ab.c-d_e9", bytes)));
        // One at sign and then one chain of labels to the end.
        inputs.push_back(
            FromNarrow("dotted chain after @, " + SizeName(bytes), "user@" + Repeat("ab.", bytes - 6) + "z"));
        // At signs everywhere, with domains one label short.
        inputs.push_back(FromNarrow("many @, " + SizeName(bytes), Repeat("a@b.@", bytes)));
    }
    return inputs;
}

void Scanner(const std::wstring& text)
{
    size_t found = 0;
    for (auto span = FindAddress(text, 0); span; span = FindAddress(text, span->offset + span->length))
        ++found;
    sink = found;
}

// The whole of the plug-in's work: widening, finding and a copy of every address.
void List(const std::string& narrow)
{
    AddressList list(narrow.c_str());
    LONG count = 0;
    list.GetCount(&count);
    sink = static_cast<size_t>(count);
}

void Component(const std::wstring& text)
{
    static const std::wstring pattern = Widen(AddressPattern);
    std::vector<RegExpMatch> matches;
    if (FAILED(ExecuteRegExp(pattern, text, matches)))
        std::fprintf(stderr, "the component failed\n");
    sink = matches.size();
}

void Floor(const std::wstring& text)
{
    size_t atSigns = 0;
    for (wchar_t c : text)
        atSigns += c == L'@';
    sink = atSigns;
}

// Recipients inside the company with Japanese display names, about 1 KiB but within the 1024 bytes
// that the component-based check fetched, so that both checks see the same fields whole.
std::string InsideRecipients(const char* name, const char* mailbox, const char* last)
{
    std::string list;
    for (int i = 0; i < 19; ++i) {
        char recipient[96];
        std::snprintf(recipient, sizeof recipient, "\"%s %02d\" <%s%02d@example.co.jp>", name, i, mailbox, i);
        list += (i ? ", " : "") + std::string(recipient);
    }
    return list + ", " + last;
}

bool StoreCheckSettings()
{
    UniqueHkey key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\RimArts\\B2\\Settings", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        key.put(), nullptr) != ERROR_SUCCESS)
        return false;
    auto number = [&](const char* name, DWORD value) {
        return RegSetValueExA(key.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value) ==
               ERROR_SUCCESS;
    };
    auto text = [&](const char* name, const std::string& value) {
        return RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.data()),
                              static_cast<DWORD>(value.size())) == ERROR_SUCCESS;
    };
    return number("BrenlowOnOff", 1) && text("BrenlowCompanyDomain", "example.co.jp") &&
           text("BrenlowAddress", "boss@example.co.jp") && number("BrenlowShowAlert", 0);
}

// One whole check of a typical message through the plug-in's own callback, against the same
// decision made with six components. The one outside recipient stands last in Bcc, so that every
// recipient test runs; the boss is absent and added to Cc without a box.
int CompareWholeChecks()
{
    if (!StoreCheckSettings()) {
        std::fprintf(stderr, "cannot store the settings in the host's key\n");
        return 1;
    }
    PluginModule plugin(DefaultPluginPath());
    if (!plugin.loaded() || !BindHostApi()) {
        std::fprintf(stderr, "cannot load %s into this host\n", DefaultPluginPath().c_str());
        return 1;
    }

    FakeHost& host = fakeHost();
    const std::string cc = InsideRecipients("佐藤 花子", "h.sato", "\"総務部長\" <somu@example.co.jp>");
    host.SetHeader("Content-Type", "multipart/mixed; boundary=\"----=_NextPart_000_0012_01DA2B3C.4D5E6F70\"");
    host.SetHeader("To", InsideRecipients("山田 太郎", "t.yamada", "\"営業部長\" <eigyo@example.co.jp>"));
    host.SetHeader("Cc", cc);
    host.SetHeader("Bcc",
                   InsideRecipients("鈴木 一郎", "i.suzuki", "\"取引先 高橋様\" <takahashi@client.example.com>"));
    for (const char* name : {"To", "Cc", "Bcc"})
        if (host.FindHeader(name)->size() >= 1024) {
            std::fprintf(stderr, "the %s field does not fit 1024 bytes\n", name);
            return 1;
        }

    std::string written[2];
    auto checkWith = [&](int index, auto check) {
        return [&, index, check] {
            host.SetHeader("Cc", cc);
            host.headerReads.clear();
            host.headerWrites.clear();
            sink = static_cast<size_t>(check());
            written[index] = host.headerWrites.empty() ? "" : host.headerWrites.back().second;
        };
    };
    Figure ours = Measure(checkWith(0, [&] { return plugin.BKC_OnOutgoing(nullptr, 0); }), 2.0);
    Figure reference = Measure(checkWith(1, [] { return ReferenceCheckOutgoingMail(0, nullptr); }), 2.0);
    PluginSettings settings;
    Figure load = Measure([&] { sink = static_cast<size_t>(LoadSettings(&settings)); }, 2.0);

    std::printf("\nwhole check of a typical message: To, Cc and Bcc of %zu, %zu and %zu bytes, 20 addresses each,\n"
                "the one outside recipient last in Bcc, the boss absent and added to Cc without a box\n",
                host.FindHeader("To")->size(), cc.size(), host.FindHeader("Bcc")->size());
    std::printf("%-40s %8s %14s\n", "check", "runs", "us/check");
    std::printf("%-40s %8d %14.3f\n", "plug-in (BKC_OnOutgoing)", ours.runs, ours.seconds * 1e6);
    std::printf("%-40s %8d %14.3f\n", "component, six extractions", reference.runs, reference.seconds * 1e6);
    std::printf("%-40s %8d %14.3f\n", "settings load alone (part of both)", load.runs, load.seconds * 1e6);
    std::printf("ratio: %.1fx; without the settings load, which costs both the same: %.1fx\n",
                reference.seconds / ours.seconds, (reference.seconds - load.seconds) / (ours.seconds - load.seconds));
    if (written[0] != written[1] || written[0] != cc + ", boss@example.co.jp") {
        std::fprintf(stderr, "the two checks wrote different Cc fields\n");
        return 1;
    }
    return 0;
}

} // namespace

// With an argument, runs only the cases whose engine or input name contains it, and the whole
// check only when "check" is that argument or part of it.
int main(int argc, char** argv)
{
    ComApartment apartment;
    if (FAILED(apartment.result())) {
        std::fprintf(stderr, "cannot initialise COM\n");
        return 1;
    }
    std::vector<Input> inputs = {TypicalHeader(), JapaneseText()};
    for (Input& input : AdversarialTexts())
        inputs.push_back(std::move(input));

    // Per input, the floor comes first: the other rows are given as multiples of it.
    std::vector<Case> cases;
    for (const Input& input : inputs) {
        const std::wstring& text = input.text;
        cases.push_back({"floor", &input, [&text] { Floor(text); }});
        cases.push_back({"scanner", &input, [&text] { Scanner(text); }});
        cases.push_back({"list", &input, [&input] { List(input.narrow); }});
        // The component backtracks over a run of local characters from each of its positions: a
        // 64 KiB run takes it about a minute, a 1 MiB run hours.
        bool quadratic = input.name.rfind("local run", 0) == 0 && input.narrow.size() > 1024;
        cases.push_back(
            {"component", &input, [&text] { Component(text); }, quadratic ? "quadratic, not run" : nullptr});
    }

    std::printf("code page %u; cost per extraction, the median of many runs\n"
                "floor: one pass that counts at signs; scanner: finding alone; list: AddressList over the narrow\n"
                "text, widening and a copy of each address included; component: created, run and released\n\n",
                GetACP());
    std::printf("%-10s %-30s %8s %8s %14s %9s %9s\n", "engine", "input", "bytes", "runs", "us/extraction", "ns/byte",
                "x floor");
    std::map<const Input*, double> floors;
    for (const Case& c : cases) {
        if (argc > 1 && (c.engine + " " + c.input->name).find(argv[1]) == std::string::npos)
            continue;
        size_t bytes = c.input->narrow.size();
        std::printf("%-10s %-30s %8zu ", c.engine.c_str(), c.input->name.c_str(), bytes);
        if (c.notRun) {
            std::printf("%s\n", c.notRun);
            continue;
        }
        Figure figure = Measure(c.run, 2.0);
        if (c.engine == "floor")
            floors[c.input] = figure.seconds;
        std::printf("%8d %14.3f %9.3f", figure.runs, figure.seconds * 1e6,
                    figure.seconds * 1e9 / static_cast<double>(bytes));
        if (floors.count(c.input))
            std::printf(" %9.1f", figure.seconds / floors[c.input]);
        std::printf("\n");
        std::fflush(stdout);
    }
    if (argc > 1 && std::string("check").find(argv[1]) == std::string::npos)
        return 0;
    return CompareWholeChecks();
}
