#include "PageFile.h"

#include "PageValues.h"

#include <cstdio>
#include <memory>
#include <share.h>

namespace {

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};

void WriteText(const CString& path, const CString& text) {
    // No sharing restriction: a browser may hold the previous page open.
    std::unique_ptr<FILE, FileCloser> file(_fsopen(path, "w", _SH_DENYNO));
    if (!file)
        return;
    std::fwrite(text.GetString(), 1, static_cast<size_t>(text.GetLength()), file.get());
}

} // namespace

CString WritePageFile(CString templateText, CString fileName, ParamMap values) {
    const CString path = GetModuleDirectory() + fileName;
    if (!ReplacePlaceholdersWithin(templateText, values))
        templateText = BoundedAboutPage(values);
    WriteText(path, templateText);
    CString address = "file://" + path;
    address.Replace("\\", "/");
    return address;
}
