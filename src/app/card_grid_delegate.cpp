#include "app/card_grid_delegate.h"

#include <QPainter>

#include "app/card_text_wrap.h"

namespace olve {

namespace {

constexpr int LineGap = 6;

int WrapWidth(const QStyleOptionViewItem& option)
{
    return std::max(option.rect.width() - 20, 10);
}

}  // namespace

int TCardGridDelegate::WrappedHeight(const QFontMetrics& metrics, int lines)
{
    return metrics.height() * lines + LineGap * (lines - 1);
}

void TCardGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const bool selected = option.state & QStyle::State_Selected;
    painter->fillRect(option.rect, selected ? option.palette.highlight() : option.palette.base());
    painter->setPen(selected ? option.palette.highlightedText().color() : option.palette.text().color());
    const QString text = index.data().toString();
    const QRect r = option.rect;
    const int column = index.column();
    if (column <= 1) {
        painter->drawText(r, Qt::AlignCenter, text);
        return;
    }
    if (column == 2) {
        painter->drawText(r.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop, text);
        return;
    }
    const QFontMetrics metrics(option.font);
    const QStringList lines = WrapCardText(text, option.font, WrapWidth(option));
    painter->save();
    painter->setClipRect(r.adjusted(0, 0, -10, 0));
    int y = r.top() + 4;
    for (const QString& line : lines) {
        painter->drawText(QRect(r.left() + 10, y, r.width() - 20, metrics.height()), Qt::AlignLeft | Qt::AlignVCenter, line);
        y += metrics.height() + LineGap;
    }
    painter->restore();
    painter->setPen(option.palette.mid().color());
    painter->drawLine(r.topLeft(), r.topRight());
}

QSize TCardGridDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (index.column() >= 3) {
        const QFontMetrics metrics(option.font);
        const int lines = static_cast<int>(WrapCardText(index.data().toString(), option.font, WrapWidth(option)).size());
        size.setHeight(std::max(size.height(), WrappedHeight(metrics, lines) + 8));
    }
    return size;
}

}  // namespace olve
