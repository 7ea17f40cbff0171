#include "lesson/lesson_player.h"

#include <algorithm>
#include <cstdio>

#include "media/device_error.h"
#include "timing/tick_wait.h"

namespace olve {

TLessonPlayer::TLessonPlayer(QObject* parent) : QObject(parent), FPlayer(std::make_unique<TOlveMediaPlayer>())
{
    FPlayer->OnNotify = [this] { PlayerNotify(); };
    FTicks.setTimerType(Qt::PreciseTimer);
    FTicks.setInterval(FirstTickMs);
    connect(&FTicks, &QTimer::timeout, this, &TLessonPlayer::TickNow);
    FShadow.setSingleShot(true);
    connect(&FShadow, &QTimer::timeout, this, [this] { StartCardPlay(FWaitingCard, std::nullopt); });
    if (qEnvironmentVariableIsSet("OLVE_PLAY_LOG"))
        FPlayLog.start();
    FollowCardSync();
}

TLessonPlayer::~TLessonPlayer()
{
    // A notification still queued must not reach a lesson that is gone.
    FPlayer->OnNotify = nullptr;
}

void TLessonPlayer::Open(TPlayPackage& package)
{
    FShadow.stop();
    FPackage = &package;
    FCardUnitsStale = true;
    auto stale = [this](TPlayCards&) {
        FCardUnitsStale = true;
        Q_EMIT CardsChanged();
    };
    package.MainCards.OnChange = stale;
    package.VcdCards.OnChange = stale;
    FAdjustment.Open(package.MainCards);
    ++FOpenings;
    FPracticeRun.Reset(package.MainCards.Count());
    FCurrentCard = -1;
    FAwaitingEnd = false;
    FLastTickPosition = -1;
    FShownPosition = 0;
    Q_EMIT CardsChanged();
    // A loop belongs to the cards of the title it was chosen in.
    if (FPractice.Loop) {
        FPractice.Loop = false;
        Q_EMIT PracticeChanged();
    }
}

bool TLessonPlayer::CanPlay() const
{
    return FPackage && FPlayer->DeviceID() != 0 && FPackage->MainCards.Count() > 0;
}

const TCardTimeline& TLessonPlayer::Timeline()
{
    if (FCardUnitsStale && FPackage) {
        FTimeline.Assign(FPackage->MainCards, FPackage->VcdCards);
        FCardUnitsStale = false;
    }
    return FTimeline;
}

void TLessonPlayer::PlayCard(int n, std::optional<std::int64_t> from)
{
    FShadow.stop();
    Q_EMIT CardChosen();
    if (!CanPlay())
        return;
    if (n < Timeline().Count())
        FPracticeRun.Begin(std::max(n, 0));
    StartCardPlay(n, from);
}

void TLessonPlayer::StartCardPlay(int n, std::optional<std::int64_t> from)
{
    if (!CanPlay())
        return;
    std::optional<TSegment> segment = Timeline().Segment(n, PlaysOneCard(), FPlayer->Length());
    if (!segment) {
        Q_EMIT NoMoreCards();
        return;
    }
    if (from)
        segment->From = std::clamp(*from, segment->From, segment->To);
    try {
        FPlayer->SetStartPos(static_cast<int>(segment->From));
        FPlayer->SetEndPos(static_cast<int>(segment->To));
    } catch (const EMCIDeviceError& e) {
        Q_EMIT PlayFailed(QString::fromUtf8(e.what()));
        return;
    }
    FLastTickPosition = -1;
    FAwaitingEnd = true;
    LogPlay(QStringLiteral("play card %1 from %2 to %3").arg(std::max(n, 0) + 1).arg(segment->From).arg(segment->To));
    if (n < 0) {
        FCurrentCard = -1;
        Q_EMIT TopShown();
    }
    try {
        FPlayer->SetNotify(true);
        FPlayer->Play();
    } catch (const EMCIDeviceError& e) {
        FAwaitingEnd = false;
        Q_EMIT PlayFailed(QString::fromUtf8(e.what()));
        return;
    }
    if (FPlayer->Error() == 0) {
        StartTicks();
        // The new card shows at once rather than one tick later.
        TickNow();
        Q_EMIT PlayStarted(n);
    }
}

void TLessonPlayer::Here(std::optional<int> chosen)
{
    if (!CanPlay())
        return;
    if (FPlayer->Mode() == mpPaused) {
        FPlayer->SetNotify(false);
        FPlayer->Pause();
        Q_EMIT PauseChanged(false);
        StartTicks();
        return;
    }
    PlayCard(chosen.value_or(FCurrentCard));
}

void TLessonPlayer::Stop()
{
    FShadow.stop();
    FAwaitingEnd = false;
    if (!CanPlay())
        return;
    FPlayer->SetNotify(true);
    FPlayer->Stop();
    Q_EMIT PauseChanged(false);
}

void TLessonPlayer::Pause()
{
    FShadow.stop();
    if (!CanPlay())
        return;
    FPlayer->SetNotify(false);
    FPlayer->Pause();
    const bool paused = FPlayer->Mode() == mpPaused;
    Q_EMIT PauseChanged(paused);
    paused ? StopTicks() : StartTicks();
}

void TLessonPlayer::SetAutoPause(bool on)
{
    FAutoPause = on;
    if (CanPlay() && FPlayer->Mode() == mpPlaying && !FPractice.CardByCard())
        RunToNewEnd();
    Q_EMIT AutoPauseChanged(on);
}

void TLessonPlayer::RunToNewEnd()
{
    FPlayer->SetNotify(false);
    FPlayer->Stop();
    FPlayer->SetEndPos(static_cast<int>(Timeline().AutoPauseEnd(FCurrentCard, PlaysOneCard(), FPlayer->Length())));
    FPlayer->SetNotify(true);
    FPlayer->Play();
    StartTicks();
}

void TLessonPlayer::SetSpeedTenths(int tenths)
{
    FSpeedTenths = ClampSpeedTenths(tenths);
    FPlayer->SetSpeed(SpeedFactor(FSpeedTenths));
    Q_EMIT SpeedChanged(FSpeedTenths);
    // The ticks slept for the old speed.
    if (FTicks.isActive())
        TickNow();
}

void TLessonPlayer::PlayerNotify()
{
    // Notifications arrive after the command that caused them. While the player plays, any
    // of them belongs to an earlier command (a superseded play, or a stop or pause that a new
    // play has already followed): the running play's own end comes with the player stopped.
    if (FPlayer->Mode() == mpPlaying)
        return;
    StopTicks();
    if (FPlayer->NotifyValue() != nvFailure) {
        CheckPlayEnded();
        return;
    }
    // A play that failed was not heard: nothing moves on from it.
    FAwaitingEnd = false;
    const QString reason = FPlayer->ErrorMessage();
    LogPlay(QStringLiteral("card %1 failed: %2").arg(FCurrentCard + 1).arg(reason));
    Q_EMIT PlayFailed(reason);
}

// The running play has stopped where it was to end (not by the learner's stop).
void TLessonPlayer::CheckPlayEnded()
{
    if (!FAwaitingEnd || FPlayer->Mode() != mpStopped || FPlayer->Position() != FPlayer->EndPos())
        return;
    FAwaitingEnd = false;
    LogPlay(QStringLiteral("card %1 ended at %2").arg(FCurrentCard + 1).arg(FPlayer->Position()));
    PlayEnded();
}

void TLessonPlayer::LogPlay(const QString& line)
{
    if (!FPlayLog.isValid())
        return;
    std::fprintf(stderr, "%lld ms: %s\n", static_cast<long long>(FPlayLog.elapsed()), line.toUtf8().constData());
    std::fflush(stderr);
}

TFailure PlayFailure(const QString& reason)
{
    return {TFailureKind::Failed, "再生できませんでした", "The recording could not be played.", reason.toStdString()};
}

}  // namespace olve
