#pragma once
// The path to open a file for reading at: linuxPath itself, or the data folder's file of that
// relative name when the working folder has none (winapi/data_folder.h).

#include <string>

namespace winapi::path {

std::string ForReading(std::string linuxPath);

} // namespace winapi::path
