#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QTimer>
#include <QTextDocument>

#include "app/fading_notice.h"
#include "app/qt_prompts.h"
#include "app/start_page.h"
#include "lesson/settings_file_store.h"
#include "support/temp_folder.h"

using namespace olve;

namespace {

// A package may name its files and title anything; this one draws a picture 30000 pixels wide
// wherever it is read as markup.
const QString Hostile = "<img src=\"x\" width=\"30000\" height=\"300\"><b>lesson</b> &amp; more.qzw";

}  // namespace

TEST(OutsideText, MessageBoxesNoticesAndTipsShowMarkupAsTheTextItIs)
{
    TQtPrompts prompts;
    for (int question = 0; question < 2; ++question) {
        QTimer poll;
        QString shown;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                EXPECT_EQ(box->textFormat(), Qt::PlainText);
                EXPECT_LT(box->sizeHint().width(), 2000);
                shown = box->text();
                box->done(0);
            }
        });
        poll.start(10);
        const std::string text = "ファイルが見つかりません\r\n\r\n" + Hostile.toStdString();
        question ? (void)prompts.Question(text) : prompts.Message(text);
        EXPECT_TRUE(shown.endsWith(Hostile)) << shown.toStdString();
    }

    QWidget window;
    window.resize(800, 600);
    ShowFadingNotice(&window, "Notice", "書き出しました  Exported: " + Hostile);
    auto* notice = window.findChild<QLabel*>("Notice");
    ASSERT_TRUE(notice);
    EXPECT_EQ(notice->textFormat(), Qt::PlainText);
    EXPECT_LT(notice->sizeHint().width(), 2000);

    TTempFolder home;
    TSettingsFileStore store(home / "olve.ini", home.Path().string());
    TStartPage page(store);
    page.ShowRecent({{"/gone/" + Hostile.toStdString(), ""}});
    QTextDocument tip;
    tip.setHtml(page.RecentList()->item(0)->toolTip());
    EXPECT_TRUE(tip.toPlainText().endsWith(Hostile)) << tip.toPlainText().toStdString();
}
