#include "app/qt_file_copy_question.h"

#include "app/file_copy_dialog.h"

namespace olve {

TQtFileCopyQuestion::TQtFileCopyQuestion(QWidget* owner) : FOwner(owner)
{
    FPrompts.SetParent(owner);
}

void TQtFileCopyQuestion::Ask(TFileCopyRequest& request)
{
    TdlgFileCopy dialog(FPrompts, FOwner);
    dialog.Setup(request);
    dialog.exec();
    dialog.Answer(request);
}

}  // namespace olve
