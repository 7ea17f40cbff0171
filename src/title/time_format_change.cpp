#include "title/time_format_change.h"

namespace olve {

std::string QuestionText(const TTimeFormatChange& change)
{
    const char* const gap = "\r\n\r\n";
    if (change.To == otfTMSF)
        return change.FileName + gap + "このタイトルはメディアファイル用です" + gap + "時間の記録方式をオーディオＣＤ用に変更しますか？";
    return change.FileName + gap + "このタイトルはオーディオＣＤ用です" + gap + "時間の記録方式をメディアファイル用に変更しますか？";
}

}  // namespace olve
