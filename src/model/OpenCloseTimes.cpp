#include "OpenCloseTimes.h"

namespace t2 {

void StoreSingleDateTime(PanelConfig& c, int month, int day, bool open, int value)
{
    if (month < 0 || month > 11 || day < 0 || day > 30) return;
    const auto m = static_cast<std::size_t>(month);
    const auto d = static_cast<std::size_t>(day);
    Integer& mine = open ? c.SingleDateOpenTime(m, d) : c.SingleDateCloseTime(m, d);
    Integer& other = open ? c.SingleDateCloseTime(m, d) : c.SingleDateOpenTime(m, d);
    if (value == UnsetDateTime) {
        mine = UnsetDateTime;
        other = UnsetDateTime;
        return;
    }
    mine = static_cast<Integer>(value);
    if (other == UnsetDateTime) other = 0;
}

}  // namespace t2
