#include "tools/media_command.h"

#include <QCoreApplication>
#include <iostream>
#include <optional>

#include "media/content_class.h"
#include "media/gst_session.h"

namespace olve {

namespace {

// As long as the player waits for a recording to open.
constexpr int OpenTimeoutMs = 10000;

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

bool Opened(TGstSession& session)
{
    const std::string error = session.Open(OpenTimeoutMs);
    if (!error.empty())
        std::cerr << error << "\n";
    return error.empty();
}

int Probe(const QString& file)
{
    TGstSession session(file, "fakesink");
    if (!Opened(session))
        return 1;
    const QSize size = session.NaturalSize();
    std::cout << "length_ms=" << session.DurationMs() << "\n"
              << "content_class=" << ContentClassOfFile(file).toStdString() << "\n"
              << "video_width=" << (session.HasVideo() ? size.width() : 0) << "\n"
              << "video_height=" << (session.HasVideo() ? size.height() : 0) << "\n";
    return 0;
}

// A segment as a card plays it, without what a window needs: no pictures, no widgets.
int Play(const QString& file, const QString& sink, int from, int to)
{
    TGstSession session(file, sink, false);
    if (!Opened(session))
        return 1;
    const qint64 length = session.DurationMs();
    if (from < 0 || from > length || to < from) {
        std::cerr << "The specified parameter is out of range for the specified command.\n";
        return 1;
    }
    std::optional<std::string> failure;
    session.OnEndOfSegment = [] { QCoreApplication::exit(0); };
    session.OnError = [&failure](const std::string& text) {
        failure = text;
        QCoreApplication::exit(1);
    };
    session.Seek(from, to);
    session.SetPlaying(true);
    QCoreApplication::exec();
    session.SetPlaying(false);
    if (failure)
        std::cerr << *failure << "\n";
    std::cout << "notify=" << (failure ? "failure" : "successful") << "\n"
              << "position=" << (failure ? session.PositionMs().value_or(from) : std::min<qint64>(to, length)) << "\n";
    return failure ? 1 : 0;
}

}  // namespace

int RunMediaCommand(const std::vector<std::string>& args)
{
    int argc = 1;
    char name[] = "olvetool";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    if (args.size() == 2 && args[0] == "probe")
        return Probe(QString::fromLocal8Bit(args[1].c_str()));
    int from = 0, to = 0;
    if ((args.size() == 4 || (args.size() == 5 && args[4] == "--null")) && args[0] == "play" && ToInt(args[2], from) &&
        ToInt(args[3], to))
        return Play(QString::fromLocal8Bit(args[1].c_str()), args.size() == 5 ? "fakesink sync=true" : "", from, to);
    return Usage();
}

}  // namespace olve
