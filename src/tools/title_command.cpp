#include "tools/title_command.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>

#include "codec/cp932_text.h"
#include "title/file_type.h"
#include "places/settings_vocabulary.h"
#include "title/play_package.h"
#include "titlemaker/title_settings.h"
#include "tools/card_export_command.h"
#include "tools/output_guard.h"
#include "tools/stderr_prompts.h"
#include "tools/subtitle_title_command.h"
#include "tools/transcript_title_command.h"

namespace olve {

namespace {

int Usage()
{
    std::cerr << "usage: olvetool title dump FILE\n"
                 "       olvetool title resave IN OUT --user NAME\n"
                 "       olvetool title from-subtitles MEDIA SUBS [--translation SUBS2] [--pictures DIR]\n"
                 "                                   [--title NAME] [--code CODE] [--no-sync] -o PKG.qzw\n"
                 "       olvetool title from-transcript MEDIA TEXT [--translation TEXT2] [--title NAME]\n"
                 "                                    [--code CODE] -o PKG.qzw\n";
    return 2;
}

// A JSON string of code page 932 bytes.
std::string Json(const std::string& cp932)
{
    std::string out = "\"";
    for (unsigned char c : Cp932ToUtf8(cp932)) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        default:
            if (c < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out += escaped;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

std::string CardsJson(const TPlayCardList& cards)
{
    std::string out = "[";
    for (int i = 0; i < cards.Count(); ++i) {
        const TPlayCardItem& c = cards.Card(i);
        out += i ? ",\n  {" : "\n  {";
        out += "\"main\": " + Json(c.MainText) + ", \"sub\": " + Json(c.SubText) + ", \"data\": " + Json(c.DataText) +
               ", \"picture\": " + Json(c.Picture) + ", \"start\": " + std::to_string(c.StartPos) +
               ", \"end\": " + std::to_string(c.EndPos) + ", \"format\": " + std::to_string(c.TimeFormat) +
               ", \"startText\": " + Json(cards.StartPosText(i)) + ", \"endText\": " + Json(cards.EndPosText(i)) +
               ", \"showText\": " + Json(cards.ShowText(i)) + "}";
    }
    return out + "]";
}

std::string WhyNotATitle(const std::string& file)
{
    std::error_code error;
    if (!std::filesystem::exists(file, error))
        return "no such file";
    if (std::filesystem::is_directory(file, error))
        return "is a folder, not a title file";
    if (!std::ifstream(file, std::ios::binary))
        return "cannot be read: " + std::string(std::strerror(errno));
    return "is not a title file (not BDC data, or its cards are damaged)";
}

int Dump(const std::string& file)
{
    TPlayPackage package;
    const bool ok = package.LoadFromFile(file, false, mtNone);
    std::string settings = "[";
    for (int i = 0; i < package.Settings.Count(); ++i)
        settings += (i ? ", " : "") + Json(package.Settings[i]);
    settings += "]";
    std::cout << "{\"ok\": " << (ok ? "true" : "false") << ", \"timeFormat\": \"" << TimeFormatWord(package.TimeFormat)
              << "\",\n \"settings\": " << settings << ",\n \"main\": " << CardsJson(package.MainCards)
              << ",\n \"vcd\": " << CardsJson(package.VcdCards) << ",\n \"khs\": " << CardsJson(package.KhsCards)
              << ",\n \"khg\": " << CardsJson(package.KhgCards) << "}\n";
    if (!ok)
        std::cerr << "olvetool: " << file << ": " << WhyNotATitle(file) << "\n";
    return ok ? 0 : 1;
}

int Resave(const std::string& in, const std::string& out, const std::string& user)
{
    if (!OutputSparesInputs(out, {in}))
        return 1;
    TPlayPackage package;
    if (!package.LoadFromFile(in, false, mtNone)) {
        std::cerr << "olvetool: cannot read the title " << in << "\n";
        return 1;
    }
    bool changed = false;
    const std::string oneLineUser = OneLineValue(user, changed);
    if (changed)
        std::cerr << "olvetool: note: the user name held line breaks or other control characters; each run became a space\n";
    if (const std::optional<TFailure> unregistered = UnregisteredFileType(out))
        TStderrPrompts().Message(BilingualText(*unregistered));
    if (!package.SaveToFile(out, Utf8ToCp932(oneLineUser), "", package.GetSetting(MakerKey))) {
        std::cerr << "olvetool: cannot write the title " << out << "\n";
        return 1;
    }
    return 0;
}

}  // namespace

int RunTitleCommand(const std::vector<std::string>& args)
{
    if (!args.empty() && args[0] == "export-cards")
        return RunCardExportCommand(std::vector<std::string>(args.begin() + 1, args.end()));
    if (!args.empty() && args[0] == "from-subtitles")
        return RunSubtitleTitleCommand(std::vector<std::string>(args.begin() + 1, args.end()));
    if (!args.empty() && args[0] == "from-transcript")
        return RunTranscriptTitleCommand(std::vector<std::string>(args.begin() + 1, args.end()));
    if (args.size() == 2 && args[0] == "dump")
        return Dump(args[1]);
    if (args.size() == 5 && args[0] == "resave" && args[3] == "--user")
        return Resave(args[1], args[2], args[4]);
    return Usage();
}

}  // namespace olve
