// How exactly the media player plays segments, measured from the samples a synchronised
// sink really renders, side by side with a timer-polling player built on the same object.
// Prints figures; it passes or fails nothing.
//
// The material is a click track: a short pulse every 100 ms in silence. A rendered capture
// is located in the source by its first click (the nearest click to the asked start), so
// any error under 50 ms is measured to the sample; the spacing of every later click checks
// that nothing was dropped or repeated in between.

#include <QByteArray>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <gst/gst.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <numeric>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "media/device_error.h"
#include "media/media_player.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int Rate = 44100;
constexpr int ClickSpacing = Rate / 10;
constexpr int ClickAmplitude = 20000;
constexpr int MediaSeconds = 30;
constexpr int SegmentCount = 20;
constexpr int PositionSampleMs = 10;
constexpr int BaselinePollMs = 30;
constexpr int CpuPlayMs = 5000;
constexpr int OpenRepeats = 5;
constexpr const char* TapName = "olvebenchtap";
// How far the slower and faster segments start before and end after a click.
constexpr int EdgeToClickMs = 12;
constexpr double Speeds[] = {0.7, 1.0, 1.3};

// A sink that renders in real time as a sound card would (its handoff fires once the clock
// has reached the buffer), delivering mono 16-bit samples at the source's rate.
const QString TapSink = QString("audioconvert dithering=none ! audioresample ! "
                                "audio/x-raw,format=S16LE,rate=%1,channels=1 ! "
                                "fakesink name=%2 sync=true signal-handoffs=true")
                            .arg(Rate)
                            .arg(TapName);
const QString PlainSink = "fakesink sync=true";

std::int64_t NowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
}

double NsToMs(std::int64_t ns)
{
    return static_cast<double>(ns) / 1e6;
}

double SamplesToMs(double samples)
{
    return samples * 1000.0 / Rate;
}

// ---------------------------------------------------------------------------------------
// What the tap rendered. Filled on the sink's streaming thread.

struct TRendered {
    std::int64_t PassedNs;  // when the sink's clock released it
    std::size_t Offset;     // of its first sample in the capture
    std::size_t Count;
};

struct TCapture {
    std::vector<std::int16_t> Samples;
    std::vector<TRendered> Buffers;
};

std::mutex CaptureMutex;
TCapture Capture;

void ClearCapture()
{
    std::lock_guard lock(CaptureMutex);
    Capture = {};
}

TCapture TakeCapture()
{
    std::lock_guard lock(CaptureMutex);
    return std::exchange(Capture, {});
}

// The tap lives inside the player's pipeline, out of reach; an emission hook sees every
// fakesink's handoff and keeps those of the tap.
gboolean OnHandoff(GSignalInvocationHint*, guint count, const GValue* values, gpointer)
{
    const std::int64_t now = NowNs();
    if (count < 2)
        return TRUE;
    auto* sink = static_cast<GObject*>(g_value_get_object(&values[0]));
    if (!GST_IS_OBJECT(sink) || g_strcmp0(GST_OBJECT_NAME(sink), TapName) != 0)
        return TRUE;
    auto* buffer = static_cast<GstBuffer*>(g_value_get_boxed(&values[1]));
    GstMapInfo map;
    if (!buffer || !gst_buffer_map(buffer, &map, GST_MAP_READ))
        return TRUE;
    const std::size_t samples = map.size / sizeof(std::int16_t);
    {
        std::lock_guard lock(CaptureMutex);
        const std::size_t offset = Capture.Samples.size();
        Capture.Samples.resize(offset + samples);
        std::memcpy(Capture.Samples.data() + offset, map.data, samples * sizeof(std::int16_t));
        Capture.Buffers.push_back({now, offset, samples});
    }
    gst_buffer_unmap(buffer, &map);
    return TRUE;
}

// Which demuxers, parsers and decoders playbin picked, to tell the formats' figures apart.
std::mutex ChainMutex;
std::vector<std::string> Chain;

gboolean OnElementAdded(GSignalInvocationHint*, guint count, const GValue* values, gpointer)
{
    if (count < 2)
        return TRUE;
    auto* object = static_cast<GObject*>(g_value_get_object(&values[1]));
    if (!GST_IS_ELEMENT(object))
        return TRUE;
    GstElementFactory* factory = gst_element_get_factory(GST_ELEMENT(object));
    if (!factory)
        return TRUE;
    const gchar* klass = gst_element_factory_get_metadata(factory, GST_ELEMENT_METADATA_KLASS);
    if (!klass || !(std::strstr(klass, "Decoder") || std::strstr(klass, "Parser") || std::strstr(klass, "Demux")))
        return TRUE;
    const std::string name = gst_plugin_feature_get_name(GST_PLUGIN_FEATURE(factory));
    std::lock_guard lock(ChainMutex);
    if (std::find(Chain.begin(), Chain.end(), name) == Chain.end())
        Chain.push_back(name);
    return TRUE;
}

std::string TakeChain()
{
    std::lock_guard lock(ChainMutex);
    std::string text;
    for (const std::string& name : Chain)
        text += (text.empty() ? "" : " > ") + name;
    Chain.clear();
    return text;
}

void InstallHooks()
{
    // The handoff signal belongs to fakesink's class, which exists once one has been made.
    GstElement* probe = gst_element_factory_make("fakesink", nullptr);
    if (!probe) {
        std::fprintf(stderr, "fakesink is missing\n");
        std::exit(1);
    }
    g_signal_add_emission_hook(g_signal_lookup("handoff", G_OBJECT_TYPE(probe)), 0, &OnHandoff, nullptr, nullptr);
    gst_object_unref(probe);
    g_signal_add_emission_hook(g_signal_lookup("element-added", GST_TYPE_BIN), 0, &OnElementAdded, nullptr, nullptr);
}

// ---------------------------------------------------------------------------------------
// Media

bool RunPipeline(const std::string& description)
{
    GError* error = nullptr;
    GstElement* pipeline = gst_parse_launch(description.c_str(), &error);
    if (error) {
        std::fprintf(stderr, "cannot run %s: %s\n", description.c_str(), error->message);
        g_clear_error(&error);
        if (pipeline)
            gst_object_unref(pipeline);
        return false;
    }
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    GstBus* bus = gst_element_get_bus(pipeline);
    GstMessage* message =
        gst_bus_timed_pop_filtered(bus, 60 * GST_SECOND, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    const bool ok = message && GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS;
    if (!ok)
        std::fprintf(stderr, "pipeline failed: %s\n", description.c_str());
    if (message)
        gst_message_unref(message);
    gst_object_unref(bus);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
    return ok;
}

std::string Quoted(const QString& path)
{
    return "\"" + QFile::encodeName(path).toStdString() + "\"";
}

// A symmetric three-sample pulse: its peak survives the codecs' low-pass filters in place.
std::vector<std::int16_t> ClickTrack()
{
    std::vector<std::int16_t> samples(std::size_t(MediaSeconds) * Rate, 0);
    for (std::size_t at = ClickSpacing; at + 1 < samples.size(); at += ClickSpacing) {
        samples[at - 1] = ClickAmplitude / 2;
        samples[at] = ClickAmplitude;
        samples[at + 1] = ClickAmplitude / 2;
    }
    return samples;
}

bool WriteWav(const QString& path, const std::vector<std::int16_t>& samples)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const auto put32 = [&](std::uint32_t v) {
        const char bytes[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
        file.write(bytes, 4);
    };
    const auto put16 = [&](std::uint16_t v) {
        const char bytes[2] = {char(v), char(v >> 8)};
        file.write(bytes, 2);
    };
    const std::uint32_t dataBytes = std::uint32_t(samples.size() * sizeof(std::int16_t));
    file.write("RIFF", 4);
    put32(36 + dataBytes);
    file.write("WAVEfmt ", 8);
    put32(16);
    put16(1);  // PCM
    put16(1);  // mono
    put32(Rate);
    put32(Rate * 2);
    put16(2);
    put16(16);
    file.write("data", 4);
    put32(dataBytes);
    // The file is little-endian, as is every machine this runs on.
    file.write(reinterpret_cast<const char*>(samples.data()), dataBytes);
    return file.error() == QFileDevice::NoError;
}

std::vector<std::int16_t> ReadRaw(const QString& path)
{
    QFile file(path);
    std::vector<std::int16_t> samples;
    if (!file.open(QIODevice::ReadOnly))
        return samples;
    const QByteArray bytes = file.readAll();
    samples.resize(bytes.size() / sizeof(std::int16_t));
    std::memcpy(samples.data(), bytes.constData(), samples.size() * sizeof(std::int16_t));
    return samples;
}

std::uint32_t ReadBe32(const QByteArray& data, int at)
{
    return std::uint32_t(std::uint8_t(data[at])) << 24 | std::uint32_t(std::uint8_t(data[at + 1])) << 16 |
           std::uint32_t(std::uint8_t(data[at + 2])) << 8 | std::uint32_t(std::uint8_t(data[at + 3]));
}

void WriteBe32(QByteArray& data, int at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        data[at + i] = char(v >> (24 - 8 * i));
}

// xingmux writes a Xing frame too small to carry a LAME tag, so the parser cannot learn the
// encoder's delay. This rewrites that frame as a 64 kbit/s one (mono MPEG-1 layer III at
// 44.1 kHz only, as made here) holding the same fields plus a LAME tag with the given delay,
// as LAME's own front end would have written it.
bool WriteWithLameTag(const QString& in, const QString& out, int encoderDelay, std::size_t sourceSamples)
{
    constexpr int Kbps[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
    constexpr int NewBitrateIndex = 5;
    constexpr int XingAt = 4 + 17;  // header, then mono MPEG-1 side information
    constexpr int LameTagSize = 36;
    QFile source(in);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    const QByteArray data = source.readAll();
    if (data.size() < 256)
        return false;
    const std::uint32_t header = ReadBe32(data, 0);
    const bool monoMpeg1Layer3At44k = (header & 0xFFE00000u) == 0xFFE00000u && ((header >> 19) & 3) == 3 &&
                                      ((header >> 17) & 3) == 1 && ((header >> 10) & 3) == 0 && ((header >> 6) & 3) == 3;
    const QByteArray marker = data.mid(XingAt, 4);
    if (!monoMpeg1Layer3At44k || (marker != "Xing" && marker != "Info"))
        return false;
    const int oldLength = 144 * Kbps[(header >> 12) & 0xF] * 1000 / Rate + int((header >> 9) & 1);
    const int newLength = 144 * Kbps[NewBitrateIndex] * 1000 / Rate;
    const std::uint32_t flags = ReadBe32(data, XingAt + 4);
    if (!(flags & 1) || oldLength <= XingAt)
        return false;
    const std::uint32_t frames = ReadBe32(data, XingAt + 8);
    const int fieldsEnd = XingAt + 8 + (flags & 1 ? 4 : 0) + (flags & 2 ? 4 : 0) + (flags & 4 ? 100 : 0) + (flags & 8 ? 4 : 0);
    if (fieldsEnd + LameTagSize > newLength || fieldsEnd > oldLength)
        return false;

    QByteArray frame(newLength, '\0');
    std::memcpy(frame.data(), data.constData(), fieldsEnd);
    frame[2] = char((NewBitrateIndex << 4) | (std::uint8_t(data[2]) & 0x0D));  // new rate, no padding slot
    if (flags & 2)
        WriteBe32(frame, XingAt + 12, std::uint32_t(data.size() - oldLength + newLength));
    const long padding = long(frames) * 1152 - encoderDelay - long(sourceSamples);
    if (encoderDelay < 0 || encoderDelay > 0xFFF || padding < 0 || padding > 0xFFF)
        return false;
    std::memcpy(frame.data() + fieldsEnd, "LAME3.100", 9);
    frame[fieldsEnd + 9] = 0x01;  // tag revision 0, constant bit rate
    frame[fieldsEnd + 21] = char(encoderDelay >> 4);
    frame[fieldsEnd + 22] = char(((encoderDelay & 0xF) << 4) | (padding >> 8));
    frame[fieldsEnd + 23] = char(padding & 0xFF);

    QFile target(out);
    if (!target.open(QIODevice::WriteOnly))
        return false;
    target.write(frame);
    target.write(data.constData() + oldLength, data.size() - oldLength);
    return target.error() == QFileDevice::NoError;
}

QByteArray Box(const char* type, const QByteArray& payload)
{
    QByteArray box(4, '\0');
    WriteBe32(box, 0, std::uint32_t(8 + payload.size()));
    return box + type + payload;
}

int FindBox(const QByteArray& data, int from, int end, const char* type)
{
    for (int at = from; at + 8 <= end;) {
        const int size = int(ReadBe32(data, at));
        if (size < 8)
            return -1;
        if (data.mid(at + 4, 4) == type)
            return at;
        at += size;
    }
    return -1;
}

// mp4mux tells nothing of the encoder's priming; iTunes-style files tell it in an iTunSMPB
// tag. This adds one to the empty item list that mp4mux writes, in a file whose movie
// header comes last, so that no chunk offset moves.
bool WriteWithPrimingTag(const QString& in, const QString& out, int priming)
{
    QFile source(in);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    QByteArray data = source.readAll();
    const int moov = FindBox(data, 0, int(data.size()), "moov");
    if (moov < 0 || moov + int(ReadBe32(data, moov)) != data.size())
        return false;
    const int udta = FindBox(data, moov + 8, int(data.size()), "udta");
    const int meta = udta < 0 ? -1 : FindBox(data, udta + 8, udta + int(ReadBe32(data, udta)), "meta");
    const int ilst = meta < 0 ? -1 : FindBox(data, meta + 12, meta + int(ReadBe32(data, meta)), "ilst");
    if (ilst < 0)
        return false;
    const QByteArray text = QString::asprintf(" 00000000 %08X 00000000 0000000000000000", priming).toLatin1();
    const QByteArray item = Box("----", Box("mean", QByteArray(4, '\0') + "com.apple.iTunes") +
                                            Box("name", QByteArray(4, '\0') + "iTunSMPB") +
                                            Box("data", QByteArray::fromHex("0000000100000000") + text));
    data.insert(ilst + int(ReadBe32(data, ilst)), item);
    for (const int at : {moov, udta, meta, ilst})
        WriteBe32(data, at, ReadBe32(data, at) + std::uint32_t(item.size()));
    QFile target(out);
    return target.open(QIODevice::WriteOnly) && target.write(data) == data.size();
}

// ---------------------------------------------------------------------------------------
// Finding clicks

// Pulses cut by either edge of a capture are skipped: their peak may be missing.
std::vector<std::size_t> FindClicks(const std::vector<std::int16_t>& x)
{
    constexpr int Threshold = ClickAmplitude * 35 / 100;
    constexpr std::size_t Edge = 48;
    constexpr std::size_t Search = 32;
    std::vector<std::size_t> peaks;
    std::size_t i = 0;
    while (i < x.size()) {
        if (x[i] < Threshold) {
            ++i;
            continue;
        }
        std::size_t best = i;
        for (std::size_t j = i; j < std::min(x.size(), i + Search); ++j)
            if (x[j] > x[best])
                best = j;
        if (best >= Edge && best + Edge < x.size())
            peaks.push_back(best);
        i = best + ClickSpacing / 2;
    }
    return peaks;
}

struct TLocated {
    bool Ok = false;
    double FirstSample = 0;  // source sample index of the capture's first sample
    int Anomalies = 0;       // click spacings that show a gap or a repeat
};

TLocated Locate(const std::vector<std::int16_t>& capture, double askedStartMs)
{
    TLocated result;
    const std::vector<std::size_t> peaks = FindClicks(capture);
    if (peaks.empty())
        return result;
    const double asked = askedStartMs * Rate / 1000.0;
    const double k = std::round((asked + double(peaks[0])) / ClickSpacing);
    result.Ok = true;
    result.FirstSample = k * ClickSpacing - double(peaks[0]);
    for (std::size_t i = 1; i < peaks.size(); ++i) {
        const long gap = long(peaks[i]) - long(peaks[i - 1]);
        if (std::labs(gap - ClickSpacing) > 3)
            ++result.Anomalies;
    }
    return result;
}

// ---------------------------------------------------------------------------------------
// Statistics

struct TSeries {
    std::vector<double> Values;
    void Add(double v) { Values.push_back(v); }
    bool Empty() const { return Values.empty(); }
    double Mean() const
    {
        return Empty() ? NAN : std::accumulate(Values.begin(), Values.end(), 0.0) / double(Values.size());
    }
    double MeanAbs() const
    {
        double sum = 0;
        for (double v : Values)
            sum += std::fabs(v);
        return Empty() ? NAN : sum / double(Values.size());
    }
    double MaxAbs() const
    {
        double most = 0;
        for (double v : Values)
            most = std::max(most, std::fabs(v));
        return Empty() ? NAN : most;
    }
    double Median() const
    {
        if (Empty())
            return NAN;
        std::vector<double> sorted = Values;
        std::sort(sorted.begin(), sorted.end());
        const std::size_t n = sorted.size();
        return n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
    }
    double Max() const { return Empty() ? NAN : *std::max_element(Values.begin(), Values.end()); }
};

// ---------------------------------------------------------------------------------------
// Event loop helpers

void Spin(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

struct TSegment {
    int From;
    int To;
};

// Starts and ends off the clicks, of 250 to 700 ms, spread over the recording.
std::vector<TSegment> Segments()
{
    std::vector<TSegment> segments;
    for (int i = 0; i < SegmentCount; ++i) {
        const int from = 1000 + i * 1370 + 13 + (i * 29) % 70;
        int to = from + 250 + (i * 137) % 450;
        if (to % 100 < 10 || to % 100 > 90)
            to += 23;
        segments.push_back({from, to});
    }
    return segments;
}

// ---------------------------------------------------------------------------------------
// Measurements

struct TFormat {
    const char* Label;
    QString File;
    bool PlaySegments = true;
};

// Files as users have them, made by ffmpeg from the WAV: Vorbis remuxed so that its first
// packet is at 0 (no negative pre-roll), AAC in M4A and MP4 with the priming in an edit list.
// None when ffmpeg is not installed.
void AddFfmpegFormats(const QString& wav, const QTemporaryDir& folder, std::vector<TFormat>& formats)
{
    static const struct {
        const char* Label;
        const char* Name;
        const char* Options;
    } Made[] = {{"OGG ff 0", "ff-zero.ogg", "-c:a libvorbis -avoid_negative_ts make_zero"},
                {"M4A ff", "ff.m4a", "-c:a aac"},
                {"MP4 ff", "ff.mp4", "-c:a aac"}};
    for (const auto& made : Made) {
        const QString file = folder.filePath(made.Name);
        const std::string command = "ffmpeg -nostdin -hide_banner -loglevel error -y -i " + Quoted(wav) + " " +
                                    made.Options + " " + Quoted(file);
        if (std::system(command.c_str()) == 0)
            formats.push_back({made.Label, file});
        else
            std::printf("%s: not made (ffmpeg failed or is missing)\n", made.Label);
    }
}

struct TSegmentFigures {
    TSeries StartError;
    TSeries EndOvershoot;
    int Anomalies = 0;
    int Failures = 0;
};

struct TPlayerFigures {
    TSegmentFigures Segments;
    TSeries Completion;       // notification after the last sample finished
    TSeries PlayToNotify;     // Play() to notification, less the segment's length
    TSeries PositionError;    // Position() against the rendered audio while playing
    TSeries PositionAtPlay;   // Position() just after Play() against the asked start
};

struct TOffsetFigures {
    bool Ok = false;
    double OffsetSamples = 0;   // where a plain decode puts the clicks, relative to the source
    double SpreadSamples = 0;   // largest deviation of single clicks from that offset
    long LengthDifference = 0;  // decoded samples less source samples
    std::string Chain;
};

struct TOpenFigures {
    TSeries Ms;
    std::string Error;
};

// The figures of one capture against its asked segment; false when it cannot be located.
bool AddSegment(TSegmentFigures& figures, const TCapture& capture, const TSegment& segment, TLocated* located)
{
    const TLocated where = Locate(capture.Samples, segment.From);
    if (!where.Ok) {
        ++figures.Failures;
        return false;
    }
    const double askedStart = segment.From * double(Rate) / 1000.0;
    const double askedEnd = segment.To * double(Rate) / 1000.0;
    figures.StartError.Add(SamplesToMs(where.FirstSample - askedStart));
    figures.EndOvershoot.Add(SamplesToMs(where.FirstSample + double(capture.Samples.size()) - askedEnd));
    figures.Anomalies += where.Anomalies;
    if (located)
        *located = where;
    return true;
}

// Where the rendered audio stood at a moment: the last buffer the clock released, advanced
// by the time since, within that buffer. Empty before the first and after the last sample.
std::optional<double> RenderedAt(const TCapture& capture, double firstSample, std::int64_t atNs)
{
    const auto after = std::upper_bound(capture.Buffers.begin(), capture.Buffers.end(), atNs,
                                        [](std::int64_t t, const TRendered& b) { return t < b.PassedNs; });
    if (after == capture.Buffers.begin())
        return std::nullopt;
    const TRendered& buffer = *std::prev(after);
    const double into = double(atNs - buffer.PassedNs) * Rate / 1e9;
    if (after == capture.Buffers.end() && into > double(buffer.Count))
        return std::nullopt;
    return SamplesToMs(firstSample + double(buffer.Offset) + std::min(into, double(buffer.Count)));
}

TPlayerFigures MeasurePlayer(olve::TOlveMediaPlayer& player, const std::vector<TSegment>& segments)
{
    TPlayerFigures figures;
    struct TPositionSample {
        std::int64_t AtNs;
        int Position;
    };
    for (const TSegment& segment : segments) {
        QEventLoop loop;
        std::int64_t notifiedNs = 0;
        player.OnNotify = [&] {
            const std::int64_t now = NowNs();
            if (player.NotifyValue() == olve::nvSuccessful && notifiedNs == 0) {
                notifiedNs = now;
                loop.quit();
            }
        };
        std::vector<TPositionSample> positions;
        QTimer sampler;
        sampler.setTimerType(Qt::PreciseTimer);
        sampler.setInterval(PositionSampleMs);
        QObject::connect(&sampler, &QTimer::timeout, [&] {
            const std::int64_t before = NowNs();
            const int position = player.Position();
            const std::int64_t after = NowNs();
            positions.push_back({before + (after - before) / 2, position});
        });
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);

        ClearCapture();
        player.SetStartPos(segment.From);
        player.SetEndPos(segment.To);
        const std::int64_t playNs = NowNs();
        player.Play();
        figures.PositionAtPlay.Add(player.Position() - segment.From);
        sampler.start();
        guard.start(segment.To - segment.From + 3000);
        loop.exec();
        sampler.stop();
        player.OnNotify = nullptr;

        const TCapture capture = TakeCapture();
        if (notifiedNs == 0 || capture.Buffers.empty()) {
            ++figures.Segments.Failures;
            continue;
        }
        TLocated where;
        if (!AddSegment(figures.Segments, capture, segment, &where))
            continue;
        const TRendered& last = capture.Buffers.back();
        const std::int64_t lastEndsNs = last.PassedNs + std::int64_t(double(last.Count) * 1e9 / Rate);
        figures.Completion.Add(NsToMs(notifiedNs - lastEndsNs));
        figures.PlayToNotify.Add(NsToMs(notifiedNs - playNs) - (segment.To - segment.From));
        for (const TPositionSample& sample : positions)
            if (const auto rendered = RenderedAt(capture, where.FirstSample, sample.AtNs))
                figures.PositionError.Add(sample.Position - *rendered);
    }
    return figures;
}

// What an application without end positions does: play on, poll, stop once past the end.
TSegmentFigures MeasureBaseline(olve::TOlveMediaPlayer& player, const std::vector<TSegment>& segments)
{
    TSegmentFigures figures;
    for (const TSegment& segment : segments) {
        QEventLoop loop;
        QTimer poll;
        poll.setInterval(BaselinePollMs);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (player.Position() >= segment.To || player.Mode() != olve::mpPlaying) {
                player.Stop();
                loop.quit();
            }
        });
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);

        ClearCapture();
        player.SetStartPos(segment.From);
        player.Play();
        poll.start();
        guard.start(segment.To - segment.From + 3000);
        loop.exec();
        poll.stop();
        if (player.Mode() == olve::mpPlaying)
            player.Stop();
        // A buffer the sink was handing over while it stopped still lands in the capture.
        Spin(40);
        AddSegment(figures, TakeCapture(), segment, nullptr);
    }
    return figures;
}

// Segments for the slower and faster plays: each starts a little before a click and ends a
// little after one, so that the first and the last click lie in the stretches the tempo
// filter copies whole, at the recorded speed, from the start (30 ms) and up to the end (36 ms
// or more).
std::vector<TSegment> SpeedSegments()
{
    std::vector<TSegment> segments;
    for (int i = 0; i < SegmentCount; ++i) {
        const int startClick = 10 + i * 13;
        const int endClick = startClick + 3 + (i * 3) % 5;
        segments.push_back({startClick * 100 - EdgeToClickMs - (i % 5) * 2, endClick * 100 + EdgeToClickMs + (i % 4) * 2});
    }
    return segments;
}

// The latest rendered click. Slower play renders some stretches twice, and the segment's last
// piece starts behind where the strides before it had got to, so the last click may be heard
// in the last stride too, a stride earlier. FindClicks keeps the first of pulses closer than
// half a spacing; the copy that tells the end is the one in the last piece, played at the
// recorded speed up to the end: the latest. Searched from the end, it comes first.
std::optional<std::size_t> LastClick(const std::vector<std::int16_t>& x)
{
    const std::vector<std::size_t> fromEnd = FindClicks(std::vector<std::int16_t>(x.rbegin(), x.rend()));
    if (fromEnd.empty())
        return std::nullopt;
    return x.size() - 1 - fromEnd.front();
}

// Stretched audio keeps no single time scale, so the start is located by the first click and
// the end by the last one, each with the samples between it and the capture's edge.
bool AddStretchedSegment(TSegmentFigures& figures, const TCapture& capture, const TSegment& segment, double speed)
{
    const std::vector<std::size_t> peaks = FindClicks(capture.Samples);
    const std::optional<std::size_t> last = LastClick(capture.Samples);
    if (peaks.empty() || !last) {
        ++figures.Failures;
        return false;
    }
    const double askedStart = segment.From * double(Rate) / 1000.0;
    const double askedEnd = segment.To * double(Rate) / 1000.0;
    const double first = double(peaks.front());
    const double lastToEdge = double(capture.Samples.size()) - double(*last);
    const double firstClick = std::round((askedStart + first * speed) / ClickSpacing) * ClickSpacing;
    const double lastClick = std::round((askedEnd - lastToEdge * speed) / ClickSpacing) * ClickSpacing;
    figures.StartError.Add(SamplesToMs(firstClick - first - askedStart));
    figures.EndOvershoot.Add(SamplesToMs(lastClick + lastToEdge - askedEnd));
    return true;
}

TSegmentFigures MeasureAtSpeed(olve::TOlveMediaPlayer& player, const std::vector<TSegment>& segments, double speed)
{
    TSegmentFigures figures;
    player.SetSpeed(speed);
    for (const TSegment& segment : segments) {
        QEventLoop loop;
        bool ended = false;
        player.OnNotify = [&] {
            ended = player.NotifyValue() == olve::nvSuccessful;
            loop.quit();
        };
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
        ClearCapture();
        player.SetStartPos(segment.From);
        player.SetEndPos(segment.To);
        player.Play();
        guard.start(int((segment.To - segment.From) / speed) + 3000);
        loop.exec();
        player.OnNotify = nullptr;
        const TCapture capture = TakeCapture();
        if (!ended || capture.Buffers.empty() || player.Position() != segment.To) {
            ++figures.Failures;
            continue;
        }
        AddStretchedSegment(figures, capture, segment, speed);
    }
    player.SetSpeed(1.0);
    return figures;
}

TOffsetFigures MeasureDecodeOffset(const QString& file, const QString& rawOut, std::size_t sourceSamples)
{
    TOffsetFigures figures;
    TakeChain();
    if (!RunPipeline("filesrc location=" + Quoted(file) +
                     " ! decodebin ! audioconvert dithering=none ! audioresample ! audio/x-raw,format=S16LE,rate=" +
                     std::to_string(Rate) + ",channels=1 ! filesink location=" + Quoted(rawOut)))
        return figures;
    figures.Chain = TakeChain();
    const std::vector<std::int16_t> decoded = ReadRaw(rawOut);
    QFile::remove(rawOut);
    TSeries offsets;
    for (const std::size_t peak : FindClicks(decoded)) {
        const double k = std::round(double(peak) / ClickSpacing);
        offsets.Add(double(peak) - k * ClickSpacing);
    }
    if (offsets.Empty())
        return figures;
    figures.Ok = true;
    figures.OffsetSamples = offsets.Median();
    for (double v : offsets.Values)
        figures.SpreadSamples = std::max(figures.SpreadSamples, std::fabs(v - figures.OffsetSamples));
    figures.LengthDifference = long(decoded.size()) - long(sourceSamples);
    return figures;
}

TOpenFigures MeasureOpen(const QString& file)
{
    TOpenFigures figures;
    // The first open of a format also loads its plug-ins; that one is not counted.
    for (int i = 0; i <= OpenRepeats; ++i) {
        olve::TOlveMediaPlayer player;
        player.FileName = file;
        player.AudioSink = PlainSink;
        const std::int64_t start = NowNs();
        try {
            player.Open();
        } catch (const olve::EMCIDeviceError& error) {
            figures.Error = error.what();
            return figures;
        }
        if (i > 0)
            figures.Ms.Add(NsToMs(NowNs() - start));
    }
    return figures;
}

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Percent of one core the whole process uses while the player plays; negative on failure.
double MeasureCpu(const QString& file)
{
    olve::TOlveMediaPlayer player;
    player.FileName = file;
    player.AudioSink = PlainSink;
    try {
        player.Open();
    } catch (const olve::EMCIDeviceError&) {
        return -1;
    }
    QEventLoop loop;
    bool ended = false;
    player.OnNotify = [&] {
        ended = player.NotifyValue() == olve::nvSuccessful;
        loop.quit();
    };
    QTimer::singleShot(CpuPlayMs + 3000, &loop, &QEventLoop::quit);
    const double cpuBefore = CpuSeconds();
    const std::int64_t wallBefore = NowNs();
    player.SetStartPos(0);
    player.SetEndPos(CpuPlayMs);
    player.Play();
    loop.exec();
    const double cpu = CpuSeconds() - cpuBefore;
    const double wall = double(NowNs() - wallBefore) / 1e9;
    player.OnNotify = nullptr;
    return ended ? 100.0 * cpu / wall : -1;
}

// ---------------------------------------------------------------------------------------
// Printing

std::string Fixed(double v, int decimals = 2)
{
    if (std::isnan(v))
        return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%+.*f", decimals, v);
    return text;
}

std::string Unsigned(double v, int decimals = 2)
{
    if (std::isnan(v))
        return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, v);
    return text;
}

const char* Verdict(bool met)
{
    return met ? "met" : "MISSED";
}

void PrintSegmentRow(const char* format, const char* method, const TSegmentFigures& f, const std::string& extra)
{
    std::printf("%-10s %-8s %8s %8s %8s | %8s %8s %8s | %4d %4d  %s\n", format, method, Fixed(f.StartError.Mean()).c_str(),
                Unsigned(f.StartError.MeanAbs()).c_str(), Unsigned(f.StartError.MaxAbs()).c_str(),
                Fixed(f.EndOvershoot.Mean()).c_str(), Unsigned(f.EndOvershoot.MeanAbs()).c_str(),
                Unsigned(f.EndOvershoot.MaxAbs()).c_str(), f.Anomalies, f.Failures, extra.c_str());
}

bool WithinMs(const TSeries& s, double limit)
{
    return !s.Empty() && s.MaxAbs() <= limit;
}

struct TResult {
    const char* Label;
    TPlayerFigures Player;
    TSegmentFigures Baseline;
    std::vector<TSegmentFigures> AtSpeeds;
    std::string Chain;
    bool Ok = false;
};

void PrintOpenTable(const std::vector<TFormat>& formats)
{
    std::printf("Open() to ready (ms, %d opens after one untimed)\n", OpenRepeats);
    std::printf("%-10s %8s %8s\n", "format", "median", "max");
    for (const TFormat& format : formats) {
        const TOpenFigures f = MeasureOpen(format.File);
        if (!f.Error.empty())
            std::printf("%-10s open failed: %s\n", format.Label, f.Error.c_str());
        else
            std::printf("%-10s %8.1f %8.1f\n", format.Label, f.Ms.Median(), f.Ms.Max());
    }
    std::printf("\n");
}

void PrintSegmentTable(const std::vector<TResult>& results)
{
    std::printf("Segment accuracy (ms; %d segments of 250-700 ms; rendered samples located by their clicks)\n",
                SegmentCount);
    std::printf("player: one Play() with SetStartPos/SetEndPos; timer: Play() from the start with no end,\n");
    std::printf("Position() polled every %d ms by a QTimer, Stop() once it reaches the end.\n", BaselinePollMs);
    std::printf("%-10s %-8s %8s %8s %8s | %8s %8s %8s | %4s %4s\n", "", "", "start", "", "", "end", "", "", "",
                "");
    std::printf("%-10s %-8s %8s %8s %8s | %8s %8s %8s | %4s %4s  %s\n", "format", "method", "mean", "mean|e|",
                "max|e|", "mean", "mean|e|", "max|e|", "gaps", "fail", "goal: start and end within 1 ms");
    for (const TResult& r : results) {
        if (!r.Ok)
            continue;
        const TSegmentFigures& p = r.Player.Segments;
        const bool met = p.Failures == 0 && WithinMs(p.StartError, 1.0) && WithinMs(p.EndOvershoot, 1.0);
        PrintSegmentRow(r.Label, "player", p, Verdict(met));
        const double ratio = r.Baseline.EndOvershoot.MeanAbs() / std::max(p.EndOvershoot.MeanAbs(), 0.01);
        PrintSegmentRow("", "timer", r.Baseline, "end overshoot timer/player: " + Unsigned(ratio, ratio < 10 ? 1 : 0) + "x");
    }
    std::printf("(start: first rendered sample less the asked start; end: rendered past the asked end;\n");
    std::printf(" gaps: click spacings off by more than 3 samples; player/timer ratio of mean|e|, player floored "
                "at 0.01 ms)\n");
    for (const TResult& r : results) {
        if (!r.Ok || r.Player.Segments.StartError.Empty())
            continue;
        const TSeries& s = r.Player.Segments.StartError;
        const double offset = s.Median();
        double spread = 0;
        for (double v : s.Values)
            spread = std::max(spread, std::fabs(v - offset));
        std::printf("  %-10s constant start offset %+7.2f ms (%+5.0f samples), the rest within %.2f ms;  %s\n", r.Label,
                    offset, offset * Rate / 1000.0, spread, r.Chain.c_str());
    }
    std::printf("\n");
}

void PrintSpeedTable(const std::vector<TResult>& results)
{
    std::printf("Segment accuracy at other speeds (ms; %d segments of 300-700 ms, each starting %d-%d ms before\n",
                SegmentCount, EdgeToClickMs, EdgeToClickMs + 8);
    std::printf("a click and ending %d-%d ms after one; pitch kept by the tempo filter, so the start is located by\n",
                EdgeToClickMs, EdgeToClickMs + 6);
    std::printf("the first rendered click and the end by the last; 1.0x repeats these segments as a reference)\n");
    std::printf("%-10s %-8s %8s %8s %8s | %8s %8s %8s | %4s %4s  %s\n", "format", "speed", "mean", "mean|e|", "max|e|",
                "mean", "mean|e|", "max|e|", "", "fail", "goal: start and end within 1 ms");
    for (const TResult& r : results) {
        if (!r.Ok)
            continue;
        for (std::size_t i = 0; i < r.AtSpeeds.size(); ++i) {
            const TSegmentFigures& f = r.AtSpeeds[i];
            const bool met = f.Failures == 0 && WithinMs(f.StartError, 1.0) && WithinMs(f.EndOvershoot, 1.0);
            char speed[16];
            std::snprintf(speed, sizeof speed, "%.1fx", Speeds[i]);
            PrintSegmentRow(i == 0 ? r.Label : "", speed, f, Verdict(met));
        }
    }
    std::printf("(start: first rendered click's source position less its distance from the capture's start, less\n");
    std::printf(" the asked start; end: last rendered click's position plus its distance to the capture's end,\n");
    std::printf(" less the asked end; fail: no notification, or Position() other than the end afterwards;\n");
    std::printf(" the tempo filter plays a segment's first 30 ms and at least its last 36 ms at the recorded\n");
    std::printf(" speed, which hold the first and the last click; a click rendered twice, as slower play\n");
    std::printf(" does, counts at its first copy for the start and at its last for the end)\n\n");

}

void PrintCompletionTable(const std::vector<TResult>& results)
{
    std::printf("Completion and position (ms)\n");
    std::printf("%-10s %17s %12s %24s %17s\n", "", "notify after last", "Play>notify", "Position() - rendered",
                "Position() after");
    std::printf("%-10s %8s %8s %12s %8s %7s %7s %8s %8s\n", "format", "mean", "max|e|", "less length", "mean",
                "max|e|", "samples", "Play() off", "max|e|");
    for (const TResult& r : results) {
        if (!r.Ok)
            continue;
        const TPlayerFigures& p = r.Player;
        const bool met = WithinMs(p.Completion, 5.0) && WithinMs(p.PositionError, 5.0);
        const auto wrongAtPlay =
            std::count_if(p.PositionAtPlay.Values.begin(), p.PositionAtPlay.Values.end(), [](double e) {
                return std::fabs(e) > 5.0;
            });
        const std::string atPlay = std::to_string(wrongAtPlay) + "/" + std::to_string(p.PositionAtPlay.Values.size());
        std::printf("%-10s %8s %8s %12s %8s %7s %7zu %10s %8s  %s\n", r.Label, Fixed(p.Completion.Mean()).c_str(),
                    Unsigned(p.Completion.MaxAbs()).c_str(), Fixed(p.PlayToNotify.Mean()).c_str(),
                    Fixed(p.PositionError.Mean()).c_str(), Unsigned(p.PositionError.MaxAbs()).c_str(),
                    p.PositionError.Values.size(), atPlay.c_str(), Unsigned(p.PositionAtPlay.MaxAbs(), 0).c_str(),
                    Verdict(met));
    }
    std::printf("(notify after last: OnNotify less the moment the last rendered sample finished, goal within 5;\n");
    std::printf(" Play>notify less length: wall time from Play() to OnNotify less the segment's length;\n");
    std::printf(" Position() - rendered: read every %d ms while audio renders, against the source position\n",
                PositionSampleMs);
    std::printf(" of the sample being rendered at that moment, goal within 5 (verdict covers these two);\n");
    std::printf(" Position() after Play(): reads off by more than 5 ms from the asked start right after Play())\n\n");

}

void PrintCpu(const std::vector<TFormat>& formats)
{
    std::printf("CPU while playing (fakesink sync=true, %d ms, whole process)\n", CpuPlayMs);
    for (const TFormat& format : {formats[0], formats[2]}) {
        const double percent = MeasureCpu(format.File);
        if (percent < 0)
            std::printf("%-10s failed\n", format.Label);
        else
            std::printf("%-10s %6.2f %% of one core   goal under 3 %%: %s\n", format.Label, percent,
                        Verdict(percent < 3.0));
    }
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    gst_init(&argc, &argv);
    InstallHooks();
    // Only the table at other speeds: a quicker turn while working on the tempo filter.
    const bool speedsOnly = argc > 1 && std::strcmp(argv[1], "--speeds-only") == 0;
    // Only WAV and the files made by ffmpeg: a quicker turn while working on their formats.
    const bool ffmpegOnly = argc > 1 && std::strcmp(argv[1], "--ffmpeg-only") == 0;
    const std::int64_t runStart = NowNs();

    QTemporaryDir folder;
    if (!folder.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    const QString wav = folder.filePath("clicks.wav");
    const std::vector<std::int16_t> source = ClickTrack();
    const std::string wavSource = "filesrc location=" + Quoted(wav) + " ! wavparse ! audioconvert ! ";
    std::vector<TFormat> formats = {
        {"WAV", wav},
        {"OGG", folder.filePath("clicks.ogg")},
        {"MP3", folder.filePath("clicks.mp3")},
        {"MP3 plain", folder.filePath("clicks-plain.mp3"), false},
        {"MP4", folder.filePath("clicks.mp4")},
        {"M4A plain", folder.filePath("clicks-plain.m4a"), false},
    };
    // The MP4 carries a small picture as films do, so that its end waits for a video sink too.
    const std::string mp4Video = "videotestsrc num-buffers=" + std::to_string(MediaSeconds * 10) +
                                 " ! video/x-raw,width=160,height=120,framerate=10/1 ! x264enc ! mux. ";
    if (!WriteWav(wav, source) ||
        !RunPipeline(wavSource + "vorbisenc ! oggmux ! filesink location=" + Quoted(formats[1].File)) ||
        !RunPipeline(wavSource + "lamemp3enc ! xingmux ! filesink location=" + Quoted(formats[2].File)) ||
        !RunPipeline(wavSource + "lamemp3enc ! filesink location=" + Quoted(formats[3].File)) ||
        !RunPipeline(wavSource + "avenc_aac ! mp4mux name=mux ! filesink location=" + Quoted(formats[4].File) + " " +
                     mp4Video) ||
        !RunPipeline(wavSource + "voaacenc ! mp4mux ! filesink location=" + Quoted(formats[5].File))) {
        std::fprintf(stderr, "cannot make the test media\n");
        return 1;
    }

    std::printf("Olve Player segment benchmark: %d s click tracks (a pulse every 100 ms, mono %d Hz)\n", MediaSeconds,
                Rate);
    std::printf("MP3: lamemp3enc ! xingmux (Xing frame, no LAME tag); MP3 plain: no Xing frame either;\n");
    std::printf("MP3 tagged: the MP3 with a LAME tag giving the encoder delay measured below.\n");
    std::printf("MP4: avenc_aac ! mp4mux with a 160x120 H.264 picture, no word of the priming (one frame assumed);\n");
    std::printf("M4A plain: voaacenc ! mp4mux, sound only; M4A: the same with an iTunSMPB tag giving the priming "
                "measured below.\n");
    std::printf("OGG ff 0: ffmpeg libvorbis -avoid_negative_ts make_zero; M4A ff, MP4 ff: ffmpeg -c:a aac (edit list).\n\n");

    // -- Where plain decoding puts the clicks: the codecs' own constant offsets.
    std::printf("Decoder offsets (whole file through decodebin, clicks against the source)\n");
    std::printf("%-10s %10s %9s %8s %12s  %s\n", "format", "offset smp", "offset ms", "jitter", "length diff", "chain");
    const auto printOffset = [&](const TFormat& format) {
        const TOffsetFigures f = MeasureDecodeOffset(format.File, folder.filePath("decoded.raw"), source.size());
        if (!f.Ok)
            std::printf("%-10s decoding failed\n", format.Label);
        else
            std::printf("%-10s %+10.0f %+9.2f %8.0f %+12ld  %s\n", format.Label, f.OffsetSamples,
                        SamplesToMs(f.OffsetSamples), f.SpreadSamples, f.LengthDifference, f.Chain.c_str());
        return f;
    };
    double mp3Offset = 0;
    double m4aOffset = 0;
    for (const TFormat& format : formats) {
        const TOffsetFigures f = printOffset(format);
        if (&format == &formats[2] && f.Ok)
            mp3Offset = f.OffsetSamples;
        if (&format == &formats[5] && f.Ok)
            m4aOffset = f.OffsetSamples;
    }
    // Decoders add 529 samples of their own, which the parser also takes off once tagged.
    constexpr int DecoderDelay = 529;
    const int encoderDelay = int(mp3Offset) - DecoderDelay;
    const QString tagged = folder.filePath("clicks-tagged.mp3");
    if (encoderDelay > 0 && WriteWithLameTag(formats[2].File, tagged, encoderDelay, source.size())) {
        formats.push_back({"MP3 tagged", tagged});
        printOffset(formats.back());
    } else {
        std::printf("MP3 tagged: not made (no positive encoder delay, or an unexpected first frame)\n");
    }
    const QString m4a = folder.filePath("clicks.m4a");
    if (m4aOffset > 0 && WriteWithPrimingTag(formats[5].File, m4a, int(m4aOffset))) {
        formats.push_back({"M4A", m4a});
        printOffset(formats.back());
    } else {
        std::printf("M4A: not made (no positive priming, or an unexpected file layout)\n");
    }
    const std::size_t made = formats.size();
    AddFfmpegFormats(wav, folder, formats);
    for (std::size_t i = made; i < formats.size(); ++i)
        printOffset(formats[i]);
    if (ffmpegOnly)
        for (std::size_t i = 1; i < made; ++i)
            formats[i].PlaySegments = false;
    std::printf("(offset > 0: the audio comes later than its timestamps say; length diff: decoded less source "
                "samples;\n jitter: largest deviation of one click from the offset, samples)\n\n");

    if (!speedsOnly)
        PrintOpenTable(formats);

    // -- Segments, completion and position, per format.
    const std::vector<TSegment> segments = Segments();
    const std::vector<TSegment> speedSegments = SpeedSegments();
    std::vector<TResult> results;
    for (const TFormat& format : formats) {
        if (!format.PlaySegments)
            continue;
        TResult result{format.Label, {}, {}, {}, {}, false};
        olve::TOlveMediaPlayer player;
        player.FileName = format.File;
        player.AudioSink = TapSink;
        TakeChain();
        try {
            player.Open();
            result.Chain = TakeChain();
            if (!speedsOnly) {
                result.Player = MeasurePlayer(player, segments);
                result.Baseline = MeasureBaseline(player, segments);
            }
            for (const double speed : Speeds)
                result.AtSpeeds.push_back(MeasureAtSpeed(player, speedSegments, speed));
            result.Ok = true;
        } catch (const olve::EMCIDeviceError& error) {
            std::printf("%s: open failed: %s\n", format.Label, error.what());
        }
        player.Close();
        results.push_back(std::move(result));
    }

    if (!speedsOnly)
        PrintSegmentTable(results);
    PrintSpeedTable(results);
    if (!speedsOnly) {
        PrintCompletionTable(results);
        PrintCpu(formats);
    }
    std::printf("\nRun took %.0f s.\n", double(NowNs() - runStart) / 1e9);
    return 0;
}
