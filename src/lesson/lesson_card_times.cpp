// The learner's changes to where the cards lie: a shift of them all, a card's edges nudged,
// a sync to the speech, and taking the latest change back. The rules live in the card
// adjustment; this part plays what they moved.
#include "lesson/lesson_player.h"

namespace olve {

void TLessonPlayer::ShiftCards(int stepMs)
{
    const std::int64_t before = CardShiftMs();
    if (FPackage && FAdjustment.Shift(stepMs))
        CardsMoved(before);
}

void TLessonPlayer::CardsMoved(std::int64_t shiftBefore)
{
    if (CardShiftMs() != shiftBefore)
        Q_EMIT CardShiftChanged(CardShiftMs());
    // A running play ends where its card ends now.
    if (CanPlay() && FCurrentCard >= 0 && FPlayer->Mode() == mpPlaying)
        RunToNewEnd();
}

void TLessonPlayer::NudgeCardEdge(TCardEdge edge, int stepMs)
{
    if (!FPackage || FCurrentCard < 0 || !FAdjustment.Nudge(FCurrentCard, edge, stepMs))
        return;
    // The learner hears at once where the edge now lies.
    PlayCard(FCurrentCard);
}

bool TLessonPlayer::SyncCards(double offsetMs, double rate)
{
    const std::int64_t before = CardShiftMs();
    if (!FPackage || !FAdjustment.Sync(offsetMs, rate))
        return false;
    CardsMoved(before);
    return true;
}

bool TLessonPlayer::UndoCardChange()
{
    const std::int64_t before = CardShiftMs();
    if (!FPackage || !FAdjustment.Undo())
        return false;
    CardsMoved(before);
    return true;
}

bool TLessonPlayer::SyncCardsToSpeech()
{
    if (!CanPlay() || !FCardSync->Start(FPlayer->FileName.toStdString(), FPlayer->Length(), CardCues(FPackage->MainCards)))
        return false;
    FSyncFor = FOpenings;
    return true;
}

void TLessonPlayer::FollowCardSync()
{
    FCardSync = new TCardSync(this);
    // A search that ends after another title has opened belongs to no card shown.
    connect(FCardSync, &TCardSync::Found, this, [this](const TSubtitleSync& sync) {
        if (FSyncFor != FOpenings)
            return;
        if (sync.Corrected)
            SyncCards(sync.OffsetMs, sync.Rate);
        Q_EMIT CardsSynced(QString::fromStdString(CardSyncMessage(sync)));
    });
    connect(FCardSync, &TCardSync::Failed, this, [this](const TFailure& failure) {
        if (FSyncFor == FOpenings)
            Q_EMIT CardSyncFailed(failure);
    });
}

void TLessonPlayer::RestoreCardTiming(const TCardTiming& kept)
{
    if (!FPackage)
        return;
    FAdjustment.Restore(kept);
    if (FAdjustment.Timing() == TCardTiming{})
        return;
    // The learner sees that the cards open shifted.
    if (CardShiftMs() != 0)
        Q_EMIT CardShiftChanged(CardShiftMs());
    if (FAwaitingEnd && FCurrentCard < 0 && CanPlay())
        StartCardPlay(-1, std::nullopt);
}

}  // namespace olve
