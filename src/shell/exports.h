#pragma once
// The sixteen callbacks the host calls, exported by ordinal through Quillmere.def.
// Arguments the plug-in never uses are declared as plain LPARAM values.

#include <windows.h>

struct PlugInInfoRecord;

// The module's own instance handle, stored by DllMain; the dialog template is loaded from it.
extern HINSTANCE moduleInstance;

extern "C" {
int WINAPI BKC_OnStart();
int WINAPI BKC_OnExit();
int WINAPI BKC_OnMenuInit(HWND window, HMENU menu, int type);
int WINAPI BKC_OnOpenFolder(LPARAM);
int WINAPI BKC_OnOpenMail(LPARAM);
int WINAPI BKC_OnEveryMinute();
int WINAPI BKC_OnOpenCompose(LPARAM, LPARAM);
int WINAPI BKC_OnOutgoing(HWND window, int mode);
int WINAPI BKC_OnKeyDispatch(LPARAM, LPARAM, LPARAM);
int WINAPI BKC_OnRetrieve(LPARAM, LPARAM);
int WINAPI BKC_OnSend(LPARAM);
int WINAPI BKC_OnFinishRetrieve(LPARAM);
int WINAPI BKC_OnPlugInSetup(HWND owner);
int WINAPI BKC_OnPlugInInfo(PlugInInfoRecord* info);
int WINAPI BKC_OnDragDrop(LPARAM, LPARAM, LPARAM, LPARAM);
int WINAPI BKC_OnBeforeFilter2(LPARAM, LPARAM, LPARAM, LPARAM);
}
