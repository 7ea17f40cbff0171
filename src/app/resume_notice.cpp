#include "app/resume_notice.h"

namespace olve {

namespace {

constexpr int NoticeHeight = 26;

}  // namespace

TResumeNotice::TResumeNotice(QWidget* textPane) : QLabel(textPane)
{
    setObjectName("lbResume");
    setAutoFillBackground(true);
    QPalette notice = palette();
    notice.setColor(QPalette::Window, QColor(255, 244, 196));
    notice.setColor(QPalette::WindowText, QColor(64, 48, 0));
    setPalette(notice);
    setIndent(8);
    hide();
}

void TResumeNotice::Offer(int lastCard, int count)
{
    if (lastCard <= 0 || lastCard >= count) {
        Withdraw();
        return;
    }
    FCard = lastCard;
    setText(QStringLiteral("前回はカード %1 / %2 まで: G で続きから  (G: go on from card %1)").arg(FCard + 1).arg(count));
    show();
    raise();
}

void TResumeNotice::Withdraw()
{
    FCard = -1;
    hide();
}

void TResumeNotice::Place(int bottom, int width)
{
    setGeometry(0, bottom + 1 - NoticeHeight, width, NoticeHeight);
}

}  // namespace olve
