// The grid widget in a dialog, driven as a person drives it: typing, Tab, Enter, Escape, clicks on
// check-box, combo and button cells, selecting with mouse and keys, right click, resizing, and
// what scripts can do with it.

#include "TestGridDialog.h"

#include "GridWidget_p.h"

#include <ui/Application.h>
#include <ui/Script.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

using namespace sheet;
using testgrid::GridDialog;

namespace {

class GridWidgetTest : public testing::Test {
protected:
    void SetUp() override {
        testgrid::registerResources();
        ASSERT_TRUE(dlg.create());
        ASSERT_NE(dlg.grid, nullptr);
        w = dynamic_cast<control::GridWidget*>(dlg.item(testgrid::kGridId)->embedded());
        ASSERT_NE(w, nullptr);
        ui::processEvents();
    }
    void TearDown() override {
        dlg.destroyWindow();
        ui::processEvents();
    }

    void mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::KeyboardModifiers mods = {}) {
        Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
        QMouseEvent e(type, at, w->viewport()->mapToGlobal(at), button, held, mods);
        QCoreApplication::sendEvent(w->viewport(), &e);
    }
    void click(int col, int row, Qt::KeyboardModifiers mods = {}) {
        QPoint at = w->cellRect(col, row).center();
        mouse(QEvent::MouseButtonPress, at, Qt::LeftButton, mods);
        mouse(QEvent::MouseButtonRelease, at, Qt::LeftButton, mods);
        ui::processEvents();
    }
    /// A key as a person presses it: to whatever has the focus inside the grid.
    void key(int k, const QString& text = {}, Qt::KeyboardModifiers mods = {}) {
        QWidget* target = w->editor()->isVisible() ? static_cast<QWidget*>(w->editor()) : w;
        QKeyEvent press(QEvent::KeyPress, k, mods, text);
        QCoreApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, k, mods, text);
        QCoreApplication::sendEvent(target, &release);
        ui::processEvents();
    }
    void typeText(const QString& text) {
        for (QChar ch : text)
            key(ch.isLetter() ? Qt::Key_A + (ch.toUpper().unicode() - 'A') : Qt::Key_unknown, QString(ch));
    }
    std::string data(int col, int row) { return dlg.grid->sheet().data(col, row); }
    CellPos active() { return dlg.grid->sheet().activeCell(); }

    GridDialog dlg;
    control::GridWidget* w = nullptr;
    std::string error;
};

TEST_F(GridWidgetTest, typingStartsAnEditAndTabConfirmsAndMoves) {
    click(2, 2);
    typeText("abc");
    ASSERT_TRUE(w->editor()->isVisible()) << "typing opens the cell editor";
    EXPECT_EQ(w->editor()->text(), "abc");
    key(Qt::Key_Tab, "\t");
    EXPECT_EQ(data(2, 2), "abc");
    EXPECT_EQ(active(), (CellPos{3, 2}));
    EXPECT_FALSE(w->editor()->isVisible());
    EXPECT_TRUE(dlg.log.saw("data B2"));
    key(Qt::Key_Backtab, {}, Qt::ShiftModifier);
    EXPECT_EQ(active(), (CellPos{2, 2})) << "Shift+Tab goes back";
    EXPECT_TRUE(SSGetBool(dlg.grid, Sheet::kOptChangeMade));
}

TEST_F(GridWidgetTest, enterConfirmsTheEditWithoutPressingTheDefaultButton) {
    click(1, 1);
    typeText("x");
    key(Qt::Key_Return, "\r");
    EXPECT_EQ(data(1, 1), "x");
    EXPECT_FALSE(dlg.hasEnded()) << "Enter in a cell is the cell's, not the dialog's";
    EXPECT_EQ(active(), (CellPos{1, 2})) << "and moves down";
    EXPECT_FALSE(dlg.keys.empty()) << "the dialog's key pre-translation saw the typing";
}

TEST_F(GridWidgetTest, escapeCancelsTheEditAndKeepsTheDialogOpen) {
    SSSetData(dlg.grid, 3, 3, "before");
    click(3, 3);
    typeText("after");
    ASSERT_TRUE(w->editor()->isVisible());
    key(Qt::Key_Escape);
    EXPECT_FALSE(w->editor()->isVisible());
    EXPECT_EQ(data(3, 3), "before");
    EXPECT_FALSE(dlg.hasEnded());
    EXPECT_FALSE(SSGetBool(dlg.grid, Sheet::kOptChangeMade));
}

TEST_F(GridWidgetTest, withTheEditorAlwaysOpenTypingReplacesTheCell) {
    SSSetData(dlg.grid, 1, 2, "old");
    SSSetData(dlg.grid, 1, 3, "next");
    ASSERT_TRUE(SSSetBool(dlg.grid, kOptEditModePermanent, true));
    click(1, 2);
    ASSERT_TRUE(w->editor()->isVisible()) << "arriving in a cell opens its editor";
    EXPECT_EQ(w->editor()->selectedText(), "old") << "with its text selected";
    w->setFocus(); // the focus on the grid itself: keys still reach the editor
    typeText("new");
    key(Qt::Key_Return, "\r");
    EXPECT_EQ(data(1, 2), "new");
    EXPECT_EQ(active(), (CellPos{1, 3}));
    EXPECT_TRUE(w->editor()->isVisible());
    EXPECT_EQ(w->editor()->text(), "next");
    EXPECT_FALSE(dlg.hasEnded());
}

TEST_F(GridWidgetTest, aLongTextSurvivesTheCellEditor) {
    // A cell without a length limit holds any text; the editor must not cut it when it opens.
    const std::string longText(40000, 'w');
    SSSetData(dlg.grid, 2, 4, longText);
    ASSERT_TRUE(SSSetBool(dlg.grid, kOptEditModePermanent, true));
    click(2, 4);
    ASSERT_TRUE(w->editor()->isVisible());
    EXPECT_EQ(w->editor()->text().size(), 40000);
    key(Qt::Key_End);
    typeText("x");
    key(Qt::Key_Return, "\r");
    const std::string kept = data(2, 4);
    EXPECT_EQ(kept.size(), 40001u) << "the whole text and the typed letter";
    EXPECT_EQ(kept.substr(kept.size() - 2), "wx");
}

TEST_F(GridWidgetTest, aRefusedNumberKeepsTheEditorOpen) {
    CellType t;
    SSSetCellType(dlg.grid, 1, 1, *SSSetTypeNumber(dlg.grid, t, 0, 1, 0, 10));
    ui::ScriptedAgent agent; // the refusal is told in a message box
    ui::Agent* previous = ui::setAgent(&agent);
    agent.queueAnswer(ui::IDOK);
    click(1, 1);
    typeText("1x");
    key(Qt::Key_Return, "\r");
    EXPECT_TRUE(w->editor()->isVisible()) << "the person can correct the text";
    EXPECT_EQ(data(1, 1), "");
    ASSERT_EQ(agent.messages().size(), 1u) << "the person is told why";
    key(Qt::Key_Backspace);
    key(Qt::Key_Return, "\r");
    EXPECT_EQ(data(1, 1), "1.0");
    EXPECT_FALSE(agent.failed()) << agent.failure();
    ui::setAgent(previous);
}

TEST_F(GridWidgetTest, clickingACheckBoxCellTogglesItWithTheCallersPictures) {
    CellType t;
    SSSetCellTypeRange(dlg.grid, 2, 1, 2, kAll, *SSSetTypeCheckBox(dlg.grid, t, 0, "", "#8136", "#8134"));
    SSSetData(dlg.grid, 2, 3, "0");
    click(2, 3);
    EXPECT_EQ(data(2, 3), "1");
    EXPECT_TRUE(dlg.log.saw("check B3 on"));
    EXPECT_TRUE(dlg.log.saw("data B3"));

    QImage img = w->viewport()->grab().toImage();
    QPoint centre = w->cellRect(2, 3).center();
    EXPECT_EQ(img.pixelColor(centre), QColor(0, 255, 0)) << "the checked picture (bitmap 8134)";
    QPoint other = w->cellRect(2, 4).center();
    EXPECT_EQ(img.pixelColor(other), QColor(0, 0, 255)) << "the unchecked picture (bitmap 8136)";

    click(2, 3);
    EXPECT_EQ(data(2, 3), "0");
    EXPECT_TRUE(dlg.log.saw("check B3 off"));
    key(Qt::Key_Space, " ");
    EXPECT_EQ(data(2, 3), "1") << "Space switches the current check box";
}

TEST_F(GridWidgetTest, buttonAndComboCells) {
    CellType t;
    SSSetCellType(dlg.grid, 1, 2, *SSSetTypeButton(dlg.grid, t, 0, "Go"));
    SSSetCellType(dlg.grid, 2, 2, *SSSetTypeComboBox(dlg.grid, t, 0, "S235\tS275\tS355"));
    click(1, 2);
    EXPECT_TRUE(dlg.log.saw("button A2"));

    QRect r = w->cellRect(2, 2);
    QPoint arrow(r.right() - 5, r.center().y());
    mouse(QEvent::MouseButtonPress, arrow, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, arrow, Qt::LeftButton);
    ui::processEvents();
    QComboBox* list = w->comboList();
    ASSERT_TRUE(list->isVisible()) << "the arrow drops the list down";
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->itemText(2), "S355");
    list->setCurrentIndex(1);
    emit list->activated(1);
    list->hidePopup();
    ui::processEvents();
    EXPECT_EQ(data(2, 2), "S275");
    EXPECT_TRUE(dlg.log.saw("data B2"));
    EXPECT_FALSE(list->isVisible());
}

TEST_F(GridWidgetTest, selectingWithMouseAndKeysNotifies) {
    QPoint from = w->cellRect(1, 2).center(), to = w->cellRect(3, 4).center();
    mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
    QMouseEvent move(QEvent::MouseMove, to, w->viewport()->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, {});
    QCoreApplication::sendEvent(w->viewport(), &move);
    mouse(QEvent::MouseButtonRelease, to, Qt::LeftButton);
    EXPECT_EQ(dlg.grid->selectedBlock(), (CellRange{1, 2, 3, 4}));
    EXPECT_TRUE(dlg.log.saw("selection A2:C4"));
    EXPECT_EQ(active(), (CellPos{1, 2})) << "the active cell stays where the drag began";

    key(Qt::Key_Down, {}, Qt::ShiftModifier);
    EXPECT_EQ(dlg.grid->selectedBlock(), (CellRange{1, 2, 3, 5})) << "Shift+Down grows the block";
    key(Qt::Key_Right);
    EXPECT_EQ(active(), (CellPos{2, 2}));
    EXPECT_FALSE(dlg.grid->hasBlock());

    QPoint header(w->cellRect(3, 1).center().x(), 3);
    mouse(QEvent::MouseButtonPress, header, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, header, Qt::LeftButton);
    EXPECT_EQ(dlg.grid->selectedBlock(), (CellRange{3, 1, 3, 6})) << "a column header selects the column";
}

TEST_F(GridWidgetTest, rightClickTellsTheCellAndTheDialog) {
    ui::GridAccess* access = ui::gridAccess(dlg.item(testgrid::kGridId));
    ASSERT_NE(access, nullptr);
    ASSERT_TRUE(access->rightClickCell(3, 2, error)) << error;
    EXPECT_TRUE(dlg.log.saw("rightclick 3,2"));
    ASSERT_FALSE(dlg.contextIds.empty());
    EXPECT_EQ(dlg.contextIds.back(), testgrid::kGridId);
    EXPECT_EQ(active(), (CellPos{1, 1})) << "making the cell current is the dialog's choice";
}

TEST_F(GridWidgetTest, callerSetsTheTextSelectionOfTheEditor) {
    SSSetData(dlg.grid, 2, 1, "xaby");
    SSSetActiveCell(dlg.grid, 2, 1);
    ASSERT_TRUE(SSSetEditMode(dlg.grid, true));
    ASSERT_TRUE(SSSetSel(dlg.grid, 1, 3));
    ASSERT_TRUE(w->editor()->isVisible());
    EXPECT_EQ(w->editor()->selectedText(), "ab");
    w->editor()->setSelection(2, 2);
    int s = 0, e = 0;
    ASSERT_TRUE(SSGetSel(dlg.grid, s, e));
    EXPECT_EQ(s, 2) << "the person's selection is reported back";
    EXPECT_EQ(e, 4);
    SSSetEditMode(dlg.grid, false);
    EXPECT_FALSE(w->editor()->isVisible());
}

TEST_F(GridWidgetTest, draggingAHeaderEdgeResizesUnlessSwitchedOff) {
    int before = dlg.grid->sheet().colWidthPixels(1);
    QRect r = w->cellRect(1, 1);
    QPoint edge(r.right() + 1, 5), dragged(r.right() + 31, 5);
    mouse(QEvent::MouseButtonPress, edge, Qt::LeftButton);
    QMouseEvent move(QEvent::MouseMove, dragged, w->viewport()->mapToGlobal(dragged), Qt::NoButton,
                     Qt::LeftButton, {});
    QCoreApplication::sendEvent(w->viewport(), &move);
    mouse(QEvent::MouseButtonRelease, dragged, Qt::LeftButton);
    EXPECT_EQ(dlg.grid->sheet().colWidthPixels(1), before + 30);
    EXPECT_TRUE(dlg.log.saw("resized col 1"));

    SSSetBool(dlg.grid, kOptUserResize, false);
    r = w->cellRect(1, 1);
    edge = QPoint(r.right() + 1, 5);
    mouse(QEvent::MouseButtonPress, edge, Qt::LeftButton);
    QPoint further(edge.x() + 40, 5);
    QMouseEvent move2(QEvent::MouseMove, further, w->viewport()->mapToGlobal(further), Qt::NoButton,
                      Qt::LeftButton, {});
    QCoreApplication::sendEvent(w->viewport(), &move2);
    mouse(QEvent::MouseButtonRelease, further, Qt::LeftButton);
    EXPECT_EQ(dlg.grid->sheet().colWidthPixels(1), before + 30);
}

TEST_F(GridWidgetTest, tabPastTheLastCellLetsTheFocusGo) {
    SSSetActiveCell(dlg.grid, 4, 6);
    w->setFocus();
    key(Qt::Key_Tab, "\t");
    EXPECT_TRUE(dlg.log.saw("tabout"));
    EXPECT_EQ(active(), (CellPos{4, 6}));
}

TEST_F(GridWidgetTest, stylesSpansAndSelectionAreDrawn) {
    SSSetColor(dlg.grid, 1, 1, rgb(255, 0, 0), kDefaultColor);
    ASSERT_TRUE(SSAddCellSpan(dlg.grid, 2, 1, 2, 1));
    SSSetColor(dlg.grid, 2, 1, rgb(0, 0, 255), kDefaultColor);
    SSSetSelColor(dlg.grid, rgb(255, 255, 0), kDefaultColor);
    SSSetSelectBlock(dlg.grid, {1, 3}, {2, 4});
    ui::processEvents();
    QImage img = w->viewport()->grab().toImage();
    EXPECT_EQ(img.pixelColor(w->cellRect(1, 1).center()), QColor(255, 0, 0));
    QRect span = w->cellRect(3, 1);
    EXPECT_EQ(span, w->cellRect(2, 1)) << "a spanned cell is its span";
    EXPECT_EQ(span.width(), dlg.grid->sheet().colWidthPixels(2) + dlg.grid->sheet().colWidthPixels(3));
    EXPECT_EQ(img.pixelColor(QPoint(w->cellRect(3, 3).left() + 0, span.center().y())), QColor(0, 0, 255))
        << "the span's colour runs over the second column, without a grid line";
    EXPECT_EQ(img.pixelColor(w->cellRect(2, 4).center()), QColor(255, 255, 0)) << "selected cells";
    int c = 0, r = 0;
    ASSERT_TRUE(w->cellAt(w->cellRect(3, 1).topRight() - QPoint(2, -2), c, r));
    EXPECT_EQ(c, 2) << "a click on a span's second column lands on the span";
}

TEST_F(GridWidgetTest, aMillionRowsScrollToTheEnd) {
    ASSERT_TRUE(SSSetMaxRows(dlg.grid, 1'000'000));
    SSSetData(dlg.grid, 1, 1'000'000, "last");
    ASSERT_TRUE(SSSetActiveCell(dlg.grid, 1, 1'000'000));
    ui::processEvents();
    EXPECT_FALSE(w->cellRect(1, 1'000'000).isEmpty()) << "the active cell is brought into view";
    EXPECT_EQ(w->verticalScrollBar()->value(), w->verticalScrollBar()->maximum());
    key(Qt::Key_Home, {}, Qt::ControlModifier);
    EXPECT_EQ(active(), (CellPos{1, 1}));
    EXPECT_EQ(w->topRow(), 1);
}

TEST_F(GridWidgetTest, scriptsTypeIntoCellsAndSelectBlocks) {
    ui::ScriptedAgent agent;
    ui::Agent* previous = ui::setAgent(&agent);
    agent.dialogCreated(dlg);
    CellType t;
    SSSetCellType(dlg.grid, 4, 1, *SSSetTypeComboBox(dlg.grid, t, 0, "a\tb"));
    const char* lines[] = {
        "cell 1001 1 1 \"42\"",        "expect-cell 1001 1 1 \"42\"", "cell 1001 2 1 \"=A1*2\"",
        "expect-cell 1001 2 1 \"84\"", "cell 1001 4 1 \"b\"",         "select-cells 1001 1 1 2 3",
    };
    for (const char* l : lines)
        ASSERT_TRUE(agent.runLine(l)) << l << ": " << agent.failure();
    EXPECT_EQ(data(4, 1), "b");
    EXPECT_EQ(dlg.grid->selectedBlock(), (CellRange{1, 1, 2, 3}));

    // What a script is told when a person could not do it; the refused formula is also announced
    // in a message box, which the script answers.
    agent.queueAnswer(ui::IDOK);
    ui::GridAccess* g = ui::gridAccess(dlg.item(testgrid::kGridId));
    struct Refusal {
        int col, row;
        const char* text;
        const char* errorPart;
    } refusals[] = {
        {4, 1, "c", "not in the list"},
        {3, 1, "=A1+", "refused"},
        {9, 9, "x", "outside the grid"},
    };
    for (const Refusal& r : refusals) {
        error.clear();
        EXPECT_FALSE(g->typeCell(r.col, r.row, r.text, error)) << r.text;
        EXPECT_NE(error.find(r.errorPart), std::string::npos) << error;
    }
    EXPECT_FALSE(w->editor()->isVisible()) << "a refused text does not leave the editor open";
    EXPECT_EQ(data(3, 1), "");
    EXPECT_EQ(agent.pendingAnswers(), 0u) << "the refused formula asked one question";
    EXPECT_FALSE(agent.failed()) << agent.failure();
    agent.dialogDestroyed(dlg);
    ui::setAgent(previous);
}

TEST_F(GridWidgetTest, numbersTypedWithADecimalCommaAndRefusedNumbersAreTold) {
    ui::ScriptedAgent agent;
    ui::Agent* previous = ui::setAgent(&agent);
    agent.dialogCreated(dlg);
    CellType t;
    SSSetCellType(dlg.grid, 1, 1, *SSSetTypeNumber(dlg.grid, t, 0, 2, -1e6, 1e6));
    SSSetCellType(dlg.grid, 1, 2, *SSSetTypeNumber(dlg.grid, t, 0, 2, -1e6, 1e6, true));
    struct Case {
        int row;
        const char* typed;
        const char* shown;
        bool refused;
        const char* why;
    } cases[] = {
        {1, "1,5", "1.50", false, "the decimal comma of a Dutch desktop"},
        {1, "2.25", "2.25", false, "the decimal point"},
        {2, "1.234,5", "1,234.50", false, "point groups, comma is decimal: unambiguous"},
        {1, "1,234,5", "2.25", true, "two commas and a short group: refused, the cell keeps 2.25"},
        {2, "1,2.3", "1,234.50", true, "mixed separators that fit no reading"},
        {1, "abc", "2.25", true, "not a number at all"},
    };
    for (const Case& k : cases) {
        if (k.refused) agent.queueAnswer(ui::IDOK);
        const std::size_t asked = agent.messages().size();
        click(1, k.row);
        typeText(k.typed);
        key(Qt::Key_Return, "\r");
        EXPECT_EQ(data(1, k.row), k.shown) << k.typed << ": " << k.why;
        ASSERT_EQ(agent.messages().size(), asked + (k.refused ? 1 : 0)) << k.typed << ": " << k.why;
        if (k.refused) {
            const ui::MessageRequest& m = agent.messages().back();
            EXPECT_EQ(m.icon(), int(ui::MB_ICONEXCLAMATION)) << k.typed;
            EXPECT_NE(m.text.find(k.typed), std::string::npos) << "the message names the text: " << m.text;
            EXPECT_TRUE(w->editor()->isVisible()) << k.typed << ": the editor stays open to correct it";
            key(Qt::Key_Escape);
        }
    }
    EXPECT_FALSE(agent.failed()) << agent.failure();
    agent.dialogDestroyed(dlg);
    ui::setAgent(previous);
}

TEST_F(GridWidgetTest, destroyingTheDialogTellsTheListener) {
    struct Gone : SpreadListener {
        bool gone = false;
        void destroyed(SpreadControl&) override { gone = true; }
    } gone;
    dlg.grid->setListener(&gone);
    dlg.destroyWindow();
    ui::processEvents();
    EXPECT_TRUE(gone.gone);
}

} // namespace

TEST_F(GridWidgetTest, aWrappedTextGrowsItsDrawnRowAndAWiderColumnShrinksItBack) {
    CellType t;
    ASSERT_TRUE(SSSetCellType(dlg.grid, 1, 2, *SSSetTypeEdit(dlg.grid, t, 0, 9999, true)));
    const int base = w->cellRect(1, 2).height();
    SSSetData(dlg.grid, 1, 2, "Weerstandsmoment Wy van het gekozen profiel");
    ui::processEvents();
    const QRect grown = w->cellRect(1, 2);
    EXPECT_GT(grown.height(), 2 * base) << "the drawn row holds the wrapped lines";
    EXPECT_EQ(grown.height(), dlg.grid->sheet().rowHeightPixels(2))
        << "the screen and the sheet (and so the paper) agree";
    ASSERT_TRUE(SSSetColWidthInPixels(dlg.grid, 1, 1000));
    ui::processEvents();
    EXPECT_EQ(w->cellRect(1, 2).height(), base) << "the widened column needs one line again";
}
