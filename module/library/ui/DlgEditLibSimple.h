#pragma once
// The simple library editor: one new size for a profile values table, named as the table's sizes are.

#include "frame/VorExport.h"
#include "library/NamePattern.h"
#include "library/Vor_ProfValuesTable.h"

#include <host/ui/CButtonST.h>
#include <ui/Dialog.h>

#include <optional>
#include <vector>

class DlgEditLibSimple : public ui::Dialog {
public:
    enum {
        IDD = 226,
        IDC_PICTURE = 1294,
        IDC_NAME_FRAME = 1360,
        IDC_AUTOMATIC = 1358,
        IDC_TYPED = 1359,
        IDC_NAME_LABEL = 1123,
        IDC_NAME = 1000,
        IDC_LABEL_A = 1299,
        IDC_VALUE_A = 1300,
        IDC_LABEL_B = 1301,
        IDC_VALUE_B = 1302,
        IDC_LABEL_C = 1303,
        IDC_VALUE_C = 1304,
        IDC_LABEL_D = 1305,
        IDC_VALUE_D = 1306,
        IDC_LABEL_E = 1307,
        IDC_VALUE_E = 1308,
        IDC_LABEL_F = 1309,
        IDC_VALUE_F = 1310,
        IDC_LABEL_G = 1311,
        IDC_VALUE_G = 1312,
        IDC_LABEL_H = 1313,
        IDC_VALUE_H = 1314,
    };
    static constexpr int kFields = 8;

    DlgEditLibSimple(const Vor_String& key, const Vor_ProfValuesTable& table)
        : ui::Dialog(IDD)
        , m_table(table)
        , m_startKey(key) {}

    Vor_ProfValuesTable m_table; ///< the copy; on OK it holds the new row
    int m_resultIndex = -1;      ///< the new row among the rows in use

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;
    void onOK() override;

private:
    bool automatic() const;
    /// The texts of the visible value fields, up to the first hidden one.
    Vor_StringArray fieldTexts() const;
    void updateName();
    bool isDerivedField(int field) const;
    /// Shows in the derived fields the values that follow from the dimensions typed so far, except
    /// where the person typed a value of their own.
    void showDerived();

    Vor_String m_startKey;
    int m_currentRow = -1;
    int m_shownFields = 0;
    std::vector<std::optional<Vor_String>> m_derivedShown; ///< per field, the derived text last shown
    bool m_ready = false;                                  ///< false while the dialog sets texts itself
    NamePattern m_pattern;
    CButtonST m_picture;
};

/// Adds a size to `table` after the example of the row `key`; on OK `table` holds it and `index` is
/// its position among the rows in use.
VOR_EXPORT bool StartDlgEditLibSimple(const Vor_String& key, Vor_ProfValuesTable& table, int& index);
