#include "frmT2Document.h"

#include "Controls.h"
#include "Defaults.h"
#include "Prompts.h"
#include "ReportPages.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

namespace t2 {

namespace {

const QString Title = QStringLiteral("VEL Tamberline II");

QString ToQString(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }
std::string ToPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

// The name the Save dialog starts with the first time: every report in the
// documentation folder.
QString FirstPattern()
{
    return QDir::toNativeSeparators(QDir(ToQString(DocumentationFolder())).filePath(QStringLiteral("*.TXT")));
}

constexpr int BoxPitch = 300;
constexpr int FileTop = 240 + ReportSectionCount * BoxPitch + 180;

}  // namespace

const WindowInfo frmT2Document::Info{"frmT2Document", "Document"};

frmT2Document::frmT2Document(ProgramState& state, QWidget* parent)
    : EditorWindow(state, Info, parent),
      OpenUrl([](const QUrl& url) { return QDesktopServices::openUrl(url); }),
      lblDocFileName_(AddLabel("lblDocFileName", {}, 1440, FileTop, 7200)),
      cmdBrowse_(AddButton("cmdBrowse", "Browse", 8760, FileTop - 30, 1080)),
      cmdDocument_(AddButton("cmdDocument", "Create Documentation File", 240, FileTop + 540, 3000, 420))
{
    // A checked box writes its section (DocumentPrintOptions false); the
    // sections are a setting of the program, not of the configuration.
    for (int i = 0; i < ReportSectionCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        chkPrintOptions_[k] = &AddCheck({.name = "chkPrintOptions_" + QString::number(i),
                                         .caption = QString::fromLatin1(ReportSectionCaptions[k]),
                                         .left = 240, .top = 240 + i * BoxPitch, .width = 3600,
                                         .get = [this, k] { return !State().DocumentPrintOptions[k]; },
                                         .set = [this, k](bool checked) { State().DocumentPrintOptions[k] = !checked; },
                                         .edit = false});
        chkPrintOptions_[k]->Box()->setProperty("array", "chkPrintOptions");
        chkPrintOptions_[k]->Box()->setProperty("index", i);
    }
    AddLabel("lblFileName", "Output File ", 240, FileTop, 1140);
    lblDocFileName_->setFrameShape(QFrame::Panel);
    lblDocFileName_->setFrameShadow(QFrame::Sunken);
    lblDocFileName_->setIndent(Px(45));
    connect(cmdBrowse_, &QPushButton::clicked, this, &frmT2Document::cmdBrowse_Click);
    connect(cmdDocument_, &QPushButton::clicked, this, &frmT2Document::cmdDocument_Click);

    // The report on paper: the system's print dialog, or a PDF file.
    cmdPrint_ = AddButton("cmdPrint", "Print...", 3360, FileTop + 540, 1680, 420);
    cmdPrint_->setAccessibleName("Print the documentation");
    cmdSaveAsPdf_ = AddButton("cmdSaveAsPdf", "Save As PDF...", 5160, FileTop + 540, 2040, 420);
    cmdSaveAsPdf_->setAccessibleName("Save the documentation as a PDF file");
    connect(cmdPrint_, &QPushButton::clicked, this, &frmT2Document::cmdPrint_Click);
    connect(cmdSaveAsPdf_, &QPushButton::clicked, this, &frmT2Document::cmdSaveAsPdf_Click);
    AskPrinter = [this](QPrinter& printer) {
        QPrintDialog dialog(&printer, this);
        dialog.setWindowTitle("Print Documentation");
        return dialog.exec() == QDialog::Accepted;
    };
}

QCheckBox* frmT2Document::PrintOption(int section) const
{
    return section >= 0 && section < ReportSectionCount ? chkPrintOptions_[static_cast<std::size_t>(section)]->Box()
                                                        : nullptr;
}

void frmT2Document::Refill()
{
    // One report per site: until a file is chosen with Browse, the report is
    // named after the settings file.
    if (!State().DocumentFileChosen) State().DocumentFileName = DefaultDocumentFileName(State().SettingsFileName);
    const QString name = ToQString(State().DocumentFileName);
    lblDocFileName_->setText(name);
    lblDocFileName_->setToolTip(name);
}

void frmT2Document::Redraw()
{
    PrintOption(SectionDmxSchedule)->setVisible(Config().AddOnModuleType == AddOnDmx);
    EditorWindow::Redraw();
}

void frmT2Document::cmdBrowse_Click()
{
    QString start;
    if (!browsed_) {
        start = FirstPattern();
        browsed_ = true;
    }
    const QString chosen =
        AskSaveFileName(QtFileFilter(QString::fromLatin1(ReportFileFilter)), start, QStringLiteral("Documentation File"));
    if (chosen.isEmpty() || chosen == FirstPattern()) return;   // cancelled
    State().DocumentFileName = ToPath(chosen);
    State().DocumentFileChosen = true;
    Refill();
}

void frmT2Document::cmdDocument_Click()
{
    // The file the window names (after a Save As meanwhile, the new
    // settings file's), with the sections checked now.
    Refill();
    const std::string path = State().DocumentFileName;
    const QString shown = QDir::toNativeSeparators(ToQString(path));
    if (QFileInfo(ToQString(path)).isFile() &&
        !AskYesNo(Title, shown + " already exists.\nDo you want to replace it?", PromptIcon::Exclamation))
        return;
    const ReportSettings settings = ReportSettingsOf(State(), Clock ? Clock() : ReportTimeNow());
    std::string error;
    if (!WriteReportFile(path, Config(), Devices(), settings, &error)) {
        Inform(Title, "The documentation file could not be written.\n\n" + QString::fromLocal8Bit(error),
               PromptIcon::Exclamation);
        return;
    }
    Inform(Title, QString::fromLatin1(ReportCompleteMessage), PromptIcon::Information);
    if (!AskYesNo(Title, "Open " + shown + " now?")) return;
    if (!OpenUrl || !OpenUrl(QUrl::fromLocalFile(ToQString(path))))
        Inform(Title, "No program was found to show " + shown + ".", PromptIcon::Exclamation);
}

void frmT2Document::cmdPrint_Click()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName("Tamberline II Documentation");
    if (!AskPrinter || !AskPrinter(printer)) return;   // cancelled: nothing printed
    const ReportSettings settings = ReportSettingsOf(State(), Clock ? Clock() : ReportTimeNow());
    std::string error;
    int pages = 0;
    {
        WaitPointer wait;
        pages = DrawReport(PaperReportOf(Config(), Devices(), settings), printer, &error, printer.fromPage(),
                           printer.toPage());
    }
    if (pages == 0)
        Inform(Title, "The documentation could not be printed.\n\n" + QString::fromStdString(error),
               PromptIcon::Exclamation);
}

void frmT2Document::cmdSaveAsPdf_Click()
{
    if (pdfName_.isEmpty() || pdfForReport_ != State().DocumentFileName) {
        // The text report's name with .pdf: the first time, and again once the
        // text report is another (another site opened, another file browsed).
        pdfForReport_ = State().DocumentFileName;
        QFileInfo text(ToQString(State().DocumentFileName));
        if (text.completeBaseName().isEmpty()) text = QFileInfo(ToQString(DefaultDocumentFileName()));
        pdfName_ = QDir::toNativeSeparators(text.dir().filePath(text.completeBaseName() + ".pdf"));
    }
    const QString chosen =
        AskSaveFileName(QtFileFilter("PDF Files (*.PDF)|*.PDF|All Files (*.*)|*.*"), pdfName_, "Save As PDF");
    if (chosen.isEmpty()) return;   // cancelled
    pdfName_ = chosen;
    const std::string path = ToPath(chosen);
    const ReportSettings settings = ReportSettingsOf(State(), Clock ? Clock() : ReportTimeNow());
    std::string error;
    bool written = false;
    {
        WaitPointer wait;
        written = WriteReportPdf(path, Config(), Devices(), settings, &error);
    }
    if (!written) {
        Inform(Title, "The PDF file could not be written.\n\n" + QString::fromLocal8Bit(error),
               PromptIcon::Exclamation);
        return;
    }
    Inform(Title, QString::fromLatin1(ReportCompleteMessage), PromptIcon::Information);
    const QString shown = QDir::toNativeSeparators(chosen);
    if (!AskYesNo(Title, "Open " + shown + " now?")) return;
    if (!OpenUrl || !OpenUrl(QUrl::fromLocalFile(chosen)))
        Inform(Title, "No program was found to show " + shown + ".", PromptIcon::Exclamation);
}

}  // namespace t2
