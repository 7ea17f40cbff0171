#include "lesson/natural_order.h"

#include <QString>
#include <algorithm>

namespace olve {

namespace {

bool IsDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

qsizetype DigitsEnd(const QString& text, qsizetype from)
{
    while (from < text.size() && IsDigit(text[from]))
        ++from;
    return from;
}

int Sign(qsizetype value)
{
    return (value > 0) - (value < 0);
}

// Two runs of digits by their value, without converting: a run may be longer than any integer.
int CompareNumbers(QStringView a, QStringView b)
{
    const auto significant = [](QStringView run) {
        qsizetype first = 0;
        while (first < run.size() && run[first] == u'0')
            ++first;
        return run.mid(first);
    };
    a = significant(a);
    b = significant(b);
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return Sign(a.compare(b));
}

// Character by character after case folding, a run of digits against another as one number.
int CompareFolded(const QString& a, const QString& b)
{
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            const qsizetype ie = DigitsEnd(a, i), je = DigitsEnd(b, j);
            if (const int order = CompareNumbers(QStringView(a).mid(i, ie - i), QStringView(b).mid(j, je - j)))
                return order;
            i = ie;
            j = je;
        } else if (a[i] != b[j]) {
            return a[i] < b[j] ? -1 : 1;
        } else {
            ++i;
            ++j;
        }
    }
    return Sign((a.size() - i) - (b.size() - j));
}

}  // namespace

int CompareNaturally(const std::string& a, const std::string& b)
{
    const int order = CompareFolded(QString::fromUtf8(a.data(), static_cast<qsizetype>(a.size())).toCaseFolded(),
                                    QString::fromUtf8(b.data(), static_cast<qsizetype>(b.size())).toCaseFolded());
    return order != 0 ? order : Sign(a.compare(b));
}

bool NaturallyBefore(const std::string& a, const std::string& b)
{
    return CompareNaturally(a, b) < 0;
}

void SortNaturally(std::vector<std::string>& names)
{
    std::stable_sort(names.begin(), names.end(), NaturallyBefore);
}

}  // namespace olve
