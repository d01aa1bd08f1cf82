// Many sites from one desk: tamberline-cli against several simulated panel
// programs at once (two over loopback TCP/IP, one on a pseudo-terminal as
// COM3), each reached through the link kept in its own site file.
#include "CliRunner.h"
#include "SimProgram.h"

#include "Defaults.h"
#include "ImagePacking.h"
#include "SettingsFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

using namespace t2;

namespace {

constexpr int PtyComPort = 3;

std::vector<QJsonObject> JsonLines(const std::string& text)
{
    std::vector<QJsonObject> objects;
    for (const QByteArray& line : QByteArray::fromStdString(text).split('\n')) {
        if (line.isEmpty()) continue;
        QJsonParseError error{};
        const QJsonDocument d = QJsonDocument::fromJson(line, &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << line.toStdString();
        EXPECT_TRUE(d.isObject()) << line.toStdString();
        objects.push_back(d.object());
    }
    return objects;
}

// A panel and its site file: what the file holds (its link among it).
struct Site {
    std::unique_ptr<SimProgram> sim;
    QString file;
    std::unique_ptr<ProgramState> state;
};

// Three panels: sites/a.TMB and sites/b.TMB over TCP/IP, sites/c.TMB on COM3,
// a pseudo-terminal. Each site file differs (names, I/O, time zone) and was
// downloaded to its panel through its own link.
struct Fleet : ::testing::Test {
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir(dir.path()).mkpath("sites"));
        const char* names[] = {"a", "b", "c"};
        for (int i = 0; i < 3; ++i) {
            Site& s = sites[i];
            QStringList extra = {"--revision", QStringLiteral("PANEL %1").arg(names[i]), "--io",
                                 QString::number(8 * (i + 1))};
            if (i == 2) extra << "--pty";
            s.sim = std::make_unique<SimProgram>(extra, QString());
            ASSERT_FALSE(s.sim->Address().isEmpty());
            s.state = std::make_unique<ProgramState>();
            ResetConfiguration(*s.state);
            PanelConfig& c = s.state->Config;
            c.PanelName = QStringLiteral("SITE %1").arg(names[i]).toStdString();
            c.RelayNames[0] = "LOBBY " + std::string(names[i]);
            c.NodeIOCount[1] = static_cast<Integer>(i + 1);
            c.TimeZone = static_cast<Integer>(i);
            if (i == 2) {
                ASSERT_FALSE(s.sim->Pty().isEmpty());
                c.ConnectionType() = ConnectDirectSerial;
                c.CommPort = PtyComPort;
                qputenv("T2_COM3", s.sim->Pty().toLocal8Bit());
            } else {
                c.ConnectionType() = ConnectTcpIp;
                c.PanelAddress() = s.sim->Address().toStdString();
            }
            s.file = Path(QStringLiteral("sites/%1.TMB").arg(names[i]));
            ASSERT_TRUE(WriteSettingsFile(s.file.toStdString(), c, s.state->Devices, nullptr));
            // No link option: the file's own.
            const CliResult r = RunCli({"download", s.file});
            ASSERT_EQ(r.code, 0) << r.err;
        }
    }
    void TearDown() override { qunsetenv("T2_COM3"); }

    QString Path(const QString& name) const { return dir.filePath(name); }

    // A settings file with a link that goes nowhere: a TCP/IP port no one listens on.
    QString Unreachable(const QString& name)
    {
        QTcpServer closed;
        EXPECT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
        const QString nowhere = "127.0.0.1:" + QString::number(closed.serverPort());
        closed.close();
        const QString file = Path(name);
        EXPECT_EQ(RunCli({"set-link", sites[0].file, file, "--tcp", nowhere}).code, 0);
        return file;
    }

    QTemporaryDir dir;
    std::array<Site, 3> sites;
};

}  // namespace

TEST_F(Fleet, SiteReachesEachPanelAndStatusJsonHoldsItsFields)
{
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const Site& s = sites[i];
        CliResult r = RunCli({"status", "--site", s.file, "--json"});
        ASSERT_EQ(r.code, 0) << r.err;
        const std::vector<QJsonObject> lines = JsonLines(r.out);
        ASSERT_EQ(lines.size(), 1u) << r.out;
        const QJsonObject& j = lines[0];
        // Every field the README lists.
        for (const char* field : {"site", "link", "revision", "time", "date", "panelClock", "hostClock",
                                  "clockOffsetSeconds", "ioInstalled", "addOnCard", "ioDifferences"})
            EXPECT_TRUE(j.contains(field)) << field;
        EXPECT_EQ(j["site"].toString(), s.file);
        EXPECT_TRUE(j["revision"].toString().startsWith(QStringLiteral("PANEL %1").arg(QChar('a' + i))));
        EXPECT_EQ(j["ioInstalled"].toInt(), 8 * (i + 1));
        EXPECT_EQ(j["addOnCard"].toObject()["text"].toString(), "None");
        EXPECT_LE(std::abs(j["clockOffsetSeconds"].toInt(1000)), 2);
        EXPECT_TRUE(QDateTime::fromString(j["panelClock"].toString(), Qt::ISODate).isValid());
        const QJsonObject link = j["link"].toObject();
        if (i == 2) {
            EXPECT_EQ(link["type"].toString(), "serial");
            EXPECT_EQ(link["comPort"].toInt(), PtyComPort);
            EXPECT_EQ(link["device"].toString(), s.sim->Pty());
        } else {
            EXPECT_EQ(link["type"].toString(), "tcp");
            EXPECT_EQ(QStringLiteral("%1:%2").arg(link["address"].toString()).arg(link["port"].toInt()),
                      s.sim->Address());
        }
        // The I/O hardware is compared with the site's file: after its
        // download the panel holds the file's nodes.
        EXPECT_EQ(j["ioDifferences"].toArray().size(), 0) << r.err;

        // The panel holds its file; the text output names the panel too.
        r = RunCli({"diff", "--site", s.file, "--json"});
        EXPECT_EQ(r.code, 0) << r.err;
        const std::vector<QJsonObject> diff = JsonLines(r.out);
        ASSERT_EQ(diff.size(), 1u);
        EXPECT_EQ(diff[0]["summary"].toObject()["differences"].toInt(-1), 0);
        r = RunCli({"status", "--site", s.file});
        EXPECT_NE(r.out.find("Revision: PANEL "), std::string::npos) << r.out;

        // set-clock and upload through the site's link.
        r = RunCli({"set-clock", "--site", s.file, "--now", "--time", "2014-03-07T14:05"});
        EXPECT_EQ(r.code, 0) << r.err;
        r = RunCli({"status", "--site", s.file});
        EXPECT_NE(r.out.find("Date: Fri 03/07/14"), std::string::npos) << r.out;
        const QString out = Path(QStringLiteral("up%1.TMB").arg(i));
        r = RunCli({"upload", out, "--site", s.file, "--base", s.file, "--names"});
        ASSERT_EQ(r.code, 0) << r.err;
        r = RunCli({"diff", s.file, out, "--as-panel"});
        EXPECT_EQ(r.code, 0) << r.out;
    }
    // A file against another site's panel differs; --json lists each
    // difference, then the summary with the same count.
    CliResult r = RunCli({"diff", sites[0].file, "--site", sites[1].file, "--json"});
    EXPECT_EQ(r.code, 1) << r.err;
    const std::vector<QJsonObject> lines = JsonLines(r.out);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_TRUE(lines[0].contains("section") && lines[0].contains("item") && lines[0].contains("a") &&
                lines[0].contains("b"));
    EXPECT_EQ(lines.back()["summary"].toObject()["differences"].toInt(), static_cast<int>(lines.size() - 1));
    EXPECT_EQ(lines.back()["site"].toString(), sites[0].file);
}

TEST_F(Fleet, ASiteWhoseLinkCannotBeUsedIsRefused)
{
    struct Case {
        const char* label;
        std::function<void(PanelConfig&)> set;
        int code;
        const char* says;
    };
    const Case cases[] = {
        {"connection type 7", [](PanelConfig& c) { c.ConnectionType() = 7; }, 64, "connection type 7"},
        {"no address", [](PanelConfig& c) { c.ConnectionType() = ConnectTcpIp; c.PanelAddress() = " "; }, 64,
         "no TCP/IP address"},
        {"bad port", [](PanelConfig& c) { c.ConnectionType() = ConnectTcpIp; c.PanelAddress() = "h:99999"; }, 64,
         "not a port"},
        {"line break", [](PanelConfig& c) { c.ConnectionType() = ConnectTcpIp; c.PanelAddress() = "h\nx"; }, 64,
         "control character"},
        {"COM17", [](PanelConfig& c) { c.ConnectionType() = ConnectDirectSerial; c.CommPort = 17; }, 64,
         "none of COM1..COM16"},
        {"short phone",
         [](PanelConfig& c) {
             c.ConnectionType() = ConnectModem;
             c.CommPort = PtyComPort;
             c.ModemPhoneNumber() = "555";
         },
         64, "at least 7 characters"},
        {"COM16 without a device",
         [](PanelConfig& c) {
             c.ConnectionType() = ConnectDirectSerial;
             c.CommPort = 16;
         },
         10, "COM16 is no serial port of this computer"},
    };
    const QString file = Path("bad.TMB");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        auto s = std::make_unique<ProgramState>(*sites[0].state);
        c.set(s->Config);
        ASSERT_TRUE(WriteSettingsFile(file.toStdString(), s->Config, s->Devices, nullptr));
        for (const QStringList& args : {QStringList{"status", "--site", file}, QStringList{"download", file},
                                        QStringList{"diff", "--site", file}}) {
            const CliResult r = RunCli(args);
            EXPECT_EQ(r.code, c.code) << args.join(' ').toStdString() << ": " << r.err;
            EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        }
    }
    // --site is one link among the others.
    EXPECT_EQ(RunCli({"status", "--site", sites[0].file, "--tcp", sites[1].sim->Address()}).code, 64);
    EXPECT_EQ(RunCli({"status", "--site", Path("missing.TMB")}).code, 1);
}

// Four sites, the third unreachable: three backups equal to each panel's
// configuration on top of its site file, the third reported, exit 10.
TEST_F(Fleet, BackupOfFourSitesOneUnreachable)
{
    // Each panel now holds something else than its file: another time zone
    // and relay name, downloaded through the site's link.
    std::array<std::unique_ptr<ProgramState>, 3> held;
    for (int i = 0; i < 3; ++i) {
        held[i] = std::make_unique<ProgramState>(*sites[i].state);
        held[i]->Config.TimeZone = 4;
        held[i]->Config.RelayNames[0] = "HELD";
        held[i]->Config.Latitude = static_cast<Integer>(30 + i);
        const QString f = Path(QStringLiteral("held%1.TMB").arg(i));
        ASSERT_TRUE(WriteSettingsFile(f.toStdString(), held[i]->Config, held[i]->Devices, nullptr));
        const CliResult r = RunCli({"download", f, "--site", sites[i].file});
        ASSERT_EQ(r.code, 0) << r.err;
    }
    const QString nowhere = Unreachable("sites/nowhere.TMB");
    const QString into = Path("backups");
    const QStringList order = {sites[0].file, sites[1].file, nowhere, sites[2].file};
    CliResult r = RunCli(QStringList{"backup"} + order + QStringList{"--into", into});
    EXPECT_EQ(r.code, 10) << r.err;
    const QStringList lines = QString::fromStdString(r.out).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4) << r.out;
    for (int k = 0; k < 4; ++k) {
        const QStringList fields = lines[k].split('\t');
        ASSERT_EQ(fields.size(), 3) << lines[k].toStdString();
        EXPECT_EQ(fields[1], order[k]);
        EXPECT_EQ(fields[0], k == 2 ? "10" : "0");
    }
    EXPECT_NE(lines[2].indexOf("Connection Failed."), -1);
    const QStringList files = QDir(into).entryList(QDir::Files, QDir::Name);
    ASSERT_EQ(files.size(), 3);
    const QRegularExpression name(R"(^[abc] \d{4}-\d\d-\d\d \d{6}\.TMB$)");
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(name.match(files[i]).hasMatch()) << files[i].toStdString();
        EXPECT_EQ(lines[i < 2 ? i : 3].split('\t')[2], QDir(into).filePath(files[i]));
        // The panel's configuration on top of the site file: the names and
        // the link are the file's (no --names), the rest the panel's.
        auto expected = std::make_unique<ProgramState>(*sites[i].state);
        auto image = std::make_unique<PanelImage>();
        BuildPanelImage(held[i]->Config, held[i]->Devices, {0, 0, 0, 0, 0, 0}, *image);
        ApplyPanelImage(*image, expected->Config, expected->Devices, false);
        auto saved = std::make_unique<ProgramState>();
        std::string error;
        ASSERT_TRUE(ReadSettingsFile(QDir(into).filePath(files[i]).toStdString(), saved->Config, saved->Devices,
                                     &error))
            << error;
        EXPECT_TRUE(saved->Config == expected->Config);
        EXPECT_TRUE(saved->Devices == expected->Devices);
        EXPECT_EQ(saved->Config.TimeZone, 4);
        EXPECT_EQ(saved->Config.RelayNames[0], sites[i].state->Config.RelayNames[0]);
    }

    // --json: one object per site; a second run never replaces the first's files.
    r = RunCli({"backup", sites[0].file, nowhere, "--into", into, "--json", "--names"});
    EXPECT_EQ(r.code, 10) << r.err;
    const std::vector<QJsonObject> objects = JsonLines(r.out);
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(objects[0]["exitCode"].toInt(), 0);
    EXPECT_TRUE(objects[0]["error"].isNull());
    const QString again = objects[0]["file"].toString();
    EXPECT_TRUE(QFile::exists(again));
    auto saved = std::make_unique<ProgramState>();
    ASSERT_TRUE(ReadSettingsFile(again.toStdString(), saved->Config, saved->Devices, nullptr));
    EXPECT_EQ(saved->Config.RelayNames[0], "HELD      ");  // --names: the panel's, as it keeps them
    EXPECT_EQ(objects[1]["site"].toString(), nowhere);
    EXPECT_EQ(objects[1]["exitCode"].toInt(), 10);
    EXPECT_TRUE(objects[1]["file"].isNull());
    EXPECT_TRUE(objects[1]["error"].toString().startsWith("Connection Failed."));
    EXPECT_EQ(QDir(into).entryList(QDir::Files).size(), 4);
}

// A second tool on the pseudo-terminal a transfer is using exits 10 and
// says the port is busy; the transfer goes on and completes intact.
TEST_F(Fleet, ABusySerialPortExits10AndTheFirstTransferCompletes)
{
    // A slow panel on its own pseudo-terminal, holding a known memory.
    auto state = std::make_unique<ProgramState>(*sites[2].state);
    state->Config.RelayNames[5] = "SLOW";
    auto image = std::make_unique<PanelImage>();
    BuildPanelImage(state->Config, state->Devices, {0, 0, 0, 0, 0, 0}, *image);
    const QString memory = Path("memory.bin");
    ASSERT_TRUE(WriteFileAtomically(memory.toStdString(), PanelImageBytes(*image), nullptr));
    SimProgram slow({"--pty", "--memory", memory, "--delay", "15"}, {});
    ASSERT_FALSE(slow.Pty().isEmpty());
    qputenv("T2_COM3", slow.Pty().toLocal8Bit());

    const QString out = Path("slow.TMB");
    QProcess first;
    first.start(QStringLiteral(T2_CLI), {"upload", out, "--site", sites[2].file, "--names"});
    ASSERT_TRUE(first.waitForStarted());
    QByteArray err;
    while (first.state() != QProcess::NotRunning && !err.contains("Uploading Block 64 Of 384")) {
        first.waitForReadyRead(200);
        err += first.readAllStandardError();
    }
    ASSERT_EQ(first.state(), QProcess::Running) << err.toStdString();
    for (const QStringList& args : {QStringList{"status", "--site", sites[2].file},
                                    QStringList{"status", "--serial", slow.Pty()}}) {
        const CliResult second = RunCli(args);
        EXPECT_EQ(second.code, 10) << second.err;
        EXPECT_NE(second.err.find(slow.Pty().toStdString() + " is in use by another program"), std::string::npos)
            << second.err;
    }
    ASSERT_TRUE(first.waitForFinished(120000));
    err += first.readAllStandardError();
    EXPECT_EQ(first.exitCode(), 0) << err.toStdString();
    EXPECT_EQ(err.indexOf("Error"), -1) << err.toStdString();  // not one retry
    auto expected = std::make_unique<ProgramState>();
    ResetConfiguration(*expected);
    ApplyPanelImage(*image, expected->Config, expected->Devices, true);
    auto got = std::make_unique<ProgramState>();
    ASSERT_TRUE(ReadSettingsFile(out.toStdString(), got->Config, got->Devices, nullptr));
    EXPECT_TRUE(got->Config == expected->Config);
    EXPECT_TRUE(got->Devices == expected->Devices);
    // Free again once the first is done.
    EXPECT_EQ(RunCli({"status", "--site", sites[2].file}).code, 0);
}

namespace {

// The command lines of the README recipe marked "<!-- recipe: NAME -->", the
// fleet folder /srv/tamberline replaced by folder.
QString Recipe(const QString& name, const QString& folder)
{
    const QString readme = QString::fromUtf8(ReadAll(QStringLiteral(T2_README)));
    const qsizetype mark = readme.indexOf("<!-- recipe: " + name + " -->");
    if (mark < 0) return {};
    const qsizetype open = readme.indexOf("```sh\n", mark);
    const qsizetype close = readme.indexOf("\n```", open);
    if (open < 0 || close < 0) return {};
    QString text = readme.mid(open + 6, close - open - 6);
    return text.replace("/srv/tamberline", folder);
}

// Runs shell text with the tool on the PATH; standard output.
CliResult Shell(const QString& text)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PATH", QFileInfo(QStringLiteral(T2_CLI)).absolutePath() + ":" + env.value("PATH"));
    p.setProcessEnvironment(env);
    p.start("/bin/sh", {"-c", text});
    CliResult r;
    if (!p.waitForStarted() || !p.waitForFinished(300000)) return r;
    r.code = p.exitCode();
    r.out = p.readAllStandardOutput().toStdString();
    r.err = p.readAllStandardError().toStdString();
    return r;
}

}  // namespace

// The fleet recipes of the README, run as written there.
TEST_F(Fleet, TheReadmeRecipesRunAsWritten)
{
    for (const char* tool : {"parallel", "jq"})
        ASSERT_FALSE(QStandardPaths::findExecutable(tool).isEmpty())
            << tool << " is missing: scripts/install-deps.sh installs it (scripts/packages.txt)";
    const QString folder = dir.path();

    // Nightly backups: the crontab line's command, after its five time fields.
    const QString cron = Recipe("nightly-backup", folder).trimmed();
    const QStringList fields = cron.split(' ', Qt::SkipEmptyParts);
    ASSERT_GT(fields.size(), 5) << cron.toStdString();
    CliResult r = Shell(fields.mid(5).join(' '));
    EXPECT_EQ(r.code, 0) << r.err << ReadFile(dir.filePath("backup.log"));
    EXPECT_EQ(QDir(dir.filePath("backups")).entryList(QDir::Files).size(), 3);
    EXPECT_EQ(QString::fromStdString(ReadFile(dir.filePath("backup.log"))).count('\n'), 3);

    // The clock check: one JSON line per site; the one panel set 10 minutes
    // ahead is listed.
    const QString ahead = QDateTime::currentDateTime().addSecs(600).toString("yyyy-MM-ddTHH:mm:ss");
    ASSERT_EQ(RunCli({"set-clock", "--site", sites[1].file, "--now", "--time", ahead}).code, 0);
    r = Shell(Recipe("clock-check", folder));
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "sites/b.TMB\n") << r.err;
    const std::vector<QJsonObject> status = JsonLines(ReadFile(dir.filePath("status.jsonl")));
    ASSERT_EQ(status.size(), 3u);
    QStringList seen;
    for (const QJsonObject& j : status) seen << j["site"].toString();
    seen.sort();
    EXPECT_EQ(seen, (QStringList{"sites/a.TMB", "sites/b.TMB", "sites/c.TMB"}));

    // Drift: the panel of c now holds something else than its file, and a
    // fourth site cannot be reached.
    auto other = std::make_unique<ProgramState>(*sites[2].state);
    other->Config.TimeZone = 4;
    const QString otherFile = Path("other.TMB");
    ASSERT_TRUE(WriteSettingsFile(otherFile.toStdString(), other->Config, other->Devices, nullptr));
    ASSERT_EQ(RunCli({"download", otherFile, "--site", sites[2].file}).code, 0);
    Unreachable("sites/d.TMB");
    r = Shell(Recipe("drift", folder));
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "differs: sites/c.TMB\nnot checked: sites/d.TMB\n");
}
