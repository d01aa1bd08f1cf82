#include "SpecialFunctionWindows.h"

#include "ScreenText.h"

#include <QGroupBox>

namespace t2 {

namespace {

constexpr int OptionPitch = 360;

// A flag shown by two buttons: button 1 while it is set (non-zero), and
// stored as -1 for button 1, 0 for button 0.
int FlagButton(Integer flag) { return flag != 0 ? 1 : 0; }
Integer ButtonFlag(int index) { return index == 1 ? True : False; }

}  // namespace

OptionWindow::OptionWindow(ProgramState& state, OptionWindowKind kind, QWidget* parent)
    : EditorWindow(state, kind.info, parent),
      kind_(std::move(kind)),
      frame_(AddFrame(kind_.frame, kind_.frameCaption, 240, 240, kind_.width,
                      360 + static_cast<int>(kind_.captions.size()) * OptionPitch + 120)),
      options_(AddOptions({.name = kind_.options, .captions = Texts(kind_.captions), .left = 240, .top = 360,
                           .width = kind_.width - 360, .pitch = OptionPitch, .host = frame_,
                           .get = [this] { return kind_.get ? kind_.get(Config()) : clicked_; },
                           .set = [this](int k) {
                               if (kind_.set) {
                                   kind_.set(Config(), k);
                               } else {
                                   clicked_ = k;
                               }
                           }}))
{
}

// ---------------------------------------------------------------------------

const WindowInfo frmT2PhotocellFilter::Info{"frmT2PhotocellFilter", "Photocell Filter"};
const WindowInfo frmT2RTCSource::Info{"frmT2RTCSource", "RTC Source"};
const WindowInfo frmT2ConfigureTimedOn::Info{"frmT2ConfigureTimedOn", "Configure Timed-On"};
const WindowInfo frmT2RelayDrive::Info{"frmT2RelayDrive", "Relay Drive"};

frmT2PhotocellFilter::frmT2PhotocellFilter(ProgramState& state, QWidget* parent)
    : OptionWindow(state,
                   {.info = Info, .frame = "fraPhotocellFilter", .frameCaption = "Photocell Filter",
                    .options = "optPCFilter", .captions = PhotocellFilterTexts, .width = 3000,
                    .get = [](const PanelConfig& c) { return FlagButton(c.PhotocellFilterShort); },
                    .set = [](PanelConfig& c, int k) { c.PhotocellFilterShort = ButtonFlag(k); }},
                   parent)
{
}

frmT2RTCSource::frmT2RTCSource(ProgramState& state, QWidget* parent)
    : OptionWindow(state,
                   {.info = Info, .frame = "fraRTCSource", .frameCaption = "Real Time Clock Source",
                    .options = "optRTCSource", .captions = RtcSourceTexts, .width = 3000,
                    .get = [](const PanelConfig& c) { return int(c.RtcSource); },
                    .set = [](PanelConfig& c, int k) { c.RtcSource = static_cast<Integer>(k); }},
                   parent)
{
}

frmT2ConfigureTimedOn::frmT2ConfigureTimedOn(ProgramState& state, QWidget* parent)
    : OptionWindow(state,
                   {.info = Info, .frame = "fraConfigureTimedOn", .frameCaption = "Configure Timed On Operation",
                    .options = "optTimedOnOperation", .captions = TimedOnOperationTexts, .width = 4800,
                    .get = [](const PanelConfig& c) { return FlagButton(c.TimedOnStartsOnClose); },
                    .set = [](PanelConfig& c, int k) { c.TimedOnStartsOnClose = ButtonFlag(k); }},
                   parent)
{
}

frmT2RelayDrive::frmT2RelayDrive(ProgramState& state, QWidget* parent)
    : OptionWindow(state,
                   {.info = Info, .frame = "fraRelayDrive", .frameCaption = "Relay Drive",
                    .options = "optRelayDrive", .captions = RelayDriveTexts, .width = 3000},
                   parent)
{
}

// ---------------------------------------------------------------------------

const WindowInfo frmT2BlinkAlertAndAlarmSettings::Info{"frmT2BlinkAlertAndAlarmSettings",
                                                       "Blink Alert And Alarm Settings"};

frmT2BlinkAlertAndAlarmSettings::frmT2BlinkAlertAndAlarmSettings(ProgramState& state, QWidget* parent)
    : EditorWindow(state, Info, parent),
      frame_(AddFrame("fraBlinkAlertAndAlarmSettings", "Blink Alert And Alarm Settings", 240, 240, 4560, 1800)),
      cboBlinkAlert_(AddValueList({.name = "cboBlinkAlert", .left = 1560, .top = 360, .width = 2640, .host = frame_,
                                   .choices = Choices::Of(BlinkAlertMinutesList),
                                   .member = [this]() -> Integer& { return Config().BlinkAlertMinutes; }})),
      cboOverRide_(AddValueList({.name = "cboOverRide", .left = 1560, .top = 840, .width = 2640, .host = frame_,
                                 .choices = Choices::Of(OverrideMinutesList),
                                 .member = [this]() -> Integer& { return Config().OverrideMinutes; }})),
      cboAlarm_(AddValueList({.name = "cboAlarm", .left = 1560, .top = 1320, .width = 2640, .host = frame_,
                              .choices = Choices::Of(AlarmSecondsList),
                              .member = [this]() -> Integer& { return Config().AlarmSeconds; }}))
{
    AddLabel("lblBlinkAlert", "Blink Alert", 240, 390, 1200, 300, frame_);
    AddLabel("lblOverRide", "OverRide", 240, 870, 1200, 300, frame_);
    AddLabel("lblAlarm", "Alarm", 240, 1350, 1200, 300, frame_);
}

}  // namespace t2
