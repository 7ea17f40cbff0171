#include "title/undo_play_card_list.h"

#include <algorithm>

namespace olve {

TUndoPlayCardList::~TUndoPlayCardList()
{
    ClearHistory();
}

void TUndoPlayCardList::Remember(int i, const char* field)
{
    if (!UndoEnabled || FUndoing)
        return;
    CheckIndex(i);
    if (FGroupDepth > 0) {
        // Made on the group's first change, so that groups cost nothing while nothing records.
        if (!FGroup)
            FGroup = std::make_unique<TUndoPlayCard>();
        if (FGroupHeld.insert(i).second)
            FGroup->Former.push_back({i, Card(i)});
        return;
    }
    auto entry = std::make_unique<TUndoPlayCard>();
    entry->Former.push_back({i, Card(i)});
    Push(std::move(entry), std::string(field) + " of card " + std::to_string(i + 1));
}

void TUndoPlayCardList::Push(std::unique_ptr<TUndoPlayCard> entry, const std::string& description)
{
    FEntries.push_back(std::move(entry));
    Descriptions.Add(description);
}

void TUndoPlayCardList::SetPicture(int i, const std::string& value)
{
    if (Card(i).Picture == value)
        return;
    Remember(i, "Picture");
    TPlayCardList::SetPicture(i, value);
}

void TUndoPlayCardList::SetSubText(int i, const std::string& value)
{
    if (Card(i).SubText == value)
        return;
    Remember(i, "SubText");
    TPlayCardList::SetSubText(i, value);
}

void TUndoPlayCardList::SetMainText(int i, const std::string& value)
{
    if (Card(i).MainText == value)
        return;
    Remember(i, "MainText");
    TPlayCardList::SetMainText(i, value);
}

void TUndoPlayCardList::SetDataText(int i, const std::string& value)
{
    if (Card(i).DataText == value)
        return;
    Remember(i, "DataText");
    TPlayCardList::SetDataText(i, value);
}

void TUndoPlayCardList::SetTimeFormat(int i, TOlveTimeFormat value)
{
    if (Card(i).TimeFormat == value)
        return;
    Remember(i, "TimeFormat");
    TPlayCardList::SetTimeFormat(i, value);
}

void TUndoPlayCardList::SetObject(int i, std::int32_t value)
{
    if (Card(i).Object == value)
        return;
    Remember(i, "Object");
    TPlayCardList::SetObject(i, value);
}

void TUndoPlayCardList::SetStartPos(int i, std::uint32_t value)
{
    if (Card(i).StartPos == value)
        return;
    Remember(i, "StartPos");
    TPlayCardList::SetStartPos(i, value);
}

void TUndoPlayCardList::SetEndPos(int i, std::uint32_t value)
{
    if (Card(i).EndPos == value)
        return;
    Remember(i, "EndPos");
    TPlayCardList::SetEndPos(i, value);
}

void TUndoPlayCardList::PutCard(int i, const TPlayCardItem& card)
{
    // A whole card written is one change.
    BeginChange("card " + std::to_string(i + 1));
    SetMainText(i, card.MainText);
    SetSubText(i, card.SubText);
    SetPicture(i, card.Picture);
    SetDataText(i, card.DataText);
    SetStartPos(i, card.StartPos);
    SetEndPos(i, card.EndPos);
    SetObject(i, card.Object);
    SetTimeFormat(i, card.TimeFormat);
    EndChange();
}

void TUndoPlayCardList::Clear()
{
    Rearranging();
    TPlayCardList::Clear();
}

void TUndoPlayCardList::Delete(int i)
{
    Rearranging();
    TPlayCardList::Delete(i);
}

void TUndoPlayCardList::ExchangeItems(int i, int j)
{
    Rearranging();
    TPlayCardList::ExchangeItems(i, j);
}

void TUndoPlayCardList::InsertItem(int i, const TPlayCardItem& card)
{
    Rearranging();
    TPlayCardList::InsertItem(i, card);
}

void TUndoPlayCardList::Rearranging()
{
    ++FArrangements;
    ClearHistory();
}

void TUndoPlayCardList::BeginChange(const std::string& description)
{
    if (FGroupDepth++ == 0)
        FGroupDescription = description;
}

void TUndoPlayCardList::EndChange()
{
    if (FGroupDepth == 0 || --FGroupDepth > 0)
        return;
    std::unique_ptr<TUndoPlayCard> group = std::move(FGroup);
    FGroupHeld.clear();
    if (group && !group->Former.empty())
        Push(std::move(group), FGroupDescription);
}

bool TUndoPlayCardList::Undo()
{
    if (FEntries.empty())
        return false;
    const std::unique_ptr<TUndoPlayCard> entry = std::move(FEntries.back());
    FEntries.pop_back();
    Descriptions.Delete(Descriptions.Count() - 1);
    FUndoing = true;
    BeginUpdate();
    for (auto f = entry->Former.rbegin(); f != entry->Former.rend(); ++f)
        if (f->Index < Count())
            PutCard(f->Index, f->Card);
    EndUpdate();
    FUndoing = false;
    return true;
}

void TUndoPlayCardList::ClearHistory()
{
    FEntries.clear();
    Descriptions.Clear();
}

}  // namespace olve
