#include "platform/WholeFile.h"

#include <algorithm>
#include <cstdio>

namespace velkor {

namespace {

// Large enough that a 100 MB file is a hundred calls, small enough that a
// fault can strike in the middle.
constexpr std::size_t kChunk = 1 << 20;

bool Fail(std::string* error, const char* format, const std::string& path) {
  if (error) {
    std::string text = format;
    const std::size_t at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, path);
    *error = text + filetext::kKeptAsItWas;
  }
  return false;
}

}  // namespace

bool SaveFileWhole(const std::string& path, const std::string& bytes, std::string* error, WriteFaults* faults) {
  WriteFaults none;
  if (!faults) faults = &none;
  // Beside the target, so the rename stays on one volume and cannot copy.
  const std::string temp = path + ".tmp";
  std::FILE* file = std::fopen(temp.c_str(), "wb");
  if (!file) return Fail(error, filetext::kCannotCreate, path);
  wholefile::KeepMode(file, path);
  bool written = true;
  for (std::size_t at = 0; written && at < bytes.size(); at += kChunk) {
    const std::size_t size = std::min(kChunk, bytes.size() - at);
    const std::size_t accepted = std::min(size, faults->Accept(at, size));
    written = std::fwrite(bytes.data() + at, 1, accepted, file) == accepted && accepted == size;
  }
  written = written && std::fflush(file) == 0 && wholefile::FlushToDisk(file);
  written = std::fclose(file) == 0 && written;
  if (!written) {
    wholefile::Remove(temp);
    return Fail(error, filetext::kCannotWrite, path);
  }
  if (!faults->AllowReplace() || !wholefile::Replace(temp, path)) {
    wholefile::Remove(temp);
    return Fail(error, filetext::kCannotReplace, path);
  }
  return true;
}

}  // namespace velkor
