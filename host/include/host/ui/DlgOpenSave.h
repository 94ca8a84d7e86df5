#pragma once
// The add-on's open and save dialog: the standard file dialog, asked through the agent, with the
// add-on's filters, default extension, title and starting folder.

#include <host/Vor_String.h>

namespace ui {
class Window;
}

/// Lets the person choose a file to open or a name to save under.
class DlgOpenSave {
public:
    /// `filter` is either the classic form "Tables (*.sss)|*.sss|All files (*.*)|*.*||" or just a
    /// description such as "Templates (*.txt)", whose pattern is then the one in parentheses, else
    /// the default extension's. `fileName` may carry a folder part: an absolute one is the starting
    /// folder, a relative one is taken inside `folder`.
    /// Names with '\' are read as if they had '/'.
    DlgOpenSave(bool open, const Vor_String& defaultExtension = "", const Vor_String& fileName = "",
                const Vor_String& filter = "", const Vor_String& title = "", const Vor_String& folder = "");

    bool isOpen() const { return m_open; }
    void setTitle(const Vor_String& title) { m_title = title; }
    /// The folder to start in; a folder that does not exist gives way to its nearest existing parent.
    void setFolder(const Vor_String& folder);
    void setFileName(const Vor_String& fileName);
    /// The filter shown first, counted from 1.
    void setFilterIndex(int index) { m_filterIndex = index; }
    /// Save mode: whether choosing an existing file asks before it is replaced (on by default).
    void setOverwritePrompt(bool ask) { m_overwritePrompt = ask; }

    /// Shows the dialog; IDOK when a file was chosen, IDCANCEL when the person cancelled.
    int doModal(ui::Window* owner = nullptr);

    /// The chosen path; before a choice, the starting folder and name.
    Vor_String getPathName() const;
    /// The chosen file's name with extension.
    Vor_String getFileName() const;
    /// The chosen file's name without extension.
    Vor_String getFileTitle() const;
    /// The chosen file's extension without its dot.
    Vor_String getFileExt() const;
    /// The chosen file's folder, ending in '/'.
    Vor_String getFolderPath() const;
    int getFilterIndex() const { return m_filterIndex; }

    /// The filter in the classic form for a full, description-only or empty filter text.
    static Vor_String classicFilter(const Vor_String& filter, const Vor_String& defaultExtension);
    /// One call: the chosen path, or "" when the person cancelled.
    static Vor_String choose(bool open, const Vor_String& defaultExtension, const Vor_String& filter,
                             const Vor_String& title, const Vor_String& folder, ui::Window* owner = nullptr);

private:
    bool m_open;
    Vor_String m_defaultExtension; ///< without its dot
    Vor_String m_filter;
    Vor_String m_title;
    Vor_String m_folder;   ///< ending in '/', or ""
    Vor_String m_fileName; ///< the name alone
    Vor_String m_chosen;   ///< the chosen path, "" until one was chosen
    int m_filterIndex = 1;
    bool m_overwritePrompt = true;
};
