// The coding of a timer's time (TimerTimeCode, TimerMinute) and the rules of
// the single-date open and close times.
#include "OpenCloseTimes.h"
#include "TimerTime.h"

#include <gtest/gtest.h>

using namespace t2;

TEST(TimerTime, CodesOfEveryType)
{
    struct Case {
        const char* what;
        TimerTime time;
        TimerTimeType type;
        int hour, amPm;           // clock lists (-1: none)
        int offsetType, offset;   // offset lists (-1: none)
        std::string words;
    };
    const Case cases[] = {
        {"12:05 AM", {0, 5}, TimerTimeType::Clock, 0, 0, -1, -1, "12:05 AM"},
        {"12:05 PM", {12, 5}, TimerTimeType::Clock, 0, 1, -1, -1, "12:05 PM"},
        {"11:59 PM", {23, 59}, TimerTimeType::Clock, 11, 1, -1, -1, "11:59 PM"},
        {"first astronomical", {24, 0}, TimerTimeType::Astro, -1, -1, 0, 0, "0 Min Before Sunrise"},
        {"Before Sunset 600", {90, 88}, TimerTimeType::Astro, -1, -1, 2, 600, "600 Min Before Sunset"},
        {"After Sunrise 260", {57, 4}, TimerTimeType::Astro, -1, -1, 1, 260, "260 Min After Sunrise"},
        {"first open/close", {152, 0}, TimerTimeType::OpenClose, -1, -1, 0, 0, "0 Min Before Open"},
        {"After Close 999", {251, 231}, TimerTimeType::OpenClose, -1, -1, 3, 999, "999 Min After Close"},
        {"only the low byte counts", {256 + 90, 88}, TimerTimeType::Astro, -1, -1, 2, 600, "600 Min Before Sunset"},
        {"negative code is a clock code of no hour", {-3, 0}, TimerTimeType::Clock, -1, -1, -1, -1, ""},
        {"clock minute past 59", {7, 60}, TimerTimeType::Clock, 7, 0, -1, -1, ""},
        {"offset minute past 255", {24, 256}, TimerTimeType::Astro, -1, -1, 0, -1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(TimeTypeOf(c.time.code), c.type);
        EXPECT_EQ(ClockHourIndex(c.time.code), c.hour);
        EXPECT_EQ(AmPmIndex(c.time.code), c.amPm);
        EXPECT_EQ(OffsetTypeOf(c.time.code), c.offsetType);
        EXPECT_EQ(OffsetOf(c.time.code, c.time.minute), c.offset);
        EXPECT_EQ(TimerTimeWords(c.time), c.words);
    }
}

TEST(TimerTime, EncodingAndEditingKeepTheOtherPart)
{
    EXPECT_EQ(ClockCode(0, 0), 0);
    EXPECT_EQ(ClockCode(0, 1), 12);
    EXPECT_EQ(ClockCode(11, 1), 23);
    EXPECT_EQ(ClockCode(5, -1), 5);   // no AM/PM shown: AM
    EXPECT_EQ(OffsetTime(false, 2, 600), (TimerTime{90, 88}));
    EXPECT_EQ(OffsetTime(true, 3, 999), (TimerTime{251, 231}));

    // A new type keeps the offset, a new offset keeps the type.
    EXPECT_EQ(WithOffsetType(90, 1), 24 + 32 + 2);
    EXPECT_EQ(OffsetOf(WithOffsetType(251, 0), 231), 999);
    EXPECT_EQ(WithOffset(251, 5), (TimerTime{248, 5}));
    EXPECT_EQ(OffsetTypeOf(WithOffset(90, 999).code), 2);
    EXPECT_EQ(WithOffset(90, 999), (TimerTime{91, 231}));

    // A code from a file without bits 3-4 stays an offset time when edited
    // (else the astronomical type 0 would turn it into the clock hour 0).
    EXPECT_EQ(WithOffsetType(256, 0), 24);
    EXPECT_EQ(WithOffset(256 + 128, 10), (TimerTime{152, 10}));
}

TEST(TimerTime, PickingATypeResetsOnlyAChange)
{
    struct Case {
        TimerTime from;
        TimerTimeType to;
        TimerTime expected;
    };
    const Case cases[] = {
        {{90, 88}, TimerTimeType::OpenClose, {152, 0}},
        {{152, 7}, TimerTimeType::Astro, {24, 0}},
        {{251, 231}, TimerTimeType::Clock, {0, 0}},
        {{18, 30}, TimerTimeType::Astro, {24, 0}},
        {{18, 30}, TimerTimeType::OpenClose, {152, 0}},
        {{18, 30}, TimerTimeType::Clock, {18, 30}},
        {{90, 88}, TimerTimeType::Astro, {90, 88}},
        {{251, 231}, TimerTimeType::OpenClose, {251, 231}},
        // A negative code shows as a clock time; another type resets it.
        {{-100, 3}, TimerTimeType::OpenClose, {152, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.from.code) + " to type " + std::to_string(static_cast<int>(c.to)));
        EXPECT_EQ(ForTimeType(c.from, c.to), c.expected);
    }
}

TEST(OpenCloseTimes, SingleDateCompanionRule)
{
    struct Case {
        const char* what;
        Integer open, close;      // before
        bool pickOpen;
        int value;
        Integer openAfter, closeAfter;
    };
    const Case cases[] = {
        {"open alone sets close to 12:00A", 100, 100, true, 38, 38, 0},
        {"close alone sets open to 12:00A", 100, 100, false, 70, 0, 70},
        {"both set: only the one picked", 38, 70, true, 40, 40, 70},
        {"Clear on open unsets both", 38, 70, true, 100, 100, 100},
        {"Clear on close unsets both", 38, 70, false, 100, 100, 100},
        {"101 is shown unset but is not 100", 100, 101, true, 38, 38, 101},
        {"32767 likewise", 32767, 100, false, 12, 32767, 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PanelConfig config;
        config.SingleDateOpenTime(4, 9) = c.open;
        config.SingleDateCloseTime(4, 9) = c.close;
        StoreSingleDateTime(config, 4, 9, c.pickOpen, c.value);
        EXPECT_EQ(config.SingleDateOpenTime(4, 9), c.openAfter);
        EXPECT_EQ(config.SingleDateCloseTime(4, 9), c.closeAfter);
    }
    EXPECT_TRUE(ShownAsUnset(101));
    EXPECT_FALSE(ShownAsUnset(99));

    PanelConfig config;
    const PanelConfig before = config;
    StoreSingleDateTime(config, 12, 0, true, 5);   // month 12 and day 31 are not edited
    StoreSingleDateTime(config, 0, 31, true, 5);
    StoreSingleDateTime(config, -1, 0, true, 5);
    EXPECT_EQ(config, before);
}
