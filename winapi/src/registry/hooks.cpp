#include "winapi/hooks/registry.h"

#include "registry/hive_format.h"
#include "registry/key_handles.h"
#include "registry/write_observer.h"

namespace winapi::hooks {

std::size_t OpenRegistryKeyCount() {
    return registry::OpenHandleCount();
}

void SetRegistryWriteObserver(std::function<void(RegistryWriteStage)> observer) {
    std::lock_guard lock(registry::writeObserver.mutex);
    registry::writeObserver.observer = std::move(observer);
}

namespace {

bool AcceptedContentHolds(const std::optional<registry::Hive>& hive) {
    using registry::Hive;
    if (!hive) {
        return true;
    }
    const std::optional<Hive> again = registry::ParseHive(registry::SerializeHive(*hive));
    if (!again || !(*again == *hive)) {
        return false;
    }
    // An accepted content must stay consistent under the edits that writes make.
    Hive edited = *hive;
    for (const auto& [folded, key] : hive->Keys()) {
        edited.SubkeyNames(key.path);
        if (!edited.HasSubkeys(key.path) && !key.path.empty()) {
            edited.Remove(key.path);
            break;
        }
    }
    edited.Create("Added\\Below");
    return registry::ParseHive(registry::SerializeHive(edited)).has_value();
}

} // namespace

bool RegistryFileReadsConsistently(std::span<const std::uint8_t> bytes) {
    if (!AcceptedContentHolds(registry::ParseHive(bytes))) {
        return false;
    }
    // Random bytes almost never carry a right checksum; put one in so the records are explored.
    if (bytes.size() < 4) {
        return true;
    }
    std::vector<BYTE> sealed(bytes.begin(), bytes.end());
    const std::size_t body = sealed.size() - 4;
    const std::uint32_t checksum = registry::HiveChecksum(std::span(sealed).first(body));
    for (std::size_t i = 0; i < 4; ++i) {
        sealed[body + i] = static_cast<BYTE>(checksum >> (8 * i));
    }
    return AcceptedContentHolds(registry::ParseHive(sealed));
}

void ResetRegistryHooks() {
    SetRegistryWriteObserver(nullptr);
}

} // namespace winapi::hooks
