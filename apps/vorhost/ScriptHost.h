#pragma once
// The host commands of scripts: modules, commands, launchers and the command line.

#include <ui/Script.h>

#include <string>
#include <vector>

class HostWindow;

class ScriptHost {
public:
    explicit ScriptHost(HostWindow* window) : m_window(window) {}
    ui::ScriptedAgent::HostResult handle(const std::vector<std::string>& words, std::string& error);

private:
    HostWindow* m_window;
    size_t m_outputChecked = 0;
    std::string m_lastResult;
};
