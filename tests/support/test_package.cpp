#include "support/test_package.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "media/positions.h"
#include "storage/cp932_text.h"
#include "storage/data_file.h"
#include "storage/train_pack.h"
#include "support/recording_prompts.h"
#include "support/test_media.h"
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
    TRecordingPrompts prompts;
    TPlayPackage package(prompts);
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
    const fs::path folder = stage / "vcd" / title.Serial;
    fs::create_directories(folder);
    const std::string media = (folder / title.Media).string();
    const bool made = title.Media.ends_with(".avi") ? MakeAvi(media, 320, 240, title.MediaSeconds * 25)
                                                    : MakeWav(media, title.MediaSeconds);
    if (!made)
        throw std::runtime_error("cannot make the test media");
    TRecordingPrompts prompts;
    TDataFile ini((folder / "vcd.ini").string(), prompts);
    ini.Add("code=" + title.Serial);
    ini.Add("[files]");
    ini.Add("file=vcd\\" + title.Serial + "\\" + title.Media);
    ini.Close();
}

}  // namespace

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
    const std::string package = (fs::path(folder) / (title.Serial + ".qzw")).string();
    std::vector<std::string> packed;
    std::string error;
    if (!PackFileTrain(stage.string(), package, "", packed, error))
        throw std::runtime_error("cannot pack the test title: " + error);
    fs::remove_all(stage);
    return package;
}
