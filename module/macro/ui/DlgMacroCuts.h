#pragma once
// The macro cuts dialog: one cut of a macro, its kind chosen from a list of pictures, its name, its
// variables with their values, the options of its kind and the macro (module) it belongs to.

#include "calc/Vor_Spread.h"

#include <host/MacroCuts.h>
#include <ui/Dialog.h>

#include "frame/VorExport.h"

/// Which kind-dependent controls a cut kind shows, and their texts (catalogue numbers, 0 none).
struct CutKindLayout {
    int optionTexts[3] = {0, 0, 0}; ///< radios 1288 to 1290; 0 hides the radio
    int methodLabel = 0;            ///< label 1281 and combo 1283 shown when not 0
    int check1Text = 0;             ///< 1323
    int check2Text = 0;             ///< 1325
    int check3Text = 0;             ///< 1326
    int options() const;            ///< how many option radios are shown
};
/// The layout of `kind` (0 to kCutKinds - 1); a kind out of range shows none of these controls.
/// A fixed cut hides the weld preparation (1325).
CutKindLayout cutKindLayout(int kind, bool fixed);
/// The option a cut of `kind` can have: kinds with fewer options take their last one, kinds without
/// options keep what they have (it is stored for a later change of kind).
int cutOptionForKind(int kind, int option);
/// The label of the value edit (1001) for an option of a kind, 0 when the edit is hidden.
int cutValueLabel(int kind, int option);
/// How a variable is shown in the grid: by its display name where it has one, else by its own name.
Vor_String cutVariableDisplayName(const Vor_String& name);

class DlgMacroCuts : public ui::Dialog {
public:
    enum {
        IDD = 223,
        IDC_NAME_LABEL = 1123,
        IDC_NAME = 1000,
        IDC_KIND = 1284,
        IDC_GRID = 1196,
        IDC_OPTION1 = 1288,
        IDC_OPTION2 = 1289,
        IDC_OPTION3 = 1290,
        IDC_VALUE_LABEL = 1124,
        IDC_VALUE = 1001,
        IDC_METHOD_LABEL = 1281,
        IDC_METHOD = 1283,
        IDC_CHECK1 = 1323,
        IDC_CHECK2 = 1325,
        IDC_CHECK3 = 1326,
        IDC_THIS_MACRO = 1285,
        IDC_OTHER_MACRO = 1286,
        IDC_PICK = 1079,
        IDC_MACRO_LABEL = 1280,
        IDC_MACRO = 1282,
    };
    /// Columns of the variable grid (the row headings number the rows): the display name, the
    /// value, the variable's own name.
    enum { kColShown = 1, kColValue, kColName, kCols = kColName };
    /// The picture files of the cut kinds (module resources), in the order of the kinds.
    static constexpr int kKindPictures[kCutKinds] = {240, 241, 242, 243, 244, 245};

    DlgMacroCuts()
        : ui::Dialog(IDD) {}

    DlgMacroCutsData data; ///< the dialog's copy; the caller's only on OK
    bool endedWithEscape() const { return m_escaped; }
    Vor_Spread& grid() { return m_grid; }

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;
    bool preTranslateKey(const ui::KeyEvent& key) override;
    void onOK() override;
    void onDestroy() override;

private:
    void loadControls();
    void fillGrid();
    void layOut();
    void enableDependents();
    void fillMacros();
    void storeControls();
    void pickMacro();

    Vor_Spread m_grid;
    bool m_escaped = false;
};

/// Edits a cut in a copy: runs the dialog with no parent; `escaped` tells whether it ended with
/// Escape. On OK `data` becomes the edited cut and the result is true; else `data` is unchanged.
VOR_EXPORT bool StartDlgMacroCuts(DlgMacroCutsData& data, bool& escaped);
