#pragma once

namespace olve {

enum TMPDeviceTypes {
    dtAutoSelect, dtAVIVideo, dtCDAudio, dtDAT, dtDigitalVideo, dtMMMovie, dtOther,
    dtOverlay, dtScanner, dtSequencer, dtVCR, dtVideodisc, dtWaveAudio
};

// The player's mode, as the device reports it.
enum TMPModes { mpNotReady, mpStopped, mpPlaying, mpRecording, mpSeeking, mpPaused, mpOpen };

// How a play (or another command asking for notification) ended.
enum TMPNotifyValues { nvSuccessful, nvSuperseded, nvAborted, nvFailure };

}  // namespace olve
