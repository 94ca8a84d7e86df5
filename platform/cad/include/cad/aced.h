#pragma once
// The command stack, the command line and the main window of the CAD host.

#include <cad/rxregistry.h>

#include <cstdarg>
#include <functional>
#include <string>
#include <vector>

using AcRxFunctionPtr = void (*)();

namespace ACRX_CMD {
enum : int { kModal = 0, kTransparent = 1, kUsePickSet = 2, kRedraw = 4, kSession = 0x200000 };
}

/// A registered command.
struct AcEdCommand {
    std::string group;
    std::string globalName;
    std::string localName;
    int flags = 0;
    AcRxFunctionPtr function = nullptr;
    int functionCode = -1;
};

/// The stack of registered commands, grouped; registered under "ACAD_REGISTERED_COMMANDS".
class AcEdCommandStack : public AcRxObject {
public:
    /// Adds a command; eDuplicateKey if the group already holds that global name.
    Acad::ErrorStatus addCommand(const char* group, const char* globalName, const char* localName, int flags,
                                 AcRxFunctionPtr function, void* uiContext = nullptr, int functionCode = -1,
                                 void* resourceHandle = nullptr, AcEdCommand** cmdPtr = nullptr);
    /// Removes every command of the group; eKeyNotFound if there was none.
    Acad::ErrorStatus removeGroup(const char* group);
    Acad::ErrorStatus removeCmd(const char* group, const char* globalName);
    /// Finds a command by global or local name, without regard to case; null if none.
    const AcEdCommand* lookupCmd(const char* name, const char* group = nullptr) const;
    bool hasGroup(const char* group) const;
    std::vector<AcEdCommand> commands() const { return m_commands; }
    /// Runs a command by name; false if it is unknown.
    bool run(const char* name);
    /// The commands in progress, outermost first (a command may run another, or a script may act
    /// while a command's modal dialog is open). The linker asks this before it unloads a module.
    const std::vector<AcEdCommand>& activeCommands() const { return m_active; }

private:
    std::vector<AcEdCommand> m_commands;
    std::vector<AcEdCommand> m_active;
};

/// The command stack of the system registry.
AcEdCommandStack* acedRegCmds();

/// Prints to the command line (printf-style).
int acutPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
/// Where command-line output goes: the host window sets a sink; tests read the record.
void acutSetPrintSink(std::function<void(const std::string&)> sink);
/// Everything printed since the last clear.
const std::string& acutPrintedText();
void acutClearPrintedText();

/// Shows the command prompt again after a command that left it.
void acedPostCommandPrompt();
int acedPostCommandPromptCount();
/// Redraws the drawing views.
void acedUpdateDisplay();
int acedUpdateDisplayCount();

/// The host's main window (opaque; the windowing layer knows what it is).
void* adsw_acadMainWnd();
void acedSetMainWnd(void* window);

/// Initialises the system registry with the linker and the command stack (idempotent).
void acrxInitHost();
