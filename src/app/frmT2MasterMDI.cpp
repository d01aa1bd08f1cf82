#include "frmT2MasterMDI.h"

#include "LinkLost.h"
#include "PlainTextLabels.h"
#include "Prompts.h"
#include "RecentFiles.h"
#include "Twips.h"

#include "CodeTexts.h"
#include "Defaults.h"
#include "SettingsFile.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>

#include <algorithm>

namespace t2 {

const QString frmT2MasterMDI::Title = "VEL Tamberline II";
const QString frmT2MasterMDI::FileFilter = "Tamberline II Data Files (*.TMB *.tmb);;All Files (*)";

namespace {

QString ToQString(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }
std::string ToPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

QString frmT2MasterMDI::StartPattern()
{
    return QDir::toNativeSeparators(QDir(ToQString(ProgramFolder())).filePath("*.TMB"));
}

QSize frmT2MasterMDI::NormalSize() { return TwipsSize(11055, 8145); }

frmT2MasterMDI::frmT2MasterMDI(ProgramState& state, QWidget* parent)
    : QMainWindow(parent), state_(state)
{
    setObjectName("frmT2MasterMDI");
    setWindowTitle(Title);
    UsePlainTextLabels();

    mdiArea = new QMdiArea(this);
    mdiArea->setObjectName("mdiArea");
    mdiArea->setBackground(QColor(0x80, 0x80, 0x80));
    // On a screen too small for a child window the area scrolls.
    mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdiArea);
    connect(mdiArea, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* sub) {
        if (sub && sub->widget() && sub->widget() != activated_) Activate(sub->widget());
    });

    picBlockFlashing = new QLabel("Loading VEL Tamberline II Pro...", mdiArea);
    picBlockFlashing->setObjectName("picBlockFlashing");
    picBlockFlashing->setAlignment(Qt::AlignCenter);
    picBlockFlashing->setFrameShape(QFrame::Box);
    picBlockFlashing->setAutoFillBackground(true);
    picBlockFlashing->setGeometry(TwipsRect(2400, 2400, 4800, 900));
    picBlockFlashing->hide();

    StatusPanel1 = new QLabel(this);
    StatusPanel1->setObjectName("StatusPanel1");
    StatusPanel2 = new QLabel(this);
    StatusPanel2->setObjectName("StatusPanel2");
    StatusPanel2->setMinimumWidth(Twips(2400));
    statusBar()->addWidget(StatusPanel1, 1);
    statusBar()->addWidget(StatusPanel2, 0);
    statusBar()->setSizeGripEnabled(false);

    tmrFix = new QTimer(this);
    tmrFix->setObjectName("tmrFix");
    tmrFix->setInterval(1000);
    tmrFix->setSingleShot(true);
    connect(tmrFix, &QTimer::timeout, this, [this] {
        tmrFix->stop();
        SetDataChanged(state_, false);
    });

    BuildMenus();

    // Ctrl+F4 closes the open child window as its close box does (one is open
    // at a time, so Ctrl+Tab has nothing to go to).
    auto* closeChild = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F4), this);
    closeChild->setObjectName("keyCloseWindow");
    connect(closeChild, &QShortcut::activated, this, &frmT2MasterMDI::CloseActiveWindow);

    SetShell(this);
    state_.DataChangedHook = [this] {
        UpdateCaption();
        UpdateUndoItems();
    };
    UpdateStatusBar();
}

frmT2MasterMDI::~frmT2MasterMDI()
{
    Disconnect();
    state_.DataChangedHook = nullptr;
    if (Shell() == this) SetShell(nullptr);
}

namespace {

// The captions of the menus that hold other items. The six top-level menus
// come in this order; every item that opens a window comes from the window
// catalog, in catalog order within its menu.
struct MenuCaption {
    const char* name;
    const char* caption;
};
constexpr MenuCaption TopMenuCaptions[] = {
    {"mnuFile", "&File"}, {"mnuConnect", nullptr}, {"mnuSetup", nullptr},
    {"mnuEdit", "&Edit"}, {"mnuDocument", nullptr}, {"mnuAbout", nullptr},
};
constexpr MenuCaption SubMenuCaptions[] = {
    {"mnuRelayOutputs", "Relay Outputs"},     {"mnuSwitchInputs", "Switch Inputs"},
    {"mnuLocalInputs", "Local Inputs"},       {"mnuVantelInputs", "Vantel Inputs"},
    {"mnuSwitchPilots", "Switch Pilots"},     {"mnuTimers", "Timers"},
    {"mnuSetTimes", "Set Times"},             {"mnuOpenAndCloseTimes", "Open And Close Times"},
    {"mnuOffHoursSweeps", "Off Hours Sweeps"}, {"mnuPresets", "Presets"},
    {"mnuSpecialFunctions", "Special Functions"}, {"mnuEditNames", "Edit Names"},
};

QString SubMenuCaption(const QString& name)
{
    for (const MenuCaption& m : SubMenuCaptions)
        if (name == QLatin1String(m.name)) return QString::fromLatin1(m.caption);
    return name;
}

}  // namespace

void frmT2MasterMDI::BuildMenus()
{
    std::map<QString, QMenu*> menus;
    for (const MenuCaption& top : TopMenuCaptions) {
        if (top.caption) {
            auto* menu = new QMenu(QString::fromLatin1(top.caption), menuBar());
            menu->setObjectName(top.name);
            menus[top.name] = menu;
            AddMenuItem(menuBar(), menu->menuAction(), top.name);
        } else {
            // A top-level item that opens a window: captioned from the catalog below.
            AddMenuItem(menuBar(), new QAction(menuBar()), top.name);
        }
        topMenus_ << menuItems_.at(top.name);
    }

    // File commands and their keys.
    QMenu* file = menus.at("mnuFile");
    auto command = [this, file](const char* name, const char* caption, auto handler, QKeySequence key) {
        auto* a = new QAction(caption, file);
        AddMenuItem(file, a, name);
        connect(a, &QAction::triggered, this, handler);
        if (!key.isEmpty()) a->setShortcut(key);
    };
    command("mnuNew", "New", &frmT2MasterMDI::FileNew, QKeySequence(Qt::CTRL | Qt::Key_N));
    command("mnuOpen", "Open", &frmT2MasterMDI::FileOpen, QKeySequence(Qt::CTRL | Qt::Key_O));
    command("mnuSave", "Save", &frmT2MasterMDI::SaveCommand, QKeySequence(Qt::CTRL | Qt::Key_S));
    command("mnuSaveAs", "Save As", &frmT2MasterMDI::FileSaveAs, QKeySequence());
    auto* space = new QAction(file);
    space->setSeparator(true);
    AddMenuItem(file, space, "mnuSpace");
    command("mnuExportNames", "Export Names...", &frmT2MasterMDI::ExportNamesCommand, QKeySequence());
    command("mnuImportNames", "Import Names...", &frmT2MasterMDI::ImportNamesCommand, QKeySequence());
    auto* namesSpace = new QAction(file);
    namesSpace->setSeparator(true);
    AddMenuItem(file, namesSpace, "mnuNamesSpace");
    BuildRecentFileItems(file);
    command("mnuExit", "Exit", &frmT2MasterMDI::ExitCommand, QKeySequence(Qt::CTRL | Qt::Key_Q));

    // Undo and Redo at the top of the Edit menu.
    QMenu* edit = menus.at("mnuEdit");
    auto* undo = new QAction("Undo", edit);
    AddMenuItem(edit, undo, "mnuUndo");
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    connect(undo, &QAction::triggered, this, &frmT2MasterMDI::UndoCommand);
    auto* redo = new QAction("Redo", edit);
    AddMenuItem(edit, redo, "mnuRedo");
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    connect(redo, &QAction::triggered, this, &frmT2MasterMDI::RedoCommand);
    auto* editSpace = new QAction(edit);
    editSpace->setSeparator(true);
    AddMenuItem(edit, editSpace, "mnuEditSpace");
    UpdateUndoItems();

    // The windows, from the catalog.
    for (const WindowEntry& entry : RegisteredWindows()) {
        if (entry.menu.isEmpty()) continue;
        const QStringList path = entry.menu.split('/');
        const QString item = path.back();
        QAction* action = MenuItem(item);
        if (!action) {
            QWidget* parent = menuBar();
            for (qsizetype k = 0; k + 1 < path.size(); ++k) {
                QMenu*& menu = menus[path[k]];
                if (!menu) {
                    menu = new QMenu(SubMenuCaption(path[k]), parent);
                    menu->setObjectName(path[k]);
                    AddMenuItem(parent, menu->menuAction(), path[k]);
                }
                parent = menu;
            }
            action = new QAction(parent);
            AddMenuItem(parent, action, item);
        } else if (action->property("opens").isValid()) {
            continue;   // an item several windows share is set up by the first
        }
        action->setText(entry.menuCaption.isEmpty() ? entry.caption : entry.menuCaption);
        action->setProperty("opens", entry.menu);
        const QString menu = entry.menu;
        connect(action, &QAction::triggered, this, [this, menu] { OpenMenuItem(menu); });
    }

    // Relay Drive starts disabled and nothing enables it.
    if (QAction* relayDrive = MenuItem("mnuRelayDrive")) relayDrive->setEnabled(false);
}

// The recent files come above Exit, numbered with their access keys, and a
// separator after them; items without a file stay hidden.
void frmT2MasterMDI::BuildRecentFileItems(QMenu* file)
{
    for (int k = 0; k < RecentFiles::MaximumCount; ++k) {
        auto* item = new QAction(file);
        AddMenuItem(file, item, "mnuRecentFile_" + QString::number(k));
        connect(item, &QAction::triggered, this, [this, item] { OpenRecentFile(item->data().toString()); });
    }
    auto* space = new QAction(file);
    space->setSeparator(true);
    AddMenuItem(file, space, "mnuRecentSpace");
    // Another copy of the program may have opened a file meanwhile.
    connect(file, &QMenu::aboutToShow, this, &frmT2MasterMDI::UpdateRecentFileItems);
    UpdateRecentFileItems();
}

void frmT2MasterMDI::UpdateRecentFileItems()
{
    const QStringList list = RecentFiles::List();
    for (int k = 0; k < RecentFiles::MaximumCount; ++k) {
        QAction* item = MenuItem("mnuRecentFile_" + QString::number(k));
        const bool used = k < list.size();
        item->setVisible(used);
        item->setText(used ? RecentFiles::MenuCaption(list, k) : QString());
        item->setData(used ? list[k] : QString());
        item->setStatusTip(used ? QDir::toNativeSeparators(list[k]) : QString());
    }
    MenuItem("mnuRecentSpace")->setVisible(!list.isEmpty());
}

void frmT2MasterMDI::RememberRecentFile(const std::string& path)
{
    RecentFiles::Remember(ToQString(path));
    UpdateRecentFileItems();
}

void frmT2MasterMDI::AddMenuItem(QWidget* parentMenu, QAction* action, const QString& name)
{
    action->setObjectName(name);
    parentMenu->addAction(action);
    menuItems_[name] = action;
}

void frmT2MasterMDI::OpenMenuItem(const QString& menu)
{
    const QStringList windows = WindowsOfMenuItem(menu);
    if (windows.size() > 1) {
        AddOnModulesCommand();   // the item of several windows: the one of the module type
    } else if (!windows.isEmpty()) {
        OpenWindow(windows.front());
    }
}

QAction* frmT2MasterMDI::MenuItem(const QString& name) const
{
    auto it = menuItems_.find(name);
    return it == menuItems_.end() ? nullptr : it->second;
}

QList<QAction*> frmT2MasterMDI::TopMenus() const { return topMenus_; }

// ---------------------------------------------------------------------------
// Windows

QMdiSubWindow* frmT2MasterMDI::SubWindow(const QString& name)
{
    auto it = windows_.find(name);
    if (it != windows_.end()) return it->second;

    const WindowFactory* factory = FindWindowFactory(name);
    QWidget* widget = factory ? (*factory)(state_) : nullptr;
    if (!widget) return nullptr;
    if (widget->objectName().isEmpty()) widget->setObjectName(name);
    widget->setAttribute(Qt::WA_DeleteOnClose, false);

    auto* sub = new QMdiSubWindow;
    sub->setObjectName(name + "_frame");
    sub->setAttribute(Qt::WA_DeleteOnClose, false);
    sub->setWidget(widget);
    sub->setWindowTitle(widget->windowTitle());
    sub->setWindowFlags(Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                        Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    // Ctrl+F4 is the main window's (CloseActiveWindow): the frame's own
    // close item would make the key ambiguous, so that nothing happened.
    if (QMenu* menu = sub->systemMenu()) {
        for (QAction* item : menu->actions()) {
            QList<QKeySequence> keys = item->shortcuts();
            if (keys.removeAll(QKeySequence(Qt::CTRL | Qt::Key_F4)) > 0) item->setShortcuts(keys);
        }
    }
    mdiArea->addSubWindow(sub);
    sub->hide();
    windows_[name] = sub;
    return sub;
}

QWidget* frmT2MasterMDI::Window(const QString& name)
{
    QMdiSubWindow* sub = SubWindow(name);
    return sub ? sub->widget() : nullptr;
}

QWidget* frmT2MasterMDI::FindWindow(const QString& name) const
{
    auto it = windows_.find(name);
    return it == windows_.end() ? nullptr : it->second->widget();
}

bool frmT2MasterMDI::IsWindowOpen(const QString& name) const
{
    auto it = windows_.find(name);
    return it != windows_.end() && !it->second->isHidden() && it->second->widget() &&
           !it->second->widget()->isHidden();
}

void frmT2MasterMDI::Activate(QWidget* window)
{
    activated_ = window;
    if (auto* child = dynamic_cast<ChildWindow*>(window)) child->OnActivate();
}

QWidget* frmT2MasterMDI::ShowWindow(const QString& name)
{
    QMdiSubWindow* sub = SubWindow(name);
    if (!sub) return nullptr;
    QWidget* widget = sub->widget();
    const bool wasHidden = sub->isHidden();
    if (wasHidden && activated_ == widget) activated_ = nullptr;  // showing again is a new activation
    widget->show();  // closing the frame closed (hid) the window inside it too
    sub->show();
    if (wasHidden) {
        // Fit the frame around the window's own size (known only once the
        // frame is shown), at the top left corner of the main window.
        const QSize inner = widget->testAttribute(Qt::WA_Resized) ? widget->size() : widget->sizeHint();
        const QMargins frame = sub->contentsMargins();
        sub->resize(inner.grownBy(frame).expandedTo(sub->minimumSizeHint()));
        sub->move(0, 0);
    }
    sub->raise();
    mdiArea->setActiveSubWindow(sub);
    if (activated_ != widget) Activate(widget);
    FitOpenWindows();
    return widget;
}

// A child window wider or taller than the main window's client area would
// show cut off, its close box out of reach: the main window grows to hold the
// open windows whole, and back to its normal size when they fit that.
void frmT2MasterMDI::FitOpenWindows()
{
    if (!isVisible()) return;   // sized once shown (showEvent)
    QSize needed;
    for (const auto& [name, sub] : windows_)
        if (!sub->isHidden()) needed = needed.expandedTo(QSize(sub->x() + sub->width(), sub->y() + sub->height()));
    // What the window needs around the area: menu, status bar, the area's frame.
    QSize wanted = needed + (size() - mdiArea->maximumViewportSize());
    if (const QScreen* screen = this->screen())
        wanted = wanted.boundedTo(screen->availableGeometry().size() - (frameGeometry().size() - size()));
    keptSize_ = NormalSize().expandedTo(wanted);
    if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) return;
    if (size() == keptSize_) return;
    resize(keptSize_);
    // Grown, it stays on the screen.
    if (const QScreen* screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        QRect frame = frameGeometry();
        frame.moveRight(std::min(frame.right(), area.right()));
        frame.moveBottom(std::min(frame.bottom(), area.bottom()));
        if (frame.topLeft() != frameGeometry().topLeft())
            move(std::max(frame.left(), area.left()), std::max(frame.top(), area.top()));
    }
}

QWidget* frmT2MasterMDI::OpenWindow(const QString& name)
{
    CloseAllWindows();
    return ShowWindow(name);
}

void frmT2MasterMDI::CloseWindow(const QString& name)
{
    auto it = windows_.find(name);
    if (it == windows_.end() || it->second->isHidden()) return;
    if (auto* child = dynamic_cast<ChildWindow*>(it->second->widget())) child->StopPolling();
    it->second->close();
}

void frmT2MasterMDI::CloseActiveWindow()
{
    const QMdiSubWindow* active = mdiArea->activeSubWindow();
    for (const auto& [name, sub] : windows_) {
        if (sub->isHidden() || (active && sub != active)) continue;
        CloseWindow(name);
        return;
    }
}

void frmT2MasterMDI::CloseAllWindows() { CloseAllWindows(false); }

void frmT2MasterMDI::CloseAllWindows(bool includingConnect)
{
    // The fixed list first, in its order, then any other registered windows.
    QStringList names = WindowList();
    for (const auto& [name, sub] : windows_)
        if (!names.contains(name)) names << name;
    for (const QString& name : names) {
        auto it = windows_.find(name);
        if (it == windows_.end()) continue;  // never opened
        QMdiSubWindow* sub = it->second;
        if (name == "frmT2Connect" && !includingConnect) {
            // Only hidden, so that an open connection survives; no polling meanwhile.
            if (auto* child = dynamic_cast<ChildWindow*>(sub->widget())) child->StopPolling();
            sub->hide();
            continue;
        }
        if (sub->isHidden()) continue;
        if (auto* child = dynamic_cast<ChildWindow*>(sub->widget())) child->StopPolling();
        sub->close();  // a window that refuses to close stays; the others still close
    }
}

void frmT2MasterMDI::AddOnModulesCommand()
{
    const int type = state_.Config.AddOnModuleType;
    const QString name = AddOnModuleWindowName(type);
    if (!name.isEmpty()) {
        OpenWindow(name);
    } else if (type == AddOnModem || type == AddOnEthernet) {
        // A modem or an Ethernet card has nothing to set: say so rather than nothing.
        Inform(Title,
               QString("No Settings For The Installed Add-On Module (%1).")
                   .arg(AddOnCardWithoutSettingsTexts[static_cast<std::size_t>(type - AddOnModem)]),
               PromptIcon::Information);
    }
}

// ---------------------------------------------------------------------------
// Status bar, caption, menus, hooks

void frmT2MasterMDI::UpdateStatusBar()
{
    const QString fileName = ToQString(state_.SettingsFileName);
    StatusPanel1->setText(" File Name: " + fileName);
    StatusPanel2->setText(state_.PanelConnected ? "Connected" : "Disconnected");
    const QString maintenance = QDir::cleanPath(ToQString(MaintenanceFileName()));
    networkDiagnosticsVisible_ =
        QDir::cleanPath(fileName).compare(maintenance, Qt::CaseInsensitive) == 0;
    if (networkDiagnosticsHandler_) networkDiagnosticsHandler_(networkDiagnosticsVisible_);
    UpdateCaption();
    UpdateUndoItems();
}

void frmT2MasterMDI::SetStatusPanel2(const QString& text) { StatusPanel2->setText(text); }

void frmT2MasterMDI::UpdateCaption()
{
    QString caption = Title;
    if (state_.SettingsFileName != "None" && !state_.SettingsFileName.empty())
        caption += " - " + QFileInfo(ToQString(state_.SettingsFileName)).fileName();
    if (state_.DataChanged) caption += " *";
    setWindowTitle(caption);
}

void frmT2MasterMDI::EnableMainMenus()
{
    menusEnabled_ = true;
    for (QAction* a : topMenus_) a->setEnabled(true);
    UpdateUndoItems();
}

void frmT2MasterMDI::DisableMainMenus()
{
    menusEnabled_ = false;
    for (QAction* a : topMenus_) a->setEnabled(false);
    UpdateUndoItems();
}

// ---------------------------------------------------------------------------
// Undo and redo

void frmT2MasterMDI::UpdateUndoItems()
{
    QAction* undo = MenuItem("mnuUndo");
    QAction* redo = MenuItem("mnuRedo");
    if (!undo || !redo) return;
    const EditHistory& h = state_.History;
    undo->setText(h.CanUndo() ? "Undo " + QString::fromStdString(h.UndoName()) : QString("Undo"));
    redo->setText(h.CanRedo() ? "Redo " + QString::fromStdString(h.RedoName()) : QString("Redo"));
    undo->setEnabled(menusEnabled_ && h.CanUndo());
    redo->setEnabled(menusEnabled_ && h.CanRedo());
}

void frmT2MasterMDI::UndoCommand()
{
    if (menusEnabled_ && state_.History.Undo(state_)) ConfigurationReplaced();
}

void frmT2MasterMDI::RedoCommand()
{
    if (menusEnabled_ && state_.History.Redo(state_)) ConfigurationReplaced();
}

void frmT2MasterMDI::ConfigurationReplaced()
{
    for (const auto& [name, sub] : windows_) {
        if (sub->isHidden()) continue;
        if (auto* child = dynamic_cast<ChildWindow*>(sub->widget())) child->ConfigurationReplaced();
    }
    // Back at what was last opened or saved, the configuration is clean again.
    SetDataChanged(state_, !state_.History.IsSaved(state_));
}

void frmT2MasterMDI::Disconnect()
{
    if (disconnectHandler_) disconnectHandler_();
}

void frmT2MasterMDI::SetDisconnectHandler(std::function<void()> handler)
{
    disconnectHandler_ = std::move(handler);
}

void frmT2MasterMDI::SetNetworkDiagnosticsHandler(std::function<void(bool)> handler)
{
    networkDiagnosticsHandler_ = std::move(handler);
    if (networkDiagnosticsHandler_) networkDiagnosticsHandler_(networkDiagnosticsVisible_);
}

// ---------------------------------------------------------------------------
// Start-up and the File commands

void frmT2MasterMDI::Startup()
{
    resize(NormalSize());
    if (QScreen* screen = this->screen()) {
        QRect area = screen->availableGeometry();
        move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
    }

    picBlockFlashing->show();
    picBlockFlashing->raise();

    // Folder errors are ignored: the program works without them.
    QDir().mkpath(ToQString(ProgramFolder()));
    QDir().mkpath(ToQString(DocumentationFolder()));
    QDir().mkpath(ToQString(BackupsFolder()));

    StartFreshConfiguration();
    picBlockFlashing->hide();

    // The maintenance file reveals the network diagnostic for one run only.
    // Its name is recognised without regard to case, so every spelling of it
    // in the program folder goes.
    const QFileInfo maintenance(ToQString(MaintenanceFileName()));
    const QDir folder = maintenance.absoluteDir();
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (name.compare(maintenance.fileName(), Qt::CaseInsensitive) == 0) QFile::remove(folder.filePath(name));

    started_ = true;
    tmrFix->start();
}

bool frmT2MasterMDI::AskDiscard()
{
    return AskYesNo(Title, "Discard Any Changes?", PromptIcon::Question);
}

void frmT2MasterMDI::FileNew()
{
    if (state_.DataChanged && !AskDiscard()) return;
    StartFreshConfiguration();
}

// Start-up and New: a default configuration with no file, the About window in
// front and the panel disconnected.
void frmT2MasterMDI::StartFreshConfiguration()
{
    CloseAllWindows();
    ShowWindow("frmT2About");
    Disconnect();
    state_.SettingsFileName = "None";
    ResetConfiguration(state_);
    state_.History.Reset(state_);
    CloseAllWindows();
    ShowWindow("frmT2About");
    SetDataChanged(state_, false);
    UpdateStatusBar();
}

void frmT2MasterMDI::FileOpen()
{
    if (state_.DataChanged && !AskDiscard()) return;

    QString start;
    if (!DialogFolderSet) {
        start = StartPattern();
        DialogFolderSet = true;
    }
    // The backups made before each download are one click away, to put a
    // panel back as it was.
    const QString path = AskOpenFileName(FileFilter, start, "Open", {ToQString(BackupsFolder())});
    if (path.isEmpty() || path == StartPattern()) return;  // cancelled
    OpenSettingsFile(path);
}

void frmT2MasterMDI::OpenRecentFile(const QString& path)
{
    if (path.isEmpty()) return;
    if (state_.DataChanged && !AskDiscard()) return;
    if (!QFileInfo::exists(path)) {
        RecentFiles::Forget(path);
        UpdateRecentFileItems();
        Inform(Title,
               "The settings file " + QDir::toNativeSeparators(path) +
                   " no longer exists.\n\nIt has been removed from the list of recent files.",
               PromptIcon::Exclamation);
        return;
    }
    OpenSettingsFile(path);
}

bool frmT2MasterMDI::OpenSettingsFile(const QString& path)
{
    // Read into copies first: a file that cannot be read changes nothing. The
    // reader refuses a pipe or a device before it opens it, so the window
    // never waits on one.
    auto config = std::make_unique<PanelConfig>(state_.Config);
    auto devices = std::make_unique<VantelDevices>(state_.Devices);
    std::string error;
    if (!ReadSettingsFile(ToPath(path), *config, *devices, &error)) {
        error = error.empty() ? ToPath(path) : error;
        Inform(Title, "The settings file could not be opened.\n\n" + QString::fromLocal8Bit(error),
               PromptIcon::Exclamation);
        return false;
    }

    state_.SettingsFileName = ToPath(path);
    CloseAllWindows();
    ShowWindow("frmT2About");
    Disconnect();
    state_.Config = std::move(*config);
    state_.Devices = std::move(*devices);
    state_.DocumentFileChosen = false;   // another site: its own report
    state_.History.Reset(state_);
    UpdateStatusBar();
    SetDataChanged(state_, false);
    RememberRecentFile(state_.SettingsFileName);
    return true;
}

void frmT2MasterMDI::FileSave()
{
    std::string error;
    if (!WriteSettingsFile(state_.SettingsFileName, state_.Config, state_.Devices, &error)) {
        Inform(Title, "The settings file could not be saved.\n\n" + QString::fromLocal8Bit(error),
               PromptIcon::Exclamation);
        return;  // the changes are still unsaved
    }
    state_.History.MarkSaved(state_);
    SetDataChanged(state_, false);
    RememberRecentFile(state_.SettingsFileName);
}

void frmT2MasterMDI::SaveCommand()
{
    if (state_.SettingsFileName == "None")
        FileSaveAs();
    else
        FileSave();
}

void frmT2MasterMDI::FileSaveAs()
{
    DialogFolderSet = true;
    const QString path = AskSaveFileName(FileFilter, StartPattern(), "Save As");
    if (path.isEmpty() || path == StartPattern()) return;  // cancelled: nothing written

    std::string error;
    if (!WriteSettingsFile(ToPath(path), state_.Config, state_.Devices, &error)) {
        Inform(Title, "The settings file could not be saved.\n\n" + QString::fromLocal8Bit(error),
               PromptIcon::Exclamation);
        return;  // file name and unsaved changes stay as they were
    }
    state_.SettingsFileName = ToPath(path);
    state_.History.MarkSaved(state_);
    UpdateStatusBar();
    SetDataChanged(state_, false);
    RememberRecentFile(state_.SettingsFileName);
}

void frmT2MasterMDI::ExitCommand()
{
    if (state_.DataChanged && !AskDiscard()) return;
    ExitRequested = true;
    ExitProgram();
}

void frmT2MasterMDI::ExitProgram()
{
    Disconnect();
    CloseAllWindows(true);
    ExitRequested = true;  // the close handler must not ask again
    close();
}

void frmT2MasterMDI::closeEvent(QCloseEvent* event)
{
    if (!ExitRequested) {
        if (state_.DataChanged && !AskDiscard()) {
            event->ignore();
            return;
        }
        Disconnect();
        CloseAllWindows(true);
        ExitRequested = true;
    }
    Disconnect();
    // The program goes once the link is closed: an exchange in progress fails
    // first and a modem is hung up.
    if (DeferWhileLinkBusy([this] { close(); }, this)) {
        event->ignore();
        return;
    }
    event->accept();
}

void frmT2MasterMDI::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    // In the normal state the window keeps its size; it can still be
    // minimised and maximised.
    if (started_ && !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) &&
        size() != keptSize_)
        resize(keptSize_);
}

void frmT2MasterMDI::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // The window's own layout is known once it shows.
    QTimer::singleShot(0, this, &frmT2MasterMDI::FitOpenWindows);
}

}  // namespace t2
