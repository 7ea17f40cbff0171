#include "title/setting_lines.h"

#include "storage/comma_text.h"

namespace olve {

int IndexOfName(const TStringList& lines, const std::string& name)
{
    for (int i = 0; i < lines.Count(); ++i)
        if (IsNamed(lines[i], name))
            return i;
    return -1;
}

void SetValueOrDelete(TStringList& lines, const std::string& name, const std::string& value)
{
    const int i = IndexOfName(lines, name);
    if (i < 0) {
        if (!value.empty())
            lines.Add(name + "=" + value);
    } else if (value.empty()) {
        lines.Delete(i);
    } else {
        lines.Put(i, name + "=" + value);
    }
}

void SetOrInsertFirst(TStringList& lines, const std::string& name, const std::string& value)
{
    const int i = IndexOfName(lines, name);
    if (i < 0)
        lines.Insert(0, name + "=" + value);
    else
        lines.Put(i, name + "=" + value);
}

}  // namespace olve
