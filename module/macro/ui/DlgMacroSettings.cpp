#include "macro/ui/DlgMacroSettings.h"

#include "macro/MacroSettingsHook.h"

#include "designer/DesignerFolder.h"
#include "frame/CatalogueTexts.h"
#include "frame/LauncherTable.h"
#include "frame/ModuleResourceScope.h"

#include <base/NumberText.h>
#include <cad/aced.h>
#include <host/Texts.h>
#include <host/VorJson.h>
#include <ui/Control.h>
#include <ui/Image.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMaxCellText = 255;

std::string textOf(const ui::Dialog* d, int id) {
    const ui::Control* c = d->item(id);
    return c ? c->text() : std::string();
}
void setTextOf(ui::Dialog* d, int id, const Vor_String& text) {
    if (ui::Control* c = d->item(id)) c->setText(text.str());
}
bool checked(const ui::Dialog* d, int id) {
    const ui::Control* c = d->item(id);
    return c && c->checkState() == ui::BST_CHECKED;
}
void setChecked(ui::Dialog* d, int id, bool on) {
    if (ui::Control* c = d->item(id)) c->setCheck(on ? ui::BST_CHECKED : ui::BST_UNCHECKED);
}
double numberOf(const ui::Dialog* d, int id) {
    return settingsNumberOf(textOf(d, id));
}
void setNumberOf(ui::Dialog* d, int id, double v) {
    setTextOf(d, id, settingsNumberText(v));
}

void setUpButtons(ui::Dialog* page, CButtonST& add, int addId, int addTip, CButtonST& remove, int removeId,
                  int removeTip) {
    add.subclassDlgItem(addId, page);
    add.setIcon(212);
    add.setTooltipText(dialString(addTip));
    remove.subclassDlgItem(removeId, page);
    remove.setIcon(206);
    remove.setTooltipText(dialString(removeTip));
}

/// Every column wide enough for its heading and texts, in either language.
void fitGrid(Vor_Spread& grid) {
    for (int c = 0; c <= grid.maxCols(); ++c)
        grid.fitColumn(c);
}

/// A grid of `cols` columns with `headings`, no rows yet.
void setUpGrid(Vor_Spread& grid, ui::Dialog* page, int id, std::initializer_list<int> headings) {
    grid.attach(page, id);
    grid.setStandardLook(1);
    grid.setMaxCols(static_cast<int>(headings.size()));
    int c = 1;
    for (int h : headings)
        grid.setText(c++, 0, dialString(h));
    grid.setMaxRows(0);
    fitGrid(grid);
}

/// Grid rows within the entry budget.
int gridRows(const Vor_Spread& grid) {
    return std::min(grid.maxRows(), kMaxSettingsEntries);
}

Vor_String cellText(const Vor_Spread& grid, int col, int row) {
    Vor_String t;
    grid.getText(col, row, kTextData, t);
    if (t.str().size() > static_cast<std::size_t>(kMaxSettingsText))
        t = Vor_String(t.str().substr(0, kMaxSettingsText));
    return t;
}

/// Adds a row at the end (within the entry budget), or deletes the active row.
void addGridRow(Vor_Spread& grid) {
    if (grid.maxRows() >= kMaxSettingsEntries) return;
    grid.SetEditMode(false);
    grid.setMaxRows(grid.maxRows() + 1);
}
void removeGridRow(Vor_Spread& grid) {
    grid.SetEditMode(false);
    int col = 1, row = 0;
    grid.GetActiveCell(col, row);
    if (row < 1 || row > grid.maxRows()) return; // no row chosen
    grid.DelRow(row);
    grid.setMaxRows(grid.maxRows() - 1);
}

} // namespace

Vor_String settingsNumberText(double value) {
    std::string out = "0.00";
    base::formatFixed(value, 2, out);
    return out;
}

double settingsNumberOf(const std::string& text) {
    const double v = base::parseLeadingNumber(text);
    if (!std::isfinite(v)) return 0;
    return std::clamp(v, -kMaxSettingsNumber, kMaxSettingsNumber);
}

// ---- the page base

bool DlgSettingsPage::preTranslateKey(const ui::KeyEvent& key) {
    if (key.vk != ui::VK_ESCAPE) return false;
    ui::Dialog* owner = getDlgOwner(this);
    if (owner && owner != this) owner->sendCommand(ui::IDCANCEL);
    return true; // never closes the page alone
}

void DlgSettingsPage::onDestroy() {
    if (m_record && !m_stored) store();
    m_stored = true;
}

// ---- entry selectors

void SettingsEntryGroup::setUp(bool checkCombo) {
    m_checkCombo = checkCombo;
    const int n = m_access.count();
    Vor_StringArray names;
    for (int i = 0; i < n; ++i)
        names.append(m_access.name(i));
    if (checkCombo && m_combo.subclassDlgItem(m_ids.selector, &m_page)) {
        // checked by index (names may repeat), the combo's text made once for all
        ui::Control* c = m_combo.control();
        c->fillAtOnce([&] {
            m_combo.fill(names);
            for (int i = 0; i < n; ++i)
                if (m_access.enabled(i)) c->setItemChecked(i, true);
        });
    } else {
        m_checkCombo = false;
        FillCombo(&m_page, m_ids.selector, names);
    }
    if (n == 0) {
        EnDisCtrl(&m_page, m_ids.selector, false);
        if (m_ids.enabledCheck) EnDisCtrl(&m_page, m_ids.enabledCheck, false);
        if (m_ids.groupBox) EnDisCtrl(&m_page, m_ids.groupBox, false);
        enableValues(false);
        m_shown = -1;
        return;
    }
    show(0);
}

void SettingsEntryGroup::enableValues(bool on) {
    for (int id : m_ids.values)
        EnDisCtrl(&m_page, id, on);
}

void SettingsEntryGroup::show(int index) {
    if (index < 0 || index >= m_access.count()) return;
    m_shown = index;
    if (ui::Control* c = m_page.item(m_ids.selector)) c->setCurSel(index);
    m_access.showValues(index);
    bool on = true;
    if (m_ids.enabledCheck) {
        on = m_access.enabled(index);
        setChecked(&m_page, m_ids.enabledCheck, on);
    }
    enableValues(on);
}

void SettingsEntryGroup::store() {
    if (m_shown < 0 || m_shown >= m_access.count()) return;
    if (m_ids.enabledCheck) {
        const bool on = checked(&m_page, m_ids.enabledCheck);
        m_access.setEnabled(m_shown, on);
        if (m_checkCombo) m_combo.setCheck(m_shown, on);
    }
    m_access.storeValues(m_shown);
}

void SettingsEntryGroup::selectorChanged() {
    // a check mark set in the list is the entry's enabled flag
    if (m_checkCombo && m_ids.enabledCheck)
        for (int i = 0; i < m_access.count() && i < m_combo.getCount(); ++i)
            if (i != m_shown) m_access.setEnabled(i, m_combo.getCheck(i));
    const ui::Control* c = m_page.item(m_ids.selector);
    const int chosen = c ? c->curSel() : -1;
    if (m_checkCombo && m_ids.enabledCheck && m_shown >= 0 && m_shown < m_combo.getCount() &&
        m_combo.getCheck(m_shown) != checked(&m_page, m_ids.enabledCheck)) {
        // the shown entry's mark was toggled in the list: the check box follows
        setChecked(&m_page, m_ids.enabledCheck, m_combo.getCheck(m_shown));
        enableValues(m_combo.getCheck(m_shown));
    }
    if (chosen < 0 || chosen == m_shown) return;
    store();
    show(chosen);
}

void SettingsEntryGroup::enabledClicked() {
    store();
    enableValues(checked(&m_page, m_ids.enabledCheck));
}

// ---- angle filters

DlgSettingsAnglePage::DlgSettingsAnglePage(MacroSettingsData* record)
    : DlgSettingsPage(IDD, record)
    , m_axis(*this,
             {IDC_AXIS_LIST,
              IDC_AXIS_ENABLED,
              IDC_AXIS_GROUP,
              {IDC_MODE0, IDC_MODE1, IDC_MODE0_PICTURE, IDC_MODE1_PICTURE, IDC_FIRST_LABEL, IDC_FIRST,
               IDC_SECOND_LABEL, IDC_SECOND}},
             {[this] { return m_record->axisAngles.length(); },
              [this](int i) { return m_record->axisAngles[i].name; },
              [this](int i) { return m_record->axisAngles[i].enabled; },
              [this](int i, bool on) { m_record->axisAngles[i].enabled = on; },
              [this](int i) {
                  const MacroAxisAngleFilter& f = m_record->axisAngles[i];
                  setChecked(this, IDC_MODE0, f.mode == 0);
                  setChecked(this, IDC_MODE1, f.mode != 0);
                  setNumberOf(this, IDC_FIRST, f.first);
                  setNumberOf(this, IDC_SECOND, f.second);
              },
              [this](int i) {
                  MacroAxisAngleFilter& f = m_record->axisAngles[i];
                  f.mode = checked(this, IDC_MODE0) ? 0 : 1;
                  f.first = numberOf(this, IDC_FIRST);
                  f.second = numberOf(this, IDC_SECOND);
              }})
    , m_section(*this,
                {IDC_SECTION_LIST,
                 IDC_SECTION_ENABLED,
                 IDC_SECTION_GROUP,
                 {IDC_GRID, IDC_ADD, IDC_REMOVE, IDC_SECTION_PICTURE}},
                {[this] { return m_record->sectionAngles.length(); },
                 [this](int i) { return m_record->sectionAngles[i].name; },
                 [this](int i) { return m_record->sectionAngles[i].enabled; },
                 [this](int i, bool on) { m_record->sectionAngles[i].enabled = on; },
                 [this](int i) {
                     const auto& pairs = m_record->sectionAngles[i].pairs;
                     m_grid.setMaxRows(pairs.length());
                     for (int r = 0; r < pairs.length(); ++r)
                         m_grid.setRow(r + 1, {settingsNumberText(pairs[r].first),
                                               settingsNumberText(pairs[r].second)});
                     fitGrid(m_grid);
                 },
                 [this](int i) {
                     m_grid.SetEditMode(false); // an open cell edit counts
                     Vor_Array<MacroValuePair> pairs;
                     for (int r = 1; r <= gridRows(m_grid); ++r) {
                         const MacroValuePair p{settingsNumberOf(cellText(m_grid, 1, r).str()),
                                                settingsNumberOf(cellText(m_grid, 2, r).str())};
                         if (p.first != 0 || p.second != 0) pairs.append(p); // an empty row is no pair
                     }
                     m_record->sectionAngles[i].pairs = pairs;
                 }}) {}

namespace {
// The illustration of a filter: a bitmap of the module's resources, its light grey see-through.
void setPicture(ui::Dialog* d, int id, int bitmap) {
    ui::Control* c = d->item(id);
    if (!c) return;
    ui::Image image = ui::Image::fromResource(bitmap);
    image.setTransparentColor(ui::rgb(192, 192, 192));
    c->setImage(image);
}
} // namespace

bool DlgSettingsAnglePage::onInitDialog() {
    const std::pair<int, int> texts[] = {
        {IDC_ON, 922},           {IDC_AXIS_GROUP, 923},    {IDC_AXIS_ENABLED, 925},
        {IDC_MODE0, 928},        {IDC_MODE1, 929},         {IDC_FIRST_LABEL, 926},
        {IDC_SECOND_LABEL, 927}, {IDC_SECTION_GROUP, 924}, {IDC_SECTION_ENABLED, 930}};
    setCatalogueTexts(*this, texts);
    setUpButtons(this, m_add, IDC_ADD, 920, m_remove, IDC_REMOVE, 921);
    setUpGrid(m_grid, this, IDC_GRID, {10710, 10711});
    setPicture(this, IDC_MODE0_PICTURE, 8760);
    setPicture(this, IDC_MODE1_PICTURE, 8761);
    setPicture(this, IDC_SECTION_PICTURE, 8762);
    if (!m_record) return true;
    setChecked(this, IDC_ON, m_record->angleFiltersOn);
    m_axis.setUp(true);
    m_section.setUp(true);
    return true;
}

bool DlgSettingsAnglePage::onCommand(int id, int code) {
    if (!m_record) return false;
    switch (id) {
    case IDC_AXIS_LIST:
        if (code == ui::CBN_SELCHANGE) m_axis.selectorChanged();
        return code == ui::CBN_SELCHANGE;
    case IDC_SECTION_LIST:
        if (code == ui::CBN_SELCHANGE) m_section.selectorChanged();
        return code == ui::CBN_SELCHANGE;
    case IDC_AXIS_ENABLED:
        if (code == ui::BN_CLICKED) m_axis.enabledClicked();
        return code == ui::BN_CLICKED;
    case IDC_SECTION_ENABLED:
        if (code == ui::BN_CLICKED) m_section.enabledClicked();
        return code == ui::BN_CLICKED;
    case IDC_ADD:
        if (code == ui::BN_CLICKED) addGridRow(m_grid);
        return code == ui::BN_CLICKED;
    case IDC_REMOVE:
        if (code == ui::BN_CLICKED) removeGridRow(m_grid);
        return code == ui::BN_CLICKED;
    default:
        return false;
    }
}

void DlgSettingsAnglePage::store() {
    if (!m_record) return;
    m_record->angleFiltersOn = checked(this, IDC_ON);
    m_axis.store();
    m_section.store();
}

// ---- size filters

DlgSettingsSizePage::DlgSettingsSizePage(MacroSettingsData* record)
    : DlgSettingsPage(IDD, record)
    , m_path(
          *this,
          {IDC_PATH_LIST,
           IDC_PATH_ENABLED,
           IDC_PATH_GROUP,
           {IDC_PATH_FIRST_LABEL, IDC_PATH_FIRST, IDC_PATH_SECOND_LABEL, IDC_PATH_SECOND, IDC_PATH_PICTURE}},
          {[this] { return m_record->pathDistances.length(); },
           [this](int i) { return m_record->pathDistances[i].name; },
           [this](int i) { return m_record->pathDistances[i].enabled; },
           [this](int i, bool on) { m_record->pathDistances[i].enabled = on; },
           [this](int i) {
               setNumberOf(this, IDC_PATH_FIRST, m_record->pathDistances[i].first);
               setNumberOf(this, IDC_PATH_SECOND, m_record->pathDistances[i].second);
           },
           [this](int i) {
               m_record->pathDistances[i].first = numberOf(this, IDC_PATH_FIRST);
               m_record->pathDistances[i].second = numberOf(this, IDC_PATH_SECOND);
           }})
    , m_size(*this,
             {IDC_SIZE_LIST,
              IDC_SIZE_ENABLED,
              IDC_SIZE_GROUP,
              {IDC_SIZE1_LABEL, IDC_SIZE1, IDC_SIZE2_LABEL, IDC_SIZE2, IDC_SIZE3_LABEL, IDC_SIZE3,
               IDC_SIZE4_LABEL, IDC_SIZE4, IDC_SIZE_PICTURE}},
             {[this] { return m_record->sectionSizes.length(); },
              [this](int i) { return m_record->sectionSizes[i].name; },
              [this](int i) { return m_record->sectionSizes[i].enabled; },
              [this](int i, bool on) { m_record->sectionSizes[i].enabled = on; },
              [this](int i) {
                  const int ids[4] = {IDC_SIZE1, IDC_SIZE2, IDC_SIZE3, IDC_SIZE4};
                  for (int k = 0; k < 4; ++k)
                      setNumberOf(this, ids[k], m_record->sectionSizes[i].values[k]);
              },
              [this](int i) {
                  const int ids[4] = {IDC_SIZE1, IDC_SIZE2, IDC_SIZE3, IDC_SIZE4};
                  for (int k = 0; k < 4; ++k)
                      m_record->sectionSizes[i].values[k] = numberOf(this, ids[k]);
              }}) {}

bool DlgSettingsSizePage::onInitDialog() {
    const std::pair<int, int> texts[] = {{IDC_ON, 1351},
                                         {IDC_PATH_GROUP, 933},
                                         {IDC_PATH_ENABLED, 934},
                                         {IDC_PATH_FIRST_LABEL, 935},
                                         {IDC_PATH_SECOND_LABEL, 936},
                                         {IDC_SIZE_GROUP, 937},
                                         {IDC_SIZE_ENABLED, 934},
                                         {IDC_SIZE1_LABEL, 938},
                                         {IDC_SIZE2_LABEL, 939},
                                         {IDC_SIZE3_LABEL, 940},
                                         {IDC_SIZE4_LABEL, 941}};
    setCatalogueTexts(*this, texts);
    setPicture(this, IDC_PATH_PICTURE, 8763);
    setPicture(this, IDC_SIZE_PICTURE, 8764);
    if (!m_record) return true;
    setChecked(this, IDC_ON, m_record->sizeFiltersOn);
    m_path.setUp(true);
    m_size.setUp(true);
    return true;
}

bool DlgSettingsSizePage::onCommand(int id, int code) {
    if (!m_record) return false;
    if (code == ui::CBN_SELCHANGE && (id == IDC_PATH_LIST || id == IDC_SIZE_LIST)) {
        (id == IDC_PATH_LIST ? m_path : m_size).selectorChanged();
        return true;
    }
    if (code == ui::BN_CLICKED && (id == IDC_PATH_ENABLED || id == IDC_SIZE_ENABLED)) {
        (id == IDC_PATH_ENABLED ? m_path : m_size).enabledClicked();
        return true;
    }
    return false;
}

void DlgSettingsSizePage::store() {
    if (!m_record) return;
    m_record->sizeFiltersOn = checked(this, IDC_ON);
    m_path.store();
    m_size.store();
}

// ---- designer templates

DlgSettingsTemplatePage::DlgSettingsTemplatePage(MacroSettingsData* record, Vor_StringArray templateNames)
    : DlgSettingsPage(IDD, record)
    , m_names(std::move(templateNames))
    , m_entries(*this, {IDC_TEMPLATES, 0, 0, {}},
                {[this] { return m_names.length(); }, [this](int i) { return m_names[i]; }, nullptr, nullptr,
                 [this](int i) {
                     const MacroTemplateTexts* t = m_part.findTemplate(m_names[i]);
                     const Vor_StringArray texts = t ? t->texts : Vor_StringArray();
                     m_grid.setMaxRows(texts.length());
                     m_grid.setColumn(1, texts);
                     fitGrid(m_grid);
                     setTextOf(this, IDC_TEXT, t ? t->text : Vor_String());
                 },
                 [this](int i) {
                     m_grid.SetEditMode(false);
                     Vor_StringArray texts;
                     for (int r = 1; r <= gridRows(m_grid); ++r)
                         texts.append(cellText(m_grid, 1, r));
                     std::string text = textOf(this, IDC_TEXT).substr(0, kMaxSettingsText);
                     if (texts.isEmpty() && text.empty() && !m_part.findTemplate(m_names[i]))
                         return; // nothing to keep for a template that had nothing
                     MacroTemplateTexts& t = m_part.templateEntry(m_names[i]);
                     t.texts = texts;
                     t.text = text;
                 }}) {
    if (record) {
        m_part.templateTexts = record->templateTexts;
        m_part.templates = record->templates;
    }
}

bool DlgSettingsTemplatePage::onInitDialog() {
    const std::pair<int, int> texts[] = {
        {IDC_CAPTION1, 957}, {IDC_CAPTION2, 958}, {IDC_CAPTION3, 959}, {IDC_CAPTION4, 960}};
    setCatalogueTexts(*this, texts);
    setUpButtons(this, m_add, IDC_ADD, 961, m_remove, IDC_REMOVE, 962);
    setUpGrid(m_grid, this, IDC_GRID, {85});
    if (!m_record) return true;
    FillCombo(this, IDC_TEXT, m_part.templateTexts);
    m_entries.setUp(false);
    return true;
}

bool DlgSettingsTemplatePage::onCommand(int id, int code) {
    if (!m_record) return false;
    if (id == IDC_TEMPLATES && code == ui::CBN_SELCHANGE) {
        m_entries.selectorChanged();
        return true;
    }
    if (code != ui::BN_CLICKED) return false;
    if (id == IDC_ADD) addGridRow(m_grid);
    if (id == IDC_REMOVE) removeGridRow(m_grid);
    return id == IDC_ADD || id == IDC_REMOVE;
}

void DlgSettingsTemplatePage::store() {
    if (m_record) m_entries.store();
}

void DlgSettingsTemplatePage::takeInto(MacroSettingsData& record) {
    if (!m_record) return;
    record.templateTexts = m_part.templateTexts;
    record.templates = m_part.templates;
}

// ---- choices

bool DlgSettingsChoicesPage::onInitDialog() {
    setTextOf(this, IDC_NOTE, dialString(942) + ".\n" + dialString(943) + ".");
    const std::pair<int, int> texts[] = {
        {IDC_FIRST_LABEL, 1388}, {IDC_SECOND_LABEL, 1392}, {IDC_NUMBER_LABEL, 1407}};
    setCatalogueTexts(*this, texts);
    setUpButtons(this, m_add, IDC_ADD, 896, m_remove, IDC_REMOVE, 897);
    setUpGrid(m_grid, this, IDC_GRID, {85, 10712});
    FillCombo(this, IDC_FIRST, {dialString(1385), dialString(1386), dialString(1387)});
    FillCombo(this, IDC_SECOND, {dialString(1389), dialString(1390), dialString(1391)});
    FillCombo(this, IDC_NUMBER, {"0", "1", "2", "3", "4"});
    if (!m_record) return true;
    if (ui::Control* c = item(IDC_FIRST)) c->setCurSel(m_record->firstChoice);
    if (ui::Control* c = item(IDC_SECOND)) c->setCurSel(m_record->secondChoice);
    setTextOf(this, IDC_NUMBER, std::to_string(m_record->number));
    m_grid.setMaxRows(m_record->choiceRows.length());
    for (int r = 0; r < m_record->choiceRows.length(); ++r)
        m_grid.setRow(r + 1,
                      {m_record->choiceRows[r].text, settingsNumberText(m_record->choiceRows[r].value)});
    fitGrid(m_grid);
    return true;
}

bool DlgSettingsChoicesPage::onCommand(int id, int code) {
    if (code != ui::BN_CLICKED) return false;
    if (id == IDC_ADD) addGridRow(m_grid);
    if (id == IDC_REMOVE) removeGridRow(m_grid);
    return id == IDC_ADD || id == IDC_REMOVE;
}

void DlgSettingsChoicesPage::store() {
    if (!m_record) return;
    m_grid.SetEditMode(false);
    if (const ui::Control* c = item(IDC_FIRST); c && c->curSel() >= 0) m_record->firstChoice = c->curSel();
    if (const ui::Control* c = item(IDC_SECOND); c && c->curSel() >= 0) m_record->secondChoice = c->curSel();
    m_record->number = static_cast<int>(
        std::clamp<long long>(base::parseLeadingInteger(textOf(this, IDC_NUMBER)), -1000000000, 1000000000));
    Vor_Array<MacroChoiceRow> rows;
    for (int r = 1; r <= gridRows(m_grid); ++r)
        rows.append({cellText(m_grid, 1, r), settingsNumberOf(cellText(m_grid, 2, r).str())});
    m_record->choiceRows = rows;
}

// ---- texts

bool DlgSettingsTextsPage::onInitDialog() {
    const std::pair<int, int> texts[] = {{IDC_LABEL1, 10713}, {IDC_LABEL2, 10714}, {IDC_NOTE, 10715}};
    setCatalogueTexts(*this, texts);
    setUpGrid(m_grid, this, IDC_GRID, {10716, 10717, 10718});
    if (!m_record) return true;
    setTextOf(this, IDC_TEXT1, m_record->text1);
    setTextOf(this, IDC_TEXT2, m_record->text2);
    const int n = m_record->textRows.length();
    m_grid.setMaxRows(n);
    Vor_StringArray choices{dialString(956)};
    for (int r = 1; r <= n; ++r)
        choices.append(Vor_String(std::to_string(r)));
    if (n > 0) m_grid.setColumnCombo(3, choices, false);
    for (int r = 0; r < n; ++r) {
        const MacroTextRow& row = m_record->textRows[r];
        const int choice = row.choice >= 0 && row.choice <= n ? row.choice : 0;
        m_grid.setRow(r + 1, {row.first, row.second, choices[choice]});
    }
    fitGrid(m_grid);
    return true;
}

void DlgSettingsTextsPage::store() {
    if (!m_record) return;
    m_grid.SetEditMode(false);
    m_record->text1 = textOf(this, IDC_TEXT1).substr(0, kMaxSettingsText);
    m_record->text2 = textOf(this, IDC_TEXT2).substr(0, kMaxSettingsText);
    Vor_Array<MacroTextRow> rows;
    const int n = gridRows(m_grid);
    for (int r = 1; r <= n; ++r) {
        const Vor_String choice = cellText(m_grid, 3, r);
        std::size_t used = 0;
        const long long number = base::parseLeadingInteger(choice.str(), &used);
        rows.append({cellText(m_grid, 1, r), cellText(m_grid, 2, r),
                     used > 0 && number >= 1 && number <= n ? static_cast<int>(number) : 0});
    }
    m_record->textRows = rows;
}

// ---- the tabbed dialog

DlgMacroSettings::DlgMacroSettings(const MacroSettingsData& record, Vor_StringArray templateNames)
    : ui::Dialog(IDD)
    , data(record)
    , m_angle(&data)
    , m_size(&data)
    , m_templates(&data, std::move(templateNames))
    , m_choices(&data)
    , m_texts(&data) {}

bool DlgMacroSettings::onInitDialog() {
    setWindowText(dialString(916).str());
    const std::pair<int, int> texts[] = {{ui::IDOK, 1}, {ui::IDCANCEL, 2}};
    setCatalogueTexts(*this, texts);
    m_pages.attach(this, IDC_TABS);
    const std::pair<DlgSettingsPage*, int> pages[] = {
        {&m_angle, 917}, {&m_size, 918}, {&m_templates, 919}, {&m_choices, 875}, {&m_texts, 755}};
    for (const auto& [page, text] : pages) {
        page->setOwner(this);
        m_pages.addPage(*page, dialString(text).str());
    }
    m_pages.show(0);
    return true;
}

bool DlgMacroSettings::onCommand(int id, int code) {
    return m_pages.onCommand(id, code);
}

void DlgMacroSettings::onOK() {
    endDialog(ui::IDOK); // the pages store into the record as their windows go
}

void DlgMacroSettings::onDestroy() {
    m_pages.destroy();
    m_templates.takeInto(data);
}

bool StartDlgMacroSettings(MacroSettingsData& record, const Vor_StringArray& templateNames) {
    ModuleResourceScope scope;
    Vor_StringArray names = templateNames;
    if (names.isEmpty()) getModuleImages(names);
    DlgMacroSettings dlg(record, names);
    if (dlg.doModal() != ui::IDOK) return false;
    record = dlg.data;
    return true;
}

bool StartDlgMacroSettings(AcDbObjectId macro, Vor_String* error) {
    MacroSettingsData record;
    if (!GetMacroSettings(macro, record, error)) return false;
    if (!StartDlgMacroSettings(record)) return false;
    return SetMacroSettings(macro, record, error);
}

namespace {
const bool registered = registerJsonLauncher(
    "StartDlgMacroSettings",
    [](const nlohmann::json& in, nlohmann::json& out) {
        Vor_StringArray names;
        if (in.contains("templates")) names = in.at("templates").get<Vor_StringArray>();
        if (in.contains("data")) { // a record of its own, no drawing
            MacroSettingsData record = in.at("data").get<MacroSettingsData>();
            out["result"] = StartDlgMacroSettings(record, names);
            out["data"] = record;
            return;
        }
        const std::string name = in.value("macro", std::string());
        const AcDbObjectId id = cad::curDrawing().findByName(name);
        MacroSettingsData record;
        Vor_String error;
        if (id.isNull() || !GetMacroSettings(id, record, &error)) {
            out["result"] = false;
            out["error"] = id.isNull() ? string(10345).str() + " " + name : error.str();
            return;
        }
        const bool ok = StartDlgMacroSettings(record, names);
        if (ok && !SetMacroSettings(id, record, &error)) {
            out["result"] = false;
            out["error"] = error.str();
            return;
        }
        out["result"] = ok;
        out["data"] = record;
    },
    R"({"data": {"angleFiltersOn": true,
        "axisAngles": [{"name": "Column", "enabled": true, "mode": 0, "first": 0, "second": 90},
                       {"name": "Rafter", "enabled": false, "mode": 1, "first": 5, "second": 175}],
        "sectionAngles": [{"name": "Flange", "enabled": true, "pairs": [[0, 45], [90, 135]]}],
        "pathDistances": [{"name": "Beam", "enabled": true, "first": 0, "second": 6000}],
        "sectionSizes": [{"name": "I-sections", "enabled": true, "values": [100, 600, 50, 300]}],
        "templateTexts": ["Standard", "Heavy"],
        "templates": [{"name": "EndPlate", "texts": ["Standard", "Heavy"], "text": "Standard"}],
        "firstChoice": 0, "secondChoice": 1, "number": 2,
        "choiceRows": [{"text": "Gap", "value": 10}],
        "text1": "Plate", "text2": "Bolts",
        "textRows": [{"first": "PL", "second": "Plate", "choice": 0}, {"first": "B", "second": "Bolt", "choice": 1}]},
        "templates": ["EndPlate", "BasePlate"]})");
} // namespace

bool runMacroSettingsDialog(AcDbObjectId macro) {
    Vor_String error;
    if (StartDlgMacroSettings(macro, &error)) return true;
    if (!error.isEmpty()) acutPrintf("%s\n", error.c_str());
    return false;
}
