#include <gtest/gtest.h>

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QKeySequence>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextBrowser>
#include <fstream>

#include "app/help_window.h"
#include "app/main_window.h"
#include "support/recording_prompts.h"
#include "support/temp_folder.h"

using namespace olve;

namespace {

const QString Name = "Player Olve / Rindale";

// The desktop's handler for file URLs, taken over for the test: the page lands in a browser.
class TFileHandler {
public:
    TFileHandler() { QDesktopServices::setUrlHandler("file", &Browser, "setSource"); }
    ~TFileHandler() { QDesktopServices::unsetUrlHandler("file"); }
    QTextBrowser Browser;
};

}  // namespace

TEST(HelpWindow, EveryKeyItListsWorksInThePlayerAndTheQuestionMarkOpensIt)
{
    TTempFolder program;
    QDir::setCurrent(QString::fromStdString(program.Path().string()));
    TRecordingPrompts prompts;
    TForm1 form(QString::fromStdString(program / "olveplayer"), {"NoTie"}, prompts);
    TFormHelp help(&form, "1", prompts, {});
    form.OnHelp = [&help] { help.Open(); };

    QTableWidget* keys = help.KeyTable();
    ASSERT_EQ(keys->columnCount(), 2);
    int listed = 0;
    for (int row = 0; row < keys->rowCount(); ++row) {
        const QString cell = keys->item(row, 0)->text();
        ASSERT_FALSE(keys->item(row, 1)->text().isEmpty()) << cell.toStdString();
        if (cell.front().unicode() >= 0x80)
            continue;  // a mouse action
        for (const QString& name : cell.split(" / ")) {
            const QKeySequence key = QKeySequence::fromString(name);
            ASSERT_EQ(key.count(), 1) << name.toStdString();
            EXPECT_TRUE(form.FormKeyDown(key[0].key(), Qt::NoModifier)) << name.toStdString() << " does nothing";
            ++listed;
        }
    }
    EXPECT_GE(listed, 26);
    EXPECT_TRUE(help.isVisible()) << "? opens the help";
    EXPECT_FALSE(help.isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the player still takes keys and clicks";

    const QString all = [&] {
        QString text;
        for (int row = 0; row < keys->rowCount(); ++row)
            text += keys->item(row, 0)->text() + " " + keys->item(row, 1)->text() + "\n";
        return text;
    }();
    for (const char* told : {"volume", "right-click", "undo", "redo", "clear"})
        EXPECT_TRUE(all.contains(told)) << told;
}

TEST(HelpWindow, TheGuideButtonsOpenTheShippedPagesOrSayTheyAreMissing)
{
    TTempFolder empty;
    TTempFolder shipped;
    std::filesystem::create_directories(shipped.Path() / "docs");
    std::ofstream(shipped / "README.md") << "# Guide\n";
    std::ofstream(shipped / "docs/making-titles.md") << "# Titles\n";
    TFileHandler desktop;
    TRecordingPrompts prompts;
    const QString emptyPath = QString::fromStdString(empty.Path().string());
    const QString shippedPath = QString::fromStdString(shipped.Path().string());

    TFormHelp help(nullptr, "1", prompts, {emptyPath, shippedPath});
    help.findChild<QPushButton*>("Button1")->click();
    EXPECT_EQ(desktop.Browser.source(), QUrl::fromLocalFile(shippedPath + "/README.md"));
    help.findChild<QPushButton*>("Button2")->click();
    EXPECT_EQ(desktop.Browser.source(), QUrl::fromLocalFile(shippedPath + "/docs/making-titles.md"));
    EXPECT_TRUE(prompts.Said.empty());

    TFormHelp nowhere(nullptr, "1", prompts, {emptyPath});
    nowhere.findChild<QPushButton*>("Button1")->click();
    EXPECT_EQ(desktop.Browser.source(), QUrl::fromLocalFile(shippedPath + "/docs/making-titles.md")) << "nothing opened";
    ASSERT_EQ(prompts.Said.size(), 1u);
    EXPECT_NE(prompts.Said[0].find("README.md"), std::string::npos);
    EXPECT_NE(prompts.Said[0].find("見つかりません"), std::string::npos);

    // The program names itself as its window caption does.
    EXPECT_TRUE(help.AboutText().contains(Name));
    EXPECT_FALSE(help.AboutText().contains("Olve Player"));
    EXPECT_TRUE(help.PageControl()->tabText(1).contains(Name));
}
