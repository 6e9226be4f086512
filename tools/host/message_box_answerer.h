#pragma once
// Answers the message boxes that this thread shows, and records each one, so that a check that
// warns the user can run with no one at the screen.

#include <windows.h>

#include <string>
#include <vector>

#include "shell/unique_handle.h"

// The window's text, in the ANSI code page.
std::string WindowText(HWND window);

// Whether the window belongs to the system's dialog class, as dialogs and message boxes do.
bool IsDialogWindow(HWND window);

struct MessageBoxRecord
{
    std::string caption;
    std::string text;
    UINT style = 0; // buttons, icon and default button, as read back from the box itself
    HWND owner = nullptr;
};

class MessageBoxAnswerer
{
public:
    // answer: the id of the button to press, IDOK or IDCANCEL for example.
    explicit MessageBoxAnswerer(int answer);
    ~MessageBoxAnswerer();
    MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
    MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

    int answer() const { return answer_; }
    const std::vector<MessageBoxRecord>& boxes() const { return boxes_; }

    // Reads a box the way the answerer records it; also for other hooks that meet message boxes.
    static bool IsMessageBox(HWND window);
    static MessageBoxRecord Read(HWND box);

private:
    static LRESULT CALLBACK OnCbt(int code, WPARAM wParam, LPARAM lParam);

    int answer_;
    HWND lastBox_ = nullptr;
    std::vector<MessageBoxRecord> boxes_;
    UniqueHook hook_;
    MessageBoxAnswerer* previous_;
};
