// Printing a grid to a PDF file through the print dialog's answer, and the print preview control.

#include "TestGridDialog.h"

#include "PreviewWidget_p.h"

#include <ui/Application.h>
#include <ui/Script.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QRegularExpression>

#include <base/SafeFile.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace sheet;
using testgrid::GridDialog;

namespace {

std::string readFile(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// Page objects of a PDF ("/Type /Page", not "/Pages").
int pdfPages(const std::string& pdf) {
    static const QRegularExpression page(R"(/Type\s*/Page(?![a-zA-Z]))");
    int n = 0;
    for (auto it = page.globalMatch(QByteArray::fromStdString(pdf)); it.hasNext(); it.next())
        ++n;
    return n;
}

class PrintTest : public testing::Test {
protected:
    void SetUp() override {
        testgrid::registerResources();
        previous = ui::setAgent(&agent);
        ASSERT_TRUE(dlg.create());
        ASSERT_NE(dlg.grid, nullptr);
        dir = std::filesystem::temp_directory_path() / ("gridprint-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        // 3 columns of 200 rows: several pages down.
        SSSetMaxCols(dlg.grid, 3);
        SSSetMaxRows(dlg.grid, 200);
        for (int r = 1; r <= 200; ++r)
            SSSetData(dlg.grid, 1, r, "row " + std::to_string(r));
    }
    void TearDown() override {
        dlg.destroyWindow();
        ui::processEvents();
        ui::setAgent(previous);
        std::filesystem::remove_all(dir);
    }
    ui::ScriptedAgent agent;
    ui::Agent* previous = nullptr;
    GridDialog dlg;
    std::filesystem::path dir;
};

TEST_F(PrintTest, printingToAFileMakesAPdfWithEveryPage) {
    int pages = SSGetPrintPageCount(dlg.grid);
    ASSERT_GE(pages, 3);
    auto pdf = dir / "table.pdf";
    agent.queueValue(pdf.string());
    ASSERT_TRUE(SSPrint(dlg.grid, "Table")) << dlg.grid->lastError();
    std::string bytes = readFile(pdf);
    ASSERT_GT(bytes.size(), 1000u);
    EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
    EXPECT_EQ(pdfPages(bytes), pages);
    EXPECT_FALSE(std::filesystem::exists(pdf.string() + ".part"));

    PrintOptions o;
    SSGetPrintOptions(dlg.grid, o);
    o.smartPrint = true;
    o.landscape = true;
    ASSERT_TRUE(SSSetPrintOptions(dlg.grid, o));
    agent.queueValue(pdf.string());
    ASSERT_TRUE(SSPrint(dlg.grid, "Table"));
    EXPECT_EQ(pdfPages(readFile(pdf)), SSGetPrintPageCount(dlg.grid))
        << "the options set are the ones printed";
}

TEST_F(PrintTest, cancelledOrFailedPrintsLeaveTheOldFile) {
    auto pdf = dir / "old.pdf";
    std::ofstream(pdf) << "old contents";
    ASSERT_TRUE(agent.runLine("answer cancel-dialog"));
    EXPECT_FALSE(SSPrint(dlg.grid, "Table"));
    EXPECT_NE(dlg.grid->lastError().find("cancelled"), std::string::npos);
    EXPECT_EQ(readFile(pdf), "old contents");

    agent.queueValue((dir / "no-such-folder" / "x.pdf").string());
    EXPECT_FALSE(SSPrint(dlg.grid, "Table"));
    EXPECT_FALSE(dlg.grid->lastError().empty());

    SSSetMaxRows(dlg.grid, 0);
    agent.queueValue(pdf.string());
    EXPECT_FALSE(SSPrint(dlg.grid, "Table")) << "an empty grid has nothing to print";
    EXPECT_EQ(readFile(pdf), "old contents");
}

TEST_F(PrintTest, aPdfFileKeepsItsModeAndLinkAndAFullDiskKeepsTheOldOne) {
    // Permissions of the file replaced stay.
    auto pdf = dir / "private.pdf";
    std::ofstream(pdf) << "old contents";
    std::filesystem::permissions(pdf,
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    agent.queueValue(pdf.string());
    ASSERT_TRUE(SSPrint(dlg.grid, "Table")) << dlg.grid->lastError();
    EXPECT_EQ(readFile(pdf).substr(0, 5), "%PDF-");
    EXPECT_EQ(std::filesystem::status(pdf).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);

    // A symbolic link stays a link; the file it names gets the document.
    auto real = dir / "real.pdf", link = dir / "link.pdf";
    std::ofstream(real) << "old contents";
    std::filesystem::create_symlink(real.filename(), link);
    agent.queueValue(link.string());
    ASSERT_TRUE(SSPrint(dlg.grid, "Table")) << dlg.grid->lastError();
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(readFile(real).substr(0, 5), "%PDF-");

    // A full disk: the old file stays whole, the failure is reported, no temporary file is left.
    std::ofstream(real) << "old contents";
    base::failSafeWritesAfterForTesting(100, ENOSPC);
    agent.queueValue(real.string());
    EXPECT_FALSE(SSPrint(dlg.grid, "Table"));
    base::failSafeWritesAfterForTesting(-1, 0);
    EXPECT_EQ(readFile(real), "old contents");
    EXPECT_NE(dlg.grid->lastError().find(std::strerror(ENOSPC)), std::string::npos) << dlg.grid->lastError();
    int files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir))
        ++files;
    EXPECT_EQ(files, 3) << "private.pdf, real.pdf and the link: nothing else";
}

TEST_F(PrintTest, previewShowsTheCurrentPageAtItsZoom) {
    ASSERT_NE(dlg.preview, nullptr);
    auto* view = dynamic_cast<control::PreviewWidget*>(dlg.item(testgrid::kPreviewId)->embedded());
    ASSERT_NE(view, nullptr);
    int pages = SpvGetPageCount(dlg.preview);
    EXPECT_EQ(pages, SSGetPrintPageCount(dlg.grid));
    ASSERT_TRUE(SpvSetPageCurrent(dlg.preview, 2));
    QKeyEvent down(QEvent::KeyPress, Qt::Key_PageDown, {});
    QCoreApplication::sendEvent(view, &down);
    EXPECT_EQ(SpvGetPageCurrent(dlg.preview), 3);
    QKeyEvent end(QEvent::KeyPress, Qt::Key_End, {});
    QCoreApplication::sendEvent(view, &end);
    QCoreApplication::sendEvent(view, &down);
    EXPECT_EQ(SpvGetPageCurrent(dlg.preview), pages) << "never past the last page";

    ASSERT_TRUE(SpvSetPageViewType(dlg.preview, 2));
    ASSERT_TRUE(SpvSetPageViewPercentage(dlg.preview, 50));
    int half = view->pageRect().width();
    ASSERT_TRUE(SpvSetPageViewPercentage(dlg.preview, 100));
    int full = view->pageRect().width();
    EXPECT_NEAR(full, 2 * half, 2);
    SpvSetPageViewType(dlg.preview, 0);
    QRect whole = view->pageRect();
    EXPECT_LE(whole.height(), view->viewport()->height()) << "a whole page fits the window";

    // The page shows the grid's text: somewhere on it there are dark pixels.
    SpvSetPageCurrent(dlg.preview, 1);
    SpvSetPageViewType(dlg.preview, 1);
    QImage img = view->viewport()->grab().toImage();
    QRect page = view->pageRect().intersected(img.rect());
    int dark = 0;
    for (int y = page.top(); y < page.bottom(); y += 2)
        for (int x = page.left(); x < page.right(); x += 2)
            if (qGray(img.pixel(x, y)) < 128) ++dark;
    EXPECT_GT(dark, 20);

    SpvSetAllowUserZoom(dlg.preview, false);
    int type = dlg.preview->viewType;
    QPoint at = view->viewport()->rect().center();
    QMouseEvent click(QEvent::MouseButtonPress, at, view->viewport()->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, {});
    QCoreApplication::sendEvent(view->viewport(), &click);
    EXPECT_EQ(dlg.preview->viewType, type) << "no zoom by click when the user may not zoom";
}

} // namespace
