#pragma once
// Drawing onto a window, a picture or a printed page, for paint hooks.

#include <ui/Image.h>
#include <ui/Types.h>

#include <string>
#include <vector>

class QPainter;

namespace ui {

enum class PenStyle { Solid, Dash, Dot, DashDot, None };

/// Thin drawing surface handed to paint hooks; coordinates in pixels of the surface.
class Painter {
public:
    explicit Painter(QPainter& p);
    void setPen(ColorRef color, int width = 1, PenStyle style = PenStyle::Solid);
    void setBrush(ColorRef color);
    void setNoBrush();
    void setFont(const FontSpec& font);
    void drawLine(int x1, int y1, int x2, int y2);
    void drawRect(const Rect& r);
    void fillRect(const Rect& r, ColorRef color);
    void drawEllipse(const Rect& r);
    /// A circle round `centre` (drawn with the pen, filled with the brush).
    void drawCircle(Point centre, int radius);
    /// Lines through the points in order (closed when the last point repeats the first).
    void drawPolyline(const std::vector<Point>& points);
    /// Draws text in the rectangle; `align` uses the DT_ flags below.
    void drawText(const Rect& r, const std::string& text, int align = 0);
    void drawImage(const Rect& target, const Image& image);
    void drawFocusRect(const Rect& r);
    Size textSize(const std::string& text) const;
    void setClip(const Rect& r);
    QPainter& qt() { return m_p; }

    enum : int {
        DT_LEFT = 0,
        DT_CENTER = 1,
        DT_RIGHT = 2,
        DT_VCENTER = 4,
        DT_BOTTOM = 8,
        DT_WORDBREAK = 0x10,
        DT_SINGLELINE = 0x20
    };

private:
    QPainter& m_p;
};

} // namespace ui
