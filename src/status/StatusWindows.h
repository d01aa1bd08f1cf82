// The live monitoring and control windows: relay, group and input status,
// Vantel device status, preset capture, the virtual keypad, the network
// diagnostic and the forcing of timers. Control names are the objectNames;
// an element of a control array is named "<array>_<index>".
#pragma once

#include "ClickLabel.h"
#include "StatusWindow.h"

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QPixmap>

#include <array>
#include <vector>

namespace t2 {

// Rows of the grid windows: relay, group, input, preset or timer i sits in
// column i / 16, line i % 16; offsets are from the column's left edge (twips).
QRect StatusRowRect(int item, int offset, int width, int height = 300);

// --- Relay Status -----------------------------------------------------------
class frmT2RelayStatus : public StatusWindow {
    Q_OBJECT
public:
    static const WindowInfo Info;
    explicit frmT2RelayStatus(ProgramState& state, QWidget* parent = nullptr);
    void ShowRelayStatus();

    std::array<QLabel*, ItemCount> lblRelayName{};
    std::array<QLabel*, ItemCount> lblRelayStatus{};
    std::array<QPushButton*, ItemCount> cmdTurnOff{};
    std::array<QPushButton*, ItemCount> cmdTurnOn{};
    QPushButton* cmdAllRelaysOff;
    QPushButton* cmdAllRelaysOn;

protected:
    void ReadStatus() override { ShowRelayStatus(); }
    void ShowConnected(bool connected) override;
    QList<QPushButton*> LockedWhilePolling() const override { return {cmdAllRelaysOff, cmdAllRelaysOn}; }

private:
    void AllRelays(bool on);
};

// --- Group Status -----------------------------------------------------------
class frmT2RelayGroupStatus : public StatusWindow {
    Q_OBJECT
public:
    static const WindowInfo Info;
    explicit frmT2RelayGroupStatus(ProgramState& state, QWidget* parent = nullptr);
    void ShowGroupStatus();

    std::array<QLabel*, ItemCount> lblGroupName{};
    std::array<QLabel*, ItemCount> lblGroupStatus{};
    std::array<QPushButton*, ItemCount> cmdTurnOff{};
    std::array<QPushButton*, ItemCount> cmdTurnOn{};

protected:
    void ReadStatus() override { ShowGroupStatus(); }
    void ShowConnected(bool connected) override;
};

// --- Input Status -----------------------------------------------------------
class frmT2InputStatus : public StatusWindow {
    Q_OBJECT
public:
    static const WindowInfo Info;
    explicit frmT2InputStatus(ProgramState& state, QWidget* parent = nullptr);
    void ShowInputStatus();

    std::array<QLabel*, ItemCount> lblInputName{};
    std::array<QLabel*, ItemCount> lblInputOffStatus{};
    std::array<QLabel*, ItemCount> lblInputOnStatus{};

protected:
    void ReadStatus() override { ShowInputStatus(); }
    void ShowConnected(bool connected) override;
};

// --- Capture Presets --------------------------------------------------------
class frmT2CapturePresets : public StatusWindow {
    Q_OBJECT
public:
    static const WindowInfo Info;
    explicit frmT2CapturePresets(ProgramState& state, QWidget* parent = nullptr);
    void ShowPresetStatus();
    void cmdSet_Click(int preset);
    void cmdCapture_Click(int preset);

    std::array<QLabel*, ItemCount> lblPresetName{};
    std::array<QLabel*, ItemCount> lblPresetStatus{};
    std::array<QPushButton*, ItemCount> cmdCapture{};
    std::array<QPushButton*, ItemCount> cmdSet{};

protected:
    void ReadStatus() override { ShowPresetStatus(); }
    void ShowConnected(bool connected) override;

private:
    void Capture(int preset);
};

// --- Vantel Status ----------------------------------------------------------
class frmT2VantelStatus : public StatusWindow {
    Q_OBJECT
public:
    static const WindowInfo Info;
    explicit frmT2VantelStatus(ProgramState& state, QWidget* parent = nullptr);
    // The reading of the selected device (nothing is sent for no device).
    void ShowStatus();
    // Reads "49" into the Device* fields; false when the link was lost.
    bool GetDeviceStatus(int device);

    int SelectedDevice = 0;
    std::array<bool, 9> DeviceInputOn{};
    bool DeviceResponding = false;
    int DeviceLightLevel = 0;

    QComboBox* cboVLinkDevice;
    QLabel* lblVLinkDeviceType;
    QGroupBox* fraStatus16;
    QGroupBox* fraStatus7;
    QGroupBox* fraStatus8;
    QGroupBox* fraStatusF;
    QLabel* lblPresent16;
    QLabel* lblPresent7;
    QLabel* lblPresent8;
    QLabel* lblPresentF;
    std::array<QLabel*, 6> lblInput16Number{};
    std::array<QLabel*, 6> lblInput16Status{};
    std::array<QLabel*, 4> lblInput7Number{};
    std::array<QLabel*, 8> lblInput7Status{};
    std::array<QLabel*, 6> lblInput8Number{};
    std::array<QLabel*, 6> lblInput8Status{};
    std::array<QLabel*, 8> lblInputFNumber{};
    std::array<QLabel*, 8> lblInputFStatus{};
    QLabel* lblLightLevelA;
    QLabel* lblLightLevel;

protected:
    void ReadStatus() override { ShowStatus(); }
    void ShowConnected(bool connected) override;
    bool ReadOnTcpActivate() const override { return false; }

private:
    QGroupBox* AddFrame(const QString& name, int height);
    void ShowOnly(QGroupBox* frame);
    void ShowRows(const std::array<QLabel*, 6>& numbers, const std::array<QLabel*, 6>& states, int shown);
};

// --- Virtual Keypad ---------------------------------------------------------
class frmT2VirtualKeypad : public StatusWindow {
    Q_OBJECT
public:
    static const WindowInfo Info;
    explicit frmT2VirtualKeypad(ProgramState& state, QWidget* parent = nullptr);
    void ShowFromCV();
    void cmdKey_Click(int key);

    int PendingKey = 0;
    std::array<int, 80> ShownChars{};
    int ShownLamps = 255;

    QFrame* fraDisplay;
    std::array<QLabel*, 80> lblLCD{};
    std::array<QLabel*, 80> imgCustomChar{};
    std::array<QLabel*, 8> imgSourceChar{};
    std::array<QPushButton*, 7> cmdKey{};

    // The eight custom characters of the display, 5 x 8 dots, one row per
    // byte (bit 4 is the leftmost dot).
    static const std::array<std::array<unsigned char, 8>, 8>& CustomCharacterDots();
    // The picture of custom character code (0..7), dots of dotPixels.
    static QPixmap CustomCharacterPicture(int code, int dotPixels, const QColor& ink);

protected:
    void ReadStatus() override { ShowFromCV(); }
    void ShowConnected(bool connected) override;
    void BeforeActivate() override;
    int SerialIntervalMs() const override { return 100; }
    int TcpIntervalMs() const override { return 250; }
};

// --- System Diagnostic ------------------------------------------------------
class frmT2SystemDiagnostic : public PanelWindow {
    Q_OBJECT
public:
    static const WindowInfo Info;
    explicit frmT2SystemDiagnostic(ProgramState& state, QWidget* parent = nullptr);

    void OnActivate() override;
    void StopPolling() override;

    void Timer1_Timer();
    void cmdStop_Click();
    void cmdClearTotals_Click();
    void cmdClearVTChanges_Click();
    void lblVTNode_Click(int index);

    bool TestStopped = false;
    // Cycles a test runs before it stops counting (10000); tests lower it.
    int CycleLimit = 10000;
    const status::NetworkTest& Test() const { return test_; }

    QTimer* Timer1;
    std::array<ClickLabel*, 32> lblVTNode{};
    std::array<QLabel*, 32> lblVTComError{};
    QLabel* lblNode;
    QLabel* lblCycleCount;
    QPushButton* cmdStop;
    QPushButton* cmdClearTotals;
    QPushButton* cmdClearVTChanges;

private:
    bool ReadNetwork(NetworkStatus& status);
    void FirstReading();
    status::NetworkTest test_;
    bool running_ = false;   // the test runs (menus disabled)
    bool reading_ = false;
};

// --- Force Timers -----------------------------------------------------------
class frmT2ForceTimers : public PanelWindow {
    Q_OBJECT
public:
    static const WindowInfo Info;
    explicit frmT2ForceTimers(ProgramState& state, QWidget* parent = nullptr);

    void OnActivate() override;
    void cmdForce_Click(int timer);
    bool Forcing() const { return forcing_; }

    std::array<QLabel*, ItemCount> lblTimerName{};
    std::array<QPushButton*, ItemCount> cmdForce{};
    QLabel* lblPleaseWait;

private:
    void Force(int timer);
    void ShowRows(bool shown);
    bool forcing_ = false;
};

}  // namespace t2
