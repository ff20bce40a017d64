#pragma once
// Outlook Express identities, their user names, mail accounts and mail store
// folder, read from HKEY_CURRENT_USER. Every reader gives an empty result for a
// missing key or value and never shows a message.

#include <functional>
#include <string>
#include <vector>

#include "rulestore/RegistryLayout.h"

namespace velkor {

class RegistryAccess;

namespace ruletext {
constexpr const char* kNoIdentities = "Outlook Expressのユーザ情報を取得できません。";
}

constexpr const char* kIdentitiesKey = oereg::kIdentities;
constexpr const char* kGlobalAccountsKey = oereg::kGlobalAccounts;

struct OeIdentity {
  std::string keyName;   // "{GUID}"
  std::string userName;  // "Username", may be empty
};

// Key names of all identities (braced subkeys of Identities), in enumeration order.
std::vector<std::string> ListIdentities(RegistryAccess& reg);
// The same with each identity's user name.
std::vector<OeIdentity> ListIdentitiesWithNames(RegistryAccess& reg);
// "Default User ID", or empty.
std::string DefaultIdentity(RegistryAccess& reg);
// "Username" of an identity, or empty.
std::string UserName(RegistryAccess& reg, const std::string& identityKey);

struct MailAccount {
  std::string identifier;        // subkey name under the accounts key
  std::string accountName;       // "Account Name"
  std::string smtpDisplayName;   // "SMTP Display Name"
  std::string smtpEmailAddress;  // "SMTP Email Address"
};

// The mail accounts of one identity: its own accounts key, or the global one
// when the identity has none. An account lacking any of the three values is skipped.
class AccountList {
 public:
  // Returns the number of accounts read.
  int Read(RegistryAccess& reg, const std::string& identityKey);

  int Count() const { return static_cast<int>(accounts_.size()); }
  const MailAccount& At(int index) const { return accounts_[index]; }
  const std::vector<MailAccount>& Accounts() const { return accounts_; }
  const std::string& Identifier(int index) const { return accounts_[index].identifier; }
  const std::string& AccountName(int index) const { return accounts_[index].accountName; }
  const std::string& SmtpDisplayName(int index) const { return accounts_[index].smtpDisplayName; }
  const std::string& SmtpEmailAddress(int index) const { return accounts_[index].smtpEmailAddress; }

  const std::string& IdentityKey() const { return identityKey_; }
  const std::string& DefaultIdentifier() const { return defaultIdentifier_; }
  // First account whose identifier equals "Default Mail Account" ignoring case, or -1.
  int DefaultIndex() const;
  // What a new account criterion gets: the default account, else the first; empty when none.
  std::string IdentifierForNewCriterion() const;
  // The user's own addresses, in account order.
  std::vector<std::string> OwnAddresses() const;

 private:
  std::string identityKey_;
  std::string defaultIdentifier_;
  std::vector<MailAccount> accounts_;
};

// Looks up an environment variable; false when it is not set.
using EnvironmentLookup = std::function<bool(const std::string& name, std::string* value)>;
// The process environment (names compared without regard to case, as on Windows).
EnvironmentLookup ProcessEnvironment();

// Expands %NAME% references as ExpandEnvironmentStrings does: an unknown or
// unterminated reference stays as written. Fails when the result with its NUL
// would not fit in `bufferSize` bytes.
bool ExpandEnvironmentText(const std::string& text, const EnvironmentLookup& env, std::string* result,
                           std::size_t bufferSize = 260);

struct StoreRootInfo {
  std::string storeRoot;  // ends in a backslash when not empty
  std::string userName;
};
// The folder of the identity's mail store ("Store Root", expanded).
StoreRootInfo ReadStoreRoot(RegistryAccess& reg, const std::string& identityKey,
                            const EnvironmentLookup& env = ProcessEnvironment());

}  // namespace velkor
