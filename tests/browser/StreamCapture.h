#pragma once
// Sends what the C runtime writes to standard output or standard error into a
// file while it lives, so a test can read the messages of the code it calls.

#include <string>

class StreamCapture {
public:
    // 1 for standard output, 2 for standard error.
    explicit StreamCapture(int descriptor);
    ~StreamCapture();
    StreamCapture(const StreamCapture&) = delete;
    StreamCapture& operator=(const StreamCapture&) = delete;

    // Stops capturing and gives what was written (line ends as "\n").
    std::string Finish();

private:
    int m_descriptor;
    int m_saved = -1;
    std::string m_path;
};
