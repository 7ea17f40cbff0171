// Makes a title package for whole-program tests: make_test_package FOLDER
// Prints the package's path. The title has no pictures (text-only layout) and a first
// card long enough to be looked at.
#include <QGuiApplication>
#include <cstdio>

#include "support/test_package.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_test_package FOLDER\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    TTestTitle title = ThreeCardTitle();
    title.Pictures.clear();
    title.MediaSeconds = 12;
    title.Cards = {{"Good morning, everyone.", "みなさん、おはようございます。", "", "", 200, 6000},
                   {"How are you today?", "今日の調子はどうですか？", "", "", 6000, 8000},
                   {"I am fine, thank you.", "元気です、ありがとう。", "", "", 8000, 10000}};
    std::printf("%s\n", MakeTestPackage(argv[1], title).c_str());
    return 0;
}
