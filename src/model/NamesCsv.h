// Every name the panel shows, as one CSV file that a spreadsheet opens: the
// installer's panel schedule goes in and out of the program this way instead
// of being retyped into seven windows.
//
//   Kind,Number,Name
//   Panel,,MAIN STREET
//   Relay,1,LOBBY
//   ...            Relay 1..48, Group, Input, Timer, Preset 1..48, Vantel 1..32
//
// Written as RFC 4180 text in UTF-8 with a byte-order mark and CR LF line
// ends. Read back leniently (with or without the mark, Windows-1252 when the
// file is not UTF-8, UTF-16 with its mark; ";" or TAB as separator; kinds in
// any letter case, rows in any order, missing rows leaving their names
// alone; an optional header), every name passed through
// the name boxes' key filter; a file with a row that cannot be read changes
// nothing.
#pragma once

#include "PanelConfig.h"

#include <QString>

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace t2 {

enum class NameKind { Panel, Relay, Group, Input, Timer, Preset, Vantel };

struct NameKindInfo {
    NameKind kind;
    const char* word;   // the Kind field: "Relay"
    int count;          // numbers 1..count; 0: the one panel name, no number
    int shown;          // characters the panel keeps (18, 10) or shows (8 of a device's 10)
};

// The kinds in file order.
extern const std::array<NameKindInfo, 7> NameKinds;
const NameKindInfo& InfoOf(NameKind kind);

// The member holding a name; number is 1-based (ignored for the panel name).
Bytes& NameOf(PanelConfig& config, VantelDevices& devices, NameKind kind, int number);
const Bytes& NameOf(const PanelConfig& config, const VantelDevices& devices, NameKind kind, int number);

// The file's bytes for the names of a configuration.
std::string WriteNamesCsv(const PanelConfig& config, const VantelDevices& devices);

// A names file is small (272 rows); a longer input is refused unread.
constexpr std::size_t MaxNamesFileBytes = 4u << 20;

// One name an import would change.
struct NameChange {
    NameKind kind = NameKind::Panel;
    int number = 0;       // 1-based; 0 for the panel name
    Bytes oldName;
    Bytes newName;        // after the key filter
    QString fileText;     // the name as the file has it
    bool filtered = false;   // the filter changed or dropped characters
    bool tooLong = false;    // longer than the panel keeps or shows
};

// A row that cannot be read: its first line in the file (1-based) and why.
struct BadNameRow {
    int line = 0;
    std::string problem;
};

struct NamesImport {
    std::vector<NameChange> changes;   // in file order of the kinds, then by number
    std::vector<BadNameRow> badRows;   // in file order
    int rows = 0;                      // name rows read
    bool Ok() const { return badRows.empty(); }
};

// Reads a names file against the configuration it would change. Nothing is
// changed here; see ApplyNames.
NamesImport ReadNamesCsv(const std::string& bytes, const PanelConfig& config, const VantelDevices& devices);

// Stores the new names of an import without bad rows; false (and nothing
// changed) when it has bad rows.
bool ApplyNames(const NamesImport& import, PanelConfig& config, VantelDevices& devices);

// "Panel", "Relay 5", "Vantel 32".
std::string NameLabel(NameKind kind, int number);
// The marks of a change, "" when it has none: "longer than 10 kept",
// "filtered from "café"", joined with "; ". UTF-8.
std::string ChangeMarks(const NameChange& change);
// "Relay 5 "OLD" -> "NEW"", with the marks in parentheses. UTF-8.
std::string ChangeLine(const NameChange& change);
// "line 7: unknown kind "Relais"". UTF-8.
std::string BadRowText(const BadNameRow& row);

}  // namespace t2
