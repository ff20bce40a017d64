// Backups before a save: they restore exactly what was stored, only the newest
// are kept, and a file that is no backup of the identity is refused.

#include <gtest/gtest.h>

#include <map>

#include "RuleTestSupport.h"
#include "registry/MemoryRegistry.h"
#include "rulestore/RuleBackup.h"
#include "rulestore/RuleStore.h"

namespace velkor::test {
namespace {

const std::string kId = "{BAC0B000-0000-0000-0000-000000000000}";
const std::string kBase = IdentityBasePath(kId);

class MemoryFiles : public BackupFileSystem {
 public:
  std::map<std::string, std::string> files;
  bool failWrites = false;
  bool MakeFolders(const std::string&) override { return true; }
  std::vector<std::string> ListFiles(const std::string& folder) override {
    std::vector<std::string> names;
    for (const auto& f : files)
      if (f.first.compare(0, folder.size() + 1, folder + "/") == 0) names.push_back(f.first.substr(folder.size() + 1));
    return names;
  }
  bool ReadFile(const std::string& path, std::string* bytes) override {
    auto it = files.find(path);
    if (it == files.end()) return false;
    *bytes = it->second;
    return true;
  }
  bool WriteFile(const std::string& path, const std::string& bytes, std::string* error) override {
    if (failWrites) {
      *error = "disk full";
      return false;
    }
    files[path] = bytes;
    return true;
  }
  bool RemoveFile(const std::string& path) override { return files.erase(path) == 1; }
  char Separator() const override { return '/'; }
};

std::string Lists(const MemoryRegistry& reg) {
  return reg.Dump(RegRoot::CurrentUser, kBase + "\\Rules\\Mail") + reg.Dump(RegRoot::CurrentUser, kBase + "\\Block Senders");
}

void Seed(MemoryRegistry& reg) {
  SeedThreeRules(reg, kBase + "\\Rules\\Mail");
  RuleStore store(reg);
  store.Load(kId);
  store.BlockedSenders().SetAddresses({"a@spam.example", "迷惑<b@spam.example>"});
  NullProgress progress;
  ASSERT_TRUE(store.SaveAll(progress).Ok());
  WriteSeedRule(reg, kBase + "\\Rules\\Mail", "07F", "unlisted", 1, 1, {Plain(crit::kAll)}, {Plain(act::kStop)});
  RegKey news(reg);
  news.Create(kBase + "\\Rules\\News");
  news.WriteString("Order", "000");
}

TEST(RuleBackupTest, ABackupBeforeASaveRestoresExactlyWhatWasStored) {
  MemoryRegistry reg;
  Seed(reg);
  const std::string before = Lists(reg);
  const std::string news = reg.Dump(RegRoot::CurrentUser, kBase + "\\Rules\\News");
  MemoryFiles files;
  RuleBackup backup(reg, files, "/backup");
  std::string path, error;
  ASSERT_TRUE(backup.Write(kId, {2026, 12, 9, 13, 5, 9}, &path, &error)) << error;
  EXPECT_EQ(path, "/backup/" + kId + "/20261209-130509.reg");

  RuleStore store(reg);
  store.Load(kId);
  store.Rules().Remove(0);
  store.SetName(2, "変えた");
  store.BlockedSenders().SetAddresses({"c@spam.example"});
  NullProgress progress;
  ASSERT_TRUE(store.SaveAll(progress).Ok());
  ASSERT_NE(Lists(reg), before);

  const auto list = backup.List(kId);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].date, "2026/12/09");
  EXPECT_EQ(list[0].time, "13:05:09");
  EXPECT_EQ(list[0].rules, 3);
  EXPECT_EQ(list[0].blocked, 2);
  ASSERT_TRUE(backup.Restore(kId, list[0].path, &error)) << error;
  EXPECT_EQ(Lists(reg), before);  // the unlisted key 07F included
  EXPECT_EQ(reg.Dump(RegRoot::CurrentUser, kBase + "\\Rules\\News"), news);
}

TEST(RuleBackupTest, OnlyTheNewestAreKeptAndAFailedWriteSaysWhere) {
  MemoryRegistry reg;
  Seed(reg);
  MemoryFiles files;
  files.files["/backup/" + kId + "/notes.txt"] = "the user's own file";
  RuleBackup backup(reg, files, "/backup");
  std::string error;
  for (int i = 0; i < RuleBackup::kKeep + 3; ++i) ASSERT_TRUE(backup.Write(kId, {2026, 1, 1 + i / 2, 9, 0, 0}, nullptr, &error));
  const auto list = backup.List(kId);
  ASSERT_EQ(list.size(), static_cast<std::size_t>(RuleBackup::kKeep));
  EXPECT_EQ(list.front().path, "/backup/" + kId + "/20260112-090000.reg");  // the 23rd, newest
  EXPECT_EQ(list.back().path, "/backup/" + kId + "/20260102-090000-2.reg");  // the 4th
  EXPECT_EQ(files.files.count("/backup/" + kId + "/notes.txt"), 1u);

  files.failWrites = true;
  EXPECT_FALSE(backup.Write(kId, {2026, 2, 1, 9, 0, 0}, nullptr, &error));
  EXPECT_NE(error.find("/backup/" + kId + "/20260201-090000.reg"), std::string::npos);
  EXPECT_EQ(backup.List(kId).size(), static_cast<std::size_t>(RuleBackup::kKeep));
}

TEST(RuleBackupTest, AFileThatIsNoBackupOfTheIdentityChangesNothing) {
  MemoryRegistry source;
  Seed(source);
  const std::string good = ExportRulesText(source, kId);
  const std::string other = "{0THER000-0000-0000-0000-000000000000}";
  const std::string foreign = ExportRulesText(source, other);
  const struct {
    const char* what;
    std::string text;
  } cases[] = {
      {"another identity's backup", foreign},
      {"a key outside the two lists", good + "[HKEY_CURRENT_USER\\Software\\Evil]\r\n\"x\"=\"y\"\r\n"},
      {"without the deletion of Block Senders",
       std::string(good).erase(good.find("[-HKEY_CURRENT_USER\\" + kBase + "\\Block Senders]"),
                               std::string("[-HKEY_CURRENT_USER\\" + kBase + "\\Block Senders]\r\n").size())},
      {"garbage", "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\" + kBase + "\\Rules\\Mail\r\n"},
      {"empty", ""},
  };
  for (const auto& c : cases) {
    MemoryRegistry reg;
    Seed(reg);
    RuleStore store(reg);
    store.Load(kId);
    store.Rules().Remove(2);
    NullProgress progress;
    ASSERT_TRUE(store.SaveAll(progress).Ok());
    const std::string dump = reg.Dump(RegRoot::CurrentUser, "");
    std::string error;
    EXPECT_FALSE(RestoreBackupText(reg, kId, c.text, &error)) << c.what;
    EXPECT_FALSE(error.empty()) << c.what;
    EXPECT_EQ(reg.Dump(RegRoot::CurrentUser, ""), dump) << c.what;
  }
  EXPECT_EQ(BackupIdentity(good), kId);
  EXPECT_EQ(BackupIdentity(foreign), other);
}

}  // namespace
}  // namespace velkor::test
