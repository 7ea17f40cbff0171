// What the player's 30 ms timer asks of the text view on every tick: setting the same text
// again and laying out an underline whose end points did not move must cost next to nothing
// (goal: under 2 µs each); an underline whose range moved is laid out anew (goal: under
// 200 µs for a 300-character text). Rebuilding for a new text is shown for comparison.
//
// Tick/*: what a tick on the same card does to the main view (the caret one character on,
// ScrollToChar, the underline set and updated; the window does not hand the same text over
// again), with the whole text spoken and the view scrolled to its middle, for texts of 180
// characters, 50 KB and 10 MB. With the range unchanged the cost must not grow with the
// text; with the range changed it may grow only with the visible part. SetText/* is setting
// such a text once, laid out and underlined.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTextCursor>
#include <QWidget>
#include <memory>
#include <string>

#include "codec/cp932_text.h"
#include "textview/new_ul_edit_net.h"

namespace {

// About 300 characters of English with some Japanese, in the main view's faces and size.
const std::string& MainText()
{
    static const std::string text = olve::Utf8ToCp932(
        "Good morning, everybody. Today we are going to talk about the four seasons of Japan, "
        "日本の四季. In spring the cherry trees bloom and people have picnics under them. "
        "Summer is hot and humid, and there are fireworks festivals everywhere.\r\n"
        "In autumn the leaves turn red and yellow; 紅葉 is a word for that. Winter is cold and "
        "it snows in the north.");
    return text;
}

class TMainView {
public:
    TMainView()
    {
        FWindow.resize(520, 360);
        View = new olve::TNewULEditNet(&FWindow);
        View->setGeometry(0, 0, 512, 320);
        QFont font = View->font();
        font.setPointSize(14);
        View->setFont(font);
        View->SetSBCSFontName("Georgia");
        View->SetDBCSFontName("ＭＳ Ｐゴシック");
        View->SetTextIndent(olve::itStandard);
        View->SetShowUnderline(true);
        FWindow.show();
        QApplication::processEvents();
        View->SetDisplayText(MainText());
    }
    olve::TNewULEditNet* View;

private:
    QWidget FWindow;
};

// Made on first use and destroyed by main() while the application still exists.
std::unique_ptr<TMainView> MainWindow;

TMainView& Main()
{
    if (!MainWindow)
        MainWindow = std::make_unique<TMainView>();
    return *MainWindow;
}

// Whole lines of the main text, repeated and cut at a space to about the given size.
std::string TextOfSize(std::size_t bytes)
{
    std::string text;
    while (text.size() < bytes)
        text += MainText() + "\r\n";
    text.resize(bytes);
    return text.substr(0, text.rfind(' '));
}

// The view showing a text of the given size, whole text underlined, caret and view at its
// middle, as a tick in the middle of a long untagged card leaves it.
int ShowInTheMiddle(olve::TNewULEditNet* view, const std::string& text)
{
    view->SetDisplayText(text);
    // The document reports its size to the scroll bar from the event loop.
    QApplication::processEvents();
    const int middle = static_cast<int>(text.size() / 2);
    view->SetUnderlineStart(0);
    view->SetUnderlineLength(static_cast<int>(text.size()));
    QTextCursor caret = view->textCursor();
    caret.setPosition(view->ViewPosition(middle));
    view->setTextCursor(caret);
    view->ScrollToChar(middle);
    view->UpdateUnderline();
    return middle;
}

// What ShowCard does to the main view; lengthDelta moves the range's end.
void Tick(olve::TNewULEditNet* view, const std::string& text, int caretOffset, int lengthDelta)
{
    QTextCursor caret = view->textCursor();
    caret.setPosition(view->ViewPosition(caretOffset));
    view->setTextCursor(caret);
    view->ScrollToChar(caretOffset);
    view->SetUnderlineStart(0);
    view->SetUnderlineLength(static_cast<int>(text.size()) - lengthDelta);
    view->SetShowUnderline(true);
    view->UpdateUnderline();
}

void TickOfText(benchmark::State& state, std::size_t bytes, bool rangeChanges)
{
    olve::TNewULEditNet* view = Main().View;
    const std::string text = TextOfSize(bytes);
    const int middle = ShowInTheMiddle(view, text);
    int step = 0;
    for (auto _ : state) {
        step = 1 - step;
        // The caret moves on one character as speech goes on, as on most ticks.
        Tick(view, text, middle + step, rangeChanges ? step : 0);
    }
    state.counters["bars"] = static_cast<double>(view->Bars().size());
    state.counters["top line"] = view->FirstVisibleLine();
    state.counters["lines"] = view->LineCount();
    view->SetDisplayText(MainText());
}

void SetTextOfSize(benchmark::State& state, std::size_t bytes)
{
    olve::TNewULEditNet* view = Main().View;
    const std::string texts[2] = {TextOfSize(bytes), TextOfSize(bytes) + " end"};
    int which = 0;
    for (auto _ : state) {
        which = 1 - which;
        view->SetDisplayText(texts[which]);
        view->UpdateUnderline();
    }
    view->SetDisplayText(MainText());
}

void RegisterLongTextBenchmarks()
{
    struct TSize {
        const char* Name;
        std::size_t Bytes;
        // 0: as many as the library likes; a 10 MB text takes seconds to set.
        int TickIterations;
        int SetIterations;
    };
    for (const TSize& size : {TSize{"180B", 180, 0, 0}, TSize{"50KB", 50 * 1024, 0, 0}, TSize{"10MB", 10 * 1024 * 1024, 20, 2}}) {
        const std::string name = size.Name;
        auto* unchanged = benchmark::RegisterBenchmark(("Tick/RangeUnchanged/" + name).c_str(), TickOfText, size.Bytes, false);
        auto* changed = benchmark::RegisterBenchmark(("Tick/RangeChanged/" + name).c_str(), TickOfText, size.Bytes, true);
        auto* set = benchmark::RegisterBenchmark(("SetText/" + name).c_str(), SetTextOfSize, size.Bytes);
        for (auto* bench : {unchanged, changed, set})
            bench->Unit(benchmark::kMicrosecond);
        if (size.TickIterations > 0) {
            unchanged->Iterations(size.TickIterations);
            changed->Iterations(size.TickIterations);
        }
        if (size.SetIterations > 0)
            set->Iterations(size.SetIterations);
    }
}

void SetDisplayTextUnchanged(benchmark::State& state)
{
    olve::TNewULEditNet* view = Main().View;
    const std::string text = MainText();
    view->SetDisplayText(text);
    for (auto _ : state)
        view->SetDisplayText(text);
    state.SetLabel("goal < 2 us");
}
BENCHMARK(SetDisplayTextUnchanged)->Unit(benchmark::kMicrosecond);

void UpdateUnderlineUnchanged(benchmark::State& state)
{
    olve::TNewULEditNet* view = Main().View;
    view->SetUnderlineStart(40);
    view->SetUnderlineLength(150);
    view->UpdateUnderline();
    for (auto _ : state) {
        view->SetUnderlineStart(40);
        view->SetUnderlineLength(150);
        view->SetShowUnderline(true);  // what the timer does on every tick
    }
    state.counters["bars"] = static_cast<double>(view->Bars().size());
    state.SetLabel("goal < 2 us");
}
BENCHMARK(UpdateUnderlineUnchanged)->Unit(benchmark::kMicrosecond);

void UpdateUnderlineChanged(benchmark::State& state)
{
    olve::TNewULEditNet* view = Main().View;
    view->SetUnderlineStart(40);
    int length = 150;
    for (auto _ : state) {
        length = length == 150 ? 151 : 150;
        view->SetUnderlineLength(length);
        view->UpdateUnderline();
    }
    state.counters["bars"] = static_cast<double>(view->Bars().size());
    state.SetLabel("goal < 200 us");
}
BENCHMARK(UpdateUnderlineChanged)->Unit(benchmark::kMicrosecond);

void SetDisplayTextChanged(benchmark::State& state)
{
    olve::TNewULEditNet* view = Main().View;
    const std::string texts[2] = {MainText(), MainText() + " Thank you."};
    int which = 0;
    for (auto _ : state) {
        which = 1 - which;
        view->SetDisplayText(texts[which]);
    }
    state.SetLabel("for comparison");
}
BENCHMARK(SetDisplayTextChanged)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    RegisterLongTextBenchmarks();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    MainWindow.reset();
    return 0;
}
