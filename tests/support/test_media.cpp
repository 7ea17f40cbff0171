#include "support/test_media.h"

#include <gst/gst.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace {

std::string Tone(int seconds)
{
    return "audiotestsrc wave=sine freq=440 samplesperbuffer=4410 num-buffers=" + std::to_string(seconds * 10) +
           " ! audio/x-raw,rate=44100,channels=1";
}

}  // namespace

bool MakeMedia(const std::string& description, const std::string& out, const std::function<void(GstElement*)>& feed)
{
    if (!gst_is_initialized())
        gst_init(nullptr, nullptr);
    std::string pipeline = description;
    pipeline.replace(pipeline.find("{out}"), 5, "\"" + out + "\"");
    GError* error = nullptr;
    GstElement* element = gst_parse_launch(pipeline.c_str(), &error);
    if (error) {
        g_clear_error(&error);
        if (element)
            gst_object_unref(element);
        return false;
    }
    gst_element_set_state(element, GST_STATE_PLAYING);
    if (feed)
        feed(element);
    GstBus* bus = gst_element_get_bus(element);
    GstMessage* message =
        gst_bus_timed_pop_filtered(bus, 60 * GST_SECOND, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    const bool ok = message && GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS;
    if (message)
        gst_message_unref(message);
    gst_object_unref(bus);
    gst_element_set_state(element, GST_STATE_NULL);
    gst_object_unref(element);
    return ok;
}

bool MakeWav(const std::string& out, int seconds)
{
    return MakeMedia(Tone(seconds) + " ! wavenc ! filesink location={out}", out);
}

bool MakeOgg(const std::string& out, int seconds)
{
    return MakeMedia(Tone(seconds) + " ! audioconvert ! vorbisenc ! oggmux ! filesink location={out}", out);
}

bool MakeMp3(const std::string& out, int seconds)
{
    return MakeMedia(Tone(seconds) + " ! audioconvert ! lamemp3enc ! xingmux ! filesink location={out}", out);
}

bool MakeAvi(const std::string& out, int width, int height, int frames)
{
    return MakeMedia("videotestsrc num-buffers=" + std::to_string(frames) + " ! video/x-raw,width=" +
                         std::to_string(width) + ",height=" + std::to_string(height) +
                         ",framerate=25/1 ! jpegenc ! avimux ! filesink location={out}",
                     out);
}

bool Ffmpeg(const std::string& in, const std::string& options, const std::string& out)
{
    return std::system(("ffmpeg -nostdin -hide_banner -loglevel error -y -i \"" + in + "\" " + options + " \"" + out + "\"")
                           .c_str()) == 0;
}

namespace {

// Ogg's page checksum (polynomial 0x04C11DB7, no reflection), taken with its field as zeros.
std::uint32_t OggChecksum(std::string page)
{
    std::fill_n(page.begin() + 22, 4, '\0');
    std::uint32_t crc = 0;
    for (const char byte : page) {
        crc ^= std::uint32_t(std::uint8_t(byte)) << 24;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
    }
    return crc;
}

}  // namespace

bool MakeOggWithDamagedHeader(const std::string& out, int seconds)
{
    const std::string wav = out + ".wav";
    if (!MakeWav(wav, seconds) || !Ffmpeg(wav, "-c:a libvorbis -avoid_negative_ts make_zero", out))
        return false;
    std::ifstream in(out, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    if (bytes.size() < 64)
        return false;
    const std::size_t second = 27 + std::uint8_t(bytes[26]) + std::uint8_t(bytes[27]);
    if (second + 27 > bytes.size() || bytes.compare(second, 4, "OggS") != 0)
        return false;
    std::size_t size = 27 + std::uint8_t(bytes[second + 26]);
    for (std::size_t i = 0; i < std::uint8_t(bytes[second + 26]); ++i)
        size += std::uint8_t(bytes[second + 27 + i]);
    bytes[second + 6] = 1;
    const std::uint32_t crc = OggChecksum(bytes.substr(second, size));
    for (int i = 0; i < 4; ++i)
        bytes[second + 22 + std::size_t(i)] = char(crc >> (8 * i));
    return bool(std::ofstream(out, std::ios::binary) << bytes);
}

std::vector<std::int16_t> ReadRawSamples(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::vector<std::int16_t> samples(bytes.size() / 2);
    if (!samples.empty())
        std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

std::vector<double> ClickMs(const std::vector<std::int16_t>& samples, int rate)
{
    std::vector<double> clicks;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (std::abs(samples[i]) < 8000)
            continue;
        clicks.push_back((double(i) - 2) * 1000.0 / rate);
        i += std::size_t(rate / 20);
    }
    return clicks;
}
