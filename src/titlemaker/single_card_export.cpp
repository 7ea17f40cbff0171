#include "titlemaker/single_card_export.h"

namespace olve {

TSingleCardExport ExportSingleCard(const TPlayCardList& cards, int index, const std::string& titleName,
                                   const TCardSource& source, const std::string& folder)
{
    TSingleCardExport result;
    if (index < 0 || index >= cards.Count())
        return result;
    TExportedCard card = ExportedCards(cards, titleName)[static_cast<std::size_t>(index)];
    TCardExport exporting(source, folder);
    std::string error;
    result.Written = exporting.Write(card) && exporting.AppendTsv({card}, error);
    std::string problems;
    for (const std::string& line : exporting.Problems())
        problems += "\r\n" + line;
    if (!result.Written) {
        result.Failure = TFailure(TFailureKind::Unwritable, "カードを書き出せませんでした", "exporting the card failed: " + error + problems);
        return result;
    }
    if (!problems.empty())
        result.Failure = TFailure(TFailureKind::Unwritable, "カードの絵は書き出せませんでした", "the card's picture was not exported:" + problems);
    result.Clip = card.Clip;
    result.Notes = exporting.Notes();
    return result;
}

}  // namespace olve
