// Keeps the desktop of a test session open between tests. Wine closes a
// desktop, and ends its desktop process, a second after the last program on
// it has ended; the next program that shows a window then starts a new
// desktop process as its own child. Under an update test that child lands
// in the test's job object, and the job never empties. The test session
// starts this program once and ends it with its wineserver.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // A message-only window: on the desktop, never shown.
    HWND window = CreateWindowExA(0, "STATIC", "desktop keeper", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                  nullptr, nullptr, nullptr);
    if (!window)
        return 1;
    MSG message;
    // Waits for messages for as long as the session runs; the session ends
    // this process when it stops the wineserver.
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);
    return 0;
}
