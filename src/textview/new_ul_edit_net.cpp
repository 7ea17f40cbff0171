#include "textview/new_ul_edit_net.h"

#include <QFontMetrics>

namespace olve {

void TNewULEditNet::MeasureLineHeight()
{
    FMeasureFont = font();
    FMeasureFont.setFamilies({SBCSFontName()});
    FLineHeight = QFontMetrics(FMeasureFont).size(Qt::TextSingleLine, QStringLiteral("【Wg")).height();
}

}  // namespace olve
