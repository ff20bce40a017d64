#pragma once
// The names of Outlook Express's registry layout, below HKEY_CURRENT_USER.
// Every reader and writer of rules, blocked senders, identities and accounts
// takes its key and value names from here, so the layout is spelled once.
//
//   Identities                          "Default User ID"
//     {id}                              "Username"
//       Software\Microsoft\Outlook Express\5.0          "Store Root"
//         Rules\Mail                    "Version", "Order"
//           NNN                         "Enabled", "Name", "Version"
//             Actions  / Criteria       "Order"
//               III                     "Flags", ["Logic"], "Type", ["ValueType", "Value"]
//         Block Senders                 "Version"
//           Mail                        as a rule key NNN
//       Software\Microsoft\Internet Account Manager     "Default Mail Account"
//         Accounts\*                    "Account Name", "SMTP Email Address", "SMTP Display Name"

#include <cstdint>
#include <string>

namespace velkor {
namespace oereg {

// Keys.
constexpr const char* kIdentities = "Identities";
constexpr const char* kIdentitySuffix = "\\Software\\Microsoft\\Outlook Express\\5.0";
constexpr const char* kAccountManagerSuffix = "\\Software\\Microsoft\\Internet Account Manager";
constexpr const char* kAccounts = "Accounts";
constexpr const char* kGlobalAccounts = "Software\\Microsoft\\Internet Account Manager\\Accounts";
constexpr const char* kRulesMail = "Rules\\Mail";
constexpr const char* kBlockSenders = "Block Senders";
constexpr const char* kBlockedRule = "Mail";  // the one rule below Block Senders
constexpr const char* kActions = "Actions";
constexpr const char* kCriteria = "Criteria";

// Values.
constexpr const char* kDefaultUserId = "Default User ID";
constexpr const char* kUsername = "Username";
constexpr const char* kStoreRoot = "Store Root";
constexpr const char* kAccountName = "Account Name";
constexpr const char* kSmtpEmailAddress = "SMTP Email Address";
constexpr const char* kSmtpDisplayName = "SMTP Display Name";
constexpr const char* kDefaultMailAccount = "Default Mail Account";
constexpr const char* kVersion = "Version";
constexpr const char* kOrder = "Order";
constexpr const char* kEnabled = "Enabled";
constexpr const char* kName = "Name";
constexpr const char* kFlags = "Flags";
constexpr const char* kLogic = "Logic";
constexpr const char* kType = "Type";
constexpr const char* kValueType = "ValueType";
constexpr const char* kValue = "Value";

// The "Version" written to Rules\Mail and Block Senders when it is missing.
constexpr std::uint32_t kFormatVersion = 0x50000;

// "Identities\{id}".
inline std::string IdentityKeyPath(const std::string& identityKey) {
  return std::string(kIdentities) + "\\" + identityKey;
}
// "Identities\{id}\Software\Microsoft\Outlook Express\5.0".
inline std::string IdentityBasePath(const std::string& identityKey) {
  return IdentityKeyPath(identityKey) + kIdentitySuffix;
}
inline std::string RulesMailPath(const std::string& identityBasePath) {
  return identityBasePath + "\\" + kRulesMail;
}
inline std::string BlockSendersPath(const std::string& identityBasePath) {
  return identityBasePath + "\\" + kBlockSenders;
}
// "Identities\{id}\Software\Microsoft\Internet Account Manager\Accounts".
inline std::string AccountsPath(const std::string& identityKey) {
  return IdentityKeyPath(identityKey) + kAccountManagerSuffix + "\\" + kAccounts;
}
inline std::string SubPath(const std::string& path, const std::string& name) { return path + "\\" + name; }

}  // namespace oereg
}  // namespace velkor
