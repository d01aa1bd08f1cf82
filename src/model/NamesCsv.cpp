#include "NamesCsv.h"

#include "NameFilter.h"
#include "Windows1252.h"

#include <QStringDecoder>
#include <QStringList>

#include <map>
#include <string_view>
#include <utility>

namespace t2 {

const std::array<NameKindInfo, 7> NameKinds{{
    {NameKind::Panel, "Panel", 0, 18},
    {NameKind::Relay, "Relay", ItemCount, 10},
    {NameKind::Group, "Group", ItemCount, 10},
    {NameKind::Input, "Input", ItemCount, 10},
    {NameKind::Timer, "Timer", ItemCount, 10},
    {NameKind::Preset, "Preset", ItemCount, 10},
    {NameKind::Vantel, "Vantel", DeviceSlots - 1, 8},
}};

const NameKindInfo& InfoOf(NameKind kind) { return NameKinds[static_cast<std::size_t>(kind)]; }

namespace {

NameArray* ListOf(PanelConfig& c, NameKind kind)
{
    switch (kind) {
    case NameKind::Relay: return &c.RelayNames;
    case NameKind::Group: return &c.GroupNames;
    case NameKind::Input: return &c.InputNames;
    case NameKind::Timer: return &c.TimerNames;
    case NameKind::Preset: return &c.PresetNames;
    default: return nullptr;
    }
}

}  // namespace

Bytes& NameOf(PanelConfig& config, VantelDevices& devices, NameKind kind, int number)
{
    if (kind == NameKind::Panel) return config.PanelName;
    const auto k = static_cast<std::size_t>(number);   // 1-based: device record k, item k - 1
    if (kind == NameKind::Vantel) return devices.at(k).DeviceName;
    return ListOf(config, kind)->at(k - 1);
}

const Bytes& NameOf(const PanelConfig& config, const VantelDevices& devices, NameKind kind, int number)
{
    return NameOf(const_cast<PanelConfig&>(config), const_cast<VantelDevices&>(devices), kind, number);
}

// ---------------------------------------------------------------------------
// Writing

namespace {

// A field as RFC 4180 writes it, quoted where a spreadsheet would otherwise
// split it or lose its spaces.
std::string CsvField(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    const bool quote = utf8.contains(',') || utf8.contains(';') || utf8.contains('"') || utf8.contains('\r') ||
                       utf8.contains('\n') || (!utf8.isEmpty() && (utf8.front() == ' ' || utf8.back() == ' '));
    if (!quote) return utf8.toStdString();
    std::string out = "\"";
    for (char c : utf8) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + '"';
}

}  // namespace

std::string WriteNamesCsv(const PanelConfig& config, const VantelDevices& devices)
{
    std::string out = "\xEF\xBB\xBF" "Kind,Number,Name\r\n";
    for (const NameKindInfo& kind : NameKinds) {
        const int first = kind.count == 0 ? 0 : 1;
        const int last = kind.count == 0 ? 0 : kind.count;
        for (int n = first; n <= last; ++n) {
            out += kind.word;
            out += ',';
            if (n > 0) out += std::to_string(n);
            out += ',';
            out += CsvField(BytesToText(NameOf(config, devices, kind.kind, n)));
            out += "\r\n";
        }
    }
    return out;
}

// ---------------------------------------------------------------------------
// Reading

namespace {

// UTF-8 with or without its mark; a file that is not UTF-8 is Windows-1252.
// A spreadsheet's "Unicode text" is UTF-16 with its mark.
QString DecodeNamesFile(const std::string& bytes)
{
    std::string_view view(bytes);
    for (const auto& [mark, encoding] : {std::pair{std::string_view("\xFF\xFE"), QStringDecoder::Utf16LE},
                                         std::pair{std::string_view("\xFE\xFF"), QStringDecoder::Utf16BE}}) {
        if (!view.starts_with(mark)) continue;
        view.remove_prefix(2);
        QStringDecoder utf16(encoding, QStringDecoder::Flag::Stateless);
        return utf16(QByteArrayView(view.data(), static_cast<qsizetype>(view.size())));
    }
    if (view.starts_with("\xEF\xBB\xBF")) view.remove_prefix(3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(QByteArrayView(view.data(), static_cast<qsizetype>(view.size())));
    if (utf8.hasError()) text = BytesToText(Bytes(view));
    return text;
}

bool IsLineEnd(QChar c) { return c == u'\r' || c == u'\n'; }

// The separator of the file: the first ",", ";" or TAB outside quotes on its
// first line that holds anything.
QChar SeparatorOf(const QString& text)
{
    bool quoted = false;
    bool seen = false;
    for (QChar c : text) {
        if (c == u'"') {
            quoted = !quoted;
        } else if (!quoted) {
            if (c == u',' || c == u';' || c == u'\t') return c;
            if (IsLineEnd(c) && seen) break;
        }
        if (!IsLineEnd(c) && !c.isSpace()) seen = true;
    }
    return u',';
}

struct Record {
    int line = 0;   // where the record starts
    QStringList fields;
    std::string error;
};

// Splits the text into records: fields separated by sep, optionally quoted
// (a quote inside doubled; line ends inside quotes belong to the field),
// records ended by CR LF, LF or CR. Spaces before an opening or after a
// closing quote are ignored; elsewhere they belong to the field.
std::vector<Record> Records(const QString& t, QChar sep)
{
    std::vector<Record> out;
    const qsizetype n = t.size();
    qsizetype i = 0;
    int line = 1;
    // Counts a line end at i (CR LF as one) and steps past it.
    auto stepLineEnd = [&] {
        if (t[i] == u'\r' && i + 1 < n && t[i + 1] == u'\n') ++i;
        ++i;
        ++line;
    };
    while (i < n) {
        Record r;
        r.line = line;
        for (;;) {
            QString field;
            qsizetype j = i;
            while (j < n && t[j] == u' ') ++j;
            if (j < n && t[j] == u'"') {
                i = j + 1;
                bool closed = false;
                while (i < n) {
                    if (t[i] == u'"') {
                        if (i + 1 < n && t[i + 1] == u'"') {
                            field += u'"';
                            i += 2;
                            continue;
                        }
                        ++i;
                        closed = true;
                        break;
                    }
                    if (IsLineEnd(t[i])) {
                        const qsizetype from = i;
                        stepLineEnd();
                        field += t.mid(from, i - from);
                        continue;
                    }
                    field += t[i++];
                }
                if (!closed) {
                    r.error = "a quoted field is never closed";
                    r.fields << field;
                    break;
                }
                while (i < n && t[i] == u' ') ++i;
                if (i < n && t[i] != sep && !IsLineEnd(t[i])) {
                    r.error = "a field with a stray quote";
                    while (i < n && !IsLineEnd(t[i])) ++i;
                }
            } else {
                while (i < n && t[i] != sep && !IsLineEnd(t[i])) {
                    if (t[i] == u'"' && r.error.empty()) r.error = "a field with a stray quote";
                    field += t[i++];
                }
            }
            r.fields << field;
            if (i < n && t[i] == sep) {
                ++i;
                continue;
            }
            if (i < n) stepLineEnd();
            break;
        }
        out.push_back(std::move(r));
    }
    return out;
}

// A file's text in a message, cut where it runs long.
std::string Quoted(const QString& text)
{
    const QString shown = text.size() > 40 ? text.left(37) + "..." : text;
    return "\"" + shown.toStdString() + "\"";
}

const NameKindInfo* KindNamed(const QString& word)
{
    for (const NameKindInfo& k : NameKinds)
        if (word.compare(QLatin1String(k.word), Qt::CaseInsensitive) == 0) return &k;
    return nullptr;
}

// The number field of a kind: 1..count, or 0 for the panel name (which takes
// none); -1 with the problem when the field does not fit the kind.
int NumberOf(const NameKindInfo& kind, const QString& field, std::string& problem)
{
    const QString text = field.trimmed();
    const std::string range = "1.." + std::to_string(kind.count);
    if (kind.count == 0) {
        if (!text.isEmpty()) problem = "the panel name takes no number, not " + Quoted(text);
        return text.isEmpty() ? 0 : -1;
    }
    if (text.isEmpty()) {
        problem = std::string("a ") + kind.word + " row needs a number " + range;
        return -1;
    }
    int value = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9' || value > kind.count) {
            value = -1;
            break;
        }
        value = value * 10 + (c.unicode() - u'0');
    }
    if (value < 1 || value > kind.count) {
        problem = std::string(kind.word) + " number " + Quoted(text) + " is not in " + range;
        return -1;
    }
    return value;
}

bool Blank(const Record& r)
{
    if (!r.error.empty()) return false;
    for (const QString& f : r.fields)
        if (!f.trimmed().isEmpty()) return false;
    return true;
}

}  // namespace

NamesImport ReadNamesCsv(const std::string& bytes, const PanelConfig& config, const VantelDevices& devices)
{
    NamesImport result;
    const QString text = DecodeNamesFile(bytes);
    struct Given {
        QString text;
        int line;
    };
    std::map<std::pair<NameKind, int>, Given> given;
    bool first = true;
    for (const Record& r : Records(text, SeparatorOf(text))) {
        if (Blank(r)) continue;
        const bool header = first && r.error.empty() &&
                            r.fields[0].trimmed().compare(QLatin1String("Kind"), Qt::CaseInsensitive) == 0;
        first = false;
        if (header) continue;
        auto bad = [&](std::string problem) { result.badRows.push_back({r.line, std::move(problem)}); };
        if (!r.error.empty()) {
            bad(r.error);
            continue;
        }
        if (r.fields.size() < 3) {
            bad("a missing field: a row holds Kind, Number and Name");
            continue;
        }
        bool extra = false;
        for (qsizetype k = 3; k < r.fields.size(); ++k) extra = extra || !r.fields[k].trimmed().isEmpty();
        if (extra) {
            bad("more fields than Kind, Number and Name (a name with \",\" or \";\" needs quotes)");
            continue;
        }
        const NameKindInfo* kind = KindNamed(r.fields[0].trimmed());
        if (!kind) {
            bad("unknown kind " + Quoted(r.fields[0].trimmed()));
            continue;
        }
        std::string problem;
        const int number = NumberOf(*kind, r.fields[1], problem);
        if (number < 0) {
            bad(problem);
            continue;
        }
        const auto [at, added] = given.try_emplace({kind->kind, number}, Given{r.fields[2], r.line});
        if (!added) {
            bad(NameLabel(kind->kind, number) + " is given twice (first on line " + std::to_string(at->second.line) +
                ")");
            continue;
        }
        ++result.rows;
    }

    // The map's order is the file's order of kinds, then the numbers.
    for (const auto& [key, name] : given) {
        const auto [kind, number] = key;
        const QString filtered = FilterNameText(name.text);
        NameChange change;
        change.kind = kind;
        change.number = number;
        change.oldName = NameOf(config, devices, kind, number);
        change.newName = TextToBytes(filtered);
        if (change.newName == change.oldName) continue;
        change.fileText = name.text;
        change.filtered = filtered != name.text;
        change.tooLong = static_cast<int>(change.newName.size()) > InfoOf(kind).shown;
        result.changes.push_back(std::move(change));
    }
    return result;
}

bool ApplyNames(const NamesImport& import, PanelConfig& config, VantelDevices& devices)
{
    if (!import.Ok()) return false;
    for (const NameChange& c : import.changes) NameOf(config, devices, c.kind, c.number) = c.newName;
    return true;
}

std::string NameLabel(NameKind kind, int number)
{
    const NameKindInfo& info = InfoOf(kind);
    return info.count == 0 ? std::string(info.word) : std::string(info.word) + " " + std::to_string(number);
}

std::string ChangeMarks(const NameChange& change)
{
    std::string marks;
    if (change.tooLong) {
        const NameKindInfo& info = InfoOf(change.kind);
        marks = "longer than the " + std::to_string(info.shown) + " characters the panel " +
                (change.kind == NameKind::Vantel ? "shows" : "keeps");
    }
    if (change.filtered) {
        if (!marks.empty()) marks += "; ";
        marks += "filtered from " + Quoted(change.fileText);
    }
    return marks;
}

std::string ChangeLine(const NameChange& change)
{
    std::string line = NameLabel(change.kind, change.number) + " \"" + BytesToText(change.oldName).toStdString() +
                       "\" -> \"" + BytesToText(change.newName).toStdString() + "\"";
    const std::string marks = ChangeMarks(change);
    if (!marks.empty()) line += " (" + marks + ")";
    return line;
}

std::string BadRowText(const BadNameRow& row) { return "line " + std::to_string(row.line) + ": " + row.problem; }

}  // namespace t2
