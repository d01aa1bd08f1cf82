// The names CSV file: what it holds, that a file written and read back gives
// the same settings file, and how every kind of spreadsheet output is read
// (the preview lines it gives, or the rows it refuses).
#include "Defaults.h"
#include "NamesCsv.h"
#include "SettingsFile.h"

#include "../common/TestRecords.h"

#include <gtest/gtest.h>

#include <QString>

#include <memory>
#include <string>
#include <vector>

using namespace t2;

namespace {

using fixtures::Records;

// A name in every member the file carries, the connection settings in the
// spare elements beside them.
std::unique_ptr<Records> Named()
{
    auto r = fixtures::FreshRecords();
    r->config.PanelName = "MAIN STREET #2 (OLD)";   // longer than the 18 the panel keeps
    int n = 0;
    for (NameArray* names : {&r->config.RelayNames, &r->config.GroupNames, &r->config.InputNames,
                             &r->config.TimerNames, &r->config.PresetNames}) {
        for (int k = 0; k < ItemCount; ++k) (*names)[static_cast<std::size_t>(k)] = "N" + std::to_string(n++) + " A/B-C";
    }
    for (int d = 1; d < DeviceSlots; ++d) r->devices[static_cast<std::size_t>(d)].DeviceName = "DEV " + std::to_string(d);
    r->config.RelayNames[0] = " LEADING SPACE";
    r->config.RelayNames[1] = "TRAILING ";
    r->config.GroupNames[2] = "";
    r->config.InputNames[3] = "A LONG NAME OF MANY WORDS: 12.5 * ? @";
    r->config.ModemPhoneNumber() = "5551234";
    r->config.PanelAddress() = "192.168.1.50";
    r->devices[0].DeviceName = "RECORD 0";
    return r;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t from = 0;
    while (from < text.size()) {
        const std::size_t end = text.find("\r\n", from);
        lines.push_back(text.substr(from, end - from));
        if (end == std::string::npos) break;
        from = end + 2;
    }
    return lines;
}

// A text as the bytes of UTF-16, little-endian.
std::string Utf16Le(const char* utf8)
{
    std::string bytes;
    for (QChar c : QString::fromUtf8(utf8)) {
        bytes += static_cast<char>(c.unicode() & 0xFF);
        bytes += static_cast<char>(c.unicode() >> 8);
    }
    return bytes;
}

std::vector<std::string> ChangeLines(const NamesImport& import)
{
    std::vector<std::string> lines;
    for (const NameChange& c : import.changes) lines.push_back(ChangeLine(c));
    return lines;
}

std::vector<std::string> BadLines(const NamesImport& import)
{
    std::vector<std::string> lines;
    for (const BadNameRow& row : import.badRows) lines.push_back(BadRowText(row));
    return lines;
}

}  // namespace

TEST(NamesCsv, WritesEveryNameOnceInFileOrder)
{
    auto r = Named();
    r->config.RelayNames[4] = "A, \"B\"; C";   // as a file or the panel may have left it
    const std::string csv = WriteNamesCsv(r->config, r->devices);
    ASSERT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
    ASSERT_EQ(csv.substr(csv.size() - 2), "\r\n");
    EXPECT_EQ(csv.find('\n'), csv.find("\r\n") + 1);
    const std::vector<std::string> lines = Lines(csv.substr(3));
    ASSERT_EQ(lines.size(), 1u + 1 + 5 * 48 + 32);
    EXPECT_EQ(lines[0], "Kind,Number,Name");
    EXPECT_EQ(lines[1], "Panel,,MAIN STREET #2 (OLD)");
    EXPECT_EQ(lines[2], "Relay,1,\" LEADING SPACE\"");
    EXPECT_EQ(lines[3], "Relay,2,\"TRAILING \"");
    EXPECT_EQ(lines[5], "Relay,4,N3 A/B-C");
    EXPECT_EQ(lines[6], "Relay,5,\"A, \"\"B\"\"; C\"");
    EXPECT_EQ(lines[49], "Relay,48,N47 A/B-C");
    EXPECT_EQ(lines[50], "Group,1,N48 A/B-C");
    EXPECT_EQ(lines[52], "Group,3,");
    EXPECT_EQ(lines[1 + 1 + 2 * 48 + 3], "Input,4,A LONG NAME OF MANY WORDS: 12.5 * ? @");
    EXPECT_EQ(lines[1 + 1 + 4 * 48 + 47], "Preset,48,N239 A/B-C");
    EXPECT_EQ(lines[1 + 1 + 5 * 48], "Vantel,1,DEV 1");
    EXPECT_EQ(lines.back(), "Vantel,32,DEV 32");
    EXPECT_EQ(csv.find("5551234"), std::string::npos);   // connection settings are not names
    EXPECT_EQ(csv.find("RECORD 0"), std::string::npos);
}

// Written from one configuration and read into another that differs only in
// its names, the file gives back the same settings file byte for byte.
TEST(NamesCsv, WrittenAndReadBackGivesTheSameSettingsFile)
{
    auto named = Named();
    const std::string expected = SerializeSettings(named->config, named->devices);
    const std::string csv = WriteNamesCsv(named->config, named->devices);

    auto other = Named();
    for (const NameKindInfo& kind : NameKinds) {
        for (int n = kind.count == 0 ? 0 : 1; n <= kind.count; ++n) NameOf(other->config, other->devices, kind.kind, n) = "OTHER";
    }
    const NamesImport import = ReadNamesCsv(csv, other->config, other->devices);
    ASSERT_TRUE(import.Ok()) << BadLines(import).front();
    EXPECT_EQ(import.rows, 273);
    EXPECT_EQ(import.changes.size(), 273u);
    ASSERT_TRUE(ApplyNames(import, other->config, other->devices));
    EXPECT_EQ(SerializeSettings(other->config, other->devices), expected);

    // Read against the configuration it came from, it changes nothing.
    EXPECT_TRUE(ReadNamesCsv(csv, named->config, named->devices).changes.empty());
}

TEST(NamesCsv, ReadsWhatSpreadsheetsWriteAndRefusesWhatItCannotRead)
{
    struct Case {
        const char* what;
        std::string file;
        std::vector<std::string> changes;   // the preview, when the file can be read
        std::vector<std::string> bad;       // else the rows it refuses
    };
    const Case cases[] = {
        {"small letters become capitals", "Kind,Number,Name\r\nrelay,1,lobby\r\n",
         {"Relay 1 \"RELAY 01\" -> \"LOBBY\" (filtered from \"lobby\")"}, {}},
        {"a character the panel cannot show is dropped", "Group,2,STAGE!\r\n",
         {"Group 2 \"GROUP 02\" -> \"STAGE\" (filtered from \"STAGE!\")"}, {}},
        {"names longer than the panel keeps or shows",
         "Input,3,NORTH ENTRANCE\r\nVantel,10,EAST HALLS\r\nVantel,11,EIGHT CH\r\nPanel,,ABCDEFGHIJKLMNOPQRS\r\n"
         "Timer,1,TEN CHARS.\r\n",
         {"Panel \"\" -> \"ABCDEFGHIJKLMNOPQRS\" (longer than the 18 characters the panel keeps)",
          "Input 3 \"INPUT 03\" -> \"NORTH ENTRANCE\" (longer than the 10 characters the panel keeps)",
          "Timer 1 \"TIMER 01\" -> \"TEN CHARS.\"",
          "Vantel 10 \"VANTEL 0A\" -> \"EAST HALLS\" (longer than the 8 characters the panel shows)",
          "Vantel 11 \"VANTEL 0B\" -> \"EIGHT CH\""},
         {}},
        {"semicolons as separators", "Kind;Number;Name\r\nTimer;4;DUSK, LATE\r\nPreset;5;\"A;B\"\r\n",
         {"Timer 4 \"TIMER 04\" -> \"DUSK LATE\" (filtered from \"DUSK, LATE\")",
          "Preset 5 \"PRESET 05\" -> \"AB\" (filtered from \"A;B\")"},
         {}},
        {"a file that is not UTF-8 is Windows-1252", "Relay,1,caf\xE9\r\nRelay,2,\x93HI\x94\r\n",
         {"Relay 1 \"RELAY 01\" -> \"CAF\" (filtered from \"caf\xC3\xA9\")",
          "Relay 2 \"RELAY 02\" -> \"HI\" (filtered from \"\xE2\x80\x9CHI\xE2\x80\x9D\")"},
         {}},
        {"UTF-8 with its mark", "\xEF\xBB\xBFKind,Number,Name\r\nRelay,1,CAF\xC3\x89 2\r\n",
         {"Relay 1 \"RELAY 01\" -> \"CAF 2\" (filtered from \"CAF\xC3\x89 2\")"}, {}},
        {"a spreadsheet's Unicode text: UTF-16 with its mark, TAB between the fields",
         "\xFF\xFE" + Utf16Le("Kind\tNumber\tName\r\nRelay\t1\t\xC3\xA9z, 2\r\n"),
         {"Relay 1 \"RELAY 01\" -> \"Z 2\" (filtered from \"\xC3\xA9z, 2\")"}, {}},
        {"quoted names with commas, quotes and a line break",
         "Relay,2,\"HALL, EAST\"\nRelay,3, \"SAY \"\"HI\"\"\" \nRelay,4,\"TWO\r\nLINES\"\nRelay,5,\"\"\n",
         {"Relay 2 \"RELAY 02\" -> \"HALL EAST\" (filtered from \"HALL, EAST\")",
          "Relay 3 \"RELAY 03\" -> \"SAY HI\" (filtered from \"SAY \"HI\"\")",
          "Relay 4 \"RELAY 04\" -> \"TWOLINES\" (filtered from \"TWO\r\nLINES\")",
          "Relay 5 \"RELAY 05\" -> \"\""},
         {}},
        {"rows in any order, kinds in any case, no header, blank rows, missing rows left alone",
         "\r\nVANTEL,32,ROOF\r\n\r\npanel,,MAIN ST\r\n,,\r\nRelay, 02 ,X\rgroup,048,LAST\r\n",
         {"Panel \"\" -> \"MAIN ST\"", "Relay 2 \"RELAY 02\" -> \"X\"", "Group 48 \"GROUP 48\" -> \"LAST\"",
          "Vantel 32 \"VANTEL 20\" -> \"ROOF\""},
         {}},
        {"names that stay as they are are not listed", "Relay,1,RELAY 01\r\nRelay,2,relay 02\r\nRelay,3,  X\r\n",
         {"Relay 3 \"RELAY 03\" -> \"  X\""}, {}},
        {"empty fields after the name are allowed", "Relay,1,A,,\r\n", {"Relay 1 \"RELAY 01\" -> \"A\""}, {}},
        {"relay 49", "Kind,Number,Name\r\nRelay,49,EXTRA\r\n", {}, {"line 2: Relay number \"49\" is not in 1..48"}},
        {"an unknown kind", "Relais,1,LOBBY\r\n", {}, {"line 1: unknown kind \"Relais\""}},
        {"a short row", "Relay,1,A\r\nRelay,5\r\n", {}, {"line 2: a missing field: a row holds Kind, Number and Name"}},
        {"every bad row, with its line after a name of two lines",
         "Kind,Number,Name\r\nRelay,1,\"TWO\r\nLINES\"\r\nRelay,x,A\r\nVantel,0,A\r\nVantel,33,A\r\nRelay,,A\r\n"
         "Panel,1,A\r\nRelay,6,AB\"C\r\nRelay,1,AGAIN\r\nRelay,7,HALL,EAST\r\nRelay,8,\"ABC\"D\r\nRelay,9,\"OPEN\r\n",
         {},
         {"line 4: Relay number \"x\" is not in 1..48", "line 5: Vantel number \"0\" is not in 1..32",
          "line 6: Vantel number \"33\" is not in 1..32", "line 7: a Relay row needs a number 1..48",
          "line 8: the panel name takes no number, not \"1\"", "line 9: a field with a stray quote",
          "line 10: Relay 1 is given twice (first on line 2)",
          "line 11: more fields than Kind, Number and Name (a name with \",\" or \";\" needs quotes)",
          "line 12: a field with a stray quote", "line 13: a quoted field is never closed"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto r = fixtures::FreshRecords();
        const auto before = std::make_unique<Records>(*r);
        const NamesImport import = ReadNamesCsv(c.file, r->config, r->devices);
        EXPECT_EQ(BadLines(import), c.bad);
        if (c.bad.empty()) {
            EXPECT_EQ(ChangeLines(import), c.changes);
            EXPECT_TRUE(ApplyNames(import, r->config, r->devices));
            for (const NameChange& change : import.changes)
                EXPECT_EQ(NameOf(r->config, r->devices, change.kind, change.number), change.newName);
        } else {
            // A refused file changes nothing, not even the names of its good rows.
            EXPECT_FALSE(ApplyNames(import, r->config, r->devices));
            EXPECT_EQ(r->config, before->config);
            EXPECT_EQ(r->devices, before->devices);
        }
    }
}
