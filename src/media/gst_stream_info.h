#pragma once
#include <QSize>
#include <QString>

typedef struct _GstElement GstElement;

namespace olve {

// What a prerolled playbin tells about its recording.
struct TGstStreamInfo {
    qint64 DurationMs = 0;
    // Padding at the start of the decoded stream that GStreamer leaves in: stream positions
    // are this much behind the recording's own.
    qint64 StartPaddingNs = 0;
    // How much later than a segment's stop the demuxer must be told to stop for the sound up
    // to the stop to come out (an MP4 edit list's skip); the player cuts it at the stop.
    qint64 StopPaddingNs = 0;
    // How much earlier than a segment's start decoding must begin for the sound at the start
    // to be whole: an AAC frame's sound is half made by the frame before it.
    qint64 StartRollNs = 0;
    bool HasAudio = false;
    bool HasVideo = false;
    QSize NaturalSize;
};

// Reads the file again where GStreamer cannot tell (MP3 padding, MP3 without a length), so
// it can block as long as the file does.
TGstStreamInfo ReadStreamInfo(GstElement* pipeline, const QString& fileName);

}  // namespace olve
