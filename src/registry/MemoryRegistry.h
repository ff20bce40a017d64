#pragma once
// A portable registry: a tree of keys and typed values behind RegistryAccess,
// with change notification below a key, fault injection and an operation log
// for tests. Thread-safe: a watcher thread may read while another writes.
// Every walk over the tree (destruction, deletion, dump) keeps its own stack,
// so a key of any depth cannot exhaust the thread's.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Sync.h"
#include "registry/RegistryAccess.h"

namespace velkor {

enum class RegOp { Open, Create, Query, Set, DeleteValue, EnumSubKey, EnumValue, DeleteTree, Close, Watch };

struct RegLogEntry {
  RegOp op;
  std::string path;  // key path as opened (root-relative), with "\\subkey" for DeleteTree
  std::string name;  // value name where the operation has one
  long result;
  bool write = false;  // counted by CountWrites: a Create that made a key, Set, DeleteValue, DeleteTree
};

class MemoryRegistry : public RegistryAccess {
 public:
  MemoryRegistry();
  ~MemoryRegistry() override;

  using RegistryAccess::CreateKey;
  using RegistryAccess::OpenKey;
  long OpenKey(RegRoot root, const std::string& path, RegAccess access, RegHandle* key) override;
  long CreateKey(RegRoot root, const std::string& path, RegHandle* key) override;
  long QueryValue(RegHandle key, const std::string& name, std::uint32_t* type, void* data,
                  std::uint32_t* size) override;
  long SetValue(RegHandle key, const std::string& name, std::uint32_t type, const void* data,
                std::uint32_t size) override;
  long DeleteValue(RegHandle key, const std::string& name) override;
  long EnumSubKey(RegHandle key, std::uint32_t index, char* name, std::uint32_t* nameSize) override;
  long EnumValue(RegHandle key, std::uint32_t index, char* name, std::uint32_t* nameSize, std::uint32_t* type,
                 void* data, std::uint32_t* dataSize) override;
  long DeleteKeyTree(RegHandle key, const std::string& subkey) override;
  void CloseKey(RegHandle key) override;
  long Watch(RegHandle key, bool wholeSubtree, std::uint32_t filter, Event& event) override;

  // Fault injection. Writes are Create (of a key that does not exist yet), Set,
  // DeleteValue and DeleteTree, as CountWrites counts them.
  // The n-th write from now (1 = the next one) fails with kWriteFault.
  void FailNthWrite(int n);
  // Every operation `op` whose key path (or value name) contains `pathPart`
  // fails with `error` until ClearFaults.
  void FailOperation(RegOp op, const std::string& pathPart, long error = regerr::kAccessDenied);
  // "The process ends here": the n-th write from now is carried out, and every
  // operation after it fails with kWriteFault, as for a program killed at that
  // instant. ClearFaults lets the registry be read again as the kill left it.
  void EndAfterNthWrite(int n);
  bool Ended() const;
  void ClearFaults();

  // The log of every operation since StartLog or ClearLog. It is off until a
  // test starts it: a registry that serves a whole .reg file would otherwise
  // keep a record of every call. Reading a log that was never started is a
  // mistake in the test and aborts, so a count cannot pass by being empty.
  void StartLog();
  void ClearLog();  // the same: a fresh log from here on
  std::vector<RegLogEntry> Log() const;
  int CountOps(RegOp op) const;
  int CountWrites() const;  // Create of a new key, Set, DeleteValue, DeleteTree
  int OpenHandleCount() const;  // keys opened and not yet closed

  // Test conveniences that bypass faults and the log.
  bool KeyExists(RegRoot root, const std::string& path) const;
  bool SetRaw(RegRoot root, const std::string& path, const std::string& name, std::uint32_t type,
              const std::vector<std::uint8_t>& data);
  bool GetRaw(RegRoot root, const std::string& path, const std::string& name, std::uint32_t* type,
              std::vector<std::uint8_t>* data) const;
  // A canonical text dump of a subtree (keys, values with type and hex bytes),
  // for comparing whole trees in tests.
  std::string Dump(RegRoot root, const std::string& path) const;

 private:
  struct Node;
  struct Handle;
  struct Watcher;
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace velkor
