#include "media/media_player.h"

#include <QEventLoop>
#include <QMetaObject>
#include <QWidget>
#include <algorithm>

#include "media/device_error.h"
#include "media/gst_session.h"
#include "media/video_surface.h"
#include "timing/playback_speed.h"
#include "timing/positions.h"

namespace olve {

namespace {

// The device's error codes that this player reports.
constexpr int ErrorInvalidDevice = 257;
constexpr int ErrorHardware = 262;
constexpr int ErrorOutOfRange = 282;
constexpr int ErrorBadTimeFormat = 293;

constexpr int SettleTimeoutMs = 3000;
// Longer than a sound server can be behind its clock when a stream starts (an idle sink plays
// from up to 2 s of silence it has already made).
constexpr int DrainPauseMs = 2500;

const double MinSpeed = SpeedFactor(SlowestSpeedTenths);
const double MaxSpeed = SpeedFactor(FastestSpeedTenths);

QString TextOfError(int error)
{
    switch (error) {
    case ErrorInvalidDevice:
        return "The specified device is not open.";
    case ErrorOutOfRange:
        return "The specified parameter is out of range for the specified command.";
    case ErrorBadTimeFormat:
        return "The specified value for the time format is invalid.";
    default:
        return {};
    }
}

}  // namespace

TOlveMediaPlayer::TOlveMediaPlayer(QObject* parent) : QObject(parent)
{
    setObjectName("OlvePlayerNet");
    FDrainPause.setSingleShot(true);
    FDrainPause.setInterval(DrainPauseMs);
    connect(&FDrainPause, &QTimer::timeout, this, [this] {
        if (FSession && FMode == mpStopped)
            FSession->SetPlaying(false);
    });
}

TOlveMediaPlayer::~TOlveMediaPlayer()
{
    FNotifyPending = false;
    delete FSurface;
    FSession.reset();
}

void TOlveMediaPlayer::RequireDevice() const
{
    if (!FSession)
        throw EMCIDeviceError(NoDeviceText);
}

bool TOlveMediaPlayer::TakeNotify()
{
    const bool notify = FNotifyFlag.value_or(false);
    FNotifyFlag.reset();
    return notify;
}

bool TOlveMediaPlayer::TakeWait()
{
    const bool wait = FWaitFlag.value_or(false);
    FWaitFlag.reset();
    return wait;
}

void TOlveMediaPlayer::SetStartPos(int position)
{
    FStartPos = position;
    FStartPending = true;
}

void TOlveMediaPlayer::SetEndPos(int position)
{
    FEndPos = position;
    FEndPending = true;
}

void TOlveMediaPlayer::SetNotify(bool notify)
{
    FNotifyFlag = notify;
}

void TOlveMediaPlayer::SetWait(bool wait)
{
    FWaitFlag = wait;
}

// Notifications arrive as messages do: after the command that caused them has returned.
void TOlveMediaPlayer::PostNotify(TMPNotifyValues value)
{
    QMetaObject::invokeMethod(this, [this, value] {
        FNotifyValue = value;
        if (OnNotify)
            OnNotify();
    }, Qt::QueuedConnection);
}

void TOlveMediaPlayer::EndPendingNotify(TMPNotifyValues value)
{
    if (!FNotifyPending)
        return;
    FNotifyPending = false;
    PostNotify(value);
}

void TOlveMediaPlayer::Open()
{
    if (FSession)
        Close();
    FNotifyFlag.reset();
    FWaitFlag.reset();
    if (DeviceType == dtCDAudio)
        throw EMCIDeviceError("No audio CD drive can be opened here.");
    auto session = std::make_unique<TGstSession>(FileName, AudioSink);
    const std::string error = session->Open(OpenTimeoutMs);
    if (!error.empty())
        throw EMCIDeviceError(error);

    FSession = std::move(session);
    FSession->OnEndOfSegment = [this] { SegmentEnded(); };
    FSession->OnError = [this](const std::string& text) { PlaybackFailed(text); };
    FSession->SetVolume(FVolume / 65535.0);
    FDeviceID = ++FOpenCount;
    FMode = mpStopped;
    FEndedAt.reset();
    FSegmentStart = 0;
    FResumedFrom.reset();
    FError = 0;
    FErrorText.clear();
    AttachVideo();
}

void TOlveMediaPlayer::Close()
{
    FNotifyFlag.reset();
    FWaitFlag.reset();
    if (!FSession) {
        FError = ErrorInvalidDevice;
        return;
    }
    EndPendingNotify(nvAborted);
    delete FSurface;
    FSession.reset();
    FDeviceID = 0;
    FMode = mpNotReady;
    FEndedAt.reset();
    FStartPending = FEndPending = false;
    if (FWaitLoop)
        FWaitLoop->quit();
}

void TOlveMediaPlayer::Play()
{
    RequireDevice();
    const bool notify = FNotifyFlag.value_or(true);
    FNotifyFlag.reset();
    const bool wait = TakeWait();
    const bool hasStart = FStartPending;
    const bool hasEnd = FEndPending;
    FStartPending = FEndPending = false;

    const qint64 length = Length();
    qint64 from = hasStart ? FStartPos : Position();
    if (!hasStart && !hasEnd && AutoRewind && from == length)
        from = 0;
    const qint64 to = hasEnd ? FEndPos : -1;
    if (from < 0 || from > length || (to >= 0 && to < from)) {
        FError = ErrorOutOfRange;
        return;
    }
    EndPendingNotify(notify ? nvSuperseded : nvAborted);
    StartSegment(from, to, notify, wait);
}

void TOlveMediaPlayer::StartSegment(qint64 from, qint64 to, bool notify, bool wait)
{
    FDrainPause.stop();
    FEndedAt.reset();
    FSegmentStart = from;
    FResumedFrom.reset();
    FSegmentEnd = to;
    FError = 0;
    // Sought while paused and started once the first samples are ready, so that the sound
    // server's clock starts with the segment rather than running ahead of it.
    FSession->SetPlaying(false);
    FSession->Seek(from, to, FSpeed);
    FSession->WaitUntilSettled(SettleTimeoutMs);
    FSession->SetPlaying(true);
    FMode = mpPlaying;
    FNotifyPending = notify;
    if (wait)
        WaitWhilePlaying();
}

void TOlveMediaPlayer::WaitWhilePlaying()
{
    QEventLoop loop;
    FWaitLoop = &loop;
    if (FMode == mpPlaying)
        loop.exec();
    FWaitLoop = nullptr;
}

void TOlveMediaPlayer::SegmentEnded()
{
    if (FMode != mpPlaying)
        return;
    FMode = mpStopped;
    // A sound server's stream left running on empty keeps a clock that can stop short of the
    // next segment's end: its completion never came and nothing more was heard. It is paused,
    // but only once the server has surely played the end: the end is told when the server's
    // clock says so, and a stream that has just started can be behind it (the first play
    // through an idle sink is), so an immediate pause cut the last 15-30 ms of that segment.
    // The next play pauses before it starts anyway.
    FDrainPause.start();
    const qint64 length = FSession->DurationMs();
    FEndedAt = FSegmentEnd >= 0 ? std::min(FSegmentEnd, length) : length;
    if (FNotifyPending) {
        FNotifyPending = false;
        FNotifyValue = nvSuccessful;
        if (OnNotify)
            OnNotify();
    }
    if (FWaitLoop)
        FWaitLoop->quit();
}

void TOlveMediaPlayer::PlaybackFailed(const std::string& text)
{
    if (!FSession)
        return;
    FError = ErrorHardware;
    FErrorText = QString::fromStdString(text);
    FSession->SetPlaying(false);
    FMode = mpStopped;
    EndPendingNotify(nvFailure);
    if (FWaitLoop)
        FWaitLoop->quit();
}

void TOlveMediaPlayer::Pause()
{
    RequireDevice();
    // Pausing uses the default flags; resuming uses those of a play.
    const bool notify = FNotifyFlag.value_or(FMode == mpPaused);
    FNotifyFlag.reset();
    FWaitFlag.reset();
    if (FMode == mpPlaying) {
        if (notify)
            EndPendingNotify(nvSuperseded);
        FSession->SetPlaying(false);
        FMode = mpPaused;
        if (notify)
            PostNotify(nvSuccessful);
    } else if (FMode == mpPaused) {
        if (notify)
            EndPendingNotify(nvSuperseded);
        const qint64 held = Position();
        if (!FSession->SetPlaying(true)) {
            Play();
            return;
        }
        FResumedFrom = held;
        FMode = mpPlaying;
        if (notify)
            FNotifyPending = true;
    }
}

void TOlveMediaPlayer::Stop()
{
    RequireDevice();
    const bool notify = TakeNotify();
    FWaitFlag.reset();
    EndPendingNotify(nvAborted);
    if (FMode == mpPlaying || FMode == mpPaused) {
        FSession->SetPlaying(false);
        FMode = mpStopped;
    }
    if (notify)
        PostNotify(nvSuccessful);
    if (FWaitLoop)
        FWaitLoop->quit();
}

int TOlveMediaPlayer::Position()
{
    if (!FSession)
        return 0;
    if (FEndedAt)
        return static_cast<int>(*FEndedAt);
    // Right after a flushing seek the pipeline cannot answer until the new segment is ready.
    const qint64 position = FSession->PositionMs().value_or(FSegmentStart);
    if (FResumedFrom && position < *FResumedFrom)
        return static_cast<int>(*FResumedFrom);
    FResumedFrom.reset();
    return static_cast<int>(position);
}

void TOlveMediaPlayer::SetPosition(int position)
{
    RequireDevice();
    const bool notify = TakeNotify();
    FWaitFlag.reset();
    if (position < 0 || position > Length()) {
        FError = ErrorOutOfRange;
        return;
    }
    EndPendingNotify(nvAborted);
    FSession->SetPlaying(false);
    FSession->Seek(position, -1, FSpeed);
    FSegmentStart = position;
    FResumedFrom.reset();
    FSession->WaitUntilSettled(SettleTimeoutMs);
    FEndedAt.reset();
    FMode = mpStopped;
    FError = 0;
    if (notify)
        PostNotify(nvSuccessful);
}

int TOlveMediaPlayer::Length()
{
    RequireDevice();
    return static_cast<int>(FSession->DurationMs());
}

int TOlveMediaPlayer::Mode() const
{
    return FSession ? FMode : mpNotReady;
}

int TOlveMediaPlayer::TimeFormat()
{
    RequireDevice();
    return TimeFormatMilliseconds;
}

void TOlveMediaPlayer::SetTimeFormat(int format)
{
    FNotifyFlag.reset();
    FWaitFlag.reset();
    if (!FSession) {
        FError = ErrorInvalidDevice;
        return;
    }
    if (format != TimeFormatMilliseconds) {
        FError = ErrorBadTimeFormat;
        return;
    }
    FError = 0;
    EndPendingNotify(nvSuperseded);
    PostNotify(nvSuccessful);
}

int TOlveMediaPlayer::Tracks()
{
    RequireDevice();
    return 1;
}

int TOlveMediaPlayer::TrackLength(int track)
{
    RequireDevice();
    if (track != 1) {
        FError = ErrorOutOfRange;
        return 0;
    }
    return Length();
}

QString TOlveMediaPlayer::ErrorMessage() const
{
    if (FError == 0)
        return {};
    if (!FErrorText.isEmpty())
        return FErrorText;
    const QString text = TextOfError(FError);
    return text.isEmpty() ? QString::fromUtf8(UnknownErrorText) : text;
}

void TOlveMediaPlayer::SetDisplay(QWidget* display)
{
    if (FDisplay == display)
        return;
    delete FSurface;
    FDisplay = display;
    AttachVideo();
}

void TOlveMediaPlayer::AttachVideo()
{
    if (!FSession)
        return;
    const bool show = FDisplay && FSession->HasVideo();
    FSession->SetWantFrames(show);
    if (!show) {
        FSession->OnFrame = nullptr;
        return;
    }
    if (!FSurface)
        FSurface = new TVideoSurface(FDisplay);
    const QPointer<TVideoSurface> surface = FSurface;
    FSession->OnFrame = [surface](const TVideoFrame& frame) {
        if (surface)
            surface->SetFrame(frame);
    };
    FSurface->SetFrame(FSession->LatestFrame());
    SetDisplayRect(FDisplayRect);
    FSurface->show();
}

QRect TOlveMediaPlayer::DisplayRect() const
{
    return FSurface ? FSurface->geometry() : FDisplayRect;
}

void TOlveMediaPlayer::SetDisplayRect(const QRect& rect)
{
    if (!FSession || !FSession->HasVideo())
        return;
    FDisplayRect = rect;
    if (!FSurface)
        return;
    if (rect.width() == 0 && rect.height() == 0)
        FSurface->setGeometry(QRect(rect.topLeft(), FSession->NaturalSize()));
    else
        FSurface->setGeometry(rect);
    // What lies outside the display is never seen, so frames need not be larger than it.
    const QSize seen = FDisplay ? FSurface->size().boundedTo(FDisplay->size()) : FSurface->size();
    FSession->SetFrameBound(seen * FSurface->devicePixelRatioF());
}

bool TOlveMediaPlayer::HasVideo() const
{
    return FSession && FSession->HasVideo();
}

QSize TOlveMediaPlayer::NaturalSize() const
{
    return FSession ? FSession->NaturalSize() : QSize();
}

void TOlveMediaPlayer::SetVolume(int volume)
{
    FVolume = std::clamp(volume, 0, 65535);
    if (FSession)
        FSession->SetVolume(FVolume / 65535.0);
}

void TOlveMediaPlayer::SetSpeed(double speed)
{
    FSpeed = std::clamp(speed, MinSpeed, MaxSpeed);
    if (!FSession || (FMode != mpPlaying && FMode != mpPaused))
        return;
    // The rate lives in the seek, so a new one from here to the same end carries the new rate.
    const qint64 from = Position();
    FSegmentStart = from;
    FResumedFrom.reset();
    FSession->Seek(from, FSegmentEnd, FSpeed);
}

TOlveTimeFormat TOlveMediaPlayer::MTimeFormat()
{
    if (!FSession)
        return otfTMSF;
    return ClassifyTimeFormat(TimeFormat());
}

std::uint32_t TOlveMediaPlayer::PackedToMilliseconds(std::uint32_t p)
{
    return olve::PackedToMilliseconds(p);
}

}  // namespace olve
