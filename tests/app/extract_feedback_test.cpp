#include <gtest/gtest.h>

#include <QApplication>
#include <QProgressBar>
#include <filesystem>
#include <fstream>
#include <functional>

#include "app/qt_extract_feedback.h"
#include "filetrain/train_extract.h"
#include "lesson/background_work.h"
#include "lesson/relayed_extract_ui.h"
#include "support/temp_folder.h"
#include "support/wait_until.h"

using namespace olve;

namespace {

std::string Int32(std::uint32_t v)
{
    return std::string{static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                       static_cast<char>(v >> 24)};
}

// A package of one plain file of the given size.
void MakePackage(const std::string& path, std::size_t size)
{
    std::ofstream out(path, std::ios::binary);
    out << "0101" << Int32(0) << "olve" << Int32(0) << Int32(static_cast<std::uint32_t>(size)) << Int32(9)
        << "media.wav" << Int32(0) << std::string(size, 'm');
}

}  // namespace

TEST(ExtractFeedback, TheProgressWindowDisablesItsOwnerWhileItIsShown)
{
    QWidget owner;
    owner.show();
    TQtExtractFeedback feedback(&owner);
    feedback.ShowProgress("読み込み中", 3);
    TProgressWindow* window = feedback.ProgressWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(owner.isEnabled());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("読み込み中"));
    EXPECT_EQ(window->size(), QSize(400, 88));
    EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(window->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(window->Bar()->geometry().left(), 8);
    EXPECT_EQ(window->Bar()->geometry().top(), 32);
    EXPECT_EQ(window->Bar()->width(), 400 - 16);
    EXPECT_EQ(window->Bar()->maximum(), 3);
    // Each step advances by one; past the maximum the bar starts again.
    for (int expected : {1, 2, 3, 0, 1}) {
        feedback.StepProgress();
        EXPECT_EQ(window->Bar()->value(), expected);
    }
    feedback.HideProgress();
    EXPECT_EQ(feedback.ProgressWindow(), nullptr);
    EXPECT_TRUE(owner.isEnabled());
}

// The window's side of the progress, looked at as each step reaches it.
class TWatchedFeedback : public TQtExtractFeedback {
public:
    using TQtExtractFeedback::TQtExtractFeedback;
    std::function<void()> OnStep;
    void StepProgress() override
    {
        TQtExtractFeedback::StepProgress();
        OnStep();
    }
};

// The installation runs on a thread of its own: the progress reaches the window through the
// window's event loop.
TEST(ExtractFeedback, InstallingALargeFileOnItsOwnThreadShowsProgressInTheWindow)
{
    TTempFolder dir;
    constexpr std::size_t Size = 24 * 983040;
    MakePackage(dir / "p.qzw", Size);
    QWidget owner;
    owner.show();
    TWatchedFeedback feedback(&owner);
    int maximum = 0;
    int lastValue = 0;
    bool ownerDisabled = false;
    feedback.OnStep = [&] {
        if (TProgressWindow* window = feedback.ProgressWindow()) {
            maximum = window->Bar()->maximum();
            lastValue = window->Bar()->value();
            ownerDisabled = !owner.isEnabled();
        }
    };
    TRelayedExtractUi relay({&feedback, nullptr}, &owner);
    TBackgroundWork work;
    TStringList extracted;
    bool installed = false;
    bool ended = false;
    ASSERT_TRUE(work.Start([&] { installed = ExtractFileTrain(relay.Ui(), dir / "p.qzw", dir / "dest", extracted, 1, true); },
                           [&] { ended = true; }));
    ASSERT_TRUE(WaitUntil([&] { return ended; }, 30000));
    EXPECT_TRUE(installed);
    EXPECT_EQ(maximum, 385);
    EXPECT_GT(lastValue, 300);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(owner.isEnabled());
    EXPECT_EQ(feedback.ProgressWindow(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(std::filesystem::file_size(dir / "dest/media.wav"), Size);
}
