// What a screen reader hears for a row and its cells.
#include "AccessibleNames.h"

#include <QLabel>

#include <gtest/gtest.h>

using namespace t2;

TEST(AccessibleNames, ColumnsReadFromTheObjectNames)
{
    const std::pair<const char*, const char*> cases[] = {
        {"lblTimerType_4", "Timer Type"},   {"cboDSTStartWeek", "DST Start Week"},
        {"lblDMXChan_12", "DMX Chan"},      {"hsInputFOffLevel_0", "Input F Off Level"},
        {"lblInput16TimedOn", "Input 16 Timed On"}, {"cmdTurnOn_3", "Turn On"},
        {"Timer1", "Timer 1"},              {"", ""},
    };
    for (const auto& [name, words] : cases) EXPECT_EQ(ControlWords(name), words) << name;
}

TEST(AccessibleNames, RowsAndCells)
{
    QLabel name("LOBBY");
    name.resize(400, 20);
    EXPECT_EQ(RowTitle(&name), "LOBBY");   // no tool tip: the name alone
    name.setToolTip("Relay 05");
    EXPECT_EQ(RowTitle(&name), "Relay 05 LOBBY");
    name.setText("");
    EXPECT_EQ(RowTitle(&name), "Relay 05");

    EXPECT_EQ(CellTitle("Relay 05 LOBBY", "Timer Type"), "Relay 05 LOBBY, Timer Type");
    EXPECT_EQ(CellTitle("Relay 05 LOBBY", "Relay Status"), "Relay 05 LOBBY, Status");   // the kind said once
    EXPECT_EQ(CellTitle("Relay 05 LOBBY", "Relay"), "Relay 05 LOBBY, Relay");
    EXPECT_EQ(CellTitle("Input 2", "Input 16 Timed On"), "Input 2, Timed On");   // the device kind goes too
    EXPECT_EQ(CellTitle("Input 2", "Input F Off Level"), "Input 2, Off Level");
    EXPECT_EQ(CellTitle("Input 2", "Input 7"), "Input 2, 7");
    EXPECT_EQ(CellTitle("", "Status"), "Status");

    QLabel status("On");
    status.setObjectName("lblRelayStatus_4");
    NameRow(&name, {&status});
    EXPECT_EQ(name.accessibleName(), "Relay 05");
    EXPECT_EQ(status.accessibleName(), "Relay 05, Status");
}
