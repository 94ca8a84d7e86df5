#include "calc/TableDocument.h"

#include "calc/Vor_Spread.h"

#include <host/Texts.h>

#include <cctype>

namespace {
constexpr int kNewCols = 6;
constexpr int kNewRows = 11;
constexpr int kNewMaxLength = 100;
constexpr unsigned kTextExportFlags = 0x19; // "|" between columns, CR LF, shown texts
} // namespace

void TableDocument::init(bool isNew, const Vor_String& documentPath) {
    if (!m_grid.attached()) return;
    for (int option : {12, 25, 7, 21})
        m_grid.SetBool(option, true);
    if (isNew) {
        m_grid.setMaxCols(kNewCols);
        m_grid.setMaxRows(kNewRows);
        sheet::CellType t;
        m_grid.SetTypeEdit(t, 0, kNewMaxLength, true);
        m_grid.SetCellTypeRange(1, 1, kNewCols, kNewRows, t);
        writeProperties(TableProperties::newTable());
    }
    Vor_String tag;
    m_grid.getText(0, 0, kTextTag, tag);
    if (checkFileReferences(tag, documentPath)) m_grid.setTag(0, 0, tag);
    m_grid.SetTextTip(2, 10);
    m_grid.SetCellNoteIndicator(0);
}

bool TableDocument::failed() {
    m_error = m_grid.attached() ? m_grid.LastError() : std::string("no table");
    return false;
}

bool TableDocument::load(const std::string& path) {
    m_error.clear();
    return m_grid.LoadFromFile(path) || failed();
}

bool TableDocument::save(const std::string& path) {
    m_error.clear();
    if (!m_grid.SaveToFile(path)) return failed();
    m_grid.setChanged(false);
    return true;
}

TableDocument::ExportKind TableDocument::exportKindOf(const std::string& path) {
    std::string tail = path.size() >= 3 ? path.substr(path.size() - 3) : path;
    for (auto& ch : tail)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    if (tail == "xls") return ExportKind::Excel;
    if (tail == "htm") return ExportKind::Html;
    if (tail == "txt") return ExportKind::Text;
    return ExportKind::Unknown;
}

bool TableDocument::exportTo(const std::string& path) {
    m_error.clear();
    bool ok = false;
    switch (exportKindOf(path)) {
    case ExportKind::Excel:
        ok = m_grid.ExportToExcel(path);
        break;
    case ExportKind::Html:
        ok = m_grid.ExportToHTML(path);
        break;
    case ExportKind::Text:
        ok = m_grid.ExportToTextFile(path, kTextExportFlags);
        break;
    case ExportKind::Unknown:
        m_error = dialString(9262).str() + " \"" + path + "\"."; // texts: dialString 9262
        return false;
    }
    return ok || failed();
}

std::string TableDocument::note(int col, int row) const {
    std::string n;
    m_grid.GetCellNote(col, row, n);
    return n;
}

bool TableDocument::setNote(int col, int row, const std::string& text) {
    if (!m_grid.SetCellNote(col, row, text)) return false;
    m_grid.setChanged(true);
    return true;
}

bool TableDocument::readProperties(TableProperties& props) const {
    Vor_String tag;
    m_grid.getText(0, 0, kTextTag, tag);
    return readTableProperties(tag, props);
}

bool TableDocument::writeProperties(const TableProperties& props) {
    Vor_String tag;
    bool ok = writeTableProperties(tag, props);
    // The properties live in the corner cell: in the editor their change is an undo step like any
    // other, so undoing a later edit never takes the table back to "saved" while they differ.
    Vor_Spread::ChangeScope change(m_grid);
    m_grid.aboutToChange({0, 0, 0, 0});
    return m_grid.setTag(0, 0, tag) && ok;
}

void initTableDocument(Vor_Spread& grid, bool isNew, const Vor_String& documentPath) {
    TableDocument(grid).init(isNew, documentPath);
}

bool readTableProperties(const Vor_Spread& grid, TableProperties& props) {
    return TableDocument(const_cast<Vor_Spread&>(grid)).readProperties(props);
}

bool writeTableProperties(Vor_Spread& grid, const TableProperties& props) {
    return TableDocument(grid).writeProperties(props);
}
