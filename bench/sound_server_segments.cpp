// Segment after segment in one player session, as the practice loop plays them, through a
// real sound server and, beside it, through a fake sink. Prints figures; it passes or fails
// nothing.
//
// The sound server is the PulseAudio daemon that bench/run-segments.sh starts for this run
// (PULSE_SERVER names it), with a null sink whose monitor parec records sample by sample for
// the whole session. The material is made by ffmpeg as users have their files: a click every
// 100 ms over a quiet hum, so that every sample of a segment is sound and the silence the
// server plays between segments is exact zeros. A segment's capture is one stretch of sound;
// its start and end are found in the recording as ffmpeg decodes it, where the capture's first
// and last 28 ms match it sample by sample. (Clicks alone cannot tell: AAC encoding leaves
// some of them at less than half their height.)

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <gst/gst.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "media/device_error.h"
#include "media/media_player.h"
#include "support/sound_server.h"

namespace {

constexpr int Rate = 44100;
constexpr int ClickSpacing = Rate / 10;
constexpr int ClickAmplitude = 20000;
constexpr int HumAmplitude = 1500;
constexpr double HumHz = 110.0;
constexpr int MediaSeconds = 30;
constexpr int SegmentCount = 20;
// How far segments start before and end after a click, so that each edge holds one.
constexpr int EdgeToClickMs = 12;
// Zeros longer than this part two segments; a gap inside one shows as an extra stretch.
constexpr std::size_t SilenceSamples = Rate / 100;
constexpr int LateLimitMs = 3000;
constexpr const char* TapName = "olvesessiontap";
constexpr const char* DefaultSink = "olvebench";

using Clock = std::chrono::steady_clock;

// Each segment's figures on stderr (--each).
bool Verbose = false;

double SamplesToMs(double samples)
{
    return samples * 1000.0 / Rate;
}

double MsSince(Clock::time_point t)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

// ---------------------------------------------------------------------------------------
// The fake sink's capture: one vector per segment, filled on the sink's streaming thread.

const QString TapSink = QString("audioconvert dithering=none ! audioresample ! "
                                "audio/x-raw,format=S16LE,rate=%1,channels=1 ! "
                                "fakesink name=%2 sync=true signal-handoffs=true")
                            .arg(Rate)
                            .arg(TapName);

std::mutex TapMutex;
std::vector<std::int16_t> Tapped;

gboolean OnHandoff(GSignalInvocationHint*, guint count, const GValue* values, gpointer)
{
    if (count < 2)
        return TRUE;
    auto* sink = static_cast<GObject*>(g_value_get_object(&values[0]));
    if (!GST_IS_OBJECT(sink) || g_strcmp0(GST_OBJECT_NAME(sink), TapName) != 0)
        return TRUE;
    auto* buffer = static_cast<GstBuffer*>(g_value_get_boxed(&values[1]));
    GstMapInfo map;
    if (!buffer || !gst_buffer_map(buffer, &map, GST_MAP_READ))
        return TRUE;
    const auto* data = reinterpret_cast<const std::int16_t*>(map.data);
    {
        std::lock_guard lock(TapMutex);
        Tapped.insert(Tapped.end(), data, data + map.size / sizeof(std::int16_t));
    }
    gst_buffer_unmap(buffer, &map);
    return TRUE;
}

std::vector<std::int16_t> TakeTapped()
{
    std::lock_guard lock(TapMutex);
    return std::exchange(Tapped, {});
}

void InstallTapHook()
{
    GstElement* probe = gst_element_factory_make("fakesink", nullptr);
    if (!probe) {
        std::fprintf(stderr, "fakesink is missing\n");
        std::exit(1);
    }
    g_signal_add_emission_hook(g_signal_lookup("handoff", G_OBJECT_TYPE(probe)), 0, &OnHandoff, nullptr, nullptr);
    gst_object_unref(probe);
}

// ---------------------------------------------------------------------------------------
// Material

std::vector<std::int16_t> Signal()
{
    std::vector<std::int16_t> samples(std::size_t(MediaSeconds) * Rate);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = std::int16_t(std::lround(HumAmplitude * std::sin(2 * M_PI * HumHz * double(i) / Rate)));
    for (std::size_t at = ClickSpacing; at + 1 < samples.size(); at += ClickSpacing) {
        samples[at - 1] = std::int16_t(samples[at - 1] + ClickAmplitude / 2);
        samples[at] = std::int16_t(samples[at] + ClickAmplitude);
        samples[at + 1] = std::int16_t(samples[at + 1] + ClickAmplitude / 2);
    }
    return samples;
}

bool WriteRaw(const QString& path, const std::vector<std::int16_t>& samples)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const auto bytes = qint64(samples.size() * sizeof(std::int16_t));
    return file.write(reinterpret_cast<const char*>(samples.data()), bytes) == bytes;
}

std::vector<std::int16_t> ReadRaw(const QString& path)
{
    QFile file(path);
    std::vector<std::int16_t> samples;
    if (!file.open(QIODevice::ReadOnly))
        return samples;
    const QByteArray bytes = file.readAll();
    samples.resize(std::size_t(bytes.size()) / sizeof(std::int16_t));
    std::memcpy(samples.data(), bytes.constData(), samples.size() * sizeof(std::int16_t));
    return samples;
}

bool RunQuietly(const QString& program, const QStringList& arguments, int timeoutMs = 120000)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        std::fprintf(stderr, "%s failed:\n%s\n", qPrintable(program), process.readAll().constData());
        return false;
    }
    return true;
}

struct TFormat {
    const char* Label;
    QString File;
    QStringList Encoding;
};

// Plain ffmpeg commands, as users make their files; the MP4 carries a small picture as films do.
std::vector<TFormat> Formats(const QDir& folder)
{
    const QStringList picture = {"-f", "lavfi", "-i", QString("testsrc=size=160x120:rate=10:duration=%1").arg(MediaSeconds)};
    return {
        {"WAV", folder.filePath("signal.wav"), {}},
        {"OGG", folder.filePath("signal.ogg"), {"-c:a", "libvorbis"}},
        {"MP3", folder.filePath("signal.mp3"), {"-c:a", "libmp3lame"}},
        {"MP4", folder.filePath("signal.mp4"), picture + QStringList{"-c:v", "libx264", "-c:a", "aac", "-shortest"}},
        {"M4A", folder.filePath("signal.m4a"), {"-c:a", "aac"}},
    };
}

// The recording as ffmpeg decodes it, gapless information honoured: what each segment must sound like.
std::vector<std::int16_t> Decoded(const TFormat& format, const QString& raw)
{
    const QString decoded = raw + ".decoded";
    if (!RunQuietly("ffmpeg", {"-nostdin", "-hide_banner", "-loglevel", "error", "-y", "-i", format.File, "-map",
                               "0:a", "-f", "s16le", "-ac", "1", "-ar", QString::number(Rate), decoded}))
        return {};
    std::vector<std::int16_t> samples = ReadRaw(decoded);
    QFile::remove(decoded);
    return samples;
}

bool MakeFile(const QString& raw, const TFormat& format)
{
    QStringList arguments = {"-nostdin", "-hide_banner", "-loglevel", "error", "-y", "-f", "s16le", "-ar",
                             QString::number(Rate), "-ac", "1", "-i", raw};
    arguments += format.Encoding;
    arguments += format.File;
    return RunQuietly("ffmpeg", arguments);
}

// ---------------------------------------------------------------------------------------
// Locating captures

struct TSegment {
    int From;
    int To;
};

// 300-700 ms, each starting a little before a click and ending a little after one.
std::vector<TSegment> Segments()
{
    std::vector<TSegment> segments;
    for (int i = 0; i < SegmentCount; ++i) {
        const int startClick = 10 + i * 13;
        const int endClick = startClick + 3 + (i * 3) % 5;
        segments.push_back({startClick * 100 - EdgeToClickMs - (i % 5) * 2, endClick * 100 + EdgeToClickMs + (i % 4) * 2});
    }
    return segments;
}

struct TEdges {
    double StartMs;  // first sample heard less the asked start
    double EndMs;    // last sample heard less the asked end
    double MismatchRms;  // the larger edge's difference from the recording, in sample steps
};

// The segment's edges are heard at the recorded speed at every speed (the tempo filter copies
// its first stride and its last piece as they are), so each edge of the capture is found in
// the recording as decoded by ffmpeg: where its first (last) 28 ms match best, sample by sample.
// They hold the edge's click, and the search stays within 40 ms of the asked place: the signal
// repeats every 100 ms.
constexpr std::size_t EdgeSamples = Rate * 28 / 1000;
constexpr std::int64_t EdgeSearch = Rate * 40 / 1000;
// The sound server and ffmpeg round the decoded floats on their own (a sample step or two), and
// AAC fills noise-like bands with noise of the decoder's own, whose generator runs from where
// decoding began: so a click, and a little of the frame around it, sounds a little different
// after a seek. The difference from the recording is not counted this near a click, and is
// allowed up to a level far below that of an edge heard as silence (the hum alone is ~1000).
constexpr double MismatchLimit = 200;
constexpr std::int64_t NearClick = Rate * 8 / 1000;

double Squared(const std::int16_t* heard, const std::vector<std::int16_t>& recording, std::int64_t at, bool skipClicks)
{
    double sum = 0;
    for (std::size_t i = 0; i < EdgeSamples; ++i) {
        const std::int64_t phase = (at + std::int64_t(i)) % ClickSpacing;
        if (skipClicks && std::min(phase, ClickSpacing - phase) <= NearClick)
            continue;
        const double d = double(heard[i]) - double(recording[std::size_t(at) + i]);
        sum += d * d;
    }
    return sum;
}

struct TMatch {
    std::int64_t At = 0;
    double Rms = INFINITY;  // away from clicks
};

TMatch BestMatch(const std::int16_t* heard, const std::vector<std::int16_t>& recording, std::int64_t around)
{
    TMatch best;
    double bestSum = INFINITY;
    for (std::int64_t at = std::max<std::int64_t>(around - EdgeSearch, 0);
         at <= around + EdgeSearch && at + std::int64_t(EdgeSamples) <= std::int64_t(recording.size()); ++at) {
        const double sum = Squared(heard, recording, at, false);
        if (sum < bestSum) {
            bestSum = sum;
            best.At = at;
        }
    }
    std::size_t counted = 0;
    for (std::size_t i = 0; i < EdgeSamples; ++i) {
        const std::int64_t phase = (best.At + std::int64_t(i)) % ClickSpacing;
        counted += std::min(phase, ClickSpacing - phase) > NearClick;
    }
    if (std::isfinite(bestSum))
        best.Rms = std::sqrt(Squared(heard, recording, best.At, true) / double(std::max<std::size_t>(counted, 1)));
    return best;
}

std::optional<TEdges> Locate(const std::vector<std::int16_t>& capture, const std::vector<std::int16_t>& recording,
                             const TSegment& segment)
{
    if (capture.size() < EdgeSamples)
        return std::nullopt;
    const auto askedStart = std::int64_t(std::llround(segment.From * double(Rate) / 1000.0));
    const auto askedEnd = std::int64_t(std::llround(segment.To * double(Rate) / 1000.0));
    const TMatch first = BestMatch(capture.data(), recording, askedStart);
    const TMatch last = BestMatch(capture.data() + capture.size() - EdgeSamples, recording,
                                  askedEnd - std::int64_t(EdgeSamples));
    return TEdges{SamplesToMs(double(first.At - askedStart)),
                  SamplesToMs(double(last.At + std::int64_t(EdgeSamples) - askedEnd)), std::max(first.Rms, last.Rms)};
}

// ---------------------------------------------------------------------------------------
// Sessions

struct TSessionFigures {
    std::vector<std::optional<TEdges>> Edges;  // per segment heard, in order
    double FirstStartMs = NAN;
    double FirstEndMs = NAN;
    double WorstStartMs = NAN;  // largest |error| of segments 2-20
    double WorstEndMs = NAN;
    double FirstLateMs = NAN;   // Play() to OnNotify less the segment's played length
    double WorstLateMs = NAN;   // the same, the largest of segments 2-20
    int Hangs = 0;              // no completion within the length plus 3 s
    int Lost = 0;               // segments not found in the capture, or split by a gap
    std::string Error;
};

double WorseOf(double worst, double value)
{
    return std::isnan(worst) || std::fabs(value) > std::fabs(worst) ? value : worst;
}

void Summarise(TSessionFigures& f, const std::vector<std::vector<std::int16_t>>& captures,
               const std::vector<std::int16_t>& recording, const std::vector<TSegment>& segments)
{
    for (std::size_t i = 0; i < segments.size(); ++i) {
        std::optional<TEdges> edges = i < captures.size() ? Locate(captures[i], recording, segments[i]) : std::nullopt;
        if (Verbose)
            std::fprintf(stderr, "  segment %2zu: heard %6.1f ms, start %s, end %s, mismatch %s\n", i + 1,
                         i < captures.size() ? SamplesToMs(double(captures[i].size())) : 0.0,
                         edges ? std::to_string(edges->StartMs).c_str() : "-",
                         edges ? std::to_string(edges->EndMs).c_str() : "-",
                         edges ? std::to_string(edges->MismatchRms).c_str() : "-");
        // An edge that matches nothing of the recording is not the recording's sound.
        if (edges && edges->MismatchRms > MismatchLimit)
            edges.reset();
        if (!edges) {
            ++f.Lost;
            continue;
        }
        if (i == 0) {
            f.FirstStartMs = edges->StartMs;
            f.FirstEndMs = edges->EndMs;
        } else {
            f.WorstStartMs = WorseOf(f.WorstStartMs, edges->StartMs);
            f.WorstEndMs = WorseOf(f.WorstEndMs, edges->EndMs);
        }
    }
    if (captures.size() != segments.size())
        f.Lost += int(std::max(captures.size(), segments.size()) - std::min(captures.size(), segments.size()));
}

// Plays the segments one after another with a short pause between them, as a learner's loop
// does, each through a fresh Play() on the same open player. Returns the fake sink's captures.
std::vector<std::vector<std::int16_t>> PlaySession(olve::TOlveMediaPlayer& player, const std::vector<TSegment>& segments,
                                                   double speed, TSessionFigures& f)
{
    std::vector<std::vector<std::int16_t>> tapped;
    player.SetSpeed(speed);
    for (std::size_t i = 0; i < segments.size(); ++i) {
        const TSegment& segment = segments[i];
        QEventLoop loop;
        bool ended = false;
        player.OnNotify = [&] {
            ended = player.NotifyValue() == olve::nvSuccessful;
            loop.quit();
        };
        const double playedMs = (segment.To - segment.From) / speed;
        QTimer::singleShot(int(playedMs) + LateLimitMs, &loop, &QEventLoop::quit);
        TakeTapped();
        player.SetStartPos(segment.From);
        player.SetEndPos(segment.To);
        const Clock::time_point play = Clock::now();
        player.Play();
        loop.exec();
        player.OnNotify = nullptr;
        if (Verbose)
            std::fprintf(stderr, "  play %2zu: %s after %.1f ms less the length\n", i + 1, ended ? "ended" : "NO END",
                         MsSince(play) - playedMs);
        if (ended && i == 0) {
            f.FirstLateMs = MsSince(play) - playedMs;
        } else if (ended) {
            f.WorstLateMs = WorseOf(f.WorstLateMs, MsSince(play) - playedMs);
        } else {
            ++f.Hangs;
            player.Stop();
        }
        tapped.push_back(TakeTapped());
        QEventLoop pause;
        QTimer::singleShot(150 + int(i % 3) * 50, &pause, &QEventLoop::quit);
        pause.exec();
    }
    return tapped;
}

// parec records the monitor for as long as it runs.
class TRecorder {
public:
    TRecorder(const QString& sink, const QString& file)
    {
        FProcess.setStandardOutputFile(file);
        FProcess.start("parec", {"-d", sink + ".monitor", "--raw", "--format=s16le", "--rate=" + QString::number(Rate),
                                 "--channels=1", "--latency-msec=20"});
    }
    ~TRecorder() { Stop(); }
    bool Started() { return FProcess.waitForStarted(5000); }
    void Stop()
    {
        if (FProcess.state() == QProcess::NotRunning)
            return;
        FProcess.terminate();
        if (!FProcess.waitForFinished(5000))
            FProcess.kill();
        FProcess.waitForFinished(5000);
    }

private:
    QProcess FProcess;
};

void Spin(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

TSessionFigures RunSession(const TFormat& format, const std::vector<std::int16_t>& recording, double speed,
                           const QString& sink, const QString& captureFile)
{
    TSessionFigures f;
    const std::vector<TSegment> segments = Segments();
    olve::TOlveMediaPlayer player;
    player.FileName = format.File;
    const bool server = !sink.isEmpty();
    // The desktop's default output, as the window uses: the daemon's null sink.
    player.AudioSink = server ? QString() : TapSink;
    std::optional<TRecorder> recorder;
    if (server) {
        recorder.emplace(sink, captureFile);
        if (!recorder->Started()) {
            f.Error = "parec does not start";
            return f;
        }
        Spin(300);
    }
    try {
        player.Open();
    } catch (const olve::EMCIDeviceError& error) {
        f.Error = std::string("open failed: ") + error.what();
        return f;
    }
    std::vector<std::vector<std::int16_t>> captures = PlaySession(player, segments, speed, f);
    player.Close();
    if (server) {
        Spin(500);
        recorder->Stop();
        captures = SoundStretches(ReadRaw(captureFile), SilenceSamples);
        QFile::remove(captureFile);
    }
    Summarise(f, captures, recording, segments);
    return f;
}

// ---------------------------------------------------------------------------------------
// Printing

std::string Ms(double v)
{
    if (std::isnan(v))
        return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%+.2f", v);
    return text;
}

bool Met(const TSessionFigures& f)
{
    const auto within = [](double v) { return !std::isnan(v) && std::fabs(v) <= 1.0; };
    return f.Error.empty() && f.Hangs == 0 && f.Lost == 0 && within(f.FirstStartMs) && within(f.FirstEndMs) &&
           within(f.WorstStartMs) && within(f.WorstEndMs);
}

void PrintHeader()
{
    std::printf("%-4s %-5s | %-55s | %-27s\n", "", "", "sound server (PulseAudio null sink, parec)", "fake sink (sync=true)");
    std::printf("%-4s %-5s | %-23s %-23s %4s %4s | %-15s %4s %4s\n", "", "", "segment 1", "segments 2-20, max", "",
                "", "2-20, max", "", "");
    std::printf("%-4s %-5s | %7s %7s %7s %7s %7s %7s %4s %4s | %7s %7s %4s %4s  %s\n", "fmt", "speed", "start", "end",
                "late", "start", "end", "late", "hang", "lost", "start", "end", "hang", "lost",
                "goal: every segment's start and end within 1 ms");
}

void PrintRow(const char* label, double speed, const TSessionFigures& s, const TSessionFigures& k)
{
    if (!s.Error.empty() || !k.Error.empty()) {
        std::printf("%-4s %4.1fx | %s %s\n", label, speed, s.Error.c_str(), k.Error.c_str());
        return;
    }
    std::printf("%-4s %4.1fx | %7s %7s %7s %7s %7s %7s %4d %4d | %7s %7s %4d %4d  %s\n", label, speed,
                Ms(s.FirstStartMs).c_str(), Ms(s.FirstEndMs).c_str(), Ms(s.FirstLateMs).c_str(),
                Ms(s.WorstStartMs).c_str(), Ms(s.WorstEndMs).c_str(), Ms(s.WorstLateMs).c_str(), s.Hangs, s.Lost,
                Ms(k.WorstStartMs).c_str(), Ms(k.WorstEndMs).c_str(), k.Hangs, k.Lost, Met(s) ? "met" : "MISSED");
}

void PrintLegend()
{
    std::printf("(ms; one open player per row playing %d segments of 300-700 ms one after another, 150-250 ms apart;\n",
                SegmentCount);
    std::printf(" start: first sample heard less the asked start (> 0: the start was lost); end: last sample heard\n");
    std::printf(" less the asked end; max: the largest error of segments 2-%d, signed; late: Play() to OnNotify\n",
                SegmentCount);
    std::printf(" less the played length (it holds the sound server's latency and the player's 100 ms lead; an\n");
    std::printf(" idle null sink renders 2 s blocks ahead without rewinding, so the first play of a session waits\n");
    std::printf(" for up to 2 s, sound and completion alike);\n");
    std::printf(" hang: no completion within %d s of the end;\n", LateLimitMs / 1000);
    std::printf(" lost: segments missing from the capture, split by a gap, or with an edge that does not sound like\n");
    std::printf(" the recording there as ffmpeg decodes it; files made by ffmpeg)\n");
}

std::vector<double> SpeedsFrom(const QStringList& arguments)
{
    const int at = int(arguments.indexOf("--speeds"));
    if (at < 0 || at + 1 >= arguments.size())
        return {1.0, 0.7, 1.3};
    std::vector<double> speeds;
    for (const QString& s : arguments[at + 1].split(','))
        speeds.push_back(s.toDouble());
    return speeds;
}

QStringList FormatsFrom(const QStringList& arguments)
{
    const int at = int(arguments.indexOf("--formats"));
    return at < 0 || at + 1 >= arguments.size() ? QStringList() : arguments[at + 1].split(',');
}

}  // namespace

// --formats WAV,MP3 and --speeds 1.0,0.7 choose rows, --each prints every segment; OLVE_BENCH_SINK names the null sink.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    gst_init(&argc, &argv);
    InstallTapHook();
    if (qEnvironmentVariableIsEmpty("PULSE_SERVER")) {
        std::fprintf(stderr, "PULSE_SERVER is not set: bench/run-segments.sh starts the sound server for this run\n");
        return 1;
    }
    const QString sink = qEnvironmentVariable("OLVE_BENCH_SINK", DefaultSink);
    const QStringList arguments = app.arguments();
    const QStringList chosen = FormatsFrom(arguments);
    const std::vector<double> speeds = SpeedsFrom(arguments);
    Verbose = arguments.contains("--each");

    QTemporaryDir folder;
    const QString raw = folder.filePath("signal.raw");
    if (!folder.isValid() || !WriteRaw(raw, Signal())) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    const Clock::time_point runStart = Clock::now();
    std::printf("Segments in one session through a sound server, beside a fake sink: %d s of clicks every 100 ms\n",
                MediaSeconds);
    std::printf("over a %g Hz hum, mono %d Hz, made by ffmpeg (pcm_s16le, libvorbis, libmp3lame, aac; the MP4 with\n",
                HumHz, Rate);
    std::printf("an H.264 picture)\n");
    PrintHeader();
    for (const TFormat& format : Formats(QDir(folder.path()))) {
        if (!chosen.isEmpty() && !chosen.contains(format.Label))
            continue;
        if (!MakeFile(raw, format)) {
            std::printf("%-4s cannot be made\n", format.Label);
            continue;
        }
        const std::vector<std::int16_t> recording = Decoded(format, raw);
        if (recording.empty()) {
            std::printf("%-4s cannot be decoded by ffmpeg\n", format.Label);
            continue;
        }
        for (const double speed : speeds) {
            const TSessionFigures server = RunSession(format, recording, speed, sink, folder.filePath("capture.raw"));
            const TSessionFigures fake = RunSession(format, recording, speed, {}, {});
            PrintRow(format.Label, speed, server, fake);
            std::fflush(stdout);
        }
    }
    PrintLegend();
    std::printf("\nRun took %.0f s.\n", MsSince(runStart) / 1000.0);
    return 0;
}
