// The settings files opened or saved last, newest first, kept between runs
// (in the user's settings, QSettings "VEL" / "Tamberline II"). The File menu
// lists them above Exit.
#pragma once

#include <QString>
#include <QStringList>

namespace t2::RecentFiles {

constexpr int MaximumCount = 4;

// Newest first, at most MaximumCount absolute paths.
QStringList List();
// Puts path at the top (once), dropping the oldest beyond MaximumCount.
void Remember(const QString& path);
void Forget(const QString& path);
void Clear();

// The menu caption of entry index (0 = newest): its access key and the file's
// name, "&1 SITE.TMB"; the whole path when another entry has the same name.
QString MenuCaption(const QStringList& list, int index);

}  // namespace t2::RecentFiles
