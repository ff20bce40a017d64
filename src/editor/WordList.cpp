#include "editor/WordList.h"

#include <algorithm>

namespace velkor::wordlist {

namespace {

// The heading of an e-mail section in address-book text, and its first address line.
constexpr std::string_view kEmailHeading = "電子メール アドレス :\r\n";
constexpr std::string_view kAddressIndent = "  ";

bool IsLineSeparator(char c) { return c == '\r' || c == '\n' || c == '\0'; }

// Drops NULs and lead bytes that have no valid second byte.
std::string WholeCharacters(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == 0) continue;
    if (sjis::IsLeadByte(c)) {
      if (i + 1 < text.size() && sjis::IsTrailByte(static_cast<unsigned char>(text[i + 1]))) {
        out.append(text.substr(i, 2));
        ++i;
      }
      continue;
    }
    out.push_back(static_cast<char>(c));
  }
  return out;
}

}  // namespace

std::string CleanEntry(std::string_view text) { return sjis::CleanUserText(WholeCharacters(text)); }

int FindEqualRow(const std::vector<std::string>& rows, std::string_view text, int except) {
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (static_cast<int>(i) != except && sjis::EqualsIgnoreCase(rows[i], text)) return static_cast<int>(i);
  }
  return -1;
}

EditDecision DecideLabelEdit(const std::vector<std::string>& rows, int row, bool cancelled,
                             std::string_view newText) {
  EditDecision decision;
  if (row < 0 || row >= static_cast<int>(rows.size())) return decision;
  const std::string& old = rows[row];
  if (cancelled) {
    // A fresh empty row that the user gave up on goes away.
    decision.outcome = old.empty() ? EditOutcome::kDelete : EditOutcome::kKeep;
    return decision;
  }
  std::string text = CleanEntry(newText);
  if (text.empty()) {
    decision.outcome = old.empty() ? EditOutcome::kDelete : EditOutcome::kAskDelete;
    return decision;
  }
  int other = FindEqualRow(rows, text, row);
  if (other >= 0) {
    decision.outcome = EditOutcome::kMergeInto;
    decision.otherRow = other;
    return decision;
  }
  // Pressing Enter on an unchanged row is no change: committing it would
  // offer a save of nothing.
  if (text == old) return decision;
  decision.outcome = EditOutcome::kRename;
  decision.text = std::move(text);
  return decision;
}

std::vector<std::string> PastedLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  // CR, LF and NUL are never second bytes, so a plain byte split is safe.
  for (std::size_t pos = 0; pos <= text.size(); ++pos) {
    if (pos < text.size() && !IsLineSeparator(text[pos])) continue;
    std::string line = CleanEntry(text.substr(start, pos - start));
    if (!line.empty()) lines.push_back(std::move(line));
    start = pos + 1;
  }
  return lines;
}

std::size_t PasteLength(std::string_view text) {
  return text.size() - static_cast<std::size_t>(std::count(text.begin(), text.end(), '\t'));
}

bool IsAddressBookText(std::string_view text) {
  std::string marker(kEmailHeading);
  marker.append(kAddressIndent);
  return sjis::Find(text, marker) != sjis::npos;
}

std::string AddressBookLines(std::string_view text) {
  std::string joined;
  std::size_t pos = sjis::Find(text, kEmailHeading);
  while (pos != sjis::npos) {
    std::size_t line = pos + kEmailHeading.size();
    while (line < text.size() && text.substr(line, kAddressIndent.size()) == kAddressIndent) {
      std::size_t end = text.find_first_of("\r\n", line);
      if (end == std::string_view::npos) end = text.size();
      if (!joined.empty()) joined += "\r\n";
      joined.append(text.substr(line, end - line));
      line = end;
      if (text.substr(line, 2) == "\r\n") line += 2;
      else if (line < text.size()) ++line;
    }
    pos = line < text.size() ? sjis::Find(text, kEmailHeading, line) : sjis::npos;
  }
  return joined;
}

WordMerge::WordMerge(const std::vector<std::string>& rows) {
  keys_.reserve(rows.size());
  hashes_.reserve(rows.size());
  slots_.assign(64, 0);
  while (slots_.size() < rows.size() * 2) slots_.resize(slots_.size() * 2);
  for (std::size_t i = 0; i < rows.size(); ++i) Find(sjis::FoldCase(rows[i]), static_cast<int>(i));
}

std::pair<WordMerge::Key*, bool> WordMerge::Find(const std::string& folded, int row) {
  std::size_t hash = std::hash<std::string_view>{}(folded);
  std::size_t mask = slots_.size() - 1;
  for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
    std::uint32_t slot = slots_[at];
    if (slot == 0) {
      keys_.push_back(Key{folded_.size(), folded.size(), row});
      hashes_.push_back(hash);
      folded_ += folded;
      slots_[at] = static_cast<std::uint32_t>(keys_.size());
      if (keys_.size() * 2 > slots_.size()) {
        Grow();
      }
      return {&keys_.back(), true};
    }
    Key& key = keys_[slot - 1];
    if (hashes_[slot - 1] == hash && key.length == folded.size() &&
        folded_.compare(key.offset, key.length, folded) == 0) {
      return {&key, false};
    }
  }
}

void WordMerge::Grow() {
  slots_.assign(slots_.size() * 2, 0);
  std::size_t mask = slots_.size() - 1;
  for (std::size_t i = 0; i < keys_.size(); ++i) {
    std::size_t at = hashes_[i] & mask;
    while (slots_[at] != 0) at = (at + 1) & mask;
    slots_[at] = static_cast<std::uint32_t>(i + 1);
  }
}

void WordMerge::Add(std::string_view line) {
  std::string entry = CleanEntry(line);
  if (!entry.empty()) AddClean(std::move(entry));
}

void WordMerge::AddClean(std::string entry) {
  auto [key, inserted] = Find(sjis::FoldCase(entry), kTaken);
  if (inserted) {
    added_.push_back(std::move(entry));
  } else if (key->row >= 0) {
    // Once matched, a row is not listed again.
    existing_.push_back(key->row);
    key->row = kMatched;
  }
}

std::string CopyText(const std::vector<std::string>& selected) {
  std::string text;
  for (std::size_t i = 0; i < selected.size(); ++i) {
    if (i) text += "\r\n";
    text += selected[i];
  }
  return text;
}

std::string FindRowText(std::string_view first, std::string_view second) {
  std::string text(first);
  text += '\t';
  text.append(second);
  return text;
}

FindResult FindNext(const std::vector<std::string>& rowTexts, int focused, std::string_view search,
                    bool matchCase) {
  FindResult result;
  const int count = static_cast<int>(rowTexts.size());
  std::string needle = sjis::Trim(search);
  if (count == 0 || needle.empty()) return result;
  result.searched = true;
  int start = (focused < 0 || focused >= count - 1) ? 0 : focused + 1;
  for (int n = 0; n < count; ++n) {
    int row = (start + n) % count;
    std::size_t at = matchCase ? sjis::Find(rowTexts[row], needle) : sjis::FindIgnoreCase(rowTexts[row], needle);
    if (at != sjis::npos) {
      result.row = row;
      break;
    }
  }
  return result;
}

std::vector<std::string> AddressEntries(const std::vector<std::string>& rows) {
  std::vector<std::string> addresses;
  for (const std::string& row : rows) {
    if (sjis::FindChar(row, '@') != sjis::npos) addresses.push_back(sjis::Trim(row));
  }
  return addresses;
}

}  // namespace velkor::wordlist
