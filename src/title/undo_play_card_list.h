#pragma once
#include <memory>
#include <vector>

#include "codec/string_list.h"
#include "title/play_card_list.h"

namespace olve {

// An entry of the change history. Nothing records changes yet, so no entry is ever made;
// the history exists to be cleared.
class TUndoPlayCard {
public:
    virtual ~TUndoPlayCard() = default;
};

// The card list of a title's main and VCD cards: a setter that would store the value
// already there changes nothing and tells nobody, and writing a whole card goes field by
// field through the setters.
class TUndoPlayCardList : public TPlayCardList {
public:
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

    void ClearHistory();
    const std::vector<std::unique_ptr<TUndoPlayCard>>& Entries() const { return FEntries; }

private:
    std::vector<std::unique_ptr<TUndoPlayCard>> FEntries;
};

}  // namespace olve
