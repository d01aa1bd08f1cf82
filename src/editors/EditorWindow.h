// The base of every configuration editor window. A window is a declaration:
// it adds grids, selectors and form controls bound to the configuration, and
// the base does the rest:
//  - activation (every time the window is opened or becomes the active child
//    window): selectors and name lists refilled, grids refilled, every control
//    showing its stored value, then Refill's extra work; the window sized to
//    its controls unless it set a size;
//  - a click on the window's (or a frame's) background hides open pickers;
//  - every user edit goes down one edit path, MarkChanged (DataChanged set,
//    the step recorded for undo under the window's caption), and the window
//    redraws;
//  - Tab goes through the window's selectors and form controls first (in
//    the order they were made), then through its grids, in the order they
//    were added (EditorGrid::FocusOrder).
#pragma once

#include "EditorGrid.h"
#include "FormControls.h"
#include "PanelConfig.h"
#include "WindowRegistry.h"

#include <QWidget>

#include <memory>
#include <vector>

class QGroupBox;
class QLabel;
class QPushButton;

namespace t2 {

class EditorWindow : public QWidget, public ChildWindow {
    Q_OBJECT
public:
    EditorWindow(ProgramState& state, const WindowInfo& info, QWidget* parent = nullptr);
    ~EditorWindow() override;

    ProgramState& State() const { return state_; }
    PanelConfig& Config() const { return state_.Config; }
    VantelDevices& Devices() const { return state_.Devices; }
    int IoCount() const;   // TotalIOCount of the configuration

    // The edit path: DataChanged set and the edit recorded for undo under the
    // window's caption. Edits with the same typing key (a text box while it
    // has the focus) make one step until EndTyping.
    void MarkChanged(const void* typing = nullptr);
    void EndTyping(const void* typing);
    // A user's edit through one of the window's controls: MarkChanged, Redraw.
    void Edited(const void* typing = nullptr);

    // Pixels for twips at this window's logical dpi.
    int Px(int twips) const;

    // Reads everything shown from the configuration (the activation of the
    // window). Runs on every show and whenever the main window activates it.
    void OnActivate() override;
    // After an undo or redo: everything refilled and redrawn, the selectors
    // keeping their choice.
    void ConfigurationReplaced() override;

    // Redraws every grid and control from the configuration; windows that
    // draw more (captions, frames) add it and call this.
    virtual void Redraw();

    // Hides every open picker of the window's grids.
    void HidePickers();
    // What a click on the window's background does (pickers hidden, then
    // BackgroundClicked); Escape in a picker does it too.
    void BackgroundClick();

    // --- Declaring the window (positions in twips, in the window or a frame) ---
    // host: the window (null) or a frame of it.
    EditorGrid& AddGrid(const GridGeometry& geometry, QWidget* host = nullptr);
    Selector& AddSelector(SelectorSpec desc);
    ValueList& AddValueList(ValueListSpec desc);
    OptionGroup& AddOptions(OptionsSpec desc);
    CheckBox& AddCheck(CheckSpec desc);
    BitBoxes& AddBitBoxes(BitBoxesSpec desc);
    // A frame whose background click hides the pickers like the window's.
    QGroupBox* AddFrame(const QString& name, const QString& caption, int left, int top, int width, int height,
                        QWidget* host = nullptr);
    QLabel* AddLabel(const QString& name, const QString& text, int left, int top, int width, int height = 300,
                     QWidget* host = nullptr);
    QPushButton* AddButton(const QString& name, const QString& text, int left, int top, int width,
                           int height = 360, QWidget* host = nullptr);

    // The name labels of a grid whose rows are items named in the
    // configuration (relays, groups, inputs, timers, presets), tool tip
    // toolTip + the two-digit number ("Relay 01").
    NameSpec ItemNames(const QString& label, NameArray PanelConfig::*names, const QString& toolTip) const;
    // The names of items 0..count-1, for a selector or a list.
    QStringList NameList(NameArray PanelConfig::*names, int count = ItemCount) const;

protected:
    // More to do on activation, after the controls and grids were refilled
    // and before the window redraws.
    virtual void Refill() {}
    // More to do on a background click, after the pickers are hidden.
    virtual void BackgroundClicked() {}

    // The window's size in twips (else it fits its controls).
    void SetClientSize(int widthTwips, int heightTwips);

    void showEvent(QShowEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FitToControls();
    void RefillAll(bool keepSelections);
    void ArrangeTabOrder();

    ProgramState& state_;
    std::vector<std::unique_ptr<EditorGrid>> grids_;
    std::vector<FormControl*> controls_;
    bool refilling_ = false;
    bool sized_ = false;
    bool tabOrdered_ = false;
};

}  // namespace t2
