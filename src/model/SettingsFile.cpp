#include "SettingsFile.h"

#include "Members.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QString>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <new>
#include <type_traits>

namespace t2 {

namespace {

template <typename T>
inline constexpr bool IsStdArray = false;
template <typename T, std::size_t N>
inline constexpr bool IsStdArray<std::array<T, N>> = true;

// Hands every Integer, Long and string of a member to f, arrays element by
// element in file order (two-dimensional ones first index fastest).
template <typename Member, typename F>
void ForEachElement(Member& m, F&& f)
{
    using Plain = std::remove_const_t<Member>;
    if constexpr (IsStdArray<Plain>) {
        for (auto& e : m) ForEachElement(e, f);
    } else if constexpr (requires { Plain::First; m.data; }) {
        ForEachElement(m.data, f);
    } else {
        f(m);
    }
}

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
        std::size_t n = std::min(s.size(), MaxSettingsTextBytes);
        Put16(static_cast<Integer>(static_cast<std::uint16_t>(n)));
        out.append(s, 0, n);
    }

    void Put(Integer v) { Put16(v); }
    void Put(Long v) { Put32(v); }
    void Put(const Bytes& s) { PutString(s); }

    template <typename T>
    void operator()(const char*, const T& member)
    {
        ForEachElement(member, [this](const auto& e) { Put(e); });
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

    template <typename T>
    void operator()(const char* name, T& m)
    {
        if (failed) return;
        member = name;
        ForEachElement(m, [this](auto& e) { Get(e); });
    }
};

// The bytes each member takes in the longest file the writer can make.
struct LongestFile {
    std::size_t bytes = 0;

    void Add(Integer) { bytes += 2; }
    void Add(Long) { bytes += 4; }
    void Add(const Bytes&) { bytes += 2 + MaxSettingsTextBytes; }

    template <typename T>
    void operator()(const char*, const T& member)
    {
        ForEachElement(member, [this](const auto& e) { Add(e); });
    }
};

// Paths are kept in the system's 8-bit file-name encoding (QFile::encodeName):
// UTF-8 on Linux, the ANSI code page on Windows.
QString FromPath(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

// What a path that exists but is no regular file is ("a folder", ...), found
// without opening it; "" for a regular file (or a link to one) and a path
// that does not exist.
std::string NotRegularFile(const std::string& path)
{
    const QFileInfo info(FromPath(path));
    if (!info.exists() || info.isFile()) return {};
    return info.isDir() ? "a folder" : "not a regular file (a device, pipe or socket)";
}

// True when path is a symbolic link whose links lead round in a loop: a save
// would replace the link itself with a regular file.
bool IsLinkLoop(const std::string& path)
{
    QFileInfo info(FromPath(path));
    for (int links = 0; info.isSymLink(); ++links) {
        if (links == 40) return true;
        info = QFileInfo(info.symLinkTarget());
    }
    return false;
}

std::string OutOfMemory(const std::string& path, const char* what)
{
    return path + ": not enough memory to " + what + " the file";
}

}  // namespace

std::size_t MaxSettingsFileBytes()
{
    static const std::size_t longest = [] {
        LongestFile size;
        const auto config = std::make_unique<PanelConfig>();
        const auto devices = std::make_unique<VantelDevices>();
        VisitPanelConfig(*config, size);
        for (const VantelDevice& d : *devices) VisitVantelDevice(d, size);
        return size.bytes;
    }();
    return longest;
}

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
    try {
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
    } catch (const std::bad_alloc&) {
        if (error) *error = "not enough memory to read the records";
        return false;
    }
}

bool ReadWholeFile(const std::string& path, std::size_t maxBytes, std::string& bytes, std::string* error,
                   bool* tooLong)
{
    if (tooLong) *tooLong = false;
    auto longer = [&] {
        if (tooLong) *tooLong = true;
        if (error) *error = path + ": the file is longer than " + std::to_string(maxBytes) + " bytes";
        return false;
    };
    // Only a regular file is opened: a pipe that no program writes to would
    // keep the reader waiting for ever, and a device need never end.
    if (const std::string kind = NotRegularFile(path); !kind.empty()) {
        if (error) *error = path + " is " + kind + ": it was not read";
        return false;
    }
    try {
        QFile file(FromPath(path));
        if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
            if (error) *error = path + ": cannot open the file: " + file.errorString().toStdString();
            return false;
        }
        std::string data;
        if (!file.isSequential()) {
            const qint64 size = file.size();
            if (size > 0 && static_cast<std::uint64_t>(size) > maxBytes) return longer();
            data.reserve(static_cast<std::size_t>(size));
        }
        // A device or a pipe has no size: read in pieces, one byte past the
        // limit at most, to learn whether it ends in time.
        constexpr std::size_t piece = 1024 * 1024;
        const std::size_t limit = maxBytes + 1;
        while (data.size() < limit) {
            const std::size_t before = data.size();
            data.resize(before + std::min(piece, limit - before));
            const qint64 got = file.read(data.data() + before, static_cast<qint64>(data.size() - before));
            if (got < 0) {
                if (error) *error = path + ": cannot read the file: " + file.errorString().toStdString();
                return false;
            }
            data.resize(before + static_cast<std::size_t>(got));
            if (got == 0) break;
        }
        if (data.size() > maxBytes) return longer();
        bytes = std::move(data);
        return true;
    } catch (const std::bad_alloc&) {
        if (error) *error = OutOfMemory(path, "read");
        return false;
    }
}

bool ReadSettingsFile(const std::string& path, PanelConfig& config, VantelDevices& devices,
                      std::string* error)
{
    if (const std::string kind = NotRegularFile(path); !kind.empty()) {
        if (error) *error = path + " is not a settings file: it is " + kind;
        return false;
    }
    std::string bytes;
    bool tooLong = false;
    if (!ReadWholeFile(path, MaxSettingsFileBytes(), bytes, error, &tooLong)) {
        if (tooLong && error) {
            *error = path + " is not a settings file: it is longer than the longest settings file (" +
                     std::to_string(MaxSettingsFileBytes()) + " bytes)";
        }
        return false;
    }
    std::string problem;
    if (!ParseSettings(bytes, config, devices, &problem)) {
        if (error) *error = path + " is not a complete settings file: " + problem;
        return false;
    }
    return true;
}

bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string* error)
{
    // The save renames a new file over the target: a folder, device, pipe or
    // socket would be replaced by a regular file, and so would a link that
    // leads round in a loop; they are refused untouched.
    if (const std::string kind = NotRegularFile(path); !kind.empty()) {
        if (error) *error = path + " is " + kind + ": nothing was written";
        return false;
    }
    if (IsLinkLoop(path)) {
        if (error) *error = path + " is a symbolic link that leads round in a loop: nothing was written";
        return false;
    }
    try {
        QSaveFile file(FromPath(path));
        if (!file.open(QIODevice::WriteOnly)) {
            if (error) *error = path + ": cannot create the file: " + file.errorString().toStdString();
            return false;
        }
        const qint64 written = file.write(bytes.data(), static_cast<qint64>(bytes.size()));
        if (written != static_cast<qint64>(bytes.size())) {
            if (error) *error = path + ": cannot write the file: " + file.errorString().toStdString();
            file.cancelWriting();
            return false;
        }
        if (!file.commit()) {
            if (error) *error = path + ": cannot save the file: " + file.errorString().toStdString();
            return false;
        }
        return true;
    } catch (const std::bad_alloc&) {
        if (error) *error = OutOfMemory(path, "write");
        return false;
    }
}

bool WriteSettingsFile(const std::string& path, const PanelConfig& config,
                       const VantelDevices& devices, std::string* error)
{
    std::string bytes;
    try {
        bytes = SerializeSettings(config, devices);
    } catch (const std::bad_alloc&) {
        if (error) *error = OutOfMemory(path, "write");
        return false;
    }
    return WriteFileAtomically(path, bytes, error);
}

}  // namespace t2
