#pragma once
// One update download: fetch the latest version into the update folder
// beside the program, then start it or swap it in for the program.

#include "CString.h"
#include "UniqueHandle.h"

#include <windows.h>

class CUpdateJob {
public:
    CUpdateJob(const char* fileName, const char* url, const char* command, int run);

    // Downloads and then starts or replaces as the command and the markers
    // say. Returns the download's result, or S_OK when none was made.
    HRESULT Run() const;

    CString UpdateFolder() const;
    CString DownloadTarget() const;
    CString DownloadStopMarker() const;
    CString RunStopMarker() const;
    CString ReplacementScript() const;
    CString ProgramFile() const;

    const CString m_url;
    const CString m_fileName;
    const CString m_command;
    const int m_run;
    // Keeps the module that runs the thread's code loaded until the thread
    // has ended; taken by StartUpdateThread.
    CModuleReference m_codeModule;

private:
    void StartDownloadedFile() const;
    void StartReplacement() const;

    const CString m_moduleDirectory;
};

// FindFirstFileA on the path succeeds: files and directories both count.
bool FileExists(CString path);
