// The program's child windows: one instance of each, created on first use and
// kept until exit, looked up by the window's name ("frmT2RelayOutputOptions").
//
// Every window is declared once, in the window catalog (WindowCatalog.cpp of
// the program): its name and caption (the window's own Info), its factory and
// where it hangs in the menu tree. The menus and the order CloseAllWindows
// walks are read from the catalog.
//
// The running main window is reached through Shell(): it opens, finds and
// closes windows, refreshes the status bar, switches the main menus and
// disconnects the panel. Windows get the shared state from their factory
// argument and may call Shell() at any time (it is null only when a test
// builds a window without a main window).
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QWidget;

namespace t2 {

struct ProgramState;

// ---------------------------------------------------------------------------
// Optional interface of a child window. A window is a QWidget; when it also
// derives from ChildWindow the main window calls these hooks:
//
//   class frmT2RelayOutputOptions : public QWidget, public t2::ChildWindow {
//       void OnActivate() override { /* refill names, redraw the grid */ }
//   };
//
// Windows that do not derive from ChildWindow are simply shown and closed.
class ChildWindow {
public:
    virtual ~ChildWindow() = default;

    // The window became the active child window: every time it is opened from
    // the menu (or by ShowWindow), and when the user switches to it from
    // another child window. Windows read what they show from the configuration
    // here. The first call comes after the window is constructed and shown.
    virtual void OnActivate() {}

    // Polling timers off. CloseAllWindows calls it on every open window it
    // closes and on frmT2Connect, which it only hides, so that an open panel
    // connection survives without polling in the background.
    virtual void StopPolling() {}

    // The configuration was replaced under the open window (undo, redo): show
    // it again, keeping what the window itself has chosen to show (the group,
    // input or device selected) where that still exists.
    virtual void ConfigurationReplaced() {}
};

// A window's name and caption, kept by the window class itself
// (frmT2RelayGrouping::Info) and read by the catalog.
struct WindowInfo {
    const char* name;      // "frmT2RelayGrouping"
    const char* caption;   // "Relay Grouping"
};

// Gives the widget its window name (object name) and caption.
void ApplyWindowInfo(QWidget* window, const WindowInfo& info);

// Builds the window. The main window owns the result (it becomes the widget of
// an MDI sub-window); the factory must not show it.
using WindowFactory = std::function<QWidget*(ProgramState&)>;

// One line of the window catalog.
struct WindowEntry {
    QString name;
    QString caption;
    // Where the window hangs in the menu tree: the menu item names from the
    // top, "mnuEdit/mnuRelayOutputs/mnuRelayOutputOptions"; empty for a window
    // no menu item opens. Windows that share one menu item are the choices of
    // that item (the Add-On Modules item opens the one of the module type).
    QString menu;
    QString menuCaption;     // the menu item's caption; empty: the caption
    WindowFactory factory;
};

// Adds a catalog line, in window-list order; a line for a name already there
// replaces it in place.
void RegisterWindow(WindowEntry entry);
// Replaces the factory of a window (a test's stand-in); a name not in the
// catalog is added at its end.
void RegisterWindow(const QString& name, WindowFactory factory);

// The catalog, in window-list order.
const std::vector<WindowEntry>& RegisteredWindows();
// The catalog line of a window, or null.
const WindowEntry* FindWindowEntry(const QString& name);

// The factory registered under name, or null when the window is not built.
const WindowFactory* FindWindowFactory(const QString& name);

// True when a factory is registered under name.
bool IsWindowBuilt(const QString& name);

// The names of the built windows, in window-list order.
QStringList RegisteredWindowNames();

// The window list that CloseAllWindows and ExitProgram walk, in order
// (frmT2Setup, frmT2Connect, frmT2RelayStatus, ... frmT2SystemDiagnostic).
const QStringList& WindowList();

// The windows that share the menu item of this window's menu path, in
// catalog order (one name for a window with a menu item of its own).
QStringList WindowsOfMenuItem(const QString& menu);

// The window the Add-On Modules menu opens for an AddOnModuleType: the
// AddOnModuleType-th window of that menu item (frmT2AddOnModuleNone ..
// frmT2AddOnModuleBACnet); any other value gives "".
QString AddOnModuleWindowName(int addOnModuleType);

// ---------------------------------------------------------------------------
// What the main window offers to the other windows.
class AppShell {
public:
    virtual ~AppShell() = default;

    virtual ProgramState& State() = 0;

    // Closes every open child window except frmT2Connect, which is only
    // hidden with its polling stopped. Errors are ignored window by window.
    virtual void CloseAllWindows() = 0;

    // The menu's way to open a window: CloseAllWindows, then ShowWindow.
    // Returns the window (null for a name that is not in the list and not
    // registered).
    virtual QWidget* OpenWindow(const QString& name) = 0;

    // Shows the window inside the main window (creating it on first use),
    // makes it the active one and calls its OnActivate. Closes nothing.
    virtual QWidget* ShowWindow(const QString& name) = 0;

    // Closes (hides) one window; the instance is kept.
    virtual void CloseWindow(const QString& name) = 0;

    // The window's instance, created on first use but not shown.
    virtual QWidget* Window(const QString& name) = 0;

    // The window's instance if it was ever created, else null.
    virtual QWidget* FindWindow(const QString& name) const = 0;

    // True while the window is shown inside the main window.
    virtual bool IsWindowOpen(const QString& name) const = 0;

    // Status bar: panel 1 " File Name: " + SettingsFileName, panel 2
    // "Connected"/"Disconnected"; also decides whether the connection window
    // shows its Network Diagnostics button (see NetworkDiagnosticsVisible).
    virtual void UpdateStatusBar() = 0;

    // Writes a text into status bar panel 2 (the exchange's retry texts).
    virtual void SetStatusPanel2(const QString& text) = 0;

    // The six top-level menus File, Connect, Setup, Edit, Document and About.
    virtual void EnableMainMenus() = 0;
    virtual void DisableMainMenus() = 0;

    // Set by UpdateStatusBar: true while the settings file is the maintenance
    // file (compared without regard to case).
    virtual bool NetworkDiagnosticsVisible() const = 0;

    // Drops the panel connection (the connection window's DisconnectCV) by
    // calling the disconnect handler; does nothing while none is set. The
    // session is closed on return; the link itself (a modem hang-up) is closed
    // at once, or during an exchange as soon as that exchange has failed.
    virtual void Disconnect() = 0;

    // Hooks the connection window installs (null uninstalls):
    //  - handler run by Disconnect();
    //  - handler told by UpdateStatusBar whether the Network Diagnostics
    //    button is to be visible.
    virtual void SetDisconnectHandler(std::function<void()> handler) = 0;
    virtual void SetNetworkDiagnosticsHandler(std::function<void(bool visible)> handler) = 0;
};

// The running main window, or null when there is none.
AppShell* Shell();

// Used by the main window itself.
void SetShell(AppShell* shell);

}  // namespace t2
