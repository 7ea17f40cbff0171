#include "lesson/settings_file_store.h"

#include <QString>
#include <filesystem>
#include <utility>

#include "codec/data_file.h"
#include "places/settings_vocabulary.h"

namespace olve {

namespace {

constexpr int LoudestVolume = 65535;

std::string Section(TDisplayMode mode)
{
    return std::string(DisplayModeSections[static_cast<std::size_t>(mode)]);
}

std::string BoundKey(std::size_t bound)
{
    return std::string(WindowBoundKeys[bound]);
}

std::optional<int> IntegerIn(const TDataFile& file, const std::string& section, const std::string& key)
{
    bool ok = false;
    const int value = QString::fromStdString(file.ReadString(section, key, std::string())).toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

// Opened for reading only: closing it never writes.
class TReadingFile : public TDataFile {
public:
    TReadingFile(const std::string& fileName) : TDataFile(fileName) { ReadOnly = true; }
};

}  // namespace

TSettingsFileStore::TSettingsFileStore(std::string settingsFile, std::string dataFolder)
    : FFileName(std::move(settingsFile)), FDataFolder(std::move(dataFolder))
{
}

std::optional<TFailure> TSettingsFileStore::Refusal() const
{
    return DataFileRefusal(FFileName);
}

bool TSettingsFileStore::Make()
{
    TDataFile(FFileName).Close();
    std::error_code ec;
    return std::filesystem::is_regular_file(FFileName, ec);
}

TTitleProgress TSettingsFileStore::Progress(const std::string& serial) const
{
    return ReadTitleProgress(TReadingFile(FFileName), serial);
}

int TSettingsFileStore::Volume(int fallback) const
{
    return ReadPlayerVolume(TReadingFile(FFileName), fallback);
}

void TSettingsFileStore::SaveSitting(int volume, const std::string& serial, const TTitleProgress& progress)
{
    TDataFile file(FFileName);
    // A file that never had a volume gets one only when it is not the loudest, the default.
    if (ReadPlayerVolume(file, LoudestVolume) != volume)
        WritePlayerVolume(file, volume);
    if (!serial.empty())
        WriteTitleProgress(file, serial, progress);
    file.Close();
}

TRecentTitles TSettingsFileStore::Recent() const
{
    TRecentTitles recent;
    recent.Read(TReadingFile(FFileName));
    return recent;
}

void TSettingsFileStore::SaveRecent(const TRecentTitles& recent)
{
    TDataFile file(FFileName);
    recent.Write(file);
    file.Close();
}

std::string TSettingsFileStore::OpenFolder(const std::string& home) const
{
    return ReadOpenFolder(TReadingFile(FFileName), home);
}

void TSettingsFileStore::SaveOpenFolder(const std::string& chosenFile)
{
    TDataFile file(FFileName);
    WriteOpenFolder(file, chosenFile);
    file.Close();
}

TModeLayout TSettingsFileStore::Layout(TDisplayMode mode) const
{
    const TReadingFile file(FFileName);
    const std::string section = Section(mode);
    return {IntegerIn(file, section, BoundKey(0)), IntegerIn(file, section, BoundKey(1)),
            IntegerIn(file, section, BoundKey(2)), IntegerIn(file, section, BoundKey(3)),
            IntegerIn(file, section, std::string(SubViewHeightKey))};
}

void TSettingsFileStore::SaveLayout(TDisplayMode mode, int subHeight, const std::optional<TBox>& bounds)
{
    TDataFile file(FFileName);
    const std::string section = Section(mode);
    file.WriteInteger(section, std::string(SubViewHeightKey), subHeight);
    if (bounds) {
        file.WriteInteger(section, BoundKey(0), bounds->Left);
        file.WriteInteger(section, BoundKey(1), bounds->Top);
        file.WriteInteger(section, BoundKey(2), bounds->Width);
        file.WriteInteger(section, BoundKey(3), bounds->Height);
    }
    file.Close();
}

}  // namespace olve
