// The name editors: the panel name and the six lists of names (relays, groups,
// inputs, timers, presets, Vantel devices). Every keystroke lands in the
// configuration at once; a row of one-character labels previews the name as
// the panel's display shows it.
#pragma once

#include "EditorWindow.h"

#include <functional>
#include <memory>
#include <vector>

class QCheckBox;
class QGroupBox;
class QLabel;

namespace t2 {

class NameBox;

class DisplayPreview;

// What sets one list editor apart from the others.
struct NameListKind {
    WindowInfo info;        // {"frmT2EditRelayNames", "Edit Relay Names"}
    QString what;           // "Relay": number labels lblRelayNumber, text boxes txtRelayName
    int rows = ItemCount;   // rows built
    std::function<int(const PanelConfig&)> rowsShown;   // empty: all rows
    std::function<QString(int row)> rowCaption;         // "Relay 01"
    std::function<Bytes&(ProgramState&, int row)> name; // the member of row
    int boxOffset = 735;    // text box left, right of the number label's left (twips)
    int previewLength = 10;
    int previewLeft = 120;  // first preview label's left in the frame
};

class NameListEditor : public EditorWindow {
    Q_OBJECT
public:
    NameListEditor(ProgramState& state, NameListKind kind, QWidget* parent = nullptr);
    ~NameListEditor() override;

    EditorGrid& Grid() const { return grid_; }
    NameBox* Box(int row) const;
    QLabel* PanelChar(int k) const;
    int PreviewLength() const;
    // Fills the preview labels from the name of row activeName.
    void ShowNameChar(int activeName);

protected:
    void Refill() override;

private:
    NameListKind kind_;
    EditorGrid& grid_;
    int textColumn_ = -1;
    std::unique_ptr<DisplayPreview> preview_;
};

class frmT2EditRelayNames : public NameListEditor {
public:
    static const WindowInfo Info;
    explicit frmT2EditRelayNames(ProgramState& state, QWidget* parent = nullptr);
};
class frmT2EditGroupNames : public NameListEditor {
public:
    static const WindowInfo Info;
    explicit frmT2EditGroupNames(ProgramState& state, QWidget* parent = nullptr);
};
class frmT2EditInputNames : public NameListEditor {
public:
    static const WindowInfo Info;
    explicit frmT2EditInputNames(ProgramState& state, QWidget* parent = nullptr);
};
class frmT2EditTimerNames : public NameListEditor {
public:
    static const WindowInfo Info;
    explicit frmT2EditTimerNames(ProgramState& state, QWidget* parent = nullptr);
};
class frmT2EditPresetNames : public NameListEditor {
public:
    static const WindowInfo Info;
    explicit frmT2EditPresetNames(ProgramState& state, QWidget* parent = nullptr);
};
class frmT2EditVantelNames : public NameListEditor {
public:
    static const WindowInfo Info;
    explicit frmT2EditVantelNames(ProgramState& state, QWidget* parent = nullptr);
};

// "Edit Panel Name".
class frmT2EditPanelName : public EditorWindow {
    Q_OBJECT
public:
    static const WindowInfo Info;
    explicit frmT2EditPanelName(ProgramState& state, QWidget* parent = nullptr);
    ~frmT2EditPanelName() override;

    QCheckBox* DefaultNameBox() const { return chkDefaultPanelName_; }
    NameBox* NameEdit() const { return txtPanelName_; }
    QLabel* PanelChar(int k) const;
    // Fills the 18 preview labels and shows or hides the edit controls.
    void ShowPanelChars();

protected:
    void Refill() override;

private:
    QCheckBox* chkDefaultPanelName_;
    QLabel* lblPanelName_;
    NameBox* txtPanelName_;
    std::unique_ptr<DisplayPreview> preview_;
    bool filling_ = false;
};

}  // namespace t2
