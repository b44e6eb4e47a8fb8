// Open and save prompts over the UI host, with the classic checks on the
// name chosen.
#include "plat/filedlg.h"
#include "plat/path.h"
#include "plat/uihost.h"
#include <cstring>
#include <string>
#include <sys/stat.h>

namespace plat {

namespace {

bool exists(const std::string& path)
{
    struct stat st{};
    const std::string resolved = ResolvePath(path.c_str());
    return ::stat(resolved.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

BOOL prompt(OPENFILENAME* ofn, bool save)
{
    if (!ofn || !ofn->lpstrFile || ofn->nMaxFile == 0)
        return FALSE;
    FilePrompt p;
    p.owner = ofn->hwndOwner;
    p.save = save;
    p.title = ofn->lpstrTitle ? ofn->lpstrTitle : (save ? "Save As" : "Open");
    if (const char* f = ofn->lpstrFilter) {
        // "desc\0patterns\0...\0\0"
        while (*f) {
            std::string desc = f;
            f += desc.size() + 1;
            if (!*f)
                break;
            std::string pats = f;
            f += pats.size() + 1;
            p.filters.emplace_back(desc, pats);
        }
    }
    p.filterIndex = static_cast<int>(ofn->nFilterIndex ? ofn->nFilterIndex : 1);
    p.initialDir = ofn->lpstrInitialDir ? ofn->lpstrInitialDir : "";
    p.fileName = ofn->lpstrFile;
    p.defExt = ofn->lpstrDefExt ? ofn->lpstrDefExt : "";
    p.flags = ofn->Flags;
    if (!PromptFileName(p))
        return FALSE;
    std::string name = p.fileName;
    const size_t slash = name.find_last_of("/\\");
    const size_t base = slash == std::string::npos ? 0 : slash + 1;
    if (!p.defExt.empty() && name.find('.', base) == std::string::npos)
        name += "." + p.defExt;
    if (!save && (ofn->Flags & OFN_FILEMUSTEXIST) && !exists(name)) {
        const std::string text = name + "\nFile not found.\nPlease verify the correct file name was given.";
        MessageBox(ofn->hwndOwner, text.c_str(), p.title.c_str(), MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    if (save && (ofn->Flags & OFN_OVERWRITEPROMPT) && exists(name)) {
        const std::string text = name + " already exists.\nDo you want to replace it?";
        if (MessageBox(ofn->hwndOwner, text.c_str(), p.title.c_str(), MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
            return FALSE;
    }
    if (name.size() + 1 > ofn->nMaxFile)
        return FALSE;
    std::memcpy(ofn->lpstrFile, name.c_str(), name.size() + 1);
    ofn->nFilterIndex = static_cast<DWORD>(p.filterIndex);
    ofn->nFileOffset = static_cast<WORD>(base);
    const size_t dot = name.rfind('.');
    ofn->nFileExtension = static_cast<WORD>(dot != std::string::npos && dot >= base ? dot + 1 : 0);
    if (ofn->lpstrFileTitle && ofn->nMaxFileTitle > 0) {
        const std::string title = name.substr(base);
        const size_t n = std::min<size_t>(title.size(), ofn->nMaxFileTitle - 1);
        std::memcpy(ofn->lpstrFileTitle, title.data(), n);
        ofn->lpstrFileTitle[n] = '\0';
    }
    return TRUE;
}

} // namespace

BOOL GetOpenFileName(OPENFILENAME* ofn) { return prompt(ofn, false); }
BOOL GetSaveFileName(OPENFILENAME* ofn) { return prompt(ofn, true); }

} // namespace plat
