#pragma once
// A growable list of fixed-size entries (copied in) or of pointers (stored as they are, never
// owned). The list owns its one data block and frees it on destruction.

#include <windows.h>

#include <cstddef>
#include <cstdint>

enum class EntryKind : std::int32_t { ByValue = 0, ByReference = 1 };

class EntryList {
public:
    // A ByReference list's entries are pointers, sizeof(void*) bytes on this machine, whatever
    // entrySize says.
    EntryList(EntryKind kind, std::uint32_t entrySize);
    ~EntryList();
    EntryList(const EntryList&) = delete;
    EntryList& operator=(const EntryList&) = delete;

    // ByValue copies entrySize bytes from entry; ByReference stores entry itself. The first
    // append makes room for 16 entries, each later growth doubles it. S_OK; E_FAIL for a list
    // with entry size 0; E_INVALIDARG for a null entry in a ByValue list; E_OUTOFMEMORY when the
    // grown block cannot be had (the list stays as it was).
    HRESULT Append(const void* entry);
    // Removes the entry and closes the gap, keeping the order. An index at or past the count
    // does nothing.
    void RemoveAt(std::uint32_t index);
    // ByValue: the entry's address inside the block; ByReference: the stored pointer. Null for
    // an index at or past the count.
    void* EntryAt(std::uint32_t index) const;
    // ByReference compares pointers, ByValue compares entrySize bytes.
    bool Contains(const void* entry) const;

    EntryKind Kind() const { return m_kind; }
    std::uint32_t EntrySize() const { return m_entrySize; }
    std::uint32_t Count() const { return m_count; }
    std::uint32_t Capacity() const { return m_capacity; }

private:
    std::byte* Slot(std::uint32_t index) const { return m_data + std::size_t{index} * m_entrySize; }

    EntryKind m_kind;
    std::byte* m_data = nullptr;
    std::uint32_t m_entrySize;
    std::uint32_t m_count = 0;
    std::uint32_t m_capacity = 0;
};
