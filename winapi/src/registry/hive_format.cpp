#include "hive_format.h"

#include <array>
#include <set>
#include <unordered_set>

namespace winapi::registry {
namespace {

constexpr std::array<BYTE, 4> kMagic = {'Q', 'R', 'E', 'G'};
constexpr std::uint32_t kVersion = 1;
constexpr std::size_t kChecksumSize = 4;
// Smallest encodings, to bound counts by the bytes left before reserving room for them.
constexpr std::size_t kMinKeySize = 8 + 4 + 4;
constexpr std::size_t kMinValueSize = 4 + 4 + 4;

} // namespace

std::uint32_t HiveChecksum(std::span<const BYTE> bytes) {
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int bit = 0; bit < 8; ++bit) {
                c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            t[i] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const BYTE b : bytes) {
        crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
    }
    return crc ^ 0xFFFFFFFFu;
}

namespace {

class Writer {
public:
    void U32(std::uint32_t v) { Little(v, 4); }
    void U64(std::uint64_t v) { Little(v, 8); }
    void Bytes(std::span<const BYTE> b) { out_.insert(out_.end(), b.begin(), b.end()); }
    void Text(std::string_view s) {
        U32(static_cast<std::uint32_t>(s.size()));
        out_.insert(out_.end(), s.begin(), s.end());
    }
    std::vector<BYTE>& Out() { return out_; }

private:
    void Little(std::uint64_t v, int size) {
        for (int i = 0; i < size; ++i) {
            out_.push_back(static_cast<BYTE>(v >> (8 * i)));
        }
    }
    std::vector<BYTE> out_;
};

class Reader {
public:
    explicit Reader(std::span<const BYTE> bytes) : bytes_(bytes) {}

    bool U32(std::uint32_t& v) {
        std::uint64_t wide = 0;
        const bool ok = Little(wide, 4);
        v = static_cast<std::uint32_t>(wide);
        return ok;
    }
    bool U64(std::uint64_t& v) { return Little(v, 8); }
    bool Bytes(std::size_t size, std::span<const BYTE>& out) {
        if (size > Left()) {
            return false;
        }
        out = bytes_.subspan(pos_, size);
        pos_ += size;
        return true;
    }
    bool Text(std::size_t maxSize, std::string& out) {
        std::uint32_t size = 0;
        std::span<const BYTE> raw;
        if (!U32(size) || size > maxSize || !Bytes(size, raw)) {
            return false;
        }
        out.assign(raw.begin(), raw.end());
        return out.find('\0') == std::string::npos;
    }
    std::size_t Left() const { return bytes_.size() - pos_; }

private:
    bool Little(std::uint64_t& v, std::size_t size) {
        if (size > Left()) {
            return false;
        }
        v = 0;
        for (std::size_t i = 0; i < size; ++i) {
            v |= static_cast<std::uint64_t>(bytes_[pos_ + i]) << (8 * i);
        }
        pos_ += size;
        return true;
    }
    std::span<const BYTE> bytes_;
    std::size_t pos_ = 0;
};

bool ParseValues(Reader& in, RegistryKey& key) {
    std::uint32_t count = 0;
    if (!in.U32(count) || count > in.Left() / kMinValueSize) {
        return false;
    }
    key.values.reserve(count);
    // Folded names seen so far: a key may hold very many values, so no pairwise comparison.
    std::unordered_set<std::string> names;
    names.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        RegistryValue value;
        std::uint32_t size = 0;
        std::span<const BYTE> data;
        if (!in.Text(kMaxValueNameLength, value.name) || !in.U32(value.type) || !in.U32(size) ||
            !in.Bytes(size, data) || !names.insert(FoldName(value.name)).second) {
            return false;
        }
        value.data.assign(data.begin(), data.end());
        key.values.push_back(std::move(value));
    }
    return true;
}

std::optional<Hive> ParseKeys(Reader& in) {
    std::uint64_t nextId = 0;
    std::uint32_t count = 0;
    if (!in.U64(nextId) || nextId == 0 || nextId > kMaxNextId || !in.U32(count) ||
        count > in.Left() / kMinKeySize) {
        return std::nullopt;
    }
    std::map<std::string, RegistryKey> keys;
    std::set<std::uint64_t> ids;
    for (std::uint32_t i = 0; i < count; ++i) {
        RegistryKey key;
        if (!in.U64(key.id) || !in.Text(in.Left(), key.path) || !IsValidKeyPath(key.path) ||
            !ParseValues(in, key)) {
            return std::nullopt;
        }
        std::string folded = FoldName(key.path);
        const bool isRoot = key.path.empty();
        const auto cut = folded.rfind('\\');
        const std::string parent = cut == std::string::npos ? std::string() : folded.substr(0, cut);
        const bool idFits = isRoot ? key.id == 0 : key.id != 0 && key.id < nextId;
        if (!idFits || !ids.insert(key.id).second || (!isRoot && !keys.contains(parent)) ||
            !keys.emplace(std::move(folded), std::move(key)).second) {
            return std::nullopt;
        }
    }
    if (!keys.contains("")) {
        return std::nullopt;
    }
    Hive hive;
    hive.Restore(nextId, std::move(keys));
    return hive;
}

} // namespace

std::vector<BYTE> SerializeHive(const Hive& hive) {
    Writer out;
    out.Bytes(kMagic);
    out.U32(kVersion);
    out.U64(hive.NextId());
    out.U32(static_cast<std::uint32_t>(hive.Keys().size()));
    for (const auto& [folded, key] : hive.Keys()) {
        out.U64(key.id);
        out.Text(key.path);
        out.U32(static_cast<std::uint32_t>(key.values.size()));
        for (const RegistryValue& value : key.values) {
            out.Text(value.name);
            out.U32(value.type);
            out.U32(static_cast<std::uint32_t>(value.data.size()));
            out.Bytes(value.data);
        }
    }
    out.U32(HiveChecksum(out.Out()));
    return std::move(out.Out());
}

std::optional<Hive> ParseHive(std::span<const BYTE> bytes) {
    if (bytes.size() < kMagic.size() + 4 + kChecksumSize) {
        return std::nullopt;
    }
    const auto body = bytes.first(bytes.size() - kChecksumSize);
    Reader trailer(bytes.last(kChecksumSize));
    std::uint32_t checksum = 0;
    trailer.U32(checksum);
    if (checksum != HiveChecksum(body) || !std::equal(kMagic.begin(), kMagic.end(), body.begin())) {
        return std::nullopt;
    }
    Reader in(body.subspan(kMagic.size()));
    std::uint32_t version = 0;
    if (!in.U32(version) || version != kVersion) {
        return std::nullopt;
    }
    auto hive = ParseKeys(in);
    if (!hive || in.Left() != 0) {
        return std::nullopt;
    }
    return hive;
}

} // namespace winapi::registry
