#include <gtest/gtest.h>

#include <QWidget>

#include "app/volume_bar.h"
#include "media/media_player.h"
#include "media/wave_volume.h"

using namespace olve;

namespace {

class VolumeBar : public testing::Test {
protected:
    TOlveMediaPlayer Player;
    QWidget Window;
    QWidget* Speaker = new QWidget(&Window);
    TVolumeBar* Bar = new TVolumeBar(Player, &Window);

    void SetUp() override
    {
        Window.resize(400, 300);
        Speaker->setGeometry(380, 0, 20, 20);
        Window.show();
    }
};

}  // namespace

TEST_F(VolumeBar, ShowsThePlayersVolumeInsideTheWindowAndSetsItAsItMoves)
{
    SetWaveVolume(Player, 20000);
    Bar->ShowUnder(Speaker, 30);
    EXPECT_TRUE(Bar->isVisible());
    EXPECT_EQ(Bar->value(), 20000);
    EXPECT_EQ(GetWaveVolume(Player), 20000) << "showing changes no volume";
    // The speaker is at the right edge: the bar stays inside the window.
    EXPECT_EQ(Bar->geometry(), QRect(400 - Bar->width(), 30, Bar->width(), Bar->height()));

    Bar->setValue(6553);
    EXPECT_EQ(GetWaveVolume(Player), 6553);
}

TEST_F(VolumeBar, HidesOnlyOnceThePointerLeavesItsMargin)
{
    Bar->ShowUnder(Speaker, 30);
    const QRect shown = Bar->geometry();
    Bar->HideAway(Window.mapToGlobal(QPoint(shown.left() - 40, shown.center().y())));
    EXPECT_TRUE(Bar->isVisible()) << "near the bar it stays";
    Bar->HideAway(Window.mapToGlobal(QPoint(shown.left() - 60, shown.center().y())));
    EXPECT_FALSE(Bar->isVisible());
}
