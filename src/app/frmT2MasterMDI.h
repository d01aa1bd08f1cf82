// The main window: the menus, the status bar, the child windows and the
// document life cycle (start-up, New, Open, Save, Save As, Exit).
#pragma once

#include "WindowRegistry.h"

#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>

#include <map>

namespace t2 {

class frmT2MasterMDI : public QMainWindow, public AppShell {
    Q_OBJECT
public:
    // Installs itself as Shell() and as the state's DataChangedHook while it lives.
    explicit frmT2MasterMDI(ProgramState& state, QWidget* parent = nullptr);
    ~frmT2MasterMDI() override;

    // The load event: size and centre, folders, About window, reset, delete
    // the maintenance file, start tmrFix.
    void Startup();

    // File commands.
    void FileNew();
    void FileOpen();
    void FileSave();      // writes to SettingsFileName
    void FileSaveAs();
    void SaveCommand();   // the Save menu item: Save As while there is no file
    void ExitCommand();   // the Exit menu item
    void ExitProgram();
    void AddOnModulesCommand();
    // File Export Names... and Import Names...: every name as one CSV file,
    // and such a file read back through a preview, accepted as one edit.
    void ExportNamesCommand();
    void ImportNamesCommand();
    // Edit Undo and Redo: the configuration before the last edit (after the
    // last undone one), every open window redrawn.
    void UndoCommand();
    void RedoCommand();

    // Reads a settings file as Open does once a file is chosen (the settings
    // file named on the command line, a recent file); false, with a message
    // and nothing changed, when it cannot be read.
    bool OpenSettingsFile(const QString& path);
    // A recent file from the File menu: the discard question, then the file;
    // one that no longer exists is taken off the list, with a message.
    void OpenRecentFile(const QString& path);
    // The recent files' menu items, from the list kept between runs.
    void UpdateRecentFileItems();

    // AppShell
    ProgramState& State() override { return state_; }
    void CloseAllWindows() override;
    QWidget* OpenWindow(const QString& name) override;
    QWidget* ShowWindow(const QString& name) override;
    void CloseWindow(const QString& name) override;
    // The open child window closed (Ctrl+F4), as by its close box.
    void CloseActiveWindow();
    QWidget* Window(const QString& name) override;
    QWidget* FindWindow(const QString& name) const override;
    bool IsWindowOpen(const QString& name) const override;
    void UpdateStatusBar() override;
    void SetStatusPanel2(const QString& text) override;
    void EnableMainMenus() override;
    void DisableMainMenus() override;
    bool NetworkDiagnosticsVisible() const override { return networkDiagnosticsVisible_; }
    void Disconnect() override;
    void SetDisconnectHandler(std::function<void()> handler) override;
    void SetNetworkDiagnosticsHandler(std::function<void(bool)> handler) override;

    // The caption: "VEL Tamberline II", " - " and the file's name when there
    // is one, " *" while there are unsaved changes.
    void UpdateCaption();
    // The Undo and Redo items: captioned with what they take back, enabled
    // while there is something to take back and the main menus are enabled.
    void UpdateUndoItems();

    // The menu item (or menu) of that mnu name, or null.
    QAction* MenuItem(const QString& name) const;
    // The top-level menu actions in order.
    QList<QAction*> TopMenus() const;

    // The normal-state size (11055 by 8145 twips).
    static QSize NormalSize();
    // The size the window keeps in the normal state: NormalSize, grown while
    // an open child window needs more room to show whole (as far as the
    // screen allows; the area scrolls beyond that).
    QSize KeptSize() const { return keptSize_; }

    QMdiArea* mdiArea;
    QLabel* StatusPanel1;
    QLabel* StatusPanel2;
    QTimer* tmrFix;
    QLabel* picBlockFlashing;

    bool ExitRequested = false;
    bool DialogFolderSet = false;

    static const QString Title;           // "VEL Tamberline II"
    static const QString FileFilter;      // the settings file dialog's filter
    static QString StartPattern();        // program folder + "*.TMB"

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void StartFreshConfiguration();
    void BuildMenus();
    void BuildRecentFileItems(QMenu* file);
    void RememberRecentFile(const std::string& path);
    void AddMenuItem(QWidget* parentMenu, QAction* action, const QString& name);
    void OpenMenuItem(const QString& menu);
    QMdiSubWindow* SubWindow(const QString& name);
    void Activate(QWidget* window);
    bool AskDiscard();
    void ConfigurationReplaced();
    void CloseAllWindows(bool includingConnect);
    QString NamesFileStart() const;
    void FitOpenWindows();

    ProgramState& state_;
    std::map<QString, QMdiSubWindow*> windows_;
    std::map<QString, QAction*> menuItems_;
    QList<QAction*> topMenus_;
    QWidget* activated_ = nullptr;
    bool networkDiagnosticsVisible_ = false;
    bool menusEnabled_ = true;
    bool started_ = false;
    QSize keptSize_ = NormalSize();
    std::function<void()> disconnectHandler_;
    std::function<void(bool)> networkDiagnosticsHandler_;
};

}  // namespace t2
