// The scripted agent and the simulated user.

#include <ui/Application.h>
#include <ui/Resources.h>
#include <ui/Script.h>
#include <ui/Window.h>

#include "Internal_p.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTabBar>
#include <QTextEdit>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>

namespace ui {

// ---------------------------------------------------------------- grid access registry

namespace {
std::map<const Control*, GridAccess*>& grids() {
    static auto* g = new std::map<const Control*, GridAccess*>; // outlives every control
    return *g;
}

bool toInt(const std::string& s, int& v) {
    try {
        size_t used = 0;
        v = std::stoi(s, &used);
        return used == s.size();
    } catch (...) {
        return false;
    }
}

std::string lower(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

const char* kindName(ControlKind k) {
    switch (k) {
    case ControlKind::Static: return "static";
    case ControlKind::Picture: return "picture";
    case ControlKind::GroupBox: return "group";
    case ControlKind::Edit: return "edit";
    case ControlKind::PushButton: return "button";
    case ControlKind::CheckBox: return "check";
    case ControlKind::RadioButton: return "radio";
    case ControlKind::ComboBox: return "combo";
    case ControlKind::CheckCombo: return "checkcombo";
    case ControlKind::ListBox: return "list";
    case ControlKind::ListView: return "listview";
    case ControlKind::TabControl: return "tabs";
    case ControlKind::RichEdit: return "richedit";
    case ControlKind::ToolBar: return "toolbar";
    case ControlKind::Placeholder: return "view";
    case ControlKind::Slider: return "slider";
    case ControlKind::Progress: return "progress";
    }
    return "?";
}

std::string quote(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\') out += '\\';
        if (c == '\n') { out += "\\n"; continue; }
        if (c == '\r') continue;
        if (c == '\t') { out += "\\t"; continue; }
        out += c;
    }
    return out + "\"";
}

int defaultAnswer(const MessageRequest& r) {
    switch (r.buttons()) {
    case MB_OKCANCEL:
    case MB_YESNOCANCEL:
    case MB_RETRYCANCEL: return IDCANCEL;
    case MB_YESNO: return IDNO;
    case MB_ABORTRETRYIGNORE: return IDABORT;
    default: return IDOK;
    }
}

bool answerFits(const MessageRequest& r, int answer) {
    switch (r.buttons()) {
    case MB_OKCANCEL: return answer == IDOK || answer == IDCANCEL;
    case MB_YESNOCANCEL: return answer == IDYES || answer == IDNO || answer == IDCANCEL;
    case MB_YESNO: return answer == IDYES || answer == IDNO;
    case MB_RETRYCANCEL: return answer == IDRETRY || answer == IDCANCEL;
    case MB_ABORTRETRYIGNORE: return answer == IDABORT || answer == IDRETRY || answer == IDIGNORE;
    default: return answer == IDOK;
    }
}

const char* answerName(int a) {
    switch (a) {
    case IDOK: return "ok";
    case IDCANCEL: return "cancel";
    case IDABORT: return "abort";
    case IDRETRY: return "retry";
    case IDIGNORE: return "ignore";
    case IDYES: return "yes";
    case IDNO: return "no";
    default: return "?";
    }
}
} // namespace

void setGridAccess(Control* control, GridAccess* grid) {
    if (grid) grids()[control] = grid;
    else grids().erase(control);
}

GridAccess* gridAccess(const Control* control) {
    auto it = grids().find(control);
    return it == grids().end() ? nullptr : it->second;
}

bool splitScriptLine(const std::string& line, std::vector<std::string>& words, std::string& error) {
    words.clear();
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i]))) ++i;
        if (i >= line.size()) break;
        if (line[i] == '#') break; // a comment runs to the end of the line
        std::string w;
        if (line[i] == '"') {
            ++i;
            bool closed = false;
            while (i < line.size()) {
                char c = line[i++];
                if (c == '"') { closed = true; break; }
                if (c == '\\' && i < line.size()) {
                    char e = line[i++];
                    w += e == 'n' ? '\n' : e == 't' ? '\t' : e;
                    continue;
                }
                w += c;
            }
            if (!closed) {
                error = "unterminated quoted text";
                return false;
            }
        } else {
            while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i]))) w += line[i++];
        }
        words.push_back(w);
    }
    return true;
}

// ---------------------------------------------------------------- simulated user

namespace {
bool usable(Control& c, std::string& error, const char* action) {
    if (!c.exists()) { error = "control " + std::to_string(c.id()) + " no longer exists"; return false; }
    if (!c.isVisible()) { error = "cannot " + std::string(action) + " control " + std::to_string(c.id()) + ": it is hidden"; return false; }
    if (!c.isEnabled()) { error = "cannot " + std::string(action) + " control " + std::to_string(c.id()) + ": it is disabled"; return false; }
    return true;
}
} // namespace

void SimulatedUser::focus(Control& c) {
    if (!c.exists()) return;
    if (Window* top = c.owner()) {
        if (top->widget() && !top->widget()->isActiveWindow()) {
            top->widget()->activateWindow();
            QApplication::setActiveWindow(top->widget());
        }
    }
    c.setFocus();
    processEvents();
}

bool SimulatedUser::click(Control& c, std::string& error) {
    if (!usable(c, error, "click")) return false;
    auto* b = qobject_cast<QAbstractButton*>(c.widget());
    if (!b) { error = "control " + std::to_string(c.id()) + " is a " + kindName(c.kind()) + ", not a button"; return false; }
    if (b->focusPolicy() != Qt::NoFocus) focus(c);
    if (!c.exists()) return true;
    b->click();
    processEvents();
    return true;
}

bool SimulatedUser::doubleClick(Control& c, std::string& error) {
    if (!usable(c, error, "double-click")) return false;
    if (auto* l = qobject_cast<QListWidget*>(c.widget())) {
        QListWidgetItem* it = l->currentItem();
        if (!it) { error = "nothing selected to double-click in list " + std::to_string(c.id()); return false; }
        emit l->itemDoubleClicked(it);
    } else if (auto* t = qobject_cast<QTreeWidget*>(c.widget())) {
        QTreeWidgetItem* it = t->currentItem();
        if (!it) { error = "nothing selected to double-click in list " + std::to_string(c.id()); return false; }
        emit t->itemDoubleClicked(it, 0);
    } else if (c.kind() == ControlKind::PushButton) {
        c.notify(BN_DOUBLECLICKED);
    } else if (c.kind() == ControlKind::ComboBox) {
        c.notify(CBN_DBLCLK);
    } else {
        error = "control " + std::to_string(c.id()) + " takes no double click";
        return false;
    }
    processEvents();
    return true;
}

bool SimulatedUser::type(Control& c, const std::string& text, std::string& error) {
    if (!usable(c, error, "type into")) return false;
    if (c.isReadOnly()) { error = "cannot type into control " + std::to_string(c.id()) + ": it is read-only"; return false; }
    QWidget* w = c.widget();
    focus(c);
    if (!c.exists()) return true;
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
        e->selectAll();
        e->insert(qs(text));
        if (e->text() != qs(text) && e->maxLength() < static_cast<int>(qs(text).size())) {
            // a limited field keeps what fits, as it does for a person
        }
    } else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) {
        p->selectAll();
        p->insertPlainText(qs(text));
    } else if (auto* r = qobject_cast<QTextEdit*>(w)) {
        r->selectAll();
        r->insertPlainText(qs(text));
    } else if (auto* cb = qobject_cast<QComboBox*>(w); cb && cb->lineEdit() && !cb->lineEdit()->isReadOnly()) {
        cb->lineEdit()->selectAll();
        cb->lineEdit()->insert(qs(text));
    } else {
        error = "cannot type into control " + std::to_string(c.id()) + ", a " + kindName(c.kind());
        return false;
    }
    processEvents();
    return true;
}

bool SimulatedUser::select(Control& c, int index, std::string& error) {
    if (!usable(c, error, "select in")) return false;
    if (index < 0 || index >= c.count()) {
        error = "control " + std::to_string(c.id()) + " has no item " + std::to_string(index) + " (it has " +
                std::to_string(c.count()) + ")";
        return false;
    }
    focus(c);
    if (!c.exists()) return true;
    QWidget* w = c.widget();
    if (c.kind() == ControlKind::CheckCombo) {
        auto* m = qobject_cast<QStandardItemModel*>(qobject_cast<QComboBox*>(w)->model());
        QStandardItem* it = m->item(index);
        it->setCheckState(it->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    } else if (auto* cb = qobject_cast<QComboBox*>(w)) {
        cb->setCurrentIndex(index);
        emit cb->activated(index);
    } else if (auto* l = qobject_cast<QListWidget*>(w)) {
        if (l->selectionMode() == QAbstractItemView::MultiSelection) {
            l->item(index)->setSelected(!l->item(index)->isSelected());
        } else {
            l->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
        }
    } else if (auto* t = qobject_cast<QTreeWidget*>(w)) {
        t->setCurrentItem(t->topLevelItem(index), 0, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    } else if (auto* tb = qobject_cast<QTabBar*>(w)) {
        tb->setCurrentIndex(index);
    } else {
        error = "control " + std::to_string(c.id()) + " has nothing to select";
        return false;
    }
    processEvents();
    return true;
}

bool SimulatedUser::select(Control& c, const std::string& text, std::string& error) {
    int i = c.findStringExact(text);
    if (i < 0) {
        std::string items;
        for (int k = 0; k < c.count() && k < 20; ++k) items += (k ? ", " : "") + quote(c.itemText(k));
        error = "control " + std::to_string(c.id()) + " has no item " + quote(text) + " (items: " + items + ")";
        return false;
    }
    return select(c, i, error);
}

bool SimulatedUser::check(Control& c, int state, std::string& error) {
    if (!usable(c, error, "check")) return false;
    auto* b = qobject_cast<QAbstractButton*>(c.widget());
    if (!b || (c.kind() != ControlKind::CheckBox && c.kind() != ControlKind::RadioButton)) {
        error = "control " + std::to_string(c.id()) + " is not a check box or radio button";
        return false;
    }
    if (c.kind() == ControlKind::RadioButton && state != BST_CHECKED) {
        error = "a radio button cannot be switched off by clicking it";
        return false;
    }
    if (state == BST_INDETERMINATE) {
        auto* cb = qobject_cast<QCheckBox*>(b);
        if (!cb || !cb->isTristate()) {
            error = "check box " + std::to_string(c.id()) + " has no third state";
            return false;
        }
    }
    for (int i = 0; i < 3 && c.exists() && c.checkState() != state; ++i) {
        if (!click(c, error)) return false;
    }
    if (c.exists() && c.checkState() != state) {
        error = "check box " + std::to_string(c.id()) + " did not reach the state asked for";
        return false;
    }
    return true;
}

bool SimulatedUser::rightClick(Control& c, std::string& error) {
    if (!usable(c, error, "right-click")) return false;
    QWidget* w = c.embedded() ? c.embedded() : c.widget();
    QPoint local(w->width() / 2, w->height() / 2);
    QContextMenuEvent e(QContextMenuEvent::Mouse, local, w->mapToGlobal(local));
    QCoreApplication::sendEvent(w, &e);
    processEvents();
    return true;
}

bool SimulatedUser::key(Dialog& d, const KeyEvent& key, std::string& error) {
    if (!d.exists()) { error = "the dialog is closed"; return false; }
    d.sendKey(key);
    processEvents();
    return true;
}

bool SimulatedUser::menu(Dialog& d, int commandId, std::string& error) {
    Menu* m = d.menu();
    if (!m) { error = d.describe() + " has no menu"; return false; }
    if (!m->hasItem(commandId)) { error = "the menu of " + d.describe() + " has no item " + std::to_string(commandId); return false; }
    Dialog::Hooks::initMenuPopup(d, *m);
    if (!m->isEnabled(commandId)) {
        error = "menu item " + std::to_string(commandId) + " \"" + m->itemText(commandId) + "\" is disabled";
        return false;
    }
    d.sendCommand(commandId, 0);
    processEvents();
    return true;
}

bool SimulatedUser::toolbar(Dialog& d, int commandId, std::string& error) {
    ToolBar* t = d.toolBar();
    if (!t) { error = d.describe() + " has no toolbar"; return false; }
    auto ids = t->buttonIds();
    if (std::find(ids.begin(), ids.end(), commandId) == ids.end()) {
        error = "the toolbar has no button " + std::to_string(commandId);
        return false;
    }
    if (!t->isButtonEnabled(commandId)) { error = "toolbar button " + std::to_string(commandId) + " is disabled"; return false; }
    d.sendCommand(commandId, 0);
    processEvents();
    return true;
}

void SimulatedUser::close(Dialog& d) {
    Dialog::Hooks::close(d);
    processEvents();
}

std::string SimulatedUser::stateOf(const Control& c) {
    std::string s;
    s += c.isEnabled() ? " enabled" : " disabled";
    s += c.isVisible() ? " visible" : " hidden";
    if (c.kind() == ControlKind::CheckBox || c.kind() == ControlKind::RadioButton) {
        int st = c.checkState();
        s += st == BST_CHECKED ? " checked" : st == BST_INDETERMINATE ? " indeterminate" : " unchecked";
    }
    if (c.isReadOnly()) s += " read-only";
    if (c.hasFocus()) s += " focus";
    return s;
}

std::string SimulatedUser::dump(const Dialog& d) {
    std::ostringstream o;
    Rect r = d.windowRect();
    o << "dialog " << d.templateId() << " " << quote(d.windowText()) << "\n";
    o << "rect " << r.left << " " << r.top << " " << r.right << " " << r.bottom << "\n";
    if (Menu* m = d.menu()) {
        o << "menu";
        for (int id : m->commandIds()) o << " " << id << (m->isEnabled(id) ? "" : "(disabled)");
        o << "\n";
    }
    if (ToolBar* t = d.toolBar()) {
        o << "toolbar";
        for (int id : t->buttonIds()) o << " " << id << (t->isButtonEnabled(id) ? "" : "(disabled)");
        o << "\n";
    }
    for (Control* c : d.controls()) {
        o << "  " << c->id() << " " << kindName(c->kind()) << " " << quote(c->text()) << stateOf(*c);
        int n = c->count();
        if (n > 0) {
            o << " items[" << n << "]";
            if (c->curSel() >= 0) o << " sel " << c->curSel();
            for (int i = 0; i < n && i < 12; ++i) o << " " << quote(c->itemText(i));
            if (n > 12) o << " ...";
        }
        o << "\n";
    }
    return o.str();
}

// ---------------------------------------------------------------- scripted agent

ScriptedAgent::ScriptedAgent() {
    m_print = [](const std::string& s) {
        std::fputs(s.c_str(), stdout);
        if (s.empty() || s.back() != '\n') std::fputc('\n', stdout);
        std::fflush(stdout);
    };
}

ScriptedAgent::~ScriptedAgent() = default;

void ScriptedAgent::setScript(const std::string& text, const std::string& name) {
    m_lines.clear();
    m_name = name;
    std::istringstream in(text);
    std::string line;
    int n = 0;
    while (std::getline(in, line)) {
        ++n;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        m_lines.push_back({n, line});
    }
}

std::string ScriptedAgent::where() const { return m_name + ":" + std::to_string(m_current) + ": "; }

void ScriptedAgent::fail(const std::string& message) {
    if (m_failure.empty()) {
        m_failure = message.rfind(m_name + ":", 0) == 0 ? message : where() + message;
        std::fprintf(stderr, "%s\n", m_failure.c_str());
    }
    closeAll();
}

void ScriptedAgent::closeAll() {
    for (auto it = m_modal.rbegin(); it != m_modal.rend(); ++it)
        if ((*it)->exists() && !(*it)->hasEnded()) (*it)->endDialog(IDCANCEL);
}

bool ScriptedAgent::nextLine(Line& line) {
    while (!m_lines.empty()) {
        line = m_lines.front();
        m_lines.pop_front();
        std::string t = line.text;
        size_t first = t.find_first_not_of(" \t");
        if (first == std::string::npos || t[first] == '#') continue;
        m_current = line.number;
        return true;
    }
    return false;
}

bool ScriptedAgent::run() {
    Line line;
    while (!failed() && nextLine(line)) {
        execute(line);
        processEvents();
    }
    if (!failed()) {
        std::vector<Dialog*> left;
        for (Dialog* d : m_open)
            if (d->exists()) left.push_back(d);
        if (!left.empty()) {
            std::string names;
            for (Dialog* d : left) names += (names.empty() ? "" : ", ") + d->describe();
            m_current = line.number;
            fail("the script ended with " + names + " still open");
            for (Dialog* d : left)
                if (d->exists()) d->destroyWindow();
        }
    }
    return !failed();
}

bool ScriptedAgent::runLine(const std::string& text) {
    Line l{++m_current, text};
    execute(l);
    processEvents();
    return !failed();
}

Dialog* ScriptedAgent::target() const {
    // A modeless window chosen (or opened) since the innermost modal dialog started comes first.
    if (m_chosen && std::find(m_open.begin(), m_open.end(), m_chosen) != m_open.end() && m_chosen->exists())
        return m_chosen;
    if (!m_modal.empty()) return m_modal.back();
    for (auto it = m_open.rbegin(); it != m_open.rend(); ++it)
        if ((*it)->exists()) return *it;
    return nullptr;
}

void ScriptedAgent::runModal(Dialog& dialog) {
    if (failed()) {
        dialog.endDialog(IDCANCEL);
        return;
    }
    m_open.push_back(&dialog);
    m_modal.push_back(&dialog);
    Dialog* chosenBefore = m_chosen;
    m_chosen = nullptr;
    ++m_depth;
    bool expected = false;
    Line line;
    while (!dialog.hasEnded() && dialog.exists() && !failed()) {
        if (!nextLine(line)) {
            fail("the script ended while " + dialog.describe() + " is still open");
            break;
        }
        if (!expected) {
            std::vector<std::string> w;
            std::string err;
            splitScriptLine(line.text, w, err);
            int id = 0;
            if (w.size() < 2 || w[0] != "expect-dialog" || !toInt(w[1], id)) {
                fail(dialog.describe() + " opened, but the script did not expect it (next line: " + line.text + ")");
                break;
            }
            expected = true;
        }
        execute(line);
        processEvents();
    }
    if (failed() && dialog.exists() && !dialog.hasEnded()) dialog.endDialog(IDCANCEL);
    --m_depth;
    m_modal.pop_back();
    if (std::find(m_open.begin(), m_open.end(), chosenBefore) != m_open.end()) m_chosen = chosenBefore;
    m_open.erase(std::remove(m_open.begin(), m_open.end(), &dialog), m_open.end());
}

void ScriptedAgent::dialogCreated(Dialog& dialog) {
    m_open.push_back(&dialog);
    m_chosen = &dialog;
}

void ScriptedAgent::dialogDestroyed(Dialog& dialog) {
    m_open.erase(std::remove(m_open.begin(), m_open.end(), &dialog), m_open.end());
    if (m_chosen == &dialog) m_chosen = nullptr;
}

bool ScriptedAgent::takeAnswer(Answer::Kind kind, Answer& out, const std::string& what) {
    if (failed()) return false;
    if (m_answers.empty() || m_answers.front().kind != kind) {
        fail("unexpected " + what + (m_answers.empty() ? "; no answer was given for it" : "; the next answer is for something else"));
        return false;
    }
    out = m_answers.front();
    m_answers.pop_front();
    return true;
}

int ScriptedAgent::messageBox(const MessageRequest& r, Window*) {
    m_messages.push_back(r);
    Answer a;
    if (!takeAnswer(Answer::Button, a, "message " + quote(r.text) + " (" + r.caption + ")")) return defaultAnswer(r);
    if (!answerFits(r, a.value)) {
        fail(std::string("the answer '") + answerName(a.value) + "' does not fit the message " + quote(r.text));
        return defaultAnswer(r);
    }
    return a.value;
}

bool ScriptedAgent::fileDialog(FileRequest& r, Window*) {
    Answer a;
    if (!takeAnswer(Answer::File, a, std::string(r.save ? "save" : "open") + " file dialog " + quote(r.title))) return false;
    if (a.cancel) return false;
    namespace fs = std::filesystem;
    fs::path p(a.text);
    if (p.is_relative()) p = fs::path(r.folder.empty() ? fs::current_path() : fs::path(r.folder)) / p;
    if (!r.save && r.mustExist && !fs::exists(p)) {
        fail("the open dialog cannot choose " + p.string() + ": no such file");
        return false;
    }
    if (!r.defaultExtension.empty() && p.extension().empty()) p += "." + r.defaultExtension;
    r.fileName = p.lexically_normal().string();
    return true;
}

bool ScriptedAgent::colorDialog(ColorRequest& r, Window*) {
    Answer a;
    if (!takeAnswer(Answer::Value, a, "colour dialog")) return false;
    if (a.cancel) return false;
    int red, green, blue;
    if (std::sscanf(a.text.c_str(), "%d %d %d", &red, &green, &blue) != 3) {
        fail("the colour answer needs three numbers: " + a.text);
        return false;
    }
    r.color = rgb(red, green, blue);
    return true;
}

bool ScriptedAgent::fontDialog(FontRequest& r, Window*) {
    Answer a;
    if (!takeAnswer(Answer::Value, a, "font dialog")) return false;
    if (a.cancel) return false;
    std::vector<std::string> w;
    std::string err;
    splitScriptLine(a.text, w, err);
    if (w.size() < 2 || !toInt(w[1], r.font.pointSize)) {
        fail("the font answer needs a face and a size: " + a.text);
        return false;
    }
    r.font.face = w[0];
    r.font.bold = r.font.italic = r.font.underline = r.font.strikeOut = false;
    for (size_t i = 2; i < w.size(); ++i) {
        if (w[i] == "bold") r.font.bold = true;
        else if (w[i] == "italic") r.font.italic = true;
        else if (w[i] == "underline") r.font.underline = true;
        else if (w[i] == "strikeout") r.font.strikeOut = true;
        else if (w[i].size() == 7 && w[i][0] == '#') {
            unsigned v = static_cast<unsigned>(std::stoul(w[i].substr(1), nullptr, 16));
            r.font.color = rgb((v >> 16) & 0xff, (v >> 8) & 0xff, v & 0xff);
        }
    }
    return true;
}

bool ScriptedAgent::printDialog(PrintRequest& r, Window*) {
    Answer a;
    if (!takeAnswer(Answer::Value, a, "print dialog")) return false;
    if (a.cancel) return false;
    r.printerName = "PDF";
    r.outputFile = std::filesystem::absolute(a.text).lexically_normal().string();
    return true;
}

bool ScriptedAgent::pageSetupDialog(PageSetupRequest& r, Window*) {
    Answer a;
    if (!takeAnswer(Answer::Value, a, "page setup dialog")) return false;
    if (a.cancel) return false;
    r.landscape = a.text.find("landscape") != std::string::npos;
    return true;
}

int ScriptedAgent::popupMenu(const PopupRequest& r, Window*) {
    Answer a;
    std::string items;
    for (size_t i = 0; i < r.ids.size(); ++i) items += (i ? ", " : "") + std::to_string(r.ids[i]);
    if (!takeAnswer(Answer::MenuChoice, a, "popup menu (items " + items + ")")) return 0;
    if (a.value == 0) return 0;
    auto it = std::find(r.ids.begin(), r.ids.end(), a.value);
    if (it == r.ids.end()) {
        fail("the popup menu has no item " + std::to_string(a.value) + " (items " + items + ")");
        return 0;
    }
    if (!r.enabled[static_cast<size_t>(it - r.ids.begin())]) {
        fail("popup menu item " + std::to_string(a.value) + " is disabled");
        return 0;
    }
    return a.value;
}

void ScriptedAgent::advanceClock(int ms) { Timers::advance(ms); }

bool ScriptedAgent::execute(const Line& line) {
    m_current = line.number;
    std::vector<std::string> w;
    std::string error;
    if (!splitScriptLine(line.text, w, error)) {
        fail(error);
        return false;
    }
    if (w.empty()) return true;
    bool known = false;
    if (dialogAction(w, error, known)) return true;
    if (known) {
        fail(error);
        return false;
    }
    if (m_host) {
        switch (m_host(w, error)) {
        case HostResult::Done: return !failed();
        case HostResult::Failed: fail(error); return false;
        case HostResult::NotMine: break;
        }
    }
    fail("unknown script command '" + w[0] + "'");
    return false;
}

bool ScriptedAgent::dialogAction(const std::vector<std::string>& w, std::string& error, bool& known) {
    known = true;
    const std::string& cmd = w[0];
    auto need = [&](size_t n, const char* usage) {
        if (w.size() < n) {
            error = std::string("usage: ") + usage;
            return false;
        }
        return true;
    };
    auto dialog = [&]() -> Dialog* {
        Dialog* d = target();
        if (!d) error = "no dialog is open for '" + cmd + "'";
        return d;
    };
    auto control = [&](const std::string& idText) -> Control* {
        Dialog* d = dialog();
        if (!d) return nullptr;
        int id;
        if (!toInt(idText, id)) { error = "'" + idText + "' is not a control id"; return nullptr; }
        Control* c = d->item(id);
        if (!c) error = d->describe() + " has no control " + idText;
        return c;
    };

    if (cmd == "expect-dialog") {
        if (!need(2, "expect-dialog ID")) return false;
        int id;
        if (!toInt(w[1], id)) { error = "'" + w[1] + "' is not a template number"; return false; }
        for (auto it = m_open.rbegin(); it != m_open.rend(); ++it) // a modeless window over the modal one
            if (!(*it)->isModal() && (*it)->templateId() == id && (*it)->exists()) {
                m_chosen = *it;
                return true;
            }
        if (!m_modal.empty()) {
            m_chosen = nullptr;
            if (m_modal.back()->templateId() != id) {
                error = "expected dialog " + w[1] + ", but " + m_modal.back()->describe() + " is open";
                return false;
            }
            return true;
        }
        for (auto it = m_open.rbegin(); it != m_open.rend(); ++it)
            if ((*it)->templateId() == id && (*it)->exists()) {
                m_chosen = *it;
                return true;
            }
        error = "expected dialog " + w[1] + ", but " + (m_open.empty() ? std::string("no dialog is open") : target() ? target()->describe() + " is open" : "none is open");
        return false;
    }
    if (cmd == "expect-no-dialog") {
        for (Dialog* d : m_open)
            if (d->exists() && (w.size() < 2 || std::to_string(d->templateId()) == w[1])) {
                error = d->describe() + " is still open";
                return false;
            }
        return true;
    }
    if (cmd == "click" || cmd == "dblclick" || cmd == "rightclick") {
        if (!need(2, "click ID")) return false;
        Control* c = control(w[1]);
        if (!c) return false;
        if (cmd == "click") return SimulatedUser::click(*c, error);
        if (cmd == "dblclick") return SimulatedUser::doubleClick(*c, error);
        return SimulatedUser::rightClick(*c, error);
    }
    if (cmd == "type") {
        if (!need(3, "type ID \"TEXT\"")) return false;
        Control* c = control(w[1]);
        return c && SimulatedUser::type(*c, w[2], error);
    }
    if (cmd == "select") {
        if (!need(3, "select ID INDEX|\"TEXT\"")) return false;
        Control* c = control(w[1]);
        if (!c) return false;
        int index;
        if (toInt(w[2], index)) return SimulatedUser::select(*c, index, error);
        return SimulatedUser::select(*c, w[2], error);
    }
    if (cmd == "check") {
        if (!need(3, "check ID on|off|indeterminate")) return false;
        Control* c = control(w[1]);
        if (!c) return false;
        int state = w[2] == "on" ? BST_CHECKED : w[2] == "off" ? BST_UNCHECKED : w[2] == "indeterminate" ? BST_INDETERMINATE : -1;
        if (state < 0) { error = "check takes on, off or indeterminate"; return false; }
        return SimulatedUser::check(*c, state, error);
    }
    if (cmd == "focus") {
        if (!need(2, "focus ID")) return false;
        Control* c = control(w[1]);
        if (!c) return false;
        if (!usable(*c, error, "focus")) return false;
        SimulatedUser::focus(*c);
        return true;
    }
    if (cmd == "menu" || cmd == "toolbar") {
        if (!need(2, "menu COMMANDID")) return false;
        Dialog* d = dialog();
        int id;
        if (!d) return false;
        if (!toInt(w[1], id)) { error = "'" + w[1] + "' is not a command id"; return false; }
        return cmd == "menu" ? SimulatedUser::menu(*d, id, error) : SimulatedUser::toolbar(*d, id, error);
    }
    if (cmd == "key") {
        if (!need(2, "key NAME [ctrl] [shift] [alt]")) return false;
        Dialog* d = dialog();
        if (!d) return false;
        KeyEvent k;
        k.vk = keyCodeFromName(w[1]);
        if (!k.vk) { error = "unknown key '" + w[1] + "'"; return false; }
        for (size_t i = 2; i < w.size(); ++i) {
            if (w[i] == "ctrl") k.ctrl = true;
            else if (w[i] == "shift") k.shift = true;
            else if (w[i] == "alt") k.alt = true;
            else { error = "unknown key modifier '" + w[i] + "'"; return false; }
        }
        if (w[1].size() == 1 && !k.ctrl && !k.alt) k.text = k.shift ? w[1] : lower(w[1]);
        return SimulatedUser::key(*d, k, error);
    }
    if (cmd == "close") {
        Dialog* d = dialog();
        if (!d) return false;
        SimulatedUser::close(*d);
        return true;
    }
    if (cmd == "cell" || cmd == "expect-cell" || cmd == "select-cells" || cmd == "rightclick-cell") {
        bool sel = cmd == "select-cells";
        if (!need(sel ? 6 : cmd == "rightclick-cell" ? 4 : 5, sel ? "select-cells GRIDID COL1 ROW1 COL2 ROW2" : "cell GRIDID COL ROW \"TEXT\""))
            return false;
        Control* c = control(w[1]);
        if (!c) return false;
        GridAccess* g = gridAccess(c);
        if (!g) { error = "control " + w[1] + " is not a grid"; return false; }
        int a, b, x = 0, y = 0;
        if (!toInt(w[2], a) || !toInt(w[3], b) || (sel && (!toInt(w[4], x) || !toInt(w[5], y)))) {
            error = "cell coordinates must be numbers";
            return false;
        }
        if (cmd == "cell") {
            bool ok = g->typeCell(a, b, w[4], error);
            processEvents();
            return ok;
        }
        if (cmd == "rightclick-cell") return g->rightClickCell(a, b, error);
        if (sel) return g->selectCells(a, b, x, y, error);
        std::string got = g->cellText(a, b);
        if (got != w[4]) {
            error = "cell " + w[2] + "," + w[3] + " of grid " + w[1] + " holds " + quote(got) + ", not " + quote(w[4]);
            return false;
        }
        return true;
    }
    if (cmd == "answer") {
        if (!need(2, "answer yes|no|cancel|ok|file \"PATH\"|cancel-file|menu ID|color R G B|font ...|print \"PDF\"|cancel-dialog"))
            return false;
        static const std::map<std::string, int> buttons = {{"ok", IDOK}, {"cancel", IDCANCEL}, {"yes", IDYES}, {"no", IDNO},
                                                           {"abort", IDABORT}, {"retry", IDRETRY}, {"ignore", IDIGNORE}};
        const std::string& what = w[1];
        if (auto it = buttons.find(what); it != buttons.end()) { queueAnswer(it->second); return true; }
        if (what == "file") {
            if (!need(3, "answer file \"PATH\"")) return false;
            queueFile(w[2]);
            return true;
        }
        if (what == "cancel-file") { queueCancelFile(); return true; }
        if (what == "menu") {
            int id = 0;
            if (!need(3, "answer menu ID|none")) return false;
            if (w[2] != "none" && !toInt(w[2], id)) { error = "answer menu takes a command id or none"; return false; }
            queueMenu(id);
            return true;
        }
        if (what == "color" && w.size() == 5) { queueValue(w[2] + " " + w[3] + " " + w[4]); return true; }
        if (what == "font" && w.size() >= 4) {
            std::string v = quote(w[2]);
            for (size_t i = 3; i < w.size(); ++i) v += " " + w[i];
            queueValue(v);
            return true;
        }
        if (what == "print" && w.size() == 3) { queueValue(w[2]); return true; }
        if (what == "page" && w.size() == 3) { queueValue(w[2]); return true; }
        if (what == "cancel-dialog") { m_answers.push_back({Answer::Value, 0, {}, true}); return true; }
        error = "unknown answer '" + what + "'";
        return false;
    }
    if (cmd == "expect-text") {
        if (!need(3, "expect-text ID \"TEXT\"")) return false;
        Control* c = control(w[1]);
        if (!c) return false;
        std::string got = c->text();
        if (got != w[2]) {
            error = "control " + w[1] + " shows " + quote(got) + ", not " + quote(w[2]);
            return false;
        }
        return true;
    }
    if (cmd == "expect-caption" || cmd == "expect-caption-contains") {
        if (!need(2, "expect-caption \"TEXT\"")) return false;
        Dialog* d = dialog();
        if (!d) return false;
        bool ok = cmd == "expect-caption" ? d->windowText() == w[1] : d->windowText().find(w[1]) != std::string::npos;
        if (!ok) {
            error = "the caption is " + quote(d->windowText()) + ", not " + quote(w[1]);
            return false;
        }
        return true;
    }
    if (cmd == "expect-state") {
        if (!need(3, "expect-state ID enabled|disabled|visible|hidden|checked|unchecked|indeterminate")) return false;
        Control* c = control(w[1]);
        if (!c) return false;
        const std::string& s = w[2];
        bool ok;
        if (s == "enabled") ok = c->isEnabled();
        else if (s == "disabled") ok = !c->isEnabled();
        else if (s == "visible") ok = c->isVisible();
        else if (s == "hidden") ok = !c->isVisible();
        else if (s == "checked") ok = c->checkState() == BST_CHECKED;
        else if (s == "unchecked") ok = c->checkState() == BST_UNCHECKED;
        else if (s == "indeterminate") ok = c->checkState() == BST_INDETERMINATE;
        else if (s == "focus") ok = c->hasFocus();
        else if (s == "read-only") ok = c->isReadOnly();
        else { error = "unknown state '" + s + "'"; return false; }
        if (!ok) {
            error = "control " + w[1] + " is not " + s + " (it is" + SimulatedUser::stateOf(*c) + ")";
            return false;
        }
        return true;
    }
    if (cmd == "expect-menu") {
        if (!need(3, "expect-menu COMMANDID enabled|disabled|checked|unchecked")) return false;
        Dialog* d = dialog();
        if (!d) return false;
        int id;
        if (!d->menu() || !toInt(w[1], id) || !d->menu()->hasItem(id)) { error = "no menu item " + w[1]; return false; }
        Dialog::Hooks::initMenuPopup(*d, *d->menu());
        Menu& m = *d->menu();
        bool ok = w[2] == "enabled" ? m.isEnabled(id) : w[2] == "disabled" ? !m.isEnabled(id)
                  : w[2] == "checked" ? m.isChecked(id) : w[2] == "unchecked" ? !m.isChecked(id) : false;
        if (!ok) { error = "menu item " + w[1] + " is not " + w[2]; return false; }
        return true;
    }
    if (cmd == "expect-items") {
        if (!need(3, "expect-items ID \"A|B|C\"")) return false;
        Control* c = control(w[1]);
        if (!c) return false;
        std::string got;
        for (int i = 0; i < c->count(); ++i) got += (i ? "|" : "") + c->itemText(i);
        if (got != w[2]) { error = "control " + w[1] + " holds " + quote(got) + ", not " + quote(w[2]); return false; }
        return true;
    }
    if (cmd == "expect-sel") {
        if (!need(3, "expect-sel ID INDEX")) return false;
        Control* c = control(w[1]);
        int i;
        if (!c) return false;
        if (!toInt(w[2], i)) { error = "expect-sel takes an index"; return false; }
        if (c->curSel() != i) { error = "control " + w[1] + " has item " + std::to_string(c->curSel()) + " selected, not " + w[2]; return false; }
        return true;
    }
    if (cmd == "expect-message") {
        if (!need(2, "expect-message \"SUBSTRING\"")) return false;
        for (size_t i = m_messagesChecked; i < m_messages.size(); ++i)
            if (m_messages[i].text.find(w[1]) != std::string::npos || m_messages[i].caption.find(w[1]) != std::string::npos) {
                m_messagesChecked = i + 1;
                return true;
            }
        std::string seen;
        for (size_t i = m_messagesChecked; i < m_messages.size(); ++i) seen += " " + quote(m_messages[i].text);
        error = "no message containing " + quote(w[1]) + (seen.empty() ? " was shown" : "; shown:" + seen);
        return false;
    }
    if (cmd == "expect-no-message") {
        if (m_messagesChecked < m_messages.size()) {
            error = "a message was shown: " + quote(m_messages[m_messagesChecked].text);
            return false;
        }
        return true;
    }
    if (cmd == "dump") {
        Dialog* d = dialog();
        if (!d) return false;
        m_print(SimulatedUser::dump(*d));
        return true;
    }
    if (cmd == "shot") {
        if (!need(2, "shot FILE")) return false;
        Dialog* d = target();
        return grabToFile(d ? d->widget() : nullptr, w[1], error);
    }
    if (cmd == "tick") {
        int ms;
        if (!need(2, "tick MS") ) return false;
        if (!toInt(w[1], ms) || ms < 0) { error = "tick takes milliseconds"; return false; }
        advanceClock(ms);
        return true;
    }
    if (cmd == "echo") {
        std::string s;
        for (size_t i = 1; i < w.size(); ++i) s += (i > 1 ? " " : "") + w[i];
        m_print(s);
        return true;
    }
    known = false;
    return false;
}

} // namespace ui
