// The add-on module windows, one per AddOnModuleType: DMX (a channel per
// relay, on and off levels, filter), MODBus (mode, baud, parity) and those
// that only say that there is nothing to set.
#pragma once

#include "EditorWindow.h"

class QLabel;
class QPushButton;

namespace t2 {

// A window with one line of text and nothing to set.
class AddOnModuleNote : public EditorWindow {
    Q_OBJECT
public:
    AddOnModuleNote(ProgramState& state, const WindowInfo& info, const QString& text, QWidget* parent = nullptr);
    QLabel* Note() const { return lblNoAddOnModule_; }

private:
    QLabel* lblNoAddOnModule_;
};

// "Add On Module": no module installed.
class frmT2AddOnModuleNone : public AddOnModuleNote {
public:
    static const WindowInfo Info;
    explicit frmT2AddOnModuleNone(ProgramState& state, QWidget* parent = nullptr);
};
class frmT2AddOnModuleN2 : public AddOnModuleNote {
public:
    static const WindowInfo Info;
    explicit frmT2AddOnModuleN2(ProgramState& state, QWidget* parent = nullptr);
};
class frmT2AddOnModuleVoiceDTMF : public AddOnModuleNote {
public:
    static const WindowInfo Info;
    explicit frmT2AddOnModuleVoiceDTMF(ProgramState& state, QWidget* parent = nullptr);
};
class frmT2AddOnModuleBACnet : public AddOnModuleNote {
public:
    static const WindowInfo Info;
    explicit frmT2AddOnModuleBACnet(ProgramState& state, QWidget* parent = nullptr);
};

// "Add On Module ModBus".
class frmT2AddOnModuleModBus : public EditorWindow {
    Q_OBJECT
public:
    static const WindowInfo Info;
    explicit frmT2AddOnModuleModBus(ProgramState& state, QWidget* parent = nullptr);

    QComboBox* ModeList() const { return cboMode_.List(); }
    QComboBox* BaudList() const { return cboBaud_.List(); }
    QComboBox* ParityList() const { return cboParity_.List(); }

private:
    ValueList& cboMode_;
    ValueList& cboBaud_;
    ValueList& cboParity_;
};

// "Add On Module DMX".
class frmT2AddOnModuleDMX : public EditorWindow {
    Q_OBJECT
public:
    static const WindowInfo Info;
    static const QString OffLevelMessage;   // "Off Level Must Be Less Than On Level"
    static const QString OnLevelMessage;    // "On Level Must Be Greater Than Off Level"

    explicit frmT2AddOnModuleDMX(ProgramState& state, QWidget* parent = nullptr);

    EditorGrid& Grid() const { return grid_; }
    int ChannelColumn() const { return channelColumn_; }
    QComboBox* OnLevelList() const { return cboOnLevel_.List(); }
    QComboBox* OffLevelList() const { return cboOffLevel_.List(); }
    QComboBox* FilterList() const { return cboFilter_.List(); }
    QPushButton* AutoMapButton() const { return cmdAutoMap_; }
    // Relay whose channel label was clicked last (-1 before any).
    int EditRelay() const;

    // Redraws the channel labels, the Auto Map button and the three lists.
    void ShowDMXConfiguration() { Redraw(); }
    void Redraw() override;

    // Numbers every relay from relay 1's channel on; channels past the last
    // become no channel.
    void AutoMap();

private:
    EditorGrid& grid_;
    int channelColumn_ = -1;
    ValueList& cboOnLevel_;
    ValueList& cboOffLevel_;
    ValueList& cboFilter_;
    QPushButton* cmdAutoMap_;
};

}  // namespace t2
