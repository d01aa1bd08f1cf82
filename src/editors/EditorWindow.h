// The base of every configuration editor window: it holds the program state,
// reads what it shows from the configuration whenever it is shown or becomes
// the active child window, hides its open pickers on a click on its
// background, and marks the configuration changed through SetDataChanged.
#pragma once

#include "PanelConfig.h"
#include "WindowRegistry.h"

#include <QWidget>

#include <memory>
#include <vector>

namespace t2 {

class EditorGrid;
struct GridGeometry;

class EditorWindow : public QWidget, public ChildWindow {
    Q_OBJECT
public:
    EditorWindow(ProgramState& state, const WindowInfo& info, QWidget* parent = nullptr);
    ~EditorWindow() override;

    ProgramState& State() const { return state_; }
    PanelConfig& Config() const { return state_.Config; }
    VantelDevices& Devices() const { return state_.Devices; }
    int IoCount() const;   // TotalIOCount of the configuration

    // DataChanged = true, told to whoever listens.
    void MarkChanged();

    // Pixels for twips at this window's logical dpi.
    int Px(int twips) const;

    // Reads everything shown from the configuration (the activation of the
    // window). Runs on every show and whenever the main window activates it.
    void OnActivate() override;

    // A new grid owned by this window; the window hides its pickers on a
    // background click.
    EditorGrid& AddGrid(const GridGeometry& geometry);

    // Hides every open picker of the window's grids.
    void HidePickers();

protected:
    virtual void Refill() = 0;
    // More to do on a background click, after the pickers are hidden.
    virtual void BackgroundClicked() {}

    // The window's size in twips.
    void SetClientSize(int widthTwips, int heightTwips);

    void showEvent(QShowEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    ProgramState& state_;
    std::vector<std::unique_ptr<EditorGrid>> grids_;
    bool refilling_ = false;
};

}  // namespace t2
