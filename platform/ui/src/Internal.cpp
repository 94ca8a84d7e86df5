// Small helpers shared by the windowing layer's sources.

#include "Internal_p.h"

#include <QMouseEvent>

namespace ui {

QString stripMnemonic(const QString& s) {
    QString out;
    for (int i = 0; i < s.size(); ++i) {
        if (s[i] == '&') {
            if (i + 1 < s.size() && s[i + 1] == '&') {
                out += '&';
                ++i;
            }
            continue;
        }
        out += s[i];
    }
    return out;
}

Rect rectOf(const QRect& r) {
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

bool sameTextIgnoringCase(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

MouseEvent mouseEventOf(const QMouseEvent* e, MouseEvent::Kind kind) {
    MouseEvent m;
    m.kind = kind;
    m.pos = {static_cast<int>(e->position().x()), static_cast<int>(e->position().y())};
    m.button = e->button() == Qt::LeftButton     ? MouseEvent::Left
               : e->button() == Qt::RightButton  ? MouseEvent::Right
               : e->button() == Qt::MiddleButton ? MouseEvent::Middle
                                                 : MouseEvent::None;
    m.buttons = (e->buttons() & Qt::LeftButton ? MouseEvent::Left : 0) |
                (e->buttons() & Qt::RightButton ? MouseEvent::Right : 0);
    m.ctrl = e->modifiers() & Qt::ControlModifier;
    m.shift = e->modifiers() & Qt::ShiftModifier;
    return m;
}

} // namespace ui
