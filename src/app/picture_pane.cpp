#include "app/picture_pane.h"

#include <utility>

#include "lesson/lesson_player.h"
#include "media/content_class.h"
#include "title/pane_fit.h"
#include "title/picture_place.h"

namespace olve {

TPicturePane::TPicturePane(QWidget* parent, TLessonPlayer& lesson, QString programFolder)
    : QWidget(parent), FLesson(lesson), FProgramFolder(std::move(programFolder))
{
    setObjectName("pnPic");
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    FPicture = new TExtraImage(this);
    FPicture->setObjectName("FPicture");
    FPicture->SetColor(Qt::black);
    setMinimumSize(100, 100);
    hide();

    connect(&FLesson, &TLessonPlayer::CardShown, this, [this](int i, std::int64_t, bool changed) { ShowCard(i, changed); });
    connect(&FLesson, &TLessonPlayer::TopShown, this, [this] {
        FShownCard = -1;
        ShowPicture(FLesson.Package()->MainCards.Card(0).Picture);
    });
    connect(&FLesson, &TLessonPlayer::CardsChanged, this, [this] { FShownCard = -1; });
}

void TPicturePane::ShowCard(int i, bool changed)
{
    if (FMode == TDisplayMode::List || (FMode == TDisplayMode::ListPic && !changed))
        return;
    // Every tick of a play shows its card again; the picture changes only with the card.
    if (!changed && i == FShownCard)
        return;
    FShownCard = i;
    ShowPicture(FLesson.Package()->MainCards.Card(i).Picture);
}

bool TPicturePane::HasPictures() const
{
    return CardsHavePictures(FLesson.Package()->MainCards, FTitleFolder.toStdString(), FProgramFolder.toStdString());
}

void TPicturePane::ShowPicture(const std::string& name)
{
    if (name.empty())
        FPicture->ClearPicture();
    if (name == FPictureName)
        return;
    FPictureName = name;
    const std::string path = FindCardPicture(name, FTitleFolder.toStdString(), FProgramFolder.toStdString());
    if (path.empty()) {
        FPicture->ClearPicture();
        return;
    }
    FPicture->LoadFromFile(QString::fromStdString(path));
}

void TPicturePane::ShowVideo()
{
    TOlveMediaPlayer& player = FLesson.Player();
    player.SetDisplay(this);
    player.SetDisplayRect(QRect());
    const QRect natural = player.DisplayRect();
    FVideoWidth = natural.right() + 1;
    FVideoHeight = natural.bottom() + 1;
    FitVideo();
}

void TPicturePane::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FPicture->setGeometry(rect());
    FitVideo();
}

void TPicturePane::FitVideo()
{
    const TOlveMediaPlayer& player = FLesson.Player();
    if (player.DeviceID() == 0 || !player.Display() || ContentClassOfFile(player.FileName) != "video" || FVideoWidth <= 0 ||
        FVideoHeight <= 0)
        return;
    const TBox box = VideoFitBox(width(), height(), FVideoWidth, FVideoHeight);
    FLesson.Player().SetDisplayRect(QRect(box.Left, box.Top, box.Width, box.Height));
}

}  // namespace olve
