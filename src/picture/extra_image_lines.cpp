// Freehand lines on the picture pane: the mouse handlers of the inner image, drawing the
// lines and the line menu.
#include <QMenu>
#include <QPainter>
#include <QScopedValueRollback>
#include <algorithm>
#include <cstdlib>

#include "picture/extra_image.h"
#include "picture/picture_geometry.h"

namespace olve {

bool TExtraImage::FMovingMouse = false;

namespace {

// A press and release closer together than this (|dx| + |dy|) is a click, not a drag.
constexpr int DragThreshold = 3;

}  // namespace

void TExtraImage::DrawLines()
{
    if (FLines.Count() == 0 || FImage->Bitmap().isNull())
        return;
    TPolyPointListEx shown;
    shown.CopyFrom(FLines);
    shown.MapPoints([this](TPoint point) { return PictureToDisplay(point, FSourceRect, FDestRect); });
    QPainter painter(&FImage->Bitmap());
    painter.setRenderHint(QPainter::Antialiasing);
    shown.Draw(painter);
    painter.end();
    FImage->update();
}

void TExtraImage::ImageMouseDown(Qt::MouseButton, TShiftState, int x, int y)
{
    FDownPoint = {x, y};
}

void TExtraImage::ImageMouseMove(QObject*, TShiftState shift, int x, int y)
{
    if (FMovingMouse)
        return;
    const QScopedValueRollback moving(FMovingMouse, true);
    const bool beyondThreshold = std::abs(x - FDownPoint.x) + std::abs(y - FDownPoint.y) > DragThreshold;

    if (shift == ssRight && FCanMoveImage) {
        if (FPanning) {
            MoveViewCenter(x, y);
        } else if (beyondThreshold) {
            FPanning = true;
            FImage->setCursor(Qt::SizeAllCursor);
        }
        return;
    }
    if ((shift & ssLeft) && FCanDrawLine) {
        if (FDrawing) {
            FLines.AddPoint(ToPicture({x, y}));
            DrawLines();
        } else if (FDownPoint.x >= 0 && FDownPoint.y >= 0 && beyondThreshold) {
            // The line begins where the button went down, not where the threshold was crossed.
            FDrawing = true;
            FLines.StartPolyline(ToPicture(FDownPoint), FPenColor, FPenWidth);
            FLines.AddPoint(ToPicture({x, y}));
            DrawLines();
        }
    }
}

// With the whole picture shown the centre is held in the middle, so the picture stays put.
void TExtraImage::MoveViewCenter(int x, int y)
{
    FViewCenter.x += FDownPoint.x - x;
    FViewCenter.y += FDownPoint.y - y;
    const int halfWidth = FSourceRect.Width() / 2;
    const int halfHeight = FSourceRect.Height() / 2;
    FViewCenter.x = std::min(std::max(FViewCenter.x, halfWidth), SourceWidth() - halfWidth);
    FViewCenter.y = std::min(std::max(FViewCenter.y, halfHeight), SourceHeight() - halfHeight);
    Redraw();
    FDownPoint = {x, y};
}

void TExtraImage::ImageMouseUp(Qt::MouseButton button, TShiftState shift, int x, int y)
{
    FDownPoint = {-1, -1};
    if (FPanning || FDrawing) {
        if (FPanning) {
            FPanning = false;
            FImage->unsetCursor();
        }
        if (FDrawing) {
            if (shift & ssCtrl) {
                FLines.AddPoint(ToPicture({x, y}));
                DrawLines();
            } else {
                FDrawing = false;
            }
        }
        return;
    }
    if (button == Qt::RightButton) {
        FPictureMenu->popup(FImage->mapToGlobal(QPoint(x, y)));
    } else if (button == Qt::LeftButton && (shift & ssCtrl)) {
        FLines.StartPolyline(ToPicture({x, y}), FPenColor, FPenWidth);
        DrawLines();
        FDrawing = true;
    }
}

void TExtraImage::PictureMenuPopup()
{
    FPictureMenu->clear();
    QAction* undo = FPictureMenu->addAction(QStringLiteral("線をひとつもどす(&B)"));
    undo->setEnabled(FLines.CurrentIndex() >= 0);
    connect(undo, &QAction::triggered, this, [this] {
        FLines.Undo();
        Redraw();
    });
    QAction* redo = FPictureMenu->addAction(QStringLiteral("線をもどした操作をやり直す(&R)"));
    redo->setEnabled(FLines.CurrentIndex() < FLines.Count() - 1);
    connect(redo, &QAction::triggered, this, [this] {
        FLines.Redo();
        Redraw();
    });
    QAction* erase = FPictureMenu->addAction(QStringLiteral("線をすべて消す(&X)"));
    erase->setEnabled(FLines.Count() > 0);
    connect(erase, &QAction::triggered, this, [this] {
        FLines.Clear();
        FDrawing = false;
        Redraw();
    });
    FPictureMenu->addSeparator();
    FPictureMenu->addAction(QStringLiteral("キャンセル"));
}

}  // namespace olve
