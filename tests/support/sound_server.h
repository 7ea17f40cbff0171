#pragma once
#include <QByteArray>
#include <QProcess>
#include <QString>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

// A PulseAudio daemon of the test's own, in a private folder, with one null sink at 44.1 kHz
// mono whose monitor can be recorded sample by sample. While it runs, this process's sound
// clients (pulsesink) reach it and nothing else; the environment is restored afterwards.
class TSoundServer {
public:
    static constexpr int Rate = 44100;

    explicit TSoundServer(const std::string& folder);
    ~TSoundServer();
    TSoundServer(const TSoundServer&) = delete;
    TSoundServer& operator=(const TSoundServer&) = delete;

    // Why a sound server cannot be had here (a program missing), or empty.
    static std::string Missing();
    // Empty once the daemon answers, else why not.
    std::string Start();

    // Records what the sink plays until StopRecording, which returns it as 16-bit samples.
    bool StartRecording();
    std::vector<std::int16_t> StopRecording();

private:
    void SetEnvironment(const char* name, const QByteArray& value);

    std::string FFolder;
    QProcess FDaemon;
    QProcess FRecorder;
    std::map<std::string, std::pair<bool, QByteArray>> FSavedEnvironment;
};

// Stretches of sound in a recording, parted by at least gapSamples exact zeros (the silence a
// sound server plays when nothing is playing).
std::vector<std::vector<std::int16_t>> SoundStretches(const std::vector<std::int16_t>& samples,
                                                      std::size_t gapSamples);
