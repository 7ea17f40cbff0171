// Throughput of the BDC codec against zlib (level 6) on text shaped like the player's title
// files. Google Benchmark reports each codec on its own; the summary after it times all four
// directions in interleaved rounds so that the ratios compare runs made under the same machine
// conditions.

#include <benchmark/benchmark.h>

#define ZLIB_CONST
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "codec/cp932_text.h"
#include "codec/delta_code.h"

namespace {

constexpr std::size_t CorpusSize = 8 * 1024 * 1024;
constexpr int ZlibLevel = 6;
constexpr int SummaryRounds = 5;
constexpr std::uint64_t CorpusSeed = 0x5EED'0B0C'0DE5'0001;

using TBytes = std::vector<std::uint8_t>;

// A hand-rolled generator instead of <random> distributions: those differ between standard
// libraries, and the corpus has to be the same bytes everywhere for the sizes to be comparable.
class TRandom {
public:
    explicit TRandom(std::uint64_t seed) : FState(seed) {}

    std::uint64_t Next()
    {
        std::uint64_t z = (FState += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }
    int Between(int low, int high) { return low + Below(high - low + 1); }
    bool Percent(int p) { return Below(100) < p; }

private:
    std::uint64_t FState;
};

// English and Japanese side by side, so that a card's two texts say the same thing, as they do
// in real lessons. The Japanese is UTF-8 here and code page 932 in the corpus.
struct TPhraseSource {
    const char* En;
    const char* Ja;
};

constexpr TPhraseSource Subjects[] = {
    {"I", "私は"},           {"You", "あなたは"},         {"We", "私たちは"},
    {"She", "彼女は"},       {"He", "彼は"},              {"My brother", "兄は"},
    {"My sister", "姉は"},   {"Our teacher", "先生は"},   {"The children", "子供たちは"},
    {"My friend", "友達は"}, {"The manager", "部長は"},   {"Everyone", "みんな"},
    {"My mother", "母は"},   {"The old man", "おじいさんは"},
};

constexpr TPhraseSource Times[] = {
    {"yesterday", "昨日"},           {"this morning", "今朝"},
    {"at the station", "駅で"},      {"at the airport", "空港で"},
    {"last week", "先週"},           {"near the hospital", "病院の近くで"},
    {"after school", "放課後"},      {"in the library", "図書館で"},
    {"on the way home", "帰り道で"}, {"before the meeting", "会議の前に"},
    {"at the hotel", "ホテルで"},    {"in the supermarket", "スーパーで"},
};

constexpr TPhraseSource Objects[] = {
    {"a cup of coffee", "コーヒー一杯"},
    {"the train ticket", "電車の切符"},
    {"a new umbrella", "新しい傘"},
    {"some fresh bread", "焼きたてのパン"},
    {"the map of the city", "町の地図"},
    {"two tickets for the concert", "コンサートのチケット二枚"},
    {"an English dictionary", "英語の辞書"},
    {"the key to the room", "部屋の鍵"},
    {"a small present", "小さな贈り物"},
    {"the morning newspaper", "朝刊"},
    {"a bottle of water", "水のボトル"},
    {"his passport", "彼のパスポート"},
    {"a letter from Osaka", "大阪からの手紙"},
    {"the last bus", "最終バス"},
    {"a table for four", "四人用のテーブル"},
    {"the phone number", "電話番号"},
    {"a cheaper room", "もっと安い部屋"},
    {"the red sweater", "赤いセーター"},
};

constexpr TPhraseSource Verbs[] = {
    {"bought", "を買いました"},      {"would like", "が欲しいです"},
    {"forgot", "を忘れました"},      {"found", "を見つけました"},
    {"is looking for", "を探しています"}, {"needs", "が必要です"},
    {"left behind", "を置いてきました"},  {"ordered", "を注文しました"},
    {"lost", "をなくしました"},      {"reserved", "を予約しました"},
    {"paid for", "の代金を払いました"},   {"asked about", "について聞きました"},
};

constexpr TPhraseSource Openers[] = {
    {"Excuse me, ", "すみません、"}, {"Well, ", "ええと、"},  {"Actually, ", "実は、"},
    {"Oh, ", "あ、"},                {"By the way, ", "ところで、"},
};

constexpr TPhraseSource Joins[] = {
    {", but ", "が、"},
    {", so ", "ので、"},
    {" and then ", "。それから"},
};

constexpr TPhraseSource Questions[] = {
    {"Where is ", "はどこですか？"},
    {"Do you have ", "はありますか？"},
    {"How much is ", "はいくらですか？"},
    {"Could you show me ", "を見せていただけますか？"},
};

constexpr TPhraseSource Expressions[] = {
    {"I'd like a cup of coffee, please.", "コーヒーを一杯お願いします。"},
    {"Thank you very much.", "どうもありがとうございます。"},
    {"Good morning.", "おはようございます。"},
    {"See you tomorrow.", "また明日。"},
    {"Nice to meet you.", "はじめまして。"},
    {"I don't understand.", "わかりません。"},
    {"Could you say that again, please?", "もう一度言っていただけますか？"},
    {"It's very kind of you.", "ご親切にどうも。"},
    {"What time does the store open?", "店は何時に開きますか？"},
};

constexpr const char* LessonNames[] = {"英会話 第", "旅行の会話 第", "ビジネス英語 第", "日常表現 第"};

struct TPhrase {
    std::string En;
    std::string Ja;  // code page 932
};

template <std::size_t N>
std::vector<TPhrase> ToCp932(const TPhraseSource (&source)[N])
{
    std::vector<TPhrase> out;
    for (const TPhraseSource& p : source) {
        std::string ja;
        // A character outside code page 932 would turn into "?" and quietly change what the
        // corpus is made of.
        if (!olve::Utf8ToCp932(p.Ja, ja)) {
            std::fprintf(stderr, "not representable in code page 932: %s\n", p.Ja);
            std::exit(2);
        }
        out.push_back({p.En, std::move(ja)});
    }
    return out;
}

class TCorpusWriter {
public:
    TCorpusWriter()
        : FSubjects(ToCp932(Subjects)), FTimes(ToCp932(Times)), FObjects(ToCp932(Objects)),
          FVerbs(ToCp932(Verbs)), FOpeners(ToCp932(Openers)), FJoins(ToCp932(Joins)),
          FQuestions(ToCp932(Questions)), FExpressions(ToCp932(Expressions)),
          FLessonEnd(olve::Utf8ToCp932("課"))
    {
        for (const char* name : LessonNames)
            FLessonNames.push_back(olve::Utf8ToCp932(name));
    }

    TBytes Make(std::size_t size)
    {
        FText.clear();
        FText.reserve(size + 1024);
        while (FText.size() < size)
            WriteTitle(size);
        FText.resize(size);
        return TBytes(FText.begin(), FText.end());
    }

private:
    template <class T>
    const T& Pick(const std::vector<T>& list)
    {
        return list[static_cast<std::size_t>(FRandom.Below(static_cast<int>(list.size())))];
    }

    void Line(std::string_view text)
    {
        FText += text;
        FText += "\r\n";
    }

    // One lesson: its settings, then its cards.
    void WriteTitle(std::size_t size)
    {
        const int lesson = FRandom.Between(1, 60);
        char buffer[64];

        std::snprintf(buffer, sizeof buffer, "VolSerialNum=%c%c%c%03d", 'A' + FRandom.Below(26),
                      'A' + FRandom.Below(26), 'A' + FRandom.Below(26), FRandom.Below(1000));
        Line(buffer);
        Line("Title=" + Pick(FLessonNames) + std::to_string(lesson) + FLessonEnd);
        std::snprintf(buffer, sizeof buffer, "MediaFile=lesson%02d.mp3", lesson);
        Line(buffer);
        if (FRandom.Percent(70))
            Line("Volume=" + std::to_string(FRandom.Between(5, 10) * 10));
        if (FRandom.Percent(50))
            Line("Speed=" + std::to_string(FRandom.Between(8, 12) * 10));
        if (FRandom.Percent(50))
            Line("RepeatCount=" + std::to_string(FRandom.Between(1, 5)));
        const int cards = FRandom.Between(30, 150);
        Line("LastCard=" + std::to_string(FRandom.Below(cards)));

        int ms = FRandom.Between(0, 3000);
        for (int c = 0; c < cards && FText.size() < size; ++c) {
            const int start = ms;
            ms += FRandom.Between(900, 6500);
            WriteCard(start, ms);
            ms += FRandom.Between(100, 1500);
        }
    }

    void WriteCard(int startMs, int endMs)
    {
        TPhrase sentence = Sentence();
        std::string line;
        AppendTime(line, startMs);
        line += ',';
        AppendTime(line, endMs);
        line += ",\"" + sentence.En + "\",\"" + sentence.Ja + "\",";
        if (FRandom.Percent(40)) {
            char picture[32];
            std::snprintf(picture, sizeof picture, "pic%03d.jpg", FRandom.Below(300));
            line += picture;
        }
        line += ",\"SST=" + std::to_string(FRandom.Below(4)) +
                ",SLG=" + std::to_string(FRandom.Between(0, 40)) + '"';
        Line(line);
    }

    TPhrase Sentence()
    {
        const int kind = FRandom.Below(100);
        if (kind < 12)
            return Pick(FExpressions);
        if (kind < 30) {
            const TPhrase& q = Pick(FQuestions);
            const TPhrase& o = Pick(FObjects);
            return {q.En + o.En + "?", o.Ja + q.Ja};
        }
        TPhrase s{"", ""};
        if (FRandom.Percent(20)) {
            const TPhrase& opener = Pick(FOpeners);
            s.En = opener.En;
            s.Ja = opener.Ja;
        }
        AppendClause(s, s.En.empty());
        if (FRandom.Percent(25)) {
            const TPhrase& join = Pick(FJoins);
            s.En += join.En;
            s.Ja += join.Ja;
            AppendClause(s, false);
        }
        s.En += '.';
        s.Ja += FFullStop;
        return s;
    }

    // Japanese order: subject, time or place, object, verb.
    void AppendClause(TPhrase& s, bool capital)
    {
        const TPhrase& subject = Pick(FSubjects);
        const TPhrase& verb = Pick(FVerbs);
        const TPhrase& object = Pick(FObjects);
        const bool withTime = FRandom.Percent(45);
        const TPhrase& time = Pick(FTimes);

        std::string en = subject.En;
        if (!capital && en != "I")
            en[0] = static_cast<char>(en[0] - 'A' + 'a');
        s.En += en + ' ' + verb.En + ' ' + object.En;
        if (withTime)
            s.En += ' ' + time.En;
        s.Ja += subject.Ja;
        if (withTime)
            s.Ja += time.Ja;
        s.Ja += object.Ja + verb.Ja;
    }

    static void AppendTime(std::string& out, int ms)
    {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%d:%02d:%02d.%03d", ms / 3600000, ms / 60000 % 60,
                      ms / 1000 % 60, ms % 1000);
        out += buffer;
    }

    TRandom FRandom{CorpusSeed};
    std::vector<TPhrase> FSubjects, FTimes, FObjects, FVerbs, FOpeners, FJoins, FQuestions,
        FExpressions;
    std::vector<std::string> FLessonNames;
    std::string FLessonEnd;
    std::string FFullStop = olve::Utf8ToCp932("。");
    std::string FText;
};

const TBytes& Corpus()
{
    static const TBytes corpus = TCorpusWriter().Make(CorpusSize);
    return corpus;
}

// zlib stream format, as compress2 writes it. The output buffer is sized once by the caller
// and reused, so the timings hold no allocation or zero-filling on the zlib side.
std::size_t Deflate(const TBytes& plain, TBytes& out)
{
    z_stream s{};
    if (deflateInit(&s, ZlibLevel) != Z_OK)
        return 0;
    s.next_in = plain.data();
    s.avail_in = static_cast<uInt>(plain.size());
    s.next_out = out.data();
    s.avail_out = static_cast<uInt>(out.size());
    const int rc = deflate(&s, Z_FINISH);
    const std::size_t size = s.total_out;
    deflateEnd(&s);
    return rc == Z_STREAM_END ? size : 0;
}

bool Inflate(const std::uint8_t* data, std::size_t size, TBytes& out)
{
    z_stream s{};
    if (inflateInit(&s) != Z_OK)
        return false;
    s.next_in = data;
    s.avail_in = static_cast<uInt>(size);
    s.next_out = out.data();
    s.avail_out = static_cast<uInt>(out.size());
    const int rc = inflate(&s, Z_FINISH);
    const bool ok = rc == Z_STREAM_END && s.total_out == out.size();
    inflateEnd(&s);
    return ok;
}

TBytes DeflateBuffer()
{
    return TBytes(compressBound(static_cast<uLong>(Corpus().size())));
}

void SetPlainBytes(benchmark::State& state)
{
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(Corpus().size()));
}

void BM_BdcEncode(benchmark::State& state)
{
    olve::TDeltaCode codec;
    codec.Plain = Corpus();
    for (auto _ : state) {
        if (!codec.Encode()) {
            state.SkipWithError("Encode failed");
            break;
        }
        benchmark::DoNotOptimize(codec.Coded.data());
        benchmark::ClobberMemory();
    }
    SetPlainBytes(state);
    state.counters["coded_bytes"] = static_cast<double>(codec.Coded.size());
}

void BM_BdcDecode(benchmark::State& state)
{
    olve::TDeltaCode encoder;
    encoder.Plain = Corpus();
    encoder.Encode();
    olve::TDeltaCode codec;
    codec.Coded = encoder.Coded;
    for (auto _ : state) {
        if (!codec.Decode()) {
            state.SkipWithError(codec.LastError().c_str());
            break;
        }
        benchmark::DoNotOptimize(codec.Plain.data());
        benchmark::ClobberMemory();
    }
    SetPlainBytes(state);
}

void BM_ZlibDeflate(benchmark::State& state)
{
    TBytes out = DeflateBuffer();
    std::size_t size = 0;
    for (auto _ : state) {
        size = Deflate(Corpus(), out);
        if (size == 0) {
            state.SkipWithError("deflate failed");
            break;
        }
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    SetPlainBytes(state);
    state.counters["coded_bytes"] = static_cast<double>(size);
}

void BM_ZlibInflate(benchmark::State& state)
{
    TBytes coded = DeflateBuffer();
    const std::size_t size = Deflate(Corpus(), coded);
    TBytes out(Corpus().size());
    for (auto _ : state) {
        if (size == 0 || !Inflate(coded.data(), size, out)) {
            state.SkipWithError("inflate failed");
            break;
        }
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    SetPlainBytes(state);
}

BENCHMARK(BM_BdcEncode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZlibDeflate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BdcDecode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZlibInflate)->Unit(benchmark::kMillisecond);

template <class F>
void KeepFastest(double& best, F&& run)
{
    const auto start = std::chrono::steady_clock::now();
    run();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    best = std::min(best, took.count());
}

double MBPerSecond(double seconds)
{
    return static_cast<double>(Corpus().size()) / (1024.0 * 1024.0) / seconds;
}

// Times the four directions round-robin and keeps each one's best round, then checks that
// what the timed runs produced decodes back to the corpus. Returns the exit code.
int Summary()
{
    const TBytes& plain = Corpus();
    constexpr double Never = std::numeric_limits<double>::infinity();
    double encodeTime = Never, deflateTime = Never, decodeTime = Never, inflateTime = Never;

    olve::TDeltaCode encoder;
    encoder.Plain = plain;
    // A separate decoder, so the round trip relies on nothing but the coded bytes.
    olve::TDeltaCode decoder;
    TBytes deflated = DeflateBuffer();
    std::size_t deflatedSize = 0;
    TBytes inflated(plain.size());
    bool encodeOk = true, decodeOk = true, inflateOk = true;

    for (int round = 0; round < SummaryRounds; ++round) {
        KeepFastest(encodeTime, [&] { encodeOk = encoder.Encode() && encodeOk; });
        KeepFastest(deflateTime, [&] { deflatedSize = Deflate(plain, deflated); });
        if (round == 0)
            decoder.Coded = encoder.Coded;
        KeepFastest(decodeTime, [&] { decodeOk = decoder.Decode() && decodeOk; });
        KeepFastest(inflateTime, [&] {
            inflateOk = Inflate(deflated.data(), deflatedSize, inflated) && inflateOk;
        });
    }

    const bool bdcRoundTrip = encodeOk && decodeOk && decoder.Plain == plain;
    const bool zlibRoundTrip = deflatedSize != 0 && inflateOk && inflated == plain;
    const double decodeRatio = MBPerSecond(decodeTime) / MBPerSecond(inflateTime);
    const auto percent = [&](std::size_t size) {
        return 100.0 * static_cast<double>(size) / static_cast<double>(plain.size());
    };

    std::printf("\nBDC vs zlib level %d: %zu bytes of title-like CP932 text, best of %d "
                "interleaved rounds (1 MB = 2^20 bytes)\n",
                ZlibLevel, plain.size(), SummaryRounds);
    std::printf("  %-28s %9.1f MB/s\n", "BDC encode", MBPerSecond(encodeTime));
    std::printf("  %-28s %9.1f MB/s\n", "zlib deflate", MBPerSecond(deflateTime));
    std::printf("  %-28s %9.1f MB/s\n", "BDC decode", MBPerSecond(decodeTime));
    std::printf("  %-28s %9.1f MB/s\n", "zlib inflate", MBPerSecond(inflateTime));
    std::printf("  %-28s %9.2f x\n", "BDC encode / zlib deflate",
                MBPerSecond(encodeTime) / MBPerSecond(deflateTime));
    std::printf("  %-28s %9.2f x   goal: BDC decode at least as fast as zlib inflate: %s\n",
                "BDC decode / zlib inflate", decodeRatio, decodeRatio >= 1.0 ? "met" : "NOT met");
    std::printf("  %-28s %9zu bytes (%.1f %%)\n", "BDC coded size", encoder.Coded.size(),
                percent(encoder.Coded.size()));
    std::printf("  %-28s %9zu bytes (%.1f %%)\n", "zlib coded size", deflatedSize,
                percent(deflatedSize));
    std::printf("  %-28s %s\n", "Decode(Encode(x)) == x", bdcRoundTrip ? "ok" : "FAILED");
    std::printf("  %-28s %s\n", "inflate(deflate(x)) == x", zlibRoundTrip ? "ok" : "FAILED");
    return bdcRoundTrip && zlibRoundTrip ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::fflush(stdout);
    return Summary();
}
