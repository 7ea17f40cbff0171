#include "textview/new_edit.h"

#include <QAbstractTextDocumentLayout>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QScopedValueRollback>

#include "codec/cp932_text.h"
#include "textview/font_substitutions.h"
#include "textview/text_runs.h"

namespace olve {

namespace {

// The view scrolls by its own rules (KeepCaretVisible, ScrollToChar). The base class would
// first scroll the caret into view itself on every selection change; its text control asks
// for that through one signal, which is cut here.
void StopAutomaticScrolling(QTextEdit* edit)
{
    for (QObject* child : edit->children()) {
        if (qstrcmp(child->metaObject()->className(), "QWidgetTextControl") == 0)
            QObject::disconnect(child, SIGNAL(visibilityRequest(QRectF)), edit, SLOT(_q_ensureVisible(QRectF)));
    }
}

Qt::Alignment QtAlignment(TAlignment align)
{
    switch (align) {
    case taRightJustify:
        return Qt::AlignRight;
    case taCenter:
        return Qt::AlignHCenter;
    default:
        return Qt::AlignLeft;
    }
}

}  // namespace

TNewEdit::TNewEdit(QWidget* parent)
    : QTextEdit(parent), FDBCSFontName(QStringLiteral("ＭＳ Ｐゴシック")), FSBCSFontName(QStringLiteral("Comic Sans MS"))
{
    RegisterFontSubstitutions();
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    StopAutomaticScrolling(this);
    connect(this, &QTextEdit::cursorPositionChanged, this, &TNewEdit::CursorMoved);
    connect(this, &QTextEdit::selectionChanged, this, &TNewEdit::CursorMoved);
    connect(document()->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, this,
            [this](const QSizeF& size) {
                if (FRebuilding)
                    return;
                FContentHeight = qRound(size.height() - 2 * document()->documentMargin());
                if (OnResizeRequest)
                    OnResizeRequest();
            });
    // Every change of the layout starts here, whatever caused it.
    connect(document()->documentLayout(), &QAbstractTextDocumentLayout::update, this, [this] {
        FVisualLinesStale = true;
        LayoutChanged();
    });
}

TNewEdit::~TNewEdit()
{
    // The base classes tear down the document and the scroll bars after this class is gone.
    disconnect(document()->documentLayout(), nullptr, this, nullptr);
    disconnect(this, nullptr, this, nullptr);
}

void TNewEdit::SetDisplayText(const std::string& text, const std::string& shown)
{
    // The caller's selection handler must not see the rebuild; it comes back on every way out.
    struct TDetached {
        std::function<void()>& Slot;
        std::function<void()> Saved;
        ~TDetached() { Slot = std::move(Saved); }
    } detached{OnSelectionChange, std::move(OnSelectionChange)};
    OnSelectionChange = nullptr;

    if (text == FDisplayText && shown == FShownText && !document()->isEmpty())
        return;
    FDisplayText = text;
    FShownText = shown;
    RebuildContent();
    RequestResize();
    ContentRebuilt();
}

void TNewEdit::RebuildContent()
{
    const QScopedValueRollback rebuilding(FRebuilding, true);
    ++FTextRevision;
    FPositionMap = TTextPositionMap(FDisplayText, FShownText);
    const QString unicode = QString::fromUtf8(FPositionMap.UsesShown() ? FShownText : Cp932ToUtf8(FDisplayText));

    document()->clear();
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    ApplyParagraphFormat(cursor);
    for (const TTextRun& run : SplitTextRuns(FDisplayText)) {
        const int from = FPositionMap.UnitOffset(static_cast<std::int64_t>(run.Start));
        const int to = FPositionMap.UnitOffset(static_cast<std::int64_t>(run.Start + run.Length));
        InsertRun(cursor, unicode.mid(from, to - from), run.DoubleByte);
    }
    cursor.endEditBlock();

    // A new text is read from its beginning.
    setTextCursor(QTextCursor(document()));
    verticalScrollBar()->setValue(0);
    FLastAnchor = 0;
    FLastCaret = 0;
}

void TNewEdit::ApplyParagraphFormat(QTextCursor& cursor)
{
    const TParagraphIndents indents = IndentsOf(FTextIndent, FontPointSize());
    const double pixelsPerPoint = logicalDpiX() / 72.0;
    QTextBlockFormat format;
    format.setAlignment(QtAlignment(FTextAlign));
    // The following lines sit at the left margin; the first line is offset from them.
    format.setLeftMargin((indents.FirstLine + indents.Following) * pixelsPerPoint);
    format.setTextIndent(-indents.Following * pixelsPerPoint);
    format.setRightMargin(indents.Right * pixelsPerPoint);
    cursor.setBlockFormat(format);
}

void TNewEdit::InsertRun(QTextCursor& cursor, const QString& run, bool doubleByte)
{
    QTextCharFormat format;
    format.setFontFamilies({doubleByte ? FDBCSFontName : FSBCSFontName});
    format.setFontPointSize(FontPointSize());
    format.setForeground(palette().color(QPalette::Text));
    format.setFontUnderline(false);
    if (!doubleByte && run.size() == 1) {
        // A run of one Latin byte goes in with a trailing space that is taken out again, so
        // no insertion ends on a lone Latin character beside Japanese text. The document
        // comes out as if the character had been inserted alone, in its own face.
        cursor.insertText(run + QLatin1Char(' '), format);
        cursor.movePosition(QTextCursor::PreviousCharacter, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    } else {
        cursor.insertText(run, format);
    }
    cursor.clearSelection();
}

double TNewEdit::FontPointSize() const
{
    const double size = font().pointSizeF();
    return size > 0 ? size : QFontInfo(font()).pointSizeF();
}

void TNewEdit::CursorMoved()
{
    if (FRebuilding)
        return;
    // One change raises both of the base class's signals; it is handled once.
    const QTextCursor cursor = textCursor();
    if (cursor.anchor() == FLastAnchor && cursor.position() == FLastCaret)
        return;
    FLastAnchor = cursor.anchor();
    FLastCaret = cursor.position();
    SelectionChange();
}

void TNewEdit::SelectionChange()
{
    if (OnSelectionChange)
        OnSelectionChange();
    KeepCaretVisible();
}

void TNewEdit::RequestResize()
{
    const QSizeF size = document()->documentLayout()->documentSize();
    FContentHeight = qRound(size.height() - 2 * document()->documentMargin());
    if (OnResizeRequest)
        OnResizeRequest();
}

void TNewEdit::mousePressEvent(QMouseEvent* event)
{
    QTextEdit::mousePressEvent(event);
    if (OnMouseDown)
        OnMouseDown(event);
}

void TNewEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    // No word selection: a double click reaches the handlers as a second single press.
    QMouseEvent press(QEvent::MouseButtonPress, event->position(), event->scenePosition(),
                      event->globalPosition(), event->button(), event->buttons(), event->modifiers(),
                      event->pointingDevice());
    mousePressEvent(&press);
    event->setAccepted(press.isAccepted());
}

}  // namespace olve
