#include "calc/ui/DlgSpreadBorder.h"

#include "calc/ui/FormatPreview.h"
#include "frame/CatalogueTexts.h"
#include "frame/LauncherTable.h"
#include "frame/ModuleResourceScope.h"

#include <host/Texts.h>
#include <host/VorJson.h>
#include <ui/Agent.h>
#include <ui/Image.h>

namespace {

struct SideButton {
    int id;
    int side;
    int tip; ///< text number of the tool tip
};
// texts: dialString 9100-9107, dialString 9110-9121
constexpr SideButton kSideButtons[] = {
    {DlgSpreadBorder::IDC_TOP, sheet::kBorderTop, 9104},
    {DlgSpreadBorder::IDC_LEFT, sheet::kBorderLeft, 9105},
    {DlgSpreadBorder::IDC_RIGHT, sheet::kBorderRight, 9106},
    {DlgSpreadBorder::IDC_BOTTOM, sheet::kBorderBottom, 9107},
};

// Names beside the pictures, so that the list also reads without them: texts 9110 onwards.
constexpr int kFirstStyleName = 9110;

} // namespace

DlgSpreadBorder::DlgSpreadBorder(ui::Window* parent)
    : ui::Dialog(IDD, parent) {}

bool DlgSpreadBorder::onInitDialog() {
    m_work = settings;
    cellformat::registerPictures();
    setWindowText(dialString(9100).str());
    const std::pair<int, int> texts[] = {
        {IDC_GROUP, 9101}, {IDC_STYLE_LABEL, 9102}, {IDC_COLOR, 9103}, {ui::IDOK, 1}, {ui::IDCANCEL, 2}};
    setCatalogueTexts(*this, texts);
    for (const SideButton& b : kSideButtons)
        if (ui::Control* c = item(b.id)) {
            c->setImage(ui::Image::fromResource(cellformat::sidePictureId(b.side)));
            c->setToolTip(dialString(b.tip).str());
            c->setCheck(m_work.sides & b.side ? ui::BST_CHECKED : ui::BST_UNCHECKED);
        }
    if (ui::Control* list = item(IDC_STYLE)) {
        for (int pos = 0; pos < cellformat::kLineStyleCount; ++pos)
            list->addString(dialString(kFirstStyleName + pos).str(),
                            ui::Image::fromResource(cellformat::lineStylePictureId(pos)));
        // A code the list does not offer stays selected by nothing and is kept until one is chosen.
        list->setCurSel(cellformat::lineStyleListPos(m_work.style));
    }
    static const int widths[4] = {0, 8, 69, 10};
    static const int heights[4] = {0, 8, 21, 20};
    setUpFormatPreview(m_preview, this, IDC_PREVIEW, widths, heights);
    m_ready = true;
    showPreview();
    return true;
}

bool DlgSpreadBorder::onCommand(int id, int code) {
    if (!m_ready) return false;
    switch (id) {
    case IDC_TOP:
    case IDC_LEFT:
    case IDC_RIGHT:
    case IDC_BOTTOM:
        if (code != ui::BN_CLICKED) return false;
        break;
    case IDC_STYLE:
        if (code != ui::CBN_SELCHANGE) return false;
        break;
    case IDC_COLOR: {
        if (code != ui::BN_CLICKED) return false;
        ui::ColorRequest request;
        request.color = m_work.color;
        if (!ui::agent().colorDialog(request, this)) return true;
        m_work.color = request.color & 0xFFFFFF;
        break;
    }
    default:
        return false;
    }
    readControls();
    showPreview();
    return true;
}

void DlgSpreadBorder::onOK() {
    readControls();
    settings = m_work;
    endDialog(ui::IDOK);
}

void DlgSpreadBorder::readControls() {
    std::uint16_t sides = 0;
    for (const SideButton& b : kSideButtons)
        if (ui::Control* c = item(b.id); c && c->checkState() == ui::BST_CHECKED)
            sides |= std::uint16_t(b.side);
    m_work.sides = sides;
    if (ui::Control* list = item(IDC_STYLE)) {
        int code = cellformat::lineStyleCode(list->curSel());
        if (code >= 0) m_work.style = std::uint16_t(code);
    }
}

void DlgSpreadBorder::showPreview() {
    if (m_preview.attached()) cellformat::applyBorders(m_preview, {2, 2, 2, 2}, m_work);
}

namespace {

std::uint32_t colorFrom(const nlohmann::json& v, std::uint32_t fallback) {
    if (v.is_array() && v.size() == 3)
        return sheet::rgb(int(jsonInteger(v[0], "red", 0, 255)), int(jsonInteger(v[1], "green", 0, 255)),
                          int(jsonInteger(v[2], "blue", 0, 255)));
    if (v.is_number()) return std::uint32_t(jsonInteger(v, "color", 0, 0xFFFFFFFF));
    return fallback;
}

// Opens the border dialog on given settings and hands back what the person chose.
const bool registered = registerJsonLauncher(
    "DlgSpreadBorder",
    [](const nlohmann::json& in, nlohmann::json& out) {
        ModuleResourceScope scope;
        DlgSpreadBorder dlg;
        dlg.settings.sides = jsonMember<std::uint16_t>(in, "sides", 0, 0, 15);
        dlg.settings.style = jsonMember<std::uint16_t>(in, "style", 1);
        dlg.settings.color = colorFrom(in.value("color", nlohmann::json()), 0);
        bool ok = dlg.doModal() == ui::IDOK;
        out["result"] = ok;
        out["sides"] = dlg.settings.sides;
        out["style"] = dlg.settings.style;
        out["color"] = {ui::redOf(dlg.settings.color), ui::greenOf(dlg.settings.color),
                        ui::blueOf(dlg.settings.color)};
    },
    R"({"sides": 12, "style": 1, "color": [0, 0, 128]})");

} // namespace
