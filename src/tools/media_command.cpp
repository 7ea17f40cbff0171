#include "tools/media_command.h"

#include <QCoreApplication>
#include <QTimer>
#include <iostream>

#include "media/content_class.h"
#include "media/device_error.h"
#include "media/media_player.h"

namespace olve {

namespace {

int Usage()
{
    std::cerr << "usage: olvetool media probe FILE\n"
                 "       olvetool media play FILE FROM_MS TO_MS [--null]\n";
    return 2;
}

bool ToInt(const std::string& text, int& value)
{
    try {
        std::size_t used = 0;
        value = std::stoi(text, &used);
        return used == text.size();
    } catch (const std::exception&) {
        return false;
    }
}

int Probe(TOlveMediaPlayer& player)
{
    player.Open();
    const QSize size = player.NaturalSize();
    std::cout << "length_ms=" << player.Length() << "\n"
              << "content_class=" << ContentClassOfFile(player.FileName).toStdString() << "\n"
              << "video_width=" << (player.HasVideo() ? size.width() : 0) << "\n"
              << "video_height=" << (player.HasVideo() ? size.height() : 0) << "\n";
    return 0;
}

int Play(TOlveMediaPlayer& player, int from, int to)
{
    player.Open();
    player.OnNotify = [] { QCoreApplication::exit(0); };
    player.SetStartPos(from);
    player.SetEndPos(to);
    player.Play();
    if (player.Error() != 0) {
        std::cerr << player.ErrorMessage().toStdString() << "\n";
        return 1;
    }
    QCoreApplication::exec();
    static const char* const names[] = {"successful", "superseded", "aborted", "failure"};
    std::cout << "notify=" << names[player.NotifyValue()] << "\n"
              << "position=" << player.Position() << "\n";
    return player.NotifyValue() == nvSuccessful ? 0 : 1;
}

}  // namespace

int RunMediaCommand(const std::vector<std::string>& args)
{
    int argc = 1;
    char name[] = "olvetool";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    TOlveMediaPlayer player;
    try {
        if (args.size() == 2 && args[0] == "probe") {
            player.FileName = QString::fromLocal8Bit(args[1].c_str());
            player.AudioSink = "fakesink";
            return Probe(player);
        }
        int from = 0, to = 0;
        if ((args.size() == 4 || (args.size() == 5 && args[4] == "--null")) && args[0] == "play" &&
            ToInt(args[2], from) && ToInt(args[3], to)) {
            player.FileName = QString::fromLocal8Bit(args[1].c_str());
            if (args.size() == 5)
                player.AudioSink = "fakesink sync=true";
            return Play(player, from, to);
        }
    } catch (const EMCIDeviceError& error) {
        std::cerr << error.what() << "\n";
        return 1;
    }
    return Usage();
}

}  // namespace olve
