#include "title/play_cards.h"

namespace olve {

void TPlayCards::PutCard(int i, const TPlayCardItem& card)
{
    Delete(i);
    Insert(i, card);
}

int TPlayCards::Add(const TPlayCardItem& card)
{
    const int index = Count();
    Insert(index, card);
    return index;
}

void TPlayCards::AddCards(const TPlayCards& source)
{
    TUpdateBracket bracket(*this);
    for (int i = 0; i < source.Count(); ++i)
        Add(source.GetCard(i));
}

void TPlayCards::Exchange(int i, int j)
{
    TUpdateBracket bracket(*this);
    const TPlayCardItem a = GetCard(i);
    const TPlayCardItem b = GetCard(j);
    PutCard(i, b);
    PutCard(j, a);
}

void TPlayCards::BeginUpdate()
{
    if (FUpdateCount == 0)
        SetUpdateState(true);
    ++FUpdateCount;
}

void TPlayCards::EndUpdate()
{
    --FUpdateCount;
    if (FUpdateCount == 0)
        SetUpdateState(false);
}

void TPlayCards::Assign(const TPlayCards& source)
{
    TUpdateBracket bracket(*this);
    Clear();
    AddCards(source);
}

}  // namespace olve
