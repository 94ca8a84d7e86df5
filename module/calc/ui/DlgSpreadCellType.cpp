#include "calc/ui/DlgSpreadCellType.h"

#include "calc/ui/FormatPreview.h"
#include "frame/CatalogueTexts.h"
#include "frame/LauncherTable.h"
#include "frame/ModuleResourceScope.h"

#include <host/Texts.h>
#include <host/VorJson.h>
#include <ui/Agent.h>

namespace {

// texts: dialString 9140-9146, dialString 9150-9157, dialString 9160-9165, dialString 9170-9178
constexpr int kKinds[] = {9150, 9151, 9152};
constexpr int kHorizontal[] = {9153, 9154, 9155};
constexpr int kVertical[] = {9156, 9157, 9155};
constexpr int kRotations[] = {9160, 9161, 9162, 9163, 9164, 9165};

/// What field 1017 and check box 1018 stand for with each kind (text numbers).
struct KindTexts {
    int fieldLabel;
    int option;
};
constexpr KindTexts kKindTexts[] = {{9170, 9171}, {9172, 9173}, {9174, 9175}};
constexpr int kSampleText = 9178;

int clampKind(int kind) {
    return kind >= kKindNumber && kind <= kKindPicture ? kind : kKindText;
}

void fill(ui::Control* list, const int* texts, int n, int selected) {
    if (!list) return;
    for (int i = 0; i < n; ++i)
        list->addString(dialString(texts[i]).str());
    list->setCurSel(selected);
}

} // namespace

DlgSpreadCellType::DlgSpreadCellType(ui::Window* parent)
    : ui::Dialog(IDD, parent) {}

bool DlgSpreadCellType::onInitDialog() {
    m_work = settings;
    m_work.kind = clampKind(m_work.kind);
    setWindowText(dialString(9140).str());
    const std::pair<int, int> texts[] = {{IDC_KIND_LABEL, 9141},   {IDC_HALIGN_LABEL, 9142},
                                         {IDC_VALIGN_LABEL, 9143}, {IDC_ROTATION_LABEL, 9144},
                                         {IDC_KEEP_RATIO, 9145},   {IDC_BROWSE, 9146},
                                         {IDC_GROUP, 9131},        {ui::IDOK, 1},
                                         {ui::IDCANCEL, 2}};
    setCatalogueTexts(*this, texts);
    // Check box 1018 means another option with each kind: each kind keeps its own state of it.
    for (int kind = kKindNumber; kind <= kKindPicture; ++kind)
        m_firstOption[kind] = false;
    m_firstOption[m_work.kind] = (m_work.style & cellformat::firstOptionBit(m_work.kind)) != 0;
    fill(item(IDC_KIND), kKinds, 3, m_work.kind);
    fill(item(IDC_HALIGN), kHorizontal, 3, cellformat::horizontalIndex(m_work.style, m_work.kind));
    fill(item(IDC_VALIGN), kVertical, 3, cellformat::verticalIndex(m_work.style));
    fill(item(IDC_ROTATION), kRotations, 6, cellformat::rotationIndex(m_work.style));
    if (ui::Control* c = item(IDC_OPTION))
        c->setCheck(m_work.style & cellformat::firstOptionBit(m_work.kind) ? ui::BST_CHECKED
                                                                           : ui::BST_UNCHECKED);
    if (ui::Control* c = item(IDC_KEEP_RATIO))
        c->setCheck(m_work.style & cellformat::secondOptionBit(m_work.kind) ? ui::BST_CHECKED
                                                                            : ui::BST_UNCHECKED);
    static const int widths[4] = {0, 3, 117, 3};
    static const int heights[4] = {0, 3, 50, 3};
    setUpFormatPreview(m_preview, this, IDC_PREVIEW, widths, heights);
    showKind();
    m_ready = true;
    readControls();
    showPreview();
    return true;
}

void DlgSpreadCellType::showKind() {
    const int kind = m_work.kind;
    const bool picture = kind == kKindPicture;
    if (ui::Control* c = item(IDC_FIELD_LABEL)) c->setText(dialString(kKindTexts[kind].fieldLabel).str());
    if (ui::Control* c = item(IDC_OPTION)) c->setText(dialString(kKindTexts[kind].option).str());
    for (int id : {IDC_ROTATION_LABEL, IDC_ROTATION})
        if (ui::Control* c = item(id)) c->showWindow(picture ? ui::SW_HIDE : ui::SW_SHOW);
    for (int id : {IDC_KEEP_RATIO, IDC_BROWSE})
        if (ui::Control* c = item(id)) c->showWindow(picture ? ui::SW_SHOW : ui::SW_HIDE);
    closeHiddenRows(picture);
    if (ui::Control* field = item(IDC_FIELD)) {
        // Each kind keeps its own value, so switching back and forth loses nothing.
        const bool was = m_ready;
        m_ready = false;
        field->setText(kind == kKindNumber ? std::to_string(m_work.decimals)
                       : kind == kKindText ? std::to_string(m_work.maxLength)
                                           : m_work.pictureFile);
        m_ready = was;
    }
}

void DlgSpreadCellType::closeHiddenRows(bool picture) {
    if (m_home.empty()) {
        for (ui::Control* c : controls()) {
            const ui::Rect r = c->windowRect(); // on the screen; controls move in the client area
            const ui::Point at = screenToClient({r.left, r.top});
            m_home[c->id()] = ui::Rect::fromSize(at.x, at.y, r.width(), r.height());
        }
        m_homeHeight = windowRect().height();
    }
    const auto top = [this](int id) {
        const auto it = m_home.find(id);
        return it == m_home.end() ? 0 : it->second.top;
    };
    // The row a kind hides (rotation for pictures, the ratio check box for the others) closes up:
    // the rows below move into its place, so no empty band is left where it was.
    const int rowTop = picture ? top(IDC_ROTATION) : top(IDC_KEEP_RATIO);
    const int rowHeight = picture ? top(IDC_FIELD) - top(IDC_ROTATION) : top(IDC_GROUP) - top(IDC_KEEP_RATIO);
    if (rowHeight <= 0) return;
    for (const auto& [id, r] : m_home)
        if (ui::Control* c = item(id)) {
            const int dy = r.top >= rowTop + rowHeight ? rowHeight : 0;
            c->moveWindow(ui::Rect::fromSize(r.left, r.top - dy, r.width(), r.height()));
        }
    const ui::Rect w = windowRect();
    moveWindow(ui::Rect::fromSize(w.left, w.top, w.width(), m_homeHeight - rowHeight));
}

bool DlgSpreadCellType::onCommand(int id, int code) {
    if (!m_ready) return false;
    switch (id) {
    case IDC_KIND:
        if (code != ui::CBN_SELCHANGE) return false;
        if (ui::Control* c = item(IDC_KIND); c && c->curSel() >= 0) {
            if (ui::Control* option = item(IDC_OPTION)) {
                m_firstOption[m_work.kind] = option->checkState() == ui::BST_CHECKED;
                m_work.kind = clampKind(c->curSel());
                option->setCheck(m_firstOption[m_work.kind] ? ui::BST_CHECKED : ui::BST_UNCHECKED);
            } else {
                m_work.kind = clampKind(c->curSel());
            }
        }
        showKind();
        break;
    case IDC_HALIGN:
    case IDC_VALIGN:
    case IDC_ROTATION:
        if (code != ui::CBN_SELCHANGE) return false;
        break;
    case IDC_FIELD:
        if (code != ui::EN_CHANGE) return false;
        break;
    case IDC_OPTION:
    case IDC_KEEP_RATIO:
        if (code != ui::BN_CLICKED) return false;
        break;
    case IDC_BROWSE:
        if (code != ui::BN_CLICKED) return false;
        browse();
        break;
    default:
        return false;
    }
    readControls();
    showPreview();
    return true;
}

void DlgSpreadCellType::onOK() {
    readControls();
    settings = m_work;
    endDialog(ui::IDOK);
}

void DlgSpreadCellType::readControls() {
    auto sel = [&](int id) {
        ui::Control* c = item(id);
        return c ? c->curSel() : -1;
    };
    auto checked = [&](int id) {
        ui::Control* c = item(id);
        return c && c->checkState() == ui::BST_CHECKED;
    };
    const int kind = m_work.kind;
    m_work.style = cellformat::composeStyle(kind, sel(IDC_HALIGN), sel(IDC_VALIGN), sel(IDC_ROTATION),
                                            checked(IDC_OPTION), checked(IDC_KEEP_RATIO));
    const std::string text = item(IDC_FIELD) ? item(IDC_FIELD)->text() : std::string();
    if (kind == kKindNumber)
        m_work.decimals = std::uint8_t(cellformat::fieldNumber(text, 15));
    else if (kind == kKindText)
        m_work.maxLength = std::uint16_t(cellformat::fieldNumber(text, 0xFFFF));
    else
        m_work.pictureFile = text;
}

void DlgSpreadCellType::showPreview() {
    if (!m_preview.attached()) return;
    sheet::CellType t;
    if (!cellformat::makeCellType(m_preview, m_work, t)) return;
    m_preview.SetCellType(2, 2, t);
    if (m_work.kind == kKindNumber)
        m_preview.SetFloat(2, 2, 123.456789);
    else if (m_work.kind == kKindText)
        m_preview.setText(2, 2, dialString(kSampleText));
    else
        m_preview.setText(2, 2, "");
}

void DlgSpreadCellType::browse() {
    ui::FileRequest request;
    request.title = dialString(9176).str();
    request.filter = dialString(9177).str() + "|*.bmp||";
    request.fileName = m_work.pictureFile;
    request.mustExist = true;
    if (!ui::agent().fileDialog(request, this)) return;
    if (ui::Control* field = item(IDC_FIELD)) field->setText(request.fileName);
    m_work.pictureFile = request.fileName;
}

namespace {

// Opens the cell-type dialog on given settings and hands back what the person chose.
const bool registered = registerJsonLauncher(
    "DlgSpreadCellType",
    [](const nlohmann::json& in, nlohmann::json& out) {
        ModuleResourceScope scope;
        DlgSpreadCellType dlg;
        CellTypeSettings& s = dlg.settings;
        s.kind = jsonMember<int>(in, "kind", kKindNumber, kKindNumber, kKindPicture);
        s.style = jsonMember<std::uint32_t>(in, "style", 0);
        s.decimals = jsonMember<std::uint8_t>(in, "decimals", 2, 0, 15);
        s.maxLength = jsonMember<std::uint16_t>(in, "maxLength", 0);
        s.pictureFile = in.value("pictureFile", std::string());
        bool ok = dlg.doModal() == ui::IDOK;
        out["result"] = ok;
        out["kind"] = s.kind;
        out["style"] = s.style;
        out["decimals"] = s.decimals;
        out["maxLength"] = s.maxLength;
        out["pictureFile"] = s.pictureFile;
    },
    R"({"kind": 0, "style": 1048576, "decimals": 3})");

} // namespace
