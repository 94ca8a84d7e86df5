#include "macro/ui/DlgMacroProfAdvanced.h"

#include "frame/CatalogueTexts.h"
#include "frame/LauncherTable.h"
#include "frame/ModuleResourceScope.h"
#include "frame/WindowPlacement.h"
#include "library/SectionLists.h"
#include "macro/LauncherInput.h"
#include "macro/ProfPlacement.h"

#include <base/NumberText.h>
#include <cad/Drawing.h>
#include <cad/Pick.h>
#include <host/MacroData.h>
#include <host/Texts.h>
#include <host/VorJson.h>
#include <host/ui/CtrlUtils.h>
#include <ui/Control.h>
#include <ui/Resources.h>

#include <string>

namespace {
const char* const kPlacementKey = "DLG_MACRO_PROFADVANCED";
constexpr int kMorphStretch = 65; ///< dialog units the morphed band takes
constexpr int kMorphedIds[] = {
    DlgMacroProfAdvanced::IDC_PROFILE2_LABEL,        DlgMacroProfAdvanced::IDC_TRANSITION_LABEL,
    DlgMacroProfAdvanced::IDC_TRANSITION_TYPE_LABEL, DlgMacroProfAdvanced::IDC_PROFILE2,
    DlgMacroProfAdvanced::IDC_PROFILE2_CHOOSE,       DlgMacroProfAdvanced::IDC_TRANSITION_START,
    DlgMacroProfAdvanced::IDC_TRANSITION_END,        DlgMacroProfAdvanced::IDC_TRANSITION_TYPE};
constexpr int kOrientationRadios[] = {
    DlgMacroProfAdvanced::IDC_ORIENT_WCS, DlgMacroProfAdvanced::IDC_ORIENT_VARIES,
    DlgMacroProfAdvanced::IDC_ORIENT_PICKED, DlgMacroProfAdvanced::IDC_FROM_PREVIEW,
    DlgMacroProfAdvanced::IDC_NEW_COORDSYS};
constexpr int kSegmentChoices = 12; ///< segment numbers the combo offers; any other may be typed
// texts: dialString 10450-10459
constexpr int kTextDegrees = 10450;      ///< "%1°"
constexpr int kTextWcs = 10451;          ///< "WCS"
constexpr int kTextMirrored = 10452;     ///< check box 1354
constexpr int kTextOnSegment = 10453;    ///< check box 1224
constexpr int kTextSegment = 10454;      ///< label 1225
constexpr int kTextPickPlane = 10455;    ///< item of combo 1253
constexpr int kTextPickCoordSys = 10456; ///< item of combo 1253
constexpr int kTextTransitions = 10457;  ///< first of the transition types (10457-10459)
constexpr int kTransitionTypes = 3;

std::string textOf(const ui::Dialog* d, int id) {
    const ui::Control* c = d->item(id);
    return c ? c->text() : std::string();
}
void setTextOf(ui::Dialog* d, int id, const Vor_String& text) {
    if (ui::Control* c = d->item(id)) c->setText(text.str());
}
int checkOf(const ui::Dialog* d, int id) {
    const ui::Control* c = d->item(id);
    return c ? c->checkState() : ui::BST_UNCHECKED;
}
void setCheckOf(ui::Dialog* d, int id, int state) {
    if (ui::Control* c = d->item(id)) c->setCheck(state);
}

/// A typed offset as it is stored: the number in its shortest form, the varies text as it is, empty
/// when nothing is typed (the macro's default), 0 for anything else.
Vor_String offsetTextOf(const std::string& typed) {
    if (typed.find_first_not_of(' ') == std::string::npos) return Vor_String();
    if (isVaries(typed)) return typed;
    double v = 0;
    std::string out = "0";
    if (base::readTypedNumber(typed, v) == base::TypedNumber::Number) base::formatShortest(v, out);
    return out;
}
/// A typed segment number: its leading whole number, the varies text as it is.
Vor_String segmentTextOf(const std::string& typed) {
    if (typed.find_first_not_of(' ') == std::string::npos) return Vor_String();
    if (isVaries(typed)) return typed;
    return Vor_String(std::to_string(base::parseLeadingInteger(typed)));
}
} // namespace

bool DlgMacroProfAdvanced::onInitDialog() {
    setWindowText(dialString(1011).str());
    const std::pair<int, int> texts[] = {{IDC_DONT_SHOW, 1497},
                                         {IDC_GROUP_LABEL, 705},
                                         {IDC_PROFILE_LABEL, 1012},
                                         {IDC_PROFILE_CHOOSE, 969},
                                         {IDC_PROFILE2_LABEL, 1409},
                                         {IDC_TRANSITION_LABEL, 1410},
                                         {IDC_TRANSITION_TYPE_LABEL, 1411},
                                         {IDC_PROFILE2_CHOOSE, 969},
                                         {IDC_OFFSETS_GROUP, 1013},
                                         {IDC_PICK_POINT, 1014},
                                         {IDC_OFFSET_X_LABEL, 1015},
                                         {IDC_OFFSET_Y_LABEL, 1016},
                                         {IDC_ROTATION_GROUP, 1005},
                                         {IDC_ROT_VARIES, 695},
                                         {IDC_ROT_OTHER, 1017},
                                         {IDC_ORIENT_GROUP, 460},
                                         {IDC_ORIENT_WCS, kTextWcs},
                                         {IDC_ORIENT_VARIES, 695},
                                         {IDC_ORIENT_PICKED, 1018},
                                         {IDC_FROM_PREVIEW, 462},
                                         {IDC_NEW_COORDSYS, 1019},
                                         {IDC_MIRRORED, kTextMirrored},
                                         {IDC_ON_SEGMENT, kTextOnSegment},
                                         {IDC_SEGMENT_LABEL, kTextSegment},
                                         {ui::IDOK, 1}};
    setCatalogueTexts(*this, texts);
    for (int i = 0; i < 4; ++i) {
        Vor_String degrees = dialString(kTextDegrees);
        degrees.replace("%1", Vor_String(std::to_string(90 * i)));
        setTextOf(this, kRotationRadios[i], degrees);
    }
    m_profileChoose.subclassDlgItem(IDC_PROFILE_CHOOSE, this);
    m_profile2Choose.subclassDlgItem(IDC_PROFILE2_CHOOSE, this);
    m_zoom.subclassDlgItem(IDC_ZOOM, this);
    m_zoom.setBitmaps(234);
    m_zoom.setTooltipText(dialString(868));
    if (hideGroup) EnDisCtrl(this, IDC_GROUP, false);
    ShowOrHideCtrl(this, IDC_DONT_SHOW, flag);
    if (flag) ShowOrHideCtrl(this, {IDC_GROUP_LABEL, IDC_GROUP}, false);
    const MacroData* macro = callBackData.macroData();
    EnDisCtrl(this, IDC_FROM_PREVIEW, macro && macro->previewFlag);
    fillCombos();
    if (callBack) { // without one there is nothing to show: the controls stay empty
        call(kMACallBackGet);
        showMorphed();
        loadControls();
    }
    restoreWindowPlacement(this, kPlacementKey, true, 0, 0);
    return true;
}

void DlgMacroProfAdvanced::onDestroy() {
    saveWindowPlacement(this, kPlacementKey);
}

void DlgMacroProfAdvanced::fillCombos() {
    FillCombo(this, IDC_OFFSET_TYPE, MacroProfData::getOffsetTypeStrings());
    FillCombo(this, IDC_BASE_PLANE, MacroProfData::getBasePlaneStrings());
    FillCombo(this, IDC_PICK_KIND, {dialString(kTextPickPlane), dialString(kTextPickCoordSys)});
    Vor_StringArray transitions;
    for (int i = 0; i < kTransitionTypes; ++i)
        transitions.append(dialString(kTextTransitions + i));
    FillCombo(this, IDC_TRANSITION_TYPE, transitions);
    Vor_StringArray segments;
    for (int i = 1; i <= kSegmentChoices; ++i)
        segments.append(Vor_String(std::to_string(i)));
    FillCombo(this, IDC_SEGMENT, segments);
}

void DlgMacroProfAdvanced::showMorphed() {
    const bool morphed = props.morphed;
    for (int id : kMorphedIds)
        ShowOrHideCtrl(this, id, morphed);
    if (!morphed || m_morphShown) return;
    // The band lies over the controls below it: they and the window move down by its height.
    m_morphShown = true;
    const int shift = ui::dluToPixelsY(kMorphStretch);
    // everything from the offsets and rotation groups down lies below the band
    const ui::Control* below = item(IDC_OFFSETS_GROUP);
    const int bandTop = below ? below->windowRect().top : 0;
    for (ui::Control* c : controls()) {
        bool inBand = false;
        for (int id : kMorphedIds)
            inBand = inBand || c->id() == id;
        const ui::Rect r = c->windowRect();
        if (inBand || r.top < bandTop) continue;
        const ui::Point at = screenToClient({r.left, r.top});
        c->moveWindow(at.x, at.y + shift, r.width(), r.height());
    }
    const ui::Rect w = windowRect();
    moveWindow(w.left, w.top, w.width(), w.height() + shift);
}

void DlgMacroProfAdvanced::showPicture() {
    ui::Control* picture = item(IDC_PICTURE);
    if (!picture) return;
    const ui::Image image = ui::Image::fromFile(sectionPicturePath(props.section).str());
    picture->setImage(image);
}

void DlgMacroProfAdvanced::checkOnly(const int* ids, int count, int checked) {
    for (int i = 0; i < count; ++i)
        setCheckOf(this, ids[i], ids[i] == checked ? ui::BST_CHECKED : ui::BST_UNCHECKED);
}

void DlgMacroProfAdvanced::loadControls() {
    setTextOf(this, IDC_GROUP, props.groupName);
    fillProfileCombo(item(IDC_PROFILE), m_sections, sectionSysName(props.section));
    fillProfileCombo(item(IDC_PROFILE2), m_sections2, sectionSysName(props.section2));
    setTextOf(this, IDC_TRANSITION_START, props.transitionStart);
    setTextOf(this, IDC_TRANSITION_END, props.transitionEnd);
    if (ui::Control* c = item(IDC_TRANSITION_TYPE)) c->setCurSel(props.transitionType);

    const int offsetIndex = MacroProfData::getDlgOffsetType(props.offsetType);
    if (ui::Control* c = item(IDC_OFFSET_TYPE)) c->setCurSel(offsetIndex);
    const int radio = insertionRadioOfComboIndex(offsetIndex);
    checkOnly(kInsertionRadios, 9, radio > 0 ? kInsertionRadios[radio - 1] : 0);
    setTextOf(this, IDC_OFFSET_X, props.offsetX);
    setTextOf(this, IDC_OFFSET_Y, props.offsetY);
    // Offsets mean nothing while the stored type differs between the macros.
    EnDisCtrl(this, {IDC_OFFSET_X, IDC_OFFSET_Y}, props.offsetType != kVariesIndex);

    const RotationChoice rotation = rotationChoiceOf(props.rotation);
    m_rotation = static_cast<int>(rotation);
    checkOnly(kRotationRadios, 6, kRotationRadios[m_rotation]);
    // another angle shows in the edit; a radio angle leaves what was typed there for a later "Other"
    if (rotation == RotationChoice::Other) setTextOf(this, IDC_ROT_OTHER_EDIT, props.rotation);

    m_orientationRadio = props.orientation == 0              ? IDC_ORIENT_WCS
                         : props.orientation == kVariesIndex ? IDC_ORIENT_VARIES
                         : props.orientation == 2            ? IDC_ORIENT_PICKED
                                                             : 0;
    checkOnly(kOrientationRadios, 5, m_orientationRadio);
    const int pickKind = props.coordSys.isEmpty() ? 0 : 1;
    if (ui::Control* c = item(IDC_PICK_KIND)) c->setCurSel(pickKind);
    setTextOf(this, IDC_PICK_PLANE, dialString(pickKind == 0 ? 1368 : 1230) + "...");
    if (ui::Control* c = item(IDC_BASE_PLANE)) c->setCurSel(props.basePlane);
    setCheckOf(this, IDC_MIRRORED,
               props.mirrored == TriState::On          ? ui::BST_CHECKED
               : props.mirrored == TriState::Undecided ? ui::BST_INDETERMINATE
                                                       : ui::BST_UNCHECKED);
    setCheckOf(this, IDC_ON_SEGMENT, props.onSegment ? ui::BST_CHECKED : ui::BST_UNCHECKED);
    setTextOf(this, IDC_SEGMENT, props.segment);
    EnDisCtrl(this, IDC_SEGMENT, props.onSegment);
    showPicture();
}

void DlgMacroProfAdvanced::storeControls() {
    if (!hideGroup && !flag) props.groupName = textOf(this, IDC_GROUP);
    if (const ui::Control* c = item(IDC_PROFILE); c && c->curSel() >= 0 && c->curSel() < m_sections.length())
        props.section = sectionOfSysName(m_sections[c->curSel()]);
    if (props.morphed) {
        if (const ui::Control* c = item(IDC_PROFILE2);
            c && c->curSel() >= 0 && c->curSel() < m_sections2.length())
            props.section2 = sectionOfSysName(m_sections2[c->curSel()]);
        props.transitionStart = textOf(this, IDC_TRANSITION_START);
        props.transitionEnd = textOf(this, IDC_TRANSITION_END);
        if (const ui::Control* c = item(IDC_TRANSITION_TYPE); c && c->curSel() >= 0)
            props.transitionType = c->curSel();
    }
    if (const ui::Control* c = item(IDC_OFFSET_TYPE); c && c->curSel() >= 0)
        props.offsetType = MacroProfData::getProfOffsetType(c->curSel());
    props.offsetX = offsetTextOf(textOf(this, IDC_OFFSET_X));
    props.offsetY = offsetTextOf(textOf(this, IDC_OFFSET_Y));
    props.rotation =
        rotationTextOf(static_cast<RotationChoice>(m_rotation), textOf(this, IDC_ROT_OTHER_EDIT));
    props.orientation = m_orientationRadio == IDC_ORIENT_WCS      ? 0
                        : m_orientationRadio == IDC_ORIENT_VARIES ? kVariesIndex
                        : m_orientationRadio == IDC_ORIENT_PICKED ? 2
                                                                  : props.orientation;
    if (const ui::Control* c = item(IDC_BASE_PLANE); c && c->curSel() >= 0) props.basePlane = c->curSel();
    const int mirrored = checkOf(this, IDC_MIRRORED);
    props.mirrored = mirrored == ui::BST_CHECKED         ? TriState::On
                     : mirrored == ui::BST_INDETERMINATE ? TriState::Undecided
                                                         : TriState::Off;
    props.onSegment = checkOf(this, IDC_ON_SEGMENT) == ui::BST_CHECKED;
    props.segment = segmentTextOf(textOf(this, IDC_SEGMENT));
}

void DlgMacroProfAdvanced::call(KrMACallBackType type) {
    if (callBack) callBack(type, callBackData, props);
}

void DlgMacroProfAdvanced::apply() {
    storeControls();
    if (!callBack) return;
    call(kMACallBackSet);
    loadControls();
}

template <class F> void DlgMacroProfAdvanced::withDrawing(F&& interaction) {
    storeControls();
    BeginEditorCommand(this);
    call(kMACallBackHide);
    interaction();
    call(kMACallBackShow);
    CompleteEditorCommand(this, true);
    loadControls(); // what the interaction changed shows, so that applying stores it
    apply();
}

void DlgMacroProfAdvanced::pickSectionPoint() {
    withDrawing([this] {
        int offsetType = props.offsetType;
        if (UserChooseSectionPoint(props.section, offsetType)) props.offsetType = offsetType;
    });
}

void DlgMacroProfAdvanced::pickPlane() {
    const ui::Control* kind = item(IDC_PICK_KIND);
    const bool coordSys = kind && kind->curSel() == 1;
    withDrawing([this, coordSys] {
        Vor_String name;
        if (coordSys ? selectCoordSys(name) : UserSelectPlane(name)) {
            props.orientation = 2;
            props.coordSys = coordSys ? name : Vor_String();
            if (!coordSys)
                if (const int plane = basePlaneOfPickedPlane(name); plane > 0) props.basePlane = plane;
            m_orientationRadio = IDC_ORIENT_PICKED;
        }
    });
}

void DlgMacroProfAdvanced::makeCoordSys(bool fromPreview) {
    const MacroData* macro = callBackData.macroData();
    const Vor_Array<AcDbObjectId> previewIds = macro ? macro->previewIds : Vor_Array<AcDbObjectId>();
    const auto make = [this, fromPreview, previewIds] {
        Vor_String name;
        if (!createCoordSys(fromPreview, previewIds, name)) return;
        props.orientation = 2;
        props.coordSys = name;
        props.fromPreview = fromPreview;
        m_orientationRadio = IDC_ORIENT_PICKED;
        if (fromPreview) temporaryId = cad::curDrawing().findByName(name.str());
    };
    if (fromPreview) { // nothing to pick: the preview object gives the placement
        storeControls();
        make();
        loadControls();
        apply();
    } else {
        withDrawing(make);
    }
}

bool DlgMacroProfAdvanced::onCommand(int id, int code) {
    for (int i = 0; i < 9; ++i)
        if (id == kInsertionRadios[i]) {
            if (code != ui::BN_CLICKED) return false;
            storeControls();
            props.offsetType = MacroProfData::getProfOffsetType(comboIndexOfInsertionRadio(i + 1));
            if (ui::Control* c = item(IDC_OFFSET_TYPE)) c->setCurSel(comboIndexOfInsertionRadio(i + 1));
            apply();
            return true;
        }
    for (int i = 0; i < 6; ++i)
        if (id == kRotationRadios[i]) {
            if (code != ui::BN_CLICKED) return false;
            m_rotation = i;
            checkOnly(kRotationRadios, 6, id);
            apply();
            return true;
        }
    switch (id) {
    case IDC_ORIENT_WCS:
    case IDC_ORIENT_VARIES:
    case IDC_ORIENT_PICKED:
        if (code != ui::BN_CLICKED) return false;
        m_orientationRadio = id;
        checkOnly(kOrientationRadios, 5, id);
        apply();
        return true;
    case IDC_FROM_PREVIEW:
    case IDC_NEW_COORDSYS:
        if (code != ui::BN_CLICKED) return false;
        makeCoordSys(id == IDC_FROM_PREVIEW);
        return true;
    case IDC_OFFSET_TYPE:
    case IDC_BASE_PLANE:
    case IDC_TRANSITION_TYPE:
    case IDC_PROFILE:
    case IDC_PROFILE2:
    case IDC_SEGMENT:
        if (code != ui::CBN_SELCHANGE) return false;
        if (id == IDC_SEGMENT) // the chosen item is not yet the edit's text
            if (ui::Control* c = item(IDC_SEGMENT); c && c->curSel() >= 0)
                c->setText(c->itemText(c->curSel()));
        apply();
        return true;
    case IDC_PICK_KIND:
        if (code != ui::CBN_SELCHANGE) return false;
        if (const ui::Control* c = item(IDC_PICK_KIND))
            setTextOf(this, IDC_PICK_PLANE, dialString(c->curSel() == 1 ? 1230 : 1368) + "...");
        return true;
    case IDC_MIRRORED:
    case IDC_ON_SEGMENT:
        if (code != ui::BN_CLICKED) return false;
        apply();
        return true;
    case IDC_PROFILE_CHOOSE:
    case IDC_PROFILE2_CHOOSE: {
        if (code != ui::BN_CLICKED) return false;
        storeControls();
        const bool second = id == IDC_PROFILE2_CHOOSE;
        Vor_String section = sectionSysName(second ? props.section2 : props.section);
        if (chooseOtherSection(item(second ? IDC_PROFILE2 : IDC_PROFILE), second ? m_sections2 : m_sections,
                               section)) {
            (second ? props.section2 : props.section) = sectionOfSysName(section);
            apply();
        }
        return true;
    }
    case IDC_PICK_POINT:
        if (code != ui::BN_CLICKED) return false;
        pickSectionPoint();
        return true;
    case IDC_PICK_PLANE:
        if (code != ui::BN_CLICKED) return false;
        pickPlane();
        return true;
    case IDC_ZOOM:
        if (code != ui::BN_CLICKED) return false;
        withDrawing([this] {
            const MacroData* macro = callBackData.macroData();
            Vor_Array<AcDbObjectId> ids = callBackData.objectIds;
            if (ids.isEmpty() && macro) ids = macro->ids;
            ZoomCommand(std::vector<AcDbObjectId>(ids.begin(), ids.end()));
        });
        return true;
    default:
        return false;
    }
}

bool DlgMacroProfAdvanced::preTranslateKey(const ui::KeyEvent& key) {
    if (key.vk != ui::VK_RETURN || key.ctrl || key.alt) return false;
    apply();
    return true;
}

void DlgMacroProfAdvanced::onOK() {
    if (flag) flag = checkOf(this, IDC_DONT_SHOW) != ui::BST_CHECKED;
    apply();
    endDialog(ui::IDOK);
}

void StartDlgMacroProfAdv(MacroData& data, const Vor_String& moduleName, const Vor_String& group,
                          bool hideGroup) {
    ModuleResourceScope scope; // the template is the module's, whoever calls
    DlgMacroProfAdvanced dlg;
    dlg.hideGroup = hideGroup;
    dlg.callBackData.groupName = group;
    dlg.callBackData.moduleName = moduleName;
    dlg.callBackData.initDataClass(data);
    dlg.callBack = &macroDataProfCallBack;
    dlg.doModal();
    // Every change already reached the drawing; the caller's copy learns the placement too.
    if (const MacroData* edited = dlg.callBackData.macroData()) data = *edited;
    erasePreviewObjects(data, dlg.temporaryId);
}

void StartDlgMacroProfAdv(AcArray<AcDbObjectId>* ids, bool& flag, KrMACallBack callBack) {
    if (!ids || ids->isEmpty()) return;
    ModuleResourceScope scope;
    DlgMacroProfAdvanced dlg;
    dlg.hideGroup = true;
    dlg.flag = flag;
    for (int i = 0; i < ids->length(); ++i)
        dlg.callBackData.objectIds.append((*ids)[i]);
    dlg.callBack = callBack;
    dlg.doModal();
    flag = dlg.flag;
}

namespace {

/// The profile group the launcher's own callback of the second form edits.
struct DrawingTarget {
    Vor_String moduleName, group;
};
DrawingTarget gDrawingTarget;

/// The second form's callback for callers that hold only the macros' ids: it reads the macros from
/// the drawing each time, so the dialog always shows what the drawing holds.
bool drawingProfCallBack(KrMACallBackType type, const KrMACallBackData& data, MacroProfData& props) {
    if (type == kMACallBackHide || type == kMACallBackShow) return true;
    MacroData macros;
    if (!GetMacroData(data.objectIds, macros)) return false;
    Vor_String moduleName = gDrawingTarget.moduleName, group = gDrawingTarget.group;
    if (!firstProfGroup(macros, moduleName, group)) return false;
    if (type == kMACallBackSet) {
        if (!macros.setMergedPropsOfGroup(moduleName, group, props)) return false;
        UpdateModule(moduleName, macros, Vor_Array<int>{kChangedProfiles}, Vor_Array<int>());
        if (!GetMacroData(data.objectIds, macros)) return false;
    }
    return macros.getMergedPropsOfGroup(moduleName, group, props);
}

nlohmann::json propsOf(const MacroData& data, const Vor_String& moduleName, const Vor_String& group) {
    MacroProfData props;
    if (!data.getMergedPropsOfGroup(moduleName, group, props)) return nullptr;
    return props;
}

const bool registeredData = registerJsonLauncher(
    "StartDlgMacroProfAdv",
    [](const nlohmann::json& in, nlohmann::json& out) {
        if (in.contains("ids")) {
            AcArray<AcDbObjectId> ids;
            for (const nlohmann::json& id : in.at("ids"))
                ids.append(AcDbObjectId(jsonInteger(id, "ids", 1, jsonIntegerMax<std::int64_t>())));
            bool flag = in.value("flag", false);
            gDrawingTarget = {in.value("module", std::string()), in.value("group", std::string())};
            StartDlgMacroProfAdv(&ids, flag, &drawingProfCallBack);
            gDrawingTarget = {};
            out["result"] = true;
            out["flag"] = flag;
            return;
        }
        MacroData data;
        if (!readLauncherMacros(in, data, nullptr, out)) return;
        Vor_String moduleName = in.value("module", std::string()), group = in.value("group", std::string());
        firstProfGroup(data, moduleName, group);
        data.previewFlag = in.value("preview", false);
        StartDlgMacroProfAdv(data, moduleName, group, in.value("hideGroup", false));
        out["result"] = true;
        out["props"] = propsOf(data, moduleName, group);
        out["previewIds"] = nlohmann::json(data).at("previewIds"); // as the macro data writes ids
    },
    R"({"macros": ["M1"], "module": "Stiffener", "group": "Stiffener", "hideGroup": false})");

} // namespace
