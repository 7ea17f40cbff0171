#pragma once
#include <string>

namespace olve {

// Where this machine's sound could go, as the process finds it.
struct TSoundPlaces {
    // The PulseAudio server named by the environment (PULSE_SERVER); empty when none.
    std::string NamedServer;
    // Sockets a PulseAudio (or PipeWire) server of this user or of the system listens on.
    std::string UserSocket;
    std::string SystemSocket;
    // The kernel's list of sound cards ("/proc/asound/cards").
    std::string CardList;
};

// The places of the running process: its environment and the usual sockets.
TSoundPlaces SoundPlacesOfThisProcess();

// The audio sink playbin is given when the caller names none: "pulsesink" when a sound
// server answers (the named one when its socket is named); empty (the desktop's own choice,
// autoaudiosink) when a network server is named or the machine has sound cards; otherwise a
// silent sink that keeps time. Searching every sink
// on a machine without sound prints the sound library's errors at every start and ends in
// the same silent sink.
std::string ChooseAudioSink(const TSoundPlaces& places);

}  // namespace olve
