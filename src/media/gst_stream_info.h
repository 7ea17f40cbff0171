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
    bool HasVideo = false;
    QSize NaturalSize;
};

// Reads the file again where GStreamer cannot tell (MP3 padding, MP3 without a length), so
// it can block as long as the file does.
TGstStreamInfo ReadStreamInfo(GstElement* pipeline, const QString& fileName);

}  // namespace olve
