#include "support/test_package.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numbers>
#include <stdexcept>

#include "codec/cp932_text.h"
#include "codec/data_file.h"
#include "filetrain/train_pack.h"
#include "support/test_media.h"
#include "timing/positions.h"
#include "title/play_package.h"

namespace fs = std::filesystem;
using namespace olve;

namespace {

std::string TitleFolderOf(const std::string& serial)
{
    const char first = serial.empty() ? '\0' : serial[0];
    const bool letter = (first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z');
    return letter ? "titles/" + std::string(1, first) + "/" + serial : "titles/" + serial;
}

void DrawPicture(const fs::path& path, int seed)
{
    QImage image(320, 240, QImage::Format_RGB32);
    image.fill(QColor::fromHsv((seed * 67) % 360, 90, 240));
    QPainter painter(&image);
    painter.setBrush(QColor::fromHsv((seed * 67 + 180) % 360, 200, 200));
    painter.drawEllipse(QPoint(160, 120), 60 + seed * 5, 60);
    painter.end();
    image.save(QString::fromStdString(path.string()));
}

void WriteTitle(const fs::path& stage, const TTestTitle& title)
{
    TPlayPackage package;
    package.Settings.Add("VolFileTitle=" + Utf8ToCp932(title.Name));
    package.Settings.Add("TimeFormat=TMilliseconds");
    for (const std::string& line : title.Settings)
        package.Settings.Add(Utf8ToCp932(line));
    package.Settings.Add("VolSerialNum=" + title.Serial);
    package.TimeFormat = otfTrackMilliseconds;
    for (const TTestCard& card : title.Cards) {
        TPlayCardItem item;
        item.MainText = Utf8ToCp932(card.Main);
        item.SubText = Utf8ToCp932(card.Sub);
        item.Picture = Utf8ToCp932(card.Picture);
        item.DataText = Utf8ToCp932(card.Data);
        item.StartPos = MakePackedPosition(1, 0, 0, static_cast<std::uint32_t>(card.StartMs));
        item.EndPos = MakePackedPosition(1, 0, 0, static_cast<std::uint32_t>(card.EndMs));
        item.TimeFormat = otfTrackMilliseconds;
        package.MainCards.AddRec(item);
    }
    if (!package.SaveToFile((stage / "lesson.qzc").string(), "test", "", ""))
        throw std::runtime_error("cannot write the test title");
}

void WriteVirtualCD(const fs::path& stage, const TTestTitle& title)
{
    const fs::path folder = title.VirtualCDHeader.empty() ? stage / "vcd" / title.Serial : stage;
    fs::create_directories(folder);
    const std::string media = (folder / title.Media).string();
    const bool made = !title.MediaSource.empty()     ? fs::copy_file(title.MediaSource, media)
                      : title.Media.ends_with(".avi") ? MakeAvi(media, 320, 240, title.MediaSeconds * 25)
                                                      : MakeWav(media, title.MediaSeconds);
    if (!made)
        throw std::runtime_error("cannot make the test media");
    if (title.LeaveOutMedia)
        fs::remove(media);
    TDataFile ini((folder / "vcd.ini").string());
    ini.Add("code=" + title.Serial);
    ini.Add("[files]");
    ini.Add("file=vcd\\" + title.Serial + "\\" + title.Media);
    ini.Close();
}

// 16-bit mono samples and their rate.
struct TSound {
    int Rate = 22050;
    std::vector<std::int16_t> Samples;
};

std::uint32_t Le16(const char* p)
{
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return b[0] | b[1] << 8;
}

std::uint32_t Le32(const char* p)
{
    return Le16(p) | Le16(p + 2) << 16;
}

// The samples of a 16-bit mono PCM WAV file; an empty sound when it is anything else. A data
// chunk whose size runs past the end (as a writer that streams leaves it) is read to the end.
TSound ReadMonoWav(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    TSound sound;
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0)
        return sound;
    bool pcm16Mono = false;
    for (std::size_t at = 12; at + 8 <= bytes.size();) {
        const std::string id = bytes.substr(at, 4);
        const std::size_t size = std::min<std::size_t>(Le32(&bytes[at + 4]), bytes.size() - at - 8);
        const char* body = &bytes[at + 8];
        if (id == "fmt " && size >= 16) {
            pcm16Mono = Le16(body) == 1 && Le16(body + 2) == 1 && Le16(body + 14) == 16;
            sound.Rate = static_cast<int>(Le32(body + 4));
        } else if (id == "data" && pcm16Mono) {
            sound.Samples.resize(size / 2);
            std::memcpy(sound.Samples.data(), body, sound.Samples.size() * 2);
            return sound;
        }
        at += 8 + size + (size & 1);
    }
    return {};
}

void WriteMonoWav(const std::string& path, const TSound& sound)
{
    auto le = [](std::ofstream& out, std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out.put(static_cast<char>(value >> (8 * i) & 0xFF));
    };
    const auto dataBytes = static_cast<std::uint32_t>(sound.Samples.size() * 2);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write("RIFF", 4);
    le(out, 36 + dataBytes, 4);
    out.write("WAVEfmt ", 8);
    le(out, 16, 4);
    le(out, 1, 2);
    le(out, 1, 2);
    le(out, static_cast<std::uint32_t>(sound.Rate), 4);
    le(out, static_cast<std::uint32_t>(sound.Rate) * 2, 4);
    le(out, 2, 2);
    le(out, 16, 2);
    out.write("data", 4);
    le(out, dataBytes, 4);
    out.write(reinterpret_cast<const char*>(sound.Samples.data()), dataBytes);
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

// Empty when espeak-ng cannot be run or fails.
TSound Speak(const std::string& text, const fs::path& scratch)
{
    const QString wav = QString::fromStdString(scratch.string());
    const bool ran = QProcess::execute("espeak-ng", {"-v", "en-us", "-s", "150", "-w", wav, QString::fromStdString(text)}) == 0;
    TSound sound = ran ? ReadMonoWav(scratch) : TSound{};
    std::error_code ignored;
    fs::remove(scratch, ignored);
    return sound;
}

// About as long as saying the text would take, at a pitch of the card's own.
TSound Tone(const std::string& text, int index, int rate)
{
    TSound sound;
    sound.Rate = rate;
    const std::size_t length = static_cast<std::size_t>(rate) * std::max<std::size_t>(1000, 65 * text.size()) / 1000;
    const double step = 2 * std::numbers::pi * (330 + 55 * index) / rate;
    for (std::size_t i = 0; i < length; ++i)
        sound.Samples.push_back(static_cast<std::int16_t>(8000 * std::sin(step * double(i))));
    return sound;
}

}  // namespace

TTestTitle SpokenTitle(const std::vector<TTestCard>& cards, const std::string& mediaPath, bool tones, bool& spoken)
{
    constexpr int LeadMs = 200;
    constexpr int PauseMs = 400;
    std::vector<TSound> parts;
    spoken = !tones;
    for (std::size_t i = 0; i < cards.size() && spoken; ++i) {
        parts.push_back(Speak(cards[i].Main, mediaPath + ".part.wav"));
        spoken = !parts.back().Samples.empty() && parts.back().Rate == parts.front().Rate;
    }
    if (!spoken) {
        parts.clear();
        for (std::size_t i = 0; i < cards.size(); ++i)
            parts.push_back(Tone(cards[i].Main, static_cast<int>(i), 22050));
    }
    TSound media;
    media.Rate = parts.empty() ? 22050 : parts.front().Rate;
    auto pause = [&media](int ms) { media.Samples.resize(media.Samples.size() + std::size_t(media.Rate) * ms / 1000); };
    auto now = [&media] { return static_cast<int>(media.Samples.size() * 1000 / std::size_t(media.Rate)); };
    TTestTitle title;
    title.Media = "speech.wav";
    title.MediaSource = mediaPath;
    title.Cards = cards;
    pause(LeadMs);
    for (std::size_t i = 0; i < parts.size(); ++i) {
        title.Cards[i].StartMs = now();
        media.Samples.insert(media.Samples.end(), parts[i].Samples.begin(), parts[i].Samples.end());
        pause(PauseMs);
        title.Cards[i].EndMs = now();
    }
    WriteMonoWav(mediaPath, media);
    title.MediaSeconds = (now() + 999) / 1000;
    return title;
}

TTestTitle ThreeCardTitle()
{
    TTestTitle title;
    title.Cards = {{"Good morning, everyone.", "みなさん、おはようございます。", "p1.png", "", 200, 1200},
                   {"How are you today?", "今日の調子はどうですか？", "p2.png", "", 1200, 2200},
                   {"I am fine, thank you.", "元気です、ありがとう。", "p1.png", "", 2200, 3200}};
    title.Pictures = {"p1.png", "p2.png"};
    return title;
}

std::string MakeTestPackage(const std::string& folder, const TTestTitle& title)
{
    const fs::path stage = fs::path(folder) / ("stage-" + title.Serial);
    fs::remove_all(stage);
    fs::create_directories(stage);
    WriteTitle(stage, title);
    if (title.WithVirtualCD && !title.Media.empty())
        WriteVirtualCD(stage, title);
    const fs::path pictures = stage / TitleFolderOf(title.Serial) / "pic";
    for (std::size_t i = 0; i < title.Pictures.size(); ++i) {
        fs::create_directories(pictures);
        DrawPicture(pictures / title.Pictures[i], static_cast<int>(i));
    }
    for (const std::string& extra : title.ExtraFiles) {
        fs::create_directories((stage / extra).parent_path());
        std::ofstream(stage / extra) << "extra";
    }
    if (title.CapitalFolders) {
        if (fs::exists(pictures))
            fs::rename(pictures, pictures.parent_path() / "PIC");
        for (const auto& [small, capital] : {std::pair{"vcd", "VCD"}, std::pair{"titles", "TITLES"}})
            if (fs::exists(stage / small))
                fs::rename(stage / small, stage / capital);
    }
    const std::string package = (fs::path(folder) / (title.Serial + ".qzw")).string();
    std::vector<std::string> packed;
    std::string error;
    if (!PackFileTrain(stage.string(), package, title.VirtualCDHeader, packed, error))
        throw std::runtime_error("cannot pack the test title: " + error);
    fs::remove_all(stage);
    return package;
}
