#include "HostOptions.h"

const char* const kHostUsage =
    "usage: vorhost [options]\n"
    "  --module NAME     load module libNAME.so (repeatable; default vordlg; 'none' loads none)\n"
    "  --script FILE     run a script ('-' reads standard input); the exit code tells how it went\n"
    "  --offscreen       no window on screen (also when there is no display)\n"
    "  --shot FILE       save a picture of the main window when done\n"
    "  --lib DIR         library folder (default: the bundled data/lib)\n"
    "  --install DIR     installation folder (default: the bundled data/install)\n"
    "  --profile FILE    application profile (INI file)\n"
    "  --lang en|nl      language of the interface texts\n"
    "  --command NAME    run a command at start, as if typed\n";

bool parseHostOptions(int argc, char** argv, HostOptions& o, std::string& error) {
    std::vector<std::string> modules;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= argc) {
                error = "option " + a + " needs a value";
                return false;
            }
            into = argv[++i];
            return true;
        };
        std::string v;
        if (a == "--help" || a == "-h") o.help = true;
        else if (a == "--offscreen") o.offscreen = true;
        else if (a == "--module") {
            if (!value(v)) return false;
            modules.push_back(v);
        } else if (a == "--script") {
            if (!value(o.script)) return false;
        } else if (a == "--shot") {
            if (!value(o.shot)) return false;
        } else if (a == "--lib") {
            if (!value(o.libDir)) return false;
        } else if (a == "--install") {
            if (!value(o.installDir)) return false;
        } else if (a == "--profile") {
            if (!value(o.profile)) return false;
        } else if (a == "--lang") {
            if (!value(o.lang)) return false;
            if (o.lang != "en" && o.lang != "nl") {
                error = "--lang takes en or nl, not " + o.lang;
                return false;
            }
        } else if (a == "--command") {
            if (!value(v)) return false;
            o.commands.push_back(v);
        } else {
            error = "unknown option " + a;
            return false;
        }
    }
    if (!modules.empty()) {
        o.modulesGiven = true;
        o.modules.clear();
        for (const auto& m : modules)
            if (m != "none") o.modules.push_back(m);
    }
    return true;
}
