#include "HostOptions.h"

#include <algorithm>
#include <string>

namespace {

/// One option: its word, the placeholder of its value ("" for a switch), its help line and what it sets.
struct Option {
    const char* name;
    const char* value;
    const char* help;
    bool (*apply)(HostOptions& o, const std::string& value, std::vector<std::string>& modules,
                  std::string& error);
};

const Option kOptions[] = {
    {"--module", "NAME", "load module libNAME.so (repeatable; default vordlg; 'none' loads none)",
     [](HostOptions&, const std::string& v, std::vector<std::string>& modules, std::string&) {
         modules.push_back(v);
         return true;
     }},
    {"--script", "FILE", "run a script ('-' reads standard input); the exit code tells how it went",
     [](HostOptions& o, const std::string& v, std::vector<std::string>&, std::string&) {
         o.script = v;
         return true;
     }},
    {"--script-help", "", "list the commands scripts may use, with their usage, and stop",
     [](HostOptions& o, const std::string&, std::vector<std::string>&, std::string&) {
         o.scriptHelp = true;
         return true;
     }},
    {"--offscreen", "", "no window on screen (also when there is no display)",
     [](HostOptions& o, const std::string&, std::vector<std::string>&, std::string&) {
         o.offscreen = true;
         return true;
     }},
    {"--shot", "FILE", "save a picture of the main window when done",
     [](HostOptions& o, const std::string& v, std::vector<std::string>&, std::string&) {
         o.shot = v;
         return true;
     }},
    {"--lib", "DIR", "library folder (default: the bundled data/lib)",
     [](HostOptions& o, const std::string& v, std::vector<std::string>&, std::string&) {
         o.libDir = v;
         return true;
     }},
    {"--drawing", "FILE", "drawing to open at start (default: Drawings/Hall.dwg of the library folder)",
     [](HostOptions& o, const std::string& v, std::vector<std::string>&, std::string&) {
         o.drawing = v;
         return true;
     }},
    {"--install", "DIR", "installation folder (default: the bundled data/install)",
     [](HostOptions& o, const std::string& v, std::vector<std::string>&, std::string&) {
         o.installDir = v;
         return true;
     }},
    {"--profile", "FILE", "application profile (INI file)",
     [](HostOptions& o, const std::string& v, std::vector<std::string>&, std::string&) {
         o.profile = v;
         return true;
     }},
    {"--lang", "en|nl", "language of the interface texts",
     [](HostOptions& o, const std::string& v, std::vector<std::string>&, std::string& error) {
         if (v != "en" && v != "nl") {
             error = "--lang takes en or nl, not " + v;
             return false;
         }
         o.lang = v;
         return true;
     }},
    {"--check-fit", "",
     "with --script: every shot of a dialog also fails on a text that does not fit its control",
     [](HostOptions& o, const std::string&, std::vector<std::string>&, std::string&) {
         o.checkFit = true;
         return true;
     }},
    {"--command", "NAME", "run a command at start, as if typed",
     [](HostOptions& o, const std::string& v, std::vector<std::string>&, std::string&) {
         o.commands.push_back(v);
         return true;
     }},
    {"--help", "", "show this text",
     [](HostOptions& o, const std::string&, std::vector<std::string>&, std::string&) {
         o.help = true;
         return true;
     }},
    {"-h", "", "",
     [](HostOptions& o, const std::string&, std::vector<std::string>&, std::string&) {
         o.help = true;
         return true;
     }},
};

std::string usageText() {
    std::string s = "usage: vorhost [options]\n";
    for (const Option& o : kOptions) {
        if (!*o.help) continue; // a short spelling of another option
        std::string left = std::string("  ") + o.name + (*o.value ? std::string(" ") + o.value : "");
        left.resize(std::max<size_t>(left.size() + 1, 20), ' ');
        s += left + o.help + "\n";
    }
    return s;
}

const std::string g_usage = usageText();

} // namespace

const char* const kHostUsage = g_usage.c_str();

bool parseHostOptions(int argc, char** argv, HostOptions& o, std::string& error) {
    std::vector<std::string> modules;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        const Option* opt = nullptr;
        for (const Option& x : kOptions)
            if (a == x.name) opt = &x;
        if (!opt) {
            error = "unknown option " + a;
            return false;
        }
        std::string value;
        if (*opt->value) {
            if (i + 1 >= argc) {
                error = "option " + a + " needs a value";
                return false;
            }
            value = argv[++i];
        }
        if (!opt->apply(o, value, modules, error)) return false;
    }
    if (!modules.empty()) {
        o.modulesGiven = true;
        o.modules.clear();
        for (const auto& m : modules)
            if (m != "none") o.modules.push_back(m);
    }
    return true;
}
