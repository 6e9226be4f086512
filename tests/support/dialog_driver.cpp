#include "support/dialog_driver.h"

namespace {

// The driver of this thread; the hook and timer procedures have no other way to find it.
DialogDriver* current;

constexpr UINT_PTR kStepTimer = 0x5157;

LONG ButtonType(HWND button)
{
    return GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK;
}

void SelectRadioButton(HWND dialog, HWND button)
{
    for (HWND other = GetNextDlgGroupItem(dialog, button, FALSE); other && other != button;
         other = GetNextDlgGroupItem(dialog, other, FALSE))
        if (ButtonType(other) == BS_AUTORADIOBUTTON)
            SendMessageA(other, BM_SETCHECK, BST_UNCHECKED, 0);
    SendMessageA(button, BM_SETCHECK, BST_CHECKED, 0);
}

void SendClicked(HWND dialog, int id)
{
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

} // namespace

DialogStep Type(int id, std::string text)
{
    return {DialogStep::Kind::Type, id, std::move(text)};
}
DialogStep Click(int id)
{
    return {DialogStep::Kind::Click, id, {}};
}
DialogStep Press(int id)
{
    return {DialogStep::Kind::Press, id, {}};
}
DialogStep Close()
{
    return {DialogStep::Kind::Close, 0, {}};
}
DialogStep Record()
{
    return {DialogStep::Kind::Record, 0, {}};
}

DialogDriver::DialogDriver(std::vector<DialogStep> script)
    : script_(std::move(script)), hook_(SetWindowsHookExA(WH_CBT, OnCbt, nullptr, GetCurrentThreadId())),
      previous_(current)
{
    current = this;
}

DialogDriver::~DialogDriver()
{
    current = previous_;
}

LRESULT CALLBACK DialogDriver::OnCbt(int code, WPARAM wParam, LPARAM lParam)
{
    HWND window = reinterpret_cast<HWND>(wParam);
    // The dialog is activated again after each message box; only its first activation starts the script.
    if (code == HCBT_ACTIVATE && current && !current->dialog_ && IsDialogWindow(window) &&
        !MessageBoxAnswerer::IsMessageBox(window)) {
        current->dialog_ = window;
        current->owner_ = GetWindow(window, GW_OWNER);
        current->states_.push_back(current->ReadState());
        SetTimer(window, kStepTimer, USER_TIMER_MINIMUM, OnTimer);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A message box shown by a step runs a modal loop of its own, which dispatches this timer too;
// the next step waits until the box is answered.
void CALLBACK DialogDriver::OnTimer(HWND dialog, UINT, UINT_PTR, DWORD)
{
    DialogDriver* driver = current;
    if (!driver || dialog != driver->dialog_ || driver->busy_)
        return;
    driver->busy_ = true;
    if (driver->next_ < driver->script_.size()) {
        driver->Perform(driver->script_[driver->next_++]);
    } else {
        driver->leftOpen_ = true;
        KillTimer(dialog, kStepTimer);
        SendClicked(dialog, IDCANCEL);
    }
    driver->busy_ = false;
}

void DialogDriver::Perform(const DialogStep& step)
{
    HWND control = GetDlgItem(dialog_, step.id);
    switch (step.kind) {
    case DialogStep::Kind::Type:
        if (IsWindowEnabled(control))
            SetWindowTextA(control, step.text.c_str());
        break;
    case DialogStep::Kind::Click:
        if (!IsWindowEnabled(control))
            break;
        if (ButtonType(control) == BS_AUTORADIOBUTTON)
            SelectRadioButton(dialog_, control);
        else
            SendMessageA(control, BM_SETCHECK,
                         SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
        SendClicked(dialog_, step.id);
        break;
    case DialogStep::Kind::Press:
        SendClicked(dialog_, step.id);
        break;
    case DialogStep::Kind::Close:
        SendMessageA(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    case DialogStep::Kind::Record:
        states_.push_back(ReadState());
        break;
    }
}

DialogState DialogDriver::ReadState() const
{
    DialogState state;
    for (HWND child = GetWindow(dialog_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        ControlState& control = state[GetDlgCtrlID(child)];
        control.enabled = IsWindowEnabled(child) != FALSE;
        control.checked = SendMessageA(child, BM_GETCHECK, 0, 0) == BST_CHECKED;
        control.text = WindowText(child);
    }
    return state;
}
