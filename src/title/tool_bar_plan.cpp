#include "title/tool_bar_plan.h"

#include <algorithm>
#include <numeric>

namespace olve {

bool TToolBarPlan::Overflows() const
{
    return std::find(Overflowed.begin(), Overflowed.end(), true) != Overflowed.end();
}

int FullToolBarWidth(const TToolBarWidths& widths)
{
    const int controls = std::accumulate(widths.Controls.begin(), widths.Controls.end(), 0);
    return widths.Fixed + controls + widths.Counter + widths.Time + widths.EasyProgress;
}

TToolBarPlan PlanToolBar(int width, const TToolBarWidths& widths)
{
    TToolBarPlan plan;
    int used = widths.Fixed + std::accumulate(widths.Controls.begin(), widths.Controls.end(), 0);
    const int middle = widths.Counter + widths.Time + widths.EasyProgress;
    for (int i = 0; i < ToolControlCount && used + middle > width; ++i) {
        const int control = widths.Controls[static_cast<std::size_t>(i)];
        if (control == 0)
            continue;
        if (!plan.Overflows())
            used += widths.Overflow;
        plan.Overflowed[static_cast<std::size_t>(i)] = true;
        used -= control;
    }
    plan.Middle = FitToolBar(width - used, widths.Counter, widths.Time, widths.MinProgress, widths.MaxProgress);
    return plan;
}

}  // namespace olve
