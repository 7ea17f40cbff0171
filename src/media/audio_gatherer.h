#pragma once

typedef struct _GstElement GstElement;

namespace olve {

// Joins the decoder's small audio buffers into pieces of about a tenth of a second. A sink
// that keeps time wakes once per buffer it gets, and a decoder's buffers last a few
// milliseconds: joined, the sound reaches the sink unchanged with a tenth of the wake-ups.
// Whatever ends or breaks a stretch of sound (a gap in the times, an event, a drain) sends
// the piece gathered so far first; a flush drops it. A floating reference.
GstElement* MakeAudioGatherer();

}  // namespace olve
