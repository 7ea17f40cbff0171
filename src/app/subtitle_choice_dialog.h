#pragma once
#include <QDialog>
#include <string>
#include <vector>

class QListWidget;

namespace olve {

// Offers the subtitle files of a recording's folder, the likeliest first, and an "Open…"
// button for any other file, starting in that folder.
class TSubtitleChoiceDialog : public QDialog {
    Q_OBJECT
public:
    TSubtitleChoiceDialog(const std::string& folder, const std::vector<std::string>& candidates, QWidget* parent);

    // The file chosen (a local path); empty until one is.
    const std::string& Chosen() const { return FChosen; }

private:
    void TakeSelected();
    void OpenOther();

    std::string FFolder;
    std::vector<std::string> FCandidates;
    QListWidget* FList = nullptr;
    std::string FChosen;
};

}  // namespace olve
