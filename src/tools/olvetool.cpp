// Command-line tool for making and inspecting the player's files.
#include <iostream>
#include <string>
#include <vector>

#include "tools/bdc_command.h"
#include "tools/media_command.h"
#include "tools/title_command.h"
#include "tools/train_command.h"

namespace {

int Usage()
{
    std::cerr << "usage: olvetool bdc encode IN OUT   compress a file into the BDC format\n"
                 "       olvetool bdc decode IN OUT   expand a BDC file\n"
                 "       olvetool media probe FILE    length, content class and video size of a recording\n"
                 "       olvetool media play FILE FROM_MS TO_MS [--null]\n"
                 "                                    play one segment (--null: to no sound device)\n"
                 "       olvetool title dump FILE     a title file's settings and cards as JSON\n"
                 "       olvetool title resave IN OUT --user NAME\n"
                 "                                    read a title file and write it again\n"
                 "       olvetool title from-subtitles MEDIA SUBS [--translation SUBS2] [--pictures DIR]\n"
                 "                [--title NAME] [--code CODE] [--no-sync] -o PKG.qzw\n"
                 "                                    make a title package from a recording and its subtitles,\n"
                 "                                    synced to its speech unless --no-sync\n"
                 "       olvetool title from-transcript MEDIA TEXT [--translation TEXT2] [--title NAME]\n"
                 "                [--code CODE] -o PKG.qzw\n"
                 "                                    the same from a recording and the text read in it\n"
                 "       olvetool title export-cards PKG DIR\n"
                 "                                    each card as an Ogg Vorbis clip, its picture and a line of\n"
                 "                                    DIR/cards.tsv, for flashcard programs\n"
                 "       olvetool list PKG            entries of a title package: stored size, size, name\n"
                 "       olvetool extract PKG DEST [--no-header-folder]\n"
                 "                                    install a title package, overwriting, and print each path\n"
                 "       olvetool pack SRC_DIR PKG [--header NAME]\n"
                 "                                    make a title package of every file below SRC_DIR\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty())
        return Usage();
    const std::string command = args.front();
    args.erase(args.begin());
    if (command == "bdc")
        return olve::RunBdcCommand(args);
    if (command == "media")
        return olve::RunMediaCommand(args);
    if (command == "title")
        return olve::RunTitleCommand(args);
    if (command == "list")
        return olve::RunTrainListCommand(args);
    if (command == "extract")
        return olve::RunTrainExtractCommand(args);
    if (command == "pack")
        return olve::RunTrainPackCommand(args);
    return Usage();
}
