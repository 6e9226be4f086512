// quillmere-host: plays the mail client for the plug-in from the command line. It exports the
// host's functions from this executable, loads the plug-in, calls its callbacks and prints what
// the plug-in did.

#include "fake_host.h"
#include "fault_injection.h"
#include "message_box_answerer.h"
#include "plugin_module.h"
#include "shell/plugin_info.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>

namespace {

constexpr char kUsage[] = R"(usage: quillmere-host [options] command
commands:
  load    load the plug-in and tell whether it bound to this host
  info    print the plug-in information record
  menu    give the plug-in a menu with five sub-menus and print what it added
  send    queue one message, then print the verdict, any message box and the Cc written
  setup   open the settings dialog (with --answer, press that button in it once it is open)
options:
  --plugin PATH        the plug-in DLL (default: Quillmere.dll beside this program)
  --version TEXT       the host version the plug-in is told (default 2.81.04)
  --data-folder DIR    the host's data folder, ending in a backslash (default: the current folder)
  --mailbox NAME       the current mailbox: a folder in the data folder, ending in a backslash
  --answer ok|cancel   press this button in every message box instead of waiting for the user
  --fail FAULT         make a service fail inside the plug-in: conversion, memory (requests of
                       1 KiB or more) or messagebox
send options:
  --eml FILE           take Content-Type, To, Cc and Bcc from the header of this UTF-8 file
  --content-type TEXT, --to TEXT, --cc TEXT, --bcc TEXT   one header field of the message
  --mode N             the mode the host passes (default 0)
)";

std::string Convert(const std::string& text, UINT from, UINT to)
{
    int wideLength = MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), wide.data(), wideLength);
    int length = WideCharToMultiByte(to, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    std::string converted(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(to, 0, wide.data(), wideLength, converted.data(), length, nullptr, nullptr);
    return converted;
}

// The plug-in's texts are in the ANSI code page; the console gets UTF-8.
void Print(const std::string& ansi)
{
    std::fputs(Convert(ansi, CP_ACP, CP_UTF8).c_str(), stdout);
}

// Shows control characters, so that a CR LF in a message is visible as such.
std::string Visible(const std::string& text)
{
    std::string shown;
    for (char c : text) {
        if (c == '\r')
            shown += "\\r";
        else if (c == '\n')
            shown += "\\n";
        else
            shown += c;
    }
    return shown;
}

struct Options
{
    std::string command;
    std::map<std::string, std::string> values;

    std::optional<std::string> Get(const std::string& name) const
    {
        auto found = values.find(name);
        return found == values.end() ? std::nullopt : std::optional<std::string>(found->second);
    }
};

std::optional<Options> ParseOptions(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (argument.rfind("--", 0) == 0) {
            if (i + 1 >= argc)
                return std::nullopt;
            options.values[argument.substr(2)] = argv[++i];
        } else if (options.command.empty()) {
            options.command = argument;
        } else {
            return std::nullopt;
        }
    }
    if (options.command.empty())
        return std::nullopt;
    return options;
}

// The header of an .eml file: fields up to the first empty line, continuation lines unfolded.
std::vector<FakeHost::Field> ReadEmlHeader(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::vector<FakeHost::Field> fields;
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            break;
        if ((line[0] == ' ' || line[0] == '\t') && !fields.empty()) {
            fields.back().second += line;
            continue;
        }
        size_t colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        size_t start = line.find_first_not_of(" \t", colon + 1);
        fields.emplace_back(line.substr(0, colon),
                            Convert(start == std::string::npos ? "" : line.substr(start), CP_UTF8, CP_ACP));
    }
    return fields;
}

void PrintBoxes(const MessageBoxAnswerer* answerer, HWND compose)
{
    if (!answerer)
        return;
    for (const MessageBoxRecord& box : answerer->boxes()) {
        Print("message box: \"" + box.caption + "\"\n");
        Print("  text: " + Visible(box.text) + "\n");
        std::printf("  style: 0x%X, owner: %s\n", box.style,
                    box.owner == compose && compose ? "the compose window"
                    : box.owner                     ? "another window"
                                                    : "none");
    }
}

int Load(PluginModule& plugin)
{
    std::printf("loaded: the plug-in bound to this host (version %s)\n", fakeHost().version.c_str());
    return plugin.loaded() ? 0 : 1;
}

int Info(PluginModule& plugin)
{
    PlugInInfoRecord info = {};
    int result = plugin.BKC_OnPlugInInfo(&info);
    Print(std::string("name: ") + info.name + "\nvendor: " + info.vendor + "\nversion: " + info.version +
          "\ndescription: " + info.description + "\n");
    std::printf("answer: %d\n", result);
    return 0;
}

int Menu(PluginModule& plugin)
{
    HMENU bar = CreateMenu();
    for (int i = 0; i < 5; ++i) {
        HMENU sub = CreatePopupMenu();
        AppendMenuA(sub, MF_STRING, 100 + i, ("item of sub-menu " + std::to_string(i + 1)).c_str());
        AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), ("menu " + std::to_string(i + 1)).c_str());
    }
    int result = plugin.BKC_OnMenuInit(nullptr, bar, 0);
    std::printf("answer: %d\n", result);

    for (size_t i = 0; i < fakeHost().commands.size(); ++i) {
        const FakeHost::Command& command = fakeHost().commands[i];
        Print("command " + std::to_string(kFirstCommandId + i) + ": \"" + command.text + "\" type " +
              std::to_string(command.type) + (command.stateCallback ? ", with a state callback" : "") + "\n");
    }
    std::printf("sub-menu 5:\n");
    HMENU tools = GetSubMenu(bar, 4);
    for (int i = 0; i < GetMenuItemCount(tools); ++i) {
        char text[256] = {};
        GetMenuStringA(tools, i, text, sizeof text, MF_BYPOSITION);
        UINT state = GetMenuState(tools, i, MF_BYPOSITION);
        if (state & MF_SEPARATOR)
            std::printf("  ----\n");
        else
            Print("  " + std::to_string(GetMenuItemID(tools, i)) + " " + text + "\n");
    }
    DestroyMenu(bar);
    return 0;
}

int Send(PluginModule& plugin, const Options& options, const MessageBoxAnswerer* answerer)
{
    FakeHost& host = fakeHost();
    if (auto eml = options.Get("eml"))
        for (const auto& [name, value] : ReadEmlHeader(*eml))
            host.SetHeader(name, value);
    for (const char* name : {"Content-Type", "To", "Cc", "Bcc"}) {
        std::string option = name;
        for (char& c : option)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (auto value = options.Get(option))
            host.SetHeader(name, *value);
    }
    int mode = std::atoi(options.Get("mode").value_or("0").c_str());

    UniqueWindow compose(CreateWindowExA(0, "STATIC", "compose", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                                         GetModuleHandleA(nullptr), nullptr));
    int verdict = plugin.BKC_OnOutgoing(compose.get(), mode);

    std::printf("verdict: %d (%s)\n", verdict, verdict == 1 ? "send" : verdict == -1 ? "cancelled" : "unknown");
    PrintBoxes(answerer, compose.get());
    for (const auto& [name, value] : host.headerWrites)
        Print(name + " written: " + value + "\n");
    if (host.headerWrites.empty())
        std::printf("no header written\n");
    return 0;
}

// The button to press in the settings dialog, and the caption of the dialog it was pressed in.
int dialogButton;
std::optional<std::string> answeredDialog;

BOOL CALLBACK FindSettingsDialog(HWND window, LPARAM found)
{
    if (!IsDialogWindow(window) || !IsWindowVisible(window) || MessageBoxAnswerer::IsMessageBox(window))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// Presses the button once the settings dialog is shown. Runs from a thread timer, which the
// dialog's modal loop dispatches; message boxes are the answerer's.
void CALLBACK AnswerSettingsDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindSettingsDialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog)
        return;
    KillTimer(nullptr, timer);
    answeredDialog = WindowText(dialog);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(dialogButton, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, dialogButton)));
}

int Setup(PluginModule& plugin, const MessageBoxAnswerer* answerer)
{
    if (answerer) {
        dialogButton = answerer->answer();
        SetTimer(nullptr, 0, 100, AnswerSettingsDialog);
    }
    int result = plugin.BKC_OnPlugInSetup(nullptr);
    std::printf("answer: %d\n", result);
    if (answeredDialog)
        Print("dialog: \"" + *answeredDialog + "\"\n");
    PrintBoxes(answerer, nullptr);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    SetConsoleOutputCP(CP_UTF8);
    std::optional<Options> options = ParseOptions(argc, argv);
    if (!options) {
        std::fputs(kUsage, stderr);
        return 2;
    }

    FakeHost& host = fakeHost();
    host.version = options->Get("version").value_or(host.version);
    if (auto folder = options->Get("data-folder")) {
        host.dataFolder = *folder;
    } else {
        char current[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, current);
        host.dataFolder = std::string(current) + "\\";
    }
    host.mailBox = options->Get("mailbox").value_or("");

    PluginModule plugin(options->Get("plugin").value_or(DefaultPluginPath()));
    if (!plugin.loaded()) {
        std::printf("refused: the plug-in did not load (error %lu)\n", plugin.loadError());
        return 1;
    }
    std::unique_ptr<InjectedFault> fault;
    if (auto name = options->Get("fail")) {
        fault = std::make_unique<InjectedFault>(plugin.module(), *name);
        if (!fault->applied()) {
            std::fprintf(stderr, "cannot inject the fault %s\n", name->c_str());
            return 2;
        }
    }

    std::unique_ptr<MessageBoxAnswerer> answerer;
    if (auto answer = options->Get("answer"))
        answerer = std::make_unique<MessageBoxAnswerer>(*answer == "cancel" ? IDCANCEL : IDOK);

    const std::string& command = options->command;
    if (command == "load")
        return Load(plugin);
    if (command == "info")
        return Info(plugin);
    if (command == "menu")
        return Menu(plugin);
    if (command == "send")
        return Send(plugin, *options, answerer.get());
    if (command == "setup")
        return Setup(plugin, answerer.get());
    std::fputs(kUsage, stderr);
    return 2;
}
