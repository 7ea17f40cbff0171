#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "title/play_package.h"
#include "titlemaker/export_folder.h"

namespace olve {

// A card as flashcard programs import it: one line of a tab-separated file and a sound clip.
// Texts are UTF-8; line breaks become "<br>" and the characters that mark up HTML are escaped,
// as those programs read the fields as HTML.
struct TExportedCard {
    std::string English;
    std::string Japanese;
    // The name the card's files are made from, the title's and the card's number:
    // "A_Day_in_English-003"; never a name from the package.
    std::string Name;
    // Where the clip lies in the recording.
    std::int64_t FromMs = 0;
    std::int64_t ToMs = 0;
    // The picture's stored name (UTF-8, "/" between folders); empty without one.
    std::string Picture;
    // The title and the card's number as one tag: "A_Day_in_English_003".
    std::string Tag;
    // The names the export gave the clip ("A_Day_in_English-003.ogg") and the picture
    // ("A_Day_in_English-003-picture.png") in its folder; empty until they are written.
    std::string Clip;
    std::string PictureFile;
};

// The main cards of a title whose card times are milliseconds of the recording (as a title
// session holds them); titleName in UTF-8.
std::vector<TExportedCard> ExportedCards(const TPlayCardList& cards, const std::string& titleName);

// English, Japanese, "[sound:clip]", picture, tag: one line per card whose clip was written.
// A field is quoted as spreadsheet and flashcard importers read quotes, and one that begins
// like a formula begins with a character reference instead.
std::string CardsTsv(const std::vector<TExportedCard>& cards);

// Where the cards come from: the recording, and the installed title's folder (ending in "/";
// empty or "/" without one), the only place pictures are read from.
struct TCardSource {
    std::string MediaPath;
    std::string TitleFolder;
};

// Writes cards into an export folder: each card's clip and picture under names of the
// export's own making, then their lines appended to the folder's cards.tsv.
class TCardExport {
public:
    TCardExport(TCardSource source, const std::string& folder) : FSource(std::move(source)), FFolder(folder) {}

    // The card's clip and picture; true when the clip was written, so that the card may be
    // named in cards.tsv. A clip cut short by the end of the sound is noted and kept.
    bool Write(TExportedCard& card);
    // The lines of the cards whose clips were written.
    bool AppendTsv(const std::vector<TExportedCard>& cards, std::string& error);

    // What could not be written (a clip or a picture), and what was written otherwise than asked.
    const std::vector<std::string>& Problems() const { return FProblems; }
    const std::vector<std::string>& Notes() const { return FNotes; }
    int Pictures() const { return FPictures; }
    const TExportFolder& Folder() const { return FFolder; }

private:
    bool WriteClip(TExportedCard& card);
    bool CopyPicture(TExportedCard& card);

    TCardSource FSource;
    TExportFolder FFolder;
    std::vector<std::string> FProblems;
    std::vector<std::string> FNotes;
    int FPictures = 0;
};

}  // namespace olve
