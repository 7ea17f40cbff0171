#pragma once

typedef struct _GstElement GstElement;

namespace olve {

// playbin's audio filter: plays each segment at its rate with the pitch kept. What one
// segment left queued never reaches the next, and a segment's sound runs out to its end
// before the end is passed on: at any rate a segment starts and ends where it was asked to.
// A floating reference, or null when GStreamer's audioconvert is missing.
GstElement* MakeTempoFilter();

}  // namespace olve
