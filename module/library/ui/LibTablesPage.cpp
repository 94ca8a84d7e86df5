#include "library/ui/LibTablesPage.h"

#include "frame/AskText.h"
#include "frame/CatalogueTexts.h"
#include "library/SectionTypeCodes.h"

#include <base/PathPart.h>
#include <cad/aced.h>
#include <host/FileUtils.h>
#include <host/Settings.h>
#include <host/Texts.h>
#include <host/VorUtils.h>
#include <host/ui/CtrlUtils.h>
#include <ui/Agent.h>
#include <ui/Control.h>

// The size and header dialog of the tables (rows, columns and their headers).
bool editTableOptions(Vor_Spread& table, ui::Window* parent);

namespace {

constexpr int kFlagColumn = 2;
constexpr int kHeaderAxis = 0;

Vor_String tableFile(const Vor_String& name) {
    return name + ".pr";
}

} // namespace

bool LibTablesPage::onInitDialog() {
    // texts: dialString 772-783
    const std::pair<int, int> texts[] = {
        {IDC_NEW, 779}, {IDC_DELETE, 780}, {IDC_FILL, 781}, {IDC_RENAME, 782}, {IDC_TYPE_FRAME, 783}};
    setCatalogueTexts(*this, texts);
    const std::array<std::array<int, 3>, 7> icons = {{{IDC_COPY, 223, 772},
                                                      {IDC_PASTE, 224, 773},
                                                      {IDC_INSERT_ROW, 225, 774},
                                                      {IDC_DELETE_ROW, 226, 775},
                                                      {IDC_ROW_UP, 227, 776},
                                                      {IDC_ROW_DOWN, 228, 777},
                                                      {IDC_FIND, 238, 778}}};
    for (std::size_t i = 0; i < icons.size(); ++i) {
        m_icons[i].subclassDlgItem(icons[i][0], this);
        m_icons[i].setIcon(icons[i][1]);
        m_icons[i].setTooltipText(dialString(icons[i][2]));
    }
    FillCombo(this, IDC_TYPE, sectionTypeDisplays());
    m_grid.attach(this, IDC_GRID);
    m_grid.setStandardLook(1);
    m_resizer.init(this, {{IDC_GRID,
                           {CResizer::eFixed, 0, CResizer::eLeft},
                           {CResizer::eFixed, 0, CResizer::eTop},
                           {CResizer::eFixed, 0, CResizer::eRight},
                           {CResizer::eFixed, 0, CResizer::eBottom}}});

    // open on the table of the given section, else on the first
    int select = m_tables.isEmpty() ? -1 : 0;
    const int dash = m_sysName.find("-");
    if (dash > 0) {
        int found = -1;
        if (m_tables.find(m_sysName.left(dash), found)) select = found;
    }
    fillTables(select);
    load(select);
    if (select >= 0 && !m_sysName.isEmpty()) {
        for (int r = 1; r <= m_grid.maxRows(); ++r) {
            Vor_String key;
            m_grid.getText(1, r, kTextValue, key);
            if ((m_tables[select] + "-" + key) == m_sysName) {
                m_grid.SetActiveCell(1, r);
                m_grid.SetSelectBlock({1, r}, {m_grid.maxCols(), r});
                break;
            }
        }
    }
    return true;
}

void LibTablesPage::fillTables(int select) {
    FillCombo(this, IDC_TABLES, m_tables, select);
}

void LibTablesPage::enableControls() {
    const bool any = !m_tables.isEmpty();
    // a table not read cleanly is shown, not changed: its file is never written over
    const bool editable = any && m_readFault.isEmpty();
    for (int id : {IDC_DELETE, IDC_FILL, IDC_RENAME, IDC_COPY, IDC_PASTE, IDC_GRID, IDC_TYPE_FRAME, IDC_TYPE})
        if (ui::Control* c = item(id)) c->enableWindow(id == IDC_COPY || id == IDC_GRID ? any : editable);
    m_grid.SetOperationMode(
        static_cast<int>(editable ? sheet::OperationMode::Normal : sheet::OperationMode::ReadOnly));
    if (editable)
        m_grid.setContextMenu({kMenuCopy, kMenuPaste, kMenuSeparator, kMenuInsertRow, kMenuDeleteRow,
                               kMenuSeparator, kMenuInsertColumn, kMenuDeleteColumn, kMenuSeparator,
                               kMenuCheckAll, kMenuUncheckAll});
    else
        m_grid.setContextMenu({kMenuCopy});
}

bool LibTablesPage::refuseUnclean() {
    if (m_readFault.isEmpty() || m_current < 0) return false;
    // texts: dialString 754, 9712
    Vor_String text = dialString(9712);
    text.replace("%1", "<" + m_tables[m_current] + ">");
    text.replace("%2", m_readFault);
    ui::messageBox(text.str(), dialString(754).str(), ui::MB_OK | ui::MB_ICONEXCLAMATION, this);
    return true;
}

void LibTablesPage::load(int index) {
    m_current = index >= 0 && index < m_tables.length() ? index : -1;
    m_readFault = Vor_String();
    Vor_ProfValuesTable table;
    if (m_current >= 0) {
        const bool read = table.readFromFile(tableFile(m_tables[m_current]));
        if (!read || !table.readCleanly())
            m_readFault =
                table.problems().isEmpty() ? Vor_String(tableFile(m_tables[m_current])) : table.problems()[0];
        if (!read) {
            const Vor_StringArray problems = table.problems();
            table = Vor_ProfValuesTable();
            for (const Vor_String& p : problems)
                acutPrintf("%s\n", p.c_str());
        }
    }
    for (const Vor_String& p : table.problems())
        acutPrintf("%s\n", p.c_str());
    if (!table.setToSS(m_grid)) {
        // an unreadable or empty table shows its header, if any, over no rows
        m_grid.setMaxCols(table.columnNames.length());
        m_grid.setRow(kHeaderAxis, table.columnNames);
    }
    m_grid.setChanged(false);
    m_appliedType = sectionTypeShown(table.typeCode);
    item(IDC_TYPE)->setText(m_appliedType.str());
    enableControls();
    refuseUnclean(); // says at once why the table cannot be changed
}

Vor_ProfValuesTable LibTablesPage::readBack() {
    m_grid.SetEditMode(false); // a cell being typed counts
    Vor_ProfValuesTable table;
    if (!table.getFromSS(m_grid)) {
        // no rows: the header is all there is
        Vor_StringArray header;
        m_grid.getRow(kHeaderAxis, header);
        while (!header.isEmpty() && header.last().isEmpty())
            header.removeAt(header.length() - 1);
        table.columnNames = header;
    }
    if (m_current >= 0) table.tableName = m_tables[m_current];
    table.typeCode = sectionTypeStored(item(IDC_TYPE)->text());
    return table;
}

bool LibTablesPage::save() {
    if (m_current < 0 || refuseUnclean()) return false;
    const Vor_ProfValuesTable table = readBack();
    if (!table.writeToFile(tableFile(m_tables[m_current]))) {
        acutPrintf("*Error* The table %s could not be written.\n", m_tables[m_current].c_str());
        return false;
    }
    m_grid.setChanged(false);
    return true;
}

bool LibTablesPage::askSaveChanges() {
    if (m_current < 0 || !m_grid.changed() || !m_readFault.isEmpty()) return true;
    // texts: dialString 784-786
    const Vor_String text = dialString(785) + " <" + m_tables[m_current] + "> " + dialString(786);
    const int answer =
        ui::messageBox(text.str(), dialString(784).str(), ui::MB_YESNOCANCEL | ui::MB_ICONQUESTION, this);
    if (answer == ui::IDCANCEL) return false;
    if (answer == ui::IDYES) return save();
    m_grid.setChanged(false);
    return true;
}

void LibTablesPage::applyType(bool fromCombo) {
    const Vor_String shown = item(IDC_TYPE)->text();
    m_appliedType = shown;
    const Vor_StringArray headers = sectionTableHeaders(shown);
    if (m_grid.maxCols() < headers.length()) m_grid.setMaxCols(headers.length());
    // the type names its own columns; the names of the columns after them stay
    for (int c = 0; c < headers.length(); ++c)
        m_grid.setText(c + 1, kHeaderAxis, headers[c]);
    if (fromCombo && m_grid.maxCols() > headers.length()) {
        // texts: dialString 792-795
        const Vor_String text =
            dialString(793) + " " + shown + " " + dialString(794) + "\n" + dialString(795);
        if (ui::messageBox(text.str(), dialString(792).str(), ui::MB_YESNO | ui::MB_ICONQUESTION, this) ==
            ui::IDYES)
            m_grid.setMaxCols(headers.length());
    }
    if (m_grid.maxRows() > 0 && m_grid.maxCols() >= kFlagColumn)
        m_grid.setColumnCheckBoxes(kFlagColumn, false, false);
    m_grid.fitAll();
    m_grid.setChanged(true);
}

void LibTablesPage::newTable() {
    if (!askSaveChanges()) return;
    const Vor_String name = findNonExistingString(m_tables, dialString(779));
    m_tables.append(name);
    Vor_ProfValuesTable table;
    table.tableName = name;
    table.columnNames = sectionTableHeaders("-1");
    table.columnNames.append(dialString(86).append(1));
    table.columnNames.append(dialString(86).append(2));
    Vor_StringArray row{"", "1"};
    for (int i = 2; i < table.columnNames.length() - 2; ++i)
        row.append("");
    row.append("0");
    row.append("0");
    table.rows.append(row);
    m_current = m_tables.length() - 1;
    m_readFault = Vor_String();
    fillTables(m_current);
    table.setToSS(m_grid);
    m_appliedType = "<>";
    item(IDC_TYPE)->setText(m_appliedType.str());
    m_grid.setChanged(true);
    enableControls();
}

void LibTablesPage::deleteTable() {
    if (m_current < 0 || refuseUnclean()) return;
    const Vor_String name = m_tables[m_current];
    // texts: dialString 787-789
    const Vor_String text = dialString(788) + " <" + name + "> " + dialString(789);
    if (ui::messageBox(text.str(), dialString(787).str(), ui::MB_YESNO | ui::MB_ICONWARNING, this) !=
        ui::IDYES)
        return;
    m_tables.removeAt(m_current);
    deleteFile(gSettings.libDir + "prof/" + tableFile(name));
    m_grid.setChanged(false);
    fillTables(m_tables.isEmpty() ? -1 : 0);
    load(m_tables.isEmpty() ? -1 : 0);
}

void LibTablesPage::renameTable() {
    if (m_current < 0 || refuseUnclean()) return;
    const Vor_String old = m_tables[m_current];
    // texts: dialString 790-791, 9710-9711
    TextQuestion q{dialString(790), dialString(791), old, dialString(1), dialString(2)};
    if (!askText(this, q)) return;
    Vor_String name = q.text;
    name.trim();
    if (name == old) return;
    // the name is the first part of every system name and the name of a file: no "-", a single path
    // part, and none that another table has
    int other = -1;
    const bool taken = m_tables.find(name, other, false) && other != m_current;
    if (!base::isPathPart(tableFile(name).str()) || !base::isPathPart(name.str()) || name.contains("-") ||
        taken) {
        ui::messageBox((dialString(taken ? 9711 : 9710) + " <" + name + ">").str(), dialString(790).str(),
                       ui::MB_OK | ui::MB_ICONEXCLAMATION, this);
        return;
    }
    Vor_ProfValuesTable table = readBack();
    m_tables[m_current] = name;
    if (!table.writeToFile(tableFile(name))) {
        m_tables[m_current] = old;
        acutPrintf("*Error* The table %s could not be written.\n", name.c_str());
        return;
    }
    // on a file system that ignores case the old file is the new one
    if (!samePath(tableFile(old), tableFile(name))) deleteFile(gSettings.libDir + "prof/" + tableFile(old));
    fillTables(m_current);
    table.tableName = name;
    table.setToSS(m_grid);
    if (m_renamed) m_renamed(old, name);
}

bool LibTablesPage::onCommand(int id, int code) {
    int col = 1, row = 0;
    m_grid.GetActiveCell(col, row);
    if (id == IDC_TABLES && code == ui::CBN_SELCHANGE) {
        const int chosen = item(IDC_TABLES)->curSel();
        if (chosen == m_current) return true;
        if (!askSaveChanges()) {
            item(IDC_TABLES)->setCurSel(m_current);
            return true;
        }
        load(chosen);
        return true;
    }
    if (id == IDC_TYPE && (code == ui::CBN_SELCHANGE || code == ui::CBN_KILLFOCUS)) {
        if (Vor_String(item(IDC_TYPE)->text()) != m_appliedType && m_current >= 0) applyType(true);
        return true;
    }
    if (code != ui::BN_CLICKED) return false;
    const bool edits = id == IDC_FILL || id == IDC_PASTE || id == IDC_INSERT_ROW || id == IDC_DELETE_ROW ||
                       id == IDC_ROW_UP || id == IDC_ROW_DOWN;
    if (edits && refuseUnclean()) return true;
    switch (id) {
    case IDC_NEW:
        newTable();
        return true;
    case IDC_DELETE:
        deleteTable();
        return true;
    case IDC_RENAME:
        renameTable();
        return true;
    case IDC_FILL:
        if (m_current < 0 || !editTableOptions(m_grid, this)) return true;
        for (int r = 1; r <= m_grid.maxRows(); ++r)
            m_grid.setText(kHeaderAxis, r, m_tables[m_current]);
        applyType(false);
        return true;
    case IDC_COPY:
        m_grid.ClipboardCopy();
        return true;
    case IDC_PASTE:
        m_grid.ClipboardPaste();
        m_grid.setChanged(true);
        return true;
    case IDC_INSERT_ROW:
        if (m_current < 0) return true;
        if (m_grid.insertRow(std::min(row + 1, m_grid.maxRows() + 1), false, false)) {
            const int at = std::min(row + 1, m_grid.maxRows());
            m_grid.setText(kHeaderAxis, at, m_tables[m_current]);
            if (m_grid.maxCols() >= kFlagColumn) m_grid.setCheckBoxCell(kFlagColumn, at, false);
            m_grid.SetActiveCell(std::max(col, 1), at);
            m_grid.setChanged(true);
        }
        return true;
    case IDC_DELETE_ROW:
        if (row < 1 || row > m_grid.maxRows()) return true;
        m_grid.DelRow(row);
        m_grid.setMaxRows(m_grid.maxRows() - 1);
        m_grid.setChanged(true);
        return true;
    case IDC_ROW_UP:
        m_grid.moveCurrentRowUp();
        return true;
    case IDC_ROW_DOWN:
        m_grid.moveCurrentRowDown();
        return true;
    case IDC_FIND:
        m_grid.showFind(false);
        return true;
    }
    return false;
}
