#pragma once
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "codec/string_list.h"
#include "title/play_card_list.h"

namespace olve {

// One change of the history: the cards it touched as they were before it, in the order they
// were first touched.
class TUndoPlayCard {
public:
    struct TFormerCard {
        int Index = 0;
        TPlayCardItem Card;
    };

    virtual ~TUndoPlayCard() = default;

    std::vector<TFormerCard> Former;
};

// The card list of a title's main and VCD cards: a setter that would store the value
// already there changes nothing and tells nobody, and writing a whole card goes field by
// field through the setters. While UndoEnabled, every change is kept in the history: the
// setters between BeginChange and EndChange make one entry, described as BeginChange says;
// a setter outside them makes an entry of its own. Changing which cards the list holds
// (adding, deleting, moving, sorting) empties the history, whose indexes would no longer
// name the same cards.
class TUndoPlayCardList : public TPlayCardList {
public:
    // One line per entry, oldest first.
    TStringList Descriptions;
    bool UndoEnabled = false;

    ~TUndoPlayCardList() override;

    void SetPicture(int i, const std::string& value) override;
    void SetSubText(int i, const std::string& value) override;
    void SetMainText(int i, const std::string& value) override;
    void SetDataText(int i, const std::string& value) override;
    void SetTimeFormat(int i, TOlveTimeFormat value) override;
    void SetObject(int i, std::int32_t value) override;
    void SetStartPos(int i, std::uint32_t value) override;
    void SetEndPos(int i, std::uint32_t value) override;
    void PutCard(int i, const TPlayCardItem& card) override;

    void Clear() override;
    void Delete(int i) override;
    void ExchangeItems(int i, int j) override;
    void InsertItem(int i, const TPlayCardItem& card) override;

    // Groups the changes up to the matching EndChange into one entry; groups nest, the
    // outermost one's description counts. A group that changed nothing leaves no entry.
    void BeginChange(const std::string& description);
    void EndChange();
    // Puts back the cards as they were before the latest entry, with one pair of
    // notifications, and drops the entry; false when the history is empty.
    bool Undo();
    void ClearHistory();
    const std::vector<std::unique_ptr<TUndoPlayCard>>& Entries() const { return FEntries; }
    // How often cards were added, deleted or moved in the list.
    int Arrangements() const { return FArrangements; }

private:
    // Keeps card i as it is now, before a setter changes it.
    void Remember(int i, const char* field);
    void Push(std::unique_ptr<TUndoPlayCard> entry, const std::string& description);
    void Rearranging();

    std::vector<std::unique_ptr<TUndoPlayCard>> FEntries;
    std::unique_ptr<TUndoPlayCard> FGroup;
    // The cards the open group holds, for a group over every card of a long title.
    std::unordered_set<int> FGroupHeld;
    std::string FGroupDescription;
    int FGroupDepth = 0;
    bool FUndoing = false;
    int FArrangements = 0;
};

}  // namespace olve
