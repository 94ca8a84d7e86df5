#pragma once
// Command-line options of vorhost.

#include <string>
#include <vector>

struct HostOptions {
    std::vector<std::string> modules{"vordlg"}; ///< --module NAME (repeatable); "none" loads none
    bool modulesGiven = false;
    bool offscreen = false;            ///< --offscreen
    std::string script;                ///< --script FILE, "-" for standard input
    std::string shot;                  ///< --shot FILE: picture of the main window when done
    std::string libDir;                ///< --lib DIR
    std::string installDir;            ///< --install DIR
    std::string drawing;               ///< --drawing FILE; empty: the library's sample hall
    std::string profile;               ///< --profile FILE
    std::string lang = "en";           ///< --lang en|nl
    std::vector<std::string> commands; ///< --command NAME: run at start
    bool checkFit = false;             ///< --check-fit: shots check that every text fits
    bool help = false;
    bool scriptHelp = false; ///< --script-help: list the script commands and stop
};

/// Parses argv; false with a message naming the bad option.
bool parseHostOptions(int argc, char** argv, HostOptions& out, std::string& error);
/// The usage text, one line per option of the option table.
extern const char* const kHostUsage;
