// Controls of every kind over their Qt widgets.

#include <ui/Agent.h>
#include <ui/Application.h>
#include <ui/Painter.h>
#include <ui/Resources.h>
#include <ui/Script.h>
#include <ui/Window.h>

#include "DialogFilter_p.h"
#include "HookView_p.h"
#include "Internal_p.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QSlider>
#include <QStandardItemModel>
#include <QTabBar>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include <algorithm>
#include <climits>

namespace ui {

Control::Control(Dialog* owner, int id, ControlKind kind, QWidget* widget)
    : m_owner(owner)
    , m_id(id)
    , m_kind(kind) {
    attach(widget);
}

Control::~Control() {
    Timers::killAll(this);
    setGridAccess(this, nullptr);
}

bool Control::hasStyle(const std::string& style) const {
    return std::find(styles.begin(), styles.end(), style) != styles.end();
}

void Control::notify(int code) {
    if (m_silent > 0 || !m_owner || !m_owner->exists()) return;
    m_owner->sendCommand(m_id, code);
}

int Control::checkState() const {
    if (auto* c = qobject_cast<QCheckBox*>(m_widget)) {
        switch (c->checkState()) {
        case Qt::Checked:
            return BST_CHECKED;
        case Qt::PartiallyChecked:
            return BST_INDETERMINATE;
        default:
            return BST_UNCHECKED;
        }
    }
    if (auto* b = qobject_cast<QAbstractButton*>(m_widget))
        return b->isChecked() ? BST_CHECKED : BST_UNCHECKED;
    return BST_UNCHECKED;
}

void Control::setCheck(int state) {
    Silence s(*this);
    if (auto* c = qobject_cast<QCheckBox*>(m_widget)) {
        if (state == BST_INDETERMINATE) c->setTristate(true);
        c->setCheckState(state == BST_CHECKED         ? Qt::Checked
                         : state == BST_INDETERMINATE ? Qt::PartiallyChecked
                                                      : Qt::Unchecked);
    } else if (auto* b = qobject_cast<QAbstractButton*>(m_widget)) {
        if (b->isCheckable()) b->setChecked(state == BST_CHECKED);
    }
}

void Control::setImage(const Image& image) {
    if (auto* b = qobject_cast<QAbstractButton*>(m_widget)) {
        b->setIcon(QIcon(image.pixmap()));
        b->setIconSize(image.pixmap().size());
    } else if (auto* l = qobject_cast<QLabel*>(m_widget)) {
        l->setPixmap(image.pixmap());
    }
}

void Control::setTriState(bool triState) {
    if (auto* c = qobject_cast<QCheckBox*>(m_widget)) {
        if (!triState && c->checkState() == Qt::PartiallyChecked) {
            Silence s(*this);
            c->setCheckState(Qt::Unchecked);
        }
        c->setTristate(triState);
    }
}

bool Control::isTriState() const {
    auto* c = qobject_cast<QCheckBox*>(m_widget);
    return c && c->isTristate();
}

void Control::setMouseTransparent(bool transparent) {
    if (!m_widget) return;
    m_widget->setAttribute(Qt::WA_TransparentForMouseEvents, transparent);
    for (auto* sub : m_widget->findChildren<QWidget*>())
        sub->setAttribute(Qt::WA_TransparentForMouseEvents, transparent);
}

bool Control::isDefaultButton() const {
    auto* b = qobject_cast<QPushButton*>(m_widget);
    return b && b->isDefault();
}

void Control::setSel(int start, int end) {
    if (auto* e = qobject_cast<QLineEdit*>(m_widget)) {
        int len = static_cast<int>(e->text().size());
        if (start == -1) {
            e->deselect();
            return;
        }
        if (end < 0 || end > len) end = len;
        start = std::clamp(start, 0, len);
        e->setSelection(start, end - start);
    } else if (auto* p = qobject_cast<QPlainTextEdit*>(m_widget)) {
        QTextCursor c = p->textCursor();
        int len = p->document()->characterCount() - 1;
        if (end < 0 || end > len) end = len;
        c.setPosition(std::clamp(start, 0, len));
        c.setPosition(end, QTextCursor::KeepAnchor);
        p->setTextCursor(c);
    } else if (auto* c = qobject_cast<QComboBox*>(m_widget); c && c->lineEdit()) {
        int len = static_cast<int>(c->lineEdit()->text().size());
        if (end < 0 || end > len) end = len;
        c->lineEdit()->setSelection(std::clamp(start, 0, len), end - start);
    }
}

std::pair<int, int> Control::getSel() const {
    if (auto* e = qobject_cast<QLineEdit*>(m_widget)) {
        if (!e->hasSelectedText()) return {e->cursorPosition(), e->cursorPosition()};
        return {e->selectionStart(), e->selectionEnd()};
    }
    if (auto* p = qobject_cast<QPlainTextEdit*>(m_widget)) {
        QTextCursor c = p->textCursor();
        return {c.selectionStart(), c.selectionEnd()};
    }
    if (auto* c = qobject_cast<QComboBox*>(m_widget); c && c->lineEdit()) {
        auto* e = c->lineEdit();
        if (!e->hasSelectedText()) return {e->cursorPosition(), e->cursorPosition()};
        return {e->selectionStart(), e->selectionEnd()};
    }
    return {0, 0};
}

void Control::replaceSel(const std::string& text) {
    if (auto* e = qobject_cast<QLineEdit*>(m_widget))
        e->insert(qs(text));
    else if (auto* p = qobject_cast<QPlainTextEdit*>(m_widget))
        p->insertPlainText(qs(text));
    else if (auto* c = qobject_cast<QComboBox*>(m_widget); c && c->lineEdit())
        c->lineEdit()->insert(qs(text));
}

void Control::setReadOnly(bool ro) {
    if (auto* e = qobject_cast<QLineEdit*>(m_widget))
        e->setReadOnly(ro);
    else if (auto* p = qobject_cast<QPlainTextEdit*>(m_widget))
        p->setReadOnly(ro);
    else if (auto* r = qobject_cast<QTextEdit*>(m_widget))
        r->setReadOnly(ro);
}

bool Control::isReadOnly() const {
    if (auto* e = qobject_cast<QLineEdit*>(m_widget)) return e->isReadOnly();
    if (auto* p = qobject_cast<QPlainTextEdit*>(m_widget)) return p->isReadOnly();
    if (auto* r = qobject_cast<QTextEdit*>(m_widget)) return r->isReadOnly();
    return false;
}

void Control::setLimitText(int maxChars) {
    // 0 (or less) lifts the limit, as the classic edit control's limit message does
    int limit = maxChars > 0 ? maxChars : kNoTextLimit;
    if (auto* e = qobject_cast<QLineEdit*>(m_widget))
        e->setMaxLength(limit);
    else if (auto* c = qobject_cast<QComboBox*>(m_widget); c && c->lineEdit())
        c->lineEdit()->setMaxLength(limit);
}

int Control::limitText() const {
    const QLineEdit* e = qobject_cast<QLineEdit*>(m_widget);
    if (auto* c = qobject_cast<QComboBox*>(m_widget)) e = c->lineEdit();
    return e && e->maxLength() != kNoTextLimit ? e->maxLength() : 0;
}

bool Control::isMultiLine() const {
    return qobject_cast<QPlainTextEdit*>(m_widget) != nullptr;
}

namespace {
bool sorted(const Control& c) {
    return c.hasStyle("CBS_SORT") || c.hasStyle("LBS_SORT") || c.hasStyle("LBS_STANDARD");
}
QStandardItemModel* checkModel(QWidget* w) {
    auto* c = qobject_cast<QComboBox*>(w);
    return c ? qobject_cast<QStandardItemModel*>(c->model()) : nullptr;
}
} // namespace

namespace {
/// Set on a check combo while Control::fillAtOnce runs: its text is refreshed once at the end.
const char* const kDeferCheckText = "vorDeferCheckText";
} // namespace

void refreshCheckComboText(QComboBox* c) {
    auto* m = qobject_cast<QStandardItemModel*>(c->model());
    if (!m || !c->lineEdit() || c->property(kDeferCheckText).toBool()) return;
    QStringList on;
    for (int i = 0; i < m->rowCount(); ++i)
        if (m->item(i)->checkState() == Qt::Checked) on << m->item(i)->text();
    QSignalBlocker b(c->lineEdit());
    c->lineEdit()->setText(on.join(", "));
    c->lineEdit()->setCursorPosition(0); // a long list shows its beginning
    // The combo's own handling of the same change may put the cursor at the end afterwards.
    QTimer::singleShot(0, c->lineEdit(), [le = c->lineEdit()] {
        if (!le->hasSelectedText()) le->setCursorPosition(0);
    });
}

int Control::addString(const std::string& text) {
    return addString(text, Image());
}

int Control::addString(const std::string& text, const Image& image) {
    Silence s(*this);
    QString t = qs(text);
    if (auto* c = qobject_cast<QComboBox*>(m_widget)) {
        int at = c->count();
        if (sorted(*this))
            for (at = 0; at < c->count() && c->itemText(at).compare(t, Qt::CaseInsensitive) <= 0; ++at) {
            }
        if (m_kind == ControlKind::CheckCombo) {
            auto* m = checkModel(c);
            auto* item = new QStandardItem(t);
            item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
            item->setData(Qt::Unchecked, Qt::CheckStateRole);
            m->insertRow(at, item);
            c->setCurrentIndex(-1); // a check combo shows its checked items, not a current one
            refreshCheckComboText(c);
        } else if (!image.isNull()) {
            c->insertItem(at, QIcon(image.pixmap()), t);
        } else {
            c->insertItem(at, t);
        }
        if (c->isEditable() && m_kind != ControlKind::CheckCombo && c->count() == 1) c->setCurrentIndex(-1);
        return at;
    }
    if (auto* l = qobject_cast<QListWidget*>(m_widget)) {
        int at = l->count();
        if (sorted(*this))
            for (at = 0; at < l->count() && l->item(at)->text().compare(t, Qt::CaseInsensitive) <= 0; ++at) {
            }
        auto* item = image.isNull() ? new QListWidgetItem(t) : new QListWidgetItem(QIcon(image.pixmap()), t);
        l->insertItem(at, item);
        return at;
    }
    return -1;
}

int Control::insertString(int index, const std::string& text) {
    Silence s(*this);
    if (auto* c = qobject_cast<QComboBox*>(m_widget)) {
        if (index < 0 || index > c->count()) index = c->count();
        c->insertItem(index, qs(text));
        return index;
    }
    if (auto* l = qobject_cast<QListWidget*>(m_widget)) {
        if (index < 0 || index > l->count()) index = l->count();
        l->insertItem(index, qs(text));
        return index;
    }
    return -1;
}

int Control::deleteString(int index) {
    Silence s(*this);
    if (index < 0 || index >= count()) return -1;
    if (auto* c = qobject_cast<QComboBox*>(m_widget))
        c->removeItem(index);
    else if (auto* l = qobject_cast<QListWidget*>(m_widget))
        delete l->takeItem(index);
    return count();
}

void Control::resetContent() {
    Silence s(*this);
    m_itemData.clear();
    if (auto* c = qobject_cast<QComboBox*>(m_widget)) {
        QString keep = c->isEditable() ? c->currentText() : QString();
        c->clear();
        if (c->isEditable() && m_kind != ControlKind::CheckCombo) c->setEditText(keep);
    } else if (auto* l = qobject_cast<QListWidget*>(m_widget))
        l->clear();
    else if (auto* t = qobject_cast<QTreeWidget*>(m_widget))
        t->clear();
    else if (auto* tb = qobject_cast<QTabBar*>(m_widget))
        while (tb->count())
            tb->removeTab(0);
}

Rect Control::displayArea() const {
    auto* tb = qobject_cast<QTabBar*>(m_widget);
    if (!tb || !m_owner) return {};
    constexpr int kInset = 4; // pixels between the tab control's frame and a page
    const Rect r = windowRect();
    const Point topLeft = m_owner->screenToClient({r.left, r.top});
    // the row of tabs is as high as the bar wants to draw it, whether or not it holds tabs yet
    const int row = tb->sizeHint().height();
    Rect area{topLeft.x + kInset, topLeft.y + row + kInset / 2, topLeft.x + r.width() - kInset,
              topLeft.y + r.height() - kInset};
    area.right = std::max(area.right, area.left + 1);
    area.bottom = std::max(area.bottom, area.top + 1);
    return area;
}

int Control::count() const {
    if (auto* c = qobject_cast<QComboBox*>(m_widget)) return c->count();
    if (auto* l = qobject_cast<QListWidget*>(m_widget)) return l->count();
    if (auto* t = qobject_cast<QTreeWidget*>(m_widget)) return t->topLevelItemCount();
    if (auto* tb = qobject_cast<QTabBar*>(m_widget)) return tb->count();
    return 0;
}

int Control::curSel() const {
    if (auto* c = qobject_cast<QComboBox*>(m_widget)) {
        if (m_kind == ControlKind::CheckCombo) return c->currentIndex(); // its edit shows the marks
        if (c->isEditable() && c->currentIndex() >= 0 && c->currentText() != c->itemText(c->currentIndex()))
            return -1;
        return c->currentIndex();
    }
    if (auto* l = qobject_cast<QListWidget*>(m_widget)) {
        if (l->selectionMode() == QAbstractItemView::SingleSelection) {
            auto sel = l->selectedItems();
            return sel.isEmpty() ? -1 : l->row(sel.first());
        }
        return l->currentRow();
    }
    if (auto* t = qobject_cast<QTreeWidget*>(m_widget)) {
        auto sel = t->selectedItems();
        return sel.isEmpty() ? -1 : t->indexOfTopLevelItem(sel.first());
    }
    if (auto* tb = qobject_cast<QTabBar*>(m_widget)) return tb->currentIndex();
    if (auto* lw = qobject_cast<QListWidget*>(m_widget)) return lw->currentRow();
    return -1;
}

int Control::setCurSel(int index) {
    Silence s(*this);
    int n = count();
    bool bad = index < -1 || index >= n;
    if (bad) index = -1;
    if (auto* c = qobject_cast<QComboBox*>(m_widget)) {
        c->setCurrentIndex(index);
        if (m_kind == ControlKind::CheckCombo) refreshCheckComboText(c);
    } else if (auto* l = qobject_cast<QListWidget*>(m_widget)) {
        l->clearSelection();
        l->setCurrentRow(index);
        if (index >= 0) l->item(index)->setSelected(true);
    } else if (auto* t = qobject_cast<QTreeWidget*>(m_widget)) {
        t->clearSelection();
        if (index >= 0) {
            t->topLevelItem(index)->setSelected(true);
            t->setCurrentItem(t->topLevelItem(index));
        }
    } else if (auto* tb = qobject_cast<QTabBar*>(m_widget)) {
        if (index >= 0) tb->setCurrentIndex(index);
    }
    return bad ? -1 : index;
}

std::string Control::itemText(int index) const {
    if (auto* c = qobject_cast<QComboBox*>(m_widget))
        return index >= 0 && index < c->count() ? ss(c->itemText(index)) : "";
    if (auto* l = qobject_cast<QListWidget*>(m_widget))
        return index >= 0 && index < l->count() ? ss(l->item(index)->text()) : "";
    if (auto* tb = qobject_cast<QTabBar*>(m_widget)) return ss(tb->tabText(index));
    if (auto* t = qobject_cast<QTreeWidget*>(m_widget))
        return index >= 0 && index < t->topLevelItemCount() ? ss(t->topLevelItem(index)->text(0)) : "";
    return {};
}

int Control::findStringExact(const std::string& text, int startAfter) const {
    QString t = qs(text);
    int n = count();
    for (int k = 0; k < n; ++k) {
        int i = (startAfter + 1 + k) % std::max(n, 1);
        if (sameTextIgnoringCase(qs(itemText(i)), t)) return i;
    }
    return -1;
}

int Control::selectString(const std::string& text) {
    QString t = qs(text);
    for (int i = 0; i < count(); ++i)
        if (qs(itemText(i)).startsWith(t, Qt::CaseInsensitive)) return setCurSel(i);
    return -1;
}

void Control::setItemData(int index, std::intptr_t data) {
    if (auto* c = qobject_cast<QComboBox*>(m_widget))
        c->setItemData(index, QVariant::fromValue<qlonglong>(data));
    else if (auto* l = qobject_cast<QListWidget*>(m_widget)) {
        if (auto* it = l->item(index)) it->setData(Qt::UserRole, QVariant::fromValue<qlonglong>(data));
    } else
        m_itemData[index] = data;
}

std::intptr_t Control::itemData(int index) const {
    if (auto* c = qobject_cast<QComboBox*>(m_widget))
        return static_cast<std::intptr_t>(c->itemData(index).toLongLong());
    if (auto* l = qobject_cast<QListWidget*>(m_widget))
        return l->item(index) ? static_cast<std::intptr_t>(l->item(index)->data(Qt::UserRole).toLongLong())
                              : 0;
    auto it = m_itemData.find(index);
    return it == m_itemData.end() ? 0 : it->second;
}

bool Control::isSelected(int index) const {
    if (auto* l = qobject_cast<QListWidget*>(m_widget)) return l->item(index) && l->item(index)->isSelected();
    if (auto* t = qobject_cast<QTreeWidget*>(m_widget))
        return t->topLevelItem(index) && t->topLevelItem(index)->isSelected();
    return index >= 0 && index == curSel();
}

void Control::setSelected(int index, bool selected) {
    Silence s(*this);
    if (auto* l = qobject_cast<QListWidget*>(m_widget)) {
        if (index == -1) {
            for (int i = 0; i < l->count(); ++i)
                l->item(i)->setSelected(selected);
        } else if (auto* it = l->item(index))
            it->setSelected(selected);
    } else if (auto* t = qobject_cast<QTreeWidget*>(m_widget)) {
        if (auto* it = t->topLevelItem(index)) it->setSelected(selected);
    }
}

std::vector<int> Control::selectedIndexes() const {
    std::vector<int> out;
    for (int i = 0; i < count(); ++i)
        if (isSelected(i)) out.push_back(i);
    return out;
}

bool Control::itemChecked(int index) const {
    auto* m = checkModel(m_widget);
    return m && m->item(index) && m->item(index)->checkState() == Qt::Checked;
}

void Control::setItemChecked(int index, bool checked) {
    Silence s(*this);
    auto* m = checkModel(m_widget);
    if (!m || !m->item(index)) return;
    m->item(index)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    refreshCheckComboText(qobject_cast<QComboBox*>(m_widget));
}

void Control::fillAtOnce(const std::function<void()>& fill) {
    auto* c = qobject_cast<QComboBox*>(m_widget);
    if (!c || m_kind != ControlKind::CheckCombo || c->property(kDeferCheckText).toBool()) {
        fill();
        return;
    }
    c->setProperty(kDeferCheckText, true);
    struct Resume {
        QComboBox* c;
        ~Resume() {
            c->setProperty(kDeferCheckText, false);
            refreshCheckComboText(c);
        }
    } resume{c};
    fill();
}

void Control::setDroppedWidth(int pixels) {
    if (auto* c = qobject_cast<QComboBox*>(m_widget)) c->view()->setMinimumWidth(pixels);
}

int Control::insertTab(int index, const std::string& text) {
    Silence s(*this);
    if (auto* tb = qobject_cast<QTabBar*>(m_widget)) return tb->insertTab(index, qs(text));
    return -1;
}

void Control::setImageSize(Size size) {
    if (auto* l = qobject_cast<QListWidget*>(m_widget))
        l->setIconSize(QSize(size.cx, size.cy));
    else if (auto* t = qobject_cast<QTreeWidget*>(m_widget))
        t->setIconSize(QSize(size.cx, size.cy));
}

int Control::insertColumn(int index, const std::string& heading, int width) {
    auto* t = qobject_cast<QTreeWidget*>(m_widget);
    if (!t) return -1;
    int n = t->columnCount();
    QStringList labels;
    for (int i = 0; i < n; ++i)
        labels << t->headerItem()->text(i);
    if (n == 1 && labels[0].isEmpty() && t->property("vorColumns").toInt() == 0) {
        labels.clear();
        n = 0;
    }
    index = std::clamp(index, 0, n);
    labels.insert(index, qs(heading));
    t->setColumnCount(static_cast<int>(labels.size()));
    t->setHeaderLabels(labels);
    t->setColumnWidth(index, width);
    t->setProperty("vorColumns", static_cast<int>(labels.size()));
    t->header()->setVisible(true);
    return index;
}

int Control::insertItem(int index, const std::string& text, const Image& image) {
    Silence s(*this);
    if (auto* t = qobject_cast<QTreeWidget*>(m_widget)) {
        if (index < 0 || index > t->topLevelItemCount()) index = t->topLevelItemCount();
        auto* it = new QTreeWidgetItem(QStringList{qs(text)});
        if (!image.isNull()) it->setIcon(0, QIcon(image.pixmap()));
        t->insertTopLevelItem(index, it);
        return index;
    }
    if (auto* l = qobject_cast<QListWidget*>(m_widget)) {
        if (index < 0 || index > l->count()) index = l->count();
        auto* it = image.isNull() ? new QListWidgetItem(qs(text))
                                  : new QListWidgetItem(QIcon(image.pixmap()), qs(text));
        l->insertItem(index, it);
        return index;
    }
    return insertString(index, text);
}

void Control::setItemText(int index, int column, const std::string& text) {
    if (auto* t = qobject_cast<QTreeWidget*>(m_widget)) {
        if (auto* it = t->topLevelItem(index)) it->setText(column, qs(text));
    } else if (auto* l = qobject_cast<QListWidget*>(m_widget); l && column == 0) {
        if (auto* it = l->item(index)) it->setText(qs(text));
    } else if (auto* tb = qobject_cast<QTabBar*>(m_widget))
        tb->setTabText(index, qs(text));
}

std::string Control::itemText(int index, int column) const {
    if (auto* t = qobject_cast<QTreeWidget*>(m_widget))
        return t->topLevelItem(index) ? ss(t->topLevelItem(index)->text(column)) : "";
    return column == 0 ? itemText(index) : "";
}

void Control::ensureVisible(int index) {
    if (auto* l = qobject_cast<QListWidget*>(m_widget)) {
        if (auto* it = l->item(index)) l->scrollToItem(it);
    } else if (auto* t = qobject_cast<QTreeWidget*>(m_widget)) {
        if (auto* it = t->topLevelItem(index)) t->scrollToItem(it);
    }
}

void Control::setRange(int low, int high) {
    if (auto* s = qobject_cast<QSlider*>(m_widget))
        s->setRange(low, high);
    else if (auto* p = qobject_cast<QProgressBar*>(m_widget))
        p->setRange(low, high);
}

void Control::setPos(int p) {
    Silence s(*this);
    if (auto* sl = qobject_cast<QSlider*>(m_widget))
        sl->setValue(p);
    else if (auto* pb = qobject_cast<QProgressBar*>(m_widget))
        pb->setValue(p);
}

int Control::pos() const {
    if (auto* sl = qobject_cast<QSlider*>(m_widget)) return sl->value();
    if (auto* pb = qobject_cast<QProgressBar*>(m_widget)) return pb->value();
    return 0;
}

void Control::embed(QWidget* view) {
    auto* h = dynamic_cast<HookView*>(m_widget);
    if (!h || !view) return;
    if (h->embedded && h->embedded != view) delete h->embedded.data();
    view->setParent(h);
    view->setGeometry(0, 0, h->width(), h->height());
    view->show();
    h->embedded = view;
    h->setFrameShape(QFrame::NoFrame);
    m_embedded = view;
    if (auto* f = m_owner ? m_owner->widget() : nullptr) {
        for (QObject* o : f->children())
            if (auto* filter = dynamic_cast<DialogFilter*>(o)) {
                filter->watch(view);
                for (auto* w : view->findChildren<QWidget*>())
                    filter->watch(w);
            }
    }
}

void Control::setPaintHandler(std::function<void(Painter&)> paint) {
    paintHandler = std::move(paint);
    if (m_widget) m_widget->update();
}

void Control::setMouseHandler(std::function<bool(const MouseEvent&)> mouse) {
    mouseHandler = std::move(mouse);
}

} // namespace ui
