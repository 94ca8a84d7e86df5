// The script's own commands, one handler each in one table, and the registries through which they
// reach grids and the controls a dialog makes at run time.

#include <ui/Application.h>
#include <ui/Resources.h>
#include <ui/Script.h>
#include <ui/TextFit.h>
#include <ui/Window.h>

#include "Internal_p.h"
#include "Script_p.h"

#include <algorithm>
#include <map>

namespace ui {

namespace {
std::string lower(std::string s) {
    for (auto& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}
} // namespace

// ---------------------------------------------------------------- grid access registry

namespace {
std::map<const Control*, GridAccess*>& grids() {
    static auto* g = new std::map<const Control*, GridAccess*>; // outlives every control
    return *g;
}
} // namespace

void setGridAccess(Control* control, GridAccess* grid) {
    if (grid)
        grids()[control] = grid;
    else
        grids().erase(control);
}

GridAccess* gridAccess(const Control* control) {
    auto it = grids().find(control);
    return it == grids().end() ? nullptr : it->second;
}

namespace {
std::map<const Dialog*, TabOrderSource>& tabOrderSources() {
    static std::map<const Dialog*, TabOrderSource> sources;
    return sources;
}
} // namespace

void setTabOrderSource(const Dialog* dialog, TabOrderSource source) {
    if (source)
        tabOrderSources()[dialog] = std::move(source);
    else
        tabOrderSources().erase(dialog);
}

// ---------------------------------------------------------------- the script's own commands

/// The commands the agent runs itself. Each handler gets the words after the command's name, already
/// counted against the table, and says what went wrong in `error`.
struct ScriptedAgent::Commands {
    using Args = std::vector<std::string>;
    using Handler = bool (*)(ScriptedAgent& a, const std::string& name, const Args& w, std::string& error);
    struct Entry {
        const char* name;
        const char* usage;   ///< the whole line with placeholders, as the help and usage errors show it
        const char* summary; ///< what it does, one line
        size_t minArgs;
        size_t maxArgs; ///< kAny for no upper bound
        Handler handler;
    };
    static constexpr size_t kAny = static_cast<size_t>(-1);
    static const std::vector<Entry>& table();
    static const Entry* find(const std::string& name);

    static Dialog* dialog(ScriptedAgent& a, const std::string& name, std::string& error) {
        Dialog* d = a.target();
        if (!d) error = "no dialog is open for '" + name + "'";
        return d;
    }
    static Control* control(ScriptedAgent& a, const std::string& name, const std::string& idText,
                            std::string& error) {
        Dialog* d = dialog(a, name, error);
        if (!d) return nullptr;
        int id;
        if (!toInt(idText, id)) {
            error = "'" + idText + "' is not a control id";
            return nullptr;
        }
        Control* c = d->item(id);
        if (!c) // a control of a page: a shown child dialog (the page of a tab)
            for (Dialog* child : Dialog::openDialogs())
                if (child->parent() == d && child->isVisible() && (c = child->item(id))) break;
        if (!c) error = d->describe() + " has no control " + idText;
        return c;
    }

    // dialogs and controls
    static bool expectDialog(ScriptedAgent& a, const std::string&, const Args& w, std::string& error) {
        int id;
        if (!toInt(w[0], id)) {
            error = "'" + w[0] + "' is not a template number";
            return false;
        }
        if (w.size() > 1) return expectNthDialog(a, id, w, error);
        for (auto it = a.m_open.rbegin(); it != a.m_open.rend(); ++it) // a modeless window over the modal one
            if (!(*it)->isModal() && (*it)->templateId() == id && (*it)->exists()) {
                a.m_chosen = *it;
                return true;
            }
        if (!a.m_modal.empty()) {
            a.m_chosen = nullptr;
            if (a.m_modal.back()->templateId() != id) {
                error = "expected dialog " + w[0] + ", but " + a.m_modal.back()->describe() + " is open";
                return false;
            }
            return true;
        }
        for (auto it = a.m_open.rbegin(); it != a.m_open.rend(); ++it)
            if ((*it)->templateId() == id && (*it)->exists()) {
                a.m_chosen = *it;
                return true;
            }
        error = "expected dialog " + w[0] + ", but " +
                (a.m_open.empty() ? std::string("no dialog is open")
                 : a.target()     ? a.target()->describe() + " is open"
                                  : "none is open");
        return false;
    }
    /// expect-dialog ID N: the N-th (from 1, oldest first) of the open dialogs of template ID,
    /// counting the visible ones when any is visible. A modal one behind the innermost modal dialog
    /// cannot be chosen: a person could not reach it either.
    static bool expectNthDialog(ScriptedAgent& a, int id, const Args& w, std::string& error) {
        int n;
        if (!toInt(w[1], n) || n < 1) {
            error = "'" + w[1] + "' is not a dialog number counted from 1";
            return false;
        }
        std::vector<Dialog*> all, visible;
        for (Dialog* d : a.m_open)
            if (d->exists() && d->templateId() == id) {
                all.push_back(d);
                if (d->isVisible()) visible.push_back(d);
            }
        const std::vector<Dialog*>& pool = visible.empty() ? all : visible;
        if (static_cast<size_t>(n) > pool.size()) {
            error = "expected dialog " + w[0] + " number " + w[1] + ", but " + std::to_string(pool.size()) +
                    (visible.empty() ? " of them are open" : " of them are visible");
            return false;
        }
        Dialog* chosen = pool[static_cast<size_t>(n) - 1];
        if (chosen->isModal() && !a.m_modal.empty() && a.m_modal.back() != chosen) {
            error = chosen->describe() + " number " + w[1] + " lies behind " + a.m_modal.back()->describe();
            return false;
        }
        a.m_chosen = chosen->isModal() ? nullptr : chosen;
        return true;
    }
    static bool expectNoDialog(ScriptedAgent& a, const std::string&, const Args& w, std::string& error) {
        for (Dialog* d : a.m_open)
            if (d->exists() && (w.empty() || std::to_string(d->templateId()) == w[0])) {
                error = d->describe() + " is still open";
                return false;
            }
        return true;
    }
    static bool click(ScriptedAgent& a, const std::string& name, const Args& w, std::string& error) {
        Control* c = control(a, name, w[0], error);
        if (!c) return false;
        if (name == "click") return SimulatedUser::click(*c, error);
        if (name == "dblclick") return SimulatedUser::doubleClick(*c, error);
        return SimulatedUser::rightClick(*c, error);
    }
    static bool type(ScriptedAgent& a, const std::string& name, const Args& w, std::string& error) {
        Control* c = control(a, name, w[0], error);
        if (!c) return false;
        std::string text = w[1];
        if (w.size() > 2) {
            int times;
            if (!toInt(w[2], times) || times < 1 || times > 1'000'000) {
                error = "type repeats its text 1 to 1000000 times, not '" + w[2] + "'";
                return false;
            }
            text.clear();
            text.reserve(w[1].size() * static_cast<size_t>(times));
            for (int i = 0; i < times; ++i)
                text += w[1];
        }
        return SimulatedUser::type(*c, text, error);
    }
    static bool select(ScriptedAgent& a, const std::string& name, const Args& w, std::string& error) {
        Control* c = control(a, name, w[0], error);
        if (!c) return false;
        int index;
        if (toInt(w[1], index)) return SimulatedUser::select(*c, index, error);
        return SimulatedUser::select(*c, w[1], error);
    }
    static bool pick(ScriptedAgent& a, const std::string& name, const Args& w, std::string& error) {
        Control* c = control(a, name, w[0], error);
        if (!c) return false;
        int index;
        if (!toInt(w[1], index)) {
            error = "pick takes an item index, not '" + w[1] + "'";
            return false;
        }
        return SimulatedUser::pick(*c, index, error);
    }
    static bool check(ScriptedAgent& a, const std::string& name, const Args& w, std::string& error) {
        Control* c = control(a, name, w[0], error);
        if (!c) return false;
        int state = w[1] == "on"              ? BST_CHECKED
                    : w[1] == "off"           ? BST_UNCHECKED
                    : w[1] == "indeterminate" ? BST_INDETERMINATE
                                              : -1;
        if (state < 0) {
            error = "check takes on, off or indeterminate";
            return false;
        }
        return SimulatedUser::check(*c, state, error);
    }
    static bool focus(ScriptedAgent& a, const std::string& name, const Args& w, std::string& error) {
        Control* c = control(a, name, w[0], error);
        if (!c || !usable(*c, error, "focus")) return false;
        SimulatedUser::focus(*c);
        return true;
    }
    static bool menuOrToolbar(ScriptedAgent& a, const std::string& name, const Args& w, std::string& error) {
        Dialog* d = dialog(a, name, error);
        if (!d) return false;
        int id;
        if (!toInt(w[0], id)) {
            error = "'" + w[0] + "' is not a command id";
            return false;
        }
        return name == "menu" ? SimulatedUser::menu(*d, id, error) : SimulatedUser::toolbar(*d, id, error);
    }
    static bool key(ScriptedAgent& a, const std::string& name, const Args& w, std::string& error) {
        Dialog* d = dialog(a, name, error);
        if (!d) return false;
        KeyEvent k;
        k.vk = keyCodeFromName(w[0]);
        if (!k.vk) {
            error = "unknown key '" + w[0] + "'";
            return false;
        }
        for (size_t i = 1; i < w.size(); ++i) {
            if (w[i] == "ctrl")
                k.ctrl = true;
            else if (w[i] == "shift")
                k.shift = true;
            else if (w[i] == "alt")
                k.alt = true;
            else {
                error = "unknown key modifier '" + w[i] + "'";
                return false;
            }
        }
        if (w[0].size() == 1 && !k.ctrl && !k.alt) k.text = k.shift ? w[0] : lower(w[0]);
        return SimulatedUser::key(*d, k, error);
    }
    static bool close(ScriptedAgent& a, const std::string& name, const Args&, std::string& error) {
        Dialog* d = dialog(a, name, error);
        if (!d) return false;
        SimulatedUser::close(*d);
        return true;
    }
    static bool tick(ScriptedAgent& a, const std::string&, const Args& w, std::string& error) {
        int ms;
        if (!toInt(w[0], ms) || ms < 0) {
            error = "tick takes milliseconds";
            return false;
        }
        a.advanceClock(ms);
        return true;
    }

    // grids
    static GridAccess* grid(ScriptedAgent& a, const std::string& name, const Args& w, std::string& error) {
        Control* c = control(a, name, w[0], error);
        if (!c) return nullptr;
        GridAccess* g = gridAccess(c);
        if (!g) error = "control " + w[0] + " is not a grid";
        return g;
    }
    static bool cells(const Args& w, size_t n, int* out, std::string& error) {
        for (size_t i = 0; i < n; ++i)
            if (!toInt(w[1 + i], out[i])) {
                error = "cell coordinates must be numbers";
                return false;
            }
        return true;
    }
    static bool cell(ScriptedAgent& a, const std::string& name, const Args& w, std::string& error) {
        GridAccess* g = grid(a, name, w, error);
        int at[2];
        if (!g || !cells(w, 2, at, error)) return false;
        bool ok = g->typeCell(at[0], at[1], w[3], error);
        processEvents();
        return ok;
    }
    static bool expectCell(ScriptedAgent& a, const std::string& name, const Args& w, std::string& error) {
        GridAccess* g = grid(a, name, w, error);
        int at[2];
        if (!g || !cells(w, 2, at, error)) return false;
        std::string got = g->cellText(at[0], at[1]);
        if (got != w[3]) {
            error = "cell " + w[1] + "," + w[2] + " of grid " + w[0] + " holds " + quote(got) + ", not " +
                    quote(w[3]);
            return false;
        }
        return true;
    }
    static bool selectCells(ScriptedAgent& a, const std::string& name, const Args& w, std::string& error) {
        GridAccess* g = grid(a, name, w, error);
        int at[4];
        return g && cells(w, 4, at, error) && g->selectCells(at[0], at[1], at[2], at[3], error);
    }
    static bool rightClickCell(ScriptedAgent& a, const std::string& name, const Args& w, std::string& error) {
        GridAccess* g = grid(a, name, w, error);
        int at[2];
        return g && cells(w, 2, at, error) && g->rightClickCell(at[0], at[1], error);
    }

    // answers
    static bool answer(ScriptedAgent& a, const std::string&, const Args& w, std::string& error) {
        static const std::map<std::string, int> buttons = {
            {"ok", IDOK},       {"cancel", IDCANCEL}, {"yes", IDYES},      {"no", IDNO},
            {"abort", IDABORT}, {"retry", IDRETRY},   {"ignore", IDIGNORE}};
        const std::string& what = w[0];
        auto need = [&](size_t n, const char* usage) {
            if (w.size() == n) return true;
            error = std::string("usage: ") + usage;
            return false;
        };
        if (auto it = buttons.find(what); it != buttons.end()) {
            a.queueAnswer(it->second);
            return true;
        }
        if (what == "file") {
            if (!need(2, "answer file \"PATH\"")) return false;
            a.queueFile(w[1]);
            return true;
        }
        if (what == "cancel-file") {
            a.queueCancelFile();
            return true;
        }
        if (what == "menu") {
            int id = 0;
            if (!need(2, "answer menu ID|none")) return false;
            if (w[1] != "none" && !toInt(w[1], id)) {
                error = "answer menu takes a command id or none";
                return false;
            }
            a.queueMenu(id);
            return true;
        }
        if (what == "color") {
            if (!need(4, "answer color R G B")) return false;
            a.queueValue(w[1] + " " + w[2] + " " + w[3]);
            return true;
        }
        if (what == "font") {
            if (w.size() < 3) {
                error = "usage: answer font \"FACE\" SIZE [bold] [italic] [underline] [strikeout] [#RRGGBB]";
                return false;
            }
            std::string v = quote(w[1]);
            for (size_t i = 2; i < w.size(); ++i)
                v += " " + w[i];
            a.queueValue(v);
            return true;
        }
        if (what == "print" || what == "page") {
            if (what == "page" ? !need(2, "answer page landscape|portrait") : w.size() < 2) {
                error = "usage: answer print \"FILE.pdf\" [pages A-B|selection]";
                return false;
            }
            std::string v = w[1];
            if (what == "print" && w.size() > 2) {
                v += '\t';
                for (size_t i = 2; i < w.size(); ++i)
                    v += (i > 2 ? " " : "") + w[i];
            }
            a.queueValue(v);
            return true;
        }
        if (what == "cancel-dialog") {
            a.m_answers.push_back({Answer::Value, 0, {}, true});
            return true;
        }
        error = "unknown answer '" + what + "'";
        return false;
    }

    // checks
    static bool expectText(ScriptedAgent& a, const std::string& name, const Args& w, std::string& error) {
        Control* c = control(a, name, w[0], error);
        if (!c) return false;
        std::string got = c->text();
        if (got != w[1]) {
            error = "control " + w[0] + " shows " + quote(got) + ", not " + quote(w[1]);
            return false;
        }
        return true;
    }
    static bool expectLength(ScriptedAgent& a, const std::string& name, const Args& w, std::string& error) {
        Control* c = control(a, name, w[0], error);
        int want;
        if (!c) return false;
        if (!toInt(w[1], want) || want < 0) {
            error = "expect-length takes a number of characters";
            return false;
        }
        // characters as a person counts them, not bytes of UTF-8
        int got = static_cast<int>(qs(c->text()).size());
        if (got != want) {
            error = "control " + w[0] + " holds " + std::to_string(got) + " characters, not " + w[1];
            return false;
        }
        return true;
    }
    static bool expectCaption(ScriptedAgent& a, const std::string& name, const Args& w, std::string& error) {
        Dialog* d = dialog(a, name, error);
        if (!d) return false;
        bool ok = name == "expect-caption" ? d->windowText() == w[0]
                                           : d->windowText().find(w[0]) != std::string::npos;
        if (!ok) {
            error = "the caption is " + quote(d->windowText()) + ", not " + quote(w[0]);
            return false;
        }
        return true;
    }
    static bool expectState(ScriptedAgent& a, const std::string& name, const Args& w, std::string& error) {
        Control* c = control(a, name, w[0], error);
        if (!c) return false;
        static const std::map<std::string, bool (*)(const Control&)> states = {
            {"enabled", [](const Control& c) { return c.isEnabled(); }},
            {"disabled", [](const Control& c) { return !c.isEnabled(); }},
            {"visible", [](const Control& c) { return c.isVisible(); }},
            {"hidden", [](const Control& c) { return !c.isVisible(); }},
            {"checked", [](const Control& c) { return c.checkState() == BST_CHECKED; }},
            {"unchecked", [](const Control& c) { return c.checkState() == BST_UNCHECKED; }},
            {"indeterminate", [](const Control& c) { return c.checkState() == BST_INDETERMINATE; }},
            {"focus", [](const Control& c) { return c.hasFocus(); }},
            {"read-only", [](const Control& c) { return c.isReadOnly(); }},
        };
        auto it = states.find(w[1]);
        if (it == states.end()) {
            error = "unknown state '" + w[1] + "'";
            return false;
        }
        if (!it->second(*c)) {
            error = "control " + w[0] + " is not " + w[1] + " (it is" + SimulatedUser::stateOf(*c) + ")";
            return false;
        }
        return true;
    }
    static bool expectMenu(ScriptedAgent& a, const std::string& name, const Args& w, std::string& error) {
        Dialog* d = dialog(a, name, error);
        if (!d) return false;
        int id;
        if (!d->menu() || !toInt(w[0], id) || !d->menu()->hasItem(id)) {
            error = "no menu item " + w[0];
            return false;
        }
        Dialog::Hooks::initMenuPopup(*d, *d->menu());
        Menu& m = *d->menu();
        bool ok = w[1] == "enabled"     ? m.isEnabled(id)
                  : w[1] == "disabled"  ? !m.isEnabled(id)
                  : w[1] == "checked"   ? m.isChecked(id)
                  : w[1] == "unchecked" ? !m.isChecked(id)
                                        : false;
        if (!ok) {
            error = "menu item " + w[0] + " is not " + w[1];
            return false;
        }
        return true;
    }
    static bool expectItems(ScriptedAgent& a, const std::string& name, const Args& w, std::string& error) {
        Control* c = control(a, name, w[0], error);
        if (!c) return false;
        std::string got;
        for (int i = 0; i < c->count(); ++i)
            got += (i ? "|" : "") + c->itemText(i);
        if (got != w[1]) {
            error = "control " + w[0] + " holds " + quote(got) + ", not " + quote(w[1]);
            return false;
        }
        return true;
    }
    static bool expectSel(ScriptedAgent& a, const std::string& name, const Args& w, std::string& error) {
        Control* c = control(a, name, w[0], error);
        int i;
        if (!c) return false;
        if (!toInt(w[1], i)) {
            error = "expect-sel takes an index";
            return false;
        }
        if (c->curSel() != i) {
            error = "control " + w[0] + " has item " + std::to_string(c->curSel()) + " selected, not " + w[1];
            return false;
        }
        return true;
    }
    static bool expectMessage(ScriptedAgent& a, const std::string&, const Args& w, std::string& error) {
        for (size_t i = a.m_messagesChecked; i < a.m_messages.size(); ++i)
            if (a.m_messages[i].text.find(w[0]) != std::string::npos ||
                a.m_messages[i].caption.find(w[0]) != std::string::npos) {
                a.m_messagesChecked = i + 1;
                return true;
            }
        std::string seen;
        for (size_t i = a.m_messagesChecked; i < a.m_messages.size(); ++i)
            seen += " " + quote(a.m_messages[i].text);
        error = "no message containing " + quote(w[0]) + (seen.empty() ? " was shown" : "; shown:" + seen);
        return false;
    }
    static bool expectNoMessage(ScriptedAgent& a, const std::string&, const Args&, std::string& error) {
        if (a.m_messagesChecked < a.m_messages.size()) {
            error = "a message was shown: " + quote(a.m_messages[a.m_messagesChecked].text);
            return false;
        }
        return true;
    }
    static bool dump(ScriptedAgent& a, const std::string& name, const Args&, std::string& error) {
        Dialog* d = dialog(a, name, error);
        if (!d) return false;
        a.m_print(SimulatedUser::dump(*d));
        return true;
    }
    static bool shot(ScriptedAgent& a, const std::string& name, const Args& w, std::string& error) {
        Dialog* d = a.target();
        if (!grabToFile(d ? d->widget() : nullptr, w[0], error)) return false;
        return !d || !a.m_checkFit || expectFit(a, name, {}, error);
    }
    static bool expectFit(ScriptedAgent& a, const std::string& name, const Args&, std::string& error) {
        Dialog* d = dialog(a, name, error);
        if (!d) return false;
        const std::vector<ClippedText> clipped = clippedTexts(*d);
        if (clipped.empty()) return true;
        error = d->describe() + ": " + std::to_string(clipped.size()) + " text" +
                (clipped.size() == 1 ? " does" : "s do") + " not fit:\n" + describeClippedTexts(clipped);
        return false;
    }
    // The mouse over a dialog's client area, and where run-time controls lie and in which tab order.
    static bool mouse(ScriptedAgent& a, const std::string& name, const Args& w, std::string& error) {
        Dialog* d = dialog(a, name, error);
        if (!d) return false;
        static const std::map<std::string, MouseEvent::Kind> kinds = {
            {"down", MouseEvent::Press}, {"move", MouseEvent::Move}, {"up", MouseEvent::Release}};
        auto kind = kinds.find(w[0]);
        Point at;
        if (kind == kinds.end() || !toInt(w[1], at.x) || !toInt(w[2], at.y)) {
            error = "mouse takes down, move or up and a point X Y";
            return false;
        }
        bool ctrl = false, shift = false;
        for (size_t i = 3; i < w.size(); ++i) {
            if (w[i] == "ctrl")
                ctrl = true;
            else if (w[i] == "shift")
                shift = true;
            else {
                error = "unknown mouse modifier '" + w[i] + "'";
                return false;
            }
        }
        return SimulatedUser::mouse(*d, kind->second, at, ctrl, shift, error);
    }
    static bool expectRect(ScriptedAgent& a, const std::string& name, const Args& w, std::string& error) {
        Control* c = control(a, name, w[0], error);
        if (!c) return false;
        Rect want;
        if (!toInt(w[1], want.left) || !toInt(w[2], want.top) || !toInt(w[3], want.right) ||
            !toInt(w[4], want.bottom)) {
            error = "expect-rect takes an id and four whole numbers";
            return false;
        }
        QRect g = c->widget()->geometry();
        Rect got{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
        if (got == want) return true;
        error = "control " + w[0] + " lies at " + std::to_string(got.left) + " " + std::to_string(got.top) +
                " " + std::to_string(got.right) + " " + std::to_string(got.bottom);
        return false;
    }
    static bool expectTabOrder(ScriptedAgent& a, const std::string& name, const Args& w, std::string& error) {
        Dialog* d = dialog(a, name, error);
        if (!d) return false;
        auto source = tabOrderSources().find(d);
        if (source == tabOrderSources().end()) {
            error = d->describe() + " has no controls made at run time";
            return false;
        }
        std::vector<int> got = source->second();
        std::string gotText, wantText;
        for (int id : got)
            gotText += (gotText.empty() ? "" : " ") + std::to_string(id);
        for (const std::string& id : w)
            wantText += (wantText.empty() ? "" : " ") + id;
        if (gotText == wantText) return true;
        error = "the tab order is " + (gotText.empty() ? std::string("empty") : gotText);
        return false;
    }
    static bool echo(ScriptedAgent& a, const std::string&, const Args& w, std::string&) {
        std::string s;
        for (size_t i = 0; i < w.size(); ++i)
            s += (i ? " " : "") + w[i];
        a.m_print(s);
        return true;
    }
};

const std::vector<ScriptedAgent::Commands::Entry>& ScriptedAgent::Commands::table() {
    static const std::vector<Entry> entries = {
        {"expect-dialog", "expect-dialog ID [N]",
         "checks that dialog ID is the one open (and chooses a modeless one); with N, chooses the N-th "
         "open dialog ID, counting only the visible ones when any is visible",
         1, 2, &expectDialog},
        {"expect-no-dialog", "expect-no-dialog [ID]",
         "checks that no dialog (or none with template ID) is open", 0, 1, &expectNoDialog},
        {"click", "click ID", "clicks a button, check box or radio button", 1, 1, &click},
        {"dblclick", "dblclick ID", "double-clicks a control (the selected item of a list)", 1, 1, &click},
        {"rightclick", "rightclick ID", "right-clicks a control (its context menu)", 1, 1, &click},
        {"type", "type ID \"TEXT\" [TIMES]",
         "replaces the text of an edit or editable combo box, as typed (TEXT repeated)", 2, 3, &type},
        {"select", "select ID INDEX|\"TEXT\"",
         "chooses an item of a combo box, list, tab control or list view (toggles a check-combo item)", 2, 2,
         &select},
        {"pick", "pick ID INDEX", "makes an item of a check combo the current one (its check mark stays)", 2,
         2, &pick},
        {"check", "check ID on|off|indeterminate",
         "clicks a check box or radio button until it has that state", 2, 2, &check},
        {"focus", "focus ID", "gives a control the keyboard focus", 1, 1, &focus},
        {"menu", "menu COMMANDID", "chooses an item of the dialog's menu; a disabled one is a failure", 1, 1,
         &menuOrToolbar},
        {"toolbar", "toolbar COMMANDID",
         "clicks a button of the dialog's toolbar; a disabled one is a failure", 1, 1, &menuOrToolbar},
        {"key", "key NAME [ctrl] [shift] [alt]",
         "presses a key: Enter, Escape, Tab, F3, Delete, Up, a letter or digit", 1, 4, &key},
        {"close", "close", "the window's close box", 0, 0, &close},
        {"cell", "cell GRIDID COL ROW \"TEXT\"", "types into a cell of a grid", 4, 4, &cell},
        {"select-cells", "select-cells GRIDID COL1 ROW1 COL2 ROW2", "selects a block of cells", 5, 5,
         &selectCells},
        {"rightclick-cell", "rightclick-cell GRIDID COL ROW", "right-clicks a cell of a grid", 3, 3,
         &rightClickCell},
        {"tick", "tick MS", "advances the clock by MS milliseconds, firing timers that fall due", 1, 1,
         &tick},
        {"answer", "answer WHAT [VALUE...]",
         "queues the answer to the next question: a message box button, a file, a menu item, a colour, ...",
         1, kAny, &answer},
        {"expect-text", "expect-text ID \"TEXT\"", "checks a control's text", 2, 2, &expectText},
        {"expect-length", "expect-length ID N", "checks how many characters a control's text has", 2, 2,
         &expectLength},
        {"expect-caption", "expect-caption \"TEXT\"", "checks the dialog's caption", 1, 1, &expectCaption},
        {"expect-caption-contains", "expect-caption-contains \"TEXT\"",
         "checks a part of the dialog's caption", 1, 1, &expectCaption},
        {"expect-state",
         "expect-state ID enabled|disabled|visible|hidden|checked|unchecked|indeterminate|focus|read-only",
         "checks a control's state", 2, 2, &expectState},
        {"expect-items", "expect-items ID \"A|B|C\"", "checks the items of a list or combo box", 2, 2,
         &expectItems},
        {"expect-sel", "expect-sel ID INDEX", "checks the selected item of a list or combo box", 2, 2,
         &expectSel},
        {"expect-menu", "expect-menu COMMANDID enabled|disabled|checked|unchecked", "checks a menu item", 2,
         2, &expectMenu},
        {"expect-cell", "expect-cell GRIDID COL ROW \"TEXT\"", "checks what a grid cell shows", 4, 4,
         &expectCell},
        {"expect-message", "expect-message \"SUBSTRING\"",
         "checks that a message box shown since the last matched one holds the text", 1, 1, &expectMessage},
        {"expect-no-message", "expect-no-message",
         "checks that no message box was shown since the last matched one", 0, 0, &expectNoMessage},
        {"dump", "dump", "prints the caption, the window rectangle, then every control with its state", 0, 0,
         &dump},
        {"shot", "shot FILE", "saves a PNG of the dialog (of the main window when none is open)", 1, 1,
         &shot},
        {"expect-fit", "expect-fit",
         "checks that every text of the dialog fits its control (with --check-fit, every shot checks this)",
         0, 0, &expectFit},
        {"echo", "echo WORDS", "prints the words", 0, kAny, &echo},
        {"mouse", "mouse down|move|up X Y [ctrl] [shift]",
         "presses, drags or releases the left button at a point of the dialog's client area", 3, 5, &mouse},
        {"expect-rect", "expect-rect ID LEFT TOP RIGHT BOTTOM",
         "checks where a control lies in the dialog's client area, in pixels", 5, 5, &expectRect},
        {"expect-taborder", "expect-taborder [ID...]",
         "checks the tab order of the controls the dialog made at run time", 0, kAny, &expectTabOrder},
    };
    return entries;
}

const ScriptedAgent::Commands::Entry* ScriptedAgent::Commands::find(const std::string& name) {
    for (const Entry& e : table())
        if (name == e.name) return &e;
    return nullptr;
}

std::vector<ScriptCommandInfo> ScriptedAgent::commandList() {
    std::vector<ScriptCommandInfo> out;
    for (const Commands::Entry& e : Commands::table())
        out.push_back({e.name, e.usage, e.summary});
    return out;
}

std::string formatScriptHelp(const std::vector<ScriptCommandInfo>& commands) {
    std::string out;
    for (const ScriptCommandInfo& c : commands)
        out += "  " + c.usage + "\n      " + c.summary + "\n";
    return out;
}

bool ScriptedAgent::execute(const Line& line) {
    m_current = line.number;
    std::vector<std::string> w;
    std::string error;
    if (!splitScriptLine(line.text, w, error)) {
        fail(error);
        return false;
    }
    if (w.empty()) return true;
    if (const Commands::Entry* e = Commands::find(w[0])) {
        std::vector<std::string> args(w.begin() + 1, w.end());
        if (args.size() < e->minArgs || (e->maxArgs != Commands::kAny && args.size() > e->maxArgs)) {
            fail(std::string("usage: ") + e->usage);
            return false;
        }
        if (e->handler(*this, w[0], args, error)) return true;
        fail(error);
        return false;
    }
    if (m_host) {
        switch (m_host(w, error)) {
        case HostResult::Done:
            return !failed();
        case HostResult::Failed:
            fail(error);
            return false;
        case HostResult::NotMine:
            break;
        }
    }
    fail("unknown script command '" + w[0] + "'");
    return false;
}

} // namespace ui
