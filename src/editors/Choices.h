// The entries of a list and how an entry stands for a stored value.
//
//   Choices::Of(RelayTimerTypeTexts)            entry k is value k
//   Choices::Of(DstWeekTexts, 1)                entry k is value k + 1
//   Choices::Range(5, 999, "%1Min")             "5Min" .. "999Min", entry k is value k + 5
//   Choices::Of(DmxFilterList)                  "1" .. "16", entry k is value k
//   Choices::QuarterHours().WithNone("Clear", 100, [](int v) { return v > 99; })
//                                               "Clear" is 100 (and shows for any value above 99),
//                                               then 12:00A .. 11:45P for 0 .. 95
//
// A value with no entry selects none and shows no text; nothing fails.
#pragma once

#include "CodeTexts.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace t2 {

class Choices {
public:
    Choices() = default;
    Choices(QStringList texts, int first = 0);   // entry k stands for first + k

    static Choices Of(TextTable table, int first = 0);
    // The entries of a list of numbers (CodeTexts.h), standing for its values.
    static Choices Of(const NumberList& list);
    // One entry per number first..last, each the pattern with %1 replaced by it.
    static Choices Range(int first, int last, const QString& pattern = "%1");
    // The 96 quarter hours of a day as "h:nnA/P" (12:00A .. 11:45P), values 0..95.
    static Choices QuarterHours();

    // The same entries after one more in front that stands for noneValue; it
    // is the entry shown for every value noneShownFor accepts (by default
    // noneValue alone).
    Choices WithNone(const QString& text, int noneValue, std::function<bool(int)> noneShownFor = {}) const;

    int Count() const { return static_cast<int>(texts_.size()); }
    const QStringList& Texts() const { return texts_; }
    // The value of an entry (any index outside the list gives first - 1).
    int ValueOf(int index) const;
    // The entry of a value, or -1 when the list has none.
    int IndexOf(int value) const;
    // The text of a value's entry, or "" when it has none.
    QString TextOf(int value) const;

private:
    QStringList texts_;
    int first_ = 0;
    bool hasNone_ = false;
    int noneValue_ = 0;
    std::function<bool(int)> noneShownFor_;
};

}  // namespace t2
