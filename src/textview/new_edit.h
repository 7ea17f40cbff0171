#pragma once
#include <QPoint>
#include <QTextEdit>
#include <cstdint>
#include <functional>
#include <string>

#include "textview/indent_type.h"
#include "textview/text_alignment.h"
#include "textview/text_position_map.h"
#include "textview/visual_lines.h"

class QTextBlock;
class QTextCursor;
class QTextLine;

namespace olve {

// A read-only rich-text view that lays a code page 932 text out in runs, Latin runs in one
// face and Japanese runs in another, with one of four indent styles, and keeps the caret
// line in view by its own scrolling rules.
//
// Character positions ("position") are the view's own; text offsets ("offset") count the
// text as handed to SetDisplayText (bytes, CR LF line breaks). Lines are visual lines.
class TNewEdit : public QTextEdit {
    Q_OBJECT
public:
    explicit TNewEdit(QWidget* parent = nullptr);
    ~TNewEdit() override;

    // Replaces the content; an unchanged text costs nothing. Formatting properties changed
    // since the last rebuild take effect only with a different text. shown, when given, is
    // what the text's characters show (UTF-8, one letter for each character of text, such
    // as letters code page 932 lacks); offsets still count text's bytes.
    void SetDisplayText(const std::string& text, const std::string& shown = std::string());
    const std::string& DisplayText() const { return FDisplayText; }
    const std::string& ShownText() const { return FShownText; }
    // Changes with every rebuild of the content, so a caller can tell that the text it set
    // is still shown without comparing the whole text.
    std::uint64_t TextRevision() const { return FTextRevision; }

    std::uint8_t DBCSCharset() const { return FDBCSCharset; }
    void SetDBCSCharset(std::uint8_t charset) { FDBCSCharset = charset; }
    std::uint8_t SBCSCharset() const { return FSBCSCharset; }
    void SetSBCSCharset(std::uint8_t charset) { FSBCSCharset = charset; }
    const QString& DBCSFontName() const { return FDBCSFontName; }
    void SetDBCSFontName(const QString& name) { FDBCSFontName = name; }
    const QString& SBCSFontName() const { return FSBCSFontName; }
    void SetSBCSFontName(const QString& name) { FSBCSFontName = name; }
    TAlignment TextAlign() const { return FTextAlign; }
    void SetTextAlign(TAlignment align) { FTextAlign = align; }
    TIndentType TextIndent() const { return FTextIndent; }
    void SetTextIndent(TIndentType indent) { FTextIndent = indent; }

    // Height in pixels of the laid-out text, as last reported.
    int ContentHeight() const { return FContentHeight; }

    int LinesPerPage() const;
    int FirstVisibleLine() const;
    void ScrollToLine(int line);
    // Brings the line of a text offset into view; this class leaves the view where it is.
    virtual void ScrollToChar(int offset);

    // The line and position queries of the view's characters.
    int LineCount() const;
    // position −1: the line of the selection's start.
    int LineFromChar(int position) const;
    // Top left of the character in the view's own coordinates, scrolling applied.
    QPoint PosFromChar(int position) const;
    // Scrolls by whole lines, positive towards the end.
    void LineScroll(int lines);
    int TextLength() const;
    // The view position of a text offset (for placing the caret on a spoken character).
    int ViewPosition(int offset) const { return FPositionMap.StartPosition(offset); }
    int ViewEndPosition(std::int64_t offset) const { return FPositionMap.EndPosition(offset); }

    // Raised after every selection change except those of a rebuild.
    std::function<void()> OnSelectionChange;
    // Raised whenever the view reports its content height.
    std::function<void()> OnResizeRequest;
    // Raised for every mouse press; a double click arrives as a second press.
    std::function<void(QMouseEvent*)> OnMouseDown;

protected:
    // What a selection change does: OnSelectionChange, then KeepCaretVisible.
    virtual void SelectionChange();
    // Runs after the content was rebuilt.
    virtual void ContentRebuilt() {}
    // Runs whenever the document's layout changed (content, formats, width or font); the
    // places of characters found before may be stale.
    virtual void LayoutChanged() {}
    void KeepCaretVisible();
    void RequestResize();

    // A character's place: top left in the view's coordinates and the height of its line.
    struct TCharPlace {
        QPoint Pos;
        int LineHeight = 0;
    };
    TCharPlace PlaceOfChar(int position) const;
    // The x of the character's right edge on its own line.
    int RightEdgeOfChar(int position) const;
    bool IsLineBreakAt(int position) const;
    double FontPointSize() const;
    // The document laid out to its end, line by line.
    const TVisualLines& VisualLines() const;

    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void RebuildContent();
    void InsertRun(QTextCursor& cursor, const QString& run, bool doubleByte);
    void ApplyParagraphFormat(QTextCursor& cursor);
    void CursorMoved();
    void EnsureLayout() const;
    QPointF ToViewPoint(QPointF documentPoint) const;
    double LineTop(int line) const;
    // The visual line holding a position; invalid when the position's paragraph has none.
    QTextLine TextLineAt(int position, QTextBlock& block) const;

    std::string FDisplayText;
    std::string FShownText;
    std::uint8_t FDBCSCharset = 1;
    std::uint8_t FSBCSCharset = 1;
    QString FDBCSFontName;
    QString FSBCSFontName;
    TAlignment FTextAlign = taLeftJustify;
    TIndentType FTextIndent = itOlve;
    int FContentHeight = 0;

    TTextPositionMap FPositionMap;
    std::uint64_t FTextRevision = 0;
    mutable TVisualLines FVisualLines;
    mutable bool FVisualLinesStale = true;
    bool FRebuilding = false;
    int FLastAnchor = -1;
    int FLastCaret = -1;
};

}  // namespace olve
