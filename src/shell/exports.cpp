#include "shell/exports.h"

#include "check/outgoing_check.h"
#include "settings/settings_dialog.h"
#include "shell/menu_command.h"
#include "shell/plugin_info.h"

HINSTANCE moduleInstance;

// Each callback stops every error before it can reach the host and answers a value that leaves
// the host's work as it would be without the plug-in: 1 lets a message go and closes the set-up,
// 0 everywhere else.
extern "C" {

int WINAPI BKC_OnStart()
{
    return 0;
}
int WINAPI BKC_OnExit()
{
    return 0;
}

int WINAPI BKC_OnMenuInit(HWND, HMENU menu, int type)
{
    try {
        if (type == 0)
            AddSettingsCommand(menu);
    } catch (...) {
    }
    return 0;
}

int WINAPI BKC_OnOpenFolder(LPARAM)
{
    return 0;
}
int WINAPI BKC_OnOpenMail(LPARAM)
{
    return 0;
}
int WINAPI BKC_OnEveryMinute()
{
    return 0;
}
int WINAPI BKC_OnOpenCompose(LPARAM, LPARAM)
{
    return 0;
}

int WINAPI BKC_OnOutgoing(HWND window, int mode)
{
    try {
        return CheckOutgoingMail(mode, window);
    } catch (...) {
        return 1;
    }
}

int WINAPI BKC_OnKeyDispatch(LPARAM, LPARAM, LPARAM)
{
    return 0;
}
int WINAPI BKC_OnRetrieve(LPARAM, LPARAM)
{
    return 0;
}
int WINAPI BKC_OnSend(LPARAM)
{
    return 0;
}
int WINAPI BKC_OnFinishRetrieve(LPARAM)
{
    return 0;
}

int WINAPI BKC_OnPlugInSetup(HWND owner)
{
    try {
        OpenSettingsDialog(owner);
    } catch (...) {
    }
    return 1;
}

int WINAPI BKC_OnPlugInInfo(PlugInInfoRecord* info)
{
    try {
        FillPlugInInfo(info);
    } catch (...) {
    }
    return 0;
}

int WINAPI BKC_OnDragDrop(LPARAM, LPARAM, LPARAM, LPARAM)
{
    return 0;
}
int WINAPI BKC_OnBeforeFilter2(LPARAM, LPARAM, LPARAM, LPARAM)
{
    return 0;
}

} // extern "C"
