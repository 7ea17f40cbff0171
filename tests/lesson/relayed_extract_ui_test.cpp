#include "lesson/relayed_extract_ui.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "lesson/background_work.h"
#include "storage/extract_recorders.h"
#include "support/temp_folder.h"
#include "support/test_package.h"
#include "support/wait_until.h"

using namespace olve;
namespace fs = std::filesystem;

namespace {

// Answers as the learner would, noting whether it was asked on the caller's thread.
class TThreadQuestion : public train_test::TAnsweringQuestion {
public:
    bool OffThread = false;
    void Ask(TFileCopyRequest& request) override
    {
        OffThread |= QThread::currentThread() != QCoreApplication::instance()->thread();
        TAnsweringQuestion::Ask(request);
    }
};

class RelayedExtractUi : public testing::Test {
protected:
    TTempFolder Folder;
    std::string Package;
    std::string Target;
    TBackgroundWork Work;
    bool Installed = false;
    bool Ended = false;

    void SetUp() override
    {
        Package = MakeTestPackage(Folder.Path().string(), ThreeCardTitle());
        TStringList first;
        ASSERT_TRUE(ExtractFileTrain({}, Package, Folder / "program", first, 1, true));
        Target = Folder / "program/lesson.qzc";
        std::ofstream(Target, std::ios::trunc) << "the learner's own";
    }
    // Installs again on a thread of its own, asking about every existing file.
    bool InstallAgain(TRelayedExtractUi& relay)
    {
        TStringList written;
        return Work.Start([&relay, &written, this] {
            Installed = ExtractFileTrain(relay.Ui(), Package, Folder / "program", written, 0, true);
        }, [this] { Ended = true; }) && WaitUntil([this] { return Ended; }, 20000);
    }
    std::string TargetText() const
    {
        std::ifstream in(Target);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

}  // namespace

TEST_F(RelayedExtractUi, TheCopyQuestionIsAskedOnTheCallersThreadWhileTheInstallationWaits)
{
    QObject context;
    TThreadQuestion question;
    question.Answers = {{TCopyChoice::Overwrite, true}};
    int ticks = 0;
    QTimer ticking;
    QObject::connect(&ticking, &QTimer::timeout, [&] { ++ticks; });
    ticking.start(0);
    TRelayedExtractUi relay({nullptr, &question}, &context);
    ASSERT_TRUE(InstallAgain(relay));
    EXPECT_TRUE(Installed);
    ASSERT_EQ(question.Asked.size(), 1u) << "apply to all was not kept";
    EXPECT_EQ(question.Asked[0].ExistingPath, Target);
    EXPECT_FALSE(question.OffThread);
    EXPECT_NE(TargetText(), "the learner's own");
    EXPECT_GT(ticks, 0);
}

// A question nobody answers (the thread that would is ending) does not hold the installation:
// stopping it gives the question up, and the existing file stays.
TEST_F(RelayedExtractUi, StoppingGivesUpAQuestionNobodyAnswers)
{
    QThread silent;
    QObject context;
    context.moveToThread(&silent);
    TThreadQuestion question;
    std::atomic<bool> stop = false;
    TRelayedExtractUi relay({nullptr, &question}, &context, &stop);
    QTimer::singleShot(300, [&] { stop = true; });
    ASSERT_TRUE(InstallAgain(relay));
    EXPECT_TRUE(question.Asked.empty());
    EXPECT_EQ(TargetText(), "the learner's own");
}
