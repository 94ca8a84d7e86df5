#include "macro/ui/DesignedTabBinding.h"

#include "designer/DesignerFolder.h"
#include "frame/AskText.h"
#include "frame/ModuleResourceScope.h"
#include "library/SectionLists.h"
#include "macro/EditTabRecords.h"
#include "macro/ProfPlacement.h"
#include "macro/ui/DlgArray.h"
#include "macro/ui/DlgMacroPage.h"

#include <base/FileRead.h>
#include <base/NumberText.h>
#include <host/FileUtils.h>
#include <host/MacroLangs.h>
#include <host/Settings.h>
#include <host/Texts.h>
#include <ui/Agent.h>
#include <ui/Control.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <string>
#include <system_error>

namespace {

// texts: dialString 10550-10551
constexpr int kTextNotANumber = 10550; ///< "The dimension you typed is no number:", then the text
constexpr int kTextNothingChanged = 10551;

/// The rotations the profile's edit combo offers; any other may be typed.
const char* const kRotations[] = {"0", "90", "180", "270"};

/// A number shown in a window, as a person may have typed it; false when it is none.
bool numberOf(const Vor_String& text, double& out) {
    return base::readTypedNumber(text.str(), out) == base::TypedNumber::Number;
}

Vor_String fixed5(double v) {
    std::string s;
    if (!base::formatFixed(v, 5, s)) return Vor_String();
    return Vor_String(s);
}

/// Fills a drop-down combo with `items` and selects `current` (the first item that equals it).
void fillAndSelect(ui::Control* combo, const Vor_StringArray& items, const Vor_String& current) {
    if (!combo) return;
    ui::Control::Silence quiet(*combo);
    combo->resetContent();
    for (const Vor_String& s : items)
        combo->addString(s.str());
    const int at = combo->findStringExact(current.str());
    if (at >= 0)
        combo->setCurSel(at);
    else
        combo->setText(current.str()); // an editable combo shows a value it does not list
}

/// The array field a designed array edit (types 18 to 22) shows.
Vor_String* arrayField(DynArrayData& a, int type) {
    switch (type) {
    case ctArrayEdit1:
        return &a.distance;
    case ctArrayEdit2:
        return &a.minimum;
    case ctArrayEdit3:
        return &a.third; // the number of parts of a fixed-number array
    case ctArrayEdit4:
        return &a.maximum;
    case ctArrayEdit5:
        return &a.startOffset;
    default:
        return nullptr;
    }
}

/// Whether a designed array control shows something of an array of this kind: the number of
/// parts only for a fixed-number array, an entry only for the other kinds.
bool arrayControlApplies(const DynArrayData& a, int type) {
    if (type == ctArrayEdit3) return a.kind == 1;
    if (type == ctArrayEdit6) return a.kind != 1;
    return true;
}

/// The entry an entry edit (type 23) shows: its number is in the control's list field.
DynArrayEntry* entryOf(DynArrayData& a, const Vor_DesignerControl& c) {
    double n = 0;
    if (!numberOf(c.comboList, n)) return nullptr;
    const DynArrayEntry* e = a.getEntry(static_cast<int>(n));
    return const_cast<DynArrayEntry*>(e);
}

} // namespace

LinkedName splitLinkedName(const Vor_String& text) {
    LinkedName out;
    out.name = text;
    if (text.startsWith("-")) {
        out.negated = true;
        out.name = text.mid(1);
    }
    return out;
}

MacroTabData& DesignedTabBinding::tab() const {
    return m_page.tab();
}

bool DesignedTabBinding::open(const ui::Rect& frame, std::string* error) {
    if (error) error->clear();
    m_designed.close();
    if (tab().designTemplate.isEmpty()) return false;
    return m_designed.open(m_page, frame, templatePathFromName(tab().designTemplate), kFirstId, error);
}

Vor_String DesignedTabBinding::shownText(int resId) const {
    Vor_String v;
    if (!m_designed.text(resId, v)) {
        if (const ui::Control* c = m_page.item(resId)) v = Vor_String(c->text());
    }
    return v;
}

void DesignedTabBinding::bind() {
    tab().removeAllDlgReferences();
    if (!m_designed.isOpen()) return;
    for (int i = 0; i < m_designed.count(); ++i)
        bindControl(m_designed.control(i));
}

void DesignedTabBinding::bindControl(const Vor_DesignerControl& c) {
    MacroTabData& t = tab();
    const int id = c.resId;
    ui::Control* wnd = m_page.item(id);
    if (wnd && (c.type == ctCheckBox || c.type == ctCellButton1 || c.type == ctCellButton2))
        // their caption, in the interface's language when the library translates it
        wnd->setText(MacroLangs::GetStringChopSymbols(gMacroLangs.GetString("Design", c.contents)).str());
    switch (c.type) {
    case ctText:
    case ctGroupBox:
        // a caption that names a cell shows the cell's text; other captions are shown in the
        // interface's language when the library translates them (group "Design")
        if (const MacroCell* cell = t.findCellWithName(c.contents))
            m_designed.setText(id, MacroLangs::GetStringChopSymbols(cell->value));
        else
            m_designed.setText(id,
                               MacroLangs::GetStringChopSymbols(gMacroLangs.GetString("Design", c.contents)));
        break;
    case ctVarEdit:
    case ctVarCombo:
    case ctCheckBox: {
        // a check box names its cell by its caption, or by its list field
        MacroCell* cell = t.findCellWithName(c.contents);
        if (!cell && c.type == ctCheckBox) cell = t.findCellWithName(c.comboList);
        if (!cell) break;
        cell->ctrlRef = id;
        m_designed.setText(id, c.type == ctCheckBox ? MacroLangs::GetStringChopSymbols(cell->value)
                                                    : cell->value);
        // a fixed cell is the flex-fix group's to change, not the person's
        m_designed.engine().setCtrlReadOnly(id, cell->flag);
        break;
    }
    case ctBoltCount1:
    case ctBoltCount2: {
        const MacroPatternProps* p = t.findPatternWithName(c.contents);
        if (!p) break;
        const int half = c.type == ctBoltCount1 ? 0 : 1;
        if (half == 1 && p->getCount(1) == -1) break;
        m_designed.setText(id, p->halves[half].count);
        break;
    }
    case ctPatternProps:
        if (MacroPatternProps* p = t.findPatternWithName(c.contents)) {
            p->btnId = id;
            m_designed.setText(id, dialString(969));
        }
        break;
    case ctPatternList:
        if (const MacroPatternProps* p = t.findPatternWithName(c.contents))
            fillAndSelect(wnd, {p->value(0)}, p->value(0));
        break;
    case ctPatternEdit1:
    case ctPatternEdit2:
    case ctPatternEdit3:
    case ctPatternEdit4:
        if (const MacroPatternProps* p = t.findPatternWithName(c.contents))
            m_designed.setText(id, p->value(c.type - ctPatternList));
        break;
    case ctProfSection:
    case ctProfButton1:
    case ctProfOffsetType:
    case ctProfEditCombo: {
        MacroProfData props;
        if (!t.findProfDataWithGroup(c.contents) || !t.getMergedPropsOfGroup(c.contents, props)) break;
        if (c.type == ctProfSection) {
            Vor_StringArray sysNames;
            fillProfileCombo(wnd, sysNames, sectionSysName(props.section));
        } else if (c.type == ctProfButton1) {
            t.setProfButtonId(c.contents, id);
            m_designed.setText(id, dialString(969));
        } else if (c.type == ctProfOffsetType) {
            const Vor_StringArray items = MacroProfData::getOffsetTypeStrings();
            const int at = MacroProfData::getDlgOffsetType(props.offsetType);
            fillAndSelect(wnd, items, at >= 0 && at < items.length() ? items[at] : Vor_String());
        } else {
            Vor_StringArray items;
            for (const char* r : kRotations)
                items.append(Vor_String(r));
            fillAndSelect(wnd, items, props.rotation);
        }
        break;
    }
    case ctArrayEdit1:
    case ctArrayEdit2:
    case ctArrayEdit3:
    case ctArrayEdit4:
    case ctArrayEdit5:
    case ctArrayEdit6: {
        DynArrayData* a = t.findArrayWithName(c.contents);
        if (!a || !arrayControlApplies(*a, c.type)) break;
        if (Vor_String* f = arrayField(*a, c.type))
            m_designed.setText(id, *f);
        else if (const DynArrayEntry* e = entryOf(*a, c))
            m_designed.setText(id, e->offset);
        break;
    }
    case ctArrayButton:
        if (DynArrayData* a = t.findArrayWithName(c.contents)) a->btnId = id;
        break;
    case ctListCombo:
        if (t.hasDrawingFile) {
            Vor_StringArray items = drawingFilesIn(gSettings.libDir);
            items.append(dialString(695));
            fillAndSelect(wnd, items, t.drawingFile);
        }
        break;
    case ctChoiceCombo:
        if (const MacroCutData* cut = t.findCutWithName(c.contents))
            // the combo's fifth entry is the varies text
            m_designed.setText(id, Vor_String(std::to_string(cut->choice < 0 ? 4 : cut->choice)));
        break;
    case ctFlexButton:
        if (const MacroFlexFixGroup* g = t.findFlexFixGroup(c.flexGroup)) {
            int at = -1;
            if (g->cells.find(c.contents, at, false) && at < g->flexible.length())
                m_designed.engine().setFlexBtnStatus(c.flexGroup, c.contents, g->flexible[at] ? 1 : 0);
        }
        break;
    default: // buttons that show their designed caption; dimension controls show no value
        break;
    }
}

bool DesignedTabBinding::showsName(const Vor_String& name, int firstType, int lastType) const {
    for (int i = 0; i < m_designed.count(); ++i) {
        const Vor_DesignerControl& c = m_designed.control(i);
        if (c.type >= firstType && c.type <= lastType && c.contents.equal(name, false)) return true;
    }
    return false;
}

void DesignedTabBinding::store() {
    if (m_designed.isOpen())
        for (int i = 0; i < m_designed.count(); ++i)
            storeControl(m_designed.control(i));
    // after the controls: a button's change wins over what another control of the element shows
    std::vector<std::function<void(MacroTabData&)>> pending;
    pending.swap(m_pending);
    for (const auto& change : pending)
        change(tab());
}

void DesignedTabBinding::storeControl(const Vor_DesignerControl& c) {
    MacroTabData& t = tab();
    const int id = c.resId;
    const ui::Control* wnd = m_page.item(id);
    if (!wnd) return;
    const Vor_String text = shownText(id);
    switch (c.type) {
    case ctVarEdit:
    case ctVarCombo:
    case ctCheckBox: {
        MacroCell* cell = t.findCellWithName(c.contents);
        if (!cell && c.type == ctCheckBox) cell = t.findCellWithName(c.comboList);
        // only the control the cell is bound to writes it
        if (cell && cell->ctrlRef == id) cell->value = text;
        break;
    }
    case ctBoltCount1:
    case ctBoltCount2:
        if (MacroPatternProps* p = t.findPatternWithName(c.contents)) {
            const int half = c.type == ctBoltCount1 ? 0 : 1;
            if (half == 0 || p->getCount(1) != -1) p->halves[half].count = text;
        }
        break;
    case ctPatternList:
    case ctPatternEdit1:
    case ctPatternEdit2:
    case ctPatternEdit3:
    case ctPatternEdit4:
        if (MacroPatternProps* p = t.findPatternWithName(c.contents))
            p->setValue(c.type - ctPatternList, text);
        break;
    case ctProfSection:
    case ctProfOffsetType:
    case ctProfEditCombo: {
        MacroProfData props;
        if (!t.getMergedPropsOfGroup(c.contents, props)) break;
        if (c.type == ctProfSection) {
            Vor_StringArray sysNames, shown;
            Vor_String select;
            profileComboItems(sectionSysName(props.section), sysNames, shown, select);
            const int sel = wnd->curSel();
            if (sel < 0 || sel >= sysNames.length() || isVaries(shown[sel])) break;
            props.section = sectionOfSysName(sysNames[sel]);
        } else if (c.type == ctProfOffsetType) {
            const int sel = wnd->curSel();
            if (sel <= 0) break; // nothing chosen, or the varies entry: each macro keeps its own
            props.offsetType = MacroProfData::getProfOffsetType(sel);
        } else {
            props.rotation = text;
        }
        t.setMergedPropsOfGroup(c.contents, props);
        break;
    }
    case ctArrayEdit1:
    case ctArrayEdit2:
    case ctArrayEdit3:
    case ctArrayEdit4:
    case ctArrayEdit5:
    case ctArrayEdit6: {
        DynArrayData* a = t.findArrayWithName(c.contents);
        if (!a || !arrayControlApplies(*a, c.type)) break;
        if (Vor_String* f = arrayField(*a, c.type))
            *f = text;
        else if (DynArrayEntry* e = entryOf(*a, c))
            e->offset = text;
        break;
    }
    case ctChoiceCombo:
        if (MacroCutData* cut = t.findCutWithName(c.contents)) {
            double n = -1;
            // the varies entry (4) leaves each macro's own choice
            if (numberOf(text, n) && n >= 0 && n < 4) cut->choice = static_cast<int>(n);
        }
        break;
    default:
        break;
    }
}

DesignedTabBinding::Result DesignedTabBinding::onCommand(int id, int code) {
    if (!m_designed.isOpen()) return Result::NotMine;
    const int i = m_designed.indexOfId(id);
    if (i < 0) return Result::NotMine;
    const Vor_DesignerControl c = m_designed.control(i);
    MacroPageHost& host = m_page.host();
    switch (c.type) {
    case ctArrayButton:
        if (code != ui::BN_CLICKED) return Result::Ignored;
        return editArrayOfTab(host.macroData(), m_page.tabIndex(), id, host.registrySlot())
                   ? Result::Committed
                   : Result::Ignored;
    case ctPatternProps:
        if (code != ui::BN_CLICKED) return Result::Ignored;
        // the pattern dialog commits every change itself, also what Cancel puts back
        editPatternOfTab(host.macroData(), m_page.tabIndex(), id, host.registrySlot());
        return Result::Committed;
    case ctCheckBox:
        return code == ui::BN_CLICKED ? Result::Changed : Result::Ignored;
    case ctCellButton1:
    case ctCellButton2:
        return code == ui::BN_CLICKED && runDimensionControl(id) ? Result::Changed : Result::Ignored;
    case ctFlexButton:
        return code == ui::BN_CLICKED && flexButtonClicked(id) ? Result::Changed : Result::Ignored;
    case ctProfButton1:
        return code == ui::BN_CLICKED && profileButtonClicked(id) ? Result::Changed : Result::Ignored;
    case ctListCombo:
        return code == ui::CBN_SELCHANGE && drawingFileChosen(c) ? Result::Committed : Result::Ignored;
    default:
        break;
    }
    // an edit commits when it loses the focus, a combo when another entry is chosen or it loses
    // the focus; typing alone writes nothing into the drawing yet
    const bool change = code == ui::EN_KILLFOCUS || code == ui::CBN_SELCHANGE || code == ui::CBN_KILLFOCUS;
    return change ? Result::Changed : Result::Ignored;
}

bool DesignedTabBinding::flexButtonClicked(int id) {
    Vor_DlgDesignerData& engine = m_designed.engine();
    Vor_String group, name;
    int i = -1, status = -1;
    if (!engine.getFlexBtnGroupName(id, group, name) || !engine.findFlexButton(group, name, i) ||
        !engine.getFlexBtnStatus(i, status))
        return false;
    if (status != ui::BST_UNCHECKED && status != ui::BST_CHECKED) return false;
    // only a button of a group the tab has, naming one of its cells, changes something
    MacroTabData probe = tab();
    if (!probe.flexFixBtnClicked(group, name, status == ui::BST_CHECKED)) return false;
    m_pending.push_back([group, name, status](MacroTabData& t) {
        t.flexFixBtnClicked(group, name, status == ui::BST_CHECKED);
    });
    return true;
}

bool DesignedTabBinding::profileButtonClicked(int id) {
    MacroTabData& t = tab();
    const MacroProfData* group = t.findProfDataWithButtonId(id);
    if (!group) return false;
    const Vor_String groupName = group->groupName;
    MacroProfData props;
    if (!t.getMergedPropsOfGroup(groupName, props)) return false;
    Vor_String section = sectionSysName(props.section);
    Vor_StringArray sysNames;
    ModuleResourceScope scope;
    if (!chooseOtherSection(nullptr, sysNames, section)) return false;
    props.section = sectionOfSysName(section);
    m_pending.push_back(
        [groupName, props](MacroTabData& into) { into.setMergedPropsOfGroup(groupName, props); });
    return true;
}

bool DesignedTabBinding::drawingFileChosen(const Vor_DesignerControl& c) {
    const ui::Control* combo = m_page.item(c.resId);
    if (!combo || !tab().hasDrawingFile) return false;
    const int sel = combo->curSel();
    if (sel < 0) return false;
    const Vor_String name(combo->itemText(sel));
    // the varies entry names no drawing: each macro keeps its own
    if (name.isEmpty() || isVaries(name)) return false;
    const Vor_String path = folderWithSlash(gSettings.libDir) + name + ".dwg";
    return m_page.host().macroData().swapBlockRefs(path);
}

bool DesignedTabBinding::runDimensionControl(int id) {
    const int index = m_designed.indexOfId(id);
    if (index < 0) return false;
    const Vor_DesignerControl c = m_designed.control(index);
    if (c.type != ctCellButton1 && c.type != ctCellButton2) return false;
    const bool offsetKind = c.type == ctCellButton2;
    MacroTabData& t = tab();
    const LinkedName a = splitLinkedName(c.cellField2), b = splitLinkedName(c.cellField3);

    // the windows that show the linked cells
    ui::Control* windowB = nullptr;
    if (const MacroCell* cellB = t.findCellWithName(b.name); cellB && cellB->ctrlRef > 0)
        windowB = m_page.item(cellB->ctrlRef);
    double v = 0;
    if (offsetKind) {
        if (!windowB || !numberOf(Vor_String(windowB->text()), v)) return false;
    } else if (!numberOf(c.cellField4, v) || v == 0 || !std::isfinite(v)) {
        return false; // a factor that is no number or 0 would divide by zero
    }
    const MacroCell* base = t.findCellWithName(c.cellName);
    if (!base || isVaries(base->value)) return false;
    double baseValue = 0;
    if (!numberOf(base->value, baseValue)) return false;
    const MacroCell* cellA = t.findCellWithName(a.name);
    if (!cellA || cellA->flag || cellA->ctrlRef <= 0) return false;
    ui::Control* windowA = m_page.item(cellA->ctrlRef);
    double first = 0;
    if (!windowA || !numberOf(Vor_String(windowA->text()), first)) return false;
    if (a.negated) first = -first;
    const double vb = b.negated ? -v : v;

    double shown = 0;
    double second = 0;
    if (!offsetKind && windowB) {
        if (!numberOf(Vor_String(windowB->text()), second)) return false;
        if (b.negated) second = -second;
    }
    if (offsetKind)
        shown = baseValue + first + vb;
    else if (windowB)
        shown = baseValue + first + second;
    else
        shown = first / v + baseValue;

    TextQuestion q;
    q.caption = dialString(971);
    q.prompt = dialString(1321) + "\n" + dialString(1322);
    q.text = fixed5(shown);
    q.okText = dialString(1);
    q.cancelText = dialString(2);
    {
        ModuleResourceScope scope;
        if (!askText(&m_page, q)) return false;
    }
    double typed = 0;
    if (!numberOf(q.text, typed)) {
        ui::messageBox(
            (dialString(kTextNotANumber) + " \"" + q.text + "\".\n" + dialString(kTextNothingChanged)).str(),
            dialString(971).str(), ui::MB_OK | ui::MB_ICONWARNING, &m_page);
        return false;
    }
    const double x = offsetKind ? typed - baseValue - vb : (typed - baseValue) * v;
    {
        ui::Control::Silence quiet(*windowA);
        windowA->setText(fixed5(a.negated ? -x : x).str());
    }
    if (!offsetKind && windowB) {
        ui::Control::Silence quiet(*windowB);
        windowB->setText(fixed5(b.negated ? -x : x).str());
    }
    return true;
}

Vor_StringArray DesignedTabBinding::drawingFilesIn(const Vor_String& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    std::filesystem::directory_iterator it(folder.str(), ec), end;
    int seen = 0;
    for (; !ec && it != end && seen < 4 * kMaxDrawingFiles; it.increment(ec), ++seen) {
        const std::filesystem::path& p = it->path();
        if (p.extension() != ".dwg" || !base::isRegularFile(p.string())) continue;
        names.push_back(p.stem().string());
        if (static_cast<int>(names.size()) >= kMaxDrawingFiles) break;
    }
    std::sort(names.begin(), names.end());
    Vor_StringArray out;
    for (const std::string& n : names)
        out.append(Vor_String(n));
    return out;
}
