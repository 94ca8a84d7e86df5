#pragma once
// The tables page of the section library editor: one profile values table at a time in a grid,
// written, renamed and deleted in the library folder at once.

#include "calc/Vor_Spread.h"
#include "library/Vor_ProfValuesTable.h"

#include <host/ui/CButtonST.h>
#include <host/ui/CResizer.h>
#include <ui/Dialog.h>

#include <array>
#include <functional>

class LibTablesPage : public ui::Dialog {
public:
    enum {
        IDD = 8716,
        IDC_TABLES = 1248,
        IDC_NEW = 1189,
        IDC_DELETE = 1190,
        IDC_FILL = 1200,
        IDC_RENAME = 1201,
        IDC_COPY = 1199,
        IDC_PASTE = 1198,
        IDC_INSERT_ROW = 1204,
        IDC_DELETE_ROW = 1205,
        IDC_ROW_UP = 1206,
        IDC_ROW_DOWN = 1207,
        IDC_FIND = 1208,
        IDC_TYPE_FRAME = 1203,
        IDC_TYPE = 1202,
        IDC_GRID = 1196,
    };
    /// `tableNames`: the tables of the library folder; `sysName`: the section to open on, or "".
    LibTablesPage(const Vor_StringArray& tableNames, const Vor_String& sysName)
        : ui::Dialog(IDD)
        , m_tables(tableNames)
        , m_sysName(sysName) {}

    /// Asks whether to save a changed table: false when the person cancels.
    bool askSaveChanges();
    /// Writes the shown table to its file; false when there is none or the write failed.
    bool save();
    Vor_Spread& grid() { return m_grid; }
    /// Called after a table was renamed (its file written under the new name), with both names.
    void setRenamedHandler(std::function<void(const Vor_String& old, const Vor_String& name)> handler) {
        m_renamed = std::move(handler);
    }
    const Vor_StringArray& tables() const { return m_tables; }
    int current() const { return m_current; }

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;
    void onOK() override {}
    void onCancel() override {}
    void onSize(int, int) override {
        if (m_resizer.isInitialized()) m_resizer.move();
    }
    void onDestroy() override { m_resizer.reset(); }

private:
    void fillTables(int select);
    void load(int index);
    void enableControls();
    /// The table as the sheet and the type combo show it.
    Vor_ProfValuesTable readBack();
    void applyType(bool fromCombo);
    void newTable();
    void deleteTable();
    void renameTable();
    /// When the shown table was not read cleanly: says why it cannot be changed, and true.
    bool refuseUnclean();

    Vor_StringArray m_tables;
    Vor_String m_sysName;
    int m_current = -1;
    Vor_String m_readFault;   ///< why the shown table was not read cleanly; empty when it was
    Vor_String m_appliedType; ///< the type text last applied, so that a typed one applies once
    Vor_Spread m_grid;
    std::function<void(const Vor_String&, const Vor_String&)> m_renamed;
    CResizer m_resizer;
    std::array<CButtonST, 7> m_icons;
};
