#include "WindowIcon.h"

#include "HexFile.h"

namespace {

const char kIconFileName[] = "brc.ico";

// Windows of one process take turns at writing and loading the file: a load
// that meets the file while another window truncates it has crashed the
// whole process under Wine (the icon loader reads past the file's mapping).
SRWLOCK theIconFileLock = SRWLOCK_INIT;

class CIconFileLock {
public:
    // Waits for another window of this process to finish with the file.
    CIconFileLock() { AcquireSRWLockExclusive(&theIconFileLock); }
    ~CIconFileLock() { ReleaseSRWLockExclusive(&theIconFileLock); }
    CIconFileLock(const CIconFileLock&) = delete;
    CIconFileLock& operator=(const CIconFileLock&) = delete;
};

} // namespace

HICON WriteIconFile(const char* text) {
    const CIconFileLock lock;
    WriteHexFile(kIconFileName, text);
    return static_cast<HICON>(
        LoadImageA(nullptr, kIconFileName, IMAGE_ICON, 32, 32, LR_LOADFROMFILE));
}
