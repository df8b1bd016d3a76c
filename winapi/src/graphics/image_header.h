#pragma once
// What an image file's header claims, checked before the file is decoded. The decoders allocate
// room for every pixel a header claims before reading any, so a file of a few bytes could make
// them allocate gigabytes. A file passes when its sides lie within kMaxImageSide and its bytes
// could hold that many pixels: exactly for plain BMP rows, by deflate's largest ratio for PNG, and
// for run-length BMP and JPEG, which have no such limit, by a generous ratio above 16 M pixels.

#include <cstdint>
#include <span>

namespace winapi::graphics {

// How much of the start of a file the check looks at (a JPEG's size may follow its metadata).
inline constexpr std::size_t kImageHeaderBytes = 65536;

// start: the file's first bytes, up to kImageHeaderBytes; fileSize: its whole size. BMP, PNG and
// JPEG are checked; any other kind passes, for the decoder to refuse.
bool ImageHeaderPlausible(std::span<const std::uint8_t> start, std::uint64_t fileSize);

} // namespace winapi::graphics
