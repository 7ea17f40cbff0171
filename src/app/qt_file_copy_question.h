#pragma once
#include <QPointer>
#include <QWidget>

#include "app/qt_prompts.h"
#include "filetrain/file_copy_question.h"

namespace olve {

// Answers installing's question about an existing file with the file copy dialog.
class TQtFileCopyQuestion : public TFileCopyQuestion {
public:
    explicit TQtFileCopyQuestion(QWidget* owner = nullptr);
    void Ask(TFileCopyRequest& request) override;

private:
    QPointer<QWidget> FOwner;
    TQtPrompts FPrompts;
};

}  // namespace olve
