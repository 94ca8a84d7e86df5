#include <ui/TextFit.h>

#include <ui/Control.h>
#include <ui/Dialog.h>

#include "Internal_p.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTreeWidget>

#include <map>

namespace ui {
namespace {

// A pixel of rounding between the measured and the drawn text is no clipping.
constexpr int kSlack = 1;

std::string px(int needed, int has) {
    return "needs " + std::to_string(needed) + " px, has " + std::to_string(has);
}

// Plain text labels: every line (or wrapped paragraph) must fit the label's contents.
bool labelFits(const QLabel& l, std::string& where) {
    if (l.text().isEmpty() || !l.pixmap().isNull() || l.textFormat() == Qt::RichText) return true;
    const QRect cr = l.contentsRect().adjusted(l.margin(), l.margin(), -l.margin(), -l.margin());
    const QFontMetrics fm(l.font());
    const QString text = l.text();
    if (l.wordWrap()) {
        const QRect br =
            fm.boundingRect(QRect(0, 0, cr.width(), 1 << 20), int(Qt::AlignLeft | Qt::TextWordWrap), text);
        if (br.width() > cr.width() + kSlack) return where = px(br.width(), cr.width()), false;
        if (br.height() > cr.height() + kSlack && br.height() > fm.height())
            return where = "needs " + std::to_string(br.height()) + " px of height, has " +
                           std::to_string(cr.height()),
                   false;
        return true;
    }
    int widest = 0;
    for (const QString& line : text.split('\n'))
        widest = std::max(widest, fm.horizontalAdvance(line));
    if (widest > cr.width() + kSlack) return where = px(widest, cr.width()), false;
    return true;
}

int mnemonicWidth(const QFontMetrics& fm, const QString& text) {
    return fm.size(Qt::TextShowMnemonic, text).width();
}

bool buttonFits(const QAbstractButton& b, std::string& where) {
    if (b.text().isEmpty()) return true;
    QStyleOptionButton opt;
    opt.initFrom(&b);
    opt.text = b.text();
    opt.icon = b.icon();
    opt.iconSize = b.iconSize();
    QStyle::SubElement contents = QStyle::SE_PushButtonContents;
    if (qobject_cast<const QCheckBox*>(&b))
        contents = QStyle::SE_CheckBoxContents;
    else if (qobject_cast<const QRadioButton*>(&b))
        contents = QStyle::SE_RadioButtonContents;
    const QRect cr = b.style()->subElementRect(contents, &opt, &b);
    int needed = mnemonicWidth(b.fontMetrics(), b.text());
    if (!b.icon().isNull()) needed += b.iconSize().width() + 4;
    // Check boxes and radio buttons draw their text a few pixels into their contents.
    if (contents != QStyle::SE_PushButtonContents) needed += 2;
    if (needed > cr.width() + kSlack) return where = px(needed, cr.width()), false;
    return true;
}

bool groupBoxFits(const QGroupBox& g, std::string& where) {
    if (g.title().isEmpty()) return true;
    QStyleOptionGroupBox opt;
    opt.initFrom(&g);
    opt.text = g.title();
    opt.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
    opt.lineWidth = 1;
    const QRect label = g.style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, &g);
    const int needed = mnemonicWidth(g.fontMetrics(), g.title());
    const int has = std::min(label.width(), g.width() - std::max(0, label.left()));
    if (needed > has + kSlack) return where = px(needed, has), false;
    return true;
}

// Column headings of report lists: the heading must show whole in its column.
void headingsFit(const QTreeWidget& t, int id, std::vector<ClippedText>& out) {
    const QHeaderView* h = t.header();
    if (!h || h->isHidden()) return;
    const QTreeWidgetItem* head = t.headerItem();
    const QFontMetrics fm(h->font());
    for (int c = 0; c < t.columnCount(); ++c) {
        if (h->isSectionHidden(c)) continue;
        const QString text = head->text(c);
        if (text.isEmpty()) continue;
        // The section's padding and sort arrow room, as the header draws it.
        const int needed = fm.horizontalAdvance(text) + 8;
        const int has = h->sectionSize(c);
        if (needed > has + kSlack) out.push_back({id, ss(text), "heading " + px(needed, has)});
    }
}

} // namespace

std::vector<ClippedText> clippedTexts(const Window& window) {
    std::vector<ClippedText> out;
    QWidget* root = window.widget();
    if (!root) return out;
    std::map<const QWidget*, int> ids;
    if (const auto* d = dynamic_cast<const Dialog*>(&window))
        for (Control* c : d->controls())
            if (c && c->widget()) ids[c->widget()] = c->id();
    for (QWidget* w : root->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(root) || w->width() <= 0 || w->height() <= 0) continue;
        const auto found = ids.find(w);
        const int id = found == ids.end() ? -1 : found->second;
        std::string where;
        QString text;
        bool fits = true;
        if (const auto* l = qobject_cast<const QLabel*>(w)) {
            fits = labelFits(*l, where), text = l->text();
        } else if (const auto* b = qobject_cast<const QAbstractButton*>(w)) {
            // The buttons a list or header draws for itself are not the dialog's texts.
            if (!qobject_cast<const QPushButton*>(w) && !qobject_cast<const QCheckBox*>(w) &&
                !qobject_cast<const QRadioButton*>(w))
                continue;
            fits = buttonFits(*b, where), text = b->text();
        } else if (const auto* g = qobject_cast<const QGroupBox*>(w)) {
            fits = groupBoxFits(*g, where), text = g->title();
        } else if (const auto* t = qobject_cast<const QTreeWidget*>(w)) {
            headingsFit(*t, id, out);
        }
        if (!fits) out.push_back({id, ss(text), where});
    }
    return out;
}

std::string describeClippedTexts(const std::vector<ClippedText>& clipped) {
    std::string s;
    for (const ClippedText& c : clipped) {
        if (!s.empty()) s += "\n";
        s += (c.id >= 0 ? "control " + std::to_string(c.id) : std::string("a part")) + " \"" + c.text +
             "\": " + c.where;
    }
    return s;
}

} // namespace ui
