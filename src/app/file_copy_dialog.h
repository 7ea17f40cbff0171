#pragma once
#include <QDialog>

#include "filetrain/file_copy_question.h"
#include "files/prompts.h"

class QButtonGroup;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace olve {

// "ファイル コピー": asks what to do with a file that installing a package would replace.
class TdlgFileCopy : public QDialog {
    Q_OBJECT
public:
    // Prompts tells the user why the dialog cannot close yet.
    TdlgFileCopy(TPrompts& prompts, QWidget* parent = nullptr);

    // Fills the dialog from the question: the offered choice, both names from the target's
    // file name, and the two files' sizes and dates in the memo.
    void Setup(const TFileCopyRequest& request);
    // The answer; a dialog closed in any way but its two buttons answers Cancel.
    void Answer(TFileCopyRequest& request) const;

    // The memo's text for a question.
    static QString InfoText(const TFileCopyRequest& request);

private:
    void rgChoiceClick();
    void btnOKClick();
    void btnAllClick();
    bool CanClose();

    TPrompts& FPrompts;
    QButtonGroup* rgChoice = nullptr;
    QLineEdit* edOld = nullptr;
    QLineEdit* edNew = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnAll = nullptr;
    QPlainTextEdit* meInfo = nullptr;
    bool FApplyToAll = false;
    bool FAnswered = false;
};

}  // namespace olve
