// A download the installer sees before it happens and can take back: the
// connection window's "Compare With Tamberline II", the backup of the panel's
// settings and the question before a download writes anything, and a backup
// opened and downloaded again. Against the simulated panel over loopback
// TCP/IP and a pseudo-terminal (a direct serial line, and a modem in front).
#include "ConnectWindowFixture.h"

#include "../common/ReportChanges.h"
#include "../common/TestRecords.h"

#include "frmT2CompareWithPanel.h"

#include "SettingsFile.h"
#include "Windows1252.h"

#include <QAbstractButton>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

#include <csignal>
#include <random>
#include <sys/resource.h>
#include <unistd.h>

using namespace t2;
using namespace t2::test;
using fixtures::Change;
using fixtures::Changes;

namespace {

enum class Link { Tcp, Serial, Modem };

std::string LinkName(const testing::TestParamInfo<Link>& info)
{
    return info.param == Link::Tcp ? "TcpIp" : info.param == Link::Serial ? "Serial" : "Modem";
}

// A difference as `diff` prints it, in UTF-8.
std::string Utf8Line(const ReportDifference& d) { return BytesToText(DifferenceLine(d)).toStdString(); }

constexpr std::array<int, 6> PanelPassword{1, 2, 3, 4, 5, 6};

struct SafeDownload : ConnectWindow {
    bool BackUpFirst() const override { return true; }

    void SetUp() override
    {
        ConnectWindow::SetUp();
        sim.Panel().SetAddOnCard(1, 1);  // the DMX card of the host configurations here
        sim.Panel().SetPassword(PanelPassword);
        QDir(QString::fromStdString(BackupsFolder())).removeRecursively();
    }

    void Use(Link link)
    {
        if (link == Link::Tcp) {
            UseTcp();
            return;
        }
        if (link == Link::Modem && sim.PtyPath().isEmpty()) sim.SetModem(true);
        UsePty();
        if (link == Link::Modem) {
            state.Config.ConnectionType() = ConnectModem;
            state.Config.ModemPhoneNumber() = "555-1234";
            main->OpenWindow("frmT2Connect");
        }
    }
    // The configuration in memory becomes s, with the link settings in use kept.
    void SetHost(const ProgramState& s)
    {
        PanelConfig link = state.Config;
        state.Config = s.Config;
        state.Devices = s.Devices;
        state.Config.ConnectionType() = link.ConnectionType();
        state.Config.CommPort = link.CommPort;
        state.Config.PanelAddress() = link.PanelAddress();
        state.Config.ModemPhoneNumber() = link.ModemPhoneNumber();
    }
    // The panel's memory holds the image of this configuration.
    std::unique_ptr<PanelImage> LoadPanel(const PanelConfig& config, const VantelDevices& devices)
    {
        auto image = std::make_unique<PanelImage>();
        BuildPanelImage(config, devices, PanelPassword, *image);
        sim.Panel().SetMemory(0, ImageBytes(*image));
        return image;
    }

    static bool WaitFor(const std::function<bool()>& condition) { return QTest::qWaitFor(condition, 30000); }
    bool Settled() const { return !w->Session().Exchange().Busy() && w->Session().Exchange().QueuedActions() == 0; }
    // Clicks near the left end, where a check box has its box and its text.
    void Click(QAbstractButton* button)
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(qMin(10, button->width() / 2), button->height() / 2));
    }

    // Download with the password; returns once the download has ended.
    void Download(const QString& password = "123456")
    {
        Click(w->cmdDownLoadToT2);
        ASSERT_TRUE(WaitFor([&] { return !w->fraPassWord->isHidden(); }));
        TypeDigits(w->txtPassWord, password);
        Click(w->cmdPassWordContinue);
        ASSERT_TRUE(WaitFor([&] { return Settled() && !w->cmdDownLoadToT2->isHidden(); }));
    }
    // Compare; returns once the reading has ended.
    void Compare()
    {
        Click(w->cmdCompareWithT2);
        ASSERT_TRUE(WaitFor([&] { return Settled() && (!w->cmdCompareWithT2->isHidden() || !w->isVisible()); }));
    }
    frmT2CompareWithPanel* CompareWindow() const
    {
        return dynamic_cast<frmT2CompareWithPanel*>(main->FindWindow("frmT2CompareWithPanel"));
    }
    std::vector<std::string> Listed() const
    {
        std::vector<std::string> lines;
        for (const ReportDifference& d : CompareWindow()->Differences()) lines.push_back(Utf8Line(d));
        return lines;
    }
    // The commands since the log was cleared that wrote to the panel.
    std::vector<std::string> Writes()
    {
        std::vector<std::string> out;
        for (const std::string& c : sim.Panel().Commands())
            if (c.rfind("30", 0) == 0 || c.rfind("36", 0) == 0) out.push_back(c);
        return out;
    }
    int Reads()
    {
        int n = 0;
        for (const std::string& c : sim.Panel().Commands()) n += c.size() == 8 && c.rfind("31", 0) == 0 && c.substr(6) == "3F";
        return n;
    }
    // Every file in the Backups folder.
    QStringList Backups() const
    {
        return QDir(QString::fromStdString(BackupsFolder())).entryList(QDir::Files | QDir::Hidden);
    }
    QString BackupPath(const QString& name) const
    {
        return QDir(QString::fromStdString(BackupsFolder())).filePath(name);
    }
    static QString SavedAs(const QString& path)
    {
        return "\nThe Panel's Previous Settings Were Saved As:\n" + QDir::toNativeSeparators(path);
    }
    // The base of the change table with every change made.
    static std::unique_ptr<ProgramState> AllChanged()
    {
        auto s = std::make_unique<ProgramState>();
        fixtures::ChangesBase(*s);
        for (const Change& c : Changes()) c.apply(*s);
        return s;
    }
};

struct SafeDownloadOverLinks : SafeDownload, testing::WithParamInterface<Link> {};

}  // namespace

// For one item of every report section: Compare lists exactly its lines, and
// neither the host configuration, its unsaved mark nor the panel change.
TEST_P(SafeDownloadOverLinks, CompareListsTheDifferencesAndChangesNothing)
{
    ProgramState base;
    fixtures::ChangesBase(base);
    LoadPanel(base.Config, base.Devices);
    Use(GetParam());
    Connect();
    int n = 0;
    for (const Change& c : Changes()) {
        SCOPED_TRACE(c.label);
        auto host = std::make_unique<ProgramState>(base);
        c.apply(*host);
        SetHost(*host);
        const bool marked = n++ % 2 == 1;
        SetDataChanged(state, marked);
        const PanelConfig config = state.Config;
        const VantelDevices devices = state.Devices;
        const auto memory = sim.Panel().Memory();
        sim.Panel().ClearLog();
        prompts.asked.clear();

        Compare();
        ASSERT_TRUE(main->IsWindowOpen("frmT2CompareWithPanel")) << prompts.Texts().join(" | ").toStdString();
        frmT2CompareWithPanel* compare = CompareWindow();
        const bool names = std::string(c.label) == "group name";
        // Names only when asked for, as the panel keeps them (ten characters).
        EXPECT_EQ(Listed(), names ? std::vector<std::string>{} : c.lines);
        if (names) {
            EXPECT_EQ(compare->lblSummary->text(), "The Tamberline II Already Holds These Settings (Names Not Compared).");
            Click(compare->chkIncludeNames);
            EXPECT_EQ(Listed(), (std::vector<std::string>{
                                    "[Group Schedule]\tG03 Group Name\tGROUP 03  \tLOBBY \xC3\x89   ",
                                    "[Off Hours Sweeps Group Schedule]\tG03 Group Name\tGROUP 03  \tLOBBY \xC3\x89   "}));
            Click(compare->chkIncludeNames);
        }
        EXPECT_EQ(state.Config, config);
        EXPECT_EQ(state.Devices, devices);
        EXPECT_EQ(state.DataChanged, marked);
        EXPECT_EQ(sim.Panel().Memory(), memory);
        EXPECT_EQ(Writes(), std::vector<std::string>{});
        EXPECT_EQ(Reads(), 384);
        EXPECT_TRUE(prompts.asked.empty()) << prompts.Texts().join(" | ").toStdString();
        EXPECT_TRUE(state.PanelConnected);
        main->OpenWindow("frmT2Connect");
    }
}

// The backup made before a download holds what the panel held, member by
// member, names included; opening it and downloading it puts the panel's
// memory back cell for cell (the password cells aside).
TEST_P(SafeDownloadOverLinks, TheBackupHoldsThePanelsSettingsAndPutsThePanelBack)
{
    auto before = fixtures::FreshRecords();
    std::mt19937 rng(24);
    fixtures::MemberFiller fill{[&] { return static_cast<Integer>(rng() % 256); },
                                [&] { return static_cast<Long>(rng() % 1000); },
                                [&] {
                                    Bytes b(10, ' ');
                                    for (char& ch : b) ch = static_cast<char>('A' + rng() % 26);
                                    return b;
                                }};
    fill.FillAll(*before);
    before->config.PanelName = "OLD SITE/NORTH";
    auto host = AllChanged();
    host->Config.PanelName = "NEW SITE";
    // The panel's hardware is the host's: no I/O question.
    before->config.NodeIOCount = host->Config.NodeIOCount;
    const auto image = LoadPanel(before->config, before->devices);
    const auto memory = sim.Panel().Memory();

    SetHost(*host);
    Use(GetParam());
    Connect();
    ASSERT_TRUE(WaitFor([&] { return Settled(); }));
    prompts.asked.clear();

    // The check box tells how long the backup takes on this link.
    Click(w->cmdDownLoadToT2);
    ASSERT_TRUE(WaitFor([&] { return !w->fraPassWord->isHidden(); }));
    EXPECT_TRUE(w->chkBackUpFirst->isChecked());
    const char* expectedTime = GetParam() == Link::Tcp      ? "(a few seconds on this TCP/IP link)"
                               : GetParam() == Link::Serial ? "(about 5 seconds on this serial line)"
                                                            : "(about a minute on this modem line)";
    EXPECT_TRUE(w->chkBackUpFirst->toolTip().contains(expectedTime)) << w->chkBackUpFirst->toolTip().toStdString();
    Click(w->cmdPassWordCancel);

    const auto changes = DownloadChanges(state.Config, state.Devices, *image, true);
    ASSERT_FALSE(changes.empty());
    auto expected = std::make_unique<ProgramState>();
    expected->Config = state.Config;
    expected->Devices = state.Devices;
    ApplyPanelImage(*image, expected->Config, expected->Devices, true);

    prompts.answers = {PromptAnswer::Yes};
    Download();
    ASSERT_EQ(prompts.asked.size(), 2u) << prompts.Texts().join(" | ").toStdString();
    const PromptRequest& question = prompts.asked[0];
    EXPECT_EQ(question.text, QString("The Download Will Change %1 Items In The Tamberline II. Continue?")
                                 .arg(changes.size()));
    EXPECT_EQ(question.title, "Download");
    EXPECT_EQ(question.buttons, PromptButtons::YesNo);
    EXPECT_TRUE(question.details.contains("[Relay Schedule]: ")) << question.details.toStdString();
    EXPECT_TRUE(question.details.contains("R05 Timer Type")) << question.details.toStdString();

    const QStringList backups = Backups();
    ASSERT_EQ(backups.size(), 1) << backups.join(", ").toStdString();
    EXPECT_TRUE(backups[0].startsWith("OLD SITE_NORTH 20")) << backups[0].toStdString();
    const QString backup = BackupPath(backups[0]);
    EXPECT_EQ(prompts.asked[1].text, "Download Complete" + SavedAs(backup));
    auto saved = std::make_unique<ProgramState>();
    std::string error;
    ASSERT_TRUE(ReadSettingsFile(backup.toStdString(), saved->Config, saved->Devices, &error)) << error;
    EXPECT_TRUE(saved->Config == expected->Config);
    EXPECT_TRUE(saved->Devices == expected->Devices);
    auto written = std::make_unique<PanelImage>();
    BuildPanelImage(state.Config, state.Devices, PanelPassword, *written);
    EXPECT_EQ(sim.Panel().Memory(), ImageBytes(*written));

    // The Open dialog offers the Backups folder; the backup opened and
    // downloaded gives the panel back.
    prompts.asked.clear();
    prompts.fileNames = {backup};
    main->FileOpen();
    ASSERT_FALSE(prompts.fileAsked.empty());
    EXPECT_TRUE(prompts.fileAsked.back().sidebarFolders.contains(QString::fromStdString(BackupsFolder())));
    EXPECT_TRUE(state.Config == saved->Config);
    EXPECT_FALSE(state.PanelConnected);
    main->OpenWindow("frmT2Connect");
    Connect();
    ASSERT_TRUE(WaitFor([&] { return Settled(); }));
    prompts.asked.clear();
    prompts.answers = {PromptAnswer::Yes};
    Download();
    ASSERT_EQ(prompts.asked.size(), 2u) << prompts.Texts().join(" | ").toStdString();
    EXPECT_TRUE(prompts.asked[1].text.startsWith("Download Complete")) << prompts.asked[1].text.toStdString();
    const auto restored = sim.Panel().Memory();
    for (int cell = 0; cell < PanelMemorySize; ++cell) {
        if (cell >= PasswordAddress && cell < PasswordAddress + PasswordDigits) continue;
        ASSERT_EQ(restored[cell], memory[cell]) << "cell " << cell;
    }
    EXPECT_EQ(Backups().size(), 2);
}

INSTANTIATE_TEST_SUITE_P(Links, SafeDownloadOverLinks, testing::Values(Link::Tcp, Link::Serial, Link::Modem),
                         LinkName);

// "Continue?" answered No writes nothing, not even a new password; a panel
// that already holds the settings is not written; a setting only the image
// carries still counts; with the box cleared the download goes as before.
TEST_F(SafeDownload, TheQuestionBeforeAnythingIsWritten)
{
    ProgramState base;
    fixtures::ChangesBase(base);
    LoadPanel(base.Config, base.Devices);
    UseTcp();
    Connect();
    const auto memory = sim.Panel().Memory();

    // No.
    auto host = std::make_unique<ProgramState>(base);
    host->Config.TimeZone = 3;
    SetHost(*host);
    sim.Panel().ClearLog();
    prompts.asked.clear();
    prompts.answers = {PromptAnswer::No};
    Click(w->cmdDownLoadToT2);
    TypeDigits(w->txtPassWord, "123456");
    Click(w->chkChangePanelPassWord);
    TypeDigits(w->txtNewPassWord, "999999");
    Click(w->cmdPassWordContinue);
    ASSERT_EQ(prompts.Texts(), QStringList{"The Download Will Change 1 Items In The Tamberline II. Continue?"});
    EXPECT_TRUE(prompts.asked[0].details.contains("Time Zone    Panel Now: Central    After The Download: Pacific"))
        << prompts.asked[0].details.toStdString();
    EXPECT_EQ(sim.Panel().Memory(), memory);
    EXPECT_EQ(sim.Panel().Password(), PanelPassword);
    EXPECT_EQ(Writes(), std::vector<std::string>{});
    EXPECT_EQ(Backups().size(), 1);
    EXPECT_TRUE(state.PanelConnected);
    EXPECT_TRUE(MenusEnabled());
    EXPECT_FALSE(w->cmdDownLoadToT2->isHidden());
    EXPECT_FALSE(w->cmdCompareWithT2->isHidden());
    EXPECT_TRUE(w->pbActivityProgress->isHidden());
    EXPECT_EQ(w->txtPassWord[0]->text(), "1");

    // Nothing would change: no question, nothing written.
    SetHost(base);
    sim.Panel().ClearLog();
    prompts.asked.clear();
    Download();
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_TRUE(prompts.asked[0].text.startsWith("The Tamberline II Already Holds These Settings.\nThe Panel's "))
        << prompts.asked[0].text.toStdString();
    EXPECT_EQ(Writes(), std::vector<std::string>{});
    EXPECT_EQ(Reads(), 384);

    // Only the clock source, which the report does not show, differs.
    host = std::make_unique<ProgramState>(base);
    host->Config.RtcSource = 1;
    SetHost(*host);
    prompts.asked.clear();
    prompts.answers = {PromptAnswer::Yes};
    Download();
    ASSERT_EQ(prompts.asked.size(), 2u);
    EXPECT_EQ(prompts.asked[0].text, "The Download Will Change 1 Items In The Tamberline II. Continue?");
    EXPECT_TRUE(prompts.asked[0].details.startsWith("[Other Settings]: 1 Item\n    RtcSource"))
        << prompts.asked[0].details.toStdString();
    auto image = std::make_unique<PanelImage>();
    BuildPanelImage(state.Config, state.Devices, PanelPassword, *image);
    EXPECT_EQ(sim.Panel().Memory(), ImageBytes(*image));

    // The box cleared: the blocks go at once after the password, and the
    // choice is kept.
    host->Config.TimeZone = 0;
    SetHost(*host);
    sim.Panel().ClearLog();
    prompts.asked.clear();
    Click(w->cmdDownLoadToT2);
    Click(w->chkBackUpFirst);
    EXPECT_FALSE(frmT2Connect::BackUpFirstRemembered());
    TypeDigits(w->txtPassWord, "123456");
    Click(w->cmdPassWordContinue);
    EXPECT_EQ(prompts.Texts(), QStringList{"Download Complete"});
    const auto commands = sim.Panel().Commands();
    ASSERT_GE(commands.size(), 2u);
    EXPECT_EQ(commands[0], "311F7A05");
    EXPECT_EQ(Reads(), 0);
    EXPECT_EQ(Writes().size(), 384u);
    EXPECT_EQ(Backups().size(), 3);
}

// The box is on for a new user and keeps what the user chose.
TEST_F(SafeDownload, TheBackUpBoxIsOnByDefaultAndRemembered)
{
    auto reopen = [this] {
        main->ExitRequested = true;
        main.reset();
        main = std::make_unique<frmT2MasterMDI>(state);
        main->Startup();
        main->tmrFix->stop();
        w = dynamic_cast<frmT2Connect*>(main->OpenWindow("frmT2Connect"));
    };
    QSettings(QSettings::NativeFormat, QSettings::UserScope, "VEL", "Tamberline II").clear();
    reopen();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->chkBackUpFirst->isChecked());
    EXPECT_FALSE(w->chkBackUpFirst->accessibleName().isEmpty());
    w->chkBackUpFirst->click();
    reopen();
    EXPECT_FALSE(w->chkBackUpFirst->isChecked());
    w->chkBackUpFirst->click();
    reopen();
    EXPECT_TRUE(w->chkBackUpFirst->isChecked());
}

// A backup that cannot be read or saved stops the download before its first
// block, and the message says why.
TEST_F(SafeDownload, ABackupThatCannotBeMadeStopsTheDownload)
{
    ProgramState base;
    fixtures::ChangesBase(base);
    LoadPanel(base.Config, base.Devices);
    auto host = std::make_unique<ProgramState>(base);
    host->Config.TimeZone = 3;
    SetHost(*host);
    const QString programFolder = QString::fromStdString(ProgramFolder());
    const QString backups = QString::fromStdString(BackupsFolder());
    auto cancelAt = std::make_shared<int>(0);
    QObject::connect(w->pbActivityProgress, &QProgressBar::valueChanged, w, [this, cancelAt](int v) {
        if (*cancelAt && v == *cancelAt) QTest::mouseClick(w->cmdCancelUpDownLoad, Qt::LeftButton);
    });
    const QString notChanged = "\nThe Download Did Not Start. The Tamberline II Was Not Changed.";
    const QString notSaved = "The Panel Settings Could Not Be Backed Up: the backup could not be saved (";
    rlimit sizeLimit{};
    getrlimit(RLIMIT_FSIZE, &sizeLimit);

    struct Case {
        const char* what;
        Link link;
        std::function<void()> make;
        std::function<void()> undo;
        QString text;   // the message starts so
        QString title;
        PromptIcon icon;
    };
    const std::vector<Case> cases = {
        {"the panel stops answering", Link::Tcp,
         [&] { sim.Panel().SetFaults({.stopAfter = sim.Panel().CommandCount() + 1 + 50}); },
         [&] { sim.Panel().SetFaults({}); },
         "The Panel Settings Could Not Be Backed Up: The Tamberline II Did Not Answer While Its Settings Were Read "
         "(Upload Error: 19)." + notChanged,
         "Error", PromptIcon::Critical},
        {"cancelled", Link::Tcp, [&] { *cancelAt = 50; }, [&] { *cancelAt = 0; },
         "Manual Download Cancel." + notChanged, "Download", PromptIcon::Exclamation},
        {"the Backups folder cannot be made", Link::Tcp,
         [&] {
             QDir(backups).removeRecursively();
             QFile f(backups);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
         },
         [&] { QFile::remove(backups); }, notSaved + backups.toStdString().c_str() + ": the folder cannot be created)",
         "Error", PromptIcon::Critical},
        {"the program folder is read-only", Link::Tcp,
         [&] {
             QDir(backups).removeRecursively();
             QFile(programFolder).setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
         },
         [&] { QFile(programFolder).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner); },
         notSaved, "Error", PromptIcon::Critical},
        {"the disk is full", Link::Tcp,
         [&] {
             // A file may grow to 4 KB only, as on a full disk; a backup is about 100 KB.
             std::signal(SIGXFSZ, SIG_IGN);
             rlimit small = sizeLimit;
             small.rlim_cur = 4096;
             setrlimit(RLIMIT_FSIZE, &small);
         },
         [&] { setrlimit(RLIMIT_FSIZE, &sizeLimit); }, notSaved, "Error", PromptIcon::Critical},
        {"the panel stops answering on the serial line", Link::Serial,
         [&] { sim.Panel().SetFaults({.stopAfter = sim.Panel().CommandCount() + 1 + 50}); },
         [&] { sim.Panel().SetFaults({}); },
         "The Panel Settings Could Not Be Backed Up: The Tamberline II Did Not Answer While Its Settings Were Read "
         "(Upload Error: 19)." + notChanged,
         "Error", PromptIcon::Critical},
    };
    std::optional<Link> connected;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (std::string(c.what) == "the program folder is read-only" && geteuid() == 0) continue;  // root writes anyway
        if (state.PanelConnected && connected != c.link) QTest::mouseClick(w->cmdConnect, Qt::LeftButton);
        if (!state.PanelConnected) {
            Use(c.link);
            Connect();
            connected = c.link;
        }
        ASSERT_TRUE(WaitFor([&] { return Settled(); }));
        const auto memory = sim.Panel().Memory();
        sim.Panel().ClearLog();
        prompts.asked.clear();
        c.make();
        Download();
        ASSERT_FALSE(prompts.asked.empty());
        const PromptRequest& said = prompts.asked[0];
        EXPECT_TRUE(said.text.startsWith(c.text)) << said.text.toStdString();
        EXPECT_TRUE(said.text.endsWith(notChanged) || said.text.contains(notChanged + "\nTo Download Without A Backup"))
            << said.text.toStdString();
        EXPECT_EQ(said.title, c.title);
        EXPECT_EQ(said.icon, c.icon);
        EXPECT_EQ(sim.Panel().Memory(), memory);
        EXPECT_EQ(Writes(), std::vector<std::string>{});
        EXPECT_EQ(QDir(backups).entryList(QDir::Files | QDir::Hidden), QStringList{});
        EXPECT_TRUE(MenusEnabled());
        EXPECT_TRUE(w->pbActivityProgress->isHidden());
        if (c.link == Link::Tcp) {
            EXPECT_EQ(prompts.asked.size(), 1u) << prompts.Texts().join(" | ").toStdString();
            EXPECT_TRUE(state.PanelConnected);
            EXPECT_FALSE(w->cmdDownLoadToT2->isHidden());
        } else {
            // The next poll finds the panel silent: the link is lost.
            ASSERT_TRUE(WaitFor([&] { return !state.PanelConnected && prompts.asked.size() == 2; }));
            EXPECT_EQ(prompts.asked[1].text, "Connection To Tamberline II Panel Lost");
        }
        c.undo();
        QDir().mkpath(backups);
    }
}

// Compare fails as an upload does, but clears nothing and keeps the session.
TEST_F(SafeDownload, ACompareThatFailsClearsNothing)
{
    auto host = AllChanged();
    SetHost(*host);
    UseTcp();
    Connect();
    SetDataChanged(state, true);
    const PanelConfig config = state.Config;
    auto cancelAt = std::make_shared<int>(0);
    QObject::connect(w->pbActivityProgress, &QProgressBar::valueChanged, w, [this, cancelAt](int v) {
        if (*cancelAt && v == *cancelAt) QTest::mouseClick(w->cmdCancelUpDownLoad, Qt::LeftButton);
    });
    struct Case {
        const char* what;
        FaultOptions faults;
        int cancelAt;
        QString text;
        QString title;
        PromptIcon icon;
    };
    for (const Case& c : std::vector<Case>{
             {"block read fails", {.stopAfter = 1}, 0, "Upload Error: 19", "Error", PromptIcon::Critical},
             {"wrong checksum", {.wrongChecksum = true}, 0, "Upload Error: 2", "Error", PromptIcon::Critical},
             {"cancelled", {}, 50, "Manual Upload Cancel.", "Upload", PromptIcon::Exclamation},
         }) {
        SCOPED_TRACE(c.what);
        FaultOptions f = c.faults;
        if (f.stopAfter) f.stopAfter += sim.Panel().CommandCount() + 20;
        sim.Panel().SetFaults(f);
        *cancelAt = c.cancelAt;
        prompts.asked.clear();
        sim.Panel().ClearLog();
        Compare();
        sim.Panel().SetFaults({});
        ASSERT_EQ(prompts.asked.size(), 1u) << prompts.Texts().join(" | ").toStdString();
        EXPECT_EQ(prompts.asked[0].text, c.text);
        EXPECT_EQ(prompts.asked[0].title, c.title);
        EXPECT_EQ(prompts.asked[0].icon, c.icon);
        EXPECT_TRUE(state.PanelConnected);
        EXPECT_TRUE(state.DataChanged);
        EXPECT_EQ(state.Config, config);
        EXPECT_FALSE(main->IsWindowOpen("frmT2CompareWithPanel"));
        EXPECT_TRUE(MenusEnabled());
        EXPECT_FALSE(w->cmdCompareWithT2->isHidden());
        EXPECT_TRUE(w->cmdConnect->isEnabled());
        EXPECT_EQ(Writes(), std::vector<std::string>{});
    }
}

// The window groups the list by section with counts, works from the
// keyboard, names its controls and saves the list as `diff` prints it.
TEST_F(SafeDownload, TheCompareWindowFromTheKeyboardAndItsSavedList)
{
    ProgramState base;
    fixtures::ChangesBase(base);
    LoadPanel(base.Config, base.Devices);
    SetHost(*AllChanged());
    UseTcp();
    Connect();
    for (QWidget* control : std::initializer_list<QWidget*>{w->cmdCompareWithT2, w->chkBackUpFirst}) {
        EXPECT_FALSE(control->accessibleName().isEmpty()) << control->objectName().toStdString();
        EXPECT_TRUE(control->focusPolicy() & Qt::TabFocus) << control->objectName().toStdString();
    }
    w->cmdCompareWithT2->setFocus();
    QTest::keyClick(w->cmdCompareWithT2, Qt::Key_Space);
    ASSERT_TRUE(WaitFor([&] { return main->IsWindowOpen("frmT2CompareWithPanel"); }));
    frmT2CompareWithPanel* compare = CompareWindow();
    EXPECT_EQ(compare->windowTitle(), "Compare With Tamberline II");

    std::vector<std::string> expected;
    for (const Change& c : Changes())
        if (std::string(c.label) != "group name") expected.insert(expected.end(), c.lines.begin(), c.lines.end());
    std::vector<std::string> listed = Listed();
    std::sort(listed.begin(), listed.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(listed, expected);
    EXPECT_EQ(compare->lblSummary->text(),
              QString("A Download Would Change %1 Items In The Tamberline II.").arg(expected.size()));
    // A row per section with its count, the items below it.
    const auto counts = CountBySection(compare->Differences());
    ASSERT_EQ(compare->tvwDifferences->topLevelItemCount(), static_cast<int>(counts.size()));
    EXPECT_EQ(compare->tvwDifferences->topLevelItem(0)->text(0), "[Panel Settings]: 1 Item");
    EXPECT_EQ(compare->tvwDifferences->topLevelItem(1)->text(0), "[Relay Schedule]: 2 Items");
    QTreeWidgetItem* first = compare->tvwDifferences->topLevelItem(0)->child(0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->text(0), "Time Zone");
    EXPECT_EQ(first->text(1), "Central");
    EXPECT_EQ(first->text(2), "Pacific");

    // The keyboard: the list has the focus, Tab goes on to the save button,
    // back to the check box, and Space ticks it.
    for (QWidget* control : std::initializer_list<QWidget*>{compare->chkIncludeNames, compare->tvwDifferences,
                                                            compare->cmdSaveList}) {
        EXPECT_FALSE(control->accessibleName().isEmpty()) << control->objectName().toStdString();
        EXPECT_TRUE(control->focusPolicy() & Qt::TabFocus) << control->objectName().toStdString();
    }
    EXPECT_EQ(QApplication::focusWidget(), compare->tvwDifferences);
    QTest::keyClick(compare->tvwDifferences, Qt::Key_Down);
    EXPECT_EQ(compare->tvwDifferences->currentItem(), first);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), compare->cmdSaveList);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), compare->chkIncludeNames);
    QTest::keyClick(compare->chkIncludeNames, Qt::Key_Space);
    EXPECT_TRUE(compare->chkIncludeNames->isChecked());
    EXPECT_EQ(Listed().size(), expected.size() + 2);

    // Saved as text: the lines of `diff`, with the report's line ends.
    QTemporaryDir dir;
    const QString file = dir.filePath("CHANGES.TXT");
    prompts.fileNames = {file};
    compare->cmdSaveList->setFocus();
    QTest::keyClick(compare->cmdSaveList, Qt::Key_Space);
    ASSERT_EQ(prompts.fileAsked.size(), 1u);
    EXPECT_TRUE(prompts.fileAsked[0].save);
    std::string text;
    for (const ReportDifference& d : compare->Differences()) text += DifferenceLine(d) + "\r\n";
    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll().toStdString(), text);
    EXPECT_EQ(text.substr(0, text.find('\n') + 1), "[Panel Settings]\tTime Zone\tCentral\tPacific\r\n");

    // Undo in the Edit menu: the list is that of the configuration now.
    state.Config.TimeZone = 1;
    compare->ConfigurationReplaced();
    EXPECT_EQ(compare->tvwDifferences->topLevelItem(0)->text(0), "[Relay Schedule]: 2 Items");
    EXPECT_TRUE(prompts.asked.empty()) << prompts.Texts().join(" | ").toStdString();
}
