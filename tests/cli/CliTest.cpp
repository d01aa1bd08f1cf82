#include "CliRunner.h"

#include "Defaults.h"
#include "SettingsFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <memory>
#include <regex>

using namespace t2;

TEST(CliModel, NewResaveAndInfo)
{
    QTemporaryDir dir;
    const QString fresh = dir.filePath("FRESH.TMB");
    CliResult r = RunCli({"new", fresh});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(ReadAll(fresh).size(), 103099);

    // A file with odd contents is written back byte for byte.
    auto s = std::make_unique<ProgramState>();
    ResetConfiguration(*s);
    s->Config.PanelName = std::string(300, 'Z');
    s->Config.RelayNames[2] = "";
    s->Config.InputTimedOnTime[0] = 70000;
    s->Config.ModemPhoneNumber() = "5550100";
    s->Config.NodeIOCount[12] = 9;
    s->Config.NodeIOCount[1] = 2;
    s->Devices[0].DeviceReserved[5] = -9;
    s->Devices[3].DeviceType = 2;
    std::string error;
    const QString odd = dir.filePath("ODD.TMB");
    ASSERT_TRUE(WriteSettingsFile(odd.toStdString(), s->Config, s->Devices, &error));
    const QString again = dir.filePath("AGAIN.TMB");
    r = RunCli({"resave", odd, again});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(ReadAll(odd), ReadAll(again));

    r = RunCli({"info", odd});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("I/O points:    12"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Vantel devices: 1 (3 VANTEL 03)"), std::string::npos) << r.out;

    // Names are the file's Windows-1252 bytes, shown as this terminal's text.
    s->Config.PanelName = "CAF\xC9";
    s->Devices[3].DeviceName = "SALLE \x80";
    s->Config.ModemPhoneNumber() = "555\x96" "1234";
    s->Config.ConnectionType() = ConnectModem;
    ASSERT_TRUE(WriteSettingsFile(odd.toStdString(), s->Config, s->Devices, &error));
    r = RunCli({"info", odd});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("Panel name:    CAF\xC3\x89\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("(3 SALLE \xE2\x82\xAC)"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("phone \"555\xE2\x80\x93" "1234\""), std::string::npos) << r.out;
}

TEST(CliModel, ErrorsNameTheFileAndLeaveNoOutput)
{
    QTemporaryDir dir;
    const QString bad = dir.filePath("BAD.TMB");
    {
        QFile f(bad);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("\x10\0short", 7);
    }
    const QString out = dir.filePath("OUT.TMB");
    CliResult r = RunCli({"resave", bad, out});
    EXPECT_NE(r.code, 0);
    EXPECT_NE(r.err.find("BAD.TMB"), std::string::npos) << r.err;
    EXPECT_FALSE(QFile::exists(out));

    r = RunCli({"resave", bad});
    EXPECT_EQ(r.code, 64);
    // An option a command does not know is a usage error, not a file name.
    for (const QStringList& args : {QStringList{"info", "--bogus"}, QStringList{"new", "--bogus"},
                                    QStringList{"resave", bad, "--bogus"}, QStringList{"imgsum", "--bogus"}}) {
        SCOPED_TRACE(args.join(' ').toStdString());
        r = RunCli(args, 20000, dir.path());
        EXPECT_EQ(r.code, 64) << r.err;
        EXPECT_NE(r.err.find("unknown option --bogus"), std::string::npos) << r.err;
        EXPECT_FALSE(QFile::exists(dir.filePath("--bogus")));
    }
    r = RunCli({"--help"});
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("resave"), std::string::npos);
}

namespace {

// A temporary folder with a settings file and its panel image.
struct Site {
    QTemporaryDir dir;
    QString tmb = dir.filePath("SITE.TMB");
    QString bin = dir.filePath("SITE.BIN");
    Site()
    {
        EXPECT_EQ(RunCli({"new", tmb}).code, 0);
        EXPECT_EQ(RunCli({"image", tmb, bin}).code, 0);
    }
    QStringList Entries() const
    {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden);
    }
};

// What a path is, without following a link and without opening it (a named
// pipe would block).
mode_t KindOf(const QString& path)
{
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0) return 0;
    return info.st_mode & S_IFMT;
}

// A command that fails, and what its message says.
struct Case {
    QStringList args;
    std::string says;
};

// The report without its creation time, which moves with the clock.
std::string WithoutStamp(const std::string& report)
{
    return std::regex_replace(report, std::regex("Document Created\t[^\r]*\r\n"), "");
}

}  // namespace

TEST(CliEdges, EndlessAndOversizedInputsAreRefusedWithinASecond)
{
    Site site;
    const QString oversized = site.dir.filePath("HUGE.TMB");
    {
        QFile f(oversized);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(static_cast<qint64>(MaxSettingsFileBytes()) + 1));
    }
    const QString endless = site.dir.filePath("ENDLESS.TMB");
    ASSERT_EQ(::mkfifo(QFile::encodeName(endless).constData(), 0600), 0);
    QProcess feeder;  // fills the pipe until its reader goes away
    feeder.start("sh", {"-c", "yes > \"$0\"", endless});
    ASSERT_TRUE(feeder.waitForStarted());

    // A named pipe nobody writes to: opening it would wait for ever.
    const QString silent = site.dir.filePath("SILENT.TMB");
    ASSERT_EQ(::mkfifo(QFile::encodeName(silent).constData(), 0600), 0);

    const Case cases[] = {
        {{"info", "/dev/zero"}, "/dev/zero is not a settings file"},
        {{"info", "/dev/urandom"}, "/dev/urandom is not a settings file"},
        {{"info", oversized}, oversized.toStdString() + " is not a settings file"},
        {{"info", endless}, endless.toStdString() + " is not a settings file"},
        {{"info", silent}, silent.toStdString() + " is not a settings file: it is not a regular file"},
        {{"diff", silent, site.tmb}, silent.toStdString() + " is not a settings file"},
        {{"sun", silent}, silent.toStdString() + " is not a settings file"},
        {{"report", "/dev/zero", site.dir.filePath("OUT.TXT")}, "/dev/zero is not a settings file"},
        {{"imgsum", "/dev/zero"}, "/dev/zero is not a regular file"},
        {{"imgsum", silent}, silent.toStdString() + " is not a regular file"},
        {{"apply-image", "/dev/zero", site.tmb, site.dir.filePath("OUT.TMB")}, "/dev/zero is not a regular file"},
        {{"apply-image", site.bin, silent, site.dir.filePath("OUT.TMB")},
         silent.toStdString() + " is not a settings file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        // Refused before it is opened, or once the reader passes its bound
        // (the oversized file) instead of reading on until memory runs out:
        // it ends at once (about 0.2 s here), far inside this guard, which
        // leaves room for a loaded machine and the sanitizers.
        QElapsedTimer clock;
        clock.start();
        const CliResult r = RunCli(c.args, 20000);
        EXPECT_LT(clock.elapsed(), 5000);
        EXPECT_EQ(r.code, c.args[0] == "diff" ? 2 : 1) << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
    // Nothing opened the pipe, so its feeder still waits for a reader.
    EXPECT_EQ(feeder.state(), QProcess::Running);
    feeder.kill();
    feeder.waitForFinished();
    EXPECT_FALSE(QFile::exists(site.dir.filePath("OUT.TXT")));
    EXPECT_FALSE(QFile::exists(site.dir.filePath("OUT.TMB")));
}

TEST(CliEdges, TargetsThatAreNotRegularFilesAreRefusedAndLeftAsTheyWere)
{
    Site site;
    const QString folder = site.dir.filePath("FOLDER");
    ASSERT_TRUE(QDir(site.dir.path()).mkdir("FOLDER"));
    ASSERT_TRUE(QFile(site.tmb).copy(folder + "/INSIDE.TMB"));
    // A named pipe stands for a device: a broken save run as root would replace /dev/null.
    const QString pipe = site.dir.filePath("PIPE");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString pipeLink = site.dir.filePath("PIPELINK");
    ASSERT_TRUE(QFile::link(pipe, pipeLink));
    const QString socketPath = site.dir.filePath("SOCKET");
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(listener, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray encoded = QFile::encodeName(socketPath);
    ASSERT_LT(static_cast<std::size_t>(encoded.size()), sizeof address.sun_path);
    std::memcpy(address.sun_path, encoded.constData(), static_cast<std::size_t>(encoded.size()));
    ASSERT_EQ(::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    const QStringList before = site.Entries();

    struct Target {
        QString path;
        mode_t kind;
    };
    const Target targets[] = {{pipe, S_IFIFO}, {pipeLink, S_IFLNK}, {socketPath, S_IFSOCK}, {folder, S_IFDIR}};
    for (const Target& t : targets) {
        ASSERT_EQ(KindOf(t.path), t.kind) << t.path.toStdString();
        const QStringList saves[] = {
            {"new", t.path},
            {"resave", site.tmb, t.path},
            {"report", site.tmb, t.path},
            {"image", site.tmb, t.path},
            {"apply-image", site.bin, site.tmb, t.path},
            {"set-link", site.tmb, t.path, "--tcp", "10.0.0.9"},
        };
        for (const QStringList& args : saves) {
            SCOPED_TRACE(args.join(' ').toStdString());
            const CliResult r = RunCli(args, 20000);
            EXPECT_EQ(r.code, 1) << r.err;
            EXPECT_NE(r.err.find(t.path.toStdString() + (t.kind == S_IFDIR ? " is a folder" : " is not a regular file")),
                      std::string::npos)
                << r.err;
            EXPECT_EQ(KindOf(t.path), t.kind);
        }
    }
    ::close(listener);

    // Links that lead round in a loop are refused too, and stay links.
    const QString loopA = site.dir.filePath("LOOP_A");
    const QString loopB = site.dir.filePath("LOOP_B");
    ASSERT_TRUE(QFile::link(loopB, loopA));
    ASSERT_TRUE(QFile::link(loopA, loopB));
    for (const QStringList& args : {QStringList{"resave", site.tmb, loopA}, QStringList{"report", site.tmb, loopB},
                                    QStringList{"set-link", site.tmb, loopA, "--com", "1"}}) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const CliResult r = RunCli(args, 20000);
        EXPECT_EQ(r.code, 1) << r.err;
        EXPECT_NE(r.err.find("is a symbolic link that leads round in a loop: nothing was written"), std::string::npos)
            << r.err;
        EXPECT_EQ(KindOf(loopA), S_IFLNK);
        EXPECT_EQ(KindOf(loopB), S_IFLNK);
    }
    ASSERT_TRUE(QFile::remove(loopA));
    ASSERT_TRUE(QFile::remove(loopB));
    EXPECT_EQ(site.Entries(), before);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{"INSIDE.TMB"});
    EXPECT_EQ(ReadAll(folder + "/INSIDE.TMB"), ReadAll(site.tmb));
}

TEST(CliEdges, DashWritesToStandardOutput)
{
    Site site;
    const QString file = site.dir.filePath("SITE.TXT");
    ASSERT_EQ(RunCli({"report", site.tmb, file}).code, 0);
    CliResult r = RunCli({"report", site.tmb, "-"}, 120000, site.dir.path());
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(r.out.starts_with("[VEL Tamberline II Configuration Documentation File]\r\n")) << r.out.substr(0, 80);
    EXPECT_EQ(WithoutStamp(r.out), WithoutStamp(ReadFile(file)));
    EXPECT_TRUE(r.err.empty()) << r.err;

    r = RunCli({"image", site.tmb, "-"}, 120000, site.dir.path());
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(QByteArray::fromStdString(r.out), ReadAll(site.bin));

    const QString applied = site.dir.filePath("APPLIED.TMB");
    ASSERT_EQ(RunCli({"apply-image", site.bin, site.tmb, applied}).code, 0);
    r = RunCli({"apply-image", site.bin, site.tmb, "-"}, 120000, site.dir.path());
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(QByteArray::fromStdString(r.out), ReadAll(applied));

    // set-link, new and resave write to standard output too.
    const QString linked = site.dir.filePath("LINKED.TMB");
    ASSERT_EQ(RunCli({"set-link", site.tmb, linked, "--com", "3", "--phone", "5551234"}).code, 0);
    r = RunCli({"set-link", site.tmb, "-", "--com", "3", "--phone", "5551234"}, 120000, site.dir.path());
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(QByteArray::fromStdString(r.out), ReadAll(linked));
    r = RunCli({"resave", site.tmb, "-"}, 120000, site.dir.path());
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(QByteArray::fromStdString(r.out), ReadAll(site.tmb));
    r = RunCli({"new", "-"}, 120000, site.dir.path());
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(QByteArray::fromStdString(r.out), ReadAll(site.tmb));

    EXPECT_FALSE(QFile::exists(site.dir.filePath("-")));
}

// A reader of standard output that goes away (report X - | head) ends the
// command quietly with 0, as it ends other tools; it is not killed by SIGPIPE.
TEST(CliEdges, AReaderThatGoesAwayEndsTheOutputQuietly)
{
    Site site;
    for (const QStringList& args : {QStringList{"report", site.tmb, "-"}, QStringList{"image", site.tmb, "-"}}) {
        SCOPED_TRACE(args.join(' ').toStdString());
        // Standard output is a pipe whose reader is gone before the first
        // write, and SIGPIPE has its default effect (death) in the tool.
        int ends[2];
        ASSERT_EQ(::pipe(ends), 0);
        ::close(ends[0]);
        QProcess p;
        p.setChildProcessModifier([out = ends[1]] {
            ::dup2(out, STDOUT_FILENO);
            std::signal(SIGPIPE, SIG_DFL);
        });
        p.start(QStringLiteral(T2_CLI), args);
        ASSERT_TRUE(p.waitForStarted());
        ::close(ends[1]);
        ASSERT_TRUE(p.waitForFinished(120000));
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p.exitCode(), 0);
        EXPECT_EQ(p.readAllStandardError(), QByteArray());
    }
}

TEST(CliEdges, MessagesNameTheFileAsGiven)
{
    Site site;
    ASSERT_TRUE(QDir(site.dir.path()).mkpath("sites/north"));
    {
        QFile f(site.dir.filePath("sites/north/site.tmb"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("\x10\0short", 7);
    }
    const Case cases[] = {
        {{"info", "sites/north/site.tmb"}, "sites/north/site.tmb is not a complete settings file"},
        {{"info", "sites/south/site.tmb"}, "sites/south/site.tmb: cannot open the file"},
        {{"resave", "SITE.TMB", "sites/south/OUT.TMB"}, "sites/south/OUT.TMB: cannot create the file"},
        {{"report", "SITE.TMB", "sites/north"}, "sites/north is a folder"},
    };
    for (const Case& c : cases) {
        const CliResult r = RunCli(c.args, 20000, site.dir.path());
        EXPECT_EQ(r.code, 1) << r.err;
        EXPECT_NE(r.err.find("tamberline-cli: " + c.says), std::string::npos) << r.err;
    }
}

TEST(CliEdges, SetLinkChecksTheAddressAsThePanelCommandsDo)
{
    Site site;
    const QString out = site.dir.filePath("OUT.TMB");
    for (const char* address : {"1.2.3.4:99999", "1.2.3.4:0", "1.2.3.4:port", "1.2.3.4:", ":10001",
                                   "host with spaces", "tab\there"}) {
        SCOPED_TRACE(address);
        CliResult r = RunCli({"set-link", site.tmb, out, "--tcp", address});
        EXPECT_EQ(r.code, 64) << r.err;
        EXPECT_FALSE(QFile::exists(out));
        r = RunCli({"status", "--tcp", address});
        EXPECT_EQ(r.code, 64) << r.err;
    }
    // A modem number the panel commands would not dial, and texts the file's
    // 8-bit fields cannot hold as they are: a line break, a character outside
    // Windows-1252, more than 65535 bytes.
    const QString longText(70000, '5');
    const Case refused[] = {
        {{"--com", "2", "--phone", "555"}, "a phone number needs at least 7 characters"},
        {{"--com", "2", "--phone", "555\n1234"}, "--phone holds a line break"},
        {{"--com", "2", "--phone", "555 1234 \u260E"}, "--phone holds a character the settings file cannot keep"},
        {{"--com", "2", "--phone", longText}, "--phone is longer than the 65535 bytes"},
        {{"--tcp", longText}, "--tcp is longer than the 65535 bytes"},
        {{"--tcp", "caf\u00E9.example.com"}, "not a host name or address"},
    };
    for (const Case& c : refused) {
        SCOPED_TRACE(c.says);
        const CliResult r = RunCli(QStringList{"set-link", site.tmb, out} + c.args);
        EXPECT_EQ(r.code, 64) << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_FALSE(QFile::exists(out));
    }

    // A phone number in this terminal's text is stored in the file's 8-bit code.
    {
        const CliResult r = RunCli({"set-link", site.tmb, out, "--com", "2", "--phone", "555\u20131234 \u00E9"});
        ASSERT_EQ(r.code, 0) << r.err;
        auto got = std::make_unique<ProgramState>();
        std::string error;
        ASSERT_TRUE(ReadSettingsFile(out.toStdString(), got->Config, got->Devices, &error)) << error;
        EXPECT_EQ(got->Config.ConnectionType(), ConnectModem);
        EXPECT_EQ(got->Config.ModemPhoneNumber(), "555\x96" "1234 \xE9");
        ASSERT_TRUE(QFile::remove(out));
    }

    // Good addresses are stored as given, surrounding spaces trimmed.
    for (const QString address : {"10.0.0.9:10002", " panel.example.com ", "fe80::1"}) {
        const CliResult r = RunCli({"set-link", site.tmb, out, "--tcp", address});
        ASSERT_EQ(r.code, 0) << r.err;
        auto got = std::make_unique<ProgramState>();
        std::string error;
        ASSERT_TRUE(ReadSettingsFile(out.toStdString(), got->Config, got->Devices, &error)) << error;
        EXPECT_EQ(got->Config.ConnectionType(), ConnectTcpIp);
        EXPECT_EQ(got->Config.PanelAddress(), address.trimmed().toStdString());
    }
}
