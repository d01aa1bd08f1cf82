// What an installer's desktop needs: `cmake --install` into a temporary
// DESTDIR puts every file where the desktop looks for it, the desktop entry
// passes desktop-file-validate, a .TMB file is recognised by its MIME type,
// and the Debian package holds it all with dependencies read off the binaries.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMimeDatabase>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

constexpr const char* MimeType = "application/x-tamberline-settings";
const int IconSizes[] = {16, 24, 32, 48, 64, 128, 256};

struct Outcome {
    int code = -1;
    QString out;
    QString err;
};

Outcome Start(const QString& program, const QStringList& args, const QProcessEnvironment& env = {})
{
    QProcess p;
    if (!env.isEmpty()) p.setProcessEnvironment(env);
    p.setWorkingDirectory(QStringLiteral(T2_BINARY_DIR));
    p.start(program, args);
    Outcome r;
    if (!p.waitForStarted(10000)) {
        r.err = program + " did not start";
        return r;
    }
    if (!p.waitForFinished(300000)) {
        p.kill();
        p.waitForFinished();
        r.err = program + " timed out";
        return r;
    }
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

// The value of key in the [Desktop Entry] group.
QString DesktopValue(const QString& path, const QString& key)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
    for (const QString& line : QString::fromUtf8(f.readAll()).split('\n'))
        if (line.startsWith(key + "=")) return line.mid(key.size() + 1);
    return {};
}

// The files the desktop looks for, below the prefix.
QStringList DesktopFiles()
{
    QStringList files = {"bin/tamberline", "bin/tamberline-cli", "bin/tamberline-panelsim",
                         "share/applications/tamberline.desktop", "share/mime/packages/tamberline.xml",
                         "share/icons/hicolor/scalable/apps/tamberline.svg"};
    for (int size : IconSizes)
        files << QString("share/icons/hicolor/%1x%1/apps/tamberline.png").arg(size);
    return files;
}

}  // namespace

TEST(Install, EveryFileWhereTheDesktopLooksForIt)
{
    QTemporaryDir dest;
    ASSERT_TRUE(dest.isValid());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DESTDIR", dest.path());
    const Outcome install = Start(T2_CMAKE, {"--install", T2_BINARY_DIR, "--prefix", "/usr"}, env);
    ASSERT_EQ(install.code, 0) << install.err.toStdString();

    const QDir usr(dest.filePath("usr"));
    for (const QString& file : DesktopFiles()) {
        SCOPED_TRACE(file.toStdString());
        const QFileInfo info(usr.filePath(file));
        EXPECT_TRUE(info.isFile());
        if (file.startsWith("bin/")) {
            EXPECT_TRUE(info.isExecutable());
        }
    }
    for (int size : IconSizes) {
        const QImage icon(usr.filePath(QString("share/icons/hicolor/%1x%1/apps/tamberline.png").arg(size)));
        EXPECT_EQ(icon.size(), QSize(size, size)) << size;
    }
    EXPECT_FALSE(QImage(usr.filePath("share/icons/hicolor/256x256/apps/tamberline.png")).isNull());

    // The desktop entry: valid, starts the installed program with the file
    // opened, names the installed icon and the MIME type of .TMB files.
    const QString entry = usr.filePath("share/applications/tamberline.desktop");
    const Outcome validate = Start("desktop-file-validate", {entry});
    ASSERT_NE(validate.code, -1) << "desktop-file-validate is missing (desktop-file-utils, scripts/packages.txt)";
    EXPECT_EQ(validate.code, 0) << validate.out.toStdString() << validate.err.toStdString();
    EXPECT_EQ(validate.out + validate.err, "");
    EXPECT_EQ(DesktopValue(entry, "Exec"), "tamberline %f");
    EXPECT_EQ(DesktopValue(entry, "Icon"), "tamberline");
    EXPECT_EQ(DesktopValue(entry, "MimeType"), QString(MimeType) + ";");
    EXPECT_EQ(DesktopValue(entry, "Type"), "Application");

    // The MIME type, read from the installed data as a file manager reads it:
    // .TMB in any case, with the program's icon.
    qputenv("XDG_DATA_DIRS", usr.filePath("share").toLocal8Bit());
    qputenv("XDG_DATA_HOME", dest.filePath("home").toLocal8Bit());
    const QMimeDatabase mime;
    for (const char* name : {"SITE.TMB", "site.tmb", "Lobby Panel.Tmb"}) {
        const QMimeType type = mime.mimeTypeForFile(name, QMimeDatabase::MatchExtension);
        EXPECT_EQ(type.name(), MimeType) << name;
        EXPECT_EQ(type.iconName(), "tamberline") << name;
    }
    EXPECT_NE(mime.mimeTypeForFile("SITE.TXT", QMimeDatabase::MatchExtension).name(), MimeType);
}

TEST(Install, DebianPackageHoldsItAllAndDependsOnWhatTheBinariesUse)
{
    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    const Outcome cpack = Start(T2_CPACK, {"--config", QDir(T2_BINARY_DIR).filePath("CPackConfig.cmake"), "-B", out.path()});
    ASSERT_EQ(cpack.code, 0) << cpack.out.toStdString() << cpack.err.toStdString();
    const QStringList debs = QDir(out.path()).entryList({"*.deb"}, QDir::Files);
    ASSERT_EQ(debs.size(), 1) << cpack.out.toStdString();
    const QString deb = QDir(out.path()).filePath(debs.front());
    EXPECT_TRUE(debs.front().startsWith("tamberline_")) << debs.front().toStdString();

    const Outcome contents = Start("dpkg-deb", {"--contents", deb});
    ASSERT_EQ(contents.code, 0) << contents.err.toStdString();
    for (const QString& file : DesktopFiles()) {
        EXPECT_TRUE(contents.out.contains(" ./usr/" + file + "\n")) << file.toStdString() << "\n"
                                                                     << contents.out.toStdString();
    }

    const Outcome depends = Start("dpkg-deb", {"--field", deb, "Depends"});
    ASSERT_EQ(depends.code, 0) << depends.err.toStdString();
    for (const char* library : {"libc6", "libqt6core6", "libqt6widgets6", "libqt6network6", "libqt6serialport6"})
        EXPECT_TRUE(depends.out.contains(library)) << library << ": " << depends.out.toStdString();
}
