#include "app/link_box.h"

namespace olve {

TLinkBox::TLinkBox(QWidget* parent) : QLineEdit(parent)
{
    setObjectName("TLinkBox_LinkBox");
    setFocusPolicy(Qt::NoFocus);
    setGeometry(0, 0, 1, 1);
    lower();
    hide();
    connect(this, &QLineEdit::textChanged, this, &TLinkBox::Changed);
}

void TLinkBox::HandOver(const QString& text)
{
    if (this->text() == text)
        Q_EMIT Changed();
    else
        setText(text);
}

}  // namespace olve
