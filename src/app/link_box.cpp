#include "app/link_box.h"

namespace olve {

TLinkBox::TLinkBox(QObject* parent) : QObject(parent)
{
    setObjectName("TLinkBox_LinkBox");
}

void TLinkBox::HandOver(const QString& path)
{
    FText = path;
    Q_EMIT HandedOver(path);
}

}  // namespace olve
