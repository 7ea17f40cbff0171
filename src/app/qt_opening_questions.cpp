#include "app/qt_opening_questions.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include "app/subtitle_choice_dialog.h"

namespace olve {

namespace {

const char* const RecordingFilter =
    "録音・録画 Recordings (*.mp3 *.wav *.ogg *.oga *.opus *.m4a *.aac *.flac *.wma *.mp4 *.m4v *.mkv *.webm *.avi "
    "*.mov *.wmv *.mpg *.mpeg *.ts *.mts *.m2ts *.3gp *.flv);;すべて All files (*)";

}  // namespace

bool TQtOpeningQuestions::UseRecordingBeside(const std::string& recording)
{
    return FPrompts.Question("この字幕を次の録音で使いますか？\r\n\r\nuse the subtitles with this recording?\r\n\r\n< " +
                             recording + " >");
}

bool TQtOpeningQuestions::ChangeTimeFormat(const TTimeFormatChange& change)
{
    return FPrompts.Question(QuestionText(change));
}

std::string TQtOpeningQuestions::ChooseRecording(const std::string& folder)
{
    const QString chosen =
        QFileDialog::getOpenFileName(FWindow, QStringLiteral("字幕の録音を選ぶ  Choose the recording of the subtitles"),
                                     QString::fromStdString(folder), RecordingFilter);
    return chosen.isEmpty() ? std::string() : QFileInfo(chosen).absoluteFilePath().toStdString();
}

int TQtOpeningQuestions::ChooseMainSubtitles(const std::vector<std::string>& subtitles)
{
    QStringList names;
    for (const std::string& other : subtitles)
        names << QString::fromStdString(other);
    return ChooseItem(QStringLiteral("本文にする字幕  Subtitles for the main text:"), names);
}

int TQtOpeningQuestions::ChooseTrack(const std::vector<TEmbeddedSubtitleTrack>& tracks)
{
    QStringList names;
    for (const TEmbeddedSubtitleTrack& track : tracks)
        names << QStringLiteral("%1: %2 %3 (%4)")
                     .arg(track.Index + 1)
                     .arg(QString::fromStdString(track.Language.empty() ? "?" : track.Language),
                          QString::fromStdString(track.Title), QString::fromStdString(track.Format));
    return ChooseItem(QStringLiteral("本文にする字幕  Track for the main text:"), names);
}

bool TQtOpeningQuestions::MakeSentenceCards()
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("カード  Cards"),
                    QStringLiteral("字幕の行が文の途中で切れています。文ごとのカードにしますか？\n\n"
                                   "The subtitle lines split sentences. Make one card per sentence?"),
                    QMessageBox::NoButton, FWindow);
    QPushButton* sentences = box.addButton(QStringLiteral("文ごと Sentences"), QMessageBox::AcceptRole);
    QPushButton* cues = box.addButton(QStringLiteral("行のまま As cues"), QMessageBox::RejectRole);
    box.setDefaultButton(sentences);
    box.setEscapeButton(cues);
    box.exec();
    return box.clickedButton() == sentences;
}

std::string TQtOpeningQuestions::ChooseSubtitles(const std::string& folder, const std::vector<std::string>& candidates)
{
    TSubtitleChoiceDialog dialog(folder, candidates, FWindow);
    return dialog.exec() == QDialog::Accepted ? dialog.Chosen() : std::string();
}

int TQtOpeningQuestions::ChooseItem(const QString& label, const QStringList& names)
{
    bool chosen = false;
    const QString name = QInputDialog::getItem(FWindow, QStringLiteral("字幕を選ぶ  Choose the subtitles"), label, names,
                                               0, false, &chosen);
    return chosen ? static_cast<int>(names.indexOf(name)) : -1;
}

}  // namespace olve
