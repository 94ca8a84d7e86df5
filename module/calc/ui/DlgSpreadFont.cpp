#include "calc/ui/DlgSpreadFont.h"

#include "calc/ui/FormatPreview.h"
#include "frame/CatalogueTexts.h"
#include "frame/LauncherTable.h"
#include "frame/ModuleResourceScope.h"

#include <host/Texts.h>
#include <host/VorJson.h>
#include <ui/Agent.h>

namespace {
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr int kMargin = 8; // pixels around the sample cell
} // namespace

DlgSpreadFont::DlgSpreadFont(ui::Window* parent)
    : ui::Dialog(IDD, parent) {}

bool DlgSpreadFont::onInitDialog() {
    m_work = settings;
    // texts: dialString 9130-9134
    setWindowText(dialString(9130).str());
    const std::pair<int, int> texts[] = {{IDC_GROUP, 9131},     {IDC_FONT, 9132}, {IDC_TEXTCOLOR, 9133},
                                         {IDC_BACKCOLOR, 9134}, {ui::IDOK, 1},    {ui::IDCANCEL, 2}};
    setCatalogueTexts(*this, texts);
    // The sample cell takes the whole frame but a margin, so that large fonts still fit.
    ui::Control* frame = item(IDC_PREVIEW);
    ui::Rect r = frame ? frame->clientRect() : ui::Rect{0, 0, 160, 60};
    const int widths[4] = {0, kMargin, std::max(10, r.width() - 2 * kMargin - 2), kMargin};
    const int heights[4] = {0, kMargin, std::max(10, r.height() - 2 * kMargin - 2), kMargin};
    if (setUpFormatPreview(m_preview, this, IDC_PREVIEW, widths, heights)) {
        sheet::CellType t;
        if (m_preview.SetTypeStaticText(t, sheet::kAlignCenter | sheet::kAlignVCenter))
            m_preview.SetCellType(2, 2, t);
        m_preview.setText(2, 2, "Abc 123");
    }
    showPreview();
    return true;
}

bool DlgSpreadFont::onCommand(int id, int code) {
    if (code != ui::BN_CLICKED) return false;
    switch (id) {
    case IDC_FONT: {
        ui::FontRequest request;
        request.font = cellformat::fontSpecOf(m_work);
        request.withColor = true;
        if (ui::agent().fontDialog(request, this)) cellformat::takeFontSpec(m_work, request.font);
        break;
    }
    case IDC_TEXTCOLOR:
    case IDC_BACKCOLOR: {
        std::uint32_t& color = id == IDC_TEXTCOLOR ? m_work.textColor : m_work.backColor;
        ui::ColorRequest request;
        // The grid's own colours are black text on white.
        request.color = color != sheet::kDefaultColor ? color : id == IDC_TEXTCOLOR ? 0 : kWhite;
        if (ui::agent().colorDialog(request, this)) color = request.color & 0xFFFFFF;
        break;
    }
    default:
        return false;
    }
    showPreview();
    return true;
}

void DlgSpreadFont::onOK() {
    settings = m_work;
    endDialog(ui::IDOK);
}

void DlgSpreadFont::showPreview() {
    if (m_preview.attached()) cellformat::applyFont(m_preview, {2, 2, 2, 2}, m_work);
}

namespace {

std::uint32_t colorFrom(const nlohmann::json& v, std::uint32_t fallback) {
    if (v.is_array() && v.size() == 3)
        return sheet::rgb(int(jsonInteger(v[0], "red", 0, 255)), int(jsonInteger(v[1], "green", 0, 255)),
                          int(jsonInteger(v[2], "blue", 0, 255)));
    return fallback;
}

nlohmann::json colorJson(std::uint32_t c) {
    if (c == sheet::kDefaultColor) return nullptr;
    return {ui::redOf(c), ui::greenOf(c), ui::blueOf(c)};
}

// Opens the font and colours dialog on a given font and colours (null colours: the grid's own).
const bool registered = registerJsonLauncher(
    "DlgSpreadFont",
    [](const nlohmann::json& in, nlohmann::json& out) {
        ModuleResourceScope scope;
        DlgSpreadFont dlg;
        sheet::Font& f = dlg.settings.font;
        f.face = in.value("face", f.face);
        f.height = jsonMember<int>(in, "height", f.height, 1, 1638); // the largest point size of a font
        f.weight = in.value("bold", false) ? 700 : 400;
        f.italic = in.value("italic", false);
        f.underline = in.value("underline", false);
        f.strikeOut = in.value("strikeOut", false);
        dlg.settings.textColor = colorFrom(in.value("textColor", nlohmann::json()), sheet::kDefaultColor);
        dlg.settings.backColor = colorFrom(in.value("backColor", nlohmann::json()), sheet::kDefaultColor);
        bool ok = dlg.doModal() == ui::IDOK;
        out["result"] = ok;
        out["face"] = f.face;
        out["height"] = f.height;
        out["bold"] = f.weight >= 600;
        out["italic"] = f.italic;
        out["underline"] = f.underline;
        out["strikeOut"] = f.strikeOut;
        out["textColor"] = colorJson(dlg.settings.textColor);
        out["backColor"] = colorJson(dlg.settings.backColor);
    },
    R"({"face": "Arial", "height": 12, "bold": true, "textColor": [0, 0, 160], "backColor": [255, 255, 200]})");

} // namespace
