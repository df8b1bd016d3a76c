#include "hive.h"

#include <algorithm>
#include <utility>

namespace winapi::registry {
namespace {

char FoldChar(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string_view ParentOf(std::string_view path) {
    const auto cut = path.rfind('\\');
    return cut == std::string_view::npos ? std::string_view() : path.substr(0, cut);
}

} // namespace

std::string FoldName(std::string_view name) {
    std::string folded(name);
    std::transform(folded.begin(), folded.end(), folded.begin(), FoldChar);
    return folded;
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return FoldChar(x) == FoldChar(y);
           });
}

bool IsValidKeyPath(std::string_view path) {
    if (path.empty()) {
        return true;
    }
    std::size_t start = 0;
    while (true) {
        const auto end = std::min(path.find('\\', start), path.size());
        const auto component = path.substr(start, end - start);
        if (component.empty() || component.size() > kMaxKeyNameLength ||
            component.find('\0') != std::string_view::npos) {
            return false;
        }
        if (end == path.size()) {
            return true;
        }
        start = end + 1;
    }
}

const RegistryValue* RegistryKey::FindValue(std::string_view name) const {
    const auto found = std::find_if(values.begin(), values.end(),
                                    [&](const RegistryValue& v) { return SameName(v.name, name); });
    return found == values.end() ? nullptr : &*found;
}

RegistryValue* RegistryKey::FindValue(std::string_view name) {
    return const_cast<RegistryValue*>(std::as_const(*this).FindValue(name));
}

std::string JoinPath(std::string_view parent, std::string_view child) {
    if (parent.empty() || child.empty()) {
        return std::string(parent.empty() ? child : parent);
    }
    std::string joined(parent);
    joined += '\\';
    joined += child;
    return joined;
}

Hive::Hive() {
    keys_.emplace("", RegistryKey{});
}

const RegistryKey* Hive::Find(std::string_view path) const {
    const auto found = keys_.find(FoldName(path));
    return found == keys_.end() ? nullptr : &found->second;
}

RegistryKey* Hive::Find(std::string_view path) {
    return const_cast<RegistryKey*>(std::as_const(*this).Find(path));
}

std::pair<RegistryKey*, bool> Hive::Create(std::string_view path) {
    if (RegistryKey* existing = Find(path)) {
        return {existing, false};
    }
    const std::string parentPath(ParentOf(path));
    RegistryKey* parent = Create(parentPath).first;
    if (parent == nullptr || nextId_ >= kMaxNextId) {
        return {nullptr, false};
    }
    // Keep the existing keys' spelling for the part of the path above the new key.
    const auto lastComponent = path.substr(parentPath.empty() ? 0 : parentPath.size() + 1);
    RegistryKey key{nextId_++, JoinPath(parent->path, lastComponent), {}};
    auto [it, inserted] = keys_.emplace(FoldName(path), std::move(key));
    return {&it->second, inserted};
}

void Hive::Remove(std::string_view path) {
    keys_.erase(FoldName(path));
}

bool Hive::HasSubkeys(std::string_view path) const {
    const std::string prefix = path.empty() ? std::string() : FoldName(path) + '\\';
    const auto next = keys_.upper_bound(prefix);
    return next != keys_.end() && next->first.starts_with(prefix);
}

std::vector<std::string> Hive::SubkeyNames(std::string_view path) const {
    const std::string prefix = path.empty() ? std::string() : FoldName(path) + '\\';
    std::vector<std::string> names;
    for (auto it = keys_.upper_bound(prefix); it != keys_.end() && it->first.starts_with(prefix);
         ++it) {
        const std::string_view rest = std::string_view(it->second.path).substr(prefix.size());
        if (rest.find('\\') == std::string_view::npos) {
            names.emplace_back(rest);
        }
    }
    return names;
}

void Hive::Restore(std::uint64_t nextId, std::map<std::string, RegistryKey> keys) {
    nextId_ = nextId;
    keys_ = std::move(keys);
}

} // namespace winapi::registry
