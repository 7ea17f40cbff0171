// Makes a title package for whole-program tests and prints its path:
//   make_test_package [--serial CODE] [--name NAME] [--card "MAIN|SUB"]... [--tones]
//                     [--many N] [--no-recording] [--setting LINE]... [--pictures] [--video] FOLDER
// Without cards the title has three cards on a generated tone, the first long enough to be
// looked at. With cards, the media speaks each card's main text in turn (espeak-ng; generated tones
// with --tones or when it cannot be run) and the cards follow the spoken lengths; stderr
// tells which, with the cards' times. With --many, N cards of 100 ms each on a tone long
// enough for them all. With --no-recording the package leaves out the recording its
// virtual CD names. --setting adds a "name=value" line to the title; --pictures gives the
// cards two pictures in turn, and --video a silent generated video in place of the speech, so that
// every layout can be shown; otherwise there are no pictures (text-only layout).
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "support/test_package.h"

namespace {

int Usage()
{
    std::fprintf(stderr, "usage: make_test_package [--serial CODE] [--name NAME] [--card \"MAIN|SUB\"]... [--tones] [--many N] [--no-recording] [--setting LINE]... [--pictures] [--video] FOLDER\n");
    return 2;
}

TTestTitle DefaultTitle()
{
    TTestTitle title = ThreeCardTitle();
    title.MediaSeconds = 12;
    title.Cards = {{"Good morning, everyone.", "みなさん、おはようございます。", "", "", 200, 6000},
                   {"How are you today?", "今日の調子はどうですか？", "", "", 6000, 8000},
                   {"I am fine, thank you.", "元気です、ありがとう。", "", "", 8000, 10000}};
    return title;
}

TTestCard CardOf(const std::string& text)
{
    const std::size_t bar = text.find('|');
    TTestCard card;
    card.Main = text.substr(0, bar);
    card.Sub = bar == std::string::npos ? "" : text.substr(bar + 1);
    return card;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string serial;
    std::string name;
    std::vector<TTestCard> cards;
    bool tones = false;
    int many = 0;
    bool noRecording = false;
    std::vector<std::string> settings;
    bool pictures = false;
    bool video = false;
    std::string folder;
    for (int i = 1; i < argc; ++i) {
        const bool valued = i + 1 < argc;
        if (std::strcmp(argv[i], "--serial") == 0 && valued)
            serial = argv[++i];
        else if (std::strcmp(argv[i], "--name") == 0 && valued)
            name = argv[++i];
        else if (std::strcmp(argv[i], "--card") == 0 && valued)
            cards.push_back(CardOf(argv[++i]));
        else if (std::strcmp(argv[i], "--tones") == 0)
            tones = true;
        else if (std::strcmp(argv[i], "--many") == 0 && valued)
            many = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--no-recording") == 0)
            noRecording = true;
        else if (std::strcmp(argv[i], "--setting") == 0 && valued)
            settings.push_back(argv[++i]);
        else if (std::strcmp(argv[i], "--pictures") == 0)
            pictures = true;
        else if (std::strcmp(argv[i], "--video") == 0)
            video = true;
        else if (argv[i][0] == '-' || !folder.empty())
            return Usage();
        else
            folder = argv[i];
    }
    if (folder.empty())
        return Usage();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    TTestTitle title = DefaultTitle();
    if (many > 0) {
        title.Cards.clear();
        for (int i = 0; i < many; ++i)
            title.Cards.push_back({"Sentence number " + std::to_string(i + 1) + " is spoken here.", "", "", "", i * 100,
                                   i * 100 + 100});
        title.MediaSeconds = many / 10 + 1;
    }
    std::string media;
    if (!cards.empty()) {
        media = (std::filesystem::path(folder) / ("speech-" + std::to_string(QCoreApplication::applicationPid()) + ".wav")).string();
        bool spoken = false;
        title = SpokenTitle(cards, media, tones, spoken);
        std::fprintf(stderr, "media: %s\n", spoken ? "spoken by espeak-ng" : "tones");
        for (const TTestCard& card : title.Cards)
            std::fprintf(stderr, "card %6d-%6d ms: %s\n", card.StartMs, card.EndMs, card.Main.c_str());
    }
    title.Pictures.clear();
    if (pictures) {
        title.Pictures = {"p1.png", "p2.png"};
        for (std::size_t i = 0; i < title.Cards.size(); ++i)
            title.Cards[i].Picture = title.Pictures[i % 2];
    }
    if (video)
        title.Media = "clip.avi";
    title.Settings.insert(title.Settings.end(), settings.begin(), settings.end());
    title.LeaveOutMedia = noRecording;
    if (!serial.empty())
        title.Serial = serial;
    if (!name.empty())
        title.Name = name;
    const std::string package = MakeTestPackage(folder, title);
    if (!media.empty())
        std::filesystem::remove(media);
    std::printf("%s\n", package.c_str());
    return 0;
}
