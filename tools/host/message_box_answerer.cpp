#include "message_box_answerer.h"

namespace {

// The answerer of this thread; the hook procedure has no other way to find it.
MessageBoxAnswerer* current;

// The message box keeps its text in the static control with this id.
constexpr int kTextId = 0xFFFF;

bool IsShown(HWND window)
{
    return (GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

UINT ButtonsStyle(const std::vector<int>& ids)
{
    struct Layout
    {
        UINT style;
        std::vector<int> ids;
    };
    static const Layout layouts[] = {
        {MB_OK, {IDOK}},
        {MB_OKCANCEL, {IDOK, IDCANCEL}},
        {MB_ABORTRETRYIGNORE, {IDABORT, IDRETRY, IDIGNORE}},
        {MB_YESNOCANCEL, {IDYES, IDNO, IDCANCEL}},
        {MB_YESNO, {IDYES, IDNO}},
        {MB_RETRYCANCEL, {IDRETRY, IDCANCEL}},
        {MB_CANCELTRYCONTINUE, {IDCANCEL, IDTRYAGAIN, IDCONTINUE}},
    };
    for (const Layout& layout : layouts)
        if (layout.ids == ids)
            return layout.style;
    return 0xF; // no layout a message box can have
}

UINT IconStyle(HICON icon)
{
    if (!icon)
        return 0;
    const std::pair<LPCSTR, UINT> icons[] = {{IDI_HAND, MB_ICONHAND},
                                             {IDI_QUESTION, MB_ICONQUESTION},
                                             {IDI_EXCLAMATION, MB_ICONEXCLAMATION},
                                             {IDI_ASTERISK, MB_ICONASTERISK}};
    for (const auto& [name, style] : icons)
        if (LoadIconA(nullptr, name) == icon)
            return style;
    return MB_USERICON;
}

} // namespace

std::string WindowText(HWND window)
{
    int length = GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, text.data(), length + 1)));
    return text;
}

bool IsDialogWindow(HWND window)
{
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    return lstrcmpA(className, "#32770") == 0;
}

MessageBoxAnswerer::MessageBoxAnswerer(int answer)
    : answer_(answer), hook_(SetWindowsHookExA(WH_CBT, OnCbt, nullptr, GetCurrentThreadId())), previous_(current)
{
    current = this;
}

MessageBoxAnswerer::~MessageBoxAnswerer()
{
    current = previous_;
}

bool MessageBoxAnswerer::IsMessageBox(HWND window)
{
    return IsDialogWindow(window) && GetDlgItem(window, kTextId) != nullptr;
}

MessageBoxRecord MessageBoxAnswerer::Read(HWND box)
{
    MessageBoxRecord record;
    record.caption = WindowText(box);
    record.text = WindowText(GetDlgItem(box, kTextId));
    record.owner = GetWindow(box, GW_OWNER);

    std::vector<int> buttons;
    int defaultIndex = 0;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char className[16] = {};
        GetClassNameA(child, className, sizeof className);
        LONG style = GetWindowLongA(child, GWL_STYLE);
        if (!IsShown(child))
            continue;
        if (lstrcmpiA(className, "Button") == 0) {
            if ((style & 0xF) == BS_DEFPUSHBUTTON)
                defaultIndex = static_cast<int>(buttons.size());
            buttons.push_back(GetDlgCtrlID(child));
        } else if (lstrcmpiA(className, "Static") == 0 && (style & SS_TYPEMASK) == SS_ICON) {
            record.style |= IconStyle(reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0)));
        }
    }
    record.style |= ButtonsStyle(buttons) | static_cast<UINT>(defaultIndex) << 8;
    return record;
}

LRESULT CALLBACK MessageBoxAnswerer::OnCbt(int code, WPARAM wParam, LPARAM lParam)
{
    HWND window = reinterpret_cast<HWND>(wParam);
    // A box may be activated again before it has taken the answer.
    if (code == HCBT_ACTIVATE && current && window != current->lastBox_ && IsMessageBox(window)) {
        current->lastBox_ = window;
        current->boxes_.push_back(Read(window));
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(current->answer_, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(window, current->answer_)));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
