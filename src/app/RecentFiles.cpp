#include "RecentFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace t2::RecentFiles {

namespace {

const char* const Key = "RecentFiles";

QSettings Store() { return QSettings(QSettings::NativeFormat, QSettings::UserScope, "VEL", "Tamberline II"); }

QString Absolute(const QString& path) { return QDir::cleanPath(QFileInfo(path).absoluteFilePath()); }

void Save(QStringList list)
{
    while (list.size() > MaximumCount) list.removeLast();
    QSettings settings = Store();
    settings.setValue(Key, list);
}

}  // namespace

QStringList List()
{
    QStringList list;
    for (const QString& path : Store().value(Key).toStringList()) {
        if (!path.isEmpty() && !list.contains(path)) list << path;
        if (list.size() == MaximumCount) break;
    }
    return list;
}

void Remember(const QString& path)
{
    const QString absolute = Absolute(path);
    QStringList list = List();
    list.removeAll(absolute);
    list.prepend(absolute);
    Save(list);
}

void Forget(const QString& path)
{
    QStringList list = List();
    list.removeAll(path);
    list.removeAll(Absolute(path));
    Save(list);
}

void Clear() { Save({}); }

QString MenuCaption(const QStringList& list, int index)
{
    const QString name = QFileInfo(list.at(index)).fileName();
    int sameName = 0;
    for (const QString& other : list) sameName += QFileInfo(other).fileName() == name;
    QString shown = sameName > 1 ? QDir::toNativeSeparators(list.at(index)) : name;
    return "&" + QString::number(index + 1) + " " + shown.replace("&", "&&");
}

}  // namespace t2::RecentFiles
