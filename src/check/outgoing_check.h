#pragma once
// The decision taken when the host queues a composed message.

#include <windows.h>

// Answers 1 to let the message go, -1 when the user cancelled it in the warning.
int CheckOutgoingMail(int mode, HWND window);
