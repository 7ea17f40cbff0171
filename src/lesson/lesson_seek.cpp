// Where the play is: ticks that follow it, seeks that move it, and clicks on a word.
#include <QScopedValueRollback>
#include <algorithm>

#include "lesson/lesson_player.h"
#include "codec/card_text.h"
#include "timing/tick_wait.h"
#include "title/card_seek.h"

namespace olve {

void TLessonPlayer::StartTicks()
{
    FTicks.start(FirstTickMs);
    Q_EMIT Running(true);
}

void TLessonPlayer::StopTicks()
{
    FTicks.stop();
    Q_EMIT Running(false);
}

void TLessonPlayer::TickNow()
{
    if (FTicking)
        return;
    const QScopedValueRollback busy(FTicking, true);
    if (FPlayer->DeviceID() == 0) {
        StopTicks();
        return;
    }
    const std::int64_t position = FPlayer->Position();
    Q_EMIT Progress(position);
    if (FPlayer->Mode() != mpPlaying)
        StopTicks();
    else if (!FTicks.isActive())
        StartTicks();
    const int card = Tick(position);
    if (FTicks.isActive())
        FTicks.start(NextWakeMs(position, card));
}

int TLessonPlayer::Tick(std::int64_t position)
{
    FShownPosition = position;
    NoteCardsPassed(position);
    if (FPlayer->Mode() == mpStopped)
        CheckPlayEnded();
    // Of overlapping cards the first that holds the position is current, in every layout.
    const int card = Timeline().CardAt(position, FPlayer->EndPos());
    if (card >= 0)
        ShowCardAt(card, position);
    return card;
}

void TLessonPlayer::ShowCardAt(int card, std::int64_t position)
{
    const bool changed = card != FCurrentCard;
    FCurrentCard = card;
    Q_EMIT CardShown(card, position, changed);
}

// Between changes the ticks sleep: a tick costs the learner's battery even when it shows
// nothing new.
int TLessonPlayer::NextWakeMs(std::int64_t position, int card)
{
    const TTickView view = TickView ? TickView() : TTickView();
    const TCardTimeline& timeline = Timeline();
    const double speed = FPlayer->Speed();
    const auto paced = [&](std::int64_t change) { return PacedChange(position, change, speed); };
    return TickWaitMs(position,
                      {timeline.NextChange(position, card),
                       paced(view.CaretMoves && card >= 0 ? timeline.NextReachedByte(card, position) : -1),
                       paced(NextBarStep(position, FPlayer->Length(), view.BarWidth)), paced(NextWholeSecond(position))},
                      speed);
}

void TLessonPlayer::SeekTo(std::int64_t position)
{
    if (!CanPlay())
        return;
    const TSeekTarget target = SeekTarget(Timeline(), std::clamp<std::int64_t>(position, 0, FPlayer->Length()));
    if (target.Card < 0)
        return;
    LogPlay(QStringLiteral("seek to %1 in card %2").arg(target.Position).arg(target.Card + 1));
    if (FPlayer->Mode() == mpPlaying) {
        PlayCard(target.Card, target.Position);
        return;
    }
    // A pause would go on where it was, and a waiting shadowing pause would play its card.
    if (FPlayer->Mode() == mpPaused)
        Stop();
    FShadow.stop();
    FShownPosition = target.Position;
    Q_EMIT Sought(target.Position);
    ShowCardAt(target.Card, std::max(target.Position, Timeline().StartOf(target.Card)));
}

void TLessonPlayer::StepSeek(int direction)
{
    if (!CanPlay())
        return;
    const std::int64_t from = FPlayer->Mode() == mpPlaying ? FPlayer->Position() : FShownPosition;
    SeekTo(StepTarget(Timeline(), from, direction, FPlayer->Length()));
}

void TLessonPlayer::ClickAt(const std::string& shownText, int offset)
{
    if (!FPackage)
        return;
    const TUndoPlayCardList& cards = FPackage->MainCards;
    for (int i = 0; i < cards.Count(); ++i) {
        if (ExpandLineBreaks(cards.Card(i).MainText) != shownText)
            continue;
        // A card without a range tag speaks its whole text, which holds every offset.
        const TSpokenRange spoken = Timeline().Spoken(i, Timeline().StartOf(i));
        if (spoken.Start <= offset && offset <= spoken.Start + spoken.Length) {
            PlayCard(i, Timeline().StartOfWordAt(i, offset));
            return;
        }
    }
}

}  // namespace olve
