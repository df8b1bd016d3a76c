#pragma once
// Reading and replacing a root's file. Readers take no lock: a file is only ever replaced whole, by
// renaming a flushed temporary file over it, so a reader sees the old or the new content. Writers
// hold an exclusive lock on the root's lock file from reading the content to the rename, so that
// writes from several processes or threads apply one after another and none is lost. Neither the
// lock file nor the temporary file is opened through a link.

#include "hive.h"
#include "store_location.h"

#include <cstddef>
#include <functional>

namespace winapi::registry {

// A root's file is read whole into memory, so it has a bound: far above what settings need, and a
// file above it counts as damaged rather than being read. No write makes a file above it.
constexpr std::size_t kMaxHiveFileSize = std::size_t{64} << 20;

// A missing file or folder reads as a root without keys. ERROR_BADDB for a damaged file,
// ERROR_CANTREAD when it cannot be read, ERROR_ACCESS_DENIED when the folder is refused (see
// store_folder.h).
LONG ReadHive(Root root, Hive& hive);

// Reads the root under its lock and lets change edit it. When change returns ERROR_SUCCESS and the
// content differs, writes it back; ERROR_CANTWRITE when that fails or the content would pass
// kMaxHiveFileSize, in which case the file keeps its former content. A damaged file is never
// overwritten: ERROR_BADDB. ERROR_ACCESS_DENIED when the folder is refused.
LONG UpdateHive(Root root, const std::function<LONG(Hive&)>& change);

} // namespace winapi::registry
