#include "frmT2CompareWithPanel.h"

#include "Prompts.h"
#include "Twips.h"

#include "Defaults.h"
#include "SettingsFile.h"
#include "Windows1252.h"

#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QVBoxLayout>

namespace t2 {

const WindowInfo frmT2CompareWithPanel::Info{"frmT2CompareWithPanel", "Compare With Tamberline II"};

namespace {

const QString Title = "VEL Tamberline II";

QString ItemsText(std::size_t n) { return QString::number(n) + (n == 1 ? " Item" : " Items"); }

}  // namespace

frmT2CompareWithPanel::frmT2CompareWithPanel(ProgramState& state, QWidget* parent) : QWidget(parent), state_(state)
{
    ApplyWindowInfo(this, Info);
    QFont f = font();
    f.setPointSizeF(8.25);
    setFont(f);
    setMinimumSize(TwipsSize(10680, 6840));

    lblSummary = new QLabel(this);
    lblSummary->setObjectName("lblSummary");
    lblSummary->setAccessibleName("Summary");
    lblReadAt = new QLabel(this);
    lblReadAt->setObjectName("lblReadAt");
    lblReadAt->setAccessibleName("Read From The Tamberline II");

    chkIncludeNames = new QCheckBox("Include Names", this);
    chkIncludeNames->setObjectName("chkIncludeNames");
    chkIncludeNames->setAccessibleName("Include Names");
    chkIncludeNames->setToolTip("Compare the panel name and the relay, group, input, timer, preset and Vantel names "
                                "too (the panel keeps ten characters of each)");
    connect(chkIncludeNames, &QCheckBox::toggled, this, &frmT2CompareWithPanel::ShowDifferences);

    tvwDifferences = new QTreeWidget(this);
    tvwDifferences->setObjectName("tvwDifferences");
    tvwDifferences->setAccessibleName("Differences");
    tvwDifferences->setAccessibleDescription("Each section of the report with the count of its differences; below "
                                             "it each item, what the panel holds now and after the download");
    tvwDifferences->setColumnCount(3);
    tvwDifferences->setHeaderLabels({"Item", "Panel Now", "After The Download"});
    tvwDifferences->setRootIsDecorated(true);
    tvwDifferences->setUniformRowHeights(true);
    tvwDifferences->setSelectionBehavior(QAbstractItemView::SelectRows);
    tvwDifferences->header()->setStretchLastSection(true);

    cmdSaveList = new QPushButton("Save List As Text", this);
    cmdSaveList->setObjectName("cmdSaveList");
    cmdSaveList->setAccessibleName("Save List As Text");
    connect(cmdSaveList, &QPushButton::clicked, this, &frmT2CompareWithPanel::cmdSaveList_Click);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(Twips(240), Twips(240), Twips(240), Twips(240));
    layout->setSpacing(Twips(120));
    layout->addWidget(lblSummary);
    layout->addWidget(lblReadAt);
    layout->addWidget(chkIncludeNames);
    layout->addWidget(tvwDifferences, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdSaveList);
    layout->addLayout(buttons);

    ShowDifferences();
}

void frmT2CompareWithPanel::ShowPanelCopy(std::shared_ptr<const PanelCopy> panel)
{
    panel_ = std::move(panel);
    // Shown now, or when the window is next activated.
    if (isVisible()) ShowDifferences();
}

void frmT2CompareWithPanel::OnActivate()
{
    ShowDifferences();
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        if (QMdiArea* area = sub->mdiArea()) sub->setGeometry(area->viewport()->rect());
    }
    tvwDifferences->setFocus();
}

void frmT2CompareWithPanel::ShowDifferences()
{
    tvwDifferences->clear();
    differences_.clear();
    if (!panel_) {
        lblSummary->setText("Nothing Has Been Read From The Tamberline II.");
        lblReadAt->clear();
        cmdSaveList->setEnabled(false);
        return;
    }
    const bool names = chkIncludeNames->isChecked();
    differences_ = DownloadChanges(state_.Config, state_.Devices, panel_->image, names);
    lblReadAt->setText("Read From The Tamberline II At " + panel_->readAt.toString("hh:mm:ss AP, MM/dd/yyyy"));
    if (differences_.empty()) {
        lblSummary->setText(names ? "The Tamberline II Already Holds These Settings."
                                  : "The Tamberline II Already Holds These Settings (Names Not Compared).");
    } else {
        lblSummary->setText("A Download Would Change " + ItemsText(differences_.size()) + " In The Tamberline II.");
    }
    for (const auto& [section, count] : CountBySection(differences_)) {
        auto* group = new QTreeWidgetItem(tvwDifferences, {QString::fromStdString(section) + ": " + ItemsText(count)});
        group->setFirstColumnSpanned(true);
        for (const ReportDifference& d : differences_) {
            if (d.section != section) continue;
            new QTreeWidgetItem(group, {BytesToText(d.item), BytesToText(d.a), BytesToText(d.b)});
        }
    }
    tvwDifferences->expandAll();
    tvwDifferences->resizeColumnToContents(0);
    tvwDifferences->resizeColumnToContents(1);
    if (QTreeWidgetItem* first = tvwDifferences->topLevelItem(0)) tvwDifferences->setCurrentItem(first);
    cmdSaveList->setEnabled(true);
}

void frmT2CompareWithPanel::cmdSaveList_Click()
{
    const QString start = QDir::toNativeSeparators(QDir(QFile::decodeName(QByteArray::fromStdString(DocumentationFolder())))
                                                       .filePath("Compare With Tamberline II.TXT"));
    const QString path = AskSaveFileName(QtFileFilter("Text Files (*.TXT)|*.TXT|All Files (*.*)|*.*"), start,
                                         "Save List As Text");
    if (path.isEmpty()) return;
    // The lines of `tamberline-cli diff`, with the report's line ends.
    std::string text;
    for (const ReportDifference& d : differences_) text += DifferenceLine(d) + "\r\n";
    std::string error;
    if (!WriteFileAtomically(QFile::encodeName(path).toStdString(), text, &error)) {
        Inform(Title, "The list could not be saved.\n\n" + QString::fromStdString(error), PromptIcon::Exclamation);
    }
}

}  // namespace t2
