#include "wabsync/SyncIdentities.h"

#include "rulestore/Identities.h"

namespace velkor {

namespace {

class RegistrySyncIdentities : public SyncIdentitySource {
 public:
  explicit RegistrySyncIdentities(RegistryAccess& reg) : reg_(reg) {}

  std::vector<std::string> IdentityKeys() const override { return ListIdentities(reg_); }
  std::string UserName(const std::string& key) const override { return velkor::UserName(reg_, key); }
  std::string StoreRoot(const std::string& key) const override { return ReadStoreRoot(reg_, key).storeRoot; }
  std::vector<std::string> OwnAddresses(const std::string& key) const override {
    AccountList accounts;
    accounts.Read(reg_, key);
    return accounts.OwnAddresses();
  }

 private:
  RegistryAccess& reg_;
};

}  // namespace

std::unique_ptr<SyncIdentitySource> MakeRegistrySyncIdentities(RegistryAccess& reg) {
  return std::make_unique<RegistrySyncIdentities>(reg);
}

}  // namespace velkor
