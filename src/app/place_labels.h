#pragma once
#include <QLabel>
#include <string>

namespace olve {

// The card counter and the time in the tool bar, each as wide as its text would be with the
// widest digits, so that neither moves the bar while the numbers change.
class TPlaceLabels {
public:
    explicit TPlaceLabels(QWidget* toolBar);

    QLabel* Counter() const { return FCounter; }
    QLabel* Time() const { return FTime; }
    // True when the text changed.
    static bool Show(QLabel* label, const std::string& text);
    // Sizes both labels to their texts; true when a width changed.
    bool Fit();
    // The room a label takes in the bar with its gap; 0 when it shows nothing.
    static int Width(const QLabel* label);
    // What Width would be with text shown.
    static int WidthOf(const QLabel* label, const std::string& text);
    // Puts the counter and the time that have room from x on; returns where they end.
    int LayOut(int x, bool counter, bool time);

private:
    static bool FitLabel(QLabel* label);

    QLabel* FCounter = nullptr;
    QLabel* FTime = nullptr;
};

}  // namespace olve
