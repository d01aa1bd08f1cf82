// "Document": writes the configuration as a plain-text report, with the
// sections chosen by check boxes, to the file chosen with Browse.
#pragma once

#include "DocumentReport.h"
#include "EditorWindow.h"

#include <QUrl>

#include <array>
#include <functional>

class QCheckBox;
class QLabel;
class QPrinter;
class QPushButton;

namespace t2 {

class frmT2Document : public EditorWindow {
    Q_OBJECT
public:
    static const WindowInfo Info;
    explicit frmT2Document(ProgramState& state, QWidget* parent = nullptr);

    QCheckBox* PrintOption(int section) const;
    QLabel* DocFileName() const { return lblDocFileName_; }
    QPushButton* BrowseButton() const { return cmdBrowse_; }
    QPushButton* DocumentButton() const { return cmdDocument_; }

    // The time stamped into the report (the present local time unless a
    // test sets another).
    std::function<ReportTime()> Clock = ReportTimeNow;
    // Shows a written report with the desktop's viewer; false when none could.
    std::function<bool(const QUrl&)> OpenUrl;
    // Lets the user choose and set up the printer (the system's print
    // dialog); false when cancelled.
    std::function<bool(QPrinter&)> AskPrinter;

    QPushButton* PrintButton() const { return cmdPrint_; }
    QPushButton* PdfButton() const { return cmdSaveAsPdf_; }

    void Redraw() override;

    // The Browse and "Create Documentation File" buttons.
    void cmdBrowse_Click();
    void cmdDocument_Click();
    // "Print..." and "Save As PDF...": the checked sections laid out on pages.
    void cmdPrint_Click();
    void cmdSaveAsPdf_Click();

protected:
    void Refill() override;

private:
    std::array<CheckBox*, ReportSectionCount> chkPrintOptions_{};
    QLabel* lblDocFileName_;
    QPushButton* cmdBrowse_;
    QPushButton* cmdDocument_;
    bool browsed_ = false;   // the dialog starts at the documentation folder the first time only
    QPushButton* cmdPrint_;
    QPushButton* cmdSaveAsPdf_;
    QString pdfName_;        // the PDF file chosen last
    std::string pdfForReport_;   // the text report pdfName_ was proposed for
};

}  // namespace t2
