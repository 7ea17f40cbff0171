#pragma once
#include <string>
#include <vector>

#include "media/pulled_bytes.h"

namespace olve {

// The Ogg demuxer times every packet from its page's granule position, header packets too,
// relative to the stream's first sample. Header pages carry granule 0, so in a stream whose
// first sample lies after time 0 (Vorbis remuxed with its first packet at 0 or later, Vorbis
// or Opus starting later) a header packet read again after a seek near the start seems to lie
// before the stream and, as an unsigned time, far past any stop: the demuxer ends the
// segment before anything has played. Header packets have no time of their own, and a page
// may say so with granule -1.
//
// The patches that give each header page granule -1, with its checksum made anew: the pages
// of every logical stream that carry granule 0 before its first timed page (sound begins on
// a page of its own). None for a file that is not a regular Ogg file or whose headers are
// not found in bounds.
std::vector<TBytePatch> OggHeaderPagePatches(const std::string& path);

// Makes every Ogg demuxer that the pipeline (or a bin inside it) gets read the header pages of
// the file at path with those patches applied. Nothing for what is not a regular file: a
// second reader of a pipe would take the pipeline's data.
void MendOggDemuxers(GstElement* pipeline, const std::string& path);

}  // namespace olve
