#pragma once
#include <QImage>
#include <QObject>
#include <QSize>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

typedef struct _GstElement GstElement;
typedef struct _GstMessage GstMessage;
typedef struct _GstSample GstSample;

namespace olve {

// One opened media file in a GStreamer playbin. Messages from GStreamer's threads reach
// the callbacks on the thread this object lives on (the GUI thread), never elsewhere.
class TGstSession : public QObject {
    Q_OBJECT
public:
    // audioSink: a pipeline description for the sound, or empty for the default output.
    TGstSession(const QString& fileName, const QString& audioSink);
    ~TGstSession() override;
    TGstSession(const TGstSession&) = delete;
    TGstSession& operator=(const TGstSession&) = delete;

    // Prerolls the media. Returns the error text, or an empty string once it is ready.
    std::string Open(int timeoutMs);

    qint64 DurationMs() const { return FDurationMs; }
    bool HasVideo() const { return FHasVideo; }
    QSize NaturalSize() const { return FNaturalSize; }

    // One flushing, accurate seek to fromMs that ends playback at toMs (-1: at the end).
    bool Seek(qint64 fromMs, qint64 toMs);
    bool SetPlaying(bool playing);
    // Waits until a seek or state change has taken effect, so that the position is the new one.
    void WaitUntilSettled(int timeoutMs);
    std::optional<qint64> PositionMs() const;
    void SetVolume(double volume);

    // The end of the segment of the latest seek.
    std::function<void()> OnEndOfSegment;
    std::function<void(const std::string&)> OnError;
    // The latest video frame, when frames are wanted.
    std::function<void(const QImage&)> OnFrame;
    void SetWantFrames(bool want);
    // The frame shown last (the first one after opening), or a null image.
    QImage LatestFrame() const;

private:
    friend struct TGstCallbacks;
    void HandleMessage(GstMessage* message);
    void TakeSample(GstSample* sample);
    void DeliverFrame();
    void ReadStreamInfo();
    qint64 ScanDurationMs() const;

    QString FFileName;
    GstElement* FPipeline = nullptr;
    GstElement* FVideoSink = nullptr;
    qint64 FDurationMs = 0;
    // Padding at the start of the decoded stream that GStreamer leaves in: stream positions
    // are this much behind the recording's own.
    qint64 FStartPaddingNs = 0;
    bool FHasVideo = false;
    QSize FNaturalSize;
    std::atomic<unsigned> FSeekSeqnum{0};

    // Opening: filled by GStreamer's threads, waited for by Open.
    std::mutex FOpenMutex;
    std::condition_variable FOpenChanged;
    bool FOpenDone = false;
    std::string FOpenError;

    mutable std::mutex FFrameMutex;
    GstSample* FLatestSample = nullptr;
    bool FFramePosted = false;
    std::atomic<bool> FWantFrames{false};
};

}  // namespace olve
