#pragma once
#include <QObject>
#include <QSize>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "media/gst_stream_info.h"
#include "media/segment_reach.h"
#include "media/segment_cut.h"
#include "media/video_frame.h"

typedef struct _GstElement GstElement;
typedef struct _GstSample GstSample;

namespace olve {

class TGstPipelineKeeper;

// One opened media file in a GStreamer playbin. Messages from GStreamer's threads reach
// the callbacks on the thread this object lives on (the GUI thread), never elsewhere.
// Opening and destroying never wait longer than their time-outs for the file: a pipeline
// that stops answering is left to its keeper.
class TGstSession : public QObject {
    Q_OBJECT
public:
    // audioSink: a pipeline description for the sound, or empty for the default output.
    // Without pictures a video is played as its sound alone, and no video element is loaded.
    TGstSession(const QString& fileName, const QString& audioSink, bool pictures = true);
    ~TGstSession() override;
    TGstSession(const TGstSession&) = delete;
    TGstSession& operator=(const TGstSession&) = delete;

    // Prerolls the media. Returns the error text, or an empty string once it is ready.
    std::string Open(int timeoutMs);

    qint64 DurationMs() const { return FInfo.DurationMs; }
    bool HasVideo() const { return FInfo.HasVideo; }
    QSize NaturalSize() const { return FInfo.NaturalSize; }

    // One flushing, accurate seek to fromMs that ends playback at toMs (-1: at the end),
    // played at rate times the recorded speed.
    bool Seek(qint64 fromMs, qint64 toMs, double rate = 1.0);
    // Playing starts a little ahead of the clock, so that a sound server hears the first sample.
    bool SetPlaying(bool playing);
    // Waits until a seek or state change has taken effect, so that the position is the new one.
    void WaitUntilSettled(int timeoutMs);
    std::optional<qint64> PositionMs() const;
    void SetVolume(double volume);

    // The end of the segment of the latest seek, once it has played; a segment that ended
    // without playing is an error.
    std::function<void()> OnEndOfSegment;
    std::function<void(const std::string&)> OnError;
    // The latest video frame, when frames are wanted.
    std::function<void(const TVideoFrame&)> OnFrame;
    void SetWantFrames(bool want);
    // Frames come scaled down to fit this size (in device pixels), at once and after a change.
    void SetFrameBound(QSize bound);
    // The frame shown last (the first one after opening), or a null frame.
    TVideoFrame LatestFrame() const;

private:
    friend class TGstPipelineKeeper;
    void AddFrameSink();
    // From GStreamer's threads, through the keeper.
    void PostError(const std::string& text);
    void PostEndOfStream(unsigned seqnum);
    void TakeSample(GstSample* sample);
    void DeliverFrame();
    std::string UnplayedReason() const;
    std::optional<qint64> ReachedMs() const;

    QString FFileName;
    // Owned by the keeper, which outlives this session when the file stops answering.
    GstElement* FPipeline = nullptr;
    // Owned by the pipeline: the size the frames are scaled to.
    GstElement* FFrameFilter = nullptr;
    std::shared_ptr<TGstPipelineKeeper> FKeeper;
    TGstStreamInfo FInfo;
    std::atomic<unsigned> FSeekSeqnum{0};
    bool FPictures = true;
    qint64 FSegmentFromMs = 0;
    qint64 FSegmentToMs = -1;
    // Where a segment that ended without playing got to.
    std::optional<qint64> FUnplayedAt;
    std::shared_ptr<TSegmentReach> FReach = std::make_shared<TSegmentReach>();
    std::shared_ptr<TSegmentCut> FCut = std::make_shared<TSegmentCut>();

    mutable std::mutex FFrameMutex;
    GstSample* FLatestSample = nullptr;
    bool FFramePosted = false;
    std::atomic<bool> FWantFrames{false};
};

}  // namespace olve
