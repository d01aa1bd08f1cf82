#include "WindowRegistry.h"

#include <QWidget>

namespace t2 {

namespace {

struct Registry {
    std::vector<WindowEntry> entries;   // catalog order
    QStringList names;                  // the same names, for WindowList()
};

Registry& TheRegistry()
{
    static Registry registry;
    return registry;
}

AppShell* currentShell = nullptr;

const QString AddOnModulesMenu = QStringLiteral("mnuEdit/mnuAddOnModules");

}  // namespace

void ApplyWindowInfo(QWidget* window, const WindowInfo& info)
{
    window->setObjectName(QString::fromLatin1(info.name));
    window->setWindowTitle(QString::fromLatin1(info.caption));
}

void RegisterWindow(WindowEntry entry)
{
    Registry& r = TheRegistry();
    const int at = static_cast<int>(r.names.indexOf(entry.name));
    if (at >= 0) {
        r.entries[static_cast<std::size_t>(at)] = std::move(entry);
        return;
    }
    r.names << entry.name;
    r.entries.push_back(std::move(entry));
}

void RegisterWindow(const QString& name, WindowFactory factory)
{
    Registry& r = TheRegistry();
    const int at = static_cast<int>(r.names.indexOf(name));
    if (at >= 0) {
        r.entries[static_cast<std::size_t>(at)].factory = std::move(factory);
        return;
    }
    RegisterWindow(WindowEntry{.name = name, .caption = name, .menu = {}, .menuCaption = {},
                               .factory = std::move(factory)});
}

const std::vector<WindowEntry>& RegisteredWindows() { return TheRegistry().entries; }

const WindowEntry* FindWindowEntry(const QString& name)
{
    const Registry& r = TheRegistry();
    const int at = static_cast<int>(r.names.indexOf(name));
    return at < 0 ? nullptr : &r.entries[static_cast<std::size_t>(at)];
}

const WindowFactory* FindWindowFactory(const QString& name)
{
    const WindowEntry* entry = FindWindowEntry(name);
    return entry && entry->factory ? &entry->factory : nullptr;
}

bool IsWindowBuilt(const QString& name) { return FindWindowFactory(name) != nullptr; }

QStringList RegisteredWindowNames()
{
    QStringList names;
    for (const WindowEntry& e : RegisteredWindows())
        if (e.factory) names << e.name;
    return names;
}

const QStringList& WindowList() { return TheRegistry().names; }

QStringList WindowsOfMenuItem(const QString& menu)
{
    QStringList names;
    if (menu.isEmpty()) return names;
    for (const WindowEntry& e : RegisteredWindows())
        if (e.menu == menu) names << e.name;
    return names;
}

QString AddOnModuleWindowName(int type)
{
    const QStringList names = WindowsOfMenuItem(AddOnModulesMenu);
    return type >= 0 && type < names.size() ? names[type] : QString();
}

AppShell* Shell() { return currentShell; }

void SetShell(AppShell* shell) { currentShell = shell; }

}  // namespace t2
