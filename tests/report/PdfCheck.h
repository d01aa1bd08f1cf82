// Reads a PDF of the documentation report back with pdftotext (poppler-utils,
// installed by the test command) and checks it against the text report of the
// same configuration: every line found, every page numbered, no word past a
// margin.
#pragma once

#include "Windows1252.h"

#include <QByteArray>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <vector>

namespace t2::test {

struct PdfWord {
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    QString text;
};

struct PdfPage {
    double width = 0, height = 0;
    std::vector<PdfWord> words;
};

// pdftotext's output for the file, or "" (with a test failure) when it cannot run.
inline QString Pdftotext(const QString& pdf, const QStringList& options)
{
    QProcess p;
    p.start("pdftotext", QStringList(options) << pdf << "-");
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        ADD_FAILURE() << "pdftotext " << options.join(' ').toStdString() << " " << pdf.toStdString()
                      << " failed: " << p.readAllStandardError().toStdString() << p.errorString().toStdString();
        return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The text of each page in the order it was drawn.
inline QStringList PdfPageTexts(const QString& pdf)
{
    QStringList pages = Pdftotext(pdf, {"-raw", "-enc", "UTF-8"}).split(u'\f');
    if (!pages.isEmpty() && pages.back().trimmed().isEmpty()) pages.removeLast();
    return pages;
}

// Every word of every page with its box, in points from the page's top left.
inline std::vector<PdfPage> PdfWords(const QString& pdf)
{
    const QString xhtml = Pdftotext(pdf, {"-bbox", "-enc", "UTF-8"});
    static const QRegularExpression page(R"re(<page width="([0-9.]+)" height="([0-9.]+)">)re");
    static const QRegularExpression word(
        R"re(<word xMin="([0-9.-]+)" yMin="([0-9.-]+)" xMax="([0-9.-]+)" yMax="([0-9.-]+)">([^<]*)</word>)re");
    std::vector<PdfPage> pages;
    for (const QString& line : xhtml.split(u'\n')) {
        if (const auto m = page.match(line); m.hasMatch()) {
            pages.push_back({m.captured(1).toDouble(), m.captured(2).toDouble(), {}});
        } else if (const auto w = word.match(line); w.hasMatch() && !pages.empty()) {
            pages.back().words.push_back({w.captured(1).toDouble(), w.captured(2).toDouble(), w.captured(3).toDouble(),
                                          w.captured(4).toDouble(), w.captured(5)});
        }
    }
    return pages;
}

inline QString WithoutSpaces(const QString& text)
{
    QString out;
    for (QChar c : text)
        if (!c.isSpace()) out += c;
    return out;
}

// The PDF holds, in order, the header's values and every line of the text
// report's sections (a title without its brackets, the fields of a line one
// after the other; wrapped cells read on, so spaces are not compared); page k
// of n says "Page k of n"; every word lies within the margin (points) of
// its page. Returns the number of pages. Without sameTime the creation time
// of the two may differ, and only its title is looked for.
inline int ExpectReportPdf(const QString& pdf, const QByteArray& textReport, double margin, bool sameTime = true)
{
    const QStringList pages = PdfPageTexts(pdf);
    EXPECT_FALSE(pages.isEmpty()) << pdf.toStdString();
    const QString all = WithoutSpaces(pages.join(QString()));

    const QStringList lines = BytesToText(textReport.toStdString()).split("\r\n");
    qsizetype at = 0;
    int checked = 0;
    for (const QString& line : lines) {
        if (line.isEmpty() || line == "[VEL Tamberline II Configuration Documentation File]" ||
            line == "[End Of File]")
            continue;
        QString expected = line;
        if (!sameTime && expected.startsWith("Document Created\t")) expected = "Document Created";
        if (expected.startsWith('[') && expected.endsWith(']')) expected = expected.mid(1, expected.size() - 2);
        expected = WithoutSpaces(expected);
        const qsizetype found = all.indexOf(expected, at);
        EXPECT_GE(found, 0) << "not in the PDF (after what came before it): " << line.toStdString();
        if (found >= 0) at = found + expected.size();
        ++checked;
    }
    EXPECT_GT(checked, 4);

    for (qsizetype k = 0; k < pages.size(); ++k) {
        const QString number = QString("Page %1 of %2").arg(k + 1).arg(pages.size());
        EXPECT_TRUE(pages[k].contains(number)) << number.toStdString();
    }

    const std::vector<PdfPage> boxes = PdfWords(pdf);
    EXPECT_EQ(boxes.size(), static_cast<std::size_t>(pages.size()));
    for (std::size_t k = 0; k < boxes.size(); ++k) {
        const PdfPage& p = boxes[k];
        for (const PdfWord& w : p.words) {
            const bool inside = w.xMin >= margin - 0.5 && w.xMax <= p.width - margin + 0.5 && w.yMin >= margin - 3 &&
                                w.yMax <= p.height - margin + 3;
            EXPECT_TRUE(inside) << "page " << k + 1 << ": \"" << w.text.toStdString() << "\" at " << w.xMin << ".."
                                << w.xMax << " x " << w.yMin << ".." << w.yMax << " on " << p.width << " x "
                                << p.height;
            if (!inside) return static_cast<int>(pages.size());   // one is enough to see what is wrong
        }
    }
    return static_cast<int>(pages.size());
}

}  // namespace t2::test
