#pragma once
#include <QFont>
#include <QPointer>
#include <optional>
#include <vector>

#include "textview/new_edit.h"
#include "textview/under_line.h"

namespace olve {

// A TNewEdit that underlines a range of its text (the part being spoken) with thin blue
// bars, one per visual line, laid over the view as children of its parent.
//
// UnderlineStart and UnderlineLength count the text as handed to SetDisplayText (code page
// 932 bytes, CR LF line breaks), like the "SST" and "SLG" tags.
class TNewULEdit : public TNewEdit {
    Q_OBJECT
public:
    explicit TNewULEdit(QWidget* parent = nullptr);
    ~TNewULEdit() override;

    bool ShowUnderline() const { return FShowUnderline; }
    void SetShowUnderline(bool show);
    int UnderlineStart() const { return FUnderlineStart; }
    void SetUnderlineStart(int start) { FUnderlineStart = start; }
    int UnderlineLength() const { return FUnderlineLength; }
    void SetUnderlineLength(int length) { FUnderlineLength = length; }
    // Height of one text line as last measured.
    int LineHeight() const { return FLineHeight; }

    // Lays the bars out anew when the range, the scrolling or the layout changed; otherwise
    // free. Only the lines in view get bars, and only they are measured.
    void UpdateUnderline();
    // Removes the bars; the next UpdateUnderline lays out anew.
    void ClearUnderline();
    // Removes the bars and empties the range; ShowUnderline stays.
    void ResetUnderline();

    // Brings the line of a text offset into view: to the middle of the page from below,
    // to the top from above.
    void ScrollToChar(int offset) override;

    // Width in pixels of the character at 1-based byte position i of a code page 932 text,
    // in its run's face at the size last measured.
    int MeasureChar(const std::string& text, int i) const;
    // Sets LineHeight from the view font; the view calls it whenever it reports its content.
    virtual void MeasureLineHeight();

    // The bars now laid out, in creation order.
    std::vector<TUnderLine*> Bars() const;

protected:
    void SelectionChange() override;
    void ContentRebuilt() override;
    void LayoutChanged() override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

    QFont FMeasureFont;
    int FLineHeight = 0;

private:
    // What the bars now laid out were laid out for, in view positions.
    struct TLaidOut {
        int Start = 0;
        int End = 0;
        QPoint Scroll;
        bool operator==(const TLaidOut&) const = default;
    };

    void LayRange(int start, int end);
    void LayBars(int start, int end);
    void AddBar(int left, int top, int width);
    int BarHeight() const;
    void LayOutAnew();

    // Shared by all views: a layout requested while one runs is dropped.
    static bool FLayingOut;

    bool FShowUnderline = false;
    int FUnderlineLength = 0;
    int FUnderlineStart = 0;
    std::optional<TLaidOut> FLaidOut;
    std::vector<QPointer<TUnderLine>> FBars;
};

}  // namespace olve
