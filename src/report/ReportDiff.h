// Two configurations compared in the installer's words: the documentation
// report of each, section by section, item by item. Every difference is one
// item of one section with the value each report writes for it, so codes read
// as the report reads them ("Timed On 010 Min", not 5).
//
//     for (const t2::ReportDifference& d : t2::CompareConfigurations(a, aDevices, b, bDevices))
//         std::cout << d.section << '\t' << d.item << '\t' << d.a << '\t' << d.b << '\n';
#pragma once

#include "PanelConfig.h"

#include <string>
#include <utility>
#include <vector>

namespace t2 {

struct ReportDifference {
    // The section's title line as the report writes it: "[Relay Schedule]".
    std::string section;
    // The item and the column, as the report names them: "R05 Power On",
    // "VT-0A.3 Input Type", "Feb 29 Open Time"; the line's title where the
    // section has no columns ("Time Zone", "Node 1").
    std::string item;
    // The values, as 8-bit bytes like the report's; empty where that
    // configuration's report has no such line (a relay beyond its I/O count,
    // a device input its device type lacks, a DST rule while DST is off).
    std::string a;
    std::string b;

    bool operator==(const ReportDifference&) const = default;
};

struct CompareOptions {
    // Names compared as the panel holds them (PanelNames.h): the spaces it
    // pads them with are no difference, a name it can hold only cut is.
    bool namesAsPanel = false;
};

// Every difference, in the report's order: sections in their fixed order, the
// items of each in the order the report lists them. Empty when the reports of
// the two would read the same (the header aside).
std::vector<ReportDifference> CompareConfigurations(const PanelConfig& a, const VantelDevices& aDevices,
                                                    const PanelConfig& b, const VantelDevices& bDevices,
                                                    const CompareOptions& options = {});

// The two values as a difference shows them: as they are, or quoted (a quote
// inside doubled) when they differ only in spaces ("LOBBY" and "LOBBY     "),
// which would read the same on screen.
std::pair<std::string, std::string> ShownValues(const ReportDifference& difference);

// The number of differences in each section, in the order they first appear.
std::vector<std::pair<std::string, int>> CountBySection(const std::vector<ReportDifference>& differences);

// One difference as `tamberline-cli diff` prints it and a saved list holds it:
// section, item, A and B (as ShownValues gives them) separated by TABs (8-bit
// bytes, no line end).
std::string DifferenceLine(const ReportDifference& difference);

// The differences for a person to read, grouped by section with the count of
// each ("[Relay Schedule]: 2 Items", then one indented line per item with its
// two values); a value the report has no line for reads "(none)".
std::string DifferencesByGroupText(const std::vector<ReportDifference>& differences,
                                   const std::string& aTitle, const std::string& bTitle);

}  // namespace t2
