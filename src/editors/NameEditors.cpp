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

}  // namespace

// The frame "As Displayed On Tamberline II": one label per character the
// panel's display shows of a name, the first at first twips from the frame's
// left, wide enough for its caption.
class DisplayPreview {
public:
    DisplayPreview(EditorWindow& window, int left, int top, int length, int first);
    void Show(const Bytes& name);
    QLabel* Char(int k) const { return k >= 0 && k < Length() ? chars_[k] : nullptr; }
    int Length() const { return static_cast<int>(chars_.size()); }
    QGroupBox* Frame() const { return frame_; }

private:
    QGroupBox* frame_;
    std::vector<QLabel*> chars_;
};

DisplayPreview::DisplayPreview(EditorWindow& window, int left, int top, int length, int first)
    : frame_(window.AddFrame("frmAsDisplayed", "As Displayed On Tamberline II", left, top,
                             std::max(first * 2 + length * PreviewPitch, 3400), 780))
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setBold(true);
    for (int k = 0; k < length; ++k) {
        auto* label = new QLabel(frame_);
        EditorGrid::NameArrayElement(label, "lblPanelChar", k);
        label->setGeometry(window.Px(first + k * PreviewPitch), window.Px(300), window.Px(PreviewPitch - 15),
                           window.Px(360));
        label->setAlignment(Qt::AlignCenter);
        label->setFont(font);
        QPalette p = label->palette();
        p.setColor(QPalette::Window, QColor(24, 48, 24));
        p.setColor(QPalette::WindowText, QColor(120, 255, 120));
        label->setPalette(p);
        label->setAutoFillBackground(true);
        chars_.push_back(label);
    }
}

void DisplayPreview::Show(const Bytes& name)
{
    for (std::size_t k = 0; k < chars_.size(); ++k) {
        chars_[k]->setText(k < name.size() ? ToScreen(name.substr(k, 1)) : QString());
        chars_[k]->show();
    }
}

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
    grid_.Names({.label = "lbl" + kind_.what + "Number", .width = kind_.boxOffset - 30,
                 .text = kind_.rowCaption});
    if (kind_.rowsShown) grid_.RowsShown([this] { return kind_.rowsShown(Config()); });
    textColumn_ = grid_.AddText({.box = "txt" + kind_.what + "Name", .offset = kind_.boxOffset, .width = 1980,
                                 .text = [this](int r) { return ToScreen(kind_.name(State(), r)); },
                                 .edited = [this](int r, const QString& text) {
                                     kind_.name(State(), r) = FromScreen(text);
                                     ShowNameChar(r);
                                 },
                                 .touched = [this](int r) { ShowNameChar(r); }});

    const int gridBottom = 180 + 16 * 360;
    preview_ = std::make_unique<DisplayPreview>(*this, 240, gridBottom + 60, kind_.previewLength, kind_.previewLeft);
    SetClientSize(grid_.RightTwips() + 240, gridBottom + 60 + 780 + 180);
}

NameListEditor::~NameListEditor() = default;

NameBox* NameListEditor::Box(int row) const { return grid_.Box(textColumn_, row); }
QLabel* NameListEditor::PanelChar(int k) const { return preview_->Char(k); }
int NameListEditor::PreviewLength() const { return preview_->Length(); }

void NameListEditor::ShowNameChar(int activeName)
{
    if (activeName >= 0 && activeName < kind_.rows) preview_->Show(kind_.name(State(), activeName));
}

void NameListEditor::Refill() { ShowNameChar(0); }

namespace {

NameListKind NameListOf(const WindowInfo& info, QString what, NameArray PanelConfig::*member, bool byIoCount,
                       int offset = 735)
{
    NameListKind kind;
    kind.info = info;
    kind.what = what;
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
    kind.what = "Vantel";
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
    : NameListEditor(state, NameListOf(Info, "Relay", &PanelConfig::RelayNames, true), parent) {}
frmT2EditGroupNames::frmT2EditGroupNames(ProgramState& state, QWidget* parent)
    : NameListEditor(state, NameListOf(Info, "Group", &PanelConfig::GroupNames, false), parent) {}
frmT2EditInputNames::frmT2EditInputNames(ProgramState& state, QWidget* parent)
    : NameListEditor(state, NameListOf(Info, "Input", &PanelConfig::InputNames, true), parent) {}
frmT2EditTimerNames::frmT2EditTimerNames(ProgramState& state, QWidget* parent)
    : NameListEditor(state, NameListOf(Info, "Timer", &PanelConfig::TimerNames, false), parent) {}
frmT2EditPresetNames::frmT2EditPresetNames(ProgramState& state, QWidget* parent)
    : NameListEditor(state, NameListOf(Info, "Preset", &PanelConfig::PresetNames, false, 855), parent) {}
frmT2EditVantelNames::frmT2EditVantelNames(ProgramState& state, QWidget* parent)
    : NameListEditor(state, VantelNames(), parent) {}

// ---------------------------------------------------------------------------

const WindowInfo frmT2EditPanelName::Info{"frmT2EditPanelName", "Edit Panel Name"};

frmT2EditPanelName::frmT2EditPanelName(ProgramState& state, QWidget* parent)
    : EditorWindow(state, Info, parent),
      chkDefaultPanelName_(new QCheckBox("Use Default Panel Name", this)),
      lblPanelName_(AddLabel("lblPanelName", "Panel Name", 240, 720, 1200)),
      txtPanelName_(new NameBox(this)),
      preview_(std::make_unique<DisplayPreview>(*this, 240, 1200, PanelNameLength, 120))
{
    chkDefaultPanelName_->setObjectName("chkDefaultPanelName");
    chkDefaultPanelName_->setGeometry(Px(240), Px(240), Px(4200), Px(300));
    txtPanelName_->setObjectName("txtPanelName");
    txtPanelName_->setGeometry(Px(1440), Px(720), Px(3360), Px(300));

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
        MarkChanged(txtPanelName_);   // typing in the box is one step
        ShowPanelChars();
    });
    connect(txtPanelName_, &QLineEdit::editingFinished, this, [this] { EndTyping(txtPanelName_); });
    SetClientSize(240 + 120 * 2 + PanelNameLength * PreviewPitch + 240, 1200 + 780 + 240);
}

frmT2EditPanelName::~frmT2EditPanelName() = default;

QLabel* frmT2EditPanelName::PanelChar(int k) const { return preview_->Char(k); }

void frmT2EditPanelName::ShowPanelChars()
{
    preview_->Show(Config().PanelName);
    const bool useDefault = chkDefaultPanelName_->isChecked();
    lblPanelName_->setVisible(!useDefault);
    txtPanelName_->setVisible(!useDefault);
    preview_->Frame()->setVisible(!useDefault);
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
