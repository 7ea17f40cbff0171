// The learner's practice: repeats, the shadowing pause, the loop and when each language's
// text shows. The rules live in the practice run; this part starts the plays they ask for.
#include <algorithm>

#include "lesson/lesson_player.h"

namespace olve {

void TLessonPlayer::SetPractice(const TPracticeSettings& practice)
{
    const bool wasByCard = FPractice.CardByCard();
    FPractice = practice;
    if (wasByCard != FPractice.CardByCard())
        MoveRunningPlayEnd();
    Q_EMIT PracticeChanged();
    RefreshCard();
}

TTitleProgress TLessonPlayer::SavedProgress() const
{
    TTitleProgress progress;
    progress.LastCard = FCurrentCard;
    progress.SpeedTenths = FSpeedTenths;
    progress.Practice = FPractice;
    progress.Practice.Loop = false;
    progress.AutoPause = FAutoPause;
    progress.Timing = FAdjustment.Timing();
    return progress;
}

void TLessonPlayer::RestoreProgress(const TTitleProgress& progress)
{
    SetSpeedTenths(progress.SpeedTenths);
    TPracticeSettings practice = progress.Practice;
    practice.Loop = false;
    SetPractice(practice);
    SetAutoPause(progress.AutoPause);
    RestoreCardTiming(progress.Timing);
}

void TLessonPlayer::StepRepeats()
{
    TPracticeSettings practice = FPractice;
    practice.Repeats = NextRepeats(practice.Repeats);
    SetPractice(practice);
}

void TLessonPlayer::StepShadowing()
{
    TPracticeSettings practice = FPractice;
    practice.ShadowTenths = NextShadowTenths(practice.ShadowTenths);
    SetPractice(practice);
}

void TLessonPlayer::StepEnglishReveal()
{
    TPracticeSettings practice = FPractice;
    practice.English = NextReveal(practice.English);
    SetPractice(practice);
}

void TLessonPlayer::StepJapaneseReveal()
{
    TPracticeSettings practice = FPractice;
    practice.Japanese = NextReveal(practice.Japanese);
    SetPractice(practice);
}

void TLessonPlayer::ToggleLoop(int first, int last)
{
    TPracticeSettings practice = FPractice;
    practice.Loop = !practice.Loop;
    if (practice.Loop)
        FPracticeRun.SetLoopRange(first, last);
    SetPractice(practice);
}

// A play that ran through the cards is cut to the current card's end when practice begins to
// go card by card, and runs on again when it stops doing so.
void TLessonPlayer::MoveRunningPlayEnd()
{
    if (!CanPlay() || FPlayer->Mode() != mpPlaying)
        return;
    FPracticeRun.Begin(std::max(FCurrentCard, 0));
    RunToNewEnd();
}

// A play that reached its end: the card has been heard, and the practice says what follows.
void TLessonPlayer::PlayEnded()
{
    const int card = FCurrentCard;
    if (!FPractice.CardByCard()) {
        FPracticeRun.MarkHeard(card, FPractice);
        RefreshCard();
        return;
    }
    const TNextPlay next = FPracticeRun.CardEnded(FPractice, Timeline(), FAutoPause, SpeedFactor(FSpeedTenths));
    RefreshCard();
    if (next.Stop)
        return;
    FWaitingCard = next.Card;
    if (next.WaitMs > 0)
        FShadow.start(static_cast<int>(std::min<std::int64_t>(next.WaitMs, 1 << 30)));
    else
        StartCardPlay(next.Card, std::nullopt);
}

// A play running through the cards has heard the current card once it passes the card's end.
void TLessonPlayer::NoteCardsPassed(std::int64_t position)
{
    const int card = FCurrentCard;
    if (FLastTickPosition >= 0 && card >= 0 && card < Timeline().Count() && FLastTickPosition < Timeline().EndOf(card) &&
        Timeline().EndOf(card) <= position)
        FPracticeRun.MarkHeard(card, FPractice);
    FLastTickPosition = position;
}

void TLessonPlayer::RefreshCard()
{
    if (!FPackage || FCurrentCard < 0 || FCurrentCard >= FPackage->MainCards.Count())
        return;
    const TCardTimeline& timeline = Timeline();
    const std::int64_t start = timeline.StartOf(FCurrentCard);
    const std::int64_t last = std::max(start, timeline.EndOf(FCurrentCard) - 1);
    const std::int64_t position = FPlayer->DeviceID() != 0 ? FPlayer->Position() : start;
    Q_EMIT CardShown(FCurrentCard, std::clamp(position, start, last), false);
}

}  // namespace olve
