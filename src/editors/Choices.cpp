#include "Choices.h"

#include "ScreenText.h"

namespace t2 {

Choices::Choices(QStringList texts, int first) : texts_(std::move(texts)), first_(first) {}

Choices Choices::Of(TextTable table, int first) { return Choices(t2::Texts(table), first); }

Choices Choices::Of(const NumberList& list)
{
    const QString pattern = QString::fromLatin1(list.prefix) + "%1" + QString::fromLatin1(list.suffix);
    return Choices(Range(list.first, list.last, pattern).Texts(), list.firstValue);
}

Choices Choices::Range(int first, int last, const QString& pattern)
{
    QStringList texts;
    texts.reserve(last >= first ? last - first + 1 : 0);
    for (int n = first; n <= last; ++n) texts << pattern.arg(n);
    return Choices(texts, first);
}

Choices Choices::QuarterHours()
{
    QStringList texts;
    for (int q = 0; q < 96; ++q) texts << QString::fromStdString(QuarterHourText(q));
    return Choices(texts, 0);
}

Choices Choices::WithNone(const QString& text, int noneValue, std::function<bool(int)> noneShownFor) const
{
    Choices c = *this;
    c.texts_.prepend(text);
    c.hasNone_ = true;
    c.noneValue_ = noneValue;
    c.noneShownFor_ = std::move(noneShownFor);
    return c;
}

int Choices::ValueOf(int index) const
{
    if (index < 0 || index >= Count()) return first_ - 1;
    if (hasNone_) return index == 0 ? noneValue_ : first_ + index - 1;
    return first_ + index;
}

int Choices::IndexOf(int value) const
{
    if (hasNone_) {
        if (noneShownFor_ ? noneShownFor_(value) : value == noneValue_) return 0;
        const int index = value - first_ + 1;
        return index >= 1 && index < Count() ? index : -1;
    }
    const int index = value - first_;
    return index >= 0 && index < Count() ? index : -1;
}

QString Choices::TextOf(int value) const
{
    const int index = IndexOf(value);
    return index < 0 ? QString() : texts_[index];
}

}  // namespace t2
