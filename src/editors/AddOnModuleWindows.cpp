#include "AddOnModuleWindows.h"

#include "Prompts.h"

#include <QLabel>
#include <QPushButton>

namespace t2 {

AddOnModuleNote::AddOnModuleNote(ProgramState& state, const WindowInfo& info, const QString& text, QWidget* parent)
    : EditorWindow(state, info, parent),
      lblNoAddOnModule_(AddLabel("lblNoAddOnModule", text, 480, 480, 3600))
{
    lblNoAddOnModule_->setAlignment(Qt::AlignCenter);
    SetClientSize(4560, 1260);
}

const WindowInfo frmT2AddOnModuleNone::Info{"frmT2AddOnModuleNone", "Add On Module"};
const WindowInfo frmT2AddOnModuleN2::Info{"frmT2AddOnModuleN2", "Add On Module N2"};
const WindowInfo frmT2AddOnModuleVoiceDTMF::Info{"frmT2AddOnModuleVoiceDTMF", "Add On Module Voice DTMF"};
const WindowInfo frmT2AddOnModuleBACnet::Info{"frmT2AddOnModuleBACnet", "Add On Module BACnet"};

namespace {

const QString NothingToSet = QStringLiteral("No Configuration Required");

}  // namespace

frmT2AddOnModuleNone::frmT2AddOnModuleNone(ProgramState& state, QWidget* parent)
    : AddOnModuleNote(state, Info, QStringLiteral("No Add On Module Installed"), parent) {}
frmT2AddOnModuleN2::frmT2AddOnModuleN2(ProgramState& state, QWidget* parent)
    : AddOnModuleNote(state, Info, NothingToSet, parent) {}
frmT2AddOnModuleVoiceDTMF::frmT2AddOnModuleVoiceDTMF(ProgramState& state, QWidget* parent)
    : AddOnModuleNote(state, Info, NothingToSet, parent) {}
frmT2AddOnModuleBACnet::frmT2AddOnModuleBACnet(ProgramState& state, QWidget* parent)
    : AddOnModuleNote(state, Info, NothingToSet, parent) {}

// ---------------------------------------------------------------------------

const WindowInfo frmT2AddOnModuleModBus::Info{"frmT2AddOnModuleModBus", "Add On Module ModBus"};

frmT2AddOnModuleModBus::frmT2AddOnModuleModBus(ProgramState& state, QWidget* parent)
    : EditorWindow(state, Info, parent),
      cboMode_(AddValueList({.name = "cboMode", .left = 1200, .top = 360, .width = 1440,
                             .choices = Choices::Of(ModbusProtocolTexts),
                             .member = [this]() -> Integer& { return Config().ModbusProtocol; }})),
      cboBaud_(AddValueList({.name = "cboBaud", .left = 1200, .top = 840, .width = 1440,
                             .choices = Choices::Of(ModbusBaudTexts),
                             .member = [this]() -> Integer& { return Config().ModbusBaud; }})),
      cboParity_(AddValueList({.name = "cboParity", .left = 1200, .top = 1320, .width = 1440,
                               .choices = Choices::Of(ModbusParityTexts),
                               .member = [this]() -> Integer& { return Config().ModbusParity; }}))
{
    AddLabel("lblMode", "Mode", 360, 390, 720);
    AddLabel("lblBaud", "Baud", 360, 870, 720);
    AddLabel("lblParity", "Parity", 360, 1350, 720);
    SetClientSize(4560, 1920);   // room for the caption
}

// ---------------------------------------------------------------------------

const WindowInfo frmT2AddOnModuleDMX::Info{"frmT2AddOnModuleDMX", "Add On Module DMX"};
const QString frmT2AddOnModuleDMX::OffLevelMessage = QStringLiteral("Off Level Must Be Less Than On Level");
const QString frmT2AddOnModuleDMX::OnLevelMessage = QStringLiteral("On Level Must Be Greater Than Off Level");

namespace {

constexpr int LevelsTop = 6240;   // the line of lists below the grid

// A level the rule refuses is not stored: the message says why and the list
// shows the stored level again; the configuration counts as changed all the same.
void Refuse(const QString& message) { Inform(QStringLiteral("Error"), message, PromptIcon::Information); }

}  // namespace

frmT2AddOnModuleDMX::frmT2AddOnModuleDMX(ProgramState& state, QWidget* parent)
    : EditorWindow(state, Info, parent),
      grid_(AddGrid({.left = 720, .top = 240})),
      cboOnLevel_(AddValueList({.name = "cboOnLevel", .left = 2040, .top = LevelsTop, .width = 900,
                                .choices = Choices::Of(DmxLevelList),
                                .get = [this] { return int(Config().DmxOnLevel); },
                                .set = [this](int level) {
                                    if (level <= Config().DmxOffLevel) return Refuse(OnLevelMessage);
                                    Config().DmxOnLevel = static_cast<Integer>(level);
                                }})),
      cboOffLevel_(AddValueList({.name = "cboOffLevel", .left = 4560, .top = LevelsTop, .width = 900,
                                 .choices = Choices::Of(DmxLevelList),
                                 .get = [this] { return int(Config().DmxOffLevel); },
                                 .set = [this](int level) {
                                     if (level >= Config().DmxOnLevel) return Refuse(OffLevelMessage);
                                     Config().DmxOffLevel = static_cast<Integer>(level);
                                 }})),
      cboFilter_(AddValueList({.name = "cboFilter", .left = 6840, .top = LevelsTop, .width = 720,
                               .choices = Choices::Of(DmxFilterList),
                               .member = [this]() -> Integer& { return Config().DmxFilter; }})),
      cmdAutoMap_(AddButton("cmdAutoMap", "Auto Map", 8640, LevelsTop - 30, 1320))
{
    grid_.Names(ItemNames("lblRelayName", &PanelConfig::RelayNames, "Relay "));
    grid_.RowsShown([this] { return IoCount(); });
    channelColumn_ = grid_.AddPicker({.label = "lblDMXChan", .picker = "cboNewDMX", .offset = 1335, .width = 1020,
                                      .choices = Choices::Of(DmxChannelList).WithNone(DmxNoChannelText, 0),
                                      .member = [this](int r) -> Integer& { return Config().DmxChannel[r]; }});
    for (int k = 0; k < 2; ++k) {
        QLabel* label = AddLabel({}, k == 0 ? "DMX On Level" : "DMX Off Level", k == 0 ? 720 : 3240, LevelsTop + 30,
                                 1260);
        EditorGrid::NameArrayElement(label, "lblLevel", k);
    }
    AddLabel("lblFilter", "DMX Filter", 5760, LevelsTop + 30, 1020);
    connect(cmdAutoMap_, &QPushButton::clicked, this, [this] {
        HidePickers();
        AutoMap();
    });
}

int frmT2AddOnModuleDMX::EditRelay() const { return grid_.EditRow(channelColumn_); }

void frmT2AddOnModuleDMX::Redraw()
{
    cmdAutoMap_->setVisible(Config().DmxChannel[0] != 0);
    EditorWindow::Redraw();
}

void frmT2AddOnModuleDMX::AutoMap()
{
    PanelConfig& c = Config();
    const int first = c.DmxChannel[0];
    for (int i = 0; i < ItemCount; ++i) {
        const int channel = first + i;
        c.DmxChannel[static_cast<std::size_t>(i)] = static_cast<Integer>(channel > DmxChannelList.last ? 0 : channel);
    }
    Edited();
}

}  // namespace t2
