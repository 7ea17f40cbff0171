#pragma once
#include <string>

#include "lesson/lesson_store.h"

namespace olve {

// The learner's data in the settings file beside the program (a BDC-compressed file of
// sections), opened for each reading or writing so that nothing is held between them.
// A settings file that is there but is no regular file is neither read nor written.
class TSettingsFileStore : public TLessonStore {
public:
    TSettingsFileStore(std::string settingsFile, std::string dataFolder);

    const std::string& FileName() const { return FFileName; }
    // Why the settings file cannot be used; none when it can.
    std::optional<TFailure> Refusal() const;
    // Writes the file as it is (a new one when it is missing); true when it is a regular file
    // afterwards.
    bool Make();

    TTitleProgress Progress(const std::string& serial) const override;
    int Volume(int fallback) const override;
    void SaveSitting(int volume, const std::string& serial, const TTitleProgress& progress) override;
    TRecentTitles Recent() const override;
    void SaveRecent(const TRecentTitles& recent) override;
    std::string OpenFolder(const std::string& home) const override;
    void SaveOpenFolder(const std::string& chosenFile) override;
    TModeLayout Layout(TDisplayMode mode) const override;
    void SaveLayout(TDisplayMode mode, int subHeight, const std::optional<TBox>& bounds) override;
    std::string DataFolder() const override { return FDataFolder; }

private:
    std::string FFileName;
    std::string FDataFolder;
};

}  // namespace olve
