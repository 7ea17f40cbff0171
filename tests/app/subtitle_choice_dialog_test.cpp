#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>

#include "app/subtitle_choice_dialog.h"

using namespace olve;

namespace {

QPushButton* Button(QDialog& dialog, const QString& text)
{
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        if (button->text() == text)
            return button;
    return nullptr;
}

}  // namespace

TEST(SubtitleChoiceDialog, TheLikeliestIsOfferedFirstAndCancellingChoosesNothing)
{
    const std::vector<std::string> candidates = {"/films/show.s01e02.en.srt", "/films/show.s01e03.srt"};
    TSubtitleChoiceDialog dialog("/films", candidates, nullptr);
    auto* list = dialog.findChild<QListWidget*>();
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), "show.s01e02.en.srt");
    EXPECT_EQ(list->currentRow(), 0);
    ASSERT_NE(Button(dialog, "開く… Open…"), nullptr);

    list->setCurrentRow(1);
    Button(dialog, "選ぶ Choose")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Chosen(), "/films/show.s01e03.srt");

    TSubtitleChoiceDialog cancelled("/films", candidates, nullptr);
    Button(cancelled, "キャンセル Cancel")->click();
    EXPECT_EQ(cancelled.result(), QDialog::Rejected);
    EXPECT_EQ(cancelled.Chosen(), "");

    TSubtitleChoiceDialog none("/films", {}, nullptr);
    EXPECT_FALSE(Button(none, "選ぶ Choose")->isEnabled()) << "only Open… is left";
}
