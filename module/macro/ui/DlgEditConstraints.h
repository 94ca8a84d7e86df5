#pragma once
// The constraint editor: a macro's constraints per module, the flexibility of the module's parts,
// the macro's variables and equations, and a palette of commands that pick objects in the drawing
// to add constraints and modules. Modal through StartDlgEditConstrModal; beside the drawing as one
// window through StartDlgEditConstraints and EndDlgEditConstraints. What it does without windows is
// ConstraintEditorModel (DlgEditConstraintsModel.h).

#include "calc/Vor_Spread.h"
#include "frame/ModuleEntry.h"
#include "frame/TabbedPages.h"
#include "macro/ui/DlgEditConstraintsModel.h"
#include "macro/ui/DlgEditConstraintsPages.h"

#include <host/ui/CButtonST.h>
#include <sheet/SpreadControl.h>
#include <ui/Dialog.h>

#include "frame/VorExport.h"

#include <array>
#include <memory>

class DlgEditConstraints : public ui::Dialog {
public:
    enum {
        IDD = 8715,
        IDC_TABS = 8097,
        IDC_SELECT = 1079,
        IDC_MODULES = 1088,
        IDC_ADD_MODULE = 1090,
        IDC_RENAME = 1183,
        IDC_REMOVE_MODULE = 1089,
        IDC_SETTINGS = 1137,
        IDC_ZOOM = 1320,
    };
    /// The five picture check buttons of the constraint page, for the values 1 to 5.
    static constexpr std::array<int, 5> kChoiceButtons = {1083, 1077, 1084, 1085,
                                                          1086}; // of the constraints page
    /// The flexibility grid's columns.
    enum {
        kFlexModule = 1,
        kFlexObject,
        kFlexTranslate,
        kFlexRotate,
        kFlexConstrained,
        kFlexCols = kFlexConstrained
    };

    explicit DlgEditConstraints(ui::Window* parent = nullptr);
    ~DlgEditConstraints() override;

    ConstraintEditorModel model;
    bool modeless = false;
    bool zoomBusy = false;

    /// Shows page `tab` as a change of tab does: leaves the page shown, stores its edits, refills
    /// the new one.
    void showPage(int tab);
    int currentPage() const { return model.tab; }
    /// Runs palette command `command`, hiding the editor while the drawing is picked in.
    void paletteCommand(int command);
    /// Shows the module of the module list's entry `index`.
    void switchToModule(int index);
    /// Reads the variables page into the model when it was changed, and stores it.
    void collectVariables();
    /// Refills the module list and the page shown.
    void refillAll();

    Vor_Spread& constraintGrid() { return m_constrGrid; }
    Vor_Spread& flexibilityGrid() { return m_flexGrid; }
    Vor_Spread& variablesGrid() { return m_varsGrid; }

    // what the pages hand over
    void pageCommand(int page, int id, int code);
    void constraintChosen(int row);
    void constraintsMoved(int from, int to);
    void constraintMenu(int screenX, int screenY);
    void flexibilityChosen(int row);
    void flexibilityChanged(int col, int row);
    void flexibilityToggled(int row, bool on);
    void variablesEdited() { m_varsTyped = true; }

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;
    void onOK() override { closeProcedure(ui::IDOK); }
    void onCancel() override { closeProcedure(ui::IDCANCEL); }
    void onClose() override { closeProcedure(ui::IDCANCEL); }
    void onSize(int width, int height) override;
    void onDestroy() override;

private:
    void closeProcedure(int code);
    void fillModules();
    void fillConstraints();
    void showChosenConstraint();
    void fillFlexibility();
    void fillVariables();
    void leavePage(int tab);
    void enterPage(int tab);
    void checkNameEdit();
    void storeValueEdit();
    void renameModule();
    void removeModule();
    void selectOtherMacro();
    void zoom();
    void hideForDrawing();
    void showAfterDrawing();

    std::array<CButtonST, 4> m_buttons;
    std::unique_ptr<ConstraintEditorPage> m_pages[4];
    TabbedPages m_tabbed;
    Vor_Spread m_constrGrid, m_flexGrid, m_varsGrid;
    CButtonST m_deleteButton, m_addRow, m_deleteRow;
    std::array<CButtonST, 5> m_choices;
    std::array<CButtonST, kConstraintCommands> m_palette;
    bool m_varsTyped = false;
    bool m_filling = false;
    Vor_String m_shownName; ///< the name edit's text when its constraint was shown
};

/// The modeless editor; null when none is open.
extern DlgEditConstraints* gDlgEditConstraints;

/// Edits a copy of `data` in a modal editor; true when it ended with OK. `data` is not written back
/// (every change is in the drawing already).
VOR_EXPORT bool StartDlgEditConstrModal(EditConstrData& data);
/// Opens the modeless editor on a copy of `data`. When one is open already, it is brought to the
/// front (the command line says so) and `data` is not used. Always true.
VOR_EXPORT bool StartDlgEditConstraints(EditConstrData& data);
/// Closes the modeless editor; nothing when none is open. A window that cannot be destroyed is
/// reported and stays the open editor. EndDlgEditConstraints (frame/ModuleEntry.h) runs it, with
/// the other handlers of its unload step.
void endConstraintEditor();
/// Deletes the editors whose windows are gone but whose own handler was still running when they
/// closed. Runs by itself at the next opportunity; tests call it to be sure.
void deleteClosedConstraintEditors();
/// How many closed editors wait to be deleted.
int closedConstraintEditors();
