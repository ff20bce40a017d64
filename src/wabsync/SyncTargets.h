#pragma once
// Finding the criteria that the sync keeps equal to the address book: the
// sender criterion of the sender safe-list rule and the body criterion of the
// body safe-list rule, in every identity.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "registry/RegistryAccess.h"
#include "wabsync/SyncIdentities.h"

namespace velkor {

enum class SafeListKind { Sender, Body };

// Criterion key paths (relative to HKEY_CURRENT_USER) in identity, rule
// "Order" and criteria "Order" order. The identity key of each target is kept
// beside it, so the own addresses are found by key rather than by text search.
class SyncTargetList {
 public:
  void Clear() {
    paths_.clear();
    identities_.clear();
    kinds_.clear();
  }
  void Add(std::string path, std::string identityKey, SafeListKind kind) {
    paths_.push_back(std::move(path));
    identities_.push_back(std::move(identityKey));
    kinds_.push_back(kind);
  }
  std::size_t Count() const { return paths_.size(); }
  bool Empty() const { return paths_.empty(); }
  const std::string& PathAt(std::size_t i) const { return paths_[i]; }
  const std::string& IdentityAt(std::size_t i) const { return identities_[i]; }
  SafeListKind KindAt(std::size_t i) const { return kinds_[i]; }
  const std::vector<std::string>& Paths() const { return paths_; }

 private:
  std::vector<std::string> paths_;
  std::vector<std::string> identities_;
  std::vector<SafeListKind> kinds_;
};

// The text that lists the targets in the settings dialog.
class SyncReport {
 public:
  void Clear() { text_.clear(); }
  // n counts from 1.
  void AddTarget(int n, std::string_view userName, std::string_view ruleName, SafeListKind kind);
  const std::string& Text() const { return text_; }
  void SetText(std::string text) { text_ = std::move(text); }

 private:
  std::string text_;
};

// The pieces of an "Order" text up to the first empty piece (two blanks in a
// row or a leading blank end the list).
std::vector<std::string> SplitSyncOrder(std::string_view order);

// Rebuilds both from the registry. Unreadable keys and values are passed over.
void FindSyncTargets(RegistryAccess& reg, const SyncIdentitySource& identities, SyncTargetList* targets,
                     SyncReport* report);

}  // namespace velkor
