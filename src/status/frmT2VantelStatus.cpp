// The live state of one Vantel network device, chosen from the list.
#include "StatusWindows.h"

#include "ScreenText.h"

namespace t2 {


namespace {

constexpr int FrameLeft = 240;
constexpr int FrameTop = 720;
constexpr int FrameWidth = 4320;
constexpr int RowTop = 720;        // first input row inside a frame
constexpr int RowPitch = 480;
constexpr int PushButtonFrameHeightMax = 480 * 6 + 855;

}  // namespace

QGroupBox* frmT2VantelStatus::AddFrame(const QString& name, int height)
{
    auto* f = new QGroupBox("Vantel Status", this);
    f->setObjectName(name);
    f->setGeometry(Px(FrameLeft), Px(FrameTop), Px(FrameWidth), Px(height));
    f->hide();
    return f;
}

namespace {

QLabel* FrameLabel(QWidget* frame, const QString& name, const QString& text, int left, int top, int width,
                   bool field)
{
    // A field is heard with what it shows; a caption by its text.
    QLabel* l = field ? new CellLabel(text, frame) : new QLabel(text, frame);
    l->setObjectName(name);
    const auto px = [frame](int twips) {
        const int dpi = frame->logicalDpiX() > 0 ? frame->logicalDpiX() : 96;
        return (twips * dpi + 720) / 1440;
    };
    l->setGeometry(px(left), px(top), px(width), px(300));
    if (field) {
        l->setAlignment(Qt::AlignCenter);
        l->setFrameShape(QFrame::Box);
        SetBackground(l, status::Grey);
    }
    return l;
}

void ShowOnOff(QLabel* label, bool on)
{
    label->setText(on ? "On" : "Off");
    SetBackground(label, on ? status::White : status::Grey);
}

}  // namespace

const WindowInfo frmT2VantelStatus::Info{"frmT2VantelStatus", "Vantel Status"};

frmT2VantelStatus::frmT2VantelStatus(ProgramState& state, QWidget* parent)
    : StatusWindow(state, Info, parent)
{
    cboVLinkDevice = new QComboBox(this);
    cboVLinkDevice->setObjectName("cboVLinkDevice");
    cboVLinkDevice->setAccessibleName("Vantel Device");
    cboVLinkDevice->setGeometry(Px(240), Px(240), Px(3000), cboVLinkDevice->sizeHint().height());
    cboVLinkDevice->setMaxVisibleItems(17);
    connect(cboVLinkDevice, &QComboBox::activated, this, [this](int index) { SelectedDevice = index; });

    lblVLinkDeviceType = AddLabel("lblVLinkDeviceType", "", 3480, 270, 2400);
    QFont bold = lblVLinkDeviceType->font();
    bold.setBold(true);
    lblVLinkDeviceType->setFont(bold);

    // Push-button stations; the height follows the number of buttons.
    fraStatus16 = AddFrame("fraStatus16", PushButtonFrameHeightMax);
    lblPresent16 = FrameLabel(fraStatus16, "lblPresent16", "", 240, 300, 3840, false);
    for (int r = 0; r < 6; ++r) {
        lblInput16Number[r] = FrameLabel(fraStatus16, Element("lblInput16Number", r), QString("Input %1").arg(r + 1),
                                         240, RowTop + RowPitch * r, 1200, false);
        lblInput16Status[r] = FrameLabel(fraStatus16, Element("lblInput16Status", r), "Off", 1560,
                                         RowTop + RowPitch * r, 720, true);
    }

    // KIM-4: four inputs, each with an "On" and an "Off" field.
    fraStatus7 = AddFrame("fraStatus7", RowTop + 4 * RowPitch + 120);
    lblPresent7 = FrameLabel(fraStatus7, "lblPresent7", "", 240, 300, 3840, false);
    for (int r = 0; r < 4; ++r)
        lblInput7Number[r] = FrameLabel(fraStatus7, Element("lblInput7Number", r), QString("Input %1").arg(r + 1), 240,
                                        RowTop + RowPitch * r, 1200, false);
    for (int i = 0; i < 8; ++i)
        lblInput7Status[i] = FrameLabel(fraStatus7, Element("lblInput7Status", i), i % 2 ? "Off" : "On",
                                        1560 + 840 * (i % 2), RowTop + RowPitch * (i / 2), 720, true);

    // R6: six inputs.
    fraStatus8 = AddFrame("fraStatus8", PushButtonFrameHeightMax);
    lblPresent8 = FrameLabel(fraStatus8, "lblPresent8", "", 240, 300, 3840, false);
    for (int r = 0; r < 6; ++r) {
        lblInput8Number[r] = FrameLabel(fraStatus8, Element("lblInput8Number", r), QString("Input %1").arg(r + 1), 240,
                                        RowTop + RowPitch * r, 1200, false);
        lblInput8Status[r] = FrameLabel(fraStatus8, Element("lblInput8Status", r), "Off", 1560,
                                        RowTop + RowPitch * r, 720, true);
    }

    // Photocell: eight inputs and the light level.
    fraStatusF = AddFrame("fraStatusF", RowTop + 8 * RowPitch + 600);
    lblPresentF = FrameLabel(fraStatusF, "lblPresentF", "", 240, 300, 3840, false);
    for (int r = 0; r < 8; ++r) {
        lblInputFNumber[r] = FrameLabel(fraStatusF, Element("lblInputFNumber", r), QString("Input %1").arg(r + 1), 240,
                                        RowTop + RowPitch * r, 1200, false);
        lblInputFStatus[r] = FrameLabel(fraStatusF, Element("lblInputFStatus", r), "Off", 1560,
                                        RowTop + RowPitch * r, 720, true);
    }
    lblLightLevelA = FrameLabel(fraStatusF, "lblLightLevelA", "Light Level", 240, RowTop + 8 * RowPitch, 1200, false);
    lblLightLevel = FrameLabel(fraStatusF, "lblLightLevel", "", 1560, RowTop + 8 * RowPitch, 2400, false);
    // The fields by the input they stand for ("Input 2, Status"; the KIM-4's "Input 2, On").
    for (int r = 0; r < 6; ++r) {
        lblInput16Status[r]->setAccessibleName(lblInput16Number[r]->text() + ", Status");
        lblInput8Status[r]->setAccessibleName(lblInput8Number[r]->text() + ", Status");
    }
    for (int i = 0; i < 8; ++i) {
        lblInput7Status[i]->setAccessibleName(lblInput7Number[i / 2]->text() + ", " + lblInput7Status[i]->text());
        lblInputFStatus[i]->setAccessibleName(lblInputFNumber[i]->text() + ", Status");
    }

    PlaceUpdateControls(240, 6120);
    PlaceNoConnection(240, 2640, 6000);
    SetClientSize(6480, 6720);
    ShowConnected(false);
}

void frmT2VantelStatus::ShowOnly(QGroupBox* frame)
{
    for (QGroupBox* f : {fraStatus16, fraStatus7, fraStatus8, fraStatusF}) f->setVisible(f == frame);
}

void frmT2VantelStatus::ShowConnected(bool connected)
{
    ShowOnly(nullptr);
    lblVLinkDeviceType->hide();
    cboVLinkDevice->setVisible(connected);
    if (!connected) {
        Timer1->stop();
        return;
    }
    cboVLinkDevice->clear();
    cboVLinkDevice->addItem("Select Device");
    for (int d = 1; d < DeviceSlots; ++d) cboVLinkDevice->addItem(ToScreen(State().Devices[d].DeviceName));
    if (SelectedDevice < 0 || SelectedDevice >= cboVLinkDevice->count()) SelectedDevice = 0;
    cboVLinkDevice->setCurrentIndex(SelectedDevice);
}

bool frmT2VantelStatus::GetDeviceStatus(int device)
{
    std::optional<NetworkStatus> status;
    if (Send(NetworkStatusCommand())) status = ReadNetworkStatus(Reply());
    if (!status) {
        LinkLost();
        return false;
    }
    const status::DeviceReading r = status::DeviceFromStatus(*status, device);
    for (int i = 0; i < 8; ++i) DeviceInputOn[i] = r.inputOn[i];
    DeviceResponding = r.responding;
    DeviceLightLevel = r.lightLevel;
    return true;
}

void frmT2VantelStatus::ShowRows(const std::array<QLabel*, 6>& numbers, const std::array<QLabel*, 6>& states,
                                 int shown)
{
    for (int r = 0; r < 6; ++r) {
        const bool visible = DeviceResponding && r < shown;
        numbers[r]->setVisible(visible);
        states[r]->setVisible(visible);
        if (visible) ShowOnOff(states[r], DeviceInputOn[r]);
    }
}

void frmT2VantelStatus::ShowStatus()
{
    const int d = SelectedDevice;
    const int type = (d >= 1 && d < DeviceSlots) ? State().Devices[d].DeviceType : 0;
    if (type == 0) {
        ShowOnly(nullptr);
        lblVLinkDeviceType->hide();
        return;
    }
    if (type < 0 || type > 9) return;  // a type this window does not know

    lblVLinkDeviceType->setText(QString::fromStdString(status::DeviceTypeText(type)));
    lblVLinkDeviceType->show();
    if (type <= 6) {
        fraStatus16->resize(fraStatus16->width(), Px(status::PushButtonFrameHeight(type)));
        ShowOnly(fraStatus16);
        if (!GetDeviceStatus(d)) return;
        lblPresent16->setText(QString::fromStdString(status::PresenceText(DeviceResponding)));
        ShowRows(lblInput16Number, lblInput16Status, type);
    } else if (type == 7) {
        ShowOnly(fraStatus7);
        if (!GetDeviceStatus(d)) return;
        lblPresent7->setText(QString::fromStdString(status::PresenceText(DeviceResponding)));
        for (QLabel* l : lblInput7Number) l->setVisible(DeviceResponding);
        for (int i = 0; i < 8; ++i) {
            lblInput7Status[i]->setVisible(DeviceResponding);
            SetBackground(lblInput7Status[i], DeviceInputOn[i] ? status::White : status::Grey);
        }
    } else if (type == 8) {
        ShowOnly(fraStatus8);
        if (!GetDeviceStatus(d)) return;
        lblPresent8->setText(QString::fromStdString(status::PresenceText(DeviceResponding)));
        ShowRows(lblInput8Number, lblInput8Status, 6);
    } else {
        ShowOnly(fraStatusF);
        if (!GetDeviceStatus(d)) return;
        lblPresentF->setText(QString::fromStdString(status::PresenceText(DeviceResponding)));
        for (int r = 0; r < 8; ++r) {
            lblInputFNumber[r]->setVisible(DeviceResponding);
            lblInputFStatus[r]->setVisible(DeviceResponding);
            if (DeviceResponding) ShowOnOff(lblInputFStatus[r], DeviceInputOn[r]);
        }
        lblLightLevelA->setVisible(DeviceResponding);
        lblLightLevel->setVisible(DeviceResponding);
        lblLightLevel->setText(QString::fromStdString(status::LightLevelText(DeviceLightLevel)));
    }
}

}  // namespace t2
