#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "media/audio_output.h"
#include "support/temp_folder.h"

using namespace olve;

namespace {

// A socket bound at path; listening, or left behind as a server that has gone leaves it.
int BoundSocket(const std::string& path, bool listening)
{
    const int socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    EXPECT_EQ(::bind(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    if (listening) {
        EXPECT_EQ(::listen(socket, 1), 0);
    }
    return socket;
}

}  // namespace

// Without sound the player goes straight to a silent sink instead of trying every sink (and
// printing the sound library's errors); a server that answers is used; cards or a named
// server leave the choice to the desktop.
TEST(AudioOutput, TheSinkFollowsTheSoundThisMachineHas)
{
    TTempFolder folder;
    TSoundPlaces places;
    places.UserSocket = folder / "native";
    places.SystemSocket = folder / "system-native";
    places.CardList = folder / "cards";
    std::ofstream(places.CardList) << " --- no soundcards ---\n";
    EXPECT_EQ(ChooseAudioSink(places), "fakesink sync=true");

    const int gone = BoundSocket(places.UserSocket, false);
    EXPECT_EQ(ChooseAudioSink(places), "fakesink sync=true") << "a socket nobody answers on";
    ::close(gone);
    ::unlink(places.UserSocket.c_str());
    const int server = BoundSocket(places.UserSocket, true);
    EXPECT_EQ(ChooseAudioSink(places), "pulsesink");
    places.NamedServer = "unix:" + folder / "gone-native";
    EXPECT_EQ(ChooseAudioSink(places), "fakesink sync=true") << "the named server does not answer";
    places.NamedServer = places.UserSocket;
    EXPECT_EQ(ChooseAudioSink(places), "pulsesink");
    places.NamedServer.clear();
    ::close(server);

    std::ofstream(places.CardList) << " 0 [PCH            ]: HDA-Intel - HDA Intel PCH\n";
    EXPECT_EQ(ChooseAudioSink(places), "");
    places.CardList = folder / "no-such-list";
    places.NamedServer = "tcp:localhost:4713";
    EXPECT_EQ(ChooseAudioSink(places), "");
}
