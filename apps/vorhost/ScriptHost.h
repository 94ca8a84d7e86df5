#pragma once
// The host commands of scripts: modules, commands, launchers, the command line and the drawing.
// While a script host lives it serves the drawing's picks from the answers the script queued; a pick
// without an answer, or one made while the calling dialog is still shown (it did not step aside with
// BeginEditorCommand), fails the script.

#include <ui/Script.h>

#include <memory>
#include <string>
#include <vector>

class HostWindow;

class ScriptHost {
public:
    /// `agent` is told the failures of picks (may be null in tests of single commands).
    explicit ScriptHost(HostWindow* window, ui::ScriptedAgent* agent = nullptr);
    ~ScriptHost();
    ScriptHost(const ScriptHost&) = delete;
    ScriptHost& operator=(const ScriptHost&) = delete;
    /// Runs a host command; NotMine when the first word names none.
    ui::ScriptedAgent::HostResult handle(const std::vector<std::string>& words, std::string& error);
    /// Every host command, in the order of the help text.
    static std::vector<ui::ScriptCommandInfo> commandList();

private:
    struct Commands;
    friend struct Commands;
    class Picks;
    HostWindow* m_window;
    std::unique_ptr<Picks> m_picks;
    size_t m_outputChecked = 0;
    std::string m_lastResult;
};
