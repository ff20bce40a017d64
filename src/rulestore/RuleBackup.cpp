#include "rulestore/RuleBackup.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "registry/RegFile.h"
#include "registry/RegistryAccess.h"
#include "rulestore/RegistryLayout.h"
#include "rulestore/RuleIo.h"
#include "text/ShiftJis.h"

namespace velkor {

namespace {

constexpr const char* kRegedit4 = "REGEDIT4\r\n\r\n";
constexpr const char* kCountsTag = "; velkor-backup rules=";
constexpr const char* kHkcu = "HKEY_CURRENT_USER\\";

int CountListed(RegistryAccess& reg, const std::string& path) {
  RegKey key(reg);
  std::string order;
  if (key.Open(path, RegAccess::Read) != regerr::kSuccess || !key.ReadString(oereg::kOrder, &order)) return 0;
  return static_cast<int>(RuleIo::SplitOrder(order, false).size());
}

bool SamePathOrBelow(const std::string& path, const std::string& key) {
  const std::string p = sjis::AsciiLower(path), k = sjis::AsciiLower(key);
  return p == k || (p.size() > k.size() && p.compare(0, k.size(), k) == 0 && p[k.size()] == '\\');
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

std::string Fill(const char* format, const std::string& text) {
  std::string out = format;
  const std::size_t at = out.find("%s");
  if (at != std::string::npos) out.replace(at, 2, text);
  return out;
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
  std::snprintf(counts, sizeof counts, "%s%d blocked=%d\r\n\r\n", kCountsTag, CountListed(reg, rules),
                CountListed(reg, oereg::SubPath(oereg::SubPath(blocked, oereg::kBlockedRule), oereg::kCriteria)));
  text.insert(header.size(), std::string(counts) + "[-" + kHkcu + rules + "]\r\n\r\n[-" + kHkcu + blocked + "]\r\n\r\n");
  return text;
}

std::string RuleBackup::IdentityFolder(const std::string& identityKey) const {
  return root_ + files_.Separator() + identityKey;
}

bool RuleBackup::Write(const std::string& identityKey, const BackupTime& when, std::string* path,
                       std::string* error) {
  const std::string folder = IdentityFolder(identityKey);
  if (root_.empty() || identityKey.empty() || !files_.MakeFolders(folder)) {
    if (error) *error = Fill(ruletext::kBackupFailed, folder);
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
  if (!files_.WriteFile(file, ExportRulesText(reg_, identityKey))) {
    if (error) *error = Fill(ruletext::kBackupFailed, file);
    return false;
  }
  if (path) *path = file;

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

bool RuleBackup::Restore(const std::string& identityKey, const std::string& path, std::string* error) {
  std::string bytes;
  if (!files_.ReadFile(path, &bytes)) {
    if (error) *error = ruletext::kRestoreFailed;
    return false;
  }
  return RestoreBackupText(reg_, identityKey, bytes, error);
}

std::string BackupIdentity(const std::string& fileBytes) {
  std::vector<RegFileEntry> entries;
  RegFileError parseError;
  if (!ParseRegFile(fileBytes, &entries, &parseError)) return "";
  const std::string prefix = sjis::AsciiLower(std::string(oereg::kIdentities) + "\\");
  for (const auto& e : entries) {
    if (e.kind != RegFileEntry::Kind::DeleteKey || e.root != RegRoot::CurrentUser) continue;
    const std::string lower = sjis::AsciiLower(e.path);
    if (lower.compare(0, prefix.size(), prefix) != 0) continue;
    const std::size_t end = e.path.find('\\', prefix.size());
    if (end == std::string::npos) continue;
    const std::string identity = e.path.substr(prefix.size(), end - prefix.size());
    if (sjis::AsciiLower(oereg::RulesMailPath(oereg::IdentityBasePath(identity))) == lower) return identity;
  }
  return "";
}

bool RestoreBackupText(RegistryAccess& reg, const std::string& identityKey, const std::string& fileBytes,
                       std::string* error) {
  std::vector<RegFileEntry> entries;
  RegFileError parseError;
  const std::string base = oereg::IdentityBasePath(identityKey);
  const std::string rules = oereg::RulesMailPath(base);
  const std::string blocked = oereg::BlockSendersPath(base);
  bool deletesRules = false, deletesBlocked = false, inside = true;
  if (ParseRegFile(fileBytes, &entries, &parseError)) {
    for (const auto& e : entries) {
      inside = inside && e.root == RegRoot::CurrentUser &&
               (SamePathOrBelow(e.path, rules) || SamePathOrBelow(e.path, blocked));
      if (e.kind == RegFileEntry::Kind::DeleteKey) {
        deletesRules = deletesRules || sjis::AsciiLower(e.path) == sjis::AsciiLower(rules);
        deletesBlocked = deletesBlocked || sjis::AsciiLower(e.path) == sjis::AsciiLower(blocked);
      }
    }
  } else {
    inside = false;
  }
  // Only a whole backup of this identity: it replaces both lists and nothing else.
  if (!inside || !deletesRules || !deletesBlocked) {
    if (error) *error = ruletext::kNotABackup;
    return false;
  }
  RegFileError importError;
  if (!ImportRegFile(reg, fileBytes, &importError)) {
    if (error) *error = ruletext::kRestoreFailed;
    return false;
  }
  return true;
}

}  // namespace velkor
