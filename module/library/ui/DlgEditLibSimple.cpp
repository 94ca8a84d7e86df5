#include "library/ui/DlgEditLibSimple.h"

#include "frame/CatalogueTexts.h"
#include "frame/LauncherTable.h"
#include "library/ProfSectionImages.h"
#include "library/SectionProperties.h"
#include "library/SectionTypeCodes.h"

#include <base/PathPart.h>
#include <host/MacroLangs.h>
#include <host/Texts.h>
#include <host/VorJson.h>
#include <ui/Agent.h>
#include <ui/Control.h>
#include <ui/Image.h>

namespace {
int labelId(int field) {
    return DlgEditLibSimple::IDC_LABEL_A + 2 * field;
}
int valueId(int field) {
    return DlgEditLibSimple::IDC_VALUE_A + 2 * field;
}
} // namespace

bool DlgEditLibSimple::onInitDialog() {
    // texts: dialString 796-797, 1377-1378
    setWindowText(dialString(796).str());
    const std::pair<int, int> texts[] = {{IDC_NAME_FRAME, 797}, {IDC_NAME_LABEL, 797}, {IDC_AUTOMATIC, 1377},
                                         {IDC_TYPED, 1378},     {ui::IDOK, 1},         {ui::IDCANCEL, 2}};
    setCatalogueTexts(*this, texts);

    const Vor_String picture = profSectionImageName(m_table.typeCode, "", true);
    m_picture.subclassDlgItem(IDC_PICTURE, this);
    if (picture.isEmpty() || !m_picture.setImage(ui::Image::fromFile((profIconsFolder() + picture).str())))
        item(IDC_PICTURE)->showWindow(ui::SW_HIDE);

    if (!m_table.findSysName(m_startKey, m_currentRow)) m_currentRow = -1;
    m_pattern = learnNamePattern(m_table, m_currentRow < 0 ? m_table.rows.length() : m_currentRow);

    Vor_StringArray row;
    m_table.getRow(row, m_currentRow);
    const int langColumn = m_table.getColumnIdx(gMacroLangs.GetCurLanguage());
    item(IDC_NAME)->setText(langColumn >= 0 && langColumn < row.length() ? row[langColumn].str() : "");
    // the property names of the type, or the table's own names where the type has none
    const bool userSection = !isProfTypeCode(m_table.typeCode);
    const Vor_StringArray typeNames =
        userSection ? Vor_StringArray() : sectionPropertyHeaders(m_table.typeCode.toInt());
    const int firstValue = firstValueColumn();
    m_shownFields = 0;
    for (int i = 0; i < kFields; ++i) {
        const int column = firstValue + i;
        const bool shown = column < row.length();
        if (shown) {
            Vor_String property = i < typeNames.length()                  ? typeNames[i]
                                  : column < m_table.columnNames.length() ? m_table.columnNames[column]
                                                                          : Vor_String();
            if (userSection) property = gMacroLangs.GetString("Prof", property);
            item(labelId(i))
                ->setText((Vor_String(std::string(1, char('A' + i))) + ". " + property + ":").str());
            item(valueId(i))->setText(row[column].str());
            if (m_shownFields == i) ++m_shownFields;
        }
        item(labelId(i))->showWindow(shown ? ui::SW_SHOW : ui::SW_HIDE);
        item(valueId(i))->showWindow(shown ? ui::SW_SHOW : ui::SW_HIDE);
    }
    item(IDC_AUTOMATIC)->setCheck(ui::BST_CHECKED);
    item(IDC_TYPED)->setCheck(ui::BST_UNCHECKED);
    item(IDC_NAME)->enableWindow(false);
    m_derivedShown.assign(std::size_t(m_shownFields), std::nullopt);
    m_ready = true;
    showDerived();
    updateName();
    return true;
}

bool DlgEditLibSimple::isDerivedField(int field) const {
    const int column = firstValueColumn() + field;
    return column < m_table.columnNames.length() &&
           isDerivedColumn(derivedTypeCode(m_table.typeCode), m_table.columnNames[column]);
}

void DlgEditLibSimple::showDerived() {
    Vor_StringArray current, row;
    if (!m_ready || !m_table.getRow(current, m_currentRow)) return;
    row = current;
    const Vor_StringArray fields = fieldTexts();
    for (int i = 0; i < fields.length(); ++i)
        if (firstValueColumn() + i < row.length() && !isDerivedField(i))
            row[firstValueColumn() + i] = fields[i];
    Vor_StringArray leftEmpty;
    fillDerivedColumns(m_table, firstValueColumn(), {}, row, leftEmpty);
    m_ready = false; // the texts set here change no dimension
    for (int i = 0; i < fields.length(); ++i) {
        const int column = firstValueColumn() + i;
        if (!isDerivedField(i) || column >= row.length()) continue;
        // a value the person typed over stays
        if (m_derivedShown[std::size_t(i)] && fields[i] != *m_derivedShown[std::size_t(i)]) continue;
        item(valueId(i))->setText(row[column].str());
        m_derivedShown[std::size_t(i)] = row[column];
    }
    m_ready = true;
}

bool DlgEditLibSimple::automatic() const {
    return item(IDC_AUTOMATIC)->checkState() == ui::BST_CHECKED;
}

Vor_StringArray DlgEditLibSimple::fieldTexts() const {
    Vor_StringArray out;
    for (int i = 0; i < m_shownFields; ++i)
        out.append(Vor_String(item(valueId(i))->text()));
    return out;
}

void DlgEditLibSimple::updateName() {
    if (automatic()) item(IDC_NAME)->setText(composeName(m_pattern, fieldTexts()).str());
}

bool DlgEditLibSimple::onCommand(int id, int code) {
    if ((id == IDC_AUTOMATIC || id == IDC_TYPED) && code == ui::BN_CLICKED) {
        item(IDC_NAME)->enableWindow(!automatic());
        updateName();
        return true;
    }
    if (id >= IDC_VALUE_A && id <= IDC_VALUE_H && (id - IDC_VALUE_A) % 2 == 0 && code == ui::EN_CHANGE) {
        // the derived values follow the dimensions as they are typed
        if (m_ready && !isDerivedField((id - IDC_VALUE_A) / 2)) showDerived();
        updateName();
        return true;
    }
    return false;
}

void DlgEditLibSimple::onOK() {
    Vor_StringArray current, row;
    if (!m_table.getRow(current, m_currentRow) ||
        !buildNewRow(current, m_pattern, automatic(), item(IDC_NAME)->text(), fieldTexts(), row))
        return;
    if (!isValidNewRow(m_table.typeCode, row)) {
        // texts: dialString 888, 1098, 1457-1458
        const Vor_String text = dialString(1457) + "\n" + dialString(1458) + "\n\n" + dialString(888) + ".";
        ui::messageBox(text.str(), dialString(1098).str(), ui::MB_OK | ui::MB_ICONWARNING, this);
        return;
    }
    int existing = -1;
    if (m_table.findSysName(row[0], existing)) {
        // two rows of one key would be one section twice: the person changes a dimension or the name
        // texts: dialString 9714
        Vor_String text = dialString(9714);
        text.replace("%1", row[0]);
        ui::messageBox(text.str(), dialString(796).str(), ui::MB_OK | ui::MB_ICONEXCLAMATION, this);
        return;
    }
    // Area, mass and section properties follow from the new dimensions, never from the example's
    // row; a derived value the person typed over stays as typed.
    std::vector<int> typed;
    const Vor_StringArray fields = fieldTexts();
    for (int i = 0; i < fields.length() && i < int(m_derivedShown.size()); ++i)
        if (isDerivedField(i) && m_derivedShown[std::size_t(i)] &&
            fields[i] != *m_derivedShown[std::size_t(i)])
            typed.push_back(firstValueColumn() + i);
    Vor_StringArray leftEmpty;
    fillDerivedColumns(m_table, firstValueColumn(), typed, row, leftEmpty);
    if (!leftEmpty.isEmpty()) {
        // texts: dialString 9715
        Vor_String list;
        for (const Vor_String& h : leftEmpty)
            list += (list.isEmpty() ? "" : ", ") + h;
        Vor_String text = dialString(9715);
        text.replace("%1", list);
        ui::messageBox(text.str(), dialString(796).str(), ui::MB_OK | ui::MB_ICONINFORMATION, this);
    }
    const int at = sortedInsertIndex(m_table, row[0]);
    m_table.rows.insertAt(at, row);
    m_resultIndex = m_table.getfilteredIdx(at);
    endDialog(ui::IDOK);
}

bool StartDlgEditLibSimple(const Vor_String& key, Vor_ProfValuesTable& table, int& index) {
    DlgEditLibSimple dlg(key, table);
    if (dlg.doModal() != ui::IDOK) return false;
    table = dlg.m_table;
    index = dlg.m_resultIndex;
    return true;
}

namespace {
// A table of the library folder gets a size; on OK the table file is written with it.
const bool registered = registerJsonLauncher(
    "StartDlgEditLibSimple",
    [](const nlohmann::json& in, nlohmann::json& out) {
        const std::string name = in.value("table", std::string());
        // the table name becomes a file of the library's prof/ folder, which is written on OK
        if (const std::string fault = base::pathPartFault(name); !fault.empty()) {
            out["result"] = false;
            out["error"] = "table \"" + name + "\": " + fault;
            return;
        }
        Vor_ProfValuesTable table;
        if (!table.readFromFile(name + ".pr")) {
            out["result"] = false;
            out["error"] = "no table " + name;
            return;
        }
        if (!table.readCleanly()) {
            // what the reader could not take would be lost by writing the table back
            out["result"] = false;
            out["error"] = table.problems().isEmpty() ? "table " + name + " was not read cleanly"
                                                      : table.problems()[0].str();
            return;
        }
        int index = -1;
        const bool ok = StartDlgEditLibSimple(in.value("key", std::string()), table, index);
        out["result"] = ok;
        out["index"] = index;
        if (ok) out["saved"] = table.writeToFile(name + ".pr");
    },
    R"({"table": "IPE", "key": "200"})");
} // namespace
