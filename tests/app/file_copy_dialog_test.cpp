#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <functional>

#include "app/file_copy_dialog.h"
#include "app/qt_file_copy_question.h"
#include "support/recording_prompts.h"

using namespace olve;

namespace {

TFileCopyRequest Request()
{
    TFileCopyRequest request;
    request.ExistingPath = "/opt/olve/titles/K/K0123/pic/cover.jpg";
    request.NewPath = request.ExistingPath;
    request.ExistingSize = 1234567;
    request.ExistingDate = (21u << 25) | (1u << 21) | (2u << 16) | (3u << 11) | (4u << 5) | 3u;
    request.EntrySize = 0;
    request.EntryDate = (23u << 25) | (2u << 21) | (10u << 16) | (12u << 11) | (34u << 5) | 28u;
    request.Choice = TCopyChoice::Overwrite;
    return request;
}

// Asks through the player's question, acting on the dialog once it is shown.
void AskWith(TFileCopyRequest& request, std::function<void(TdlgFileCopy&)> act)
{
    TQtFileCopyQuestion question;
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<TdlgFileCopy*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        act(*dialog);
        // Whatever the test did, the dialog must not stay open.
        QTimer::singleShot(0, dialog, &QDialog::reject);
    });
    question.Ask(request);
}

template <typename T>
T* Child(QWidget& dialog, const char* name)
{
    T* child = dialog.findChild<T*>(QString::fromUtf8(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

void Choose(QWidget& dialog, TCopyChoice choice)
{
    Child<QRadioButton>(dialog, QStringLiteral("rbChoice%1").arg(static_cast<int>(choice)).toUtf8().constData())->click();
}

}  // namespace

TEST(FileCopyDialog, ShowsTheOfferedChoiceTheNamesAndBothFiles)
{
    TFileCopyRequest request = Request();
    AskWith(request, [](TdlgFileCopy& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("ファイル コピー"));
        EXPECT_TRUE(Child<QRadioButton>(dialog, "rbChoice1")->isChecked());
        EXPECT_EQ(Child<QRadioButton>(dialog, "rbChoice2")->text(), QStringLiteral("名前を変えてコピーする"));
        EXPECT_EQ(Child<QLineEdit>(dialog, "edOld")->text(), QStringLiteral("cover.jpg"));
        EXPECT_EQ(Child<QLineEdit>(dialog, "edNew")->text(), QStringLiteral("cover.jpg"));
        // The names can be edited only while renaming is chosen.
        EXPECT_FALSE(Child<QLineEdit>(dialog, "edOld")->isEnabled());
        Choose(dialog, TCopyChoice::Rename);
        EXPECT_TRUE(Child<QLineEdit>(dialog, "edNew")->isEnabled());
        Choose(dialog, TCopyChoice::Cancel);
        EXPECT_FALSE(Child<QLineEdit>(dialog, "edNew")->isEnabled());
        EXPECT_TRUE(Child<QPlainTextEdit>(dialog, "meInfo")->isReadOnly());
        EXPECT_EQ(Child<QPlainTextEdit>(dialog, "meInfo")->toPlainText(),
                  QStringLiteral("\n\nファイル名： cover.jpg\n\nフォルダ名： /opt/olve/titles/K/K0123/pic/\n\n"
                                 "元からあるファイル\n\n     1,234,567 バイト\n\n     更新日時 2001/01/02 03:04:06\n\n"
                                 "コピーするファイル\n\n     0 バイト\n\n     更新日時 2003/02/10 12:34:56\n\n"));
    });
}

TEST(FileCopyDialog, OKAnswersTheChoiceAndApplyToAllAnswersItForTheRest)
{
    TFileCopyRequest request = Request();
    AskWith(request, [](TdlgFileCopy& dialog) {
        Choose(dialog, TCopyChoice::CopyIfNewer);
        Child<QPushButton>(dialog, "btnOK")->click();
    });
    EXPECT_EQ(request.Choice, TCopyChoice::CopyIfNewer);
    EXPECT_FALSE(request.ApplyToAll);

    request = Request();
    AskWith(request, [](TdlgFileCopy& dialog) { Child<QPushButton>(dialog, "btnAll")->click(); });
    EXPECT_EQ(request.Choice, TCopyChoice::Overwrite);
    EXPECT_TRUE(request.ApplyToAll);
}

TEST(FileCopyDialog, ClosingItAnyOtherWayCancels)
{
    TFileCopyRequest request = Request();
    request.ApplyToAll = true;
    AskWith(request, [](TdlgFileCopy& dialog) { dialog.close(); });
    EXPECT_EQ(request.Choice, TCopyChoice::Cancel);
    EXPECT_FALSE(request.ApplyToAll);
}

TEST(FileCopyDialog, RenamingNeedsTwoDifferentNames)
{
    TRecordingPrompts prompts;
    TdlgFileCopy dialog(prompts);
    dialog.Setup(Request());
    dialog.open();
    Choose(dialog, TCopyChoice::Rename);
    Child<QLineEdit>(dialog, "edNew")->setText(QStringLiteral("COVER.JPG"));
    Child<QPushButton>(dialog, "btnOK")->click();
    EXPECT_TRUE(dialog.isVisible());
    Child<QLineEdit>(dialog, "edNew")->setText(QStringLiteral("../cover2.jpg"));
    Child<QPushButton>(dialog, "btnAll")->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(prompts.Said, (std::vector<std::string>{"ファイル名を変えてください", "ファイル名を変えてください"}));

    Child<QLineEdit>(dialog, "edNew")->setText(QStringLiteral("表紙.jpg"));
    Child<QPushButton>(dialog, "btnOK")->click();
    EXPECT_FALSE(dialog.isVisible());
    TFileCopyRequest answer = Request();
    dialog.Answer(answer);
    EXPECT_EQ(answer.Choice, TCopyChoice::Rename);
    EXPECT_EQ(answer.OldName, "cover.jpg");
    EXPECT_EQ(answer.NewName, "表紙.jpg");
    EXPECT_FALSE(answer.ApplyToAll);
}
