#include <host/MacroPreview.h>

#include <host/FileUtils.h>

#include <cad/DrawingFile.h>
#include <cad/DrawingProjection.h>
#include <ui/Painter.h>
#include <ui/Picture.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr double kMarginPx = 4;
constexpr double kMarkerPx = 6; ///< coordinate-system axes and block markers, smaller than on screen
const ui::ColorRef kLine = ui::rgb(0x30, 0x38, 0x48);
const ui::ColorRef kCentreLine = ui::rgb(0xa0, 0xa8, 0xb4);

ui::Point px(const cad::Point2d& p) {
    return {static_cast<int>(std::lround(p.x)), static_cast<int>(std::lround(p.y))};
}

/// The shapes of the drawing's entities onto a painter, in pixels of the fit.
class PainterSink : public view::ShapeSink {
public:
    PainterSink(ui::Painter& painter, const view::ScreenFit& fit)
        : m_p(painter)
        , m_fit(fit) {}
    void polyline(const cad::Point2d* points, std::size_t count, bool thin) override {
        std::vector<ui::Point> corners;
        corners.reserve(count);
        for (std::size_t i = 0; i < count; ++i)
            corners.push_back(px(m_fit.toScreen(points[i])));
        m_p.setPen(thin ? kCentreLine : kLine, 1, thin ? ui::PenStyle::DashDot : ui::PenStyle::Solid);
        m_p.drawPolyline(corners);
    }
    void circle(const cad::Point2d& centre, double radius) override {
        m_p.setPen(kLine);
        m_p.drawCircle(px(m_fit.toScreen(centre)),
                       std::max(1, static_cast<int>(std::lround(radius * m_fit.scale))));
    }

private:
    ui::Painter& m_p;
    const view::ScreenFit& m_fit;
};

} // namespace

bool drawPreview(const std::string& dwgPath, int width, int height, ui::Picture& picture,
                 std::string* error) {
    cad::Drawing drawing;
    if (!cad::loadDrawing(dwgPath, drawing, error)) return false;
    ui::Picture out(width, height);
    if (out.isNull()) {
        if (error)
            *error = dwgPath + ": a preview of " + std::to_string(width) + " x " + std::to_string(height) +
                     " pixels cannot be made";
        return false;
    }
    const view::ViewBasis basis = view::viewBasis(cad::viewVector(cad::ViewDirection::Standard));
    const view::ScreenFit fit = view::fitBox(basis, drawing.extentsAll(), width, height, kMarginPx);
    out.paint(
        [&](ui::Painter& p) {
            p.setNoBrush();
            PainterSink sink(p, fit);
            for (AcDbObjectId id : drawing.ids())
                if (const cad::Entity* e = drawing.get(id))
                    view::emitShapes(*e, basis, kMarkerPx / fit.scale, sink);
        },
        true);
    picture = std::move(out);
    return true;
}

PreviewReport CreatePreviewBMPs(int width, int height, const Vor_StringArray& dwgFiles,
                                const Vor_String& ext) {
    PreviewReport report;
    for (const Vor_String& dwg : dwgFiles) {
        const Vor_String preview = changeExtension(dwg, ext);
        // file times to the nanosecond: a drawing saved within the second after its preview is newer
        std::error_code ec1, ec2;
        const auto drawingTime = fs::last_write_time(dwg.str(), ec1);
        const auto previewTime = fs::last_write_time(preview.str(), ec2);
        if (fileExists(preview) && !ec1 && !ec2 && drawingTime <= previewTime) {
            report.upToDate.append(dwg);
            continue;
        }
        ui::Picture picture;
        std::string error;
        if (!drawPreview(dwg.str(), width, height, picture, &error) ||
            !picture.saveBmp(preview.str(), &error)) {
            report.failed.append(dwg);
            report.messages.append(Vor_String(error));
            continue;
        }
        report.made.append(dwg);
    }
    return report;
}
