#include "ReportPages.h"

#include "SettingsFile.h"
#include "Windows1252.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <array>
#include <cmath>
#include <new>

namespace t2 {

namespace {

QString Text(const std::string& bytes) { return BytesToText(bytes); }

QString WithoutBrackets(const QString& title)
{
    return title.startsWith(u'[') && title.endsWith(u']') ? title.mid(1, title.size() - 2) : title;
}

}  // namespace

PaperReport PaperReportOf(const PanelConfig& config, const VantelDevices& devices, const ReportSettings& settings)
{
    DocumentReport report(config, devices);
    report.DocHeader(settings.VersionText, settings.SettingsFileName, settings.Created);
    report.DocSections(settings.DocumentPrintOptions);

    PaperReport paper;
    paper.heading = QStringLiteral("VEL Tamberline II Configuration Documentation");
    const QString panel = config.PanelName.empty() ? QStringLiteral("(default)") : Text(config.PanelName);
    paper.titleBlock.emplace_back(QStringLiteral("Panel Name"), panel);
    for (const ReportLine& line : report.Lines()) {
        switch (line.kind) {
        case ReportLine::Kind::Header:
            if (line.fields.size() >= 2) paper.titleBlock.emplace_back(Text(line.fields[0]), Text(line.fields[1]));
            break;
        case ReportLine::Kind::Title:
            paper.sections.push_back({WithoutBrackets(Text(line.fields.front())), {}});
            break;
        case ReportLine::Kind::Columns:
        case ReportLine::Kind::Item: {
            if (paper.sections.empty()) paper.sections.emplace_back();
            std::vector<PaperTable>& tables = paper.sections.back().tables;
            QStringList fields;
            for (const std::string& f : line.fields) fields << Text(f);
            if (line.kind == ReportLine::Kind::Columns) {
                tables.push_back({fields, {}});
            } else {
                if (tables.empty()) tables.emplace_back();
                tables.back().rows.push_back(fields);
            }
            break;
        }
        }
    }
    paper.footer = panel + QStringLiteral("   ") + QString::fromStdString(FormatReportTime(settings.Created));
    return paper;
}

// ---------------------------------------------------------------------------
// Laying out

namespace {

enum FontRole { Body, Bold, SectionTitle, Heading, RoleCount };

struct TextOp {
    QPointF at;   // the baseline's left end
    QString text;
    FontRole role;
};

struct RuleOp {
    QLineF line;
    bool light;
};

struct Page {
    std::vector<TextOp> texts;
    std::vector<RuleOp> rules;
};

// Breaks text into lines no wider than width: after a comma, at a space or
// after a slash where it can, else within a word. Spaces at a break go.
QStringList Wrap(const QString& text, double width, const QFontMetricsF& fm)
{
    if (fm.horizontalAdvance(text) <= width) return {text};
    QStringList lines;
    QString line;
    double used = 0;
    qsizetype breakAt = -1;   // the line may be broken before this index
    for (QChar c : text) {
        const double advance = fm.horizontalAdvance(c);
        if (!line.isEmpty() && used + advance > width) {
            if (c == u' ') {
                lines << line;
                line.clear();
                used = 0;
                breakAt = -1;
                continue;
            }
            if (breakAt > 0) {
                lines << line.left(breakAt);
                line = line.mid(breakAt);
            } else {
                lines << line;
                line.clear();
            }
            while (line.startsWith(u' ')) line.remove(0, 1);
            used = fm.horizontalAdvance(line);
            breakAt = -1;
        }
        if (line.isEmpty() && c == u' ' && !lines.isEmpty()) continue;   // a continued line starts with its text
        line += c;
        used += advance;
        if (c == u',' || c == u' ' || c == u'/') breakAt = line.size();
    }
    if (!line.isEmpty() || lines.isEmpty()) lines << line;
    for (QString& l : lines) {
        while (l.endsWith(u' ') && l.size() > 1) l.chop(1);
    }
    return lines;
}

// The longest word of a text (column titles wrap at their spaces only).
double LongestWord(const QString& text, const QFontMetricsF& fm)
{
    double widest = 0;
    for (const QString& word : text.split(u' ', Qt::SkipEmptyParts)) widest = std::max(widest, fm.horizontalAdvance(word));
    return widest;
}

class PageLayout {
public:
    explicit PageLayout(QPagedPaintDevice& device);

    std::vector<Page> Lay(const PaperReport& report);
    const QFont& Font(FontRole role) const { return fonts_[role]; }
    double Width() const { return width_; }
    double Height() const { return height_; }
    const QFontMetricsF& Metrics(FontRole role) const { return metrics_[role]; }

private:
    void NewPage();
    void Put(double x, double top, const QString& text, FontRole role);
    void Rule(double y, bool light);
    double Line(FontRole role) const { return metrics_[role].lineSpacing(); }

    void TitleBlock(const PaperReport& report);
    void Table(const QString& title, bool firstOfSection, const PaperTable& table);
    std::vector<double> ColumnWidths(const PaperTable& table, int columns, double& gap) const;

    std::array<QFont, RoleCount> fonts_;
    std::vector<QFontMetricsF> metrics_;
    double width_;
    double height_;
    double bottom_;   // the body ends here; the page number sits below
    double gap_;      // between columns
    double y_ = 0;
    std::vector<Page> pages_;
};

PageLayout::PageLayout(QPagedPaintDevice& device) : width_(device.width()), height_(device.height())
{
    // A fixed-width face, so that codes and numbers line up in their columns.
    QFont base = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    base.setStyleHint(QFont::TypeWriter, QFont::PreferDefault);
    base.setFixedPitch(true);
    base.setKerning(false);
    const std::array<std::pair<double, bool>, RoleCount> styles{{{8, false}, {8, true}, {10, true}, {13, true}}};
    for (int r = 0; r < RoleCount; ++r) {
        QFont f(base, &device);
        f.setPointSizeF(styles[static_cast<std::size_t>(r)].first);
        f.setBold(styles[static_cast<std::size_t>(r)].second);
        fonts_[static_cast<std::size_t>(r)] = f;
        metrics_.emplace_back(f, &device);
    }
    gap_ = 2 * metrics_[Body].horizontalAdvance(u'0');
    bottom_ = height_ - 2 * Line(Body);
}

void PageLayout::NewPage()
{
    pages_.emplace_back();
    y_ = 0;
}

void PageLayout::Put(double x, double top, const QString& text, FontRole role)
{
    pages_.back().texts.push_back({QPointF(x, top + metrics_[role].ascent()), text, role});
}

void PageLayout::Rule(double y, bool light) { pages_.back().rules.push_back({QLineF(0, y, width_, y), light}); }

std::vector<Page> PageLayout::Lay(const PaperReport& report)
{
    pages_.clear();
    NewPage();
    TitleBlock(report);
    for (const PaperSection& section : report.sections) {
        if (section.tables.empty()) {   // a title with nothing under it
            if (y_ + Line(SectionTitle) > bottom_) NewPage();
            Put(0, y_, section.title, SectionTitle);
            y_ += Line(SectionTitle) + Line(Body);
            continue;
        }
        bool first = true;
        for (const PaperTable& table : section.tables) {
            Table(section.title, first, table);
            first = false;
        }
        y_ += Line(Body);
    }
    return std::move(pages_);
}

void PageLayout::TitleBlock(const PaperReport& report)
{
    Put(0, y_, report.heading, Heading);
    y_ += Line(Heading) * 1.4;
    double labels = 0;
    for (const auto& [label, value] : report.titleBlock) labels = std::max(labels, metrics_[Bold].horizontalAdvance(label));
    labels = std::min(labels + gap_, width_ / 2);
    for (const auto& [label, value] : report.titleBlock) {
        const QStringList labelLines = Wrap(label, labels - gap_, metrics_[Bold]);
        const QStringList valueLines = Wrap(value, width_ - labels, metrics_[Body]);
        for (qsizetype k = 0; k < labelLines.size(); ++k) Put(0, y_ + k * Line(Body), labelLines[k], Bold);
        for (qsizetype k = 0; k < valueLines.size(); ++k) Put(labels, y_ + k * Line(Body), valueLines[k], Body);
        y_ += std::max(labelLines.size(), valueLines.size()) * Line(Body);
    }
    y_ += Line(Body) * 0.5;
    Rule(y_, false);
    y_ += Line(Body) * 1.5;
}

// Natural widths where they fit; otherwise the widest columns share what the
// others leave, each column kept as wide as the longest word of its cells
// (a list item with its comma) and of its title, else of its title alone,
// the gap between the columns halved where that is what it takes.
std::vector<double> PageLayout::ColumnWidths(const PaperTable& table, int columns, double& gap) const
{
    const auto k = static_cast<std::size_t>(columns);
    std::vector<double> natural(k, 0), titleWord(k, 0), cellWord(k, 0);
    for (std::size_t c = 0; c < k; ++c) {
        if (c < static_cast<std::size_t>(table.columns.size())) {
            const QString& title = table.columns[static_cast<qsizetype>(c)];
            natural[c] = metrics_[Bold].horizontalAdvance(title);
            titleWord[c] = LongestWord(title, metrics_[Bold]);
        }
        for (const QStringList& row : table.rows) {
            if (c >= static_cast<std::size_t>(row.size())) continue;
            const QString& cell = row[static_cast<qsizetype>(c)];
            natural[c] = std::max(natural[c], metrics_[Body].horizontalAdvance(cell));
            cellWord[c] = std::max(cellWord[c], LongestWord(QString(cell).replace(u',', QStringLiteral(", ")),
                                                            metrics_[Body]));
        }
        natural[c] = std::max(natural[c], metrics_[Body].horizontalAdvance(u'0'));
        titleWord[c] = std::min(titleWord[c], natural[c]);
        cellWord[c] = std::min(std::max(cellWord[c], titleWord[c]), natural[c]);
    }
    const double widest = *std::max_element(natural.begin(), natural.end());
    std::vector<double> widths(k);
    for (const std::vector<double>* least : {&cellWord, &titleWord}) {
        auto total = [&](double cap) {
            double sum = 0;
            for (std::size_t c = 0; c < k; ++c) sum += std::min(natural[c], std::max(cap, (*least)[c]));
            return sum;
        };
        for (const double g : {gap_, gap_ / 2}) {
            gap = g;
            const double space = width_ - gap * static_cast<double>(k - 1);
            if (total(widest) <= space) return natural;
            if (total(0) > space) continue;
            double low = 0, high = widest;
            for (int step = 0; step < 50; ++step) {
                const double mid = (low + high) / 2;
                (total(mid) <= space ? low : high) = mid;
            }
            for (std::size_t c = 0; c < k; ++c) widths[c] = std::min(natural[c], std::max(low, (*least)[c]));
            return widths;
        }
    }
    // Even the titles' words do not fit: every column in proportion, words broken.
    double sum = 0;
    for (std::size_t c = 0; c < k; ++c) sum += titleWord[c];
    const double scale = (width_ - gap * static_cast<double>(k - 1)) / sum;
    for (std::size_t c = 0; c < k; ++c) widths[c] = titleWord[c] * scale;
    return widths;
}

void PageLayout::Table(const QString& title, bool firstOfSection, const PaperTable& table)
{
    int columns = static_cast<int>(table.columns.size());
    for (const QStringList& row : table.rows) columns = std::max(columns, static_cast<int>(row.size()));
    if (columns == 0) return;
    double gap = gap_;
    const std::vector<double> widths = ColumnWidths(table, columns, gap);
    std::vector<double> left(widths.size(), 0);
    for (std::size_t c = 1; c < widths.size(); ++c) left[c] = left[c - 1] + widths[c - 1] + gap;

    const double line = Line(Body);
    const double pad = line * 0.3;
    std::vector<QStringList> titles;
    qsizetype titleLines = 0;
    for (qsizetype c = 0; c < table.columns.size(); ++c) {
        titles.push_back(Wrap(table.columns[c], widths[static_cast<std::size_t>(c)], metrics_[Bold]));
        titleLines = std::max(titleLines, titles.back().size());
    }
    const double titleHeight = Line(SectionTitle) + pad;
    const double headerHeight = titleLines > 0 ? titleLines * line + pad * 2 : 0;

    auto wrapRow = [&](const QStringList& row) {
        std::vector<QStringList> cells;
        for (std::size_t c = 0; c < widths.size(); ++c)
            cells.push_back(c < static_cast<std::size_t>(row.size())
                                ? Wrap(row[static_cast<qsizetype>(c)], widths[c], metrics_[Body])
                                : QStringList());
        return cells;
    };
    auto rowLines = [](const std::vector<QStringList>& cells) {
        qsizetype n = 1;
        for (const QStringList& cell : cells) n = std::max(n, cell.size());
        return n;
    };
    auto sectionTitle = [&](bool continued) {
        Put(0, y_, continued ? title + QStringLiteral(" (continued)") : title, SectionTitle);
        y_ += titleHeight;
    };
    auto header = [&] {
        if (titleLines == 0) return;
        for (std::size_t c = 0; c < titles.size(); ++c)
            for (qsizetype k = 0; k < titles[c].size(); ++k) Put(left[c], y_ + k * line, titles[c][k], Bold);
        y_ += titleLines * line + pad;
        Rule(y_, false);
        y_ += pad;
    };
    auto freshPage = [&] {
        NewPage();
        sectionTitle(true);
        header();
    };

    // The title, the column titles and the first row stay together.
    const double firstRow = table.rows.empty() ? 0 : rowLines(wrapRow(table.rows.front())) * line + pad;
    const double together = (firstOfSection ? titleHeight : 0) + headerHeight + firstRow;
    if (y_ > 0 && y_ + together > bottom_) {
        NewPage();
        sectionTitle(!firstOfSection);
    } else if (firstOfSection) {
        sectionTitle(false);
    }
    header();

    const double pageRoom = bottom_ - titleHeight - headerHeight;
    for (const QStringList& row : table.rows) {
        const std::vector<QStringList> cells = wrapRow(row);
        const qsizetype lines = rowLines(cells);
        const double height = lines * line + pad;
        // A row that fits on a page is kept whole; a taller one runs on.
        if (y_ + height > bottom_ && height <= pageRoom) freshPage();
        qsizetype from = 0;
        while (from < lines) {
            qsizetype fit = static_cast<qsizetype>(std::floor((bottom_ - y_ - pad) / line));
            if (fit <= 0) {
                freshPage();
                fit = std::max<qsizetype>(1, static_cast<qsizetype>(std::floor((bottom_ - y_ - pad) / line)));
            }
            const qsizetype to = std::min(lines, from + fit);
            // Cell after cell, so that a wrapped cell reads on in one piece.
            for (std::size_t c = 0; c < cells.size(); ++c)
                for (qsizetype k = from; k < std::min(to, cells[c].size()); ++k)
                    Put(left[c], y_ + (k - from) * line, cells[c][k], Body);
            y_ += (to - from) * line;
            from = to;
            if (from < lines) freshPage();
        }
        y_ += pad;
        Rule(y_ - pad / 2, true);
    }
}

}  // namespace

int DrawReport(const PaperReport& report, QPagedPaintDevice& device, std::string* error, int fromPage, int toPage)
{
    auto fail = [error](const std::string& why) {
        if (error) *error = why;
        return 0;
    };
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return fail("the pages cannot be drawn without the program's graphics");
    PageLayout layout(device);
    if (layout.Width() <= 0 || layout.Height() <= 0) return fail("the page has no room to draw on");
    const std::vector<Page> pages = layout.Lay(report);

    const int count = static_cast<int>(pages.size());
    const int first = fromPage > 0 ? fromPage - 1 : 0;
    const int last = toPage > 0 ? std::min(toPage, count) : count;
    if (first >= last) return fail("the pages chosen are not in the report, which has " + std::to_string(count));

    QPainter painter;
    if (!painter.begin(&device)) return fail("the pages could not be drawn");
    const double dpi = device.logicalDpiY() > 0 ? device.logicalDpiY() : 72;
    const QPen heavy(QColor(0, 0, 0), dpi / 96.0);
    const QPen light(QColor(170, 170, 170), dpi / 144.0);
    const QPen text(QColor(0, 0, 0));
    const QFontMetricsF& fm = layout.Metrics(Body);
    for (int i = first; i < last; ++i) {
        if (i > first && !device.newPage()) {
            painter.end();
            return fail("a new page could not be started");
        }
        const Page& page = pages[static_cast<std::size_t>(i)];
        for (const RuleOp& rule : page.rules) {
            painter.setPen(rule.light ? light : heavy);
            painter.drawLine(rule.line);
        }
        painter.setPen(text);
        for (const TextOp& t : page.texts) {
            painter.setFont(layout.Font(t.role));
            painter.drawText(t.at, t.text);
        }
        // The foot of the page: the panel and the date, the page number at the right.
        const QString number = QStringLiteral("Page %1 of %2").arg(i + 1).arg(count);
        const double numberWidth = fm.horizontalAdvance(number);
        const double baseline = layout.Height() - fm.descent();
        painter.setFont(layout.Font(Body));
        const QString foot = fm.elidedText(report.footer, Qt::ElideRight, layout.Width() - numberWidth - 4 * fm.averageCharWidth());
        painter.drawText(QPointF(0, baseline), foot);
        painter.drawText(QPointF(layout.Width() - numberWidth, baseline), number);
    }
    if (!painter.end()) return fail("the pages could not be finished");
    return last - first;
}

bool ReportPdf(const PanelConfig& config, const VantelDevices& devices, const ReportSettings& settings,
               QByteArray& pdf, std::string* error)
{
    pdf.clear();
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                     QMarginsF(ReportPdfMarginPoints, ReportPdfMarginPoints, ReportPdfMarginPoints,
                                               ReportPdfMarginPoints),
                                     QPageLayout::Point));
    writer.setResolution(600);
    writer.setTitle(QStringLiteral("VEL Tamberline II Configuration Documentation"));
    writer.setCreator(QStringLiteral("VEL Tamberline II"));
    return DrawReport(PaperReportOf(config, devices, settings), writer, error) > 0;
}

bool WriteReportPdf(const std::string& path, const PanelConfig& config, const VantelDevices& devices,
                    const ReportSettings& settings, std::string* error)
{
    QByteArray pdf;
    try {
        if (!ReportPdf(config, devices, settings, pdf, error)) {
            if (error) *error = path + ": " + *error;
            return false;
        }
    } catch (const std::bad_alloc&) {
        if (error) *error = path + ": not enough memory to write the report";
        return false;
    }
    return WriteFileAtomically(path, pdf.toStdString(), error);
}

}  // namespace t2
