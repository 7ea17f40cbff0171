#include "media/pulled_bytes.h"

#include <gst/gst.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace olve {

namespace {

struct TPatching {
    std::string Factory;
    std::function<std::vector<TBytePatch>()> Make;
};

// Replaces the bytes of a pulled buffer that the patches cover.
GstPadProbeReturn ApplyPatches(GstPad*, GstPadProbeInfo* info, gpointer data)
{
    GstBuffer* buffer = GST_PAD_PROBE_INFO_BUFFER(info);
    if (!buffer)
        return GST_PAD_PROBE_OK;
    const std::uint64_t begin = info->offset;
    const std::uint64_t end = begin + gst_buffer_get_size(buffer);
    for (const TBytePatch& patch : *static_cast<const std::vector<TBytePatch>*>(data)) {
        const std::uint64_t from = std::max(begin, patch.Offset);
        const std::uint64_t to = std::min(end, patch.Offset + patch.Bytes.size());
        if (from >= to)
            continue;
        buffer = gst_buffer_make_writable(buffer);
        gst_buffer_fill(buffer, from - begin, patch.Bytes.data() + (from - patch.Offset), to - from);
        GST_PAD_PROBE_INFO_DATA(info) = buffer;
    }
    return GST_PAD_PROBE_OK;
}

void PatchElement(GstBin*, GstBin*, GstElement* element, gpointer data)
{
    const auto& patching = *static_cast<const TPatching*>(data);
    GstElementFactory* factory = gst_element_get_factory(element);
    if (!factory || patching.Factory != gst_plugin_feature_get_name(GST_PLUGIN_FEATURE(factory)))
        return;
    auto patches = std::make_unique<std::vector<TBytePatch>>(patching.Make());
    GstPad* pad = patches->empty() ? nullptr : gst_element_get_static_pad(element, "sink");
    if (!pad)
        return;
    gst_pad_add_probe(pad, GstPadProbeType(GST_PAD_PROBE_TYPE_PULL | GST_PAD_PROBE_TYPE_BUFFER), &ApplyPatches,
                      patches.release(), [](gpointer p) { delete static_cast<std::vector<TBytePatch>*>(p); });
    gst_object_unref(pad);
}

}  // namespace

void PatchPulledBytes(GstElement* pipeline, const char* factory, std::function<std::vector<TBytePatch>()> make)
{
    g_signal_connect_data(pipeline, "deep-element-added", G_CALLBACK(&PatchElement),
                          new TPatching{factory, std::move(make)},
                          [](gpointer p, GClosure*) { delete static_cast<TPatching*>(p); }, GConnectFlags(0));
}

}  // namespace olve
