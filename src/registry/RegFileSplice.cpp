#include "registry/RegFileSplice.h"

#include <algorithm>
#include <cstring>

#include "registry/CodePage932.h"
#include "registry/Utf16Le.h"
#include "text/ShiftJis.h"

namespace velkor {

namespace {

constexpr const char* kHeader4 = "REGEDIT4";
constexpr const char* kHeader5 = "Windows Registry Editor Version 5.00";
constexpr const char* kBom = "\xFF\xFE";

// Where each line starts, as the .reg reader numbers them: lines end at LF
// (a UTF-16 LF after the byte-order mark). Only the asked lines (ascending,
// 1-based) are looked up; the file is walked once.
std::vector<std::size_t> LineStarts(const std::string& file, bool utf16, const std::vector<int>& wanted) {
  std::vector<std::size_t> starts;
  starts.reserve(wanted.size());
  std::size_t at = utf16 ? 2 : 0;
  int line = 1;
  for (int w : wanted) {
    while (line < w) {
      if (utf16) {
        while (at + 1 < file.size() && !(file[at] == '\n' && file[at + 1] == '\0')) at += 2;
        at = std::min(at + 2, file.size());
      } else {
        const void* lf = at < file.size() ? std::memchr(file.data() + at, '\n', file.size() - at) : nullptr;
        at = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - file.data()) + 1 : file.size();
      }
      ++line;
    }
    starts.push_back(at);
  }
  return starts;
}

bool EndsWithNewline(const std::string& text, bool utf16) {
  if (utf16) return text.size() >= 4 && text[text.size() - 2] == '\n' && text[text.size() - 1] == '\0';
  return !text.empty() && text.back() == '\n';
}

}  // namespace

bool RegPathAtOrBelow(const std::string& path, const std::string& key) {
  if (path.size() < key.size() || !sjis::EqualsIgnoreCase(std::string_view(path).substr(0, key.size()), key))
    return false;
  return path.size() == key.size() || (path[key.size()] == '\\' && sjis::IsCharBoundary(path, key.size()));
}

RegFileShape ShapeOfRegFile(const std::string& fileBytes) {
  RegFileShape shape;
  shape.utf16 = fileBytes.compare(0, 2, kBom, 2) == 0;
  // The header is the first line that is not blank; only ASCII matters in it.
  std::string first;
  if (shape.utf16) {
    for (std::size_t at = 2; at + 1 < fileBytes.size() && first.size() < 64; at += 2) {
      const char c = fileBytes[at + 1] == '\0' ? fileBytes[at] : '?';
      if (c == '\n') {
        if (first.find_first_not_of(" \t\r") != std::string::npos) break;
        first.clear();
      } else {
        first += c;
      }
    }
  } else {
    std::size_t at = 0;
    while (at < fileBytes.size()) {
      std::size_t end = fileBytes.find('\n', at);
      if (end == std::string::npos) end = fileBytes.size();
      first = fileBytes.substr(at, std::min<std::size_t>(end - at, 64));
      if (first.find_first_not_of(" \t\r") != std::string::npos) break;
      at = end + 1;
    }
  }
  const std::size_t b = first.find_first_not_of(" \t");
  const std::size_t e = first.find_last_not_of(" \t\r");
  shape.unicodeValues = b != std::string::npos && first.substr(b, e - b + 1) == kHeader5;
  return shape;
}

std::string RegFileSections(RegistryAccess& reg, RegRoot root, const std::vector<std::string>& keyPaths,
                            RegFileShape shape) {
  if (shape.unicodeValues) {
    const std::string file = ExportRegFile(reg, root, keyPaths, RegFileFormat::Regedit5);
    const std::size_t head = 2 + 2 * (std::strlen(kHeader5) + 4);  // BOM, header, two CR LF
    if (shape.utf16) return file.substr(std::min(head, file.size()));
    const std::size_t from = std::min(head, file.size());
    return cp932::FromUtf16(FromUtf16LeBytes(file.data() + from, file.size() - from));
  }
  const std::string file = ExportRegFile(reg, root, keyPaths, RegFileFormat::Regedit4);
  const std::string sections = file.substr(std::min(std::strlen(kHeader4) + 4, file.size()));
  return shape.utf16 ? Utf16LeBytes(cp932::ToUtf16(sections)) : sections;
}

std::string RegFileWithSections(RegFileShape shape, const std::string& sections) {
  const std::string header = std::string(shape.unicodeValues ? kHeader5 : kHeader4) + "\r\n\r\n";
  if (!shape.utf16) return header + sections;
  return std::string(kBom, 2) + Utf16LeBytes(cp932::ToUtf16(header)) + sections;
}

std::string SpliceRegFile(const std::string& fileBytes, const std::vector<RegFileEntry>& keys, RegRoot root,
                          const std::vector<std::string>& subtrees, const std::string& sections) {
  const bool utf16 = ShapeOfRegFile(fileBytes).utf16;
  std::vector<int> lines;
  lines.reserve(keys.size());
  for (const auto& k : keys) lines.push_back(k.line);
  const std::vector<std::size_t> starts = LineStarts(fileBytes, utf16, lines);
  const std::size_t n = keys.size();

  std::vector<bool> dropped(n, false);
  std::size_t insertAt = n;
  std::size_t afterDeletion = 0;  // one past the last deletion of a key above the subtrees
  for (std::size_t i = 0; i < n; ++i) {
    if (keys[i].root != root) continue;
    for (const auto& tree : subtrees) {
      if (RegPathAtOrBelow(keys[i].path, tree)) {
        dropped[i] = true;
      } else if (keys[i].kind == RegFileEntry::Kind::DeleteKey && RegPathAtOrBelow(tree, keys[i].path)) {
        afterDeletion = i + 1;
      }
    }
    if (dropped[i] && insertAt == n) insertAt = i;
  }
  if (afterDeletion > insertAt) insertAt = afterDeletion;

  std::string out;
  out.reserve(fileBytes.size() + sections.size() + 4);
  out.append(fileBytes, 0, n ? starts[0] : fileBytes.size());
  for (std::size_t i = 0; i < n; ++i) {
    if (i == insertAt) out += sections;
    const std::size_t end = i + 1 < n ? starts[i + 1] : fileBytes.size();
    if (!dropped[i]) out.append(fileBytes, starts[i], end - starts[i]);
  }
  if (insertAt == n && !sections.empty()) {
    if (!EndsWithNewline(out, utf16)) out += utf16 ? std::string("\r\0\n\0", 4) : std::string("\r\n");
    out += sections;
  }
  return out;
}

}  // namespace velkor
