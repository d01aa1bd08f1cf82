// The built-in table of cities the astronomical clock settings offer: state
// and city joined by a comma ("Alabama,Birmingham"), with whole degrees of
// north latitude and west longitude. The names are kept exactly as the panel's
// installers have always seen them, spellings included. A city carries no time
// zone: picking one never changes TimeZone.
#pragma once

#include <array>
#include <cstdint>

namespace t2 {

struct CityRecord {
    const char* name = "";
    std::int16_t latitude = 0;    // degrees north
    std::int16_t longitude = 0;   // degrees west
};

constexpr int CityCount = 260;
using CityList = std::array<CityRecord, CityCount>;

// Overwrites all 260 records of table with the built-in cities, in list order.
void FillCityTable(CityList& table);

// The built-in cities.
const CityList& CityTable();

}  // namespace t2
