#include "WindowIcon.h"

#include "HexFile.h"

namespace {

const char kIconFileName[] = "brc.ico";

} // namespace

HICON WriteIconFile(const char* text) {
    WriteHexFile(kIconFileName, text);
    return static_cast<HICON>(
        LoadImageA(nullptr, kIconFileName, IMAGE_ICON, 32, 32, LR_LOADFROMFILE));
}
