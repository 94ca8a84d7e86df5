// Every text a person reads in the module's grid dialogs comes from the catalogue of the chosen
// language: switched to English nothing stays Dutch, switched to Dutch nothing stays English.

#include "calc/PrintTable.h"
#include "calc/Vor_Spread.h"
#include "calc/ui/DlgFindReplace.h"
#include "calc/ui/DlgFormulas.h"
#include "calc/ui/DlgPrintPreview.h"
#include "calc/ui/DlgPrintSettings.h"
#include "calc/ui/DlgSpreadBorder.h"
#include "calc/ui/DlgSpreadCellType.h"
#include "calc/ui/DlgSpreadFont.h"
#include "calc/ui/DlgSpreadOptions.h"
#include "calc/ui/DlgSpreadsheet.h"
#include "calc/ui/DlgStringGrid.h"
#include "frame/ModuleResourceScope.h"

#include <host/Texts.h>
#include <ui/Script.h>
#include <ui/Window.h>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace {

const std::string kInstall = std::string(VOR_SOURCE_DIR) + "/data/install/";

/// Every text of a language's dialog catalogue.
std::set<std::string> catalogueTexts(const std::string& lang) {
    std::map<int, std::string> texts;
    std::string error;
    EXPECT_TRUE(parseTextCatalogue(kInstall + "texts/dial." + lang + ".txt", texts, &error)) << error;
    std::set<std::string> out;
    for (const auto& [n, t] : texts)
        out.insert(t);
    return out;
}

/// Texts a person reads: the caption and every label, button, box and check box (edit fields
/// and grids hold the table's own data).
void expectAllFromCatalogue(const ui::Dialog& d, const std::string& lang, const std::string& what,
                            bool captionToo = true) {
    const std::set<std::string> texts = catalogueTexts(lang);
    if (captionToo)
        EXPECT_TRUE(texts.count(d.windowText()))
            << what << " (" << lang << "): caption \"" << d.windowText() << '"';
    int checked = 0;
    for (const ui::Control* c : d.controls()) {
        if (!c->toolTip().empty())
            EXPECT_TRUE(texts.count(c->toolTip()))
                << what << " (" << lang << "): tip of " << c->id() << " \"" << c->toolTip() << '"';
        if (c->kind() == ui::ControlKind::ComboBox || c->kind() == ui::ControlKind::ListBox)
            for (int i = 0; i < c->count(); ++i)
                EXPECT_TRUE(texts.count(c->itemText(i))) << what << " (" << lang << "): item " << i << " of "
                                                         << c->id() << " \"" << c->itemText(i) << '"';
        switch (c->kind()) {
        case ui::ControlKind::Static:
        case ui::ControlKind::GroupBox:
        case ui::ControlKind::PushButton:
        case ui::ControlKind::CheckBox:
        case ui::ControlKind::RadioButton:
            break;
        default:
            continue;
        }
        ++checked;
        if (c->text().empty()) continue; // a picture button: its tip is checked above
        EXPECT_TRUE(texts.count(c->text())) << what << " (" << lang << "): control " << c->id() << " shows \""
                                            << c->text() << "\", which is not in the catalogue";
    }
    EXPECT_GT(checked, 0) << what;
}

class DialogTexts : public testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        ui::setAgent(&agent);
        std::string error;
        ASSERT_TRUE(loadTextCatalogues(kInstall, GetParam(), &error)) << error;
    }
    void TearDown() override { ui::setAgent(nullptr); }
    ModuleResourceScope scope;
    ui::ScriptedAgent agent;
};

TEST_P(DialogTexts, gridDialog) {
    DlgStringGrid dlg;
    dlg.columnNames = Vor_StringArray{"A"};
    dlg.canAddRemove = true;
    dlg.title = dialString(1369); // the caption is the caller's
    ASSERT_TRUE(dlg.create());
    expectAllFromCatalogue(dlg, GetParam(), "grid dialog");
    dlg.destroyWindow();
}

TEST_P(DialogTexts, findWindowWithAndWithoutReplace) {
    ui::Dialog owner{DlgSpreadsheet::IDD};
    ASSERT_TRUE(owner.create());
    {
        Vor_Spread grid;
        ASSERT_TRUE(grid.attach(&owner, DlgSpreadsheet::IDC_GRID));
        grid.showFind(true);
        auto* f = dynamic_cast<DlgFindReplace*>(grid.findWindow());
        ASSERT_NE(f, nullptr);
        expectAllFromCatalogue(*f, GetParam(), "find and replace");
        grid.showFind(false);
        expectAllFromCatalogue(*f, GetParam(), "find");
    }
    owner.destroyWindow();
}

TEST_P(DialogTexts, tableOptions) {
    ui::Dialog owner{DlgSpreadsheet::IDD};
    ASSERT_TRUE(owner.create());
    {
        Vor_Spread table;
        ASSERT_TRUE(table.attach(&owner, DlgSpreadsheet::IDC_GRID));
        table.setMaxCols(2);
        table.setMaxRows(2);
        DlgSpreadOptions dlg(table, &owner);
        ASSERT_TRUE(dlg.create());
        expectAllFromCatalogue(dlg, GetParam(), "table options");
        dlg.destroyWindow();
    }
    owner.destroyWindow();
}

TEST_P(DialogTexts, formattingDialogs) {
    {
        DlgSpreadBorder dlg;
        ASSERT_TRUE(dlg.create());
        expectAllFromCatalogue(dlg, GetParam(), "borders");
        dlg.destroyWindow();
    }
    {
        DlgSpreadFont dlg;
        ASSERT_TRUE(dlg.create());
        expectAllFromCatalogue(dlg, GetParam(), "font and colours");
        dlg.destroyWindow();
    }
    for (int kind : {kKindNumber, kKindText, kKindPicture}) {
        DlgSpreadCellType dlg;
        dlg.settings.kind = kind;
        ASSERT_TRUE(dlg.create());
        expectAllFromCatalogue(dlg, GetParam(), "cell type " + std::to_string(kind));
        Vor_String sample;
        dlg.preview().getText(2, 2, kTextData, sample);
        if (kind == kKindText)
            EXPECT_TRUE(catalogueTexts(GetParam()).count(sample.str())) << "the sample text";
        dlg.destroyWindow();
    }
}

TEST_P(DialogTexts, printSettingsAndPreview) {
    {
        TablePrinter printer;
        DlgPrintSettings dlg(printer);
        ASSERT_TRUE(dlg.create());
        expectAllFromCatalogue(dlg, GetParam(), "print settings");
        dlg.destroyWindow();
    }
    ui::Dialog owner{DlgSpreadsheet::IDD};
    ASSERT_TRUE(owner.create());
    {
        Vor_Spread table;
        ASSERT_TRUE(table.attach(&owner, DlgSpreadsheet::IDC_GRID));
        table.setMaxCols(2);
        table.setMaxRows(2);
        gTotalPages = 1;
        DlgPrintPreview dlg(table, &owner);
        ASSERT_TRUE(dlg.create());
        // The caption holds the page numbers, put into the catalogue's text.
        expectAllFromCatalogue(dlg, GetParam(), "print preview", false);
        const std::string page =
            GetParam() == "en" ? "Print preview - Page 1 of 1" : "Afdrukvoorbeeld - Pagina 1 van 1";
        EXPECT_EQ(dlg.windowText(), page);
        dlg.destroyWindow();
    }
    owner.destroyWindow();
}

TEST_P(DialogTexts, formulasTestBench) {
    DlgFormulas dlg;
    ASSERT_TRUE(dlg.create());
    expectAllFromCatalogue(dlg, GetParam(), "formulas");
    dlg.destroyWindow();
}

TEST_P(DialogTexts, editorWithItsMenus) {
    DlgSpreadsheet ed;
    ASSERT_TRUE(ed.create());
    expectAllFromCatalogue(ed, GetParam(), "editor", false);
    EXPECT_EQ(ed.windowText(), dialString(9200).str() + " - " + dialString(9201).str()) << "an unnamed table";
    const std::set<std::string> texts = catalogueTexts(GetParam());
    ASSERT_NE(ed.menu(), nullptr);
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(texts.count(ed.menu()->popupText(i)))
            << GetParam() << ": menu " << i << " \"" << ed.menu()->popupText(i) << '"';
    for (int id : ed.menu()->commandIds())
        EXPECT_TRUE(texts.count(ed.menu()->itemText(id)))
            << GetParam() << ": menu item " << id << " \"" << ed.menu()->itemText(id) << '"';
    ed.destroyWindow();
}

INSTANTIATE_TEST_SUITE_P(Languages, DialogTexts, testing::Values("en", "nl"));

// ---- the find window without its replace row leaves no gap

TEST(FindWindow, hidingTheReplaceRowClosesTheGap) {
    ui::ScriptedAgent agent;
    ui::setAgent(&agent);
    ModuleResourceScope scope;
    ui::Dialog owner{DlgSpreadsheet::IDD};
    ASSERT_TRUE(owner.create());
    {
        Vor_Spread grid;
        ASSERT_TRUE(grid.attach(&owner, DlgSpreadsheet::IDC_GRID));
        grid.showFind(true);
        auto* f = dynamic_cast<DlgFindReplace*>(grid.findWindow());
        ASSERT_NE(f, nullptr);
        const int keysWith = f->item(DlgFindReplace::IDC_KEYS)->windowRect().top;
        const int heightWith = f->windowRect().height();
        const ui::Rect find = f->item(DlgFindReplace::IDC_FIND)->windowRect();
        const ui::Rect with = f->item(DlgFindReplace::IDC_REPLACEWITH)->windowRect();
        const int step = with.top - find.top;

        grid.showFind(false);
        EXPECT_FALSE(f->item(DlgFindReplace::IDC_REPLACEWITH)->isVisible());
        EXPECT_EQ(f->item(DlgFindReplace::IDC_KEYS)->windowRect().top, keysWith - step)
            << "the line below moves up into the hidden row's place";
        EXPECT_EQ(f->windowRect().height(), heightWith - step) << "and the window is that much lower";
        grid.showFind(false);
        EXPECT_EQ(f->windowRect().height(), heightWith - step) << "showing it again changes nothing";

        grid.showFind(true);
        EXPECT_TRUE(f->item(DlgFindReplace::IDC_REPLACEWITH)->isVisible());
        EXPECT_EQ(f->item(DlgFindReplace::IDC_REPLACEWITH)->windowRect(), with) << "the row is back in place";
        EXPECT_EQ(f->item(DlgFindReplace::IDC_KEYS)->windowRect().top, keysWith);
        EXPECT_EQ(f->windowRect().height(), heightWith);
    }
    owner.destroyWindow();
    ui::setAgent(nullptr);
}

} // namespace
