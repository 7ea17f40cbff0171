#pragma once
#include <QStyledItemDelegate>

namespace olve {

// Draws the card grid's cells: the header, number and time centred, the speaker at the
// cell's corner, main text and memo wrapped to the column with a line along each row's top.
class TCardGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // Height of a wrapped text of the given lines.
    static int WrappedHeight(const QFontMetrics& metrics, int lines);
};

}  // namespace olve
