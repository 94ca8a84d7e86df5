// The scripted agent: reads a script line by line, runs the dialogs it opens and answers their
// questions from its queue.

#include <ui/Application.h>
#include <ui/Resources.h>
#include <ui/Script.h>
#include <ui/Window.h>

#include "Internal_p.h"
#include "Script_p.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <sstream>

namespace ui {

bool toInt(const std::string& s, int& v) {
    try {
        size_t used = 0;
        v = std::stoi(s, &used);
        return used == s.size();
    } catch (...) {
        return false;
    }
}

std::string quote(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\') out += '\\';
        if (c == '\n') {
            out += "\\n";
            continue;
        }
        if (c == '\r') continue;
        if (c == '\t') {
            out += "\\t";
            continue;
        }
        out += c;
    }
    return out + "\"";
}

namespace {
int defaultAnswer(const MessageRequest& r) {
    switch (r.buttons()) {
    case MB_OKCANCEL:
    case MB_YESNOCANCEL:
    case MB_RETRYCANCEL:
        return IDCANCEL;
    case MB_YESNO:
        return IDNO;
    case MB_ABORTRETRYIGNORE:
        return IDABORT;
    default:
        return IDOK;
    }
}

bool answerFits(const MessageRequest& r, int answer) {
    switch (r.buttons()) {
    case MB_OKCANCEL:
        return answer == IDOK || answer == IDCANCEL;
    case MB_YESNOCANCEL:
        return answer == IDYES || answer == IDNO || answer == IDCANCEL;
    case MB_YESNO:
        return answer == IDYES || answer == IDNO;
    case MB_RETRYCANCEL:
        return answer == IDRETRY || answer == IDCANCEL;
    case MB_ABORTRETRYIGNORE:
        return answer == IDABORT || answer == IDRETRY || answer == IDIGNORE;
    default:
        return answer == IDOK;
    }
}

const char* answerName(int a) {
    switch (a) {
    case IDOK:
        return "ok";
    case IDCANCEL:
        return "cancel";
    case IDABORT:
        return "abort";
    case IDRETRY:
        return "retry";
    case IDIGNORE:
        return "ignore";
    case IDYES:
        return "yes";
    case IDNO:
        return "no";
    default:
        return "?";
    }
}
} // namespace

bool splitScriptLine(const std::string& line, std::vector<std::string>& words, std::string& error) {
    words.clear();
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i])))
            ++i;
        if (i >= line.size()) break;
        // A comment runs to the end of the line. It starts with a '#' on its own or before a space, so
        // that a word such as a colour (#FF8000) stays a word.
        if (line[i] == '#' &&
            (words.empty() || i + 1 >= line.size() || std::isspace(static_cast<unsigned char>(line[i + 1]))))
            break;
        std::string w;
        if (line[i] == '"') {
            ++i;
            bool closed = false;
            while (i < line.size()) {
                char c = line[i++];
                if (c == '"') {
                    closed = true;
                    break;
                }
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
            while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i])))
                w += line[i++];
        }
        words.push_back(w);
    }
    return true;
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

std::string ScriptedAgent::where() const {
    return m_name + ":" + std::to_string(m_current) + ": ";
}

void ScriptedAgent::fail(const std::string& message) {
    if (m_failure.empty()) {
        m_failure = message.rfind(m_name + ":", 0) == 0 ? message : where() + message;
        std::fprintf(stderr, "%s\n", m_failure.c_str());
    }
    closeAll();
}

// A dialog left by a failed script is cancelled as by Escape, so that it ends the way its own
// cancel ends it: a window whose end codes mean something else (a preview whose code 2 prints and
// opens it again) must not be driven on by a plain IDCANCEL. One that refuses is ended anyway.
void ScriptedAgent::abandon(Dialog& d) {
    if (!d.exists() || d.hasEnded()) return;
    Dialog::Hooks::cancel(d);
    if (d.exists() && !d.hasEnded()) d.endDialog(IDCANCEL);
}

void ScriptedAgent::closeAll() {
    for (auto it = m_modal.rbegin(); it != m_modal.rend(); ++it)
        abandon(**it);
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
            for (Dialog* d : left)
                names += (names.empty() ? "" : ", ") + d->describe();
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
        abandon(dialog);
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
                fail(dialog.describe() +
                     " opened, but the script did not expect it (next line: " + line.text + ")");
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
    // a page made inside a dialog (a tab's child dialog) is reached through that dialog
    if (!dynamic_cast<Dialog*>(dialog.parent())) m_chosen = &dialog;
}

void ScriptedAgent::dialogDestroyed(Dialog& dialog) {
    m_open.erase(std::remove(m_open.begin(), m_open.end(), &dialog), m_open.end());
    if (m_chosen == &dialog) m_chosen = nullptr;
}

bool ScriptedAgent::takeAnswer(Answer::Kind kind, Answer& out, const std::string& what) {
    if (failed()) return false;
    if (m_answers.empty() || m_answers.front().kind != kind) {
        fail(
            "unexpected " + what +
            (m_answers.empty() ? "; no answer was given for it" : "; the next answer is for something else"));
        return false;
    }
    out = m_answers.front();
    m_answers.pop_front();
    return true;
}

int ScriptedAgent::messageBox(const MessageRequest& r, Window*) {
    m_messages.push_back(r);
    Answer a;
    if (!takeAnswer(Answer::Button, a, "message " + quote(r.text) + " (" + r.caption + ")"))
        return defaultAnswer(r);
    if (!answerFits(r, a.value)) {
        fail(std::string("the answer '") + answerName(a.value) + "' does not fit the message " +
             quote(r.text));
        return defaultAnswer(r);
    }
    return a.value;
}

bool ScriptedAgent::fileDialog(FileRequest& r, Window*) {
    Answer a;
    if (!takeAnswer(Answer::File, a,
                    std::string(r.save ? "save" : "open") + " file dialog " + quote(r.title)))
        return false;
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
    // Each part is one byte: 256 would wrap round to 0, a colour the script never named.
    if (std::min({red, green, blue}) < 0 || std::max({red, green, blue}) > 255) {
        fail("the colour answer needs three numbers from 0 to 255: " + a.text);
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
        if (w[i] == "bold")
            r.font.bold = true;
        else if (w[i] == "italic")
            r.font.italic = true;
        else if (w[i] == "underline")
            r.font.underline = true;
        else if (w[i] == "strikeout")
            r.font.strikeOut = true;
        else if (w[i].size() == 7 && w[i][0] == '#') {
            // Six hex digits and nothing else: a slip such as #12345G is the script's mistake, and
            // must neither end the run with an exception nor pass as some other colour.
            if (w[i].find_first_not_of("0123456789abcdefABCDEF", 1) != std::string::npos) {
                fail("the font answer's colour must be #RRGGBB, not " + w[i]);
                return false;
            }
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
    // "FILE.pdf", then optionally "pages A-B" or "selection"
    std::string file = a.text, choice;
    if (auto tab = a.text.find('\t'); tab != std::string::npos) {
        file = a.text.substr(0, tab);
        choice = a.text.substr(tab + 1);
    }
    r.printerName = "PDF";
    r.outputFile = std::filesystem::absolute(file).lexically_normal().string();
    r.printer = m_printer;
    r.printer.name = "PDF";
    r.landscape = m_printer.landscape;
    r.pageRange = r.selection = false;
    r.fromPage = 1;
    r.toPage = 0;
    int from = 0, to = 0;
    if (choice == "selection" && r.allowSelection) {
        r.selection = true;
    } else if (std::sscanf(choice.c_str(), "pages %d-%d", &from, &to) == 2) {
        r.pageRange = true;
        r.fromPage = std::clamp(from, r.minPage, r.maxPage);
        r.toPage = std::clamp(to, r.fromPage, r.maxPage);
    }
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
    for (size_t i = 0; i < r.ids.size(); ++i)
        items += (i ? ", " : "") + std::to_string(r.ids[i]);
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

void ScriptedAgent::advanceClock(int ms) {
    Timers::advance(ms);
}

} // namespace ui
