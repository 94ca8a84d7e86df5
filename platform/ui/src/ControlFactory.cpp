// Widgets for the control lines of templates, and the notifications they send.

#include "ControlFactory_p.h"

#include <ui/Resources.h>

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
#include <QMouseEvent>
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
#include <QStyle>
#include <QTabBar>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include <climits>

namespace ui {

namespace {

Image imageFromText(const std::string& text) {
    try {
        size_t used = 0;
        int id = std::stoi(text, &used);
        if (used == text.size()) return Image::fromResource(id);
    } catch (...) {
    }
    Image fromTheme = Image::fromTheme(text, 16);
    return fromTheme;
}

/// A check combo's edit part lists the marked items and shows their beginning. A line edit that
/// gets the focus by the keyboard selects its whole text, which scrolls it to the end; the
/// selection is turned round afterwards, so that it stays whole but the text shows from its start.
class CheckComboStart : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() != QEvent::FocusIn) return false;
        // The combo hands its focus events to its edit part directly, past any filter of that.
        QLineEdit* le = qobject_cast<QLineEdit*>(o);
        if (auto* combo = qobject_cast<QComboBox*>(o)) le = combo->lineEdit();
        if (le)
            QTimer::singleShot(0, le, [le] {
                const int n = int(le->text().size());
                if (le->hasSelectedText() && le->selectedText().size() == n)
                    le->setSelection(n, -n);
                else
                    le->setCursorPosition(0);
            });
        return false;
    }
};

/// A click on an item's text in a check combo's list makes it the current item; a click on its
/// check box still toggles the mark. Lists whose items are edited one at a time while the marks
/// say which are on need both.
class CheckComboPicker : public QObject {
public:
    CheckComboPicker(Control* control, QComboBox* combo)
        : QObject(combo)
        , m_control(control)
        , m_combo(combo) {}

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() != QEvent::MouseButtonRelease) return false;
        const QPoint at = static_cast<QMouseEvent*>(e)->position().toPoint();
        QAbstractItemView* view = m_combo->view();
        const QModelIndex index = view->indexAt(at);
        QStyle* style = view->style();
        const int box = style->pixelMetric(QStyle::PM_IndicatorWidth) +
                        3 * style->pixelMetric(QStyle::PM_FocusFrameHMargin) + 2;
        if (!index.isValid() || at.x() < view->visualRect(index).left() + box) return false;
        m_combo->setCurrentIndex(index.row());
        m_combo->hidePopup();
        refreshCheckComboText(m_combo);
        m_control->notify(CBN_SELCHANGE);
        return true;
    }

private:
    Control* m_control;
    QComboBox* m_combo;
};

} // namespace

ControlKind kindOf(const ControlTemplate& t) {
    const std::string& k = t.kind;
    if (k == "LTEXT" || k == "RTEXT" || k == "CTEXT") return ControlKind::Static;
    if (k == "ICON") return ControlKind::Picture;
    if (k == "GROUPBOX") return ControlKind::GroupBox;
    if (k == "EDITTEXT" || k == "Edit") return ControlKind::Edit;
    if (k == "PUSHBUTTON" || k == "DEFPUSHBUTTON") return ControlKind::PushButton;
    if (k == "CHECKBOX" || k == "AUTOCHECKBOX" || k == "AUTO3STATE" || k == "STATE3")
        return ControlKind::CheckBox;
    if (k == "RADIOBUTTON" || k == "AUTORADIOBUTTON") return ControlKind::RadioButton;
    if (k == "COMBOBOX" || k == "ComboBox") return ControlKind::ComboBox;
    if (k == "VorCheckCombo") return ControlKind::CheckCombo;
    if (k == "LISTBOX" || k == "ListBox") return ControlKind::ListBox;
    if (k == "SysListView32") return ControlKind::ListView;
    if (k == "SysTabControl32") return ControlKind::TabControl;
    if (k.rfind("RichEdit", 0) == 0 || k == "RICHEDIT50W") return ControlKind::RichEdit;
    if (k == "ToolbarWindow32") return ControlKind::ToolBar;
    if (k == "msctls_trackbar32") return ControlKind::Slider;
    if (k == "msctls_progress32") return ControlKind::Progress;
    if (k == "VorGrid" || k == "VorPreview" || k == "VorView") return ControlKind::Placeholder;
    if (k == "Button") {
        if (t.hasStyle("BS_GROUPBOX")) return ControlKind::GroupBox;
        if (t.hasStyle("BS_AUTOCHECKBOX") || t.hasStyle("BS_CHECKBOX") || t.hasStyle("BS_AUTO3STATE") ||
            t.hasStyle("BS_3STATE"))
            return ControlKind::CheckBox;
        if (t.hasStyle("BS_AUTORADIOBUTTON") || t.hasStyle("BS_RADIOBUTTON")) return ControlKind::RadioButton;
        return ControlKind::PushButton;
    }
    if (k == "Static") {
        if (t.hasStyle("SS_BITMAP") || t.hasStyle("SS_ICON") || t.hasStyle("SS_BLACKFRAME") ||
            t.hasStyle("SS_ETCHEDFRAME") || t.hasStyle("SS_GRAYFRAME") || t.hasStyle("SS_WHITEFRAME") ||
            t.hasStyle("SS_OWNERDRAW"))
            return ControlKind::Picture;
        return ControlKind::Static;
    }
    return ControlKind::Static;
}

QWidget* createWidget(const ControlTemplate& t, ControlKind kind, QWidget* parent) {
    QString text = qs(t.text);
    switch (kind) {
    case ControlKind::Static: {
        auto* l = new QLabel(stripMnemonic(text), parent);
        l->setWordWrap(!t.hasStyle("SS_LEFTNOWORDWRAP"));
        Qt::Alignment a = t.kind == "RTEXT" || t.hasStyle("SS_RIGHT")    ? Qt::AlignRight
                          : t.kind == "CTEXT" || t.hasStyle("SS_CENTER") ? Qt::AlignHCenter
                                                                         : Qt::AlignLeft;
        l->setAlignment(a | (t.hasStyle("SS_CENTERIMAGE") ? Qt::AlignVCenter : Qt::AlignTop));
        if (t.hasStyle("SS_SUNKEN") || t.hasStyle("WS_BORDER"))
            l->setFrameShape(QFrame::Panel), l->setFrameShadow(QFrame::Sunken);
        return l;
    }
    case ControlKind::Picture: {
        auto* l = new QLabel(parent);
        if (t.hasStyle("SS_BLACKFRAME") || t.hasStyle("SS_GRAYFRAME") || t.hasStyle("SS_ETCHEDFRAME"))
            l->setFrameShape(QFrame::Box);
        if (!t.text.empty()) {
            Image im = imageFromText(t.text);
            if (!im.isNull()) l->setPixmap(im.pixmap());
        }
        l->setAlignment(t.hasStyle("SS_CENTERIMAGE") ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignTop);
        return l;
    }
    case ControlKind::GroupBox:
        return new QGroupBox(stripMnemonic(text), parent);
    case ControlKind::Edit: {
        if (t.hasStyle("ES_MULTILINE")) {
            auto* p = new QPlainTextEdit(parent);
            p->setPlainText(text);
            p->setTabChangesFocus(true);
            p->setReadOnly(t.hasStyle("ES_READONLY"));
            p->setLineWrapMode(t.hasStyle("ES_AUTOHSCROLL") || t.hasStyle("WS_HSCROLL")
                                   ? QPlainTextEdit::NoWrap
                                   : QPlainTextEdit::WidgetWidth);
            return p;
        }
        auto* e = new QLineEdit(parent);
        e->setMaxLength(kNoTextLimit); // before the text, which would otherwise be cut
        e->setText(text);
        e->setReadOnly(t.hasStyle("ES_READONLY"));
        if (t.hasStyle("ES_PASSWORD")) e->setEchoMode(QLineEdit::Password);
        if (t.hasStyle("ES_NUMBER"))
            e->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), e));
        if (t.hasStyle("ES_RIGHT")) e->setAlignment(Qt::AlignRight);
        if (t.hasStyle("ES_CENTER")) e->setAlignment(Qt::AlignHCenter);
        return e;
    }
    case ControlKind::PushButton: {
        auto* b = new QPushButton(parent);
        if (t.hasStyle("BS_BITMAP") || t.hasStyle("BS_ICON")) {
            Image im = imageFromText(t.text);
            if (!im.isNull()) {
                b->setIcon(QIcon(im.pixmap()));
                b->setIconSize(im.pixmap().size());
            } else
                b->setText(text);
        } else {
            b->setText(text);
        }
        b->setAutoDefault(false);
        b->setDefault(t.kind == "DEFPUSHBUTTON" || t.hasStyle("BS_DEFPUSHBUTTON"));
        return b;
    }
    case ControlKind::CheckBox: {
        if (t.hasStyle("BS_PUSHLIKE")) {
            auto* b = new QPushButton(text, parent);
            b->setCheckable(true);
            if (t.hasStyle("BS_BITMAP") || t.hasStyle("BS_ICON")) {
                Image im = imageFromText(t.text);
                if (!im.isNull()) {
                    b->setText(QString());
                    b->setIcon(QIcon(im.pixmap()));
                    b->setIconSize(im.pixmap().size());
                }
            }
            return b;
        }
        auto* c = new QCheckBox(text, parent);
        c->setTristate(t.kind == "AUTO3STATE" || t.kind == "STATE3" || t.hasStyle("BS_AUTO3STATE") ||
                       t.hasStyle("BS_3STATE"));
        return c;
    }
    case ControlKind::RadioButton: {
        auto* r = new QRadioButton(text, parent);
        r->setAutoExclusive(false);
        return r;
    }
    case ControlKind::ComboBox:
    case ControlKind::CheckCombo: {
        auto* c = new QComboBox(parent);
        bool editable =
            kind == ControlKind::CheckCombo || t.hasStyle("CBS_DROPDOWN") || t.hasStyle("CBS_SIMPLE") ||
            (!t.hasStyle("CBS_DROPDOWNLIST") && t.kind == "COMBOBOX" && !t.hasStyle("CBS_OWNERDRAWFIXED"));
        c->setEditable(editable);
        if (editable) {
            c->setInsertPolicy(QComboBox::NoInsert);
            c->lineEdit()->setMaxLength(kNoTextLimit);
        }
        if (kind == ControlKind::CheckCombo) {
            c->setModel(new QStandardItemModel(c));
            c->lineEdit()->setReadOnly(true);
        }
        if (t.hasStyle("CBS_OWNERDRAWFIXED")) c->setIconSize(QSize(32, 16));
        return c;
    }
    case ControlKind::ListBox: {
        auto* l = new QListWidget(parent);
        if (t.hasStyle("LBS_EXTENDEDSEL"))
            l->setSelectionMode(QAbstractItemView::ExtendedSelection);
        else if (t.hasStyle("LBS_MULTIPLESEL"))
            l->setSelectionMode(QAbstractItemView::MultiSelection);
        else
            l->setSelectionMode(QAbstractItemView::SingleSelection);
        return l;
    }
    case ControlKind::ListView: {
        if (t.hasStyle("LVS_REPORT")) {
            auto* tr = new QTreeWidget(parent);
            tr->setRootIsDecorated(false);
            tr->setHeaderHidden(t.hasStyle("LVS_NOCOLUMNHEADER"));
            tr->setSelectionMode(t.hasStyle("LVS_SINGLESEL") ? QAbstractItemView::SingleSelection
                                                             : QAbstractItemView::ExtendedSelection);
            return tr;
        }
        auto* l = new QListWidget(parent);
        l->setViewMode(QListView::IconMode);
        l->setResizeMode(QListView::Adjust);
        l->setMovement(QListView::Static);
        l->setIconSize(QSize(64, 64));
        l->setSelectionMode(t.hasStyle("LVS_SINGLESEL") ? QAbstractItemView::SingleSelection
                                                        : QAbstractItemView::ExtendedSelection);
        return l;
    }
    case ControlKind::TabControl: {
        auto* tb = new QTabBar(parent);
        tb->setDrawBase(true);
        tb->setExpanding(false);
        return tb;
    }
    case ControlKind::RichEdit: {
        auto* r = new QTextEdit(parent);
        r->setAcceptRichText(false);
        r->setPlainText(text);
        r->setReadOnly(t.hasStyle("ES_READONLY"));
        return r;
    }
    case ControlKind::ToolBar:
        return new QToolBar(parent);
    case ControlKind::Slider:
        return new QSlider(Qt::Horizontal, parent);
    case ControlKind::Progress:
        return new QProgressBar(parent);
    case ControlKind::Placeholder: {
        auto* h = new HookView(parent);
        h->setFrameShape(t.hasStyle("WS_BORDER") ? QFrame::Box : QFrame::NoFrame);
        return h;
    }
    }
    return new QLabel(parent);
}

void connectNotifications(Control* c, QWidget* w) {
    if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        QObject::connect(b, &QAbstractButton::clicked, w, [c] { c->notify(BN_CLICKED); });
    }
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
        QObject::connect(e, &QLineEdit::textChanged, w, [c] { c->notify(EN_CHANGE); });
    }
    if (auto* p = qobject_cast<QPlainTextEdit*>(w)) {
        QObject::connect(p, &QPlainTextEdit::textChanged, w, [c] { c->notify(EN_CHANGE); });
    }
    if (auto* r = qobject_cast<QTextEdit*>(w)) {
        QObject::connect(r, &QTextEdit::textChanged, w, [c] { c->notify(EN_CHANGE); });
    }
    if (auto* cb = qobject_cast<QComboBox*>(w)) {
        if (c->kind() == ControlKind::CheckCombo) {
            auto* m = qobject_cast<QStandardItemModel*>(cb->model());
            // after the combo's own handler, which puts the current item's text in the edit part
            QObject::connect(m, &QStandardItemModel::dataChanged, w, [c, cb] {
                refreshCheckComboText(cb);
                c->notify(CBN_SELCHANGE);
            });
            cb->view()->viewport()->installEventFilter(new CheckComboPicker(c, cb));
            auto* start = new CheckComboStart(cb);
            cb->installEventFilter(start);
            cb->lineEdit()->installEventFilter(start);
        } else {
            QObject::connect(cb, qOverload<int>(&QComboBox::activated), w, [c] { c->notify(CBN_SELCHANGE); });
            if (cb->lineEdit())
                QObject::connect(cb->lineEdit(), &QLineEdit::textEdited, w,
                                 [c] { c->notify(CBN_EDITCHANGE); });
        }
    }
    if (auto* l = qobject_cast<QListWidget*>(w)) {
        bool listView = c->kind() == ControlKind::ListView;
        QObject::connect(l, &QListWidget::itemSelectionChanged, w,
                         [c, listView] { c->notify(listView ? LVN_ITEMCHANGED : LBN_SELCHANGE); });
        QObject::connect(l, &QListWidget::itemDoubleClicked, w,
                         [c, listView] { c->notify(listView ? NM_DBLCLK : LBN_DBLCLK); });
    }
    if (auto* t = qobject_cast<QTreeWidget*>(w)) {
        QObject::connect(t, &QTreeWidget::itemSelectionChanged, w, [c] { c->notify(LVN_ITEMCHANGED); });
        QObject::connect(t, &QTreeWidget::itemDoubleClicked, w, [c] { c->notify(NM_DBLCLK); });
    }
    if (auto* tb = qobject_cast<QTabBar*>(w)) {
        QObject::connect(tb, &QTabBar::currentChanged, w, [c] { c->notify(TCN_SELCHANGE); });
    }
    if (auto* s = qobject_cast<QSlider*>(w)) {
        QObject::connect(s, &QSlider::valueChanged, w, [c] { c->notify(0); });
    }
}

} // namespace ui
