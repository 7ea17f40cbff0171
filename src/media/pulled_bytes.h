#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

typedef struct _GstElement GstElement;

namespace olve {

// Bytes of a file to be read as other bytes.
struct TBytePatch {
    std::uint64_t Offset = 0;
    std::string Bytes;
};

// Makes every element of the factory that the pipeline (or a bin inside it) gets read what it
// pulls with the patches that make gives when the element is added. make runs on GStreamer's
// thread and may read the file; a demuxer fed by pushing (a pipe) never meets the patches.
void PatchPulledBytes(GstElement* pipeline, const char* factory, std::function<std::vector<TBytePatch>()> make);

}  // namespace olve
