#include "title/undo_play_card_list.h"

namespace olve {

TUndoPlayCardList::~TUndoPlayCardList()
{
    ClearHistory();
}

void TUndoPlayCardList::SetPicture(int i, const std::string& value)
{
    if (Card(i).Picture != value)
        TPlayCardList::SetPicture(i, value);
}

void TUndoPlayCardList::SetSubText(int i, const std::string& value)
{
    if (Card(i).SubText != value)
        TPlayCardList::SetSubText(i, value);
}

void TUndoPlayCardList::SetMainText(int i, const std::string& value)
{
    if (Card(i).MainText != value)
        TPlayCardList::SetMainText(i, value);
}

void TUndoPlayCardList::SetDataText(int i, const std::string& value)
{
    if (Card(i).DataText != value)
        TPlayCardList::SetDataText(i, value);
}

void TUndoPlayCardList::SetTimeFormat(int i, TOlveTimeFormat value)
{
    if (Card(i).TimeFormat != value)
        TPlayCardList::SetTimeFormat(i, value);
}

void TUndoPlayCardList::SetObject(int i, std::int32_t value)
{
    if (Card(i).Object != value)
        TPlayCardList::SetObject(i, value);
}

void TUndoPlayCardList::SetStartPos(int i, std::uint32_t value)
{
    if (Card(i).StartPos != value)
        TPlayCardList::SetStartPos(i, value);
}

void TUndoPlayCardList::SetEndPos(int i, std::uint32_t value)
{
    if (Card(i).EndPos != value)
        TPlayCardList::SetEndPos(i, value);
}

void TUndoPlayCardList::PutCard(int i, const TPlayCardItem& card)
{
    SetMainText(i, card.MainText);
    SetSubText(i, card.SubText);
    SetPicture(i, card.Picture);
    SetDataText(i, card.DataText);
    SetStartPos(i, card.StartPos);
    SetEndPos(i, card.EndPos);
    SetObject(i, card.Object);
    SetTimeFormat(i, card.TimeFormat);
}

void TUndoPlayCardList::ClearHistory()
{
    FEntries.clear();
    Descriptions.Clear();
}

}  // namespace olve
