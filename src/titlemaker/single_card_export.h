#pragma once
#include <optional>
#include <string>
#include <vector>

#include "files/failure.h"
#include "title/play_card_list.h"
#include "titlemaker/card_export.h"

namespace olve {

// What exporting one card came to.
struct TSingleCardExport {
    // The clip and the card's line in cards.tsv were written.
    bool Written = false;
    // The clip's name in the export folder.
    std::string Clip;
    // What was written otherwise than asked.
    std::vector<std::string> Notes;
    // Why the card was not written; or, when it was, what of it was not (its picture).
    std::optional<TFailure> Failure;
};

// Card index of cards (a title named titleName, UTF-8) as its clip, its picture and one more
// line of <folder>/cards.tsv. An index outside the cards writes nothing and tells nothing.
TSingleCardExport ExportSingleCard(const TPlayCardList& cards, int index, const std::string& titleName,
                                   const TCardSource& source, const std::string& folder);

}  // namespace olve
