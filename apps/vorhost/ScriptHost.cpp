#include "ScriptHost.h"

#include "HostWindow.h"
#include "ModuleCalls.h"

#include <cad/aced.h>

#include <cstdio>
#include <fstream>
#include <iterator>

using HR = ui::ScriptedAgent::HostResult;

HR ScriptHost::handle(const std::vector<std::string>& w, std::string& error) {
    const std::string& cmd = w[0];
    auto fail = [&](const std::string& e) {
        error = e;
        return HR::Failed;
    };
    if (cmd == "load" || cmd == "unload") {
        if (w.size() != 2) return fail("usage: " + cmd + " MODULE");
        std::string why;
        bool ok = cmd == "load" ? acrxDynamicLinker()->loadModule(w[1], false, &why)
                                : acrxDynamicLinker()->unloadModule(w[1], false, &why);
        if (!ok) return fail(why);
        if (m_window) m_window->refreshLaunchers();
        return HR::Done;
    }
    if (cmd == "command") {
        if (w.size() != 2) return fail("usage: command NAME");
        const AcEdCommand* c = acedRegCmds()->lookupCmd(w[1].c_str());
        if (!c) return fail("unknown command " + w[1]);
        acutPrintf("%s\n", w[1].c_str());
        acedRegCmds()->run(w[1].c_str());
        return HR::Done;
    }
    if (cmd == "expect-command") {
        if (w.size() < 3 || (w[2] != "present" && w[2] != "absent")) return fail("usage: expect-command NAME present|absent [GROUP]");
        const AcEdCommand* c = acedRegCmds()->lookupCmd(w[1].c_str(), w.size() > 3 ? w[3].c_str() : nullptr);
        if ((c != nullptr) != (w[2] == "present"))
            return fail("command " + w[1] + (c ? " is registered (group " + c->group + ")" : " is not registered") +
                        (w.size() > 3 ? " in group " + w[3] : ""));
        return HR::Done;
    }
    if (cmd == "expect-group") {
        if (w.size() != 3 || (w[2] != "present" && w[2] != "absent")) return fail("usage: expect-group GROUP present|absent");
        bool has = acedRegCmds()->hasGroup(w[1].c_str());
        if (has != (w[2] == "present")) return fail("command group " + w[1] + (has ? " is present" : " is absent"));
        return HR::Done;
    }
    if (cmd == "call") {
        if (w.size() < 2 || w.size() > 3) return fail("usage: call LAUNCHER [JSON]");
        std::string result;
        if (!callLauncher(w[1], w.size() > 2 ? w[2] : "{}", result, error)) return HR::Failed;
        m_lastResult = result;
        std::printf("result %s %s\n", w[1].c_str(), result.c_str());
        std::fflush(stdout);
        return HR::Done;
    }
    if (cmd == "expect-result") {
        if (w.size() != 2) return fail("usage: expect-result \"SUBSTRING\"");
        if (m_lastResult.find(w[1]) == std::string::npos) return fail("the last result " + m_lastResult + " does not hold " + w[1]);
        return HR::Done;
    }
    if (cmd == "expect-output" || cmd == "expect-no-output") {
        if (w.size() != 2) return fail("usage: " + cmd + " \"SUBSTRING\"");
        const std::string& out = acutPrintedText();
        size_t at = out.find(w[1], std::min(m_outputChecked, out.size()));
        if (cmd == "expect-no-output") {
            if (at != std::string::npos) return fail("the command line shows " + w[1]);
            return HR::Done;
        }
        if (at == std::string::npos)
            return fail("the command line does not show \"" + w[1] + "\"; it shows: " + out.substr(std::min(m_outputChecked, out.size())));
        m_outputChecked = at + w[1].size();
        return HR::Done;
    }
    if (cmd == "expect-file" || cmd == "expect-no-file") {
        if (w.size() < 2) return fail("usage: expect-file PATH [HEXPREFIX] | expect-no-file PATH");
        std::ifstream in(w[1], std::ios::binary);
        if (cmd == "expect-no-file") return in ? fail("the file " + w[1] + " exists") : HR::Done;
        if (!in) return fail("there is no file " + w[1]);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (bytes.empty()) return fail("the file " + w[1] + " is empty");
        if (w.size() > 2) {
            std::string hex;
            for (size_t i = 0; i < bytes.size() && hex.size() < w[2].size(); ++i) {
                char b[3];
                std::snprintf(b, sizeof b, "%02x", static_cast<unsigned char>(bytes[i]));
                hex += b;
            }
            std::string want = w[2];
            for (auto& ch : want) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
            if (hex != want) return fail("the file " + w[1] + " starts with " + hex + ", not " + want);
        }
        return HR::Done;
    }
    if (cmd == "write-file") {
        if (w.size() != 3) return fail("usage: write-file PATH \"TEXT\"");
        std::ofstream out(w[1], std::ios::binary);
        out << w[2];
        return out ? HR::Done : fail("cannot write " + w[1]);
    }
    if (cmd == "type-command") {
        if (w.size() != 2) return fail("usage: type-command \"LINE\"");
        if (!m_window) return fail("there is no command line");
        m_window->runCommandLine(QString::fromStdString(w[1]));
        return HR::Done;
    }
    return HR::NotMine;
}
