#pragma once
// Drives a modal dialog of this thread as a user would, with no one at the screen. When the first
// dialog that is not a message box becomes active, a timer, which the dialog's own modal loop
// dispatches, plays a script one step per tick; every message box shown meanwhile is answered with
// OK and recorded. Clicks are made the way a click ends up: the button's new state, then BN_CLICKED
// to the dialog (a simulated mouse click can hang without a display).

#include "message_box_answerer.h"
#include "shell/unique_handle.h"

#include <windows.h>

#include <map>
#include <string>
#include <vector>

struct DialogStep
{
    enum class Kind
    {
        Type,
        Click,
        Press,
        Close,
        Record,
    };
    Kind kind;
    int id = 0;
    std::string text;
};

// Replaces an edit box's text, as typing it would; a disabled box takes no typing.
DialogStep Type(int id, std::string text);
// A check box toggles, a radio button is selected and the others of its group cleared; a disabled
// button takes no click.
DialogStep Click(int id);
// A push button: the dialog gets WM_COMMAND with BN_CLICKED, as from a press of the button or its key.
DialogStep Press(int id);
// The close box of the title bar.
DialogStep Close();
// Records the state of every control.
DialogStep Record();

struct ControlState
{
    bool enabled = false;
    bool checked = false;
    std::string text; // in the ANSI code page
};
using DialogState = std::map<int, ControlState>; // by control id

class DialogDriver
{
public:
    explicit DialogDriver(std::vector<DialogStep> script);
    ~DialogDriver();
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    // The dialog driven, null when none opened; its handle stays comparable after it is gone.
    HWND dialog() const { return dialog_; }
    HWND owner() const { return owner_; }
    // The controls when the dialog became active, before any focus reached them, then at each Record step.
    const std::vector<DialogState>& states() const { return states_; }
    const std::vector<MessageBoxRecord>& boxes() const { return answerer_.boxes(); }
    // True when the script ran out with the dialog still open; the driver then pressed Cancel.
    bool leftOpen() const { return leftOpen_; }

private:
    static LRESULT CALLBACK OnCbt(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK OnTimer(HWND dialog, UINT, UINT_PTR, DWORD);
    void Perform(const DialogStep& step);
    DialogState ReadState() const;

    std::vector<DialogStep> script_;
    size_t next_ = 0;
    bool busy_ = false;
    bool leftOpen_ = false;
    HWND dialog_ = nullptr;
    HWND owner_ = nullptr;
    std::vector<DialogState> states_;
    MessageBoxAnswerer answerer_{IDOK};
    UniqueHook hook_;
    DialogDriver* previous_;
};
