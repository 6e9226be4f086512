#include "settings/settings_dialog.h"

#include "res/resource.h"
#include "settings/settings_store.h"
#include "settings/settings_validation.h"
#include "shell/exports.h"
#include "shell/plugin_info.h"

#include <cstring>

namespace {

constexpr char kNotSaved[] = "設定を保存できませんでした";

bool IsChecked(HWND dialog, int id)
{
    return SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetChecked(HWND dialog, int id, bool checked)
{
    SendMessageA(GetDlgItem(dialog, id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

// At most 255 bytes of the control's text. A cut through a double-byte character would leave its
// lead byte alone at the end, which the registry stores as another character, one byte longer than
// the field holds; the cut moves back before that character.
void ReadText(HWND dialog, int id, char (&field)[256])
{
    GetDlgItemTextA(dialog, id, field, sizeof field);
    size_t length = strnlen(field, sizeof field);
    for (size_t i = 0; i < length; ++i) {
        if (!IsDBCSLeadByte(static_cast<BYTE>(field[i])))
            continue;
        if (i + 1 == length) {
            field[i] = '\0';
            break;
        }
        ++i;
    }
}

// Answers FALSE: the focus is left to the dialog manager. A failed load leaves the template's
// empty, unchecked controls.
INT_PTR OnInitDialog(HWND dialog)
{
    PluginSettings settings;
    if (SUCCEEDED(LoadSettings(&settings)))
        FillSettingsDialog(settings, dialog);
    return FALSE;
}

// Runs on every notification of the check box, focus changes included, but not at opening: until
// the box first reports, the details keep the template's enabled state.
void ApplyEnablingRule(HWND dialog)
{
    BOOL enabled = IsChecked(dialog, IDC_ENABLE) ? TRUE : FALSE;
    for (int id : {IDC_DOMAIN, IDC_BOSS_ADDRESS, IDC_SHOW_ALERT, IDC_AUTO_CC})
        EnableWindow(GetDlgItem(dialog, id), enabled);
}

// Invalid input keeps the dialog open as the user left it, after every message that applies. So
// does a failed save, with its own message: ending as if saved would lose the input unseen.
void OnConfirm(HWND dialog)
{
    PluginSettings settings;
    ReadSettingsFromDialog(&settings, dialog);
    SettingsValidation validation = ValidateSettings(settings);
    for (const char* message : validation.messages)
        MessageBoxA(dialog, message, kMessageCaption, MB_OK);
    if (!validation.valid)
        return;
    if (FAILED(SaveSettings(settings))) {
        MessageBoxA(dialog, kNotSaved, kMessageCaption, MB_OK);
        return;
    }
    EndDialog(dialog, IDOK);
}

INT_PTR OnCommand(HWND dialog, int id)
{
    switch (id) {
    case IDOK:
        OnConfirm(dialog);
        return TRUE;
    case IDCANCEL:
        EndDialog(dialog, IDCANCEL);
        return FALSE;
    case IDC_ENABLE:
        ApplyEnablingRule(dialog);
        return FALSE;
    }
    return FALSE;
}

INT_PTR HandleSettingsMessage(HWND dialog, UINT message, WPARAM wParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog);
    case WM_COMMAND:
        return OnCommand(dialog, LOWORD(wParam));
    case WM_CLOSE:
    case WM_DESTROY:
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

} // namespace

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    try {
        return HandleSettingsMessage(dialog, message, wParam);
    } catch (...) {
        // Only opening and confirming can fail; answer as each does when it finds nothing to do.
        return message == WM_COMMAND && LOWORD(wParam) == IDOK;
    }
}

HRESULT FillSettingsDialog(PluginSettings settings, HWND dialog)
{
    SetChecked(dialog, IDC_ENABLE, settings.enabled == 1);
    SetDlgItemTextA(dialog, IDC_DOMAIN, settings.companyDomain);
    SetDlgItemTextA(dialog, IDC_BOSS_ADDRESS, settings.bossAddress);
    SetChecked(dialog, IDC_SHOW_ALERT, settings.showAlert == 1);
    SetChecked(dialog, IDC_AUTO_CC, settings.showAlert == 0);
    return S_OK;
}

HRESULT ReadSettingsFromDialog(PluginSettings* settings, HWND dialog)
{
    if (!settings)
        return E_INVALIDARG;
    *settings = {};
    settings->enabled = IsChecked(dialog, IDC_ENABLE) ? 1 : 0;
    ReadText(dialog, IDC_DOMAIN, settings->companyDomain);
    ReadText(dialog, IDC_BOSS_ADDRESS, settings->bossAddress);
    settings->showAlert = IsChecked(dialog, IDC_SHOW_ALERT) ? 1 : 0;
    return S_OK;
}

INT_PTR OpenSettingsDialog(HWND owner)
{
    return DialogBoxParamA(moduleInstance, MAKEINTRESOURCEA(IDD_SETTINGS), owner, SettingsDialogProc, 0);
}
