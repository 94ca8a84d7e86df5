// Picture paths come from table files of other companies: only regular files of a sane size are
// opened, nothing that could keep the grid waiting, and a cell's text is never taken for a path.

#include "TestGridDialog.h"

#include "GridWidget_p.h"
#include "Pictures.h"

#include <ui/Application.h>

#include <QColor>
#include <QImage>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <mutex>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace sheet;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// After a grace period, does what ends a read that waits (opens the FIFO's other end, closes the
// pipe's writer), so that a loader that blocks fails the test instead of hanging it.
class Unblocker {
public:
    Unblocker(std::function<void()> release)
        : m_thread([this, release = std::move(release)] {
            std::unique_lock lock(m_mutex);
            if (!m_done.wait_for(lock, std::chrono::seconds(3), [this] { return m_finished; })) release();
        }) {}
    ~Unblocker() {
        {
            std::lock_guard lock(m_mutex);
            m_finished = true;
        }
        m_done.notify_all();
        m_thread.join();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_finished = false;
    std::thread m_thread;
};

std::string tempFolder() {
    std::string dir = ::testing::TempDir() + "/pictures_" + std::to_string(getpid());
    fs::create_directories(dir);
    return dir;
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

// Loads a picture as the grid does and says how long it took.
double secondsToLoad(const std::string& path, bool& found) {
    control::clearPictureCache();
    auto start = Clock::now();
    found = !control::cellPicture(path).isNull();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

} // namespace

TEST(PicturePath, onlyRegularFilesOfASaneSizeAreOpened) {
    const std::string dir = tempFolder();
    const std::string red = testgrid::png(QColor(255, 0, 0));

    const std::string good = dir + "/red.png";
    writeBytes(good, red);
    const std::string link = dir + "/link.png";
    fs::remove(link);
    fs::create_symlink(good, link);
    const std::string big = dir + "/big.png";
    writeBytes(big, red); // a readable picture followed by a sparse tail past the budget
    ASSERT_EQ(::truncate(big.c_str(), control::kPictureFileBudget + 1), 0);
    const std::string fifo = dir + "/fifo.png";
    fs::remove(fifo);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);

    struct Case {
        std::string path;
        bool shown;
        const char* why;
    } cases[] = {
        {good, true, "a small picture file is shown"},
        {link, true, "a symbolic link to a picture file is followed"},
        {big, false, "a file beyond the budget is not read, whatever it starts with"},
        {dir, false, "a folder is no picture"},
        {fifo, false, "a FIFO would wait for a writer for ever"},
        {dir + "/missing.png", false, "a missing file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        Unblocker unblock([&] {
            if (c.path != fifo) return;
            int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) ::close(fd);
        });
        bool found = false;
        double seconds = secondsToLoad(c.path, found);
        EXPECT_EQ(found, c.shown) << c.why;
        EXPECT_LT(seconds, 1.0) << c.why;
    }
    QByteArray bytes;
    EXPECT_FALSE(control::readPictureFile(big, bytes)) << "the budget holds for the reader itself";
    EXPECT_TRUE(bytes.isEmpty());
    EXPECT_TRUE(control::readPictureFile(good, bytes));
    EXPECT_EQ(bytes.toStdString(), red) << "a regular file is read whole";
    control::clearPictureCache();
}

TEST(PicturePath, standardInputIsNeverRead) {
    // Standard input becomes a pipe whose writer stays open: reading it would wait.
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    int savedStdin = ::dup(0);
    ASSERT_GE(savedStdin, 0);
    ASSERT_GE(::dup2(pipeFds[0], 0), 0);
    ::close(pipeFds[0]);
    int writer = pipeFds[1];
    double seconds = 0;
    bool found = true;
    {
        Unblocker unblock([&] { ::close(std::exchange(writer, -1)); });
        seconds = secondsToLoad("/dev/stdin", found);
    }
    if (writer >= 0) ::close(writer);
    ::dup2(savedStdin, 0);
    ::close(savedStdin);
    EXPECT_FALSE(found) << "standard input is no picture file";
    EXPECT_LT(seconds, 1.0) << "opening a table never waits on standard input";
}

TEST(PicturePath, aPictureCellWithoutAPathShowsNoPicture) {
    testgrid::registerResources();
    testgrid::GridDialog dlg;
    ASSERT_TRUE(dlg.create());
    ASSERT_NE(dlg.grid, nullptr);
    auto* w = dynamic_cast<control::GridWidget*>(dlg.item(testgrid::kGridId)->embedded());
    ASSERT_NE(w, nullptr);
    control::clearPictureCache();
    const std::string file = tempFolder() + "/cell.png";
    writeBytes(file, testgrid::png(QColor(255, 0, 0)));

    CellType t;
    SSSetCellType(dlg.grid, 1, 1, *SSSetTypePicture(dlg.grid, t, kPictureStretch, ""));
    SSSetData(dlg.grid, 1, 1, file); // the text of the cell names a picture file
    SSSetCellType(dlg.grid, 2, 1, *SSSetTypePicture(dlg.grid, t, kPictureStretch, file));
    ui::processEvents();
    QImage img = w->viewport()->grab().toImage();
    EXPECT_NE(img.pixelColor(w->cellRect(1, 1).center()), QColor(255, 0, 0))
        << "the cell's text is data, not a path to open";
    EXPECT_EQ(img.pixelColor(w->cellRect(2, 1).center()), QColor(255, 0, 0))
        << "the picture the cell type names is shown";
    dlg.destroyWindow();
    ui::processEvents();
    control::clearPictureCache();
}
