#include "registry/RegFile.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string_view>
#include <utility>

#include "platform/WholeFile.h"
#include "registry/CodePage932.h"
#include "registry/Utf16Le.h"
#include "text/ShiftJis.h"

namespace velkor {

namespace {

constexpr const char* kHeader4 = "REGEDIT4";
constexpr const char* kHeader5 = "Windows Registry Editor Version 5.00";
constexpr const char* kCurrentUser = "HKEY_CURRENT_USER";
constexpr const char* kLocalMachine = "HKEY_LOCAL_MACHINE";
// The registry's own limit on how deeply keys nest below a root.
constexpr std::size_t kMaxKeyDepth = 512;
// regedit wraps hex data once a line reaches this many characters.
constexpr std::size_t kHexWrapColumn = 77;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string TrimBlanks(std::string_view s) {
  std::size_t b = 0;
  std::size_t e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && (IsBlank(s[e - 1]) || s[e - 1] == '\r')) --e;
  return std::string(s.substr(b, e - b));
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool StartsWithIgnoreCase(const std::string& s, std::size_t pos, const char* prefix) {
  const std::string_view p(prefix);
  return s.size() - pos >= p.size() && sjis::EqualsIgnoreCase(std::string_view(s).substr(pos, p.size()), p);
}

bool IsStringType(std::uint32_t type) {
  return type == regtype::kSz || type == regtype::kExpandSz || type == regtype::kMultiSz;
}

// The physical lines of the file as Shift_JIS text, as views into the file
// itself or, for the Unicode format, into its conversion; nothing is copied
// line by line.
struct DecodedLines {
  std::string converted;  // the Unicode format's text in Shift_JIS
  std::vector<std::string_view> lines;
};

// Splits at LF and drops the CR of a CR LF; a NUL cannot stand in a line of text.
bool SplitLines(std::string_view text, std::vector<std::string_view>* lines, RegFileError* error) {
  std::size_t start = 0;
  for (;;) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.find('\0') != std::string_view::npos) {
      error->line = static_cast<int>(lines->size()) + 1;
      error->reason = "行に NUL 文字があります";
      return false;
    }
    lines->push_back(line);
    if (end == text.size()) return true;
    start = end + 1;
  }
}

bool DecodeLines(const std::string& file, DecodedLines* out, RegFileError* error) {
  out->lines.clear();
  out->converted.clear();
  if (file.size() >= 2 && static_cast<unsigned char>(file[0]) == 0xFF && static_cast<unsigned char>(file[1]) == 0xFE) {
    const std::u16string text =
        FromUtf16LeBytes(file.data() + 2, file.size() - 2);
    // A NUL is looked for before the conversion, which could turn it into text.
    const std::size_t nul = text.find(u'\0');
    if (nul != std::u16string::npos) {
      error->line = 1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(nul), u'\n'));
      error->reason = "行に NUL 文字があります";
      return false;
    }
    // No Shift_JIS character has LF as a byte, so the lines split the same after it.
    out->converted = cp932::FromUtf16(text);
    return SplitLines(out->converted, &out->lines, error);
  }
  if (file.size() >= 2 && static_cast<unsigned char>(file[0]) == 0xFE && static_cast<unsigned char>(file[1]) == 0xFF) {
    error->line = 1;
    error->reason = "UTF-16 ビッグエンディアンのファイルには対応していません";
    return false;
  }
  if (file.size() >= 3 && file.compare(0, 3, "\xEF\xBB\xBF") == 0) {
    error->line = 1;
    error->reason = "UTF-8 のファイルには対応していません";
    return false;
  }
  return SplitLines(file, &out->lines, error);
}

// The parser: one pass over the lines, with the key section it is in.
// Every instruction goes to the sink as soon as it is read; a sink that
// fails stops the parse (it has set the error).
using EntrySink = std::function<bool(RegFileEntry&&, RegFileError*)>;

class Parser {
 public:
  Parser(const std::vector<std::string_view>& lines, EntrySink sink) : lines_(lines), sink_(std::move(sink)) {}

  bool Run(RegFileError* error) {
    error_ = error;
    std::size_t first = 0;
    while (first < lines_.size() && TrimBlanks(lines_[first]).empty()) ++first;
    const std::string header = first < lines_.size() ? TrimBlanks(lines_[first]) : std::string();
    if (first == lines_.size()) {
      index_ = 0;
      return Fail("ファイルが空です");
    }
    if (header == kHeader5) {
      unicode_ = true;
    } else if (header != kHeader4) {
      index_ = first;
      return Fail("レジストリ ファイルの見出し (REGEDIT4 または " + std::string(kHeader5) + ") がありません");
    }
    for (index_ = first + 1; index_ < lines_.size(); ++index_) {
      const std::string line = TrimBlanks(lines_[index_]);
      if (line.empty() || line[0] == ';' || line[0] == '#') continue;
      if (line[0] == '[') {
        if (!ParseKeyLine(line)) return false;
      } else if (line[0] == '"' || line[0] == '@') {
        if (!ParseValueLine(line)) return false;
      } else {
        return Fail("解釈できない行です");
      }
    }
    return true;
  }

 private:
  bool Fail(const std::string& reason) {
    error_->line = static_cast<int>(index_) + 1;
    error_->reason = reason;
    return false;
  }

  // Only blanks or a comment may follow at pos.
  static bool OnlyTrailing(const std::string& s, std::size_t pos) {
    while (pos < s.size() && IsBlank(s[pos])) ++pos;
    return pos == s.size() || s[pos] == ';';
  }

  bool ParseKeyLine(const std::string& line) {
    // The key ends at the last ']' of the line: key names may contain ']'.
    std::size_t close = sjis::npos;
    for (std::size_t i = 0; i < line.size(); i += sjis::CharLength(line, i)) {
      if (line[i] == ']') close = i;
    }
    if (close == sjis::npos) return Fail("キー名の終わりの ] がありません");
    if (!OnlyTrailing(line, close + 1)) return Fail("] の後に余分な文字があります");
    std::string name = line.substr(1, close - 1);
    const bool remove = !name.empty() && name[0] == '-';
    if (remove) name.erase(0, 1);
    const std::size_t slash = sjis::FindChar(name, '\\');
    const std::string rootName = name.substr(0, slash);
    std::string path = slash == sjis::npos ? std::string() : name.substr(slash + 1);
    if (sjis::EqualsIgnoreCase(rootName, kCurrentUser) || sjis::EqualsIgnoreCase(rootName, "HKCU")) {
      root_ = RegRoot::CurrentUser;
    } else if (sjis::EqualsIgnoreCase(rootName, kLocalMachine) || sjis::EqualsIgnoreCase(rootName, "HKLM")) {
      root_ = RegRoot::LocalMachine;
    } else {
      return Fail("対応していないルート キーです: " + rootName);
    }
    if (!path.empty() && path.back() == '\\' && sjis::IsCharBoundary(path, path.size() - 1)) path.pop_back();
    const std::vector<std::string> parts = sjis::Split(path, '\\');
    for (const std::string& part : parts) {
      if (part.empty() && !path.empty()) return Fail("キー名が空です");
    }
    // Windows nests keys at most this deep; a deeper one is damage or an attack.
    if (parts.size() > kMaxKeyDepth) return Fail("キーの階層が深すぎます (" + std::to_string(kMaxKeyDepth) + " 階層まで)");
    if (remove && path.empty()) return Fail("ルート キーは削除できません");
    path_ = path;
    inKey_ = true;
    keyRemoved_ = remove;
    RegFileEntry e;
    e.kind = remove ? RegFileEntry::Kind::DeleteKey : RegFileEntry::Kind::CreateKey;
    e.root = root_;
    e.path = path_;
    e.line = static_cast<int>(index_) + 1;
    return sink_(std::move(e), error_);
  }

  // A quoted string from pos (just after the opening quote); pos ends after the closing quote.
  bool ParseQuoted(const std::string& s, std::size_t* pos, std::string* out) {
    out->clear();
    std::size_t i = *pos;
    while (i < s.size()) {
      if (sjis::CharLength(s, i) == 2) {
        out->append(s, i, 2);
        i += 2;
        continue;
      }
      const char c = s[i];
      if (c == '"') {
        *pos = i + 1;
        return true;
      }
      if (c == '\\') {
        if (i + 1 >= s.size()) break;
        const char n = s[i + 1];
        if (n == '\\' || n == '"') {
          *out += n;
        } else if (n == 'n') {
          *out += '\n';
        } else if (n == 'r') {
          *out += '\r';
        } else {
          return Fail(std::string("不明なエスケープ \\") + n + " があります");
        }
        i += 2;
        continue;
      }
      *out += c;
      ++i;
    }
    return Fail("文字列の終わりの \" がありません");
  }

  bool ParseValueLine(const std::string& line) {
    if (!inKey_) return Fail("値の前にキーがありません");
    const int startLine = static_cast<int>(index_) + 1;
    std::string name;
    std::size_t pos = 0;
    if (line[0] == '@') {
      pos = 1;
    } else {
      pos = 1;
      if (!ParseQuoted(line, &pos, &name)) return false;
    }
    while (pos < line.size() && IsBlank(line[pos])) ++pos;
    if (pos >= line.size() || line[pos] != '=') return Fail("値の名前の後に = がありません");
    ++pos;
    while (pos < line.size() && IsBlank(line[pos])) ++pos;

    RegFileEntry e;
    e.kind = RegFileEntry::Kind::SetValue;
    e.root = root_;
    e.path = path_;
    e.name = name;
    e.line = startLine;
    if (pos < line.size() && line[pos] == '-') {
      if (!OnlyTrailing(line, pos + 1)) return Fail("- の後に余分な文字があります");
      e.kind = RegFileEntry::Kind::DeleteValue;
    } else if (pos < line.size() && line[pos] == '"') {
      ++pos;
      std::string text;
      if (!ParseQuoted(line, &pos, &text)) return false;
      if (!OnlyTrailing(line, pos)) return Fail("文字列の後に余分な文字があります");
      e.type = regtype::kSz;
      e.data.assign(text.begin(), text.end());
      e.data.push_back(0);
    } else if (StartsWithIgnoreCase(line, pos, "dword:")) {
      pos += 6;
      std::uint32_t value = 0;
      int digits = 0;
      for (; pos < line.size() && HexDigit(line[pos]) >= 0; ++pos, ++digits) {
        value = value << 4 | static_cast<std::uint32_t>(HexDigit(line[pos]));
      }
      if (digits == 0 || digits > 8) return Fail("dword の値は 1 から 8 桁の 16 進数です");
      if (!OnlyTrailing(line, pos)) return Fail("dword の値の後に余分な文字があります");
      e.type = regtype::kDword;
      e.data = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
    } else if (StartsWithIgnoreCase(line, pos, "hex")) {
      pos += 3;
      e.type = regtype::kBinary;
      if (pos < line.size() && line[pos] == '(') {
        ++pos;
        std::uint32_t type = 0;
        int digits = 0;
        for (; pos < line.size() && HexDigit(line[pos]) >= 0; ++pos, ++digits) {
          type = type << 4 | static_cast<std::uint32_t>(HexDigit(line[pos]));
        }
        if (digits == 0 || digits > 8 || pos >= line.size() || line[pos] != ')')
          return Fail("hex(型) の型は 1 から 8 桁の 16 進数です");
        ++pos;
        e.type = type;
      }
      if (pos >= line.size() || line[pos] != ':') return Fail("hex の後に : がありません");
      ++pos;
      if (!ParseHexList(line.substr(pos), &e.data)) return false;
      // In the Unicode format, string types hold UTF-16 text.
      if (unicode_ && IsStringType(e.type)) {
        const std::string text = cp932::FromUtf16(FromUtf16LeBytes(e.data.data(), e.data.size()));
        e.data.assign(text.begin(), text.end());
      }
    } else {
      return Fail("不明な値の形式です");
    }
    // Values inside a section that deletes its key are ignored, as regedit does.
    if (!keyRemoved_) return sink_(std::move(e), error_);
    return true;
  }

  // Comma-separated hex bytes; a trailing backslash continues on the next line.
  bool ParseHexList(std::string s, std::vector<std::uint8_t>* out) {
    out->clear();
    std::size_t pos = 0;
    for (;;) {
      while (pos < s.size() && IsBlank(s[pos])) ++pos;
      if (pos >= s.size() || s[pos] == ';') return true;
      if (s[pos] == '\\') {
        if (!OnlyTrailing(s, pos + 1)) return Fail("\\ の後に余分な文字があります");
        if (index_ + 1 >= lines_.size()) return Fail("続きの行がありません");
        ++index_;
        s = TrimBlanks(lines_[index_]);
        pos = 0;
        continue;
      }
      const int hi = HexDigit(s[pos]);
      if (hi < 0) return Fail("16 進数のバイトが正しくありません");
      int value = hi;
      ++pos;
      if (pos < s.size() && HexDigit(s[pos]) >= 0) {
        value = value << 4 | HexDigit(s[pos]);
        ++pos;
      }
      out->push_back(static_cast<std::uint8_t>(value));
      while (pos < s.size() && IsBlank(s[pos])) ++pos;
      if (pos >= s.size() || s[pos] == ';' || s[pos] == '\\') continue;
      if (s[pos] != ',') return Fail("16 進数のバイトの間に , がありません");
      ++pos;
    }
  }

  const std::vector<std::string_view>& lines_;
  EntrySink sink_;
  RegFileError* error_ = nullptr;
  std::size_t index_ = 0;
  bool unicode_ = false;
  bool inKey_ = false;
  bool keyRemoved_ = false;
  RegRoot root_ = RegRoot::CurrentUser;
  std::string path_;
};

std::string Escape(const std::string& s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); i += sjis::CharLength(s, i)) {
    const std::size_t len = sjis::CharLength(s, i);
    if (len == 1 && (s[i] == '\\' || s[i] == '"')) {
      out += '\\';
      out += s[i];
    } else if (len == 1 && s[i] == '\n') {
      out += "\\n";
    } else if (len == 1 && s[i] == '\r') {
      out += "\\r";
    } else {
      out.append(s, i, len);
    }
  }
  return out;
}

class Exporter {
 public:
  Exporter(RegistryAccess& reg, RegRoot root, bool unicode) : reg_(reg), root_(root), unicode_(unicode) {}

  // The key and its subtree, depth first in enumeration order. The walk keeps
  // its own stack and one path string that grows and shrinks with it, so the
  // work and memory follow the size of what is written, at any depth.
  void Key(const std::string& top) {
    struct Level {
      std::size_t pathLength;
      std::vector<std::string> subkeys;
      std::size_t next = 0;
    };
    std::vector<Level> levels;
    std::string path = top;
    auto visit = [&]() {
      RegKey key(reg_);
      if (key.Open(path, RegAccess::Read, root_) != regerr::kSuccess) return;
      out_ += "[";
      out_ += root_ == RegRoot::LocalMachine ? kLocalMachine : kCurrentUser;
      if (!path.empty()) {
        out_ += '\\';
        out_ += path;
      }
      out_ += "]\r\n";
      Values(key.Handle());
      out_ += "\r\n";
      levels.push_back(Level{path.size(), key.SubKeyNames(1024)});
    };
    visit();
    while (!levels.empty()) {
      Level& level = levels.back();
      if (level.next == level.subkeys.size()) {
        levels.pop_back();
        continue;
      }
      path.resize(level.pathLength);
      if (!path.empty()) path += '\\';
      path += level.subkeys[level.next++];
      visit();  // may grow `levels`: `level` is not used after this
    }
  }

  std::string& Text() { return out_; }

 private:
  void Values(RegHandle key) {
    // The buffers live as long as the exporter: each key reuses them.
    std::vector<char>& name = nameBuffer_;
    std::vector<std::uint8_t>& data = dataBuffer_;
    for (std::uint32_t index = 0;;) {
      std::uint32_t nameSize = static_cast<std::uint32_t>(name.size());
      std::uint32_t dataSize = static_cast<std::uint32_t>(data.size());
      std::uint32_t type = 0;
      const long rc = reg_.EnumValue(key, index, name.data(), &nameSize, &type, data.data(), &dataSize);
      if (rc == regerr::kMoreData && dataSize > data.size()) {
        data.resize(dataSize);
        continue;  // same index, larger buffer
      }
      if (rc == regerr::kMoreData) {
        ++index;  // a name longer than any the registry allows: skipped
        continue;
      }
      if (rc != regerr::kSuccess) return;
      Value(std::string(name.data(), nameSize), type, data.data(), dataSize);
      ++index;
    }
  }

  void Value(const std::string& name, std::uint32_t type, const std::uint8_t* data, std::uint32_t size) {
    std::string head = name.empty() ? "@=" : "\"" + Escape(name) + "\"=";
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (type == regtype::kSz && size > 0 && data[size - 1] == 0 &&
        text.find('\0') == size - 1 && text.find_first_of("\r\n") == std::string_view::npos &&
        sjis::IsWellFormed(text.substr(0, size - 1))) {
      out_ += head + "\"" + Escape(std::string(text.substr(0, size - 1))) + "\"\r\n";
      return;
    }
    if (type == regtype::kDword && size == 4) {
      char buf[16];
      std::snprintf(buf, sizeof buf, "dword:%08x", static_cast<unsigned>(data[0] | data[1] << 8 | data[2] << 16) |
                                                       static_cast<unsigned>(data[3]) << 24);
      out_ += head + buf + "\r\n";
      return;
    }
    std::vector<std::uint8_t> bytes(data, data + size);
    if (unicode_ && IsStringType(type)) {
      const std::string unicode = Utf16LeBytes(cp932::ToUtf16(text));
      bytes.assign(unicode.begin(), unicode.end());
    }
    char prefix[24];
    if (type == regtype::kBinary) {
      std::snprintf(prefix, sizeof prefix, "hex:");
    } else {
      std::snprintf(prefix, sizeof prefix, "hex(%x):", static_cast<unsigned>(type));
    }
    head += prefix;
    out_ += head;
    // regedit's layout: wrap after the comma that reaches the column, then a
    // backslash and two blanks of indent.
    std::size_t column = head.size();
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%02x", bytes[i]);
      out_ += hex;
      if (i + 1 == bytes.size()) break;
      out_ += ',';
      column += 3;
      if (column >= kHexWrapColumn) {
        out_ += "\\\r\n  ";
        column = 2;
      }
    }
    out_ += "\r\n";
  }

  RegistryAccess& reg_;
  RegRoot root_;
  bool unicode_;
  std::string out_;
  std::vector<char> nameBuffer_ = std::vector<char>(32768);
  std::vector<std::uint8_t> dataBuffer_ = std::vector<std::uint8_t>(256);
};

}  // namespace

bool ParseRegFile(const std::string& fileBytes, std::vector<RegFileEntry>* entries, RegFileError* error) {
  RegFileError scratch;
  if (!error) error = &scratch;
  *error = RegFileError();
  entries->clear();
  DecodedLines decoded;
  if (!DecodeLines(fileBytes, &decoded, error)) return false;
  std::vector<RegFileEntry> parsed;
  Parser parser(decoded.lines, [&parsed](RegFileEntry&& e, RegFileError*) {
    parsed.push_back(std::move(e));
    return true;
  });
  if (!parser.Run(error)) return false;
  *entries = std::move(parsed);
  return true;
}

bool ParseRegFileKeys(const std::string& fileBytes, std::vector<RegFileEntry>* keys, RegFileError* error) {
  RegFileError scratch;
  if (!error) error = &scratch;
  *error = RegFileError();
  keys->clear();
  DecodedLines decoded;
  if (!DecodeLines(fileBytes, &decoded, error)) return false;
  std::vector<RegFileEntry> parsed;
  Parser parser(decoded.lines, [&parsed](RegFileEntry&& e, RegFileError*) {
    if (e.kind == RegFileEntry::Kind::CreateKey || e.kind == RegFileEntry::Kind::DeleteKey) parsed.push_back(std::move(e));
    return true;
  });
  if (!parser.Run(error)) return false;
  *keys = std::move(parsed);
  return true;
}

namespace {

// Carries out one instruction on the registry; `current` is the key of the
// section being read.
bool ApplyEntry(RegistryAccess& reg, RegKey& current, const RegFileEntry& e, RegFileError* error) {
  auto fail = [&](const char* what, long rc) {
    error->line = e.line;
    char buf[32];
    std::snprintf(buf, sizeof buf, " (エラー %ld)", rc);
    error->reason = std::string(what) + buf;
    return false;
  };
  switch (e.kind) {
    case RegFileEntry::Kind::CreateKey: {
      const long rc = current.Create(e.path, e.root);
      if (rc != regerr::kSuccess) return fail("キーを作成できません", rc);
      return true;
    }
    case RegFileEntry::Kind::DeleteKey: {
      current.Close();
      const std::vector<std::string> parts = sjis::Split(e.path, '\\');
      std::string parentPath;
      for (std::size_t i = 0; i + 1 < parts.size(); ++i) parentPath += (i ? "\\" : "") + parts[i];
      RegKey parent(reg);
      if (parent.Open(parentPath, RegAccess::All, e.root) != regerr::kSuccess) return true;  // nothing to delete
      const long rc = parent.DeleteKeyTree(parts.back());
      if (rc != regerr::kSuccess && rc != regerr::kFileNotFound) return fail("キーを削除できません", rc);
      return true;
    }
    case RegFileEntry::Kind::SetValue: {
      const long rc = current.WriteBytes(e.name, e.data.data(), static_cast<std::uint32_t>(e.data.size()), e.type);
      if (rc != regerr::kSuccess) return fail("値を書き込めません", rc);
      return true;
    }
    case RegFileEntry::Kind::DeleteValue: {
      const long rc = current.DeleteValue(e.name);
      if (rc != regerr::kSuccess && rc != regerr::kFileNotFound) return fail("値を削除できません", rc);
      return true;
    }
  }
  return true;
}

}  // namespace

bool ImportRegFile(RegistryAccess& reg, const std::string& fileBytes, RegFileError* error) {
  RegFileError scratch;
  if (!error) error = &scratch;
  *error = RegFileError();
  DecodedLines decoded;
  if (!DecodeLines(fileBytes, &decoded, error)) return false;
  // The whole file is checked before anything is written, and read a second
  // time to write it: holding every parsed instruction at once would take
  // many times the file's size.
  {
    Parser check(decoded.lines, [](RegFileEntry&&, RegFileError*) { return true; });
    if (!check.Run(error)) return false;
  }
  RegKey current(reg);
  Parser apply(decoded.lines,
               [&](RegFileEntry&& e, RegFileError* err) { return ApplyEntry(reg, current, e, err); });
  return apply.Run(error);
}

std::string ExportRegFile(RegistryAccess& reg, RegRoot root, const std::vector<std::string>& keyPaths,
                          RegFileFormat format) {
  const bool unicode = format == RegFileFormat::Regedit5;
  Exporter exporter(reg, root, unicode);
  exporter.Text() = std::string(unicode ? kHeader5 : kHeader4) + "\r\n\r\n";
  for (const std::string& path : keyPaths) exporter.Key(path);
  if (!unicode) return exporter.Text();
  return std::string("\xFF\xFE", 2) + Utf16LeBytes(cp932::ToUtf16(exporter.Text()));
}

bool ReadWholeFile(const std::string& path, std::string* bytes) {
  std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!f) return false;
  std::string out;
  char buffer[65536];
  for (;;) {
    const std::size_t n = std::fread(buffer, 1, sizeof buffer, f.get());
    out.append(buffer, n);
    if (n < sizeof buffer) break;
  }
  if (std::ferror(f.get())) return false;
  *bytes = std::move(out);
  return true;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) { return SaveFileWhole(path, bytes); }

}  // namespace velkor
