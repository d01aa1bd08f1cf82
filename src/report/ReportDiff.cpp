#include "ReportDiff.h"

#include "DocumentReport.h"
#include "PanelNames.h"

#include <algorithm>
#include <map>
#include <memory>
#include <set>

namespace t2 {

namespace {

// One item line of a section, with the column titles it stands under.
struct Row {
    std::string key;  // the item, made unique within its section
    std::string item;
    std::vector<std::string> columns;
    std::vector<std::string> fields;
};

struct Section {
    std::string title;
    std::vector<Row> rows;
};

// The report of one configuration, every section in it, cut into rows.
std::vector<Section> ReportSections(const PanelConfig& config, const VantelDevices& devices)
{
    DocumentReport report(config, devices);
    report.DocSections({});
    std::vector<Section> sections;
    std::vector<std::string> columns;
    std::map<std::string, int> seen;
    for (const ReportLine& line : report.Lines()) {
        switch (line.kind) {
        case ReportLine::Kind::Header: break;
        case ReportLine::Kind::Title:
            sections.push_back({line.fields.front(), {}});
            columns.clear();
            seen.clear();
            break;
        case ReportLine::Kind::Columns: columns = line.fields; break;
        case ReportLine::Kind::Item: {
            if (sections.empty()) break;
            // An item named twice in a section (never in the report as it is)
            // is told apart by its place.
            const int n = seen[line.item]++;
            std::string key = n == 0 ? line.item : line.item + '\x1f' + std::to_string(n);
            sections.back().rows.push_back({std::move(key), line.item, columns, line.fields});
            break;
        }
        }
    }
    return sections;
}

// The keys of both lists in one order: each list's own order is kept, and a
// key only one list has comes where that list has it.
template <typename T, typename KeyOf>
std::vector<std::string> MergedKeys(const std::vector<T>& a, const std::vector<T>& b, KeyOf keyOf)
{
    std::set<std::string> inA, inB, done;
    for (const T& x : a) inA.insert(keyOf(x));
    for (const T& x : b) inB.insert(keyOf(x));
    std::vector<std::string> keys;
    std::size_t i = 0, j = 0;
    while (true) {
        while (i < a.size() && done.count(keyOf(a[i]))) ++i;
        while (j < b.size() && done.count(keyOf(b[j]))) ++j;
        if (i == a.size() && j == b.size()) break;
        std::string next;
        if (i < a.size() && !inB.count(keyOf(a[i])))
            next = keyOf(a[i]);
        else if (j < b.size() && !inA.count(keyOf(b[j])))
            next = keyOf(b[j]);
        else
            next = i < a.size() ? keyOf(a[i]) : keyOf(b[j]);
        done.insert(next);
        keys.push_back(std::move(next));
    }
    return keys;
}

std::map<std::string, const Row*> ByKey(const std::vector<Row>& rows)
{
    std::map<std::string, const Row*> map;
    for (const Row& r : rows) map.emplace(r.key, &r);
    return map;
}

template <typename T, typename KeyOf>
const T* Find(const std::vector<T>& list, const std::string& key, KeyOf keyOf)
{
    auto it = std::find_if(list.begin(), list.end(), [&](const T& x) { return keyOf(x) == key; });
    return it == list.end() ? nullptr : &*it;
}

// A line without column titles is a title and its value: the fields after the
// first, as one text.
std::string ValueOfTitledLine(const Row* row)
{
    std::string value;
    if (!row) return value;
    for (std::size_t k = 1; k < row->fields.size(); ++k) {
        if (k > 1) value += ' ';
        value += row->fields[k];
    }
    return value;
}

void CompareRows(const std::string& section, const Row* a, const Row* b, std::vector<ReportDifference>& out)
{
    const Row& any = a ? *a : *b;
    if (any.columns.empty()) {
        std::string va = ValueOfTitledLine(a), vb = ValueOfTitledLine(b);
        if (va != vb) out.push_back({section, any.item, std::move(va), std::move(vb)});
        return;
    }
    // The first field numbers the item; the others are its values.
    const std::size_t count = std::max(a ? a->fields.size() : 0, b ? b->fields.size() : 0);
    for (std::size_t k = 1; k < count; ++k) {
        const std::string va = a && k < a->fields.size() ? a->fields[k] : std::string();
        const std::string vb = b && k < b->fields.size() ? b->fields[k] : std::string();
        if (va == vb) continue;
        const std::string column = k < any.columns.size() ? any.columns[k] : std::to_string(k + 1);
        out.push_back({section, any.item + " " + column, va, vb});
    }
}

}  // namespace

std::vector<ReportDifference> CompareConfigurations(const PanelConfig& a, const VantelDevices& aDevices,
                                                    const PanelConfig& b, const VantelDevices& bDevices,
                                                    const CompareOptions& options)
{
    const auto sectionsOf = [&options](const PanelConfig& config, const VantelDevices& devices) {
        if (!options.namesAsPanel) return ReportSections(config, devices);
        const auto c = std::make_unique<PanelConfig>(config);
        const auto d = std::make_unique<VantelDevices>(devices);
        NamesAsPanelCompares(*c, *d);
        return ReportSections(*c, *d);
    };
    const std::vector<Section> sa = sectionsOf(a, aDevices);
    const std::vector<Section> sb = sectionsOf(b, bDevices);
    const auto titleOf = [](const Section& s) -> const std::string& { return s.title; };
    const auto keyOf = [](const Row& r) -> const std::string& { return r.key; };
    static const std::vector<Row> none;

    std::vector<ReportDifference> out;
    for (const std::string& title : MergedKeys(sa, sb, titleOf)) {
        const Section* a1 = Find(sa, title, titleOf);
        const Section* b1 = Find(sb, title, titleOf);
        const std::vector<Row>& ra = a1 ? a1->rows : none;
        const std::vector<Row>& rb = b1 ? b1->rows : none;
        const std::map<std::string, const Row*> byKeyA = ByKey(ra), byKeyB = ByKey(rb);
        for (const std::string& key : MergedKeys(ra, rb, keyOf)) {
            const auto ia = byKeyA.find(key), ib = byKeyB.find(key);
            CompareRows(title, ia == byKeyA.end() ? nullptr : ia->second, ib == byKeyB.end() ? nullptr : ib->second,
                        out);
        }
    }
    return out;
}

namespace {

std::string WithoutSpaces(const std::string& s)
{
    std::string out;
    for (char c : s)
        if (c != ' ') out += c;
    return out;
}

std::string Quoted(const std::string& s)
{
    std::string out = "\"";
    for (char c : s) {
        out += c;
        if (c == '"') out += c;
    }
    return out + '"';
}

}  // namespace

std::pair<std::string, std::string> ShownValues(const ReportDifference& d)
{
    if (d.a != d.b && WithoutSpaces(d.a) == WithoutSpaces(d.b)) return {Quoted(d.a), Quoted(d.b)};
    return {d.a, d.b};
}

std::vector<std::pair<std::string, int>> CountBySection(const std::vector<ReportDifference>& differences)
{
    std::vector<std::pair<std::string, int>> counts;
    for (const ReportDifference& d : differences) {
        auto it = std::find_if(counts.begin(), counts.end(), [&](const auto& c) { return c.first == d.section; });
        if (it == counts.end()) it = counts.insert(counts.end(), {d.section, 0});
        ++it->second;
    }
    return counts;
}

std::string DifferenceLine(const ReportDifference& d)
{
    const auto [a, b] = ShownValues(d);
    return d.section + '\t' + d.item + '\t' + a + '\t' + b;
}

std::string DifferencesByGroupText(const std::vector<ReportDifference>& differences, const std::string& aTitle,
                                   const std::string& bTitle)
{
    const auto shown = [](const std::string& value) { return value.empty() ? std::string("(none)") : value; };
    std::string text;
    for (const auto& [section, count] : CountBySection(differences)) {
        if (!text.empty()) text += '\n';
        text += section + ": " + std::to_string(count) + (count == 1 ? " Item\n" : " Items\n");
        for (const ReportDifference& d : differences) {
            if (d.section != section) continue;
            const auto [a, b] = ShownValues(d);
            text += "    " + d.item + "    " + aTitle + ": " + shown(a) + "    " + bTitle + ": " + shown(b) + '\n';
        }
    }
    return text;
}

}  // namespace t2
