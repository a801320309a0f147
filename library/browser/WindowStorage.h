#pragma once
// What one browser window writes back into, owned by that window.
//
// A window writes its last address, the place of a find and its size through
// pointers until it is gone, long after a caller that does not wait has
// returned. Values shared by every window of a kind would then be written by
// two windows at once, or after their owner let them go. So each window
// gets storage of its own that lives exactly as long as the window object;
// a size that windows of one kind share is taken from the shared value when
// the window opens and given back, width and height together, each time the
// window writes its size (after every top-level load and as it is
// destroyed).

#include "CString.h"
#include "ShowURLWindow.h"

class CWindowStorage {
public:
    CWindowStorage() = default;
    CWindowStorage(const CWindowStorage&) = delete;
    CWindowStorage& operator=(const CWindowStorage&) = delete;

    // Starts the window's own size from the shared one (only the parts
    // named) and gives it back there each time the window writes it.
    void ShareSize(WindowSize& shared, bool width = true, bool height = true);
    // UI thread, each time the window has written its size.
    void SizeWritten();

    CString m_address;
    int m_watchMode = 0;
    WindowSize m_size = {0, 0};

private:
    WindowSize* m_sharedSize = nullptr;
    bool m_sharesWidth = false;
    bool m_sharesHeight = false;
};

// Reads or writes a size that several windows share, both parts at once.
WindowSize ReadSharedWindowSize(const WindowSize& shared);
void WriteSharedWindowSize(WindowSize& shared, const WindowSize& size, bool width = true,
                           bool height = true);
