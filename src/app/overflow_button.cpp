#include "app/overflow_button.h"
#include <QMenu>
#include "app/tool_glyphs.h"

namespace olve {

TOverflowButton::TOverflowButton(QWidget* toolBar, QSize size, std::function<QList<QWidget*>()> controls,
                                 std::function<void()> showVolume)
    : QToolButton(toolBar), FControls(std::move(controls)), FShowVolume(std::move(showVolume))
{
    setObjectName("sbOverflow");
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
    setText(QStringLiteral("»"));
    setToolTip(QStringLiteral("ほかのボタン  More controls"));
    setFixedSize(size);
    setPopupMode(QToolButton::InstantPopup);
    setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; }"));
    FMenu = new QMenu(this);
    FMenu->setObjectName("pmOverflow");
    setMenu(FMenu);
    hide();
    connect(FMenu, &QMenu::aboutToShow, this, &TOverflowButton::FillMenu);
}

void TOverflowButton::FillMenu()
{
    FMenu->clear();
    for (QWidget* control : FControls()) {
        if (!control->isHidden())
            continue;
        auto* button = qobject_cast<QToolButton*>(control);
        if (!button) {
            QAction* volume = FMenu->addAction(QIcon(GlyphPixmap(TGlyph::Speaker, 20)), QStringLiteral("音量  Volume"));
            connect(volume, &QAction::triggered, this, [this] { FShowVolume(); });
            continue;
        }
        QString hint = button->toolTip();
        hint.replace('\n', QStringLiteral("  ")).replace('&', QStringLiteral("&&"));
        const QString glyph = button->text();
        QAction* item = FMenu->addAction(button->icon(), glyph.isEmpty() ? hint : glyph + "   " + hint);
        item->setCheckable(button->isCheckable());
        item->setChecked(button->isChecked());
        item->setEnabled(button->isEnabled());
        item->setData(control->objectName());
        connect(item, &QAction::triggered, button, &QToolButton::click);
    }
}

}  // namespace olve
