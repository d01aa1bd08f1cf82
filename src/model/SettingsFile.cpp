#include "SettingsFile.h"

#include "Members.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QString>

#include <memory>
#include <type_traits>

namespace t2 {

namespace {

struct Writer {
    std::string out;

    void Put16(Integer v)
    {
        auto u = static_cast<std::uint16_t>(v);
        out.push_back(static_cast<char>(u & 0xFF));
        out.push_back(static_cast<char>(u >> 8));
    }
    void Put32(Long v)
    {
        auto u = static_cast<std::uint32_t>(v);
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((u >> (8 * i)) & 0xFF));
    }
    void PutString(const Bytes& s)
    {
        // The length field is 16 bits; a longer name is cut rather than written
        // with a length that would not match its bytes.
        std::size_t n = s.size() > 0xFFFF ? 0xFFFF : s.size();
        Put16(static_cast<Integer>(static_cast<std::uint16_t>(n)));
        out.append(s, 0, n);
    }

    void Put(Integer v) { Put16(v); }
    void Put(Long v) { Put32(v); }
    void Put(const Bytes& s) { PutString(s); }
    template <typename T, std::size_t N>
    void Put(const std::array<T, N>& a)
    {
        for (const T& e : a) Put(e);
    }
    template <typename T, std::size_t A, std::size_t B>
    void Put(const Array2<T, A, B>& a)
    {
        Put(a.data);
    }

    template <typename T>
    void operator()(const char*, const T& member)
    {
        Put(member);
    }
};

struct Reader {
    const std::string& in;
    std::size_t pos = 0;
    bool failed = false;
    std::string problem;
    const char* member = "";

    void Fail(std::size_t need, const char* what)
    {
        if (failed) return;
        failed = true;
        problem = std::string("the file ends early in member ") + member + " (" + what +
                  " at byte offset " + std::to_string(pos) + " needs " + std::to_string(need) +
                  " bytes, " + std::to_string(in.size() - pos) + " left)";
    }
    bool Have(std::size_t need, const char* what)
    {
        if (failed) return false;
        if (in.size() - pos < need) {
            Fail(need, what);
            return false;
        }
        return true;
    }
    std::uint8_t Byte(std::size_t i) const { return static_cast<std::uint8_t>(in[i]); }

    void Get(Integer& v)
    {
        if (!Have(2, "a 16-bit number")) return;
        v = static_cast<Integer>(static_cast<std::uint16_t>(Byte(pos) | (Byte(pos + 1) << 8)));
        pos += 2;
    }
    void Get(Long& v)
    {
        if (!Have(4, "a 32-bit number")) return;
        std::uint32_t u = 0;
        for (int i = 0; i < 4; ++i) u |= static_cast<std::uint32_t>(Byte(pos + i)) << (8 * i);
        v = static_cast<Long>(u);
        pos += 4;
    }
    void Get(Bytes& s)
    {
        if (!Have(2, "a string length")) return;
        std::size_t n = Byte(pos) | (Byte(pos + 1) << 8);
        pos += 2;
        if (!Have(n, "a string")) {
            pos -= 2;
            problem = std::string("a string length runs past the end of the file in member ") + member +
                      " (length " + std::to_string(n) + " at byte offset " + std::to_string(pos) +
                      ", " + std::to_string(in.size() - pos - 2) + " bytes follow)";
            return;
        }
        s.assign(in, pos, n);
        pos += n;
    }
    template <typename T, std::size_t N>
    void Get(std::array<T, N>& a)
    {
        for (T& e : a) Get(e);
    }
    template <typename T, std::size_t A, std::size_t B>
    void Get(Array2<T, A, B>& a)
    {
        Get(a.data);
    }

    template <typename T>
    void operator()(const char* name, T& m)
    {
        if (failed) return;
        member = name;
        Get(m);
    }
};

QString FromPath(const std::string& path) { return QString::fromStdString(path); }

std::string DisplayName(const std::string& path)
{
    return QFileInfo(FromPath(path)).fileName().toStdString();
}

}  // namespace

std::string SerializeSettings(const PanelConfig& config, const VantelDevices& devices)
{
    Writer w;
    w.out.reserve(110000);
    VisitPanelConfig(config, w);
    for (const VantelDevice& d : devices) VisitVantelDevice(d, w);
    return std::move(w.out);
}

bool ParseSettings(const std::string& bytes, PanelConfig& config, VantelDevices& devices,
                   std::string* error)
{
    // Read into fresh records and swap them in only when the whole file was read.
    auto fresh = std::make_unique<PanelConfig>();
    auto freshDevices = std::make_unique<VantelDevices>();
    Reader r{bytes, 0, false, {}, ""};
    VisitPanelConfig(*fresh, r);
    for (int d = 0; d < DeviceSlots && !r.failed; ++d) {
        VisitVantelDevice((*freshDevices)[d], r);
        if (r.failed) r.problem += " of device record " + std::to_string(d);
    }
    if (r.failed) {
        if (error) *error = r.problem;
        return false;
    }
    config = std::move(*fresh);
    devices = std::move(*freshDevices);
    return true;
}

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string* error)
{
    QFile file(FromPath(path));
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) *error = DisplayName(path) + ": cannot open the file: " + file.errorString().toStdString();
        return false;
    }
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error) *error = DisplayName(path) + ": cannot read the file: " + file.errorString().toStdString();
        return false;
    }
    bytes.assign(data.constData(), static_cast<std::size_t>(data.size()));
    return true;
}

bool ReadSettingsFile(const std::string& path, PanelConfig& config, VantelDevices& devices,
                      std::string* error)
{
    std::string bytes;
    if (!ReadWholeFile(path, bytes, error)) return false;
    std::string problem;
    if (!ParseSettings(bytes, config, devices, &problem)) {
        if (error) *error = DisplayName(path) + " is not a complete settings file: " + problem;
        return false;
    }
    return true;
}

bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string* error)
{
    QSaveFile file(FromPath(path));
    if (!file.open(QIODevice::WriteOnly)) {
        if (error) *error = DisplayName(path) + ": cannot create the file: " + file.errorString().toStdString();
        return false;
    }
    const qint64 written = file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    if (written != static_cast<qint64>(bytes.size())) {
        if (error) *error = DisplayName(path) + ": cannot write the file: " + file.errorString().toStdString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error) *error = DisplayName(path) + ": cannot save the file: " + file.errorString().toStdString();
        return false;
    }
    return true;
}

bool WriteSettingsFile(const std::string& path, const PanelConfig& config,
                       const VantelDevices& devices, std::string* error)
{
    return WriteFileAtomically(path, SerializeSettings(config, devices), error);
}

}  // namespace t2
