// Writes the seed corpus of every fuzz target with the project's own writers:
//   make_seeds FOLDER  ->  FOLDER/<target>/<seed>
// Each target's first input byte, where it has one, is described in the target's source.
#include <QGuiApplication>
#include <QImage>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "picture_files.h"
#include "files/atomic_file.h"
#include "codec/comma_text.h"
#include "codec/cp932_text.h"
#include "codec/data_file.h"
#include "codec/delta_code.h"
#include "filetrain/train_pack.h"
#include "timing/positions.h"
#include "title/card_line.h"
#include "title/play_package.h"

using namespace olve;
namespace fs = std::filesystem;

namespace {

// Where one target's seeds go, and a scratch folder for the files they are made from.
class TSeeds {
public:
    TSeeds(const fs::path& folder, const fs::path& scratch) : FFolder(folder), FScratch(scratch)
    {
        fs::create_directories(FFolder);
        fs::create_directories(FScratch);
    }
    const fs::path& Scratch() const { return FScratch; }

    void Add(const std::string& bytes) { Add(std::vector<std::uint8_t>(bytes.begin(), bytes.end())); }
    void Add(const std::vector<std::uint8_t>& bytes)
    {
        const fs::path path = FFolder / ("seed-" + std::to_string(++FCount));
        if (WriteFileAtomically(path.string(), bytes.data(), bytes.size()) != 0) {
            std::fprintf(stderr, "make_seeds: cannot write %s\n", path.c_str());
            std::exit(1);
        }
    }
    // A seed of a target that takes a first byte: that byte, then the bytes.
    void Add(std::uint8_t first, const std::vector<std::uint8_t>& bytes)
    {
        std::vector<std::uint8_t> seed{first};
        seed.insert(seed.end(), bytes.begin(), bytes.end());
        Add(seed);
    }
    // A BDC text file both ways: as its plain text (first byte even), and as stored (odd).
    void AddStoredText(std::uint8_t first, const fs::path& file)
    {
        std::vector<std::uint8_t> stored;
        ReadWholeFile(file.string(), stored);
        TDeltaCode codec;
        codec.Coded = stored;
        if (!codec.Decode()) {
            std::fprintf(stderr, "make_seeds: %s is not BDC text\n", file.c_str());
            std::exit(1);
        }
        Add(static_cast<std::uint8_t>(first & ~1), codec.Plain);
        Add(static_cast<std::uint8_t>(first | 1), stored);
    }

private:
    fs::path FFolder;
    fs::path FScratch;
    int FCount = 0;
};

std::vector<std::uint8_t> Bytes(const std::string& text)
{
    return {text.begin(), text.end()};
}

// Deterministic bytes that do not compress.
std::vector<std::uint8_t> Noise(std::size_t size, std::uint32_t seed)
{
    std::vector<std::uint8_t> bytes(size);
    for (std::uint8_t& b : bytes) {
        seed = seed * 1664525u + 1013904223u;
        b = static_cast<std::uint8_t>(seed >> 24);
    }
    return bytes;
}

const std::string English = "Where is the station?";
const std::string Japanese = Utf8ToCp932("駅はどこですか？　表示ソフト");

void DeltaCodeSeeds(TSeeds& seeds)
{
    std::vector<std::vector<std::uint8_t>> plains = {
        {}, Bytes("A"), Bytes("VolSerialNum=K100\r\n"), Bytes(English + "\r\n" + Japanese + "\r\n"), Noise(700, 7)};
    std::vector<std::uint8_t> all;
    for (int round = 0; round < 3; ++round)
        for (int b = 0; b < 256; ++b)
            all.push_back(static_cast<std::uint8_t>(b));
    plains.push_back(all);
    // Between 42 and 105 symbols: the widest group is wider than the encoder's usual six bits.
    std::vector<std::uint8_t> many;
    for (int b = 0; b < 80; ++b)
        many.insert(many.end(), static_cast<std::size_t>(b % 7 + 1), static_cast<std::uint8_t>('0' + b));
    plains.push_back(many);
    for (const auto& plain : plains) {
        TDeltaCode codec;
        codec.Plain = plain;
        codec.Encode();
        seeds.Add(codec.Coded);
    }
}

void CommaTextSeeds(TSeeds& seeds)
{
    seeds.Add(CommaTextJoin({"1", "0", "1", "500", "1", "0", "3", "250", "Hello, world", Japanese, "p1.jpg",
                             "SST=0,SLG=5"}));
    seeds.Add(CommaTextJoin({"say \"yes\"", "", "a b", "TAG=x"}));
    seeds.Add(CommaTextJoin({""}));
    seeds.Add(SetTag(SetTag("TAG=food,EES=1", "SST", "3"), "SLG", "7"));
    seeds.Add(SetTag("KGT=old,SST=2", "KUT", Japanese));
    seeds.Add("1,2,,");
    seeds.Add("Line one||line two|||" + Japanese);
    seeds.Add("-2147483648");
}

void DataFileSeeds(TSeeds& seeds)
{
    const fs::path settings = seeds.Scratch() / "olveplayer.dat";
    {
        TDataFile file(settings.string());
        for (int mode = 0; mode < 6; ++mode) {
            const std::string section = "Form" + std::to_string(mode);
            file.WriteInteger(section, "Left", 10 * mode);
            file.WriteInteger(section, "Top", -20);
            file.WriteInteger(section, "Width", 640);
            file.WriteInteger(section, "Height", 480);
        }
        file.Close();
    }
    seeds.AddStoredText(0, settings);

    const fs::path vcd = seeds.Scratch() / "vcd.ini";
    {
        TDataFile file(vcd.string());
        file.WriteString("files", "code", "K100");
        file.WriteString("files", "file", "lesson1.mp3");
        file.WriteString("files", "file", Japanese + ".wav");
        file.WriteString("Title", "Name", English);
        file.Close();
    }
    seeds.AddStoredText(2, vcd);
}

TPlayCardItem Card(std::uint32_t start, std::uint32_t end, TOlveTimeFormat format, const std::string& main,
                   const std::string& sub, const std::string& tags)
{
    TPlayCardItem card;
    card.StartPos = start;
    card.EndPos = end;
    card.TimeFormat = format;
    card.MainText = main;
    card.SubText = sub;
    card.DataText = tags;
    card.Picture = "pic\\p1.jpg";
    return card;
}

std::uint32_t Position(TOlveTimeFormat format, std::uint32_t media, std::uint32_t seconds)
{
    if (format == otfTMSF)
        return MakeTmsf(media, seconds / 60, seconds % 60, 30);
    return MakePackedPosition(media, seconds / 60, seconds % 60, 250);
}

// A title of each time format, with every table the file format has.
fs::path WriteTitle(const fs::path& folder, TOlveTimeFormat format)
{
    TPlayPackage title;
    title.TimeFormat = format;
    title.Settings.Add("VolFileTitle=" + English);
    title.Settings.Add("MTxShw=On");
    title.Settings.Add("Mask=1");
    title.Settings.Add("ImgAln=alTop");
    title.Settings.Add("VolSerialNum=K100");
    for (std::uint32_t i = 0; i < 4; ++i) {
        const std::string shared = i < 2 ? "SST=0,SLG=5" : "SST=6,SLG=40";
        title.MainCards.AddRec(Card(Position(format, 1, 2 * i), Position(format, 1, 2 * i + 2), format,
                                    i < 2 ? English : English + "||" + Japanese, Japanese, shared));
    }
    title.VcdCards.AddRec(Card(Position(format, 2, 0), Position(format, 2, 5), format, "vcd", "", "SDR=" + Japanese));
    title.KhsCards.AddRec(Card(Position(format, 1, 1), Position(format, 1, 3), format, English, "",
                               "KSD=listen,KGT=old"));
    title.KhgCards.AddRec(Card(Position(format, 1, 4), Position(format, 1, 6), format, English, "", "TAG=g"));
    const fs::path path = folder / ("title-" + std::to_string(format) + ".qzc");
    if (!title.SaveToFile(path.string(), "maker", "", "first,second")) {
        std::fprintf(stderr, "make_seeds: cannot save %s\n", path.c_str());
        std::exit(1);
    }
    return path;
}

// The old card-line layout put the main text first.
std::vector<std::uint8_t> OldLayout(const fs::path& title)
{
    std::vector<std::uint8_t> stored;
    ReadWholeFile(title.string(), stored);
    TDeltaCode codec;
    codec.Coded = stored;
    codec.Decode();
    TStringList lines;
    lines.SetText(std::string(codec.Plain.begin(), codec.Plain.end()));
    bool cards = false;
    for (int i = 0; i < lines.Count(); ++i) {
        if (cards) {
            std::vector<std::string> items = CardLineItems(lines[i]);
            std::rotate(items.begin(), items.begin() + 8, items.begin() + 9);
            lines.Put(i, CommaTextJoin(items));
        }
        cards = cards || lines[i].rfind("VolSerialNum=", 0) == 0;
    }
    return Bytes(lines.Text());
}

void TitleFileSeeds(TSeeds& seeds)
{
    constexpr std::uint8_t WithPlayer = 0, NoPlayer = 16, Wvp = 2;
    const std::uint8_t virtualCd = mtVirtualCD << 2, audioCd = mtAudioCD << 2;
    const fs::path ms = WriteTitle(seeds.Scratch(), otfTrackMilliseconds);
    const fs::path tmsf = WriteTitle(seeds.Scratch(), otfTMSF);
    const fs::path frames = WriteTitle(seeds.Scratch(), otfFrames);
    seeds.AddStoredText(WithPlayer | audioCd, ms);
    seeds.AddStoredText(WithPlayer | virtualCd, tmsf);
    seeds.AddStoredText(NoPlayer | (mtMediaCD << 2), frames);
    seeds.AddStoredText(Wvp | virtualCd, ms);
    seeds.Add(WithPlayer | virtualCd, OldLayout(ms));
}

void FileTrainSeeds(TSeeds& seeds)
{
    const fs::path source = seeds.Scratch() / "source";
    fs::create_directories(source / "pic");
    fs::create_directories(source / "titles" / "demo");
    auto write = [](const fs::path& path, const std::vector<std::uint8_t>& bytes) {
        WriteFileAtomically(path.string(), bytes.data(), bytes.size());
    };
    write(source / "readme.txt", Bytes(English + "\r\n" + English + "\r\n" + English + "\r\n"));
    write(source / "pic" / "p1.jpg", Noise(300, 3));
    write(source / "titles" / "demo" / "駅.qzc", Bytes("VolSerialNum=K100\r\n"));
    write(source / "PlayCDs.ini", {});
    for (const std::string header : {"demo", ""}) {
        const fs::path package = seeds.Scratch() / ("package" + std::to_string(header.size()) + ".qzw");
        std::vector<std::string> packed;
        std::string error;
        if (!PackFileTrain(source.string(), package.string(), header, packed, error)) {
            std::fprintf(stderr, "make_seeds: cannot pack: %s\n", error.c_str());
            std::exit(1);
        }
        std::vector<std::uint8_t> bytes;
        ReadWholeFile(package.string(), bytes);
        seeds.Add(bytes);
    }
}

void PictureSeeds(TSeeds& seeds)
{
    // The first byte picks the extension: 0 jpg, 2 gif, 3 bmp, 4 ico, 5 png.
    const QImage image = TestPicture(16, 12);
    const fs::path jpeg = seeds.Scratch() / "p.jpg";
    for (TJpegKind kind : {TJpegKind::Color, TJpegKind::Gray, TJpegKind::Cmyk, TJpegKind::Progressive}) {
        WriteJpeg(jpeg.string(), image, kind, 50);
        seeds.Add(0, Bytes(ReadBytes(jpeg.string())));
    }
    seeds.Add(2, Bytes(TransparentGif(3, 2)));
    const std::pair<std::uint8_t, const char*> formats[] = {{3, "bmp"}, {4, "ico"}, {5, "png"}};
    for (const auto& [first, format] : formats) {
        const fs::path path = seeds.Scratch() / (std::string("p.") + format);
        if (!image.save(QString::fromStdString(path.string()), format)) {
            std::fprintf(stderr, "make_seeds: Qt cannot write %s\n", format);
            std::exit(1);
        }
        seeds.Add(first, Bytes(ReadBytes(path.string())));
    }
}

void SubtitleSeeds(TSeeds& seeds)
{
    // First byte: bits 0-1 the extension (0 srt, 1 vtt, 2 lrc, 3 guessed), bits 2-7 minutes.
    constexpr std::uint8_t Srt = 0, Vtt = 1, Lrc = 2, Guess = 3, TenMinutes = 10 << 2;
    seeds.Add(Srt | TenMinutes, Bytes("1\r\n00:00:01,000 --> 00:00:03,500\r\n" + English +
                                      "\r\n\r\n2\r\n00:00:03,000 --> 00:00:05,000\r\n<i>Two</i>\r\nlines\r\n"));
    seeds.Add(Vtt | TenMinutes,
              Bytes("WEBVTT\n\nNOTE a note\n\nid-1\n00:01.000 --> 00:04.000 align:start\n<v Ann>Hello <00:02.000>big "
                    "<00:03.000><b>world</b>\n\n00:00:04.000 --> 00:00:06.000\n駅はどこですか？\n"));
    seeds.Add(Lrc | TenMinutes, Bytes("[ti:A Song]\n[offset:+250]\n[00:10.00][00:01.00]Chorus\n"
                                      "[00:12.00]<00:12.00>Hello <00:12.50>big <00:13.00>world<00:13.80>\n"));
    seeds.Add(Guess | (1 << 2), Bytes("\xEF\xBB\xBFWEBVTT\n\n00:00.500 --> 00:01.500\nOne\n"));
    seeds.Add(Guess | (1 << 2), Bytes("1\n00:00:00,100 --> 00:00:00,900\n" + Japanese + "\n"));
    std::vector<std::uint8_t> utf16{0xFF, 0xFE};
    for (char c : std::string("[00:00.50]Wide\n[00:01.00]Text\n")) {
        utf16.push_back(static_cast<std::uint8_t>(c));
        utf16.push_back(0);
    }
    seeds.Add(Guess | TenMinutes, utf16);
    // Shapes found in the wild: cues without blank lines between them, a blank line between
    // the languages of a cue, "->", times after text, no byte-order mark, Latin-1.
    seeds.Add(Vtt | TenMinutes, Bytes("WEBVTT\n00:01.000 --> 00:02.000\nOne\n00:02.000 --> 00:03.000\nTwo\n-->\n"
                                      "<ruby>駅<rt.s>えき</rt></ruby>\n"));
    seeds.Add(Srt | TenMinutes, Bytes("1\n00:00:01,000 -> 00:00:02,000\n" + English + "\n\n駅はどこですか？\n\n2\n"));
    seeds.Add(Lrc | TenMinutes, Bytes("[00:01.00]one [00:02.00] two[ 0:03.00]\nlead [00:04.00]<00:04.50> spark  light\n"));
    seeds.Add(Srt | TenMinutes, std::vector<std::uint8_t>(utf16.begin() + 2, utf16.end()));
    seeds.Add(Srt | TenMinutes, Bytes("1\r\n00:00:01,000 --> 00:00:02,000\r\nCaf\xE9 cr\xE8me\r\n"));
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds FOLDER\n");
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication application(argc, argv);
    const fs::path folder = argv[1];
    const fs::path scratch = folder / ".scratch";
    // One entry per fuzz target.
    const std::map<std::string, std::function<void(TSeeds&)>> targets = {
        {"fuzz_delta_code", DeltaCodeSeeds}, {"fuzz_comma_text", CommaTextSeeds},
        {"fuzz_data_file", DataFileSeeds},   {"fuzz_title_file", TitleFileSeeds},
        {"fuzz_file_train", FileTrainSeeds}, {"fuzz_picture", PictureSeeds},
        {"fuzz_subtitles", SubtitleSeeds},
    };
    for (const auto& [name, make] : targets) {
        fs::remove_all(folder / name);
        TSeeds seeds(folder / name, scratch / name);
        make(seeds);
    }
    fs::remove_all(scratch);
    return 0;
}
