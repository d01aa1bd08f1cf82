#include "PanelCopy.h"

#include "Commands.h"
#include "Frame.h"
#include "ImagePacking.h"
#include "Members.h"
#include "SettingsFile.h"
#include "Windows1252.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>
#include <cstdio>
#include <memory>
#include <type_traits>

namespace t2 {

namespace {

struct Side {
    PanelConfig config;
    VantelDevices devices;
};

// Every name the panel keeps, taken from one configuration into another.
void CopyNames(const PanelConfig& from, const VantelDevices& fromDevices, Side& to)
{
    to.config.PanelName = from.PanelName;
    to.config.RelayNames = from.RelayNames;
    to.config.GroupNames = from.GroupNames;
    to.config.InputNames = from.InputNames;
    to.config.TimerNames = from.TimerNames;
    to.config.PresetNames = from.PresetNames;
    for (std::size_t d = 0; d < to.devices.size(); ++d) to.devices[d].DeviceName = fromDevices[d].DeviceName;
}

// Every element of every member, as "name index" and its value (indexes
// counted from 1, as the user counts items).
struct Flatten {
    std::string prefix;
    std::vector<std::pair<std::string, std::string>>& out;

    static std::string Value(const Bytes& v) { return v; }
    template <typename T>
    static std::string Value(T v)
    {
        return std::to_string(v);
    }
    template <typename T>
    void operator()(const char* name, const T& member)
    {
        if constexpr (std::is_same_v<T, Bytes> || std::is_integral_v<T>) {
            out.emplace_back(prefix + name, Value(member));
        } else if constexpr (requires { T::First; }) {
            for (std::size_t b = 0; b < T::Second; ++b)
                for (std::size_t a = 0; a < T::First; ++a)
                    out.emplace_back(prefix + name + " " + std::to_string(a + 1) + "," + std::to_string(b + 1),
                                     Value(member(a, b)));
        } else {
            for (std::size_t i = 0; i < member.size(); ++i)
                out.emplace_back(prefix + name + " " + std::to_string(i + 1), Value(member[i]));
        }
    }
};

std::vector<std::pair<std::string, std::string>> Flattened(const Side& s)
{
    std::vector<std::pair<std::string, std::string>> out;
    VisitPanelConfig(s.config, Flatten{{}, out});
    for (int d = 1; d < DeviceSlots; ++d) {
        char prefix[16];
        std::snprintf(prefix, sizeof prefix, "VT-%02X ", d);
        VisitVantelDevice(s.devices[d], Flatten{prefix, out});
    }
    return out;
}

// The members that differ, by name: for settings the report does not show.
std::vector<ReportDifference> MemberDifferences(const Side& now, const Side& after)
{
    std::vector<ReportDifference> out;
    const auto a = Flattened(now);
    const auto b = Flattened(after);
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (a[i].second != b[i].second) out.push_back({"[Other Settings]", a[i].first, a[i].second, b[i].second});
    return out;
}

bool FileNameCharacterOk(QChar c)
{
    if (c.unicode() < 0x20 || c.unicode() == 0x7F) return false;
    return !QStringLiteral("/\\:*?\"<>|").contains(c);
}

}  // namespace

void ApplyPanelCopy(const PanelConfig& base, const VantelDevices& baseDevices, PanelCopy& copy)
{
    copy.config = base;
    copy.devices = baseDevices;
    ApplyPanelImage(copy.image, copy.config, copy.devices, true);
}

std::vector<ReportDifference> DownloadChanges(const PanelConfig& host, const VantelDevices& hostDevices,
                                              const PanelImage& panelImage, bool includeNames,
                                              NameComparison names)
{
    // Both sides start from the host configuration, so that what the image
    // does not carry is the same on both.
    auto now = std::make_unique<Side>(Side{host, hostDevices});
    ApplyPanelImage(panelImage, now->config, now->devices, true);
    auto after = std::make_unique<Side>(Side{host, hostDevices});
    {
        auto image = std::make_unique<PanelImage>();
        BuildPanelImage(host, hostDevices, {}, *image);
        ApplyPanelImage(*image, after->config, after->devices, true);
    }
    if (!includeNames) {
        // The host's names on both sides: the panel name comes with every
        // reading, the others only when asked for.
        CopyNames(host, hostDevices, *now);
        CopyNames(host, hostDevices, *after);
    } else if (names == HostNamesWhole) {
        CopyNames(host, hostDevices, *after);
        NamesAsPanelCompares(now->config, now->devices);
        NamesAsPanelCompares(after->config, after->devices);
    }
    std::vector<ReportDifference> differences =
        CompareConfigurations(now->config, now->devices, after->config, after->devices);
    if (differences.empty()) differences = MemberDifferences(*now, *after);
    return differences;
}

std::string BackupFileName(const Bytes& panelName, const QDateTime& moment)
{
    QString name = BytesToText(panelName).trimmed();
    if (name.isEmpty()) name = BytesToText(DefaultPanelName).trimmed();
    for (QChar& c : name)
        if (!FileNameCharacterOk(c)) c = QLatin1Char('_');
    // A name of dots alone would make a hidden file or a folder's name.
    for (qsizetype i = 0; i < name.size() && name[i] == QLatin1Char('.'); ++i) name[i] = QLatin1Char('_');
    return (name + QLatin1Char(' ') + moment.toString(QStringLiteral("yyyy-MM-dd HHmmss")) + QStringLiteral(".TMB"))
        .toStdString();
}

std::string SaveBackupInFolder(const PanelCopy& copy, const std::string& folder, std::string* error)
{
    return SaveSettingsInFolder(copy.config, copy.devices, folder,
                                BackupFileName(copy.config.PanelName, copy.readAt), error);
}

std::string SaveSettingsInFolder(const PanelConfig& config, const VantelDevices& devices, const std::string& folder,
                                 const std::string& fileName, std::string* error)
{
    const QString dir = QString::fromStdString(folder);
    if (!QDir().mkpath(dir) || !QFileInfo(dir).isDir()) {
        if (error) *error = folder + ": the folder cannot be created";
        return {};
    }
    const QString name = QString::fromStdString(fileName);
    const QString stem = name.chopped(4);  // without ".TMB"
    QString path = QDir(dir).filePath(name);
    for (int n = 2; QFileInfo::exists(path) || QFileInfo(path).isSymLink(); ++n)
        path = QDir(dir).filePath(stem + QStringLiteral(" (%1).TMB").arg(n));
    const std::string target = path.toStdString();
    if (!WriteSettingsFile(target, config, devices, error)) return {};
    return target;
}

bool SaveBackupAs(const PanelCopy& copy, const std::string& path, std::string* error)
{
    return WriteSettingsFile(path, copy.config, copy.devices, error);
}

std::string PanelReadTimeEstimate(int connectionType)
{
    if (connectionType >= ConnectTcpIp) return "a few seconds";
    // The characters of 384 block reads and the checksum, both ways, at ten
    // bits each.
    const PanelCommand read = BlockReadCommand(0);
    const PanelCommand sum = ImageChecksumCommand();
    const double characters =
        PanelBlockCount * double(FrameCommand(read.text).size() + read.replyLength) +
        double(FrameCommand(sum.text).size() + sum.replyLength);
    const double seconds = characters * 10.0 / (connectionType == ConnectModem ? 9600.0 : 115200.0);
    if (seconds < 45) return "about " + std::to_string(static_cast<int>(std::lround(seconds))) + " seconds";
    if (seconds < 90) return "about a minute";
    return "about " + std::to_string(static_cast<int>(std::lround(seconds / 60))) + " minutes";
}

}  // namespace t2
