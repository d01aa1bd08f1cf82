// The documentation report laid out for paper: a title block with the panel
// name, the settings file and the date, then each section of the report as a
// table whose column titles come again on every page it runs onto, page
// numbers at the foot of every page, all in a fixed-width font so that codes
// line up. Nothing runs past the right margin: a column too wide for the page
// wraps within its cells (lists at their commas, texts at their spaces).
//
// The pages are drawn with QtGui's painter on any paged device: a PDF writer
// here, a printer in the Document window. Drawing needs a QGuiApplication;
// the offscreen platform serves, so this runs without a display.
#pragma once

#include "DocumentReport.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <string>
#include <utility>
#include <vector>

class QPagedPaintDevice;

namespace t2 {

struct PaperTable {
    QStringList columns;             // column titles; empty for a table without them (Panel Settings)
    std::vector<QStringList> rows;   // the report's fields of each item line
};

struct PaperSection {
    QString title;                   // the report's title without its brackets: "Relay Schedule"
    std::vector<PaperTable> tables;  // a section with two column lines has two tables
};

struct PaperReport {
    QString heading;                                       // "VEL Tamberline II Configuration Documentation"
    std::vector<std::pair<QString, QString>> titleBlock;   // "Panel Name", the header lines of the report
    QString footer;                                        // left of the page number on every page
    std::vector<PaperSection> sections;
};

// The report's own lines (the same writers, the same sections as the text
// file) grouped for paper.
PaperReport PaperReportOf(const PanelConfig& config, const VantelDevices& devices, const ReportSettings& settings);

// Lays the report out on the device's pages and draws it, pages fromPage to
// toPage only when they are given (1-based, as a print dialog's range; a
// range past the end draws nothing). The number of pages drawn, or 0 with
// *error when the device cannot be painted on.
int DrawReport(const PaperReport& report, QPagedPaintDevice& device, std::string* error, int fromPage = 0,
               int toPage = 0);

// The margin of the PDF file's pages on every side, in points.
constexpr double ReportPdfMarginPoints = 36;

// The report as the bytes of a PDF file on Letter pages. False with *error
// when no QGuiApplication runs or the pages cannot be drawn.
bool ReportPdf(const PanelConfig& config, const VantelDevices& devices, const ReportSettings& settings,
               QByteArray& pdf, std::string* error);

// Writes the PDF to path atomically, as WriteReportFile writes the text.
bool WriteReportPdf(const std::string& path, const PanelConfig& config, const VantelDevices& devices,
                    const ReportSettings& settings, std::string* error);

}  // namespace t2
