#include "textview/font_substitutions.h"

#include <QFont>
#include <QStringList>

namespace olve {

void RegisterFontSubstitutions()
{
    const QStringList proportionalGothic{"Noto Sans CJK JP"};
    const QStringList fixedGothic{"Noto Sans Mono CJK JP", "Noto Sans CJK JP"};
    const QStringList serif{"DejaVu Serif", "Noto Serif CJK JP"};
    const QStringList comic{"Comic Neue", "DejaVu Sans"};
    // insertSubstitutions skips names already present, so repeated calls change nothing.
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"), proportionalGothic);
    QFont::insertSubstitutions(QStringLiteral("MS PGothic"), proportionalGothic);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"), fixedGothic);
    QFont::insertSubstitutions(QStringLiteral("MS Gothic"), fixedGothic);
    QFont::insertSubstitutions(QStringLiteral("Georgia"), serif);
    QFont::insertSubstitutions(QStringLiteral("Comic Sans MS"), comic);
}

}  // namespace olve
