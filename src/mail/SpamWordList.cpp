#include "mail/SpamWordList.h"

#include <cstdio>
#include <memory>

#include "mail/WordScramble.h"
#include "text/ShiftJis.h"

namespace velkor {
namespace {

// A damaged or foreign file that large is not a dictionary.
constexpr long kMaxFileBytes = 64L * 1024 * 1024;

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

bool ReadWholeFile(const std::string& path, std::string& content) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) return false;
  content.clear();
  char buffer[16384];
  for (;;) {
    const std::size_t n = std::fread(buffer, 1, sizeof buffer, file.get());
    content.append(buffer, n);
    if (content.size() > static_cast<std::size_t>(kMaxFileBytes)) return false;
    if (n < sizeof buffer) return std::ferror(file.get()) == 0;
  }
}

// A word that ends in half a double-byte character would claim the first byte
// of the following character of a mail and so shift every later character
// boundary; such a line is taken as malformed.
bool EndsInWholeCharacter(std::string_view word) {
  std::size_t pos = 0;
  while (pos < word.size()) {
    if (sjis::IsLeadByte(static_cast<unsigned char>(word[pos])) && pos + 1 == word.size()) return false;
    pos += sjis::CharLength(word, pos);
  }
  return true;
}

}  // namespace

bool SpamWordList::ParseWordLine(std::string_view line, std::string& word, std::uint16_t& category) {
  const std::size_t tab = line.find('\t');
  if (line.empty() || tab == std::string_view::npos || tab == 0) return false;
  std::size_t pos = tab + 1;
  while (pos < line.size() && line[pos] == ' ') ++pos;
  bool negative = false;
  if (pos < line.size() && (line[pos] == '+' || line[pos] == '-')) negative = line[pos++] == '-';
  long value = 0;
  const std::size_t digitsStart = pos;
  for (; pos < line.size() && line[pos] >= '0' && line[pos] <= '9'; ++pos) {
    if (value < 100000000L) value = value * 10 + (line[pos] - '0');
  }
  if (pos == digitsStart || negative || value <= 0) return false;
  std::string trimmed = sjis::Trim(line.substr(0, tab));
  if (trimmed.empty() || !EndsInWholeCharacter(trimmed)) return false;
  word = std::move(trimmed);
  category = static_cast<std::uint16_t>(value & 0xFFFF);
  return true;
}

int SpamWordList::LoadFromContent(std::string_view content) {
  words.clear();
  categories.clear();
  bool first = true;
  std::size_t start = 0;
  while (start < content.size()) {
    std::size_t end = content.find('\n', start);
    if (end == std::string_view::npos) end = content.size();
    std::string_view line = content.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    start = end + 1;
    if (first) {
      first = false;
      title.assign(line);
      continue;
    }
    std::string word;
    std::uint16_t category = 0;
    if (ParseWordLine(WordScramble::UnscrambleLine(line), word, category)) {
      words.push_back(std::move(word));
      categories.push_back(category);
    }
  }
  return static_cast<int>(words.size());
}

int SpamWordList::LoadFromFile(const std::string& path) {
  words.clear();
  categories.clear();
  std::string content;
  if (path.empty() || !ReadWholeFile(path, content)) return -1;
  return LoadFromContent(content);
}

int SpamWordList::LoadSpamWords() { return LoadFromFile(ProgramFolderFile(kFileName)); }

}  // namespace velkor
