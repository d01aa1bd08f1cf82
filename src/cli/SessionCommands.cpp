// The panel commands: status, download, upload and set-clock over TCP/IP, a
// serial line or a modem, through the same session code as the connection
// window. The tool never asks: where the window would ask, it says what it
// found on stderr and changes nothing.
#include "Json.h"
#include "PanelOptions.h"

#include "Defaults.h"
#include "SettingsFile.h"
#include "Windows1252.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <optional>

#ifdef _WIN32
#include <io.h>
#define T2_ISATTY _isatty
#define T2_FILENO _fileno
#else
#include <unistd.h>
#define T2_ISATTY isatty
#define T2_FILENO fileno
#endif

namespace t2::cli {

namespace {

// Exit codes of the panel commands (besides 0, 64 and the transfer codes).
constexpr int ExitConnectFailed = 10;
constexpr int ExitPasswordRefused = 11;
constexpr int ExitLinkLost = 12;
constexpr int ExitNotConfirmed = 13;  // --confirm answered no: nothing written
constexpr int ExitBackupFailed = 14;  // the panel's settings could not be read or saved: nothing written
constexpr int ExitTraceUnwritable = 15;  // the --trace file could not be written: nothing sent

const char* const ShortPhoneNumber = "a phone number needs at least 7 characters";

// A --tcp value, checked the same way by every command that takes one: a host
// name or address (printable characters, no spaces) and, after a colon, a
// port 1..65535. False with a message when it is not one.
bool ParseTcpAddress(const std::string& text, LinkSettings& link, std::string& message)
{
    if (!link.SetPanelAddress(QString::fromStdString(text))) {
        message = "not a port: '" + text + "'";
        return false;
    }
    if (link.address.isEmpty()) {
        message = "--tcp needs a host";
        return false;
    }
    for (QChar c : link.address) {
        if (c.unicode() <= ' ' || c.unicode() > '~') {
            message = "not a host name or address: '" + text + "'";
            return false;
        }
    }
    return true;
}

// A text for an 8-bit field of the settings file, converted as the windows
// convert what is typed (Windows-1252); nothing, with the reason, when the
// field cannot hold it as it is: a line break or other control character, a
// character outside Windows-1252, more than the field's 65535 bytes.
std::optional<Bytes> FieldBytes(const QString& text, const std::string& option, std::string& message)
{
    for (QChar c : text) {
        if (c.unicode() < ' ' || c.unicode() == 0x7F) {
            message = option + " holds a line break or another control character";
            return std::nullopt;
        }
    }
    Bytes bytes = TextToBytes(text);
    if (BytesToText(bytes) != text) {
        message = option + " holds a character the settings file cannot keep (it keeps Windows-1252)";
        return std::nullopt;
    }
    if (bytes.size() > MaxSettingsTextBytes) {
        message = option + " is longer than the " + std::to_string(MaxSettingsTextBytes) +
                  " bytes the settings file keeps";
        return std::nullopt;
    }
    return bytes;
}

}  // namespace

const char* const LinkUsage =
    "(--site SITE.TMB | --tcp HOST[:PORT] | --serial DEVICE | --modem DEVICE --phone NUMBER) [--trace FILE]";

bool ParseOptions(const std::vector<std::string>& args, std::vector<std::string> valueOptions,
                  const std::vector<std::string>& flagOptions, PanelOptions& o, std::string& message,
                  bool linkOptional)
{
    for (const char* linkOption : {"--site", "--tcp", "--serial", "--modem", "--phone", "--trace"})
        valueOptions.push_back(linkOption);
    if (!ParseArguments(args, valueOptions, flagOptions, o, message)) return false;
    std::optional<std::string> phone;
    int links = 0;
    for (const auto& [a, v] : o.valued) {
        if (a == "--tcp") {
            ++links;
            o.link.connectionType = ConnectTcpIp;
            if (!ParseTcpAddress(v, o.link, message)) return false;
        } else if (a == "--serial" || a == "--modem") {
            ++links;
            o.link.connectionType = a == "--serial" ? ConnectDirectSerial : ConnectModem;
            o.link.serialDevice = QString::fromLocal8Bit(v.c_str());
        } else if (a == "--site") {
            ++links;
            o.site = v;
        } else if (a == "--phone") {
            phone = v;
        } else if (a == "--trace") {
            o.trace = v;
        }
    }
    o.hasLink = links > 0;
    if (links > 1 || (links == 0 && !linkOptional)) {
        message = links == 0 ? "name the link: --site, --tcp, --serial or --modem" : "name only one link";
        return false;
    }
    if (!o.site.empty() && phone) {
        message = "--phone goes with --modem (a site's modem dials the site's number)";
        return false;
    }
    if (!o.hasLink || !o.site.empty()) return true;
    if (o.link.connectionType == ConnectModem) {
        if (!phone) {
            message = "--modem needs --phone NUMBER";
            return false;
        }
        o.link.phoneNumber = *phone;
    } else if (phone) {
        message = "--phone goes with --modem";
        return false;
    }
    return true;
}

namespace {

// A text of the site file's link that cannot be used: empty, or why not.
std::string LinkTextProblem(const Bytes& bytes, const char* what)
{
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) < ' ' || c == 0x7F)
            return std::string("the ") + what + " holds a line break or another control character";
    }
    return {};
}

}  // namespace

int TakeSiteLink(PanelOptions& o, int unreadable, ProgramState* read)
{
    if (o.site.empty()) return ExitOk;
    std::unique_ptr<ProgramState> own;
    ProgramState& s = read ? *read : *(own = std::make_unique<ProgramState>());
    std::string error;
    if (!ReadSettingsFile(o.site, s.Config, s.Devices, &error)) return Fail(error, unreadable);
    const PanelConfig& c = s.Config;
    const auto unusable = [&](const std::string& why) {
        return Fail(o.site + ": the site's link cannot be used: " + why + " (set-link gives it one)", ExitUsage);
    };
    LinkSettings link;
    link.connectionType = c.ConnectionType();
    std::string message;
    switch (c.ConnectionType()) {
    case ConnectTcpIp: {
        if (std::string why = LinkTextProblem(c.PanelAddress(), "TCP/IP address"); !why.empty()) return unusable(why);
        const std::string address = BytesToText(c.PanelAddress()).trimmed().toStdString();
        if (address.empty()) return unusable("it has no TCP/IP address");
        if (!ParseTcpAddress(address, link, message)) return unusable(message);
        break;
    }
    case ConnectModem:
        if (std::string why = LinkTextProblem(c.ModemPhoneNumber(), "phone number"); !why.empty()) return unusable(why);
        if (c.ModemPhoneNumber().size() < MinimumPhoneNumberLength) return unusable(ShortPhoneNumber);
        link.phoneNumber = c.ModemPhoneNumber();
        [[fallthrough]];
    case ConnectDirectSerial:
        if (c.CommPort < 1 || c.CommPort > ComPortCount)
            return unusable("the COM port " + std::to_string(c.CommPort) + " is none of COM1..COM16");
        link.commPort = c.CommPort;
        // The port as the program maps it; a pseudo-terminal or another
        // device stands in for COMn with T2_COMn=DEVICE.
        if (ComPortDevice(c.CommPort).isEmpty()) {
            return Fail(o.site + ": COM" + std::to_string(c.CommPort) +
                            " is no serial port of this computer (T2_COM" + std::to_string(c.CommPort) +
                            "=DEVICE names the device to use)",
                        ExitConnectFailed);
        }
        break;
    default:
        return unusable("the connection type " + std::to_string(c.ConnectionType()) +
                        " is none of 0 (direct serial), 1 (modem), 2 (TCP/IP)");
    }
    o.link = link;
    return ExitOk;
}

QJsonObject LinkJson(const LinkSettings& link)
{
    // A link the tool uses is one of the three (ParseOptions, TakeSiteLink).
    QJsonObject j{{"type", LinkTypeJson(link.connectionType)}};
    if (link.connectionType == ConnectTcpIp) {
        j["address"] = link.address;
        j["port"] = link.tcpPort;
        return j;
    }
    const bool modem = link.connectionType == ConnectModem;
    j["comPort"] = link.serialDevice.isEmpty() ? QJsonValue(link.commPort) : QJsonValue();
    j["device"] = link.serialDevice.isEmpty() ? ComPortDevice(link.commPort) : link.serialDevice;
    if (modem) j["phone"] = JsonText(link.phoneNumber);
    return j;
}

namespace {

// The Qt application object the links need, made once.
void EnsureApplication()
{
    if (QCoreApplication::instance()) return;
    static int argc = 1;
    static char name[] = "tamberline-cli";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

// A session on its own state, with the trace going to a file when asked.
class CliSession {
public:
    // On its own state, or on the one given.
    explicit CliSession(const PanelOptions& o, ProgramState* on = nullptr)
        : own_(on ? nullptr : std::make_unique<ProgramState>()), state(on ? *on : *own_), options_(o)
    {
        EnsureApplication();
        session = std::make_unique<PanelSession>(state);
        PanelExchange& e = session->Exchange();
        e.SetStatusCallback([](const QString& text) {
            if (text.startsWith("Error")) std::cerr << text.toStdString() << "\n";
        });
        e.SetModemStageCallback([](ModemStage stage) {
            if (stage == ModemStage::Connecting) std::cerr << "Modem Connecting\n";
            if (stage == ModemStage::Connected) std::cerr << "Modem Connected\n";
        });
        if (!o.trace.empty()) {
            traceFile_ = std::fopen(o.trace.c_str(), "w");
            if (!traceFile_) traceError_ = std::strerror(errno);
            if (traceFile_) {
                e.SetTraceEnabled(true);
                e.SetTraceSink([this](const TraceEntry& t) {
                    std::fprintf(traceFile_, "%s %s %s\n",
                                 QDateTime::fromMSecsSinceEpoch(t.msecsSinceEpoch)
                                     .toString(Qt::ISODateWithMs)
                                     .toStdString()
                                     .c_str(),
                                 TraceDirectionName(t.direction), t.text.c_str());
                    std::fflush(traceFile_);
                });
            }
        }
    }
    ~CliSession()
    {
        session.reset();
        if (traceFile_) std::fclose(traceFile_);
    }
    CliSession(const CliSession&) = delete;
    CliSession& operator=(const CliSession&) = delete;

    // 0, or the exit code after saying that the --trace file cannot be
    // written (an error of its own, never taken for a command's answer).
    int TraceProblem() const
    {
        if (options_.trace.empty() || traceFile_) return ExitOk;
        return Fail("cannot write the trace file " + options_.trace + ": " + traceError_, ExitTraceUnwritable);
    }

    // Connects; on failure says so and gives the exit code.
    int Connect()
    {
        QString error;
        const ConnectResult r = session->Connect(options_.link, &error);
        if (r == ConnectResult::InvalidPhoneNumber) return Fail(ShortPhoneNumber, ExitUsage);
        if (r != ConnectResult::Connected) {
            return Fail("Connection Failed." + (error.isEmpty() ? std::string() : " (" + error.toStdString() + ")"),
                        ExitConnectFailed);
        }
        return ExitOk;
    }

private:
    std::unique_ptr<ProgramState> own_;

public:
    ProgramState& state;
    std::unique_ptr<PanelSession> session;

private:
    const PanelOptions& options_;
    std::FILE* traceFile_ = nullptr;
    std::string traceError_;
};

// Progress of a transfer on stderr: the caption every 32 blocks and at the end.
TransferObserver Progress()
{
    TransferObserver o;
    o.progress = [](int done, const std::string& caption) {
        if (done % 32 == 0 || caption == "Verify Checksum") std::cerr << caption << "\n";
    };
    return o;
}

int TransferExit(const TransferOutcome& o, const std::string& what)
{
    switch (o.end) {
    case TransferEnd::Complete: return ExitOk;
    case TransferEnd::Error: {
        // One line, as every failure of the tool.
        std::string partly = PartlyWrittenText(o);
        std::replace(partly.begin(), partly.end(), '\n', ' ');
        return Fail(what + " Error: " + std::to_string(o.code) + (partly.empty() ? "" : ". " + partly), o.code);
    }
    case TransferEnd::Cancelled: return Fail("Manual " + what + " Cancel.", ExitFailure);
    case TransferEnd::PasswordRefused: return Fail("Password Invalid. Download Denied.", ExitPasswordRefused);
    case TransferEnd::LinkLost: return Fail("Connection To Tamberline II Panel Lost", ExitLinkLost);
    case TransferEnd::NotStarted: return Fail(what + " Cancelled", ExitFailure);
    case TransferEnd::BackupReadFailed:
    case TransferEnd::BackupCancelled:
    case TransferEnd::BackupNotSaved: {
        std::string text = BackupStopText(o);
        std::replace(text.begin(), text.end(), '\n', ' ');
        return Fail(text, ExitBackupFailed);
    }
    case TransferEnd::Declined: return Fail("Download Not Confirmed. The Tamberline II Was Not Changed.", ExitNotConfirmed);
    case TransferEnd::AlreadyHeld: return ExitOk;
    }
    return ExitFailure;
}

// --confirm: the changes counted per section on stderr, then the question on
// the terminal. Anything but y or yes is no.
bool AskOnTerminal(const std::vector<ReportDifference>& changes)
{
    for (const auto& [section, count] : CountBySection(changes)) std::cerr << section << '\t' << count << '\n';
    std::cerr << "The Download Will Change " << changes.size() << " Items In The Tamberline II. Continue? [y/N] "
              << std::flush;
    std::string answer;
    if (!std::getline(std::cin, answer)) return false;
    const QString a = QString::fromLocal8Bit(answer.c_str()).trimmed().toLower();
    return a == "y" || a == "yes";
}

// --- status ---------------------------------------------------------------------

// The panel's clock as a moment: the two-digit year taken as 20yy; none when
// the reading is no date and time.
std::optional<QDateTime> PanelClock(const PanelStatus& s)
{
    const QDate date(2000 + s.year, s.month, s.day);
    const QTime time(s.hour, s.minute, s.second);
    if (!date.isValid() || !time.isValid()) return std::nullopt;
    return QDateTime(date, time);
}

QString IsoSeconds(const QDateTime& moment) { return moment.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")); }

int RunStatus(const Command& self, const std::vector<std::string>& args)
{
    PanelOptions o;
    std::string message;
    if (!ParseOptions(args, {}, {"--json"}, o, message)) return Usage(self, message);
    if (!o.positional.empty()) return Usage(self);
    // The panel's I/O hardware is compared with the site's file, or with a
    // fresh configuration.
    auto state = std::make_unique<ProgramState>();
    if (o.site.empty()) ResetConfiguration(*state);
    else if (int code = TakeSiteLink(o, ExitFailure, state.get())) return code;
    const bool json = o.Flag("--json");
    CliSession cli(o, state.get());
    if (int code = cli.TraceProblem()) return code;
    if (int code = cli.Connect()) return code;
    const std::string against = o.site.empty() ? std::string("a fresh configuration") : o.site;
    QJsonObject j;
    QJsonArray ioDifferences;
    const StatusResult r = cli.session->ReadCVStatus(
        [&](const StatusTexts& t) {
            if (!json) {
                std::cout << "Revision: " << cli.session->RevisionText() << "\n"
                          << "Time: " << t.time << "\n"
                          << "Date: " << t.date << "\n"
                          << "I/O Installed: " << t.io << "\n"
                          << "Add-On Card: " << t.addOn << "\n";
                return;
            }
            const QDateTime host = QDateTime::currentDateTime();
            const std::optional<QDateTime> panel = PanelClock(t.status);
            j["site"] = o.site.empty() ? QJsonValue() : QJsonValue(QString::fromStdString(o.site));
            j["link"] = LinkJson(o.link);
            j["revision"] = QString::fromLatin1(cli.session->RevisionText());
            j["time"] = QString::fromStdString(t.time);
            j["date"] = QString::fromStdString(t.date);
            j["panelClock"] = panel ? QJsonValue(IsoSeconds(*panel)) : QJsonValue();
            j["hostClock"] = IsoSeconds(host);
            j["clockOffsetSeconds"] = panel ? QJsonValue(host.secsTo(*panel)) : QJsonValue();
            j["ioInstalled"] = t.status.ioCount;
            j["addOnCard"] = QJsonObject{{"type", t.status.addOnType},
                                         {"revision", t.status.addOnRevision},
                                         {"text", QString::fromStdString(t.addOn)}};
        },
        [&](const IoDifference& d) {
            const std::string lines = d.Describe();
            std::cerr << "warning: the panel's I/O hardware differs from " << against << ":\n" << lines;
            for (const QString& line : QString::fromStdString(lines).split('\n', Qt::SkipEmptyParts))
                ioDifferences.append(line);
            return false;
        });
    if (r != StatusResult::Read) return Fail("Connection To Tamberline II Panel Lost", ExitLinkLost);
    if (!json) return ExitOk;
    j["ioDifferences"] = ioDifferences;
    return PrintJson(j);
}

// --- download -------------------------------------------------------------------

int RunDownload(const Command& self, const std::vector<std::string>& args)
{
    PanelOptions o;
    std::string message;
    if (!ParseOptions(args, {"--password", "--new-password", "--backup"}, {"--confirm"}, o, message, true))
        return Usage(self, message);
    if (o.positional.size() != 1) return Usage(self);
    // With no link named, the file's own.
    if (!o.hasLink) o.site = o.positional[0];
    PasswordDigitsArray password{};
    std::optional<PasswordDigitsArray> newPassword;
    if (auto p = o.Value("--password"); p && !ParseSixDigits(*p, password))
        return Usage(self, "--password takes six digits");
    if (auto p = o.Value("--new-password")) {
        PasswordDigitsArray d{};
        if (!ParseSixDigits(*p, d)) return Usage(self, "--new-password takes six digits");
        newPassword = d;
    }
    DownloadSafeguards safeguards;
    if (auto backup = o.Value("--backup")) {
        if (backup->empty() || *backup == "-") return Usage(self, "--backup takes a file or a folder");
        // A folder (one that exists, or a name ending in a separator) gets
        // the backup's own file name.
        const QString given = QFile::decodeName(QByteArray::fromStdString(*backup));
        if (QFileInfo(given).isDir() || given.endsWith('/') || given.endsWith(QDir::separator()))
            safeguards.backupFolder = *backup;
        else
            safeguards.backupFile = *backup;
    }
    if (o.Flag("--confirm")) {
        if (!T2_ISATTY(T2_FILENO(stdin))) return Usage(self, "--confirm asks on the terminal: standard input is none");
        safeguards.confirm = AskOnTerminal;
    }
    if (int code = TakeSiteLink(o)) return code;
    CliSession cli(o);
    std::string error;
    if (!ReadSettingsFile(o.positional[0], cli.state.Config, cli.state.Devices, &error)) return Fail(error);
    if (int code = cli.TraceProblem()) return code;
    if (int code = cli.Connect()) return code;
    const TransferOutcome outcome = cli.session->Download(password, newPassword, Progress(), safeguards);
    if (!outcome.backupPath.empty()) std::cerr << "The panel's settings were saved in " << outcome.backupPath << "\n";
    if (outcome.passwordChanged) std::cerr << "The panel password was changed.\n";
    if (int code = TransferExit(outcome, "Download")) return code;
    std::cerr << (outcome.end == TransferEnd::AlreadyHeld ? "The Tamberline II Already Holds These Settings.\n"
                                                          : "Download Complete\n");
    return ExitOk;
}

// --- upload ---------------------------------------------------------------------

int RunUpload(const Command& self, const std::vector<std::string>& args)
{
    PanelOptions o;
    std::string message;
    if (!ParseOptions(args, {"--base"}, {"--names"}, o, message)) return Usage(self, message);
    if (o.positional.size() != 1) return Usage(self);
    if (int code = TakeSiteLink(o)) return code;
    auto state = std::make_unique<ProgramState>();
    ResetConfiguration(*state);
    std::string error;
    if (auto base = o.Value("--base")) {
        if (!ReadSettingsFile(*base, state->Config, state->Devices, &error)) return Fail(error);
    }
    if (int code = UploadOnto(o, o.Flag("--names"), *state, true)) return code;
    if (!WriteSettingsFile(o.positional[0], state->Config, state->Devices, &error)) return Fail(error);
    std::cerr << "Upload Complete\n";
    return ExitOk;
}

// --- set-clock --------------------------------------------------------------------

int RunSetClock(const Command& self, const std::vector<std::string>& args)
{
    PanelOptions o;
    std::string message;
    if (!ParseOptions(args, {"--time"}, {"--now"}, o, message)) return Usage(self, message);
    if (!o.positional.empty()) return Usage(self);
    if (int code = TakeSiteLink(o)) return code;
    // The clock to set from: this computer's, or one that reads --time now.
    QDateTime start = QDateTime::currentDateTime();
    if (auto t = o.Value("--time")) {
        start = QDateTime::fromString(QString::fromStdString(*t), Qt::ISODate);
        if (!start.isValid()) return Usage(self, "--time takes YYYY-MM-DDTHH:MM[:SS]");
    }
    QElapsedTimer running;
    running.start();
    const auto clock = [&] { return start.addMSecs(running.elapsed()); };
    CliSession cli(o);
    if (int code = cli.TraceProblem()) return code;
    if (int code = cli.Connect()) return code;
    // The command has no seconds: it goes at the start of the next minute
    // (at most a minute from now), unless --now.
    const bool now = o.Flag("--now");
    if (const int wait = now ? 0 : MsToNextMinute(clock())) {
        std::cerr << "Setting the clock at the start of the next minute, in " << (wait + 999) / 1000
                  << " s (--now sets it at once)\n";
        QEventLoop loop;
        QTimer::singleShot(wait, Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec();
    }
    const QDateTime moment = now ? clock() : NearestMinute(clock());
    const PanelCommand command = PanelSession::ClockCommandFor(moment);
    if (!cli.session->SetClock(moment)) return Fail("the panel did not take the clock", ExitLinkLost);
    std::cout << "Clock set to " << moment.toString("yyyy-MM-dd HH:mm").toStdString() << " (" << command.text << ")\n";
    return ExitOk;
}

// --- set-link ---------------------------------------------------------------------

int RunSetLink(const Command& self, const std::vector<std::string>& args)
{
    Arguments a;
    std::string message;
    if (!ParseArguments(args, {"--tcp", "--com", "--phone"}, {}, a, message)) return Usage(self, message);
    const std::vector<std::string>& files = a.positional;
    const std::optional<std::string> tcp = a.Value("--tcp"), com = a.Value("--com"), phone = a.Value("--phone");
    if (files.size() != 2 || tcp.has_value() == com.has_value()) return Usage(self);
    if (tcp && phone) return Usage(self, "--phone goes with --com");
    // Refuse here what the panel commands would refuse when the file is used,
    // and what the file's 8-bit field cannot hold as it is.
    LinkSettings checked;
    if (tcp && !ParseTcpAddress(*tcp, checked, message)) return Usage(self, message);
    std::optional<Bytes> address, number;
    if (tcp && !(address = FieldBytes(QString::fromLocal8Bit(*tcp).trimmed(), "--tcp", message)))
        return Usage(self, message);
    if (phone && !(number = FieldBytes(QString::fromLocal8Bit(*phone), "--phone", message)))
        return Usage(self, message);
    if (number && number->size() < MinimumPhoneNumberLength) return Usage(self, ShortPhoneNumber);
    ProgramState s;
    std::string error;
    if (!ReadSettingsFile(files[0], s.Config, s.Devices, &error)) return Fail(error);
    if (tcp) {
        s.Config.ConnectionType() = ConnectTcpIp;
        s.Config.PanelAddress() = *address;
    } else {
        bool ok = false;
        const int n = QString::fromStdString(*com).toInt(&ok);
        if (!ok || n < 1 || n > ComPortCount) return Usage(self, "--com takes a port number 1..16");
        s.Config.CommPort = static_cast<Integer>(n);
        s.Config.ConnectionType() = phone ? ConnectModem : ConnectDirectSerial;
        if (number) s.Config.ModemPhoneNumber() = *number;
    }
    if (!WriteOutput(files[1], SerializeSettings(s.Config, s.Devices), error)) return Fail(error);
    return ExitOk;
}

}  // namespace

int UploadOnto(const PanelOptions& o, bool names, ProgramState& state, bool progress)
{
    CliSession cli(o, &state);
    if (int code = cli.TraceProblem()) return code;
    if (int code = cli.Connect()) return code;
    UploadQuestions questions;
    questions.discardHostChanges = [] { return true; };
    questions.includeNames = [names] { return names ? NamesAnswer::Yes : NamesAnswer::No; };
    return TransferExit(cli.session->Upload(questions, progress ? Progress() : TransferObserver{}), "Upload");
}

int UploadIntoMemory(const PanelOptions& o, const PanelConfig& base, const VantelDevices& baseDevices, PanelCopy& copy)
{
    CliSession cli(o);
    if (int code = cli.TraceProblem()) return code;
    if (int code = cli.Connect()) return code;
    return TransferExit(cli.session->UploadIntoMemory(base, baseDevices, copy, Progress()), "Upload");
}

std::vector<Command> SessionCommands()
{
    const std::string link = LinkUsage;
    std::vector<Command> list;
    list.push_back({"status", link + " [--json]",
                    "Connect to the panel and print its revision, time, date, installed I/O and add-on card "
                    "(--json: one JSON document, with the panel's clock against this computer's). --site "
                    "SITE.TMB reaches the panel through the link kept in that settings file (set-link sets it) "
                    "and compares the panel's I/O hardware with the file's. Exit 10: no connection (also a "
                    "serial or modem port in use by another program); 12: the link was lost.",
                    nullptr});
    list.push_back({"download",
                    "IN.TMB [" + link + "] [--password DDDDDD] [--new-password DDDDDD] [--backup PATH] [--confirm]",
                    "Download a settings file to the panel (password 000000 unless given); with no link named, "
                    "through the file's own link. --backup saves the "
                    "panel's settings first (a folder gets \"<panel name> YYYY-MM-DD HHMMSS.TMB\"); --confirm "
                    "shows the count of changes and asks on the terminal. With either, a panel that already holds "
                    "the settings is left as it is. Exit 10: no connection; 11: password refused; 1, 2, 3: the transfer's error "
                    "code; 13: not confirmed; 14: the backup failed (nothing written); 64: --confirm without a "
                    "terminal.",
                    nullptr});
    list.push_back({"upload", "OUT.TMB " + link + " [--names] [--base IN.TMB]",
                    "Upload the panel's settings onto a fresh configuration (or --base) and save them; --names "
                    "also takes the names. Exit 19, 2, 3: the transfer's error code; no file is written then.",
                    nullptr});
    list.push_back({"set-clock", link + " [--now] [--time YYYY-MM-DDTHH:MM[:SS]]",
                    "Set the panel clock from this computer's clock (or from a clock that reads the time given "
                    "now). The panel takes hours and minutes only, so the clock is sent at the start of the next "
                    "minute (a wait of up to 60 s); --now sends it at once.",
                    nullptr});
    list.push_back({"set-link", "IN.TMB OUT.TMB (--tcp ADDRESS[:PORT] | --com N [--phone NUMBER])",
                    "Write a copy of a settings file that reaches the panel over TCP/IP, or on COMn (a modem "
                    "when a phone number is given; OUT.TMB - for standard output).",
                    nullptr});
    list[0].run = [c = list[0]](const std::vector<std::string>& a) { return RunStatus(c, a); };
    list[1].run = [c = list[1]](const std::vector<std::string>& a) { return RunDownload(c, a); };
    list[2].run = [c = list[2]](const std::vector<std::string>& a) { return RunUpload(c, a); };
    list[3].run = [c = list[3]](const std::vector<std::string>& a) { return RunSetClock(c, a); };
    list[4].run = [c = list[4]](const std::vector<std::string>& a) { return RunSetLink(c, a); };
    return list;
}

}  // namespace t2::cli
