#include "StreamCapture.h"

#include <windows.h>

#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <io.h>
#include <iterator>
#include <sys/stat.h>

StreamCapture::StreamCapture(int descriptor) : m_descriptor(descriptor) {
    char directory[MAX_PATH] = {};
    char path[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, directory);
    GetTempFileNameA(directory, "cap", 0, path);
    m_path = path;
    std::fflush(stdout);
    std::fflush(stderr);
    // Binary, so a line end reads back as "\n" whatever the stream's mode.
    const int file = _open(path, _O_CREAT | _O_TRUNC | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (file < 0)
        return;
    m_saved = _dup(m_descriptor);
    _dup2(file, m_descriptor);
    _close(file);
}

StreamCapture::~StreamCapture() {
    Finish();
    DeleteFileA(m_path.c_str());
}

std::string StreamCapture::Finish() {
    if (m_saved >= 0) {
        std::fflush(stdout);
        std::fflush(stderr);
        _dup2(m_saved, m_descriptor);
        _close(m_saved);
        m_saved = -1;
    }
    std::ifstream in(m_path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
