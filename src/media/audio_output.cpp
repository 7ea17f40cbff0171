#include "media/audio_output.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace olve {

namespace {

// A socket that accepts a connection, not one left behind by a server that has gone.
bool Answers(const std::string& socketPath)
{
    sockaddr_un address{};
    if (socketPath.empty() || socketPath.size() >= sizeof address.sun_path)
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size());
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0)
        return false;
    const bool connected = ::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(socket);
    return connected;
}

// The kernel's list holds a line per card, or " --- no soundcards ---"; no list, no cards.
bool HasSoundCards(const std::string& cardList)
{
    std::ifstream list(cardList);
    std::string line;
    while (std::getline(list, line)) {
        const auto first = line.find_first_not_of(' ');
        if (first != std::string::npos && line[first] >= '0' && line[first] <= '9')
            return true;
    }
    return false;
}

// The socket of a server named as "unix:PATH" or as a bare path; empty for other forms
// (network servers, lists).
std::string NamedSocket(const std::string& server)
{
    const std::string path = server.rfind("unix:", 0) == 0 ? server.substr(5) : server;
    return path.size() > 1 && path[0] == '/' && path.find_first_of(" ,") == std::string::npos ? path : std::string();
}

}  // namespace

TSoundPlaces SoundPlacesOfThisProcess()
{
    TSoundPlaces places;
    if (const char* server = std::getenv("PULSE_SERVER"))
        places.NamedServer = server;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    places.UserSocket = (runtime && *runtime ? std::string(runtime) : "/run/user/" + std::to_string(::getuid())) + "/pulse/native";
    places.SystemSocket = "/run/pulse/native";
    places.CardList = "/proc/asound/cards";
    return places;
}

std::string ChooseAudioSink(const TSoundPlaces& places)
{
    const std::string named = NamedSocket(places.NamedServer);
    if (!places.NamedServer.empty() && named.empty())
        return {};
    if (!named.empty() ? Answers(named) : Answers(places.UserSocket) || Answers(places.SystemSocket))
        return "pulsesink";
    if (HasSoundCards(places.CardList))
        return {};
    return "fakesink sync=true";
}

}  // namespace olve
