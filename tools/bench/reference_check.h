#pragma once
// The outgoing check as the plug-in's first versions made it, the yardstick of the benchmark's
// whole-check rows: fields fetched into 1024-byte buffers, and each of the six recipient tests
// creating, running and releasing its own regular-expression component. The calling thread must
// have joined a COM apartment, and hostApi must be bound.

#include <windows.h>

int ReferenceCheckOutgoingMail(int mode, HWND window);
