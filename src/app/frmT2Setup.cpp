#include "frmT2Setup.h"

#include "Controls.h"
#include "ScreenText.h"
#include "Twips.h"

#include "CodeTexts.h"

#include "PanelConfig.h"

namespace t2 {

const QColor frmT2Setup::InvalidColour(0xFF, 0x80, 0x80);
const QColor frmT2Setup::RangeColour(0x80, 0xFF, 0x80);

namespace {

constexpr int RowTop = 360;     // first node row inside the frame, twips
constexpr int RowPitch = 300;
constexpr int RowHeight = 255;

}  // namespace

const WindowInfo frmT2Setup::Info{"frmT2Setup", "Setup"};

frmT2Setup::frmT2Setup(ProgramState& state, QWidget* parent) : QWidget(parent), state_(state)
{
    ApplyWindowInfo(this, Info);
    setFixedSize(TwipsSize(7440, 4560));

    fraIOConfiguration = new QGroupBox("I/O Configuration", this);
    fraIOConfiguration->setObjectName("fraIOConfiguration");
    fraIOConfiguration->setGeometry(TwipsRect(120, 120, 3720, 4260));

    for (int n = 0; n < 12; ++n) {
        int top = RowTop + n * RowPitch;
        lblNode[n] = new QLabel(QString::fromStdString(NodeCaption(n)), fraIOConfiguration);
        lblNode[n]->setObjectName(QString("lblNode_%1").arg(n));
        lblNode[n]->setGeometry(TwipsRect(180, top, 900, RowHeight));
        lblNode[n]->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);

        lblIOCount[n] = new ClickLabel(fraIOConfiguration);
        lblIOCount[n]->setObjectName(QString("lblIOCount_%1").arg(n));
        lblIOCount[n]->setGeometry(TwipsRect(1140, top, 1140, RowHeight));
        lblIOCount[n]->setAlignment(Qt::AlignCenter);
        lblIOCount[n]->setFrameShape(QFrame::Panel);
        lblIOCount[n]->setFrameShadow(QFrame::Sunken);
        lblIOCount[n]->setCursor(Qt::PointingHandCursor);
        SetBackground(lblIOCount[n], Qt::white);
        connect(lblIOCount[n], &ClickLabel::clicked, this, [this, n] { lblIOCount_Click(n); });

        lblIOAdd[n] = new QLabel(fraIOConfiguration);
        lblIOAdd[n]->setObjectName(QString("lblIOAdd_%1").arg(n));
        lblIOAdd[n]->setGeometry(TwipsRect(2400, top, 1140, RowHeight));
        lblIOAdd[n]->setAlignment(Qt::AlignCenter);
        lblIOAdd[n]->setFrameShape(QFrame::Panel);
        lblIOAdd[n]->setFrameShadow(QFrame::Sunken);
        lblIOAdd[n]->setAutoFillBackground(true);
    }

    cboIOCount = new QComboBox(fraIOConfiguration);
    cboIOCount->setObjectName("cboIOCount");
    cboIOCount->setMaxVisibleItems(10);
    cboIOCount->hide();
    connect(cboIOCount, &QComboBox::activated, this, [this](int index) { cboIOCount_Click(index); });

    fraAddOnModule = new QGroupBox("Add On Module", this);
    fraAddOnModule->setObjectName("fraAddOnModule");
    fraAddOnModule->setGeometry(TwipsRect(3960, 120, 3360, 2640));
    addOnGroup_ = new QButtonGroup(this);
    for (int k = 0; k < 7; ++k) {
        optAddOnModuleType[k] = new QRadioButton(AddOnModuleOptionTexts[k], fraAddOnModule);
        optAddOnModuleType[k]->setObjectName(QString("optAddOnModuleType_%1").arg(k));
        optAddOnModuleType[k]->setGeometry(TwipsRect(240, RowTop + k * RowPitch, 3000, RowHeight));
        addOnGroup_->addButton(optAddOnModuleType[k], k);
        // clicked comes from the user only, never from the window's own selection
        connect(optAddOnModuleType[k], &QRadioButton::clicked, this,
                [this, k] { optAddOnModuleType_Click(k); });
    }
}

void frmT2Setup::SetRange(QLabel* label, const QString& text, const QColor& colour)
{
    label->setText(text);
    SetBackground(label, colour);
    label->show();
}

void frmT2Setup::ShowConfig()
{
    const auto& nodes = state_.Config.NodeIOCount;

    // Node 0 is always shown. A code below 1 cannot come from the picker (node 0
    // is never empty) but a file or the panel can bring it.
    int count0 = nodes[0];
    lblIOCount[0]->setText(QString("%1 I/O").arg(count0 * 4));
    int last = count0 > 0 ? count0 * 4 : 0;
    if (count0 < 1 || last > 48)
        SetRange(lblIOAdd[0], "Invalid", InvalidColour);
    else
        SetRange(lblIOAdd[0], TwoDigits(1) + " - " + TwoDigits(last), RangeColour);

    // The other nodes number on from where the previous one stopped; an empty
    // node takes no numbers.
    for (int n = 1; n < 12; ++n) {
        int code = nodes[n];
        if (code == 0) {
            lblIOCount[n]->setText("-");
            lblIOAdd[n]->hide();
            continue;
        }
        lblIOCount[n]->setText(QString("%1 I/O").arg(code * 4));
        if (code < 0) {  // a negative count covers no points
            SetRange(lblIOAdd[n], "Invalid", InvalidColour);
            continue;
        }
        int first = last + 1;
        last = first + code * 4 - 1;
        if (last > 48)
            SetRange(lblIOAdd[n], "Invalid", InvalidColour);
        else
            SetRange(lblIOAdd[n], TwoDigits(first) + " - " + TwoDigits(last), RangeColour);
    }
}

void frmT2Setup::OnActivate()
{
    int type = state_.Config.AddOnModuleType;
    if (type >= 0 && type < 7) {
        optAddOnModuleType[type]->setChecked(true);
    } else {
        addOnGroup_->setExclusive(false);
        for (auto* o : optAddOnModuleType) o->setChecked(false);
        addOnGroup_->setExclusive(true);
    }
    ShowConfig();
    cboIOCount->hide();
}

void frmT2Setup::lblIOCount_Click(int node)
{
    EditNode = node;
    cboIOCount->clear();
    int code = state_.Config.NodeIOCount[node];
    if (node == 0) {
        for (int k = 1; k <= 8; ++k) cboIOCount->addItem(QString("%1 I/O").arg(k * 4));
        // A stored code outside 1..8 selects no entry.
        cboIOCount->setCurrentIndex(code >= 1 && code <= 8 ? code - 1 : -1);
    } else {
        cboIOCount->addItem("None");
        for (int k = 1; k <= 4; ++k) cboIOCount->addItem(QString("%1 I/O").arg(k * 4));
        cboIOCount->setCurrentIndex(code >= 0 && code <= 4 ? code : -1);
    }
    QRect at = lblIOCount[node]->geometry();
    cboIOCount->setGeometry(at.left(), at.top() - Twips(15), at.width(), cboIOCount->sizeHint().height());
    cboIOCount->show();
    cboIOCount->raise();
    // Opening the picker counts as a change even when nothing is then chosen.
    RecordEdit(state_, Info.caption);
    // From the keyboard the list opens on the stored count; the focus comes back after the choice.
    if (lblIOCount[node]->ByKeyboard()) {
        cboIOCount->setFocus(Qt::OtherFocusReason);
        cboIOCount->showPopup();
    }
}

void frmT2Setup::cboIOCount_Click(int index)
{
    if (index < 0) return;
    state_.Config.NodeIOCount[EditNode] = static_cast<Integer>(EditNode == 0 ? index + 1 : index);
    const bool focused = cboIOCount->hasFocus();
    cboIOCount->hide();
    if (focused) lblIOCount[EditNode]->setFocus(Qt::OtherFocusReason);
    ShowConfig();
    RecordEdit(state_, Info.caption);
}

void frmT2Setup::optAddOnModuleType_Click(int type)
{
    state_.Config.AddOnModuleType = static_cast<Integer>(type);
    cboIOCount->hide();
    RecordEdit(state_, Info.caption);
}

void frmT2Setup::mousePressEvent(QMouseEvent* event)
{
    cboIOCount->hide();
    QWidget::mousePressEvent(event);
}

}  // namespace t2
