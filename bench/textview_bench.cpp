// What the player's 30 ms timer asks of the text view on every tick: setting the same text
// again and laying out an underline whose end points did not move must cost next to nothing
// (goal: under 2 µs each); an underline whose range moved is laid out anew (goal: under
// 200 µs for a 300-character text). Rebuilding for a new text is shown for comparison.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWidget>
#include <memory>
#include <string>

#include "storage/cp932_text.h"
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
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    MainWindow.reset();
    return 0;
}
