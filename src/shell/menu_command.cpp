#include "shell/menu_command.h"

#include "settings/settings_dialog.h"
#include "shell/host_api.h"

namespace {

constexpr char kCommandName[] = "ボスを設定する";
constexpr char kMenuText[] = "ボスを設定する(&B)...";
constexpr int kToolsSubMenu = 4;
constexpr UINT kAfterLastItem = 255;

} // namespace

void AddSettingsCommand(HMENU menu)
{
    int command = hostApi.BKA_RegisterCommand(kCommandName, 0, ShowSettingsDialog);
    hostApi.BKA_RegisterUICallback(command, QueryCommandState);

    // A missing sub-menu makes both insertions fail and leaves the menu as it was.
    HMENU tools = GetSubMenu(menu, kToolsSubMenu);
    InsertMenuA(tools, kAfterLastItem, MF_BYPOSITION | MF_SEPARATOR, 0, "");
    InsertMenuA(tools, kAfterLastItem, MF_BYPOSITION, static_cast<UINT_PTR>(command), kMenuText);
}

int WINAPI ShowSettingsDialog(HWND window, LPARAM)
{
    try {
        return static_cast<int>(OpenSettingsDialog(window));
    } catch (...) {
        return 0;
    }
}

UINT WINAPI QueryCommandState(HWND, LPARAM)
{
    return 0;
}
