#pragma once
#include <QString>
#include <QWidget>
#include <string>

#include "picture/extra_image.h"
#include "title/display_mode.h"

namespace olve {

class TLessonPlayer;

// The pane of the card pictures, or of a video title's video. It shows the lesson's current
// card's picture by itself, looking it up in the open title's folder, and keeps the video
// fitted as it is resized.
class TPicturePane : public QWidget {
    Q_OBJECT
public:
    // programFolder: where names that are not absolute are looked up first.
    TPicturePane(QWidget* parent, TLessonPlayer& lesson, QString programFolder);

    TExtraImage* Picture() const { return FPicture; }
    // The open title's folder, ending with "/" ("/" alone or empty when it has none).
    void SetTitleFolder(const QString& folder) { FTitleFolder = folder; }
    // Pictures are shown in every mode but the card list without them; in the card list
    // with them only when the card changes.
    void SetDisplayMode(TDisplayMode mode)
    {
        FMode = mode;
        FShownCard = -1;
    }
    // Some card of the open title names a picture that is there.
    bool HasPictures() const;
    // Shows the picture named (empty: none); a name that is not found clears the pane.
    void ShowPicture(const std::string& name);
    // The open video shows in this pane, at its own size fitted in.
    void ShowVideo();
    QSize VideoSize() const { return {FVideoWidth, FVideoHeight}; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void ShowCard(int i, bool changed);
    void FitVideo();

    TLessonPlayer& FLesson;
    QString FProgramFolder;
    QString FTitleFolder;
    TExtraImage* FPicture = nullptr;
    std::string FPictureName;
    // The card whose picture shows; -1 when the next card shown looks its picture up anew.
    int FShownCard = -1;
    TDisplayMode FMode = TDisplayMode::System;
    int FVideoWidth = 0;
    int FVideoHeight = 0;
};

}  // namespace olve
