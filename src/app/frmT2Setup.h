// "Setup": which I/O node carries how many points, and which add-on module is
// fitted. The node table decides TotalIOCount, the add-on type which window
// the Add-On Modules menu opens.
#pragma once

#include "ClickLabel.h"
#include "WindowRegistry.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QWidget>

#include <array>

namespace t2 {

class frmT2Setup : public QWidget, public ChildWindow {
    Q_OBJECT
public:
    static const WindowInfo Info;
    explicit frmT2Setup(ProgramState& state, QWidget* parent = nullptr);

    void OnActivate() override;
    void ConfigurationReplaced() override { OnActivate(); }

    // Redraws the node table from NodeIOCount.
    void ShowConfig();

    // The node whose count label was clicked last.
    int EditNode = 0;

    QGroupBox* fraIOConfiguration;
    QGroupBox* fraAddOnModule;
    std::array<QLabel*, 12> lblNode{};
    std::array<ClickLabel*, 12> lblIOCount{};
    std::array<QLabel*, 12> lblIOAdd{};
    QComboBox* cboIOCount;
    std::array<QRadioButton*, 7> optAddOnModuleType{};

    static const QColor InvalidColour;  // light red, 8421631
    static const QColor RangeColour;    // light green, 8454016

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void lblIOCount_Click(int node);
    void cboIOCount_Click(int index);
    void optAddOnModuleType_Click(int type);
    void SetRange(QLabel* label, const QString& text, const QColor& colour);

    ProgramState& state_;
    QButtonGroup* addOnGroup_;
};

}  // namespace t2
