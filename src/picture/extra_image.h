#pragma once
#include <QFrame>
#include <QImage>
#include <QString>

#include "picture/ex_image.h"
#include "picture/poly_point_list_ex.h"
#include "picture/shape_types.h"

class QMenu;

namespace olve {

// The picture pane: shows a picture fitted to the pane and centred over the pane's colour,
// and lets the user draw freehand lines over it. Lines are kept in picture pixels, so they
// stay on their spot of the picture when the pane is resized; loading another picture
// erases them.
//
// Mouse: a left drag beyond 3 pixels draws a freehand line; a Ctrl-click starts a line of
// straight segments, each further release with Ctrl held adds one, a release without Ctrl
// ends it; a right click opens the menu that undoes, redoes or erases lines.
class TExtraImage : public QFrame {
    Q_OBJECT
public:
    explicit TExtraImage(QWidget* parent = nullptr);

    // False when the file is missing, has no decoder for its extension or cannot be decoded;
    // the shown picture then stays, though FileName is emptied once the file was found.
    bool LoadFromFile(const QString& fileName);
    // Hides the picture and blanks the rendered copy; the lines stay.
    void ClearPicture();
    // Fits the rendered picture to the pane and draws the lines over it.
    void Redraw();
    // Draws the lines over the shown picture without erasing first.
    void DrawLines();

    int SourceWidth() const { return FPicture.width(); }
    int SourceHeight() const { return FPicture.height(); }
    const QString& FileName() const { return FFileName; }

    bool CanDrawLine() const { return FCanDrawLine; }
    void SetCanDrawLine(bool can) { FCanDrawLine = can; }
    bool CanMoveImage() const { return FCanMoveImage; }
    void SetCanMoveImage(bool can) { FCanMoveImage = can; }

    QColor Color() const { return palette().color(QPalette::Window); }
    void SetColor(const QColor& color);

    TPoint ViewCenter() const { return FViewCenter; }
    const TRect& SourceRect() const { return FSourceRect; }
    const TRect& DestRect() const { return FDestRect; }
    TPoint DownPoint() const { return FDownPoint; }
    bool Panning() const { return FPanning; }
    bool Drawing() const { return FDrawing; }
    TColor PenColor() const { return FPenColor; }
    std::int32_t PenWidth() const { return FPenWidth; }
    std::int32_t ZoomLevel() const { return FZoomLevel; }
    const QImage& RenderedPicture() const { return FRenderedPicture; }
    const TPolyPointListEx& Lines() const { return FLines; }
    TExImage* InnerImage() const { return FImage; }
    QMenu* PictureMenu() const { return FPictureMenu; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void RenderPicture();
    TPoint ToPicture(TPoint display) const;
    void ImageMouseDown(Qt::MouseButton button, TShiftState shift, int x, int y);
    void ImageMouseMove(QObject* sender, TShiftState shift, int x, int y);
    void ImageMouseUp(Qt::MouseButton button, TShiftState shift, int x, int y);
    void PictureMenuPopup();
    void MoveViewCenter(int x, int y);

    // Shared by all panes: a redraw, or a mouse move, that arrives while one runs is dropped.
    static bool FRedrawing;
    static bool FMovingMouse;

    bool FCanDrawLine = true;
    bool FCanMoveImage = true;
    TPoint FViewCenter{0, 0};
    TRect FSourceRect;
    TRect FDestRect;
    TPoint FDownPoint{-1, -1};
    bool FPanning = false;
    bool FDrawing = false;
    TColor FPenColor = 255;
    std::int32_t FPenWidth = 8;
    std::int32_t FZoomLevel = 1;
    QString FFileName;
    QImage FRenderedPicture;
    QImage FPicture;
    TExImage* FImage;
    TPolyPointListEx FLines;
    QMenu* FPictureMenu;
};

}  // namespace olve
