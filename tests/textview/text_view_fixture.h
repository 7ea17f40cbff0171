#pragma once
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTextCursor>
#include <QWidget>
#include <memory>

#include "codec/cp932_text.h"
#include "textview/new_ul_edit_net.h"

// A main-window-like setting: a view at (10, 20) inside a parent, with the main text's
// faces and size.
class TextViewTest : public testing::Test {
protected:
    void SetUp() override
    {
        Window = std::make_unique<QWidget>();
        Window->resize(420, 320);
        View = new olve::TNewULEditNet(Window.get());
        View->setGeometry(10, 20, 300, 200);
        SetPointSize(14);
        View->SetSBCSFontName("Georgia");
        View->SetDBCSFontName("ＭＳ Ｐゴシック");
        Window->show();
        QCoreApplication::processEvents();
    }

    void SetPointSize(int size)
    {
        QFont font = View->font();
        font.setPointSize(size);
        View->setFont(font);
    }

    void Show(const std::string& utf8) { View->SetDisplayText(olve::Utf8ToCp932(utf8)); }

    // The view's own rectangle of a character's caret place, in the parent's coordinates.
    QRect CharRect(int position) const
    {
        QTextCursor cursor(View->document());
        cursor.setPosition(position);
        return View->cursorRect(cursor).translated(View->pos() + View->viewport()->pos());
    }

    void MoveCaret(int position)
    {
        QTextCursor cursor(View->document());
        cursor.setPosition(position);
        View->setTextCursor(cursor);
    }

    std::unique_ptr<QWidget> Window;
    olve::TNewULEditNet* View = nullptr;
};

// Enough English to wrap over many lines of a 300-pixel view.
inline std::string LongEnglish(int sentences)
{
    std::string text;
    for (int i = 0; i < sentences; ++i)
        text += "The quick brown fox jumps over the lazy dog number " + std::to_string(i) + ". ";
    return text;
}
