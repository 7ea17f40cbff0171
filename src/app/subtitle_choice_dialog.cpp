#include "app/subtitle_choice_dialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace olve {

namespace {

const char* const SubtitleFilter =
    "字幕・文字起こし Subtitles and transcripts (*.srt *.vtt *.lrc *.txt);;すべて All files (*)";

}  // namespace

TSubtitleChoiceDialog::TSubtitleChoiceDialog(const std::string& folder, const std::vector<std::string>& candidates,
                                             QWidget* parent)
    : QDialog(parent), FFolder(folder), FCandidates(candidates)
{
    setWindowTitle(QStringLiteral("字幕を選ぶ  Choose the subtitles"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("録音の横に英語の字幕が見つかりません。使う字幕を選んでください。\n"
                                                "No English subtitles were found beside the recording. Choose the "
                                                "subtitles to use:"),
                                 this));
    FList = new QListWidget(this);
    for (const std::string& candidate : FCandidates) {
        const QString path = QString::fromStdString(candidate);
        auto* item = new QListWidgetItem(QFileInfo(path).fileName(), FList);
        item->setToolTip(path);
    }
    FList->setCurrentRow(0);
    layout->addWidget(FList);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("選ぶ Choose"));
    buttons->button(QDialogButtonBox::Ok)->setEnabled(!FCandidates.empty());
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル Cancel"));
    QPushButton* open = buttons->addButton(QStringLiteral("開く… Open…"), QDialogButtonBox::ActionRole);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &TSubtitleChoiceDialog::TakeSelected);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(open, &QPushButton::clicked, this, &TSubtitleChoiceDialog::OpenOther);
    connect(FList, &QListWidget::itemActivated, this, &TSubtitleChoiceDialog::TakeSelected);
}

void TSubtitleChoiceDialog::TakeSelected()
{
    const int row = FList->currentRow();
    if (row < 0 || row >= static_cast<int>(FCandidates.size()))
        return;
    FChosen = FCandidates[static_cast<std::size_t>(row)];
    accept();
}

void TSubtitleChoiceDialog::OpenOther()
{
    const QString chosen = QFileDialog::getOpenFileName(this, QStringLiteral("字幕を開く  Open subtitles"),
                                                        QString::fromStdString(FFolder), SubtitleFilter);
    if (chosen.isEmpty())
        return;
    FChosen = QFileInfo(chosen).absoluteFilePath().toStdString();
    accept();
}

}  // namespace olve
