#include "picture/extra_image.h"

#include <QFileInfo>
#include <QMenu>
#include <QPainter>
#include <QScopedValueRollback>

#include "picture/picture_geometry.h"
#include "picture/picture_loader.h"

namespace olve {

bool TExtraImage::FRedrawing = false;

TExtraImage::TExtraImage(QWidget* parent) : QFrame(parent), FImage(new TExImage(this)), FPictureMenu(new QMenu(this))
{
    setFrameShape(QFrame::NoFrame);
    setAutoFillBackground(true);
    FImage->hide();
    FImage->OnMouseDown = [this](Qt::MouseButton button, TShiftState shift, int x, int y) {
        ImageMouseDown(button, shift, x, y);
    };
    FImage->OnMouseUp = [this](Qt::MouseButton button, TShiftState shift, int x, int y) {
        ImageMouseUp(button, shift, x, y);
    };
    FImage->DoMouseMove = [this](QObject* sender, TShiftState shift, int x, int y) {
        ImageMouseMove(sender, shift, x, y);
    };
    connect(FPictureMenu, &QMenu::aboutToShow, this, &TExtraImage::PictureMenuPopup);
}

void TExtraImage::SetColor(const QColor& color)
{
    QPalette colours = palette();
    colours.setColor(QPalette::Window, color);
    setPalette(colours);
}

bool TExtraImage::LoadFromFile(const QString& fileName)
{
    if (!QFileInfo(fileName).isFile())
        return false;
    FFileName.clear();
    QImage picture;
    QString error;
    if (!LoadPictureFile(fileName, picture, error))
        return false;
    FPicture = picture;
    RenderPicture();
    if (FRenderedPicture.isNull())
        return false;
    FZoomLevel = 1;
    FViewCenter = {0, 0};
    FPanning = false;
    FDrawing = false;
    FLines.Clear();
    Redraw();
    FFileName = fileName;
    return true;
}

// The picture at its own size over the pane's colour, which shows through transparent parts.
void TExtraImage::RenderPicture()
{
    if (!FPicture.hasAlphaChannel()) {
        FRenderedPicture = FPicture.convertToFormat(QImage::Format_RGB32);
        return;
    }
    FRenderedPicture = QImage(FPicture.size(), QImage::Format_RGB32);
    if (FRenderedPicture.isNull())
        return;
    FRenderedPicture.fill(Color());
    QPainter(&FRenderedPicture).drawImage(0, 0, FPicture);
}

void TExtraImage::ClearPicture()
{
    FImage->hide();
    FRenderedPicture.fill(Color());
    FFileName.clear();
}

void TExtraImage::Redraw()
{
    if (FRedrawing || !parentWidget())
        return;
    const QScopedValueRollback redrawing(FRedrawing, true);
    const int w = FRenderedPicture.width();
    const int h = FRenderedPicture.height();
    if (w == 0 || h == 0)
        return;
    if (FViewCenter.x == 0)
        FViewCenter = {w / 2, h / 2};
    const int cw = width();
    const int ch = height();
    if (cw <= 0 || ch <= 0)
        return;

    const TRect source{0, 0, w, h};
    const TRect dest = FitRect(w, h, cw, ch);
    FImage->setGeometry(0, 0, cw, ch);
    QImage& bitmap = FImage->Bitmap();
    bitmap = QImage(cw, ch, QImage::Format_RGB32);
    if (!bitmap.isNull()) {
        bitmap.fill(Color());
        if (dest.Width() > 0 && dest.Height() > 0) {
            // Area-averaged scaling: a large photo reduced to the pane shows no moiré.
            const QImage shown = FRenderedPicture.scaled(dest.Width(), dest.Height(), Qt::IgnoreAspectRatio,
                                                         Qt::SmoothTransformation);
            QPainter(&bitmap).drawImage(dest.Left, dest.Top, shown);
        }
    }
    FImage->show();
    FSourceRect = source;
    FDestRect = dest;
    DrawLines();
    FImage->update();
}

TPoint TExtraImage::ToPicture(TPoint display) const
{
    return DisplayToPicture(display, FSourceRect, FDestRect);
}

void TExtraImage::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    Redraw();
}

}  // namespace olve
