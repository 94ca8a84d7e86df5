#pragma once
// The host commands of scripts: modules, commands, launchers and the command line.

#include <ui/Script.h>

#include <string>
#include <vector>

class HostWindow;

class ScriptHost {
public:
    explicit ScriptHost(HostWindow* window)
        : m_window(window) {}
    /// Runs a host command; NotMine when the first word names none.
    ui::ScriptedAgent::HostResult handle(const std::vector<std::string>& words, std::string& error);
    /// Every host command, in the order of the help text.
    static std::vector<ui::ScriptCommandInfo> commandList();

private:
    struct Commands;
    friend struct Commands;
    HostWindow* m_window;
    size_t m_outputChecked = 0;
    std::string m_lastResult;
};
