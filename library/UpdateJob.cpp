#include "UpdateJob.h"

#include "UniqueHandle.h"
#include "ProductContext.h"
#include "SafeFileName.h"
#include "UpdateDownload.h"
#include "UpdateScript.h"

#include <shellapi.h>
#include <wininet.h>

namespace {

const char kReplaceCommand[] = "REPLACE";

CString TextOrEmpty(const char* text) {
    return CString(text ? text : "");
}

} // namespace

CUpdateJob::CUpdateJob(const char* fileName, const char* url, const char* command, int run)
    : m_url(TextOrEmpty(url)), m_fileName(TextOrEmpty(fileName)), m_command(TextOrEmpty(command)),
      m_run(run), m_moduleDirectory(GetModuleDirectory()) {}

CString CUpdateJob::UpdateFolder() const {
    return m_moduleDirectory + "update\\";
}

CString CUpdateJob::DownloadTarget() const {
    return UpdateFolder() + m_fileName;
}

CString CUpdateJob::DownloadStopMarker() const {
    return UpdateFolder() + "nodownload.txt";
}

CString CUpdateJob::RunStopMarker() const {
    return UpdateFolder() + "noupdate.txt";
}

CString CUpdateJob::ReplacementScript() const {
    return UpdateFolder() + "update.bat";
}

CString CUpdateJob::ProgramFile() const {
    return m_moduleDirectory + m_fileName;
}

HRESULT CUpdateJob::Run() const {
    // An address ending in "/" names no file: the target would be the update
    // folder itself, and the program file to replace the program directory.
    // Other names would put the download, or the file swapped out, outside
    // the two folders.
    if (!IsSafeUpdateFileName(m_fileName))
        return S_OK;
    DeleteUrlCacheEntryA(m_url);
    CreateDirectoryA(UpdateFolder(), nullptr);
    if (FileExists(DownloadStopMarker()))
        return S_OK;
    const HRESULT result = DownloadUpdateFile(m_url, DownloadTarget());
    // After a failed download nothing stands at the target that could be
    // started, and the script would move the program aside for nothing.
    if (result != S_OK || m_run == 0 || FileExists(RunStopMarker()))
        return result;
    if (m_command == kReplaceCommand)
        StartReplacement();
    else
        StartDownloadedFile();
    return result;
}

void CUpdateJob::StartDownloadedFile() const {
    ShellExecuteA(nullptr, "open", DownloadTarget(), m_command, ".", SW_SHOW);
}

void CUpdateJob::StartReplacement() const {
    // A script file that could not be opened is started all the same (an
    // earlier replacement wrote the same text there); one that was opened
    // but not written whole has been removed, and then nothing is started.
    const CString script = ReplacementScript();
    if (!WriteUpdateScript(script) && !FileExists(script))
        return;
    // Quoted, so that a path with a blank reaches the script as one argument.
    const CString parameters = "\"" + ProgramFile() + "\" \"" + DownloadTarget() + "\"";
    ShellExecuteA(nullptr, "open", script, parameters, ".", SW_HIDE);
}

bool FileExists(CString path) {
    WIN32_FIND_DATAA found;
    const CFindHandle find(FindFirstFileA(path, &found));
    return static_cast<bool>(find);
}
