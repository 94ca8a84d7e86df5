#pragma once
// The scripted agent: runs a line-based script for the dialogs that open, answers questions from
// a queue, records what was asked, and fails at once, naming the line, when a check fails or a
// dialog opens that the script did not expect. The language is described in docs/scripting.md.

#include <ui/Agent.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace ui {

class Control;
class Dialog;

/// What a grid-like view offers to scripts (`cell`, `select-cells`, `expect-cell`).
class GridAccess {
public:
    virtual ~GridAccess() = default;
    /// Types text into a cell as a person would (start editing, type, confirm).
    virtual bool typeCell(int col, int row, const std::string& text, std::string& error) = 0;
    virtual std::string cellText(int col, int row) const = 0;
    virtual bool selectCells(int col1, int row1, int col2, int row2, std::string& error) = 0;
    /// Right click on a cell, as a person would.
    virtual bool rightClickCell(int col, int row, std::string& error) {
        error = "no context menu";
        return false;
    }
};
/// Registers the grid behind a control (null removes it).
void setGridAccess(Control* control, GridAccess* grid);
GridAccess* gridAccess(const Control* control);

/// The tab order of the controls a dialog made at run time, ids in tab order (`expect-taborder`).
using TabOrderSource = std::function<std::vector<int>()>;
/// Registers a dialog's tab-order source (an empty function removes it).
void setTabOrderSource(const Dialog* dialog, TabOrderSource source);

/// Splits a script line into words; quoted words keep spaces and take \" \\ \n \t escapes.
bool splitScriptLine(const std::string& line, std::vector<std::string>& words, std::string& error);

/// A command of the script language, as the help text and the documentation show it.
struct ScriptCommandInfo {
    std::string name;
    std::string usage;   ///< e.g. "type ID \"TEXT\" [TIMES]"
    std::string summary; ///< what it does, one line
};
/// The help text for a list of commands: usage, then what it does, one command after the other.
std::string formatScriptHelp(const std::vector<ScriptCommandInfo>& commands);

class ScriptedAgent : public Agent {
public:
    /// Outcome of a host command handler.
    enum class HostResult { NotMine, Done, Failed };
    using HostHandler = std::function<HostResult(const std::vector<std::string>& words, std::string& error)>;

    ScriptedAgent();
    ~ScriptedAgent() override;

    /// Loads the script to run; `name` appears in messages ("demo.vsc:12: ...").
    void setScript(const std::string& text, const std::string& name);
    /// Host-level commands (load, command, call, expect-output, ...) go to this handler.
    void setHostHandler(HostHandler handler) { m_host = std::move(handler); }
    /// Where `dump` and informational lines go (standard output by default).
    void setPrinter(std::function<void(const std::string&)> print) { m_print = std::move(print); }

    /// Runs the script to its end; false when something failed (see failure()).
    bool run();
    bool failed() const { return !m_failure.empty(); }
    const std::string& failure() const { return m_failure; }
    /// Marks the run failed with a message (first failure wins) and closes what is open.
    void fail(const std::string& message);

    /// Every question asked so far, in order.
    const std::vector<MessageRequest>& messages() const { return m_messages; }

    /// Queues answers without a script, for tests written in C++.
    void queueAnswer(int answer) { m_answers.push_back({Answer::Button, answer, {}}); }
    void queueFile(const std::string& path) { m_answers.push_back({Answer::File, 0, path}); }
    void queueCancelFile() { m_answers.push_back({Answer::File, 0, {}, true}); }
    void queueMenu(int id) { m_answers.push_back({Answer::MenuChoice, id, {}}); }
    void queueValue(const std::string& text) { m_answers.push_back({Answer::Value, 0, text}); }
    size_t pendingAnswers() const { return m_answers.size(); }

    /// Makes every `shot` of a dialog also check that each of its texts fits its control.
    void setCheckFit(bool on) { m_checkFit = on; }

    /// Advances the manual clock, firing due timers.
    void advanceClock(int ms);

    // Agent
    void runModal(Dialog& dialog) override;
    void dialogCreated(Dialog& dialog) override;
    void dialogDestroyed(Dialog& dialog) override;
    int messageBox(const MessageRequest& request, Window* owner) override;
    bool fileDialog(FileRequest& request, Window* owner) override;
    bool colorDialog(ColorRequest& request, Window* owner) override;
    bool fontDialog(FontRequest& request, Window* owner) override;
    bool printDialog(PrintRequest& request, Window* owner) override;
    bool pageSetupDialog(PageSetupRequest& request, Window* owner) override;
    /// The printer that print dialogs answer with (a PDF printer without offsets unless a test sets
    /// another, e.g. one with unprintable edges).
    PrinterInfo defaultPrinter() override { return m_printer; }
    void setDefaultPrinter(const PrinterInfo& printer) { m_printer = printer; }
    int popupMenu(const PopupRequest& request, Window* owner) override;
    bool manualClock() const override { return true; }

    /// The dialog that dialog actions act on: the innermost modal one, else the chosen modeless one.
    Dialog* target() const;
    /// Open dialogs, outermost first.
    const std::vector<Dialog*>& openDialogs() const { return m_open; }

    /// Runs one line (for tests and interactive use); false on failure.
    bool runLine(const std::string& line);

    /// The dialog actions, answers and checks the agent runs itself, in the order of the help text.
    static std::vector<ScriptCommandInfo> commandList();

private:
    struct Answer {
        enum Kind { Button, File, MenuChoice, Value } kind;
        int value = 0;
        std::string text;
        bool cancel = false;
    };
    struct Line {
        int number;
        std::string text;
    };
    bool nextLine(Line& line);
    bool execute(const Line& line);
    struct Commands;
    friend struct Commands;
    bool takeAnswer(Answer::Kind kind, Answer& out, const std::string& what);
    std::string where() const;
    void closeAll();
    void abandon(Dialog& d);

    std::deque<Line> m_lines;
    std::string m_name;
    int m_current = 0;
    HostHandler m_host;
    std::function<void(const std::string&)> m_print;
    std::string m_failure;
    std::vector<MessageRequest> m_messages;
    size_t m_messagesChecked = 0;
    std::deque<Answer> m_answers;
    std::vector<Dialog*> m_open;
    std::vector<Dialog*> m_modal;
    Dialog* m_chosen = nullptr;
    int m_depth = 0;
    PrinterInfo m_printer;
    bool m_checkFit = false;
};

/// Acts on real widgets as a person would, and reads their state back.
class SimulatedUser {
public:
    static bool click(Control& c, std::string& error);
    static bool doubleClick(Control& c, std::string& error);
    static bool type(Control& c, const std::string& text, std::string& error);
    static bool select(Control& c, int index, std::string& error);
    static bool select(Control& c, const std::string& text, std::string& error);
    /// Makes an item of a check combo the current one by a click on its text; its mark stays.
    static bool pick(Control& c, int index, std::string& error);
    static bool check(Control& c, int state, std::string& error);
    static bool rightClick(Control& c, std::string& error);
    static bool key(Dialog& d, const KeyEvent& key, std::string& error);
    static bool menu(Dialog& d, int commandId, std::string& error);
    static bool toolbar(Dialog& d, int commandId, std::string& error);
    static void close(Dialog& d);
    static void focus(Control& c);
    /// A mouse button pressed, moved or released at a point of the dialog's client area, as the
    /// dialog's mouse hook sees it (left button; Ctrl and Shift as given).
    static bool mouse(Dialog& d, MouseEvent::Kind kind, Point at, bool ctrl, bool shift, std::string& error);
    /// "id kind text [disabled] [hidden] [checked] ..." for every control, caption and rectangle first.
    static std::string dump(const Dialog& d);
    static std::string stateOf(const Control& c);
};

} // namespace ui
