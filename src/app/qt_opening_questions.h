#pragma once
#include <QPointer>
#include <QWidget>

#include "lesson/opening_questions.h"
#include "files/prompts.h"

namespace olve {

// Asks the choices of opening material with the window's boxes and dialogs.
class TQtOpeningQuestions : public TOpeningQuestions {
public:
    TQtOpeningQuestions(QWidget* window, TPrompts& prompts) : FWindow(window), FPrompts(prompts) {}

    bool UseRecordingBeside(const std::string& recording) override;
    std::string ChooseRecording(const std::string& folder) override;
    int ChooseMainSubtitles(const std::vector<std::string>& subtitles) override;
    int ChooseTrack(const std::vector<TEmbeddedSubtitleTrack>& tracks) override;
    bool MakeSentenceCards() override;
    std::string ChooseSubtitles(const std::string& folder, const std::vector<std::string>& candidates) override;
    bool ChangeTimeFormat(const TTimeFormatChange& change) override;

private:
    int ChooseItem(const QString& label, const QStringList& names);

    QPointer<QWidget> FWindow;
    TPrompts& FPrompts;
};

}  // namespace olve
