#pragma once
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>
#include <memory>

#include "picture/extra_image.h"
#include "picture_files.h"
#include "support/temp_folder.h"

// A pane filling a 400 × 400 parent, black as the main window makes it.
class PicturePaneTest : public testing::Test {
protected:
    void SetUp() override
    {
        Window = std::make_unique<QWidget>();
        Window->resize(400, 400);
        Pane = new olve::TExtraImage(Window.get());
        Pane->setGeometry(0, 0, 400, 400);
        Pane->SetColor(Qt::black);
        Window->show();
        QApplication::processEvents();
    }

    // A plain white picture of the given size, as a PNG file.
    QString WhitePicture(int width, int height, const std::string& name = "white.png")
    {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::white);
        const QString path = QString::fromStdString(Folder / name);
        EXPECT_TRUE(image.save(path));
        return path;
    }

    QRgb Shown(int x, int y) const { return Pane->InnerImage()->Bitmap().pixel(x, y); }
    bool IsRed(int x, int y) const
    {
        const QRgb p = Shown(x, y);
        return qRed(p) > 200 && qGreen(p) < 80 && qBlue(p) < 80;
    }

    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held,
               Qt::KeyboardModifiers keys = Qt::NoModifier)
    {
        QWidget* image = Pane->InnerImage();
        QMouseEvent event(type, QPointF(at), QPointF(image->mapToGlobal(at)), button, held, keys);
        QApplication::sendEvent(image, &event);
    }
    void Press(QPoint at, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers keys = Qt::NoModifier)
    {
        Mouse(QEvent::MouseButtonPress, at, button, button, keys);
    }
    void MoveHeld(QPoint at, Qt::MouseButton held = Qt::LeftButton, Qt::KeyboardModifiers keys = Qt::NoModifier)
    {
        Mouse(QEvent::MouseMove, at, Qt::NoButton, held, keys);
    }
    void Release(QPoint at, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers keys = Qt::NoModifier)
    {
        Mouse(QEvent::MouseButtonRelease, at, button, Qt::NoButton, keys);
    }
    void Drag(QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton)
    {
        Press(from, button);
        MoveHeld((from + to) / 2, button);
        MoveHeld(to, button);
        Release(to, button);
    }
    void CtrlClick(QPoint at)
    {
        Press(at, Qt::LeftButton, Qt::ControlModifier);
        Release(at, Qt::LeftButton, Qt::ControlModifier);
    }

    TTempFolder Folder;
    std::unique_ptr<QWidget> Window;
    olve::TExtraImage* Pane = nullptr;
};
