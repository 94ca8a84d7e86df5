#pragma once
// The agent answers for the person: modal loops, message boxes, the standard dialogs, popup
// menus and picks. The interactive agent asks a real person; the scripted agent follows a script
// and fails loudly, never waiting, when something happens that the script did not expect.

#include <ui/Types.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ui {

class Dialog;
class Window;

/// A question put in a message box.
struct MessageRequest {
    std::string text;
    std::string caption;
    unsigned flags = MB_OK;
    int icon() const { return static_cast<int>(flags & MB_ICONMASK); }
    int buttons() const { return static_cast<int>(flags & MB_TYPEMASK); }
};

/// The standard open/save dialog. Filters in the classic form "Tables (*.sss)|*.sss|All (*.*)|*.*||".
struct FileRequest {
    bool save = false;
    std::string title;
    std::string folder;
    std::string fileName; ///< initial name; the chosen path on success
    std::string filter;
    std::string defaultExtension; ///< added when the chosen name has none
    bool overwritePrompt = true;
    bool mustExist = true; ///< open: the file must exist
    int filterIndex = 1;   ///< 1-based, in and out
};

struct ColorRequest {
    ColorRef color = 0; ///< in and out
};

struct FontRequest {
    FontSpec font; ///< in and out
    bool withColor = true;
};

/// What a print run needs to know of the chosen printer. Device units are the printer's dots.
struct PrinterInfo {
    std::string name;                        ///< printer name; "PDF" for a file
    int dpiX = 600, dpiY = 600;              ///< resolution
    int offsetX = 0, offsetY = 0;            ///< unprintable margin at the left and top edge, in dots
    int drawWidth = 4960, drawHeight = 7016; ///< the area the printer can draw on, in dots
    std::string paper = "A4";
    double paperWidthMm = 210, paperHeightMm = 297; ///< as the paper lies (turned when landscape)
    bool landscape = false;
};

struct PrintRequest {
    std::string printerName;        ///< out: chosen printer, or "PDF" with outputFile
    std::string outputFile;         ///< out: PDF file when printing to a file
    int minPage = 1, maxPage = 999; ///< in: the pages the person may choose from
    bool allowSelection = false;    ///< in: a selected block can be printed alone
    int fromPage = 1;
    int toPage = 0;         ///< 0 = all
    bool pageRange = false; ///< out: the person chose pages fromPage .. toPage
    bool selection = false; ///< out: the person chose to print the selection
    int copies = 1;
    bool landscape = false;
    std::string paper = "A4";
    PrinterInfo printer; ///< out: the chosen printer's description
};

struct PageSetupRequest {
    std::string paper = "A4";
    bool landscape = false;
    int marginLeft = 20, marginTop = 20, marginRight = 20, marginBottom = 20; ///< millimetres
};

/// A popup menu offered at a point: ids and texts of its items (id 0 is a separator line); the answer
/// is an id or 0.
struct PopupRequest {
    std::vector<int> ids;
    std::vector<std::string> texts;
    std::vector<bool> enabled;
    Point screenPos;
};

/// Answers for the person.
class Agent {
public:
    virtual ~Agent() = default;
    /// Runs the modal loop of a dialog that is built and shown; returns when it has ended.
    virtual void runModal(Dialog& dialog) = 0;
    /// A modeless dialog was created or destroyed.
    virtual void dialogCreated(Dialog& dialog) {}
    virtual void dialogDestroyed(Dialog& dialog) {}
    virtual int messageBox(const MessageRequest& request, Window* owner) = 0;
    virtual bool fileDialog(FileRequest& request, Window* owner) = 0;
    virtual bool colorDialog(ColorRequest& request, Window* owner) = 0;
    virtual bool fontDialog(FontRequest& request, Window* owner) = 0;
    virtual bool printDialog(PrintRequest& request, Window* owner) = 0;
    virtual bool pageSetupDialog(PageSetupRequest& request, Window* owner) = 0;
    /// The system's default printer, or a PDF printer of A4 paper when none is configured.
    virtual PrinterInfo defaultPrinter() = 0;
    virtual int popupMenu(const PopupRequest& request, Window* owner) = 0;
    /// Timers run on the toolkit's clock unless the agent keeps a manual one.
    virtual bool manualClock() const { return false; }
};

/// The agent in charge; the interactive one unless a test or script installed another.
Agent& agent();
/// Installs an agent (not owned) and returns the previous one; null restores the interactive one.
Agent* setAgent(Agent* agent);

/// Shorthands that go through the agent.
int messageBox(const std::string& text, const std::string& caption, unsigned flags = MB_OK,
               Window* owner = nullptr);

/// The agent that asks a real person with the toolkit's own dialogs.
class InteractiveAgent : public Agent {
public:
    void runModal(Dialog& dialog) override;
    int messageBox(const MessageRequest& request, Window* owner) override;
    bool fileDialog(FileRequest& request, Window* owner) override;
    bool colorDialog(ColorRequest& request, Window* owner) override;
    bool fontDialog(FontRequest& request, Window* owner) override;
    bool printDialog(PrintRequest& request, Window* owner) override;
    bool pageSetupDialog(PageSetupRequest& request, Window* owner) override;
    PrinterInfo defaultPrinter() override;
    int popupMenu(const PopupRequest& request, Window* owner) override;
};

} // namespace ui
