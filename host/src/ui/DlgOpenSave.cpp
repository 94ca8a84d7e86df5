#include <host/ui/DlgOpenSave.h>

#include <host/FileUtils.h>

#include <ui/Agent.h>

#include <filesystem>

namespace {

/// The folder itself when it exists (spelled as on disk), else its nearest existing parent; "" when
/// not even a parent exists.
Vor_String existingFolder(const Vor_String& folder) {
    std::filesystem::path p(toSlashes(folder).str());
    while (!p.empty()) {
        if (auto found = findExistingPath(Vor_String(p.string())); found && folderExists(Vor_String(*found)))
            return folderWithSlash(Vor_String(*found));
        std::filesystem::path parent = p.parent_path();
        if (parent == p) break;
        p = parent;
    }
    return {};
}

} // namespace

DlgOpenSave::DlgOpenSave(bool open, const Vor_String& defaultExtension, const Vor_String& fileName,
                         const Vor_String& filter, const Vor_String& title, const Vor_String& folder)
    : m_open(open)
    , m_defaultExtension(defaultExtension.startsWith(".") ? defaultExtension.mid(1) : defaultExtension)
    , m_filter(filter)
    , m_title(title) {
    setFolder(folder);
    setFileName(fileName);
}

void DlgOpenSave::setFolder(const Vor_String& folder) {
    m_folder = folder.isEmpty() ? Vor_String() : existingFolder(folder);
}

void DlgOpenSave::setFileName(const Vor_String& fileName) {
    Vor_String name = toSlashes(fileName);
    Vor_String folder = getFolder(name);
    if (!folder.isEmpty())
        setFolder(folder.startsWith("/") || m_folder.isEmpty() ? folder : m_folder + folder);
    m_fileName = ::getFileName(name);
}

int DlgOpenSave::doModal(ui::Window* owner) {
    m_chosen = Vor_String();
    ui::FileRequest request;
    request.save = !m_open;
    request.title = m_title.str();
    request.folder = m_folder.str();
    request.fileName = m_fileName.str();
    request.filter = classicFilter(m_filter, m_defaultExtension).str();
    request.defaultExtension = m_defaultExtension.str();
    request.overwritePrompt = m_overwritePrompt;
    request.mustExist = m_open;
    request.filterIndex = m_filterIndex;
    if (!ui::agent().fileDialog(request, owner) || request.fileName.empty()) return ui::IDCANCEL;
    m_chosen = Vor_String(request.fileName);
    m_filterIndex = request.filterIndex;
    return ui::IDOK;
}

Vor_String DlgOpenSave::getPathName() const {
    return m_chosen.isEmpty() ? m_folder + m_fileName : m_chosen;
}
Vor_String DlgOpenSave::getFileName() const {
    return ::getFileName(getPathName());
}
Vor_String DlgOpenSave::getFileTitle() const {
    return removeExtension(getFileName());
}
Vor_String DlgOpenSave::getFileExt() const {
    return getExtension(getPathName());
}
Vor_String DlgOpenSave::getFolderPath() const {
    return getFolder(getPathName());
}

Vor_String DlgOpenSave::classicFilter(const Vor_String& filter, const Vor_String& defaultExtension) {
    Vor_String ext = defaultExtension.startsWith(".") ? defaultExtension.mid(1) : defaultExtension;
    Vor_String fallback = ext.isEmpty() ? Vor_String("*.*") : "*." + ext;
    if (filter.isEmpty()) return fallback + "|" + fallback + "||";
    if (filter.contains("|")) return filter.endsWith("|") ? filter : filter + "||";
    // A description alone: its pattern is the part in parentheses ("Pictures (*.bmp;*.dib)").
    Vor_String pattern = fallback;
    int open = filter.reverseFind("(");
    int close = filter.reverseFind(")");
    if (open >= 0 && close > open + 1) {
        Vor_String inside = filter.mid(open + 1, close - open - 1);
        if (inside.trim().contains("*")) pattern = inside;
    }
    return filter + "|" + pattern + "||";
}

Vor_String DlgOpenSave::choose(bool open, const Vor_String& defaultExtension, const Vor_String& filter,
                               const Vor_String& title, const Vor_String& folder, ui::Window* owner) {
    DlgOpenSave dlg(open, defaultExtension, "", filter, title, folder);
    return dlg.doModal(owner) == ui::IDOK ? dlg.getPathName() : Vor_String();
}
