// The documentation report: the whole configuration written as sectioned plain
// text. A header, then one section per chosen topic (a title line in square
// brackets, a line of column titles, one line per item), then "[End Of File]".
// Every line ends with CR LF, fields are separated by one TAB, names are written
// as the 8-bit bytes the configuration holds.
#pragma once

#include "PanelConfig.h"

#include <array>
#include <string>
#include <vector>

namespace t2 {

// The sections in their fixed order; the index is that of DocumentPrintOptions.
enum ReportSection : int {
    SectionPanelSettings = 0,
    SectionRelaySchedule = 1,
    SectionGroupSchedule = 2,
    SectionLocalInputSchedule = 3,
    SectionVantelInputSchedule = 4,
    SectionLocalInputPilotSchedule = 5,
    SectionVantelPilotSchedule = 6,
    SectionTimerSchedule = 7,
    SectionPresetSchedule = 8,
    SectionOffHoursSweepsSchedule = 9,
    SectionOpenCloseTimesSchedule = 10,
    SectionDmxSchedule = 11,
};
constexpr int ReportSectionCount = 12;

// Captions of the section check boxes of the Document window, by section.
inline constexpr std::array<const char*, ReportSectionCount> ReportSectionCaptions{
    "Panel Settings", "Relay Schedule", "Group Schedule", "Local Input Schedule",
    "Vantel Input Schedule", "Local Input Pilot Schedule", "Vantel Pilot Schedule", "Timer Schedule",
    "Preset Schedule", "Off Hours Sweeps Schedule", "Open Close Times Schedule", "DMX Schedule"};

inline constexpr const char* ReportFileFilter =
    "Tamberline II Document Files (*.TXT)|*.TXT|All Files (*.*)|*.*";
inline constexpr const char* ReportCompleteMessage = "Documentation Complete.";

// A local date and time, as the report's header shows it.
struct ReportTime {
    int year = 2000;
    int month = 1;   // 1..12
    int day = 1;     // 1..31
    int hour = 0;    // 0..23
    int minute = 0;  // 0..59
};

// The present local time.
ReportTime ReportTimeNow();

// "hh:mm AM/PM mm/dd/yyyy", a two-digit 12-hour hour: 02:05 PM 03/17/2005.
std::string FormatReportTime(const ReportTime& time);

// What the report needs besides the configuration.
struct ReportSettings {
    std::array<bool, ReportSectionCount> DocumentPrintOptions{};  // true leaves the section out
    std::string SettingsFileName = "None";  // shown in the header ("None" before a save or open)
    std::string VersionText;                // the About window's version line
    ReportTime Created;                     // stamped in the header
};

// The settings of the program's own state, stamped with the given time.
ReportSettings ReportSettingsOf(const ProgramState& state, const ReportTime& created);

// One line of the report as its writer made it, for readers that go through a
// report item by item (the comparison of two configurations).
struct ReportLine {
    enum class Kind {
        Header,   // the header lines and "[End Of File]"
        Title,    // a section's title in square brackets
        Columns,  // the column titles of the lines below it
        Item,     // one item
    };
    Kind kind = Kind::Item;
    // An item's name as the report's lists write it ("R05", "G12", "I03",
    // "T07", "P02", "VT-0A.3"); for items that appear in no list, the line's
    // first field ("Time Zone", "Sunday", "Feb 29").
    std::string item;
    std::vector<std::string> fields;
};

// Writes the report line by line into a buffer. Each section writer appends its
// lines; the writers only read the configuration and never index an array with
// a stored value, so any file's contents can be reported. A relay, input or
// device input type code that has no text is written as "?" followed by the
// number (see OutOfTableText); a panel-wide code without a text and a pilot
// source without a text write no line, a device of a type without a text has
// no input lines, a timer time code that is neither an hour nor an offset
// leaves the Time field empty.
class DocumentReport {
public:
    DocumentReport(const PanelConfig& config, const VantelDevices& devices);

    void DocHeader(const std::string& versionText, const std::string& settingsFileName,
                   const ReportTime& created);
    void DocPanelSettings();
    void DocRelaySchedule();
    void DocGroupSchedule();
    void DocLocalInputSchedule();
    void DocVantelInputSchedule();
    void DocLocalInputPilotSchedule();
    void DocVantelPilotSchedule();
    void DocTimerSchedule();
    void DocPresetSchedule();
    void DocOffHoursSweepsSchedule();
    void DocOpenCloseTimesSchedule();
    // The date lines of one month: month index 0..11, its abbreviation and day count.
    void OpenCloseMonth(const std::string& abbreviation, int month, int days);
    void DocDMXSchedule();
    void DocEndOfFile();

    // Runs the section writers chosen by the options, in the fixed order; the
    // DMX section only with a DMX module installed.
    void DocSections(const std::array<bool, ReportSectionCount>& leaveOut);

    const std::string& Text() const { return out_; }
    // The same lines, each with its kind and item name.
    const std::vector<ReportLine>& Lines() const { return lines_; }

private:
    void Add(ReportLine::Kind kind, std::string item, std::initializer_list<std::string> fields);
    void HeaderLine(std::initializer_list<std::string> fields) { Add(ReportLine::Kind::Header, {}, fields); }
    void Title(const std::string& title) { Add(ReportLine::Kind::Title, {}, {title}); }
    void Columns(std::initializer_list<std::string> titles) { Add(ReportLine::Kind::Columns, {}, titles); }
    // An item line; the item is named by its first field unless named here.
    void Line(std::initializer_list<std::string> fields, std::string item = {})
    {
        Add(ReportLine::Kind::Item, std::move(item), fields);
    }
    // Title and text, or no line at all when text is nullptr.
    void LineIfText(const char* title, const char* text);
    std::string NetworkControl(int target, bool groups) const;

    const PanelConfig& c_;
    const VantelDevices& devices_;
    int ioCount_;  // relays and local inputs 0..ioCount_-1 exist
    std::string out_;
    std::vector<ReportLine> lines_;
};

// The whole report as bytes.
std::string BuildReport(const PanelConfig& config, const VantelDevices& devices, const ReportSettings& settings);

// Writes the report to path atomically: on failure *error names the file as
// given and the problem, and no partial file is left (an existing file stays
// whole). A folder, device, pipe or socket at path is refused and left as it is.
bool WriteReportFile(const std::string& path, const PanelConfig& config, const VantelDevices& devices,
                     const ReportSettings& settings, std::string* error);

// A host text (UTF-8, such as a path) as the report's 8-bit Windows-1252 bytes;
// characters the code page lacks become "?", bytes that are not UTF-8 pass as they are.
std::string ToWindows1252(const std::string& utf8);

}  // namespace t2
