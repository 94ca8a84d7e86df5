#pragma once
// The module's grid: the conveniences every grid of the module uses, over the grid control.

#include "calc/EditHistory.h"
#include "calc/TSpread.h"

#include <host/Vor_Array.h>
#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>

#include <functional>
#include <memory>
#include <vector>

namespace ui {
class Dialog;
class Window;
} // namespace ui

/// What getText and friends read from a cell.
enum SpreadTextKind : int {
    kTextData = 0,    ///< the shown data text
    kTextFormula = 1, ///< the formula
    kTextTag = 2,     ///< the cell tag
    kTextValue = 3,   ///< the stored value text
};

/// Action codes of the grid's context menu.
enum SpreadMenuCode : int {
    kMenuSeparator = 1,
    kMenuCopy = 2,
    kMenuPaste = 3,
    kMenuInsertRow = 4,
    kMenuDeleteRow = 5,
    kMenuInsertColumn = 6,
    kMenuDeleteColumn = 7,
    kMenuCheckAll = 8,
    kMenuUncheckAll = 9,
};

/// The find window of a grid as the grid sees it; the dialog itself lives with the other dialogs.
class SpreadFindWindow {
public:
    virtual ~SpreadFindWindow() = default;
    /// Shows the window, with or without its replace part.
    virtual void show(bool replace) = 0;
    /// Closes the window for good (the grid goes).
    virtual void close() = 0;
};

class Vor_Spread : public TSpread, private sheet::SpreadListener {
public:
    using FindWindowFactory = std::function<std::unique_ptr<SpreadFindWindow>(Vor_Spread&)>;

    Vor_Spread();
    ~Vor_Spread() override;
    Vor_Spread(const Vor_Spread&) = delete;
    Vor_Spread& operator=(const Vor_Spread&) = delete;
    static const char* runtimeClassName() { return "Vor_Spread"; }

    /// Puts the grid over placeholder `controlId` of `parent`; 0 columns and rows, no action keys.
    bool attach(ui::Dialog* parent, int controlId, bool keepRect = true);
    bool attached() const { return m_hWnd != nullptr; }
    int controlId() const { return m_controlId; }
    /// Notifications the owning dialog wants (the grid keeps handling its own menu, re-fit and Tab).
    void setOwnerListener(sheet::SpreadListener* owner) { m_owner = owner; }

    void setStandardLook(int editMode);
    int maxCols() const;
    int maxRows() const;
    bool setMaxCols(int n);
    bool setMaxRows(int n);
    bool growCols(int n, bool formatNew);
    bool growRows(int n, bool formatNew);

    /// The text of a cell by kind; false outside the grid or when not attached.
    bool getText(int col, int row, int kind, Vor_String& out) const;
    bool setText(int col, int row, const Vor_String& text);
    bool setFormula(int col, int row, const Vor_String& text);
    bool setTag(int col, int row, const Vor_String& text);
    bool setTextRange(int col, int row, int col2, int row2, const Vor_String& text);
    bool setFormulaRange(int col, int row, int col2, int row2, const Vor_String& text);
    bool getDouble(int col, int row, double& out) const;
    bool setDouble(int col, int row, double v);

    bool setColumn(int col, const Vor_StringArray& texts, bool asFormula = false);
    bool getColumn(int col, Vor_StringArray& out, int kind = kTextData) const;
    bool setRow(int row, const Vor_StringArray& texts);
    bool getRow(int row, Vor_StringArray& out) const;
    bool getAllRows(Vor_Array<Vor_StringArray>& out) const;
    bool setColumnInts(int col, const std::vector<int>& values);
    bool setColumnDoubles(int col, const std::vector<double>& values);
    bool setColumnBools(int col, const std::vector<bool>& values);
    bool setColumnCombo(int col, const Vor_StringArray& items, bool editable);

    bool insertRow(int row, bool askHeader, bool copyNeighbour);
    bool insertColumn(int col, bool askHeader, bool copyNeighbour);
    void setContextMenu(const std::vector<int>& codes) { m_menuCodes = codes; }
    const std::vector<int>& contextMenu() const { return m_menuCodes; }
    bool moveCurrentRowUp();
    bool moveCurrentRowDown();

    bool setColumnCheckBoxes(int col, bool framed, bool spanHeader);
    bool setCheckBoxCell(int col, int row, bool framed);
    bool setCheck(int col, int row, bool on);
    bool setAllChecks(bool on);
    bool setPictureCell(int col, int row, const Vor_String& file);

    /// Header font (bold or not) on a block.
    bool styleHeader(const sheet::CellRange& block, bool bold);
    bool fitColumn(int col);
    bool fitRow(int row);
    bool fitAll();
    /// 0 nothing, 1 all columns and rows, 2 columns then rows, 3 a column against a limit, 4 a row
    /// against a limit, 5 lists of columns and rows.
    void setResizeMode(int mode, int a = 0, int b = 0, const std::vector<int>& cols = {},
                       const std::vector<int>& rows = {});
    int resizeMode() const { return m_resizeMode; }

    /// Opens the grid's find (or find-and-replace) window, made on first use.
    void showFind(bool replace);
    SpreadFindWindow* findWindow() const { return m_findWindow.get(); }
    /// Who makes find windows (the find dialog registers itself when the module is loaded).
    static void setFindWindowFactory(FindWindowFactory factory);
    /// Tells the owning dialog that code changed a cell, as an edit in the grid would.
    void changedByCode(int col, int row);
    /// Puts a print preview of this grid over placeholder `controlId` of `parent`; its handle, or null.
    sheet::PreviewControl* attachPreview(ui::Dialog* parent, int controlId);

    bool changed() const;
    void setChanged(bool flag);

    /// Who records changes for undo (the editor's history); null for none. Code that changes cells
    /// for a person says so first, in a ChangeScope, naming the blocks it is about to change.
    void setChangeRecorder(SpreadChangeRecorder* recorder) { m_recorder = recorder; }
    SpreadChangeRecorder* changeRecorder() const { return m_recorder; }
    void beginChange() {
        if (m_recorder) m_recorder->beginChange();
    }
    void aboutToChange(const sheet::CellRange& block) {
        if (m_recorder) m_recorder->aboutToChange(block);
    }
    void aboutToResize() {
        if (m_recorder) m_recorder->aboutToResize();
    }
    void endChange(int mergeKey = 0) {
        if (m_recorder) m_recorder->endChange(mergeKey);
    }
    /// One change for the recorder, from construction to destruction.
    class ChangeScope {
    public:
        explicit ChangeScope(Vor_Spread& grid, int mergeKey = 0)
            : m_grid(grid)
            , m_key(mergeKey) {
            m_grid.beginChange();
        }
        ~ChangeScope() { m_grid.endChange(m_key); }
        ChangeScope(const ChangeScope&) = delete;
        ChangeScope& operator=(const ChangeScope&) = delete;

    private:
        Vor_Spread& m_grid;
        int m_key;
    };
    /// Starts keeping an undo history of this grid's changes (the editor's); null without a grid.
    EditHistory* enableHistory();
    EditHistory* history() const { return m_history.get(); }
    /// Announces a change of the table's shape: its size and every cell that may move.
    void aboutToReshape(int extraCols, int extraRows);

    /// True when the window is a grid of this kind.
    static bool isSpreadWindow(const ui::Window* window);

    Vor_String headerFontName = "Tahoma";
    int headerFontHeight = 15; ///< pixels

    /// Runs the action of a context-menu code, as choosing it does.
    bool runMenuCode(int code);

private:
    // sheet::SpreadListener
    bool leaveCell(sheet::SpreadControl& c, sheet::CellPos from, sheet::CellPos to) override;
    void activeCellChanged(sheet::SpreadControl& c, sheet::CellPos from, sheet::CellPos to) override;
    void selectionChanged(sheet::SpreadControl& c, const sheet::CellRange& block) override;
    void rightClick(sheet::SpreadControl& c, int col, int row, int x, int y) override;
    void checkBoxToggled(sheet::SpreadControl& c, int col, int row, bool on) override;
    void buttonClicked(sheet::SpreadControl& c, int col, int row) override;
    void comboSelected(sheet::SpreadControl& c, int col, int row, int index) override;
    void dataChanged(sheet::SpreadControl& c, int col, int row) override;
    void editModeChanged(sheet::SpreadControl& c, int col, int row, bool editing, bool changed) override;
    void rowMoved(sheet::SpreadControl& c, int from, int to) override;
    void doubleClick(sheet::SpreadControl& c, int col, int row) override;
    void userResized(sheet::SpreadControl& c, bool column, int index) override;
    void sizeChanged(sheet::SpreadControl& c, int width, int height) override;
    bool tabOut(sheet::SpreadControl& c, bool forward) override;
    void destroyed(sheet::SpreadControl& c) override;

    bool askHeaderText(bool row, Vor_String& text);
    bool moveCurrentRow(int delta);
    void refit();
    sheet::CellType checkBoxType(bool framed);

    ui::Dialog* m_parent = nullptr;
    int m_controlId = 0;
    sheet::SpreadListener* m_owner = nullptr;
    std::vector<int> m_menuCodes;
    int m_resizeMode = 0;
    int m_resizeA = 0, m_resizeB = 0;
    std::vector<int> m_resizeCols, m_resizeRows;
    std::unique_ptr<SpreadFindWindow> m_findWindow;
    SpreadChangeRecorder* m_recorder = nullptr;
    std::unique_ptr<EditHistory> m_history;
};
