#pragma once
// What the sync needs to know about the Outlook Express identities. The
// program answers from the registry through the rule store's identity readers
// (RegistrySyncIdentities); tests may answer from plain data.

#include <memory>
#include <string>
#include <vector>

#include "registry/RegistryAccess.h"

namespace velkor {

class SyncIdentitySource {
 public:
  virtual ~SyncIdentitySource() = default;
  // Identity key names in enumeration order.
  virtual std::vector<std::string> IdentityKeys() const = 0;
  virtual std::string UserName(const std::string& key) const = 0;
  // The expanded store folder, empty when there is none.
  virtual std::string StoreRoot(const std::string& key) const = 0;
  // The SMTP addresses of the identity's mail accounts, in account order, as stored.
  virtual std::vector<std::string> OwnAddresses(const std::string& key) const = 0;
};

// The identity readers of the rule store on a registry.
std::unique_ptr<SyncIdentitySource> MakeRegistrySyncIdentities(RegistryAccess& reg);

}  // namespace velkor
