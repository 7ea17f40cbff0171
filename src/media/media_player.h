#pragma once
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QTimer>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "media/media_types.h"
#include "media/video_surface.h"
#include "timing/media_time_formats.h"
#include "timing/media_type.h"

class QEventLoop;

namespace olve {

class TGstSession;

// The media player: opens one recording, plays segments of it between two positions and
// tells when a play has ended. Positions and lengths are milliseconds. Commands on a
// closed player that need a device raise EMCIDeviceError.
class TOlveMediaPlayer : public QObject, public TMediaTimeFormats {
    Q_OBJECT
public:
    explicit TOlveMediaPlayer(QObject* parent = nullptr);
    ~TOlveMediaPlayer() override;

    QString FileName;
    TMPDeviceTypes DeviceType = dtAutoSelect;
    bool Shareable = false;
    bool AutoRewind = true;
    TMediaType MediaType = mtNone;
    // Where the sound goes, as a GStreamer pipeline description ("fakesink sync=true");
    // empty for the desktop's default output.
    QString AudioSink;
    // How long Open waits for the file to preroll and again for its length; a file that
    // does not answer in time (a network share that hangs) fails to open.
    int OpenTimeoutMs = 10000;
    // Raised on the GUI thread when a command that asked for notification has ended.
    std::function<void()> OnNotify;

    void Open();
    void Close();
    // 0 exactly when no device is open.
    int DeviceID() const { return FDeviceID; }

    // Pending for the next Play only.
    int StartPos() const { return FStartPos; }
    void SetStartPos(int position);
    int EndPos() const { return FEndPos; }
    void SetEndPos(int position);
    // Pending for the next command only.
    void SetNotify(bool notify);
    void SetWait(bool wait);

    void Play();
    // Pauses while playing, resumes while paused, else does nothing.
    void Pause();
    void Stop();
    int Position();
    void SetPosition(int position);
    int Length();
    // TMPModes: 0 not ready ... 6 open.
    int Mode() const;
    int TimeFormat();
    void SetTimeFormat(int format);
    int Tracks();
    int TrackLength(int track);
    int Error() const { return FError; }
    QString ErrorMessage() const;
    TMPNotifyValues NotifyValue() const { return FNotifyValue; }

    QWidget* Display() const { return FDisplay; }
    void SetDisplay(QWidget* display);
    // Left, top, width, height inside Display; zero width and height mean the natural size.
    QRect DisplayRect() const;
    void SetDisplayRect(const QRect& rect);
    bool HasVideo() const;
    QSize NaturalSize() const;
    TVideoSurface* VideoSurface() const { return FSurface; }

    // The player's stream volume, 0 to 65535; kept across opens.
    int Volume() const { return FVolume; }
    void SetVolume(int volume);

    // How fast segments play, 0.5 to 1.5 times the recorded speed with the pitch kept; kept
    // across opens. A change reaches a running play at once, which still ends where it would.
    double Speed() const { return FSpeed; }
    void SetSpeed(double speed);

    TOlveTimeFormat MTimeFormat();
    // The player keeps no list of media: every index has millisecond positions.
    TOlveTimeFormat MediaTimeFormat(int) const override { return otfTrackMilliseconds; }
    static std::uint32_t PackedToMilliseconds(std::uint32_t p);

private:
    void RequireDevice() const;
    bool TakeNotify();
    bool TakeWait();
    void EndPendingNotify(TMPNotifyValues value);
    void PostNotify(TMPNotifyValues value);
    void StartSegment(qint64 from, qint64 to, bool notify, bool wait);
    void WaitWhilePlaying();
    void SegmentEnded();
    void PlaybackFailed(const std::string& text);
    void AttachVideo();

    std::unique_ptr<TGstSession> FSession;
    int FDeviceID = 0;
    int FOpenCount = 0;
    int FStartPos = 0;
    int FEndPos = 0;
    bool FStartPending = false;
    bool FEndPending = false;
    std::optional<bool> FNotifyFlag;
    std::optional<bool> FWaitFlag;
    TMPModes FMode = mpNotReady;
    // Where a segment ended, reported as the position until the next play or seek.
    std::optional<qint64> FEndedAt;
    qint64 FSegmentEnd = -1;
    // Where the latest play or seek started: the position until the pipeline can tell.
    qint64 FSegmentStart = 0;
    // Where a resumed play went on from. The pipeline's clock restarts the start lead behind
    // it: the position reported stays here until the sound has got back to it.
    std::optional<qint64> FResumedFrom;
    bool FNotifyPending = false;
    TMPNotifyValues FNotifyValue = nvSuccessful;
    int FError = 0;
    QString FErrorText;
    int FVolume = 65535;
    double FSpeed = 1.0;
    QPointer<QWidget> FDisplay;
    QRect FDisplayRect;
    QPointer<TVideoSurface> FSurface;
    QEventLoop* FWaitLoop = nullptr;
    // Pauses the output a while after a segment has ended (see SegmentEnded).
    QTimer FDrainPause;
};

}  // namespace olve
