#pragma once
#include <array>

namespace olve {

// How the positions of the open media are counted.
enum TOlveTimeFormat { otfNone, otfTMSF, otfTrackMilliseconds, otfFrames };
inline constexpr std::array<const char*, 4> OlveTimeFormatNames = {"unknown", "TMSF", "TrackMilliseconds", "Frames"};

enum TMediaType { mtNone, mtAudioCD, mtMediaCD, mtVirtualCD };
inline constexpr std::array<const char*, 4> MediaTypeNames = {"None", "AudioCD", "MediaCD", "VirtualCD"};

enum TMPDeviceTypes {
    dtAutoSelect, dtAVIVideo, dtCDAudio, dtDAT, dtDigitalVideo, dtMMMovie, dtOther,
    dtOverlay, dtScanner, dtSequencer, dtVCR, dtVideodisc, dtWaveAudio
};
inline constexpr std::array<const char*, 13> DeviceTypeNames = {
    "dtAutoSelect", "dtAVIVideo", "dtCDAudio", "dtDAT", "dtDigitalVideo", "dtMMMovie", "dtOther",
    "dtOverlay", "dtScanner", "dtSequencer", "dtVCR", "dtVideodisc", "dtWaveAudio"};
// The open names of device types 1 to 12; automatic selection passes no type.
inline constexpr std::array<const char*, 13> DeviceTypeOpenNames = {
    "", "AVIVideo", "CDAudio", "DAT", "DigitalVideo", "MMMovie", "Other",
    "Overlay", "Scanner", "Sequencer", "VCR", "Videodisc", "WaveAudio"};
// Device-type names by code: "Unknown", then codes 513 to 523.
inline constexpr std::array<const char*, 12> MciDeviceTypeNames = {
    "Unknown", "VCR", "VIDEODISC", "OVERLAY", "CD_AUDIO", "DAT", "SCANNER",
    "ANIMATION", "DIGITAL_VIDEO", "OTHER", "WAVEFORM_AUDIO", "SEQUENCER"};
inline constexpr std::array<const char*, 7> ContentClassNames = {
    "other", "video", "audio", "text", "image", "application", "PlayerFrameClass"};
inline constexpr std::array<const char*, 5> LevelNames = {"なし", "基本", "中学", "大学へ", "一般"};

// The player's mode, as the device reports it.
enum TMPModes { mpNotReady, mpStopped, mpPlaying, mpRecording, mpSeeking, mpPaused, mpOpen };

// How a play (or another command asking for notification) ended.
enum TMPNotifyValues { nvSuccessful, nvSuperseded, nvAborted, nvFailure };

// Time format codes of the device.
inline constexpr int TimeFormatMilliseconds = 0;
inline constexpr int TimeFormatFrames = 3;
inline constexpr int TimeFormatTmsf = 10;

}  // namespace olve
