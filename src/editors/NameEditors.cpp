#include "NameEditors.h"

#include "Defaults.h"
#include "EditorGrid.h"
#include "ClickLabel.h"
#include "NameBox.h"
#include "ScreenText.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>

namespace t2 {


namespace {

constexpr int PanelNameLength = 18;
constexpr int PreviewPitch = 240;   // twips per preview character

// One preview cell: a character of the panel's display.
QLabel* MakePanelChar(QWidget* parent, const EditorWindow& w, int k, int left)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QStringLiteral("lblPanelChar_%1").arg(k));
    label->setProperty("array", "lblPanelChar");
    label->setProperty("index", k);
    label->setGeometry(w.Px(left + k * PreviewPitch), w.Px(300), w.Px(PreviewPitch - 15), w.Px(360));
    label->setAlignment(Qt::AlignCenter);
    QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    f.setBold(true);
    label->setFont(f);
    QPalette p = label->palette();
    p.setColor(QPalette::Window, QColor(24, 48, 24));
    p.setColor(QPalette::WindowText, QColor(120, 255, 120));
    label->setPalette(p);
    label->setAutoFillBackground(true);
    return label;
}

// Character k of a name as the display shows it, or "" past its end.
QString NameChar(const Bytes& name, int k)
{
    return k < static_cast<int>(name.size()) ? ToScreen(name.substr(static_cast<std::size_t>(k), 1)) : QString();
}

}  // namespace

// ---------------------------------------------------------------------------

NameListEditor::NameListEditor(ProgramState& state, NameListKind kind, QWidget* parent)
    : EditorWindow(state, kind.info, parent),
      kind_(std::move(kind)),
      grid_(AddGrid({.rows = kind_.rows, .left = 240, .top = 180}))
{
    // The boxes start at the designed offset unless the number captions need
    // more room in the font at hand.
    const QFontMetrics metrics(font());
    int widest = 0;
    for (int r = 0; r < kind_.rows; ++r) widest = std::max(widest, metrics.horizontalAdvance(kind_.rowCaption(r)));
    const int dpi = logicalDpiX() > 0 ? logicalDpiX() : 96;
    kind_.boxOffset = std::max(kind_.boxOffset, (widest + 6) * 1440 / dpi + 30);
    grid_.Names({.label = kind_.numberLabel, .width = kind_.boxOffset - 30,
                 .text = kind_.rowCaption});
    if (kind_.rowsShown) grid_.RowsShown([this] { return kind_.rowsShown(Config()); });
    textColumn_ = grid_.AddText({.box = kind_.textBox, .offset = kind_.boxOffset, .width = 1980,
                                 .text = [this](int r) { return ToScreen(kind_.name(State(), r)); },
                                 .edited = [this](int r, const QString& text) {
                                     kind_.name(State(), r) = FromScreen(text);
                                     MarkChanged();
                                     ShowNameChar(r);
                                 },
                                 .touched = [this](int r) { ShowNameChar(r); }});

    const int gridBottom = 180 + 16 * 360;
    const int frameWidth = kind_.previewLeft * 2 + kind_.previewLength * PreviewPitch;
    frame_ = new QGroupBox("As Displayed On Tamberline II", this);
    frame_->setObjectName("frmAsDisplayed");
    // Wide enough for its caption; the characters start at the frame's left.
    frame_->setGeometry(Px(240), Px(gridBottom + 60), Px(std::max(frameWidth, 3400)), Px(780));
    for (int k = 0; k < kind_.previewLength; ++k)
        panelChars_.push_back(MakePanelChar(frame_, *this, k, kind_.previewLeft));

    SetClientSize(grid_.RightTwips() + 240, gridBottom + 60 + 780 + 180);
}

NameBox* NameListEditor::Box(int row) const
{
    return grid_.Box(textColumn_, row);
}

QLabel* NameListEditor::PanelChar(int k) const
{
    return k >= 0 && k < PreviewLength() ? panelChars_[k] : nullptr;
}

void NameListEditor::ShowNameChar(int activeName)
{
    if (activeName < 0 || activeName >= kind_.rows) return;
    const Bytes& name = kind_.name(State(), activeName);
    for (int k = 0; k < PreviewLength(); ++k) {
        panelChars_[k]->setText(NameChar(name, k));
        panelChars_[k]->show();
    }
}

void NameListEditor::Refill()
{
    grid_.Refill();
    ShowNameChar(0);
}

namespace {

NameListKind ItemNames(const WindowInfo& info, QString what, NameArray PanelConfig::*member, bool byIoCount,
                       int offset = 735)
{
    NameListKind kind;
    kind.info = info;
    kind.numberLabel = "lbl" + what + "Number";
    kind.textBox = "txt" + what + "Name";
    if (byIoCount) kind.rowsShown = [](const PanelConfig& c) { return TotalIOCount(c); };
    kind.rowCaption = [what](int r) { return what + ' ' + TwoDigits(r + 1); };
    kind.name = [member](ProgramState& s, int r) -> Bytes& { return (s.Config.*member)[r]; };
    kind.boxOffset = offset;
    return kind;
}

NameListKind VantelNames()
{
    NameListKind kind;
    kind.info = frmT2EditVantelNames::Info;
    kind.numberLabel = "lblVantelNumber";
    kind.textBox = "txtVantelName";
    kind.rows = DeviceSlots - 1;
    kind.rowCaption = [](int r) { return "VT Node " + QStringLiteral("%1").arg(r + 1, 2, 16, QLatin1Char('0')).toUpper(); };
    kind.name = [](ProgramState& s, int r) -> Bytes& { return s.Devices[static_cast<std::size_t>(r) + 1].DeviceName; };
    kind.boxOffset = 960;
    kind.previewLength = 8;
    kind.previewLeft = 240;
    return kind;
}

}  // namespace

const WindowInfo frmT2EditRelayNames::Info{"frmT2EditRelayNames", "Edit Relay Names"};
const WindowInfo frmT2EditGroupNames::Info{"frmT2EditGroupNames", "Edit Group Names"};
const WindowInfo frmT2EditInputNames::Info{"frmT2EditInputNames", "Edit Input Names"};
const WindowInfo frmT2EditTimerNames::Info{"frmT2EditTimerNames", "Edit Timer Names"};
const WindowInfo frmT2EditPresetNames::Info{"frmT2EditPresetNames", "Edit Preset Names"};
const WindowInfo frmT2EditVantelNames::Info{"frmT2EditVantelNames", "Edit Vantel Names"};

frmT2EditRelayNames::frmT2EditRelayNames(ProgramState& state, QWidget* parent)
    : NameListEditor(state, ItemNames(Info, "Relay", &PanelConfig::RelayNames, true), parent) {}
frmT2EditGroupNames::frmT2EditGroupNames(ProgramState& state, QWidget* parent)
    : NameListEditor(state, ItemNames(Info, "Group", &PanelConfig::GroupNames, false), parent) {}
frmT2EditInputNames::frmT2EditInputNames(ProgramState& state, QWidget* parent)
    : NameListEditor(state, ItemNames(Info, "Input", &PanelConfig::InputNames, true), parent) {}
frmT2EditTimerNames::frmT2EditTimerNames(ProgramState& state, QWidget* parent)
    : NameListEditor(state, ItemNames(Info, "Timer", &PanelConfig::TimerNames, false), parent) {}
frmT2EditPresetNames::frmT2EditPresetNames(ProgramState& state, QWidget* parent)
    : NameListEditor(state, ItemNames(Info, "Preset", &PanelConfig::PresetNames, false, 855), parent) {}
frmT2EditVantelNames::frmT2EditVantelNames(ProgramState& state, QWidget* parent)
    : NameListEditor(state, VantelNames(), parent) {}

// ---------------------------------------------------------------------------

const WindowInfo frmT2EditPanelName::Info{"frmT2EditPanelName", "Edit Panel Name"};

frmT2EditPanelName::frmT2EditPanelName(ProgramState& state, QWidget* parent)
    : EditorWindow(state, Info, parent),
      chkDefaultPanelName_(new QCheckBox("Use Default Panel Name", this)),
      lblPanelName_(new QLabel("Panel Name", this)),
      txtPanelName_(new NameBox(this)),
      frmAsDisplayed_(new QGroupBox("As Displayed On Tamberline II", this))
{
    chkDefaultPanelName_->setObjectName("chkDefaultPanelName");
    chkDefaultPanelName_->setGeometry(Px(240), Px(240), Px(4200), Px(300));
    lblPanelName_->setObjectName("lblPanelName");
    lblPanelName_->setGeometry(Px(240), Px(720), Px(1200), Px(300));
    txtPanelName_->setObjectName("txtPanelName");
    txtPanelName_->setGeometry(Px(1440), Px(720), Px(3360), Px(300));
    frmAsDisplayed_->setObjectName("frmAsDisplayed");
    const int frameWidth = 120 * 2 + PanelNameLength * PreviewPitch;
    frmAsDisplayed_->setGeometry(Px(240), Px(1200), Px(frameWidth), Px(780));
    for (int k = 0; k < PanelNameLength; ++k) panelChars_.push_back(MakePanelChar(frmAsDisplayed_, *this, k, 120));

    // Checking the box stores the empty name, which stands for the default one;
    // emptying the text box does that (and marks the change) through its edit
    // handler. Unchecking changes no data.
    connect(chkDefaultPanelName_, &QCheckBox::clicked, this, [this](bool checked) {
        if (checked) txtPanelName_->setText(QString());
        ShowPanelChars();
    });
    connect(txtPanelName_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (filling_) return;
        Config().PanelName = FromScreen(text);
        MarkChanged();
        ShowPanelChars();
    });
    SetClientSize(240 + frameWidth + 240, 1200 + 780 + 240);
}

QLabel* frmT2EditPanelName::PanelChar(int k) const
{
    return k >= 0 && k < PanelNameLength ? panelChars_[k] : nullptr;
}

void frmT2EditPanelName::ShowPanelChars()
{
    const Bytes& name = Config().PanelName;
    for (int k = 0; k < PanelNameLength; ++k) panelChars_[k]->setText(NameChar(name, k));
    const bool useDefault = chkDefaultPanelName_->isChecked();
    lblPanelName_->setVisible(!useDefault);
    txtPanelName_->setVisible(!useDefault);
    frmAsDisplayed_->setVisible(!useDefault);
}

void frmT2EditPanelName::Refill()
{
    filling_ = true;
    const QString text = ToScreen(Config().PanelName);
    if (txtPanelName_->text() != text) txtPanelName_->setText(text);
    chkDefaultPanelName_->setChecked(Config().PanelName.empty());
    filling_ = false;
    ShowPanelChars();
}

}  // namespace t2
