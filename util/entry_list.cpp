#include "util/entry_list.h"

#include <cstring>
#include <limits>
#include <new>

namespace {

constexpr std::uint32_t kFirstCapacity = 16;
// Blocks stay within what a 32-bit size can describe, as on the system the list was made for;
// beyond that the size would wrap and the block come out too small.
constexpr std::size_t kLargestBlock = std::numeric_limits<std::uint32_t>::max();

} // namespace

EntryList::EntryList(EntryKind kind, std::uint32_t entrySize)
    : m_kind(kind),
      m_entrySize(kind == EntryKind::ByReference ? static_cast<std::uint32_t>(sizeof(void*))
                                                 : entrySize) {}

EntryList::~EntryList() {
    delete[] m_data;
}

HRESULT EntryList::Append(const void* entry) {
    if (m_entrySize == 0) {
        return E_FAIL;
    }
    if (m_kind == EntryKind::ByValue && entry == nullptr) {
        return E_INVALIDARG;
    }
    if (m_data == nullptr || m_count + std::size_t{1} > m_capacity) {
        const std::size_t newCapacity =
            m_capacity == 0 ? kFirstCapacity : std::size_t{m_capacity} * 2;
        const std::size_t newBytes = newCapacity * m_entrySize;
        if (newCapacity > std::numeric_limits<std::uint32_t>::max() || newBytes > kLargestBlock) {
            return E_OUTOFMEMORY;
        }
        auto* block = new (std::nothrow) std::byte[newBytes];
        if (block == nullptr) {
            return E_OUTOFMEMORY;
        }
        if (m_count > 0) {
            std::memcpy(block, m_data, std::size_t{m_count} * m_entrySize);
        }
        delete[] m_data;
        m_data = block;
        m_capacity = static_cast<std::uint32_t>(newCapacity);
    }
    if (m_kind == EntryKind::ByReference) {
        std::memcpy(Slot(m_count), &entry, sizeof entry);
    } else {
        std::memcpy(Slot(m_count), entry, m_entrySize);
    }
    ++m_count;
    return S_OK;
}

void EntryList::RemoveAt(std::uint32_t index) {
    if (index >= m_count) {
        return;
    }
    --m_count;
    std::memmove(Slot(index), Slot(index + 1), std::size_t{m_count - index} * m_entrySize);
}

void* EntryList::EntryAt(std::uint32_t index) const {
    if (index >= m_count) {
        return nullptr;
    }
    if (m_kind == EntryKind::ByReference) {
        void* pointer = nullptr;
        std::memcpy(&pointer, Slot(index), sizeof pointer);
        return pointer;
    }
    return Slot(index);
}

bool EntryList::Contains(const void* entry) const {
    if (m_kind == EntryKind::ByValue && entry == nullptr) {
        return false;
    }
    for (std::uint32_t i = 0; i < m_count; ++i) {
        const bool equal = m_kind == EntryKind::ByReference
                               ? EntryAt(i) == entry
                               : std::memcmp(Slot(i), entry, m_entrySize) == 0;
        if (equal) {
            return true;
        }
    }
    return false;
}
