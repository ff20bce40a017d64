#include "rulestore/Identities.h"

#include <cstdlib>
#include <cstring>

#include "registry/RegistryAccess.h"
#include "rulestore/RegistryLayout.h"
#include "text/ShiftJis.h"

#if !defined(_WIN32)
extern char** environ;
#endif

namespace velkor {

namespace {

constexpr std::uint32_t kNameBuffer = 1024;

std::string ReadText(RegistryAccess& reg, const std::string& path, const std::string& name) {
  RegKey key(reg);
  std::string value;
  if (key.Open(path, RegAccess::QueryValue) != regerr::kSuccess || !key.ReadString(name, &value)) return "";
  return value;
}

}  // namespace

std::vector<std::string> ListIdentities(RegistryAccess& reg) {
  std::vector<std::string> identities;
  RegKey key(reg);
  if (key.Open(kIdentitiesKey, RegAccess::EnumerateSubKeys) != regerr::kSuccess) return identities;
  for (auto& name : key.SubKeyNames(kNameBuffer)) {
    if (name.size() >= 2 && name.front() == '{' && name.back() == '}') identities.push_back(std::move(name));
  }
  return identities;
}

std::vector<OeIdentity> ListIdentitiesWithNames(RegistryAccess& reg) {
  std::vector<OeIdentity> identities;
  for (auto& key : ListIdentities(reg)) {
    OeIdentity identity;
    identity.userName = UserName(reg, key);
    identity.keyName = std::move(key);
    identities.push_back(std::move(identity));
  }
  return identities;
}

std::string DefaultIdentity(RegistryAccess& reg) { return ReadText(reg, kIdentitiesKey, oereg::kDefaultUserId); }

std::string UserName(RegistryAccess& reg, const std::string& identityKey) {
  if (identityKey.empty()) return "";
  return ReadText(reg, oereg::IdentityKeyPath(identityKey), oereg::kUsername);
}

int AccountList::Read(RegistryAccess& reg, const std::string& identityKey) {
  accounts_.clear();
  defaultIdentifier_.clear();
  identityKey_ = identityKey;
  if (identityKey.empty()) return 0;

  std::string path = oereg::AccountsPath(identityKey);
  RegKey accounts(reg);
  if (accounts.Open(path, RegAccess::EnumerateSubKeys) != regerr::kSuccess) {
    path = kGlobalAccountsKey;
    if (accounts.Open(path, RegAccess::EnumerateSubKeys) != regerr::kSuccess) return 0;
  }
  for (const auto& name : accounts.SubKeyNames(kNameBuffer)) {
    RegKey key(reg);
    MailAccount account;
    account.identifier = name;
    if (key.Open(path + "\\" + name, RegAccess::QueryValue) != regerr::kSuccess) continue;
    if (!key.ReadString(oereg::kAccountName, &account.accountName) ||
        !key.ReadString(oereg::kSmtpEmailAddress, &account.smtpEmailAddress) ||
        !key.ReadString(oereg::kSmtpDisplayName, &account.smtpDisplayName))
      continue;
    accounts_.push_back(std::move(account));
  }
  if (!accounts_.empty()) {
    const std::string manager = path.substr(0, path.size() - std::strlen(oereg::kAccounts) - 1);
    defaultIdentifier_ = ReadText(reg, manager, oereg::kDefaultMailAccount);
  }
  return Count();
}

int AccountList::DefaultIndex() const {
  if (defaultIdentifier_.empty()) return -1;
  for (int i = 0; i < Count(); ++i) {
    if (sjis::EqualsIgnoreCase(accounts_[i].identifier, defaultIdentifier_)) return i;
  }
  return -1;
}

std::string AccountList::IdentifierForNewCriterion() const {
  const int index = DefaultIndex();
  if (index >= 0) return accounts_[index].identifier;
  return accounts_.empty() ? std::string() : accounts_.front().identifier;
}

std::vector<std::string> AccountList::OwnAddresses() const {
  std::vector<std::string> addresses;
  for (const auto& account : accounts_) addresses.push_back(account.smtpEmailAddress);
  return addresses;
}

EnvironmentLookup ProcessEnvironment() {
  return [](const std::string& name, std::string* value) {
    if (const char* found = std::getenv(name.c_str())) {
      *value = found;
      return true;
    }
#if !defined(_WIN32)
    // Windows compares variable names without regard to case; do the same.
    for (char** entry = environ; entry && *entry; ++entry) {
      const char* eq = std::strchr(*entry, '=');
      if (eq && sjis::EqualsIgnoreCase(std::string(*entry, static_cast<std::size_t>(eq - *entry)), name)) {
        *value = eq + 1;
        return true;
      }
    }
#endif
    return false;
  };
}

bool ExpandEnvironmentText(const std::string& text, const EnvironmentLookup& env, std::string* result,
                           std::size_t bufferSize) {
  std::string out;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t open = sjis::FindChar(text, '%', pos);
    if (open == sjis::npos) {
      out.append(text, pos, std::string::npos);
      break;
    }
    out.append(text, pos, open - pos);
    const std::size_t close = sjis::FindChar(text, '%', open + 1);
    if (close == sjis::npos) {
      out.append(text, open, std::string::npos);
      break;
    }
    const std::string name = text.substr(open + 1, close - open - 1);
    std::string value;
    if (!name.empty() && env && env(name, &value)) {
      out += value;
      pos = close + 1;
    } else {
      // Not a variable: the first '%' stays, and the second may open the next reference.
      out += '%';
      out.append(name);
      pos = close;
    }
  }
  if (out.size() + 1 > bufferSize) return false;
  *result = std::move(out);
  return true;
}

StoreRootInfo ReadStoreRoot(RegistryAccess& reg, const std::string& identityKey, const EnvironmentLookup& env) {
  StoreRootInfo info;
  const std::string raw =
      ReadText(reg, oereg::IdentityBasePath(identityKey), oereg::kStoreRoot);
  std::string expanded;
  if (!identityKey.empty() && !raw.empty() && ExpandEnvironmentText(raw, env, &expanded, 260) &&
      !expanded.empty()) {
    // A Shift_JIS second byte can be 0x5C; only a backslash of its own ends the folder.
    const bool endsInBackslash =
        expanded.back() == '\\' && sjis::CharStart(expanded, expanded.size() - 1) == expanded.size() - 1;
    if (!endsInBackslash) expanded += '\\';
    info.storeRoot = expanded;
  }
  info.userName = UserName(reg, identityKey);
  return info;
}

}  // namespace velkor
