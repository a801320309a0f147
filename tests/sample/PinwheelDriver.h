#pragma once
// Drives a Pinwheel process from outside, as a user would: starts it,
// finds its dialog, types into edit boxes, clicks buttons and reads the
// result box. Also sets and reads the sample's registry values.

#include "UniqueHandle.h"

#include <windows.h>

#include <string>

// The sample's edit boxes and buttons.
enum PinwheelControl {
    kCheckUpdate = 1005,
    kResult = 1007,
    kWhatIs = 1008,
    kAbout = 1010,
    kContactSupport = 1011,
    kWhatIsAll = 1012,
    kDisplayURL = 1017,
    kGetURL = 1018,
    kCompany = 1032,
    kSoftware = 1033,
    kVersion = 1034,
    kWhatIsKey = 1037,
    kURL = 1038,
    kOptions = 1039,
};

// Registry value of the sample: its type and raw bytes.
struct StoredValue {
    bool present = false;
    DWORD type = 0;
    std::string bytes;
};

// HKCU\Software\Brindlecode\WindowsPinwheel, which every Pinwheel of the
// prefix shares.
void DeleteSampleKey();
void StoreSampleValue(const char* name, DWORD type, const std::string& bytes);
StoredValue ReadSampleValue(const char* name);
// A text value up to its first NUL. The system stores a NUL after text that
// is written without one.
std::string StoredText(const char* name);

class CPinwheel {
public:
    // Starts Pinwheel; script, when given, is the scripted browser
    // control's script in that process.
    explicit CPinwheel(const char* browserScript = nullptr);
    // Closes the dialog as the close box would and waits for the program to
    // end; one that does not is ended.
    ~CPinwheel();
    CPinwheel(const CPinwheel&) = delete;
    CPinwheel& operator=(const CPinwheel&) = delete;

    // The dialog once it is shown, else null.
    HWND Dialog() const { return m_dialog; }
    DWORD ProcessId() const { return m_processId; }
    HWND Control(int id) const { return ::GetDlgItem(m_dialog, id); }

    std::string Text(int id) const;
    void Type(int id, const std::string& text);
    // Clicks and returns once the button's handler has run.
    bool Click(int id);
    // Clicks without waiting, for a handler that waits itself.
    void ClickLater(int id);
    // Waits until the result box shows something other than before.
    std::string WaitForResultOtherThan(const std::string& before, DWORD timeoutMs = 20000);

    // A top-level window of this process whose caption holds text.
    HWND WaitForWindow(const std::string& captionPart, DWORD timeoutMs = 20000) const;

private:
    CHandle m_process;
    DWORD m_processId = 0;
    HWND m_dialog = nullptr;
};

// A message box's text.
std::string MessageBoxText(HWND box);
// Answers a message box by pressing one of its buttons.
bool AnswerMessageBox(HWND box, int button);
