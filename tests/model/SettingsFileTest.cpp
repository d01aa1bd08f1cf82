#include "Defaults.h"
#include "Members.h"
#include "SettingsFile.h"

#include "../common/TestRecords.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <memory>
#include <random>
#include <type_traits>
#include <vector>

using namespace t2;

namespace {

using fixtures::Records;

std::unique_ptr<Records> Fresh() { return fixtures::FreshRecords(); }

// Every member, spares included, with random values of its own width.
std::unique_ptr<Records> Random(unsigned round)
{
    std::mt19937 rng(round);
    auto r = std::make_unique<Records>();
    fixtures::MemberFiller fill{[&] { return static_cast<Integer>(rng()); },
                               [&] { return static_cast<Long>(rng()); },
                               [&] {
                                   Bytes s(rng() % 24, '\0');
                                   for (char& ch : s) ch = static_cast<char>(rng());
                                   return s;
                               }};
    fill.FillAll(*r);
    return r;
}

// The byte offset at which each member starts, with its name.
struct Boundary {
    std::string member;
    std::size_t offset;
    bool isString;
};

struct OffsetWalker {
    std::vector<Boundary>& out;
    std::size_t pos = 0;
    std::size_t Size(const Integer&) { return 2; }
    std::size_t Size(const Long&) { return 4; }
    std::size_t Size(const Bytes& s) { return 2 + s.size(); }
    template <typename T, std::size_t N>
    std::size_t Size(const std::array<T, N>& a)
    {
        std::size_t n = 0;
        for (const T& e : a) n += Size(e);
        return n;
    }
    template <typename T, std::size_t A, std::size_t B>
    std::size_t Size(const Array2<T, A, B>& a)
    {
        return Size(a.data);
    }
    template <typename T>
    void operator()(const char* name, const T& m)
    {
        out.push_back({name, pos, std::is_same_v<T, Bytes>});
        pos += Size(m);
    }
};

}  // namespace

TEST(SettingsFile, FreshConfigurationIsTheKnownSize)
{
    auto r = Fresh();
    const std::string bytes = SerializeSettings(r->config, r->devices);
    EXPECT_EQ(bytes.size(), 103099u);
    // Empty panel name: member 2 starts at offset 2.
    EXPECT_EQ(bytes.substr(0, 2), std::string("\0\0", 2));
    // Main record 39508 bytes; the first device record starts with DeviceType 0 and "VANTEL 00".
    EXPECT_EQ(bytes.substr(39508, 13), std::string("\0\0\x09\0VANTEL 00", 13));
}

TEST(SettingsFile, KnownBytes)
{
    auto r = Fresh();
    r->config.PanelName = "AB";
    r->config.InputRelayControl(1, 0) = -2;
    const std::string bytes = SerializeSettings(r->config, r->devices);
    EXPECT_EQ(bytes.substr(0, 8), std::string("\x02\0AB\0\0\xFE\xFF", 8));
}

TEST(SettingsFile, RoundTripKeepsEveryByte)
{
    auto r = Fresh();
    PanelConfig& c = r->config;
    c.PanelName = std::string(300, 'N');
    c.RelayNames[0] = "";
    c.RelayNames[1] = std::string("\xE9t\xE9\x80\xFF", 5);  // 8-bit bytes stay bytes
    c.InputTimedOnTime[3] = 100000;
    c.InputTimedOnTime[4] = -1;
    c.ModemPhoneNumber() = "5551234";
    c.PanelAddress() = "192.168.1.20";
    c.ConnectionType() = ConnectTcpIp;
    c.RelayNames[48] = "spare";
    c.NodeIOCount[12] = 3;
    c.InputRelayControl(48, 48) = 7;
    r->devices[0].DeviceType = 5;
    r->devices[0].DeviceName = std::string(300, 'D');
    r->devices[7].DeviceReserved = {1, -2, 3, 70000, 5, 6};
    r->devices[7].DeviceInputTimedOnTime[8] = 123456789;

    const std::string bytes = SerializeSettings(r->config, r->devices);
    auto back = std::make_unique<Records>();
    std::string error;
    ASSERT_TRUE(ParseSettings(bytes, back->config, back->devices, &error)) << error;
    EXPECT_TRUE(back->config == r->config);
    EXPECT_TRUE(back->devices == r->devices);
    EXPECT_EQ(SerializeSettings(back->config, back->devices), bytes);
}

TEST(SettingsFile, RandomConfigurationsRoundTrip)
{
    for (unsigned round = 1; round <= 5; ++round) {
        auto r = Random(round);
        const std::string bytes = SerializeSettings(r->config, r->devices);
        auto back = std::make_unique<Records>();
        std::string error;
        ASSERT_TRUE(ParseSettings(bytes, back->config, back->devices, &error)) << error;
        EXPECT_TRUE(back->config == r->config) << "round " << round;
        EXPECT_TRUE(back->devices == r->devices) << "round " << round;
        // Bytes after the 34th record are ignored.
        auto trailing = std::make_unique<Records>();
        ASSERT_TRUE(ParseSettings(bytes + "extra bytes", trailing->config, trailing->devices, &error));
        EXPECT_TRUE(trailing->config == r->config);
    }
}

TEST(SettingsFile, EveryTruncationIsRefusedAndLeavesTheModelAlone)
{
    auto source = Random(42);
    const std::string bytes = SerializeSettings(source->config, source->devices);
    std::vector<Boundary> members;
    OffsetWalker walk{members};
    VisitPanelConfig(source->config, walk);
    for (const VantelDevice& d : source->devices) VisitVantelDevice(d, walk);
    ASSERT_EQ(walk.pos, bytes.size());

    // Cut at the start of every member, one byte into it, and (for strings) just
    // after the length; plus every one of the last 8 bytes.
    struct Cut {
        std::size_t at;
        std::string member;
    };
    std::vector<Cut> cuts;
    for (const Boundary& b : members) {
        cuts.push_back({b.offset, b.member});
        cuts.push_back({b.offset + 1, b.member});
        if (b.isString) cuts.push_back({b.offset + 2, b.member});
    }
    for (std::size_t i = 1; i <= 8; ++i) cuts.push_back({bytes.size() - i, "DeviceInputPreset"});

    auto model = Fresh();
    auto before = Fresh();
    for (const Cut& cut : cuts) {
        if (cut.at >= bytes.size()) continue;
        std::string error;
        ASSERT_FALSE(ParseSettings(bytes.substr(0, cut.at), model->config, model->devices, &error))
            << "cut at " << cut.at;
        EXPECT_NE(error.find("member"), std::string::npos) << error;
        EXPECT_NE(error.find("byte offset"), std::string::npos) << error;
        ASSERT_TRUE(model->config == before->config) << "cut at " << cut.at;
        ASSERT_TRUE(model->devices == before->devices) << "cut at " << cut.at;
    }
    // The message names the member that was cut, at the offset where it starts.
    std::string error;
    const Boundary& relayNames = members[20];
    ASSERT_EQ(relayNames.member, "RelayNames");
    ParseSettings(bytes.substr(0, relayNames.offset + 1), model->config, model->devices, &error);
    EXPECT_NE(error.find("RelayNames"), std::string::npos) << error;
    EXPECT_NE(error.find(std::to_string(relayNames.offset)), std::string::npos) << error;
}

TEST(SettingsFile, RandomBytesNeverCrashOrHalfLoad)
{
    std::mt19937 rng(7);
    auto model = Fresh();
    auto before = Fresh();
    for (int round = 0; round < 20; ++round) {
        std::string junk(rng() % 120000, '\0');
        for (char& ch : junk) ch = static_cast<char>(rng());
        std::string error;
        if (!ParseSettings(junk, model->config, model->devices, &error)) {
            EXPECT_FALSE(error.empty());
            ASSERT_TRUE(model->config == before->config);
        } else {
            ResetConfiguration(model->config, model->devices);
        }
    }
}

TEST(SettingsFile, FilesOnDisk)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string path = dir.filePath("SITE.TMB").toStdString();
    auto r = Fresh();
    std::string error;

    // Over an existing, longer file the new file has exactly the new length.
    {
        QFile f(QString::fromStdString(path));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(200000, 'x'));
    }
    ASSERT_TRUE(WriteSettingsFile(path, r->config, r->devices, &error)) << error;
    EXPECT_EQ(QFile(QString::fromStdString(path)).size(), 103099);

    auto back = std::make_unique<Records>();
    ASSERT_TRUE(ReadSettingsFile(path, back->config, back->devices, &error)) << error;
    EXPECT_TRUE(back->config == r->config);

    // A save that cannot be made says so, naming the file as given.
    EXPECT_FALSE(WriteSettingsFile(dir.filePath("no such folder/X.TMB").toStdString(), r->config,
                                   r->devices, &error));
    EXPECT_NE(error.find(dir.filePath("no such folder/X.TMB").toStdString()), std::string::npos) << error;

    // A missing file and a short file are refused with the file's whole path.
    EXPECT_FALSE(ReadSettingsFile(dir.filePath("MISSING.TMB").toStdString(), back->config, back->devices, &error));
    EXPECT_NE(error.find(dir.filePath("MISSING.TMB").toStdString()), std::string::npos) << error;
    {
        QFile f(dir.filePath("SHORT.TMB"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("\x05\0ABC", 5);
    }
    EXPECT_FALSE(ReadSettingsFile(dir.filePath("SHORT.TMB").toStdString(), back->config, back->devices, &error));
    EXPECT_NE(error.find(dir.filePath("SHORT.TMB").toStdString()), std::string::npos) << error;
    EXPECT_NE(error.find("PanelName"), std::string::npos) << error;
    EXPECT_TRUE(back->config == r->config);
}

TEST(SettingsFile, TheLongestFileReadsBackAndAnythingLongerIsRefused)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("LONGEST.TMB");
    auto longest = std::make_unique<Records>();
    fixtures::MemberFiller fill{[] { return Integer{-2}; }, [] { return Long{-3}; },
                               [] { return Bytes(0xFFFF, 'N'); }};
    fill.FillAll(*longest);
    std::string error;
    ASSERT_TRUE(WriteSettingsFile(path.toStdString(), longest->config, longest->devices, &error)) << error;
    ASSERT_EQ(static_cast<std::size_t>(QFile(path).size()), MaxSettingsFileBytes());

    auto back = Fresh();
    ASSERT_TRUE(ReadSettingsFile(path.toStdString(), back->config, back->devices, &error)) << error;
    EXPECT_TRUE(back->config == longest->config);
    EXPECT_TRUE(back->devices == longest->devices);

    // Trailing bytes within the bound are ignored; one byte past it is too many.
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::Append));
        f.write("x", 1);
    }
    auto untouched = Fresh();
    EXPECT_FALSE(ReadSettingsFile(path.toStdString(), untouched->config, untouched->devices, &error));
    EXPECT_NE(error.find(path.toStdString() + " is not a settings file"), std::string::npos) << error;
    EXPECT_TRUE(untouched->config == Fresh()->config);
}

#ifndef _WIN32  // named pipes, device files and symbolic links as Linux has them
// A settings file is a regular file: a named pipe (with a writer or none),
// a device or a folder is refused before it is opened, so that nothing waits
// on a pipe nobody writes to or reads a device that never ends.
TEST(SettingsFile, PipesDevicesAndFoldersAreRefusedUnopened)
{
    QTemporaryDir dir;
    const QString site = dir.filePath("SITE.TMB");
    auto r = Fresh();
    r->config.PanelName = "PIPED";
    std::string error;
    ASSERT_TRUE(WriteSettingsFile(site.toStdString(), r->config, r->devices, &error)) << error;

    const QString pipe = dir.filePath("PIPE.TMB");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString pipeLink = dir.filePath("PIPELINK.TMB");
    ASSERT_TRUE(QFile::link(pipe, pipeLink));
    struct Case {
        QString path;
        std::string says;
    };
    const std::string notRegular = "is not a settings file: it is not a regular file (a device, pipe or socket)";
    for (const Case& c : {Case{pipe, notRegular}, Case{pipeLink, notRegular}, Case{"/dev/zero", notRegular},
                          Case{dir.path(), "is not a settings file: it is a folder"}}) {
        SCOPED_TRACE(c.path.toStdString());
        auto back = Fresh();
        EXPECT_FALSE(ReadSettingsFile(c.path.toStdString(), back->config, back->devices, &error));
        EXPECT_EQ(error, c.path.toStdString() + " " + c.says);
        EXPECT_TRUE(back->config == Fresh()->config);
        std::string bytes;
        EXPECT_FALSE(ReadWholeFile(c.path.toStdString(), 1000, bytes, &error));
        EXPECT_NE(error.find(c.path.toStdString() + " is "), std::string::npos) << error;
        EXPECT_NE(error.find("it was not read"), std::string::npos) << error;
    }
    // A link to a regular file is read through.
    const QString link = dir.filePath("LINK.TMB");
    ASSERT_TRUE(QFile::link(site, link));
    auto back = Fresh();
    ASSERT_TRUE(ReadSettingsFile(link.toStdString(), back->config, back->devices, &error)) << error;
    EXPECT_EQ(back->config.PanelName, "PIPED");

    // The general reader stops one byte past its limit.
    std::string bytes;
    bool tooLong = false;
    const auto size = static_cast<std::size_t>(QFile(site).size());
    EXPECT_TRUE(ReadWholeFile(site.toStdString(), size, bytes, &error, &tooLong)) << error;
    EXPECT_FALSE(tooLong);
    QFile siteFile(site);
    ASSERT_TRUE(siteFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(bytes, siteFile.readAll().toStdString());
    EXPECT_FALSE(ReadWholeFile(site.toStdString(), size - 1, bytes, &error, &tooLong));
    EXPECT_TRUE(tooLong);
}
#endif

#ifndef _WIN32  // named pipes and symbolic links as Linux has them
TEST(SettingsFile, SavesOntoWhatIsNotARegularFileAreRefused)
{
    QTemporaryDir dir;
    auto r = Fresh();
    std::string error;
    const QString site = dir.filePath("SITE.TMB");
    ASSERT_TRUE(WriteSettingsFile(site.toStdString(), r->config, r->devices, &error)) << error;

    // A symbolic link to a regular file is saved through: the link stays a link.
    const QString link = dir.filePath("LINK.TMB");
    ASSERT_TRUE(QFile::link(site, link));
    r->config.PanelName = "THROUGH THE LINK";
    ASSERT_TRUE(WriteSettingsFile(link.toStdString(), r->config, r->devices, &error)) << error;
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    auto back = Fresh();
    ASSERT_TRUE(ReadSettingsFile(site.toStdString(), back->config, back->devices, &error)) << error;
    EXPECT_EQ(back->config.PanelName, "THROUGH THE LINK");

    // A folder, a named pipe and a link to the pipe are left as they were.
    const QString folder = dir.filePath("FOLDER.TMB");
    ASSERT_TRUE(QDir(dir.path()).mkdir("FOLDER.TMB"));
    const QString pipe = dir.filePath("PIPE.TMB");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString pipeLink = dir.filePath("PIPELINK.TMB");
    ASSERT_TRUE(QFile::link(pipe, pipeLink));
    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
    for (const QString& target : {folder, pipe, pipeLink}) {
        SCOPED_TRACE(target.toStdString());
        error.clear();
        EXPECT_FALSE(WriteSettingsFile(target.toStdString(), r->config, r->devices, &error));
        EXPECT_NE(error.find(target.toStdString()), std::string::npos) << error;
        EXPECT_NE(error.find("nothing was written"), std::string::npos) << error;
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System), before);
    EXPECT_TRUE(QFileInfo(folder).isDir());
    struct stat info {};
    ASSERT_EQ(::lstat(QFile::encodeName(pipe).constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_TRUE(QFileInfo(pipeLink).isSymLink());

    // Links that lead round in a loop stay links; a link to a file not there
    // yet is saved through and makes it.
    const QString loopA = dir.filePath("LOOP_A.TMB");
    const QString loopB = dir.filePath("LOOP_B.TMB");
    ASSERT_TRUE(QFile::link(loopB, loopA));
    ASSERT_TRUE(QFile::link(loopA, loopB));
    EXPECT_FALSE(WriteSettingsFile(loopA.toStdString(), r->config, r->devices, &error));
    EXPECT_EQ(error, loopA.toStdString() + " is a symbolic link that leads round in a loop: nothing was written");
    EXPECT_TRUE(QFileInfo(loopA).isSymLink());
    EXPECT_TRUE(QFileInfo(loopB).isSymLink());
    const QString ahead = dir.filePath("AHEAD.TMB");
    ASSERT_TRUE(QFile::link(dir.filePath("LATER.TMB"), ahead));
    ASSERT_TRUE(WriteSettingsFile(ahead.toStdString(), r->config, r->devices, &error)) << error;
    EXPECT_TRUE(QFileInfo(ahead).isSymLink());
    EXPECT_TRUE(QFileInfo(dir.filePath("LATER.TMB")).isFile());
}
#endif
