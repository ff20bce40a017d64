#include <gtest/gtest.h>

#include <map>

#include "RuleTestSupport.h"
#include "rulestore/Identities.h"
#include "registry/MemoryRegistry.h"

namespace velkor::test {
namespace {

void Account(MemoryRegistry& reg, const std::string& accounts, const std::string& id, bool complete = true) {
  RegKey k(reg);
  ASSERT_EQ(k.Create(accounts + "\\" + id), regerr::kSuccess);
  k.WriteString("Account Name", "acct " + id);
  k.WriteString("SMTP Email Address", id + "@example.jp");
  if (complete) k.WriteString("SMTP Display Name", "山田 " + id);
}

const std::string kA = "{AAAAAAAA-0000-0000-0000-000000000001}";
const std::string kOwnAccounts = "Identities\\" + kA + "\\Software\\Microsoft\\Internet Account Manager\\Accounts";

TEST(IdentitiesTest, ListsBracedIdentitiesWithNamesAndTheDefault) {
  MemoryRegistry reg;
  EXPECT_TRUE(ListIdentities(reg).empty());
  EXPECT_EQ(DefaultIdentity(reg), "");
  for (const char* key : {"{A}", "Settings", "{B}", "{C", "}"}) {
    RegKey k(reg);
    k.Create(std::string("Identities\\") + key);
  }
  reg.SetRaw(RegRoot::CurrentUser, "Identities\\{B}", "Username", regtype::kSz, Bytes("鈴木"));
  reg.SetRaw(RegRoot::CurrentUser, "Identities", "Default User ID", regtype::kExpandSz, Bytes("{B}"));
  EXPECT_EQ(ListIdentities(reg), (std::vector<std::string>{"{A}", "{B}"}));
  const auto named = ListIdentitiesWithNames(reg);
  ASSERT_EQ(named.size(), 2u);
  EXPECT_EQ(named[1].userName, "鈴木");
  EXPECT_EQ(named[0].userName, "");
  EXPECT_EQ(DefaultIdentity(reg), "{B}");
}

TEST(IdentitiesTest, AccountsOfTheIdentityOrTheGlobalKey) {
  MemoryRegistry reg;
  Account(reg, kGlobalAccountsKey, "00000009");
  AccountList list;
  EXPECT_EQ(list.Read(reg, kA), 1);  // no key of its own: the global accounts
  EXPECT_EQ(list.Identifier(0), "00000009");
  EXPECT_EQ(list.Read(reg, ""), 0);

  RegKey own(reg);
  own.Create(kOwnAccounts);
  own.Close();
  EXPECT_EQ(list.Read(reg, kA), 0);  // an empty key of its own is not passed over

  Account(reg, kOwnAccounts, "00000001");
  Account(reg, kOwnAccounts, "00000002", false);  // lacks the display name: skipped
  Account(reg, kOwnAccounts, "00000003");
  reg.SetRaw(RegRoot::CurrentUser, "Identities\\" + kA + "\\Software\\Microsoft\\Internet Account Manager",
             "Default Mail Account", regtype::kSz, Bytes("0000000a"));
  ASSERT_EQ(list.Read(reg, kA), 2);
  EXPECT_EQ(list.SmtpDisplayName(1), "山田 00000003");
  EXPECT_EQ(list.OwnAddresses(), (std::vector<std::string>{"00000001@example.jp", "00000003@example.jp"}));
  EXPECT_EQ(list.DefaultIndex(), -1);
  EXPECT_EQ(list.IdentifierForNewCriterion(), "00000001");
  reg.SetRaw(RegRoot::CurrentUser, "Identities\\" + kA + "\\Software\\Microsoft\\Internet Account Manager",
             "Default Mail Account", regtype::kSz, Bytes("00000003"));
  list.Read(reg, kA);
  EXPECT_EQ(list.DefaultIndex(), 1);
  EXPECT_EQ(list.IdentifierForNewCriterion(), "00000003");
}

TEST(IdentitiesTest, DefaultAccountMatchesWithoutRegardToCase) {
  MemoryRegistry reg;
  Account(reg, kOwnAccounts, "Acct-X");
  reg.SetRaw(RegRoot::CurrentUser, "Identities\\" + kA + "\\Software\\Microsoft\\Internet Account Manager",
             "Default Mail Account", regtype::kSz, Bytes("aCCT-x"));
  AccountList list;
  list.Read(reg, kA);
  EXPECT_EQ(list.DefaultIndex(), 0);
}

TEST(IdentitiesTest, EnvironmentExpansion) {
  const std::map<std::string, std::string> vars = {{"USERPROFILE", "C:\\Documents and Settings\\太郎"}, {"E", ""}};
  const EnvironmentLookup env = [&](const std::string& name, std::string* value) {
    auto it = vars.find(name);
    if (it == vars.end()) return false;
    *value = it->second;
    return true;
  };
  const struct {
    const char* text;
    const char* expanded;
  } cases[] = {
      {"%USERPROFILE%\\Mail", "C:\\Documents and Settings\\太郎\\Mail"},
      {"%NOPE%\\x", "%NOPE%\\x"},
      {"100%", "100%"},
      {"%NOPE%USERPROFILE%", "%NOPEC:\\Documents and Settings\\太郎"},
      {"a%E%b", "ab"},
      {"%%", "%%"},
  };
  for (const auto& c : cases) {
    std::string out;
    ASSERT_TRUE(ExpandEnvironmentText(c.text, env, &out)) << c.text;
    EXPECT_EQ(out, c.expanded) << c.text;
  }
  std::string out;
  EXPECT_FALSE(ExpandEnvironmentText("%USERPROFILE%" + std::string(230, 'x'), env, &out, 260));
  EXPECT_TRUE(ExpandEnvironmentText(std::string(259, 'x'), env, &out, 260));
  EXPECT_FALSE(ExpandEnvironmentText(std::string(260, 'x'), env, &out, 260));
}

TEST(IdentitiesTest, StoreRootEndsInABackslash) {
  MemoryRegistry reg;
  const EnvironmentLookup env = [](const std::string& name, std::string* value) {
    *value = "C:\\Users\\u";
    return name == "UserProfile";
  };
  const std::string key = "Identities\\" + kA + "\\Software\\Microsoft\\Outlook Express\\5.0";
  reg.SetRaw(RegRoot::CurrentUser, "Identities\\" + kA, "Username", regtype::kSz, Bytes("主"));
  EXPECT_EQ(ReadStoreRoot(reg, kA, env).storeRoot, "");
  const struct {
    std::string stored;
    std::string root;
  } cases[] = {
      {"%UserProfile%\\Mail", "C:\\Users\\u\\Mail\\"},
      {"D:\\Mail\\", "D:\\Mail\\"},
      {"D:\\表", "D:\\表\\"},  // 表 ends in the byte 0x5C
      {"%UserProfile%\\" + std::string(250, 'x'), ""},
      {"", ""},
  };
  for (const auto& c : cases) {
    reg.SetRaw(RegRoot::CurrentUser, key, "Store Root", regtype::kExpandSz, Bytes(c.stored));
    const StoreRootInfo info = ReadStoreRoot(reg, kA, env);
    EXPECT_EQ(info.storeRoot, c.root) << c.stored;
    EXPECT_EQ(info.userName, "主");
  }
}

}  // namespace
}  // namespace velkor::test
