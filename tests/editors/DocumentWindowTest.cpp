// The "Document" window driven as a user does: sections, Browse, the report
// it writes (the same bytes as the command-line tool's), a report that
// cannot be written, and the offer to show the report.
#include "DocumentReport.h"
#include "GuiHelpers.h"
#include "Prompts.h"
#include "SettingsFile.h"
#include "frmT2Document.h"

#include "../cli/CliRunner.h"
#include "../common/TestRecords.h"
#include "../report/PdfCheck.h"
#include "../report/RichConfig.h"
#include "ReportPages.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>

using namespace t2;
using namespace t2::test;

namespace {

QString Q(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }
std::string P(const QString& path) { return QFile::encodeName(path).toStdString(); }

const ReportTime Fixed{2005, 3, 17, 14, 5};

// Every line but the creation time.
QByteArray WithoutCreated(const QByteArray& report)
{
    QByteArray kept;
    for (const QByteArray& line : report.split('\n'))
        if (!line.startsWith("Document Created\t")) kept += line + '\n';
    return kept;
}

// A configuration with something in every member.
void FillRich(ProgramState& s, int addOnModule)
{
    int n = 0;
    fixtures::MemberFiller fill{
        .integer = [&n] { return static_cast<Integer>((n++ * 7) % 23 - 1); },
        .longValue = [&n] { return static_cast<Long>((n++ * 13) % 181); },
        .bytes = [&n] { return "N" + std::to_string(n++ % 97); },
    };
    fixtures::Records r;
    ResetConfiguration(r.config, r.devices);
    fill.FillAll(r);
    r.config.NodeIOCount.fill(2);   // 48 points
    r.config.AddOnModuleType = static_cast<Integer>(addOnModule);
    s.Config = r.config;
    s.Devices = r.devices;
}

class DocumentWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ResetConfiguration(s);
        s.VersionText = "Version 8.09";
        s.DocumentFileName = P(dir.filePath("Site Report.txt"));
        s.DocumentFileChosen = true;   // as Browse leaves it
    }
    QString Path(const char* name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    ProgramState s;
    ScriptedPrompts prompts;
};

}  // namespace

TEST_F(DocumentWindowTest, BoxesFollowThePrintOptionsAndDmxBoxOnlyForDmx)
{
    for (int module = 0; module <= 6; ++module) {
        SCOPED_TRACE(module);
        s.Config.AddOnModuleType = static_cast<Integer>(module);
        s.DocumentPrintOptions.fill(false);
        s.DocumentPrintOptions[2] = true;
        s.DocumentPrintOptions[11] = true;
        frmT2Document w(s);
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        EXPECT_EQ(w.windowTitle(), "Document");
        for (int i = 0; i < ReportSectionCount; ++i) {
            QCheckBox* box = Find<QCheckBox>(w, Element("chkPrintOptions", i));
            ASSERT_EQ(box, w.PrintOption(i));
            EXPECT_EQ(box->text(), ReportSectionCaptions[static_cast<std::size_t>(i)]);
            EXPECT_EQ(box->isChecked(), i != 2 && i != 11) << i;
            EXPECT_EQ(box->isVisible(), i != 11 || module == 1) << i;
        }
        EXPECT_EQ(Find<QLabel>(w, "lblFileName")->text(), "Output File ");
        EXPECT_EQ(w.DocFileName()->text(), Path("Site Report.txt"));
        EXPECT_EQ(w.BrowseButton()->text(), "Browse");
        EXPECT_EQ(w.DocumentButton()->text(), "Create Documentation File");
    }
}

TEST_F(DocumentWindowTest, BoxesSetThePrintOptionsWithoutChangingTheConfiguration)
{
    s.Config.AddOnModuleType = 1;
    frmT2Document w(s);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    Tick(w.PrintOption(0));
    Tick(w.PrintOption(11));
    EXPECT_TRUE(s.DocumentPrintOptions[0]);
    EXPECT_TRUE(s.DocumentPrintOptions[11]);
    EXPECT_FALSE(s.DocumentPrintOptions[1]);
    Tick(w.PrintOption(0));
    EXPECT_FALSE(s.DocumentPrintOptions[0]);
    EXPECT_TRUE(w.PrintOption(0)->isChecked());
    EXPECT_FALSE(s.DataChanged);   // the sections are not kept in the settings file
    EXPECT_FALSE(s.History.CanUndo());

    // They stay while the window is closed and opened again.
    w.hide();
    w.show();
    EXPECT_FALSE(w.PrintOption(11)->isChecked());
    EXPECT_TRUE(w.PrintOption(0)->isChecked());
}

TEST_F(DocumentWindowTest, BrowseStartsAtTheDocumentationFolderTheFirstTimeOnly)
{
    frmT2Document w(s);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const QString pattern = QDir::toNativeSeparators(QDir(Q(DocumentationFolder())).filePath("*.TXT"));
    struct Step {
        const char* what;
        QString answer;      // "" cancels
        QString start;       // the dialog's start name
        QString shown;       // the file name afterwards
    };
    const Step steps[] = {
        {"first time: cancelled", "", pattern, Path("Site Report.txt")},
        {"a file chosen", Path("other.txt"), "", Path("other.txt")},
        {"the pattern given back is no choice", pattern, "", Path("other.txt")},
        {"another file", Path("Third.TXT"), "", Path("Third.TXT")},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        prompts.fileNames.push_back(step.answer);
        Click(w.BrowseButton());
        ASSERT_FALSE(prompts.fileAsked.empty());
        const FileRequest& asked = prompts.fileAsked.back();
        EXPECT_TRUE(asked.save);
        EXPECT_EQ(asked.filter, "Tamberline II Document Files (*.TXT *.txt);;All Files (*)");
        EXPECT_EQ(asked.startName, step.start);
        EXPECT_EQ(w.DocFileName()->text(), step.shown);
        EXPECT_EQ(Q(s.DocumentFileName), step.shown);
    }
    EXPECT_EQ(prompts.fileAsked.size(), 4u);
    EXPECT_FALSE(s.DataChanged);
}

TEST_F(DocumentWindowTest, WritesTheSameBytesAsTheCommandLineTool)
{
    struct Case {
        const char* what;
        int module;
        std::vector<int> leaveOut;
    };
    const Case cases[] = {
        {"every section, DMX", 1, {}},
        {"some sections, DMX box clear", 1, {1, 4, 7, 11}},
        {"no section at all", 1, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
        {"MODBus: no DMX section whatever its box says", 2, {3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FillRich(s, c.module);
        const QString settings = Path("SITE.TMB");
        std::string error;
        ASSERT_TRUE(WriteSettingsFile(P(settings), s.Config, s.Devices, &error)) << error;
        // The configuration in memory is the one the tool reads.
        ASSERT_TRUE(ReadSettingsFile(P(settings), s.Config, s.Devices, &error)) << error;
        s.SettingsFileName = P(settings);
        s.DocumentPrintOptions.fill(false);
        QStringList omit;
        for (int i : c.leaveOut) {
            s.DocumentPrintOptions[static_cast<std::size_t>(i)] = true;
            omit << QString::number(i);
        }
        prompts.asked.clear();
        QFile::remove(Path("Site Report.txt"));   // a new report each time

        frmT2Document w(s);
        w.Clock = [] { return Fixed; };
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        Click(w.DocumentButton());
        ASSERT_EQ(prompts.Texts().value(0), "Documentation Complete.");
        EXPECT_EQ(prompts.asked[0].title, "VEL Tamberline II");
        EXPECT_EQ(prompts.asked[0].icon, PromptIcon::Information);
        const QByteArray written = ReadAll(Path("Site Report.txt"));
        ASSERT_FALSE(written.isEmpty());
        EXPECT_TRUE(written.contains("\r\nDocument Created\t02:05 PM 03/17/2005\r\n"));
        EXPECT_TRUE(written.endsWith("[End Of File]\r\n"));

        QStringList args{"report", settings, Path("cli.txt")};
        if (!omit.isEmpty()) args << "--omit" << omit.join(',');
        const CliResult r = RunCli(args);
        ASSERT_EQ(r.code, 0) << r.err;
        const QByteArray expected = ReadAll(Path("cli.txt"));
        ASSERT_FALSE(expected.isEmpty());
        EXPECT_EQ(WithoutCreated(written), WithoutCreated(expected));
        EXPECT_FALSE(s.DataChanged);   // writing the report changes nothing
    }
}

TEST_F(DocumentWindowTest, AReportThatCannotBeWrittenSaysWhyAndLeavesNoFile)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
    struct Case {
        const char* what;
        QString path;
        const char* reason;
    };
    const Case cases[] = {
        {"a folder", Path("folder"), "is a folder"},
        {"a missing folder", Path("missing/report.txt"), "cannot"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        s.DocumentFileName = P(c.path);
        prompts.asked.clear();
        frmT2Document w(s);
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        Click(w.DocumentButton());
        ASSERT_EQ(prompts.asked.size(), 1u);   // no completion message, no offer to open
        const PromptRequest& said = prompts.asked[0];
        EXPECT_EQ(said.title, "VEL Tamberline II");
        EXPECT_EQ(said.icon, PromptIcon::Exclamation);
        EXPECT_TRUE(said.text.contains(c.path)) << said.text.toStdString();
        EXPECT_TRUE(said.text.contains(c.reason)) << said.text.toStdString();
        EXPECT_FALSE(said.text.contains("Documentation Complete."));
    }
    EXPECT_TRUE(QFileInfo(Path("folder")).isDir());
    EXPECT_TRUE(QDir(Path("folder")).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(Path("missing")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"folder"});
}

TEST_F(DocumentWindowTest, OffersToShowTheWrittenReport)
{
    struct Case {
        const char* what;
        PromptAnswer answer;
        bool viewerFound;
        bool opened;
        int messages;   // complete, the question, and a message when no viewer was found
    };
    const Case cases[] = {
        {"No", PromptAnswer::No, true, false, 2},
        {"Yes", PromptAnswer::Yes, true, true, 2},
        {"Yes, but no viewer", PromptAnswer::Yes, false, true, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        prompts.asked.clear();
        prompts.answers = {PromptAnswer::Ok, c.answer};
        QFile::remove(Path("Site Report.txt"));
        frmT2Document w(s);
        QList<QUrl> opened;
        w.OpenUrl = [&](const QUrl& url) {
            opened << url;
            return c.viewerFound;
        };
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        Click(w.DocumentButton());
        ASSERT_EQ(static_cast<int>(prompts.asked.size()), c.messages);
        EXPECT_EQ(prompts.asked[1].buttons, PromptButtons::YesNo);
        EXPECT_TRUE(prompts.asked[1].text.contains("Site Report.txt"));
        EXPECT_EQ(opened.size(), c.opened ? 1 : 0);
        if (c.opened) {
            EXPECT_EQ(opened[0], QUrl::fromLocalFile(Path("Site Report.txt")));
        }
        if (c.messages == 3) {
            EXPECT_EQ(prompts.asked[2].icon, PromptIcon::Exclamation);
        }
    }
}

// "Save As PDF..." lays the checked sections out on pages: the same lines as
// the text file the window writes, on numbered pages within the margins.
TEST_F(DocumentWindowTest, PdfButtonWritesTheCheckedSectionsOnPages)
{
    auto rich = fixtures::RichRecords();
    s.Config = rich->config;
    s.Devices = rich->devices;
    s.SettingsFileName = P(Path("SITE.TMB"));
    s.DocumentPrintOptions[5] = true;   // Local Input Pilot Schedule left out
    frmT2Document w(s);
    w.Clock = [] { return Fixed; };
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_EQ(w.PdfButton()->text(), "Save As PDF...");
    EXPECT_EQ(w.PrintButton()->text(), "Print...");
    for (QPushButton* b : {w.PdfButton(), w.PrintButton()}) {
        EXPECT_FALSE(b->accessibleName().isEmpty());
        EXPECT_NE(b->focusPolicy() & Qt::TabFocus, 0);
    }

    prompts.fileNames.push_back(Path("Binder.pdf"));
    Click(w.PdfButton());
    ASSERT_EQ(prompts.fileAsked.size(), 1u);
    EXPECT_TRUE(prompts.fileAsked[0].save);
    EXPECT_EQ(prompts.fileAsked[0].filter, "PDF Files (*.PDF *.pdf);;All Files (*)");
    EXPECT_EQ(prompts.fileAsked[0].startName, QDir::toNativeSeparators(Path("Site Report.pdf")));   // the text report's name
    ASSERT_EQ(prompts.Texts().value(0), "Documentation Complete.");
    EXPECT_TRUE(prompts.asked.at(1).text.contains("Binder.pdf"));   // the offer to show it

    Click(w.DocumentButton());   // the text file of the same sections
    const QByteArray text = ReadAll(Path("Site Report.txt"));
    ASSERT_FALSE(text.isEmpty());
    EXPECT_GE(test::ExpectReportPdf(Path("Binder.pdf"), text, ReportPdfMarginPoints), 3);
    const QString pdfText = test::PdfPageTexts(Path("Binder.pdf")).join(QString());
    EXPECT_FALSE(pdfText.contains("Local Input Pilot Schedule"));
    EXPECT_TRUE(pdfText.contains("02:05 PM 03/17/2005"));
    EXPECT_FALSE(s.DataChanged);

    // The next time the dialog starts at the file chosen; cancelled, nothing is written.
    prompts.asked.clear();
    prompts.fileNames.push_back("");
    Click(w.PdfButton());
    EXPECT_EQ(prompts.fileAsked.back().startName, Path("Binder.pdf"));
    EXPECT_TRUE(prompts.asked.empty());

    // Another site's report: the proposal follows its name, not the last site's PDF.
    s.DocumentFileName = P(Path("Other Site.txt"));
    prompts.fileNames.push_back("");
    Click(w.PdfButton());
    EXPECT_EQ(prompts.fileAsked.back().startName, QDir::toNativeSeparators(Path("Other Site.pdf")));
    s.DocumentFileName = P(Path("Site Report.txt"));

    // A file that cannot be written says why and leaves nothing.
    prompts.fileNames.push_back(Path("missing/Binder.pdf"));
    Click(w.PdfButton());
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0].icon, PromptIcon::Exclamation);
    EXPECT_TRUE(prompts.asked[0].text.contains(Path("missing/Binder.pdf"))) << prompts.asked[0].text.toStdString();
    EXPECT_FALSE(QFileInfo::exists(Path("missing")));
}

// "Print..." draws the same pages on the printer the dialog set up: here a
// PDF printer on a small page, where the wide sections must wrap.
TEST_F(DocumentWindowTest, PrintDrawsThePagesOnTheChosenPrinter)
{
    auto rich = fixtures::RichRecords();
    s.Config = rich->config;
    s.Devices = rich->devices;
    frmT2Document w(s);
    w.Clock = [] { return Fixed; };
    const QString printed = Path("printed.pdf");
    constexpr double MarginMm = 10;
    int asked = 0;
    bool answer = true;
    QString output = printed;
    int from = 0;   // the range of pages chosen; 0: all
    int to = 0;
    w.AskPrinter = [&](QPrinter& printer) {
        ++asked;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(output);
        printer.setFromTo(from, to);
        printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A5), QPageLayout::Portrait,
                                          QMarginsF(MarginMm, MarginMm, MarginMm, MarginMm), QPageLayout::Millimeter));
        return answer;
    };
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));

    Click(w.PrintButton());
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(prompts.asked.empty());
    Click(w.DocumentButton());
    prompts.asked.clear();
    const QByteArray text = ReadAll(Path("Site Report.txt"));
    EXPECT_GE(test::ExpectReportPdf(printed, text, MarginMm * 72 / 25.4), 5);

    // The pages the dialog chose, with their own numbers.
    const auto pages = test::PdfPageTexts(printed).size();
    from = 2;
    to = 3;
    Click(w.PrintButton());
    const QStringList range = test::PdfPageTexts(printed);
    ASSERT_EQ(range.size(), 2);
    EXPECT_TRUE(range[0].contains(QString("Page 2 of %1").arg(pages)));
    EXPECT_TRUE(range[1].contains(QString("Page 3 of %1").arg(pages)));
    EXPECT_TRUE(prompts.asked.empty());
    from = static_cast<int>(pages) + 1;   // past the end: nothing to print, and the user is told
    to = from;
    Click(w.PrintButton());
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_TRUE(prompts.asked[0].text.contains("not in the report")) << prompts.asked[0].text.toStdString();
    prompts.asked.clear();
    from = to = 0;

    // Cancelled, nothing is printed; a printer that cannot print says so.
    QFile::remove(printed);
    answer = false;
    Click(w.PrintButton());
    EXPECT_FALSE(QFileInfo::exists(printed));
    EXPECT_TRUE(prompts.asked.empty());
    answer = true;
    output = Path("missing/printed.pdf");
    Click(w.PrintButton());
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0].icon, PromptIcon::Exclamation);
    EXPECT_TRUE(prompts.asked[0].text.contains("could not be printed")) << prompts.asked[0].text.toStdString();
}

// One report per site: until Browse chooses one, the report is named after the
// settings file, in the documentation folder.
TEST_F(DocumentWindowTest, TheReportIsNamedAfterTheSettingsFileUntilOneIsChosen)
{
    ResetConfiguration(s);   // no file chosen
    const QDir docs(Q(DocumentationFolder()));
    struct Case {
        std::string settings;
        QString report;
    };
    const Case cases[] = {
        {"None", docs.filePath("Tamberline II.txt")},
        {P(Path("SITE.TMB")), docs.filePath("SITE.TXT")},
        {P(Path("North Hall.v2.tmb")), docs.filePath("North Hall.v2.TXT")},
        {P(Path("NOEXT")), docs.filePath("NOEXT.TXT")},
    };
    frmT2Document w(s);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.settings);
        s.SettingsFileName = c.settings;
        w.hide();
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        EXPECT_EQ(w.DocFileName()->text(), c.report);
        EXPECT_EQ(Q(s.DocumentFileName), c.report);
    }
    // A file chosen with Browse stays chosen, whatever the settings file is
    // saved as; a reset gives the default back.
    prompts.fileNames = {Path("Chosen.txt")};
    Click(w.BrowseButton());
    s.SettingsFileName = P(Path("OTHER.TMB"));
    w.hide();
    w.show();
    EXPECT_EQ(w.DocFileName()->text(), Path("Chosen.txt"));
    ResetConfiguration(s);
    w.hide();
    w.show();
    EXPECT_EQ(w.DocFileName()->text(), docs.filePath("OTHER.TXT"));
    EXPECT_FALSE(s.DataChanged);
}

TEST_F(DocumentWindowTest, CreateAsksBeforeReplacingAReport)
{
    const QString report = Path("Site Report.txt");
    frmT2Document w(s);
    w.Clock = [] { return Fixed; };
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    // A new report: no question.
    Click(w.DocumentButton());
    ASSERT_EQ(prompts.Texts().value(0), "Documentation Complete.");
    const QByteArray first = ReadAll(report);
    ASSERT_FALSE(first.isEmpty());

    s.Config.PanelName = "CHANGED";
    for (PromptAnswer answer : {PromptAnswer::No, PromptAnswer::Yes}) {
        SCOPED_TRACE(answer == PromptAnswer::Yes ? "Yes" : "No");
        prompts.asked.clear();
        prompts.answers = {answer, PromptAnswer::Ok, PromptAnswer::No};
        Click(w.DocumentButton());
        ASSERT_FALSE(prompts.asked.empty());
        EXPECT_EQ(prompts.asked[0].text, report + " already exists.\nDo you want to replace it?");
        EXPECT_EQ(prompts.asked[0].buttons, PromptButtons::YesNo);
        EXPECT_EQ(prompts.asked[0].title, "VEL Tamberline II");
        const bool replaced = answer == PromptAnswer::Yes;
        EXPECT_EQ(prompts.asked.size(), replaced ? 3u : 1u);   // then complete and the offer to show it
        EXPECT_EQ(ReadAll(report).contains("CHANGED"), replaced);
    }
}
