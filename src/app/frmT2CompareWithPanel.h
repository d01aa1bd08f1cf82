// "Compare With Tamberline II": what a download of the configuration in memory
// would change in the panel, in the report's words, grouped by the report's
// sections with a count per section: the item, what the panel holds now and
// what it holds after the download. The connection window reads the panel
// (into memory only) and hands the reading over; the list is made again from
// the configuration in memory whenever the window is activated, the
// configuration is replaced (undo) or "Include Names" changes. No menu item
// opens it.
#pragma once

#include "PanelCopy.h"
#include "WindowRegistry.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QWidget>

#include <memory>
#include <vector>

namespace t2 {

class frmT2CompareWithPanel : public QWidget, public ChildWindow {
    Q_OBJECT
public:
    static const WindowInfo Info;
    explicit frmT2CompareWithPanel(ProgramState& state, QWidget* parent = nullptr);

    // The panel's settings as just read.
    void ShowPanelCopy(std::shared_ptr<const PanelCopy> panel);

    void OnActivate() override;
    void ConfigurationReplaced() override { ShowDifferences(); }

    // The differences listed now.
    const std::vector<ReportDifference>& Differences() const { return differences_; }

    QLabel* lblSummary;
    QLabel* lblReadAt;
    QCheckBox* chkIncludeNames;       // "Include Names"
    QTreeWidget* tvwDifferences;      // a row per section, its items below it
    QPushButton* cmdSaveList;         // "Save List As Text"

private:
    void ShowDifferences();
    void cmdSaveList_Click();

    ProgramState& state_;
    std::shared_ptr<const PanelCopy> panel_;
    std::vector<ReportDifference> differences_;
};

}  // namespace t2
