#include "rulestore/RuleBackup.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "registry/MemoryRegistry.h"
#include "registry/RegFile.h"
#include "registry/RegFileSplice.h"
#include "registry/RegistryAccess.h"
#include "rulestore/RegistryLayout.h"
#include "rulestore/RuleIo.h"
#include "text/ShiftJis.h"

namespace velkor {

namespace {

constexpr const char* kRegedit4 = "REGEDIT4\r\n\r\n";
constexpr const char* kCountsTag = "; velkor-backup rules=";
constexpr const char* kBlockedTag = " blocked=";
// The last line of every complete backup: a file cut anywhere lacks it.
constexpr const char* kEndLine = "; velkor-backup end";
constexpr const char* kHkcu = "HKEY_CURRENT_USER\\";

int CountListed(RegistryAccess& reg, const std::string& path) {
  RegKey key(reg);
  std::string order;
  if (key.Open(path, RegAccess::Read) != regerr::kSuccess || !key.ReadString(oereg::kOrder, &order)) return 0;
  return static_cast<int>(RuleIo::SplitOrder(order, false).size());
}

// "20261209-130509.reg" or "20261209-130509-2.reg": the sort key, or empty.
std::string StampOf(const std::string& name, BackupInfo* info) {
  if (name.size() < 19 || name[8] != '-') return "";
  const std::string ext = name.substr(name.size() - 4);
  if (sjis::AsciiLower(ext) != ".reg") return "";
  for (int i : {0, 1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 12, 13, 14}) {
    if (name[static_cast<std::size_t>(i)] < '0' || name[static_cast<std::size_t>(i)] > '9') return "";
  }
  int suffix = 1;
  const std::string rest = name.substr(15, name.size() - 19);
  if (!rest.empty()) {
    if (rest[0] != '-' || rest.size() < 2 || rest.size() > 6) return "";
    for (std::size_t i = 1; i < rest.size(); ++i)
      if (rest[i] < '0' || rest[i] > '9') return "";
    suffix = std::atoi(rest.c_str() + 1);
  }
  if (info) {
    info->date = name.substr(0, 4) + "/" + name.substr(4, 2) + "/" + name.substr(6, 2);
    info->time = name.substr(9, 2) + ":" + name.substr(11, 2) + ":" + name.substr(13, 2);
  }
  char key[32];
  std::snprintf(key, sizeof key, "%s%06d", name.substr(0, 15).c_str(), suffix);
  return key;
}

void ReadCounts(const std::string& bytes, BackupInfo* info) {
  const std::size_t at = bytes.find(kCountsTag);
  if (at == std::string::npos || at > 64) return;
  int rules = -1, blocked = -1;
  if (std::sscanf(bytes.c_str() + at + std::char_traits<char>::length(kCountsTag), "%d blocked=%d", &rules,
                  &blocked) == 2 &&
      rules >= 0 && blocked >= 0) {
    info->rules = rules;
    info->blocked = blocked;
  }
}

std::string Fill(const char* format, const std::string& text, const std::string& second = std::string()) {
  std::string out = format;
  std::size_t at = out.find("%s");
  if (at != std::string::npos) out.replace(at, 2, text);
  at = out.find("%s", at == std::string::npos ? 0 : at + text.size());
  if (at != std::string::npos) out.replace(at, 2, second);
  return out;
}

bool Refuse(std::string* error, const std::string& why) {
  if (error) *error = why + "\r\n" + ruletext::kNothingChanged;
  return false;
}

// How much of a backup's frame a file has: the counts line right after
// "REGEDIT4" (blank lines between), and the end line as the last line that
// is not blank.
enum class Frame { None, Head, Whole };

Frame ReadFrame(const std::string& bytes, int* rules, int* blocked) {
  std::vector<std::string_view> lines;
  const std::string_view text(bytes);
  for (std::size_t at = 0; at <= text.size();) {
    std::size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    at = end + 1;
  }
  std::size_t first = 0;
  while (first < lines.size() && lines[first].empty()) ++first;
  std::size_t counts = first + 1;
  while (counts < lines.size() && lines[counts].empty()) ++counts;
  if (first >= lines.size() || lines[first] != "REGEDIT4" || counts >= lines.size()) return Frame::None;
  // "; velkor-backup rules=N blocked=M", N and M decimal and nothing else.
  std::string_view line = lines[counts];
  const std::string_view tag(kCountsTag), blockedTag(kBlockedTag);
  auto number = [](std::string_view* s, int* out) {
    std::size_t digits = 0;
    long value = 0;
    while (digits < s->size() && digits < 9 && (*s)[digits] >= '0' && (*s)[digits] <= '9')
      value = value * 10 + ((*s)[digits++] - '0');
    if (digits == 0) return false;
    s->remove_prefix(digits);
    *out = static_cast<int>(value);
    return true;
  };
  if (line.substr(0, tag.size()) != tag) return Frame::None;
  line.remove_prefix(tag.size());
  if (!number(&line, rules) || line.substr(0, blockedTag.size()) != blockedTag) return Frame::Head;
  line.remove_prefix(blockedTag.size());
  if (!number(&line, blocked) || !line.empty()) return Frame::Head;
  std::size_t last = lines.size();
  while (last > 0 && lines[last - 1].empty()) --last;
  return last - 1 > counts && lines[last - 1] == kEndLine ? Frame::Whole : Frame::Head;
}

// "Identities\{id}\...\Rules\Mail" to "{id}", or empty.
std::string IdentityOfRulesPath(const std::string& path) {
  const std::string prefix = std::string(oereg::kIdentities) + "\\";
  if (path.size() <= prefix.size() || !sjis::EqualsIgnoreCase(std::string_view(path).substr(0, prefix.size()), prefix))
    return "";
  const std::size_t end = sjis::FindChar(path, '\\', prefix.size());
  if (end == sjis::npos) return "";
  const std::string identity = path.substr(prefix.size(), end - prefix.size());
  return sjis::EqualsIgnoreCase(oereg::RulesMailPath(oereg::IdentityBasePath(identity)), path) ? identity : "";
}

// The backup's own text of the two lists, from its first key after the
// deletions to its end line, for a file of the same format: restored as
// written, whatever the length of its names.
std::string ListSectionsOf(const std::string& backup) {
  std::vector<RegFileEntry> keys;
  if (!ParseRegFileKeys(backup, &keys, nullptr) || keys.size() < 3) return "";
  std::size_t at = 0;
  for (int line = 1; line < keys[2].line && at != std::string::npos; ++line) {
    at = backup.find('\n', at);
    if (at != std::string::npos) ++at;
  }
  const std::size_t end = backup.rfind(kEndLine);
  return at == std::string::npos || end == std::string::npos || end < at ? "" : backup.substr(at, end - at);
}

int CountBlocked(RegistryAccess& reg, const std::string& blockedPath) {
  return CountListed(reg, oereg::SubPath(oereg::SubPath(blockedPath, oereg::kBlockedRule), oereg::kCriteria));
}

}  // namespace

std::string ExportRulesText(RegistryAccess& reg, const std::string& identityKey) {
  const std::string base = oereg::IdentityBasePath(identityKey);
  const std::string rules = oereg::RulesMailPath(base);
  const std::string blocked = oereg::BlockSendersPath(base);
  std::string text = ExportRegFile(reg, RegRoot::CurrentUser, {rules, blocked}, RegFileFormat::Regedit4);
  const std::string header = kRegedit4;
  if (text.compare(0, header.size(), header) != 0) text.insert(0, header);
  // The deletions make a restore replace the lists instead of merging into
  // whatever is stored by then; a key missing now is missing after it too.
  char counts[96];
  std::snprintf(counts, sizeof counts, "%s%d%s%d\r\n\r\n", kCountsTag, CountListed(reg, rules), kBlockedTag,
                CountBlocked(reg, blocked));
  text.insert(header.size(), std::string(counts) + "[-" + kHkcu + rules + "]\r\n\r\n[-" + kHkcu + blocked + "]\r\n\r\n");
  return text + kEndLine + "\r\n";
}

std::string RuleBackup::IdentityFolder(const std::string& identityKey) const {
  return root_ + files_.Separator() + identityKey;
}

bool RuleBackup::Write(const std::string& identityKey, const BackupTime& when, std::string* path,
                       std::string* error) {
  const std::string folder = IdentityFolder(identityKey);
  if (root_.empty() || identityKey.empty() || !files_.MakeFolders(folder)) {
    if (path) *path = folder;
    if (error) *error = Fill(ruletext::kBackupWhere, folder, ruletext::kNoBackupFolder);
    return false;
  }
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d", when.year, when.month, when.day, when.hour,
                when.minute, when.second);
  const auto existing = files_.ListFiles(folder);
  std::string name = std::string(stamp) + ".reg";
  for (int n = 2; std::find(existing.begin(), existing.end(), name) != existing.end(); ++n) {
    name = std::string(stamp) + "-" + std::to_string(n) + ".reg";
  }
  const std::string file = folder + files_.Separator() + name;
  if (path) *path = file;
  std::string why;
  if (!files_.WriteFile(file, ExportRulesText(reg_, identityKey), &why)) {
    if (error) *error = Fill(ruletext::kBackupWhere, file, why);
    return false;
  }

  // Only files of our own naming are counted and dropped.
  std::vector<std::pair<std::string, std::string>> ours;
  for (const auto& n : files_.ListFiles(folder)) {
    const std::string key = StampOf(n, nullptr);
    if (!key.empty()) ours.emplace_back(key, n);
  }
  std::sort(ours.begin(), ours.end());
  for (std::size_t i = 0; i + kKeep < ours.size(); ++i) files_.RemoveFile(folder + files_.Separator() + ours[i].second);
  return true;
}

std::vector<BackupInfo> RuleBackup::List(const std::string& identityKey) {
  const std::string folder = IdentityFolder(identityKey);
  std::vector<std::pair<std::string, BackupInfo>> found;
  for (const auto& name : files_.ListFiles(folder)) {
    BackupInfo info;
    const std::string key = StampOf(name, &info);
    if (key.empty()) continue;
    info.path = folder + files_.Separator() + name;
    std::string bytes;
    if (files_.ReadFile(info.path, &bytes)) ReadCounts(bytes.substr(0, 128), &info);
    found.emplace_back(key, std::move(info));
  }
  std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  std::vector<BackupInfo> list;
  for (auto& f : found) list.push_back(std::move(f.second));
  return list;
}

bool RuleBackup::Read(const std::string& identityKey, const std::string& path, std::string* bytes,
                      std::string* error) {
  std::string identity;
  MemoryRegistry lists;
  if (!files_.ReadFile(path, bytes)) return Refuse(error, ruletext::kBackupUnreadable);
  if (!CheckBackupText(*bytes, &identity, &lists, error)) return false;
  if (!sjis::EqualsIgnoreCase(identity, identityKey)) return Refuse(error, ruletext::kNotABackup);
  return true;
}

bool RuleBackup::Restore(const std::string& identityKey, const std::string& path, std::string* error) {
  std::string bytes;
  return Read(identityKey, path, &bytes, error) && RestoreBackupText(reg_, identityKey, bytes, error);
}

std::string BackupIdentity(const std::string& fileBytes) {
  std::vector<RegFileEntry> keys;
  if (!ParseRegFileKeys(fileBytes, &keys, nullptr)) return "";
  for (const auto& e : keys) {
    if (e.kind != RegFileEntry::Kind::DeleteKey || e.root != RegRoot::CurrentUser) continue;
    const std::string identity = IdentityOfRulesPath(e.path);
    if (!identity.empty()) return identity;
  }
  return "";
}

bool CheckBackupText(const std::string& fileBytes, std::string* identity, RegistryAccess* lists, std::string* error) {
  int rules = -1, blocked = -1;
  const Frame frame = ReadFrame(fileBytes, &rules, &blocked);
  if (frame == Frame::None) return Refuse(error, ruletext::kNotABackup);
  std::vector<RegFileEntry> entries;
  if (!ParseRegFile(fileBytes, &entries, nullptr) || entries.size() < 2) return Refuse(error, ruletext::kBackupIncomplete);
  // Both deletions first: a restore replaces the lists instead of merging.
  const std::string id = IdentityOfRulesPath(entries[0].path);
  const std::string base = oereg::IdentityBasePath(id);
  const std::string rulesPath = oereg::RulesMailPath(base), blockedPath = oereg::BlockSendersPath(base);
  if (id.empty() || entries[0].kind != RegFileEntry::Kind::DeleteKey || entries[0].root != RegRoot::CurrentUser ||
      entries[1].kind != RegFileEntry::Kind::DeleteKey || entries[1].root != RegRoot::CurrentUser ||
      !sjis::EqualsIgnoreCase(entries[1].path, blockedPath))
    return Refuse(error, ruletext::kNotABackup);
  // After them only what is written into the two lists; a deletion there
  // would take away part of what the file restores.
  for (std::size_t i = 2; i < entries.size(); ++i) {
    const RegFileEntry& e = entries[i];
    const bool inside = e.root == RegRoot::CurrentUser &&
                        (RegPathAtOrBelow(e.path, rulesPath) || RegPathAtOrBelow(e.path, blockedPath));
    if (!inside) return Refuse(error, ruletext::kBackupOtherKeys);
    if (e.kind != RegFileEntry::Kind::CreateKey && e.kind != RegFileEntry::Kind::SetValue)
      return Refuse(error, ruletext::kBackupIncomplete);
  }
  if (frame != Frame::Whole) return Refuse(error, ruletext::kBackupIncomplete);
  // The counts of the header against what the file holds.
  if (!ImportRegFile(*lists, fileBytes, nullptr) || CountListed(*lists, rulesPath) != rules ||
      CountBlocked(*lists, blockedPath) != blocked)
    return Refuse(error, ruletext::kBackupIncomplete);
  *identity = id;
  return true;
}

bool RestoreBackupText(RegistryAccess& reg, const std::string& identityKey, const std::string& fileBytes,
                       std::string* error) {
  std::string identity;
  MemoryRegistry lists;
  if (!CheckBackupText(fileBytes, &identity, &lists, error)) return false;
  // Only a whole backup of this identity: it replaces both lists and nothing else.
  if (!sjis::EqualsIgnoreCase(identity, identityKey)) return Refuse(error, ruletext::kNotABackup);
  RegFileError importError;
  if (!ImportRegFile(reg, fileBytes, &importError)) {
    if (error) *error = ruletext::kRestoreFailed;
    return false;
  }
  return true;
}

bool RestoreBackupIntoRegFile(const std::string& backupBytes, const std::string& fileBytes, std::string* identity,
                              std::string* out, std::string* error) {
  MemoryRegistry lists;
  std::string id;
  if (!CheckBackupText(backupBytes, &id, &lists, error)) return false;
  std::vector<RegFileEntry> keys;
  RegFileError parseError;
  if (!ParseRegFileKeys(fileBytes, &keys, &parseError)) {
    return Refuse(error, Fill(ruletext::kTargetUnreadable,
                              std::to_string(parseError.line) + " 行目: " + parseError.reason));
  }
  // The identity must be there when the file has been read to its end.
  const std::string base = oereg::IdentityBasePath(id);
  bool present = false;
  for (const auto& k : keys) {
    if (k.root != RegRoot::CurrentUser) continue;
    if (k.kind == RegFileEntry::Kind::CreateKey && RegPathAtOrBelow(k.path, base)) present = true;
    if (k.kind == RegFileEntry::Kind::DeleteKey && RegPathAtOrBelow(base, k.path)) present = false;
  }
  if (!present) return Refuse(error, Fill(ruletext::kNoIdentityInFile, id));

  const std::vector<std::string> trees = {oereg::RulesMailPath(base), oereg::BlockSendersPath(base)};
  const RegFileShape shape = ShapeOfRegFile(fileBytes);
  const std::string sections = !shape.utf16 && !shape.unicodeValues
                                    ? ListSectionsOf(backupBytes)
                                    : RegFileSections(lists, RegRoot::CurrentUser, trees, shape);
  // What the new sections hold read back as the backup's lists, or the
  // file's format cannot carry them (a UTF-16 file and a value that is no
  // Shift_JIS text, say).
  MemoryRegistry back;
  if (!ImportRegFile(back, RegFileWithSections(shape, sections), nullptr) ||
      back.Dump(RegRoot::CurrentUser, trees[0]) != lists.Dump(RegRoot::CurrentUser, trees[0]) ||
      back.Dump(RegRoot::CurrentUser, trees[1]) != lists.Dump(RegRoot::CurrentUser, trees[1]))
    return Refuse(error, ruletext::kTargetCannotHold);
  *out = SpliceRegFile(fileBytes, keys, RegRoot::CurrentUser, trees, sections);
  *identity = id;
  return true;
}

}  // namespace velkor
