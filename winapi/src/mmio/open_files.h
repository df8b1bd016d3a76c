#pragma once
// The table of open multimedia files, so that a stale or foreign HMMIO is refused.

#include "mmio/mmio_file.h"

namespace winapi::mmio {

HMMIO AddOpenFile(std::unique_ptr<MmioFile> file);
// The file behind an open handle, or null. The file stays valid until RemoveOpenFile.
MmioFile* FindOpenFile(HMMIO handle);
std::unique_ptr<MmioFile> RemoveOpenFile(HMMIO handle);

// MmioFile::SeekToChunkEnd on an open handle; fails as mmioSeek does when the hooks fail seeks.
LONG SeekToChunkEnd(HMMIO handle, LONG offset);

} // namespace winapi::mmio
