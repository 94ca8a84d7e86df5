#include "ScriptHost.h"

#include "HostWindow.h"
#include "ModuleCalls.h"

#include <cad/aced.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>

using HR = ui::ScriptedAgent::HostResult;

/// The host commands as a table; each handler gets the words after the command's name, already
/// counted against the table.
struct ScriptHost::Commands {
    using Args = std::vector<std::string>;
    using Handler = HR (*)(ScriptHost& h, const std::string& name, const Args& w, std::string& error);
    struct Entry {
        const char* name;
        const char* usage;
        const char* summary;
        size_t minArgs;
        size_t maxArgs;
        Handler handler;
    };
    static const std::vector<Entry>& table();

    static HR fail(std::string& error, const std::string& why) {
        error = why;
        return HR::Failed;
    }

    static HR load(ScriptHost& h, const std::string&, const Args& w, std::string& error) {
        std::string why;
        if (!acrxDynamicLinker()->loadModule(w[0], false, &why)) return fail(error, why);
        if (h.m_window) h.m_window->refreshLaunchers();
        return HR::Done;
    }
    static HR unload(ScriptHost& h, const std::string&, const Args& w, std::string& error) {
        if (w.size() > 1 && w[1] != "refused") return fail(error, "usage: unload MODULE [refused]");
        std::string why;
        bool unloaded = acrxDynamicLinker()->unloadModule(w[0], false, &why);
        if (w.size() > 1) { // the script says the module is in use: the unload must not happen
            if (unloaded)
                return fail(error,
                            "module " + w[0] + " was unloaded, but the unload should have been refused");
            if (!acrxDynamicLinker()->isLoaded(w[0])) return fail(error, why);
            return HR::Done;
        }
        if (!unloaded) return fail(error, why);
        if (h.m_window) h.m_window->refreshLaunchers();
        return HR::Done;
    }
    static HR command(ScriptHost&, const std::string&, const Args& w, std::string& error) {
        if (!acedRegCmds()->lookupCmd(w[0].c_str())) return fail(error, "unknown command " + w[0]);
        acutPrintf("%s\n", w[0].c_str());
        acedRegCmds()->run(w[0].c_str());
        return HR::Done;
    }
    static HR expectCommand(ScriptHost&, const std::string&, const Args& w, std::string& error) {
        if (w[1] != "present" && w[1] != "absent")
            return fail(error, "usage: expect-command NAME present|absent [GROUP]");
        const AcEdCommand* c = acedRegCmds()->lookupCmd(w[0].c_str(), w.size() > 2 ? w[2].c_str() : nullptr);
        if ((c != nullptr) != (w[1] == "present"))
            return fail(error, "command " + w[0] +
                                   (c ? " is registered (group " + c->group + ")" : " is not registered") +
                                   (w.size() > 2 ? " in group " + w[2] : ""));
        return HR::Done;
    }
    static HR expectGroup(ScriptHost&, const std::string&, const Args& w, std::string& error) {
        if (w[1] != "present" && w[1] != "absent")
            return fail(error, "usage: expect-group GROUP present|absent");
        bool has = acedRegCmds()->hasGroup(w[0].c_str());
        if (has != (w[1] == "present"))
            return fail(error, "command group " + w[0] + (has ? " is present" : " is absent"));
        return HR::Done;
    }
    static HR call(ScriptHost& h, const std::string&, const Args& w, std::string& error) {
        std::string result;
        if (!callLauncher(w[0], w.size() > 1 ? w[1] : "{}", result, error)) return HR::Failed;
        h.m_lastResult = result;
        std::printf("result %s %s\n", w[0].c_str(), result.c_str());
        std::fflush(stdout);
        return HR::Done;
    }
    static HR expectResult(ScriptHost& h, const std::string&, const Args& w, std::string& error) {
        if (h.m_lastResult.find(w[0]) == std::string::npos)
            return fail(error, "the last result " + h.m_lastResult + " does not hold " + w[0]);
        return HR::Done;
    }
    static HR expectOutput(ScriptHost& h, const std::string& name, const Args& w, std::string& error) {
        const std::string& out = acutPrintedText();
        size_t at = out.find(w[0], std::min(h.m_outputChecked, out.size()));
        if (name == "expect-no-output") {
            if (at != std::string::npos) return fail(error, "the command line shows " + w[0]);
            return HR::Done;
        }
        if (at == std::string::npos)
            return fail(error, "the command line does not show \"" + w[0] +
                                   "\"; it shows: " + out.substr(std::min(h.m_outputChecked, out.size())));
        h.m_outputChecked = at + w[0].size();
        return HR::Done;
    }
    static HR expectFile(ScriptHost&, const std::string&, const Args& w, std::string& error) {
        std::ifstream in(w[0], std::ios::binary);
        if (!in) return fail(error, "there is no file " + w[0]);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (bytes.empty()) return fail(error, "the file " + w[0] + " is empty");
        if (w.size() > 1) {
            std::string hex;
            for (size_t i = 0; i < bytes.size() && hex.size() < w[1].size(); ++i) {
                char b[3];
                std::snprintf(b, sizeof b, "%02x", static_cast<unsigned char>(bytes[i]));
                hex += b;
            }
            std::string want = w[1];
            for (auto& ch : want)
                ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
            if (hex != want) return fail(error, "the file " + w[0] + " starts with " + hex + ", not " + want);
        }
        return HR::Done;
    }
    static HR expectNoFile(ScriptHost&, const std::string&, const Args& w, std::string& error) {
        std::ifstream in(w[0], std::ios::binary);
        return in ? fail(error, "the file " + w[0] + " exists") : HR::Done;
    }
    static HR writeFile(ScriptHost&, const std::string&, const Args& w, std::string& error) {
        std::ofstream out(w[0], std::ios::binary);
        out << w[1];
        return out ? HR::Done : fail(error, "cannot write " + w[0]);
    }
    static HR typeCommand(ScriptHost& h, const std::string&, const Args& w, std::string& error) {
        if (!h.m_window) return fail(error, "there is no command line");
        h.m_window->runCommandLine(QString::fromStdString(w[0]));
        return HR::Done;
    }
};

const std::vector<ScriptHost::Commands::Entry>& ScriptHost::Commands::table() {
    static const std::vector<Entry> entries = {
        {"load", "load MODULE", "loads libMODULE.so through the dynamic linker", 1, 1, &load},
        {"unload", "unload MODULE [refused]",
         "unloads libMODULE.so; with refused, checks that the unload is refused because the module is in use",
         1, 2, &unload},
        {"command", "command NAME", "runs a registered command (TEST); an unknown one is a failure", 1, 1,
         &command},
        {"type-command", "type-command \"LINE\"", "types a line at the command line, as a person would", 1, 1,
         &typeCommand},
        {"expect-command", "expect-command NAME present|absent [GROUP]",
         "checks whether a command is registered", 2, 3, &expectCommand},
        {"expect-group", "expect-group GROUP present|absent", "checks whether a command group is registered",
         2, 2, &expectGroup},
        {"call", "call LAUNCHER [JSON]", "calls an exported launcher with data; prints result LAUNCHER JSON",
         1, 2, &call},
        {"expect-result", "expect-result \"SUBSTRING\"",
         "checks that the JSON of the last call holds the text", 1, 1, &expectResult},
        {"expect-output", "expect-output \"SUBSTRING\"",
         "checks that the command line printed the text since the last matched output", 1, 1, &expectOutput},
        {"expect-no-output", "expect-no-output \"SUBSTRING\"",
         "checks that the command line has not printed the text since then", 1, 1, &expectOutput},
        {"expect-file", "expect-file PATH [HEXPREFIX]",
         "checks that the file exists, is not empty, and (given a prefix) starts with those bytes", 1, 2,
         &expectFile},
        {"expect-no-file", "expect-no-file PATH", "checks that there is no such file", 1, 1, &expectNoFile},
        {"write-file", "write-file PATH \"TEXT\"", "writes a file, to prepare a test (a damaged table, say)",
         2, 2, &writeFile},
    };
    return entries;
}

HR ScriptHost::handle(const std::vector<std::string>& w, std::string& error) {
    const auto& table = Commands::table();
    auto e =
        std::find_if(table.begin(), table.end(), [&](const Commands::Entry& x) { return w[0] == x.name; });
    if (e == table.end()) return HR::NotMine;
    std::vector<std::string> args(w.begin() + 1, w.end());
    if (args.size() < e->minArgs || args.size() > e->maxArgs)
        return Commands::fail(error, std::string("usage: ") + e->usage);
    return e->handler(*this, w[0], args, error);
}

std::vector<ui::ScriptCommandInfo> ScriptHost::commandList() {
    std::vector<ui::ScriptCommandInfo> out;
    for (const Commands::Entry& e : Commands::table())
        out.push_back({e.name, e.usage, e.summary});
    return out;
}
