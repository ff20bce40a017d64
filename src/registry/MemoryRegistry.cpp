#include "registry/MemoryRegistry.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <utility>

#include "text/ShiftJis.h"

namespace velkor {

namespace {

// The registry compares names upper-cased (ASCII and full-width Latin letters),
// so "a_" sorts after "A" and before "b", as Windows and Wine enumerate them.
// Double-byte characters are compared whole, so a second byte that happens to
// be an ASCII letter is never folded.
struct NameLess {
  using is_transparent = void;  // lookups by a piece of a path, without a copy
  bool operator()(std::string_view a, std::string_view b) const { return Compare(a, b) < 0; }

  static int Compare(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
      // An ASCII byte is a character of its own: compared without the
      // double-byte test, which is most of the cost of a path lookup.
      const unsigned char ba = static_cast<unsigned char>(a[i]);
      const unsigned char bb = static_cast<unsigned char>(b[j]);
      if (ba < 0x80 && bb < 0x80) {
        const unsigned fa = (ba >= 'a' && ba <= 'z') ? ba - 0x20 : ba;
        const unsigned fb = (bb >= 'a' && bb <= 'z') ? bb - 0x20 : bb;
        if (fa != fb) return fa < fb ? -1 : 1;
        ++i;
        ++j;
        continue;
      }
      unsigned ca = Unit(a, &i);
      unsigned cb = Unit(b, &j);
      if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return 0;
  }

  // One character as a comparable number: single bytes below 0x100, double-byte
  // characters as (lead << 8 | trail), each upper-cased.
  static unsigned Unit(std::string_view s, std::size_t* pos) {
    const unsigned char c = static_cast<unsigned char>(s[*pos]);
    if (sjis::CharLength(s, *pos) == 2) {
      unsigned trail = static_cast<unsigned char>(s[*pos + 1]);
      *pos += 2;
      if (c == 0x82 && trail >= 0x81 && trail <= 0x9A) trail -= 0x21;  // full-width a-z
      return c << 8 | trail;
    }
    *pos += 1;
    return (c >= 'a' && c <= 'z') ? c - 0x20 : c;
  }
};

bool IsStringType(std::uint32_t type) {
  return type == regtype::kSz || type == regtype::kExpandSz || type == regtype::kMultiSz;
}

bool ContainsIgnoreCase(const std::string& hay, const std::string& needle) {
  return needle.empty() || sjis::FindIgnoreCase(hay, needle) != sjis::npos;
}

bool CanQuery(RegAccess a) { return a == RegAccess::Read || a == RegAccess::All || a == RegAccess::QueryValue; }
bool CanEnumKeys(RegAccess a) {
  return a == RegAccess::Read || a == RegAccess::All || a == RegAccess::EnumerateSubKeys;
}
bool CanNotify(RegAccess a) { return a == RegAccess::Read || a == RegAccess::All || a == RegAccess::Notify; }
bool CanWrite(RegAccess a) { return a == RegAccess::All; }

// Splits a root-relative path into key names. A trailing backslash is
// accepted (as Windows does); a leading or doubled one is a bad path.
// The pieces are views into `path`, which must outlive them.
bool SplitPath(std::string_view path, std::vector<std::string_view>* parts) {
  parts->clear();
  if (path.empty()) return true;
  for (std::size_t start = 0;;) {
    const std::size_t slash = sjis::FindChar(path, '\\', start);
    if (slash == sjis::npos) {
      parts->push_back(path.substr(start));
      break;
    }
    parts->push_back(path.substr(start, slash - start));
    start = slash + 1;
  }
  if (parts->size() > 1 && parts->back().empty()) parts->pop_back();
  for (std::string_view piece : *parts) {
    if (piece.empty()) return false;
  }
  return true;
}

}  // namespace

struct MemoryRegistry::Node {
  struct Value {
    std::string name;  // as first spelled
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
  };
  std::string name;
  Node* parent = nullptr;  // null for a root and for deleted keys
  bool deleted = false;
  std::map<std::string, std::shared_ptr<Node>, NameLess> children;
  std::map<std::string, Value, NameLess> values;
  std::uint64_t childChanges = 0;  // counts inserts and erases of children

  Node() = default;
  Node(const Node&) = delete;
  Node& operator=(const Node&) = delete;
  // Subkeys are released from a list, not by nested destructors, so a chain of
  // any depth is freed without recursion. A key some handle still holds keeps
  // its own subkeys.
  ~Node() {
    std::vector<std::shared_ptr<Node>> pending;
    auto release = [&pending](Node& node) {
      for (auto& entry : node.children) pending.push_back(std::move(entry.second));
      node.children.clear();
    };
    release(*this);
    while (!pending.empty()) {
      std::shared_ptr<Node> node = std::move(pending.back());
      pending.pop_back();
      if (node.use_count() == 1) release(*node);
    }
  }
};

struct MemoryRegistry::Watcher {
  bool armed = false;
  bool subtree = false;
  std::uint32_t filter = 0;
  Event* event = nullptr;
};

struct MemoryRegistry::Handle {
  std::shared_ptr<Node> node;
  RegRoot root = RegRoot::CurrentUser;
  std::string path;
  RegAccess access = RegAccess::Read;
  Watcher watch;
  // Enumerating index after index walks on from the last position instead of
  // from the first child, so listing n subkeys costs n steps, not n * n / 2.
  std::uint32_t enumIndex = 0;
  std::uint64_t enumChanges = ~std::uint64_t{0};
  std::map<std::string, std::shared_ptr<Node>, NameLess>::iterator enumAt;
};

struct MemoryRegistry::Impl {
  mutable Mutex mutex;
  std::shared_ptr<Node> currentUser = std::make_shared<Node>();
  std::shared_ptr<Node> localMachine = std::make_shared<Node>();
  std::map<RegHandle, Handle> handles;
  RegHandle nextHandle = 0x1000;

  bool logging = false;
  std::vector<RegLogEntry> log;
  int failWriteCountdown = 0;  // 0 = off
  int endWriteCountdown = 0;   // 0 = off
  bool ended = false;
  struct OperationFault {
    RegOp op;
    std::string pathPart;
    long error;
  };
  std::vector<OperationFault> faults;

  Node* Root(RegRoot root) const {
    return root == RegRoot::LocalMachine ? localMachine.get() : currentUser.get();
  }
  std::shared_ptr<Node> RootShared(RegRoot root) const {
    return root == RegRoot::LocalMachine ? localMachine : currentUser;
  }

  // The node at `path` below `from`, or null.
  static std::shared_ptr<Node> Find(const std::shared_ptr<Node>& from, const std::vector<std::string_view>& parts) {
    const std::shared_ptr<Node>* at = &from;
    for (std::string_view part : parts) {
      auto it = (*at)->children.find(part);
      if (it == (*at)->children.end()) return nullptr;
      at = &it->second;
    }
    return *at;
  }

  std::shared_ptr<Node> FindPath(RegRoot root, const std::string& path) const {
    std::vector<std::string_view> parts;
    if (!SplitPath(path, &parts)) return nullptr;
    return Find(RootShared(root), parts);
  }

  // Creates missing keys; reports whether any key was created.
  std::shared_ptr<Node> CreatePath(std::shared_ptr<Node> from, const std::vector<std::string_view>& parts,
                                   bool* created) {
    *created = false;
    for (std::string_view part : parts) {
      auto it = from->children.find(part);
      if (it == from->children.end()) {
        auto child = std::make_shared<Node>();
        child->name = std::string(part);
        child->parent = from.get();
        from->children.emplace(child->name, child);
        ++from->childChanges;
        Touch(from.get(), regnotify::kName);
        *created = true;
        from = child;
      } else {
        from = it->second;
      }
    }
    return from;
  }

  // Signals the one-shot watchers on `node` and, for whole-subtree watchers, on
  // its ancestors, as the registry does after a change of the given kind.
  void Touch(Node* node, std::uint32_t change) {
    for (auto& entry : handles) {
      Watcher& w = entry.second.watch;
      if (!w.armed || !(w.filter & change)) continue;
      const Node* watched = entry.second.node.get();
      bool hit = false;
      for (const Node* n = node; n; n = n->parent) {
        if (n == watched) {
          hit = (n == node) || w.subtree;
          break;
        }
      }
      if (hit) {
        w.armed = false;
        w.event->Set();
      }
    }
  }

  // Deletes children first, each removal being a change of its parent's
  // subkeys; so a watcher on a key that has subkeys sees the deletion, one on a
  // leaf key does not (the registry notifies a key's parent when it goes).
  // The walk down keeps its own stack: a key may be nested arbitrarily deep.
  void RemoveTree(Node* parent, std::string_view childName) {
    auto it = parent->children.find(childName);
    if (it == parent->children.end()) return;
    std::vector<Node*> path{it->second.get()};
    while (!path.empty()) {
      Node* node = path.back();
      if (!node->children.empty()) {
        path.push_back(node->children.begin()->second.get());
        continue;
      }
      path.pop_back();
      Detach(path.empty() ? parent : path.back(), node->name);
    }
  }

  // Removes one key that has no subkeys left from its parent.
  void Detach(Node* parent, const std::string& childName) {
    auto it = parent->children.find(childName);
    std::shared_ptr<Node> child = it->second;
    parent->children.erase(it);
    ++parent->childChanges;
    child->deleted = true;
    child->parent = nullptr;
    for (auto& entry : handles) {
      if (entry.second.node == child) entry.second.watch.armed = false;
    }
    Touch(parent, regnotify::kName);
  }

  Handle* Lookup(RegHandle key) {
    auto it = handles.find(key);
    return it == handles.end() ? nullptr : &it->second;
  }

  // kSuccess, or the error an injected fault gives this operation.
  long Fault(RegOp op, bool isWrite, const std::string& path, const std::string& name) {
    if (ended) return regerr::kWriteFault;
    if (isWrite && endWriteCountdown > 0 && --endWriteCountdown == 0) ended = true;  // this write still happens
    for (const OperationFault& f : faults) {
      if (f.op == op && (ContainsIgnoreCase(path, f.pathPart) || (!name.empty() && ContainsIgnoreCase(name, f.pathPart))))
        return f.error;
    }
    if (isWrite && failWriteCountdown > 0 && --failWriteCountdown == 0) return regerr::kWriteFault;
    return regerr::kSuccess;
  }

  long Record(RegOp op, const std::string& path, const std::string& name, long result, bool write) {
    if (!logging) return result;
    RegLogEntry e{op, path, name, result};
    e.write = write;
    log.push_back(std::move(e));
    return result;
  }

  // The handle's state for an operation: invalid, deleted key, or denied access.
  long Check(RegHandle key, Handle** handle, bool (*allowed)(RegAccess)) {
    *handle = Lookup(key);
    if (!*handle) return regerr::kInvalidHandle;
    if ((*handle)->node->deleted) return regerr::kKeyDeleted;
    if (allowed && !allowed((*handle)->access)) return regerr::kAccessDenied;
    return regerr::kSuccess;
  }

  RegHandle NewHandle(std::shared_ptr<Node> node, RegRoot root, const std::string& path, RegAccess access) {
    const RegHandle id = nextHandle;
    nextHandle += 4;
    Handle h;
    h.node = std::move(node);
    h.root = root;
    h.path = path;
    h.access = access;
    handles.emplace(id, std::move(h));
    return id;
  }

  // Keys in enumeration order, each before its subkeys, from an explicit stack.
  void DumpTree(const Node& top, const std::string& topPath, std::string* out) const {
    std::vector<std::pair<const Node*, std::string>> pending;
    pending.emplace_back(&top, topPath);
    while (!pending.empty()) {
      const Node& node = *pending.back().first;
      const std::string path = std::move(pending.back().second);
      pending.pop_back();
      *out += "[" + path + "]\n";
      for (const auto& entry : node.values) {
        const Node::Value& v = entry.second;
        char head[32];
        std::snprintf(head, sizeof head, "=%u:", static_cast<unsigned>(v.type));
        *out += "\"" + v.name + "\"" + head;
        for (std::size_t i = 0; i < v.data.size(); ++i) {
          char hex[4];
          std::snprintf(hex, sizeof hex, i ? ",%02x" : "%02x", v.data[i]);
          *out += hex;
        }
        *out += "\n";
      }
      for (auto it = node.children.rbegin(); it != node.children.rend(); ++it) {
        const Node& child = *it->second;
        pending.emplace_back(&child, path.empty() ? child.name : path + "\\" + child.name);
      }
    }
  }

  // Reading a log nobody started would report zero of everything.
  void RequireLog() const {
    if (logging) return;
    std::fprintf(stderr, "MemoryRegistry: the operation log was read but never started (StartLog)\n");
    std::abort();
  }
};

MemoryRegistry::MemoryRegistry() : impl_(std::make_unique<Impl>()) {}
MemoryRegistry::~MemoryRegistry() = default;

long MemoryRegistry::OpenKey(RegRoot root, const std::string& path, RegAccess access, RegHandle* key) {
  MutexLock lock(impl_->mutex);
  *key = kNoRegHandle;
  long rc = impl_->Fault(RegOp::Open, false, path, "");
  std::vector<std::string_view> parts;
  if (rc == regerr::kSuccess && !SplitPath(path, &parts)) rc = regerr::kBadPathname;
  if (rc == regerr::kSuccess) {
    std::shared_ptr<Node> node = Impl::Find(impl_->RootShared(root), parts);
    if (!node) {
      rc = regerr::kFileNotFound;
    } else {
      *key = impl_->NewHandle(std::move(node), root, path, access);
    }
  }
  return impl_->Record(RegOp::Open, path, "", rc, false);
}

long MemoryRegistry::CreateKey(RegRoot root, const std::string& path, RegHandle* key) {
  MutexLock lock(impl_->mutex);
  *key = kNoRegHandle;
  std::vector<std::string_view> parts;
  if (!SplitPath(path, &parts)) return impl_->Record(RegOp::Create, path, "", regerr::kBadPathname, false);
  std::shared_ptr<Node> existing = Impl::Find(impl_->RootShared(root), parts);
  const bool willCreate = !existing;
  long rc = impl_->Fault(RegOp::Create, willCreate, path, "");
  if (rc == regerr::kSuccess) {
    bool created = false;
    std::shared_ptr<Node> node = existing ? existing : impl_->CreatePath(impl_->RootShared(root), parts, &created);
    *key = impl_->NewHandle(std::move(node), root, path, RegAccess::All);
  }
  return impl_->Record(RegOp::Create, path, "", rc, willCreate);
}

long MemoryRegistry::QueryValue(RegHandle key, const std::string& name, std::uint32_t* type, void* data,
                                std::uint32_t* size) {
  MutexLock lock(impl_->mutex);
  Handle* h = nullptr;
  long rc = impl_->Check(key, &h, CanQuery);
  const std::string path = h ? h->path : std::string();
  if (rc == regerr::kSuccess) rc = impl_->Fault(RegOp::Query, false, path, name);
  if (rc == regerr::kSuccess && data && !size) rc = regerr::kInvalidParameter;
  if (rc == regerr::kSuccess) {
    auto it = h->node->values.find(name);
    if (it == h->node->values.end()) {
      rc = regerr::kFileNotFound;
    } else {
      const Node::Value& v = it->second;
      const auto stored = static_cast<std::uint32_t>(v.data.size());
      if (type) *type = v.type;
      if (data) {
        if (stored > *size) {
          rc = regerr::kMoreData;
        } else {
          if (stored) std::memcpy(data, v.data.data(), stored);
          // As RegQueryValueExA does: a string stored without its NUL gets one
          // when the buffer has room; the reported size stays the stored one.
          if (IsStringType(v.type) && stored && stored < *size && v.data.back() != 0)
            static_cast<std::uint8_t*>(data)[stored] = 0;
        }
      }
      if (size) *size = stored;
    }
  }
  return impl_->Record(RegOp::Query, path, name, rc, false);
}

long MemoryRegistry::SetValue(RegHandle key, const std::string& name, std::uint32_t type, const void* data,
                              std::uint32_t size) {
  MutexLock lock(impl_->mutex);
  Handle* h = nullptr;
  long rc = impl_->Check(key, &h, CanWrite);
  const std::string path = h ? h->path : std::string();
  if (rc == regerr::kSuccess && size && !data) rc = regerr::kInvalidParameter;
  if (rc == regerr::kSuccess) rc = impl_->Fault(RegOp::Set, true, path, name);
  if (rc == regerr::kSuccess) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    std::vector<std::uint8_t> stored(bytes, bytes + size);
    auto it = h->node->values.find(name);
    if (it == h->node->values.end()) {
      Node::Value v;
      v.name = name;
      v.type = type;
      v.data = std::move(stored);
      h->node->values.emplace(name, std::move(v));
      impl_->Touch(h->node.get(), regnotify::kLastSet);
    } else if (it->second.type != type || it->second.data != stored) {
      it->second.type = type;
      it->second.data = std::move(stored);
      impl_->Touch(h->node.get(), regnotify::kLastSet);
    }
    // Writing the value it already has changes nothing and notifies no one (Wine).
  }
  return impl_->Record(RegOp::Set, path, name, rc, true);
}

long MemoryRegistry::DeleteValue(RegHandle key, const std::string& name) {
  MutexLock lock(impl_->mutex);
  Handle* h = nullptr;
  long rc = impl_->Check(key, &h, CanWrite);
  const std::string path = h ? h->path : std::string();
  if (rc == regerr::kSuccess) rc = impl_->Fault(RegOp::DeleteValue, true, path, name);
  if (rc == regerr::kSuccess) {
    auto it = h->node->values.find(name);
    if (it == h->node->values.end()) {
      rc = regerr::kFileNotFound;
    } else {
      h->node->values.erase(it);
      impl_->Touch(h->node.get(), regnotify::kLastSet);
    }
  }
  return impl_->Record(RegOp::DeleteValue, path, name, rc, true);
}

long MemoryRegistry::EnumSubKey(RegHandle key, std::uint32_t index, char* name, std::uint32_t* nameSize) {
  MutexLock lock(impl_->mutex);
  Handle* h = nullptr;
  long rc = impl_->Check(key, &h, CanEnumKeys);
  const std::string path = h ? h->path : std::string();
  if (rc == regerr::kSuccess && (!name || !nameSize)) rc = regerr::kInvalidParameter;
  if (rc == regerr::kSuccess) rc = impl_->Fault(RegOp::EnumSubKey, false, path, "");
  if (rc == regerr::kSuccess) {
    if (index >= h->node->children.size()) {
      rc = regerr::kNoMoreItems;
    } else {
      auto it = h->node->children.begin();
      if (h->enumChanges == h->node->childChanges && index >= h->enumIndex) {
        it = h->enumAt;
        std::advance(it, index - h->enumIndex);
      } else {
        std::advance(it, index);
      }
      h->enumIndex = index;
      h->enumAt = it;
      h->enumChanges = h->node->childChanges;
      const std::string& child = it->second->name;
      if (child.size() + 1 > *nameSize) {
        rc = regerr::kMoreData;
      } else {
        std::memcpy(name, child.c_str(), child.size() + 1);
        *nameSize = static_cast<std::uint32_t>(child.size());
      }
    }
  }
  return impl_->Record(RegOp::EnumSubKey, path, "", rc, false);
}

long MemoryRegistry::EnumValue(RegHandle key, std::uint32_t index, char* name, std::uint32_t* nameSize,
                               std::uint32_t* type, void* data, std::uint32_t* dataSize) {
  MutexLock lock(impl_->mutex);
  Handle* h = nullptr;
  long rc = impl_->Check(key, &h, CanQuery);
  const std::string path = h ? h->path : std::string();
  if (rc == regerr::kSuccess && (!name || !nameSize || (data && !dataSize))) rc = regerr::kInvalidParameter;
  if (rc == regerr::kSuccess) rc = impl_->Fault(RegOp::EnumValue, false, path, "");
  std::string valueName;
  if (rc == regerr::kSuccess) {
    if (index >= h->node->values.size()) {
      rc = regerr::kNoMoreItems;
    } else {
      auto it = h->node->values.begin();
      std::advance(it, index);
      const Node::Value& v = it->second;
      valueName = v.name;
      const auto stored = static_cast<std::uint32_t>(v.data.size());
      if (v.name.size() + 1 > *nameSize) {
        // As RegEnumValueA: the name is cut to the buffer and the call fails.
        rc = regerr::kMoreData;
        if (*nameSize) {
          std::memcpy(name, v.name.data(), *nameSize - 1);
          name[*nameSize - 1] = 0;
        }
      } else {
        std::memcpy(name, v.name.c_str(), v.name.size() + 1);
        *nameSize = static_cast<std::uint32_t>(v.name.size());
      }
      if (data) {
        if (stored > *dataSize) {
          rc = regerr::kMoreData;
        } else if (rc == regerr::kSuccess) {
          if (stored) std::memcpy(data, v.data.data(), stored);
          if (IsStringType(v.type) && stored && stored < *dataSize && v.data.back() != 0)
            static_cast<std::uint8_t*>(data)[stored] = 0;
        }
      }
      if (type) *type = v.type;
      if (dataSize) *dataSize = stored;
    }
  }
  return impl_->Record(RegOp::EnumValue, path, valueName, rc, false);
}

long MemoryRegistry::DeleteKeyTree(RegHandle key, const std::string& subkey) {
  MutexLock lock(impl_->mutex);
  Handle* h = nullptr;
  long rc = impl_->Check(key, &h, nullptr);
  const std::string path = h ? (h->path.empty() ? subkey : h->path + "\\" + subkey) : subkey;
  std::vector<std::string_view> parts;
  // An empty name would remove the opened key itself: refused, it is never meant.
  if (rc == regerr::kSuccess && subkey.empty()) rc = regerr::kInvalidParameter;
  if (rc == regerr::kSuccess && !SplitPath(subkey, &parts)) rc = regerr::kBadPathname;
  if (rc == regerr::kSuccess) rc = impl_->Fault(RegOp::DeleteTree, true, path, "");
  if (rc == regerr::kSuccess) {
    std::vector<std::string_view> parentParts(parts.begin(), parts.end() - 1);
    std::shared_ptr<Node> parent = Impl::Find(h->node, parentParts);
    if (!parent || parent->children.find(parts.back()) == parent->children.end()) {
      rc = regerr::kFileNotFound;
    } else {
      impl_->RemoveTree(parent.get(), parts.back());
    }
  }
  return impl_->Record(RegOp::DeleteTree, path, "", rc, true);
}

void MemoryRegistry::CloseKey(RegHandle key) {
  MutexLock lock(impl_->mutex);
  auto it = impl_->handles.find(key);
  if (it == impl_->handles.end()) {
    impl_->Record(RegOp::Close, "", "", regerr::kInvalidHandle, false);
    return;
  }
  // Closing a handle with a pending notification signals it, as on Windows and Wine.
  if (it->second.watch.armed) it->second.watch.event->Set();
  const std::string path = it->second.path;
  impl_->handles.erase(it);
  impl_->Record(RegOp::Close, path, "", regerr::kSuccess, false);
}

long MemoryRegistry::Watch(RegHandle key, bool wholeSubtree, std::uint32_t filter, Event& event) {
  MutexLock lock(impl_->mutex);
  Handle* h = nullptr;
  long rc = impl_->Check(key, &h, CanNotify);
  const std::string path = h ? h->path : std::string();
  if (rc == regerr::kSuccess && (filter & ~regnotify::kAll) != 0) rc = regerr::kInvalidParameter;
  if (rc == regerr::kSuccess) rc = impl_->Fault(RegOp::Watch, false, path, "");
  if (rc == regerr::kSuccess) {
    h->watch.armed = true;
    h->watch.subtree = wholeSubtree;
    h->watch.filter = filter;
    h->watch.event = &event;
  }
  return impl_->Record(RegOp::Watch, path, "", rc, false);
}

void MemoryRegistry::FailNthWrite(int n) {
  MutexLock lock(impl_->mutex);
  impl_->failWriteCountdown = n > 0 ? n : 0;
}

void MemoryRegistry::FailOperation(RegOp op, const std::string& pathPart, long error) {
  MutexLock lock(impl_->mutex);
  impl_->faults.push_back({op, pathPart, error});
}

void MemoryRegistry::EndAfterNthWrite(int n) {
  MutexLock lock(impl_->mutex);
  impl_->endWriteCountdown = n > 0 ? n : 0;
  impl_->ended = false;
}

bool MemoryRegistry::Ended() const {
  MutexLock lock(impl_->mutex);
  return impl_->ended;
}

void MemoryRegistry::ClearFaults() {
  MutexLock lock(impl_->mutex);
  impl_->endWriteCountdown = 0;
  impl_->ended = false;
  impl_->faults.clear();
  impl_->failWriteCountdown = 0;
}

void MemoryRegistry::StartLog() {
  MutexLock lock(impl_->mutex);
  impl_->logging = true;
  impl_->log.clear();
}

void MemoryRegistry::ClearLog() { StartLog(); }

std::vector<RegLogEntry> MemoryRegistry::Log() const {
  MutexLock lock(impl_->mutex);
  impl_->RequireLog();
  return impl_->log;
}

int MemoryRegistry::CountOps(RegOp op) const {
  MutexLock lock(impl_->mutex);
  impl_->RequireLog();
  return static_cast<int>(
      std::count_if(impl_->log.begin(), impl_->log.end(), [op](const RegLogEntry& e) { return e.op == op; }));
}

int MemoryRegistry::CountWrites() const {
  MutexLock lock(impl_->mutex);
  impl_->RequireLog();
  return static_cast<int>(
      std::count_if(impl_->log.begin(), impl_->log.end(), [](const RegLogEntry& e) { return e.write; }));
}

int MemoryRegistry::OpenHandleCount() const {
  MutexLock lock(impl_->mutex);
  return static_cast<int>(impl_->handles.size());
}

bool MemoryRegistry::KeyExists(RegRoot root, const std::string& path) const {
  MutexLock lock(impl_->mutex);
  return impl_->FindPath(root, path) != nullptr;
}

bool MemoryRegistry::SetRaw(RegRoot root, const std::string& path, const std::string& name, std::uint32_t type,
                            const std::vector<std::uint8_t>& data) {
  MutexLock lock(impl_->mutex);
  std::vector<std::string_view> parts;
  if (!SplitPath(path, &parts)) return false;
  bool created = false;
  std::shared_ptr<Node> node = impl_->CreatePath(impl_->RootShared(root), parts, &created);
  Node::Value& v = node->values[name];
  if (v.name.empty()) v.name = name;
  v.type = type;
  v.data = data;
  // A raw write stands for another program's change: watchers see it.
  impl_->Touch(node.get(), regnotify::kLastSet);
  return true;
}

bool MemoryRegistry::GetRaw(RegRoot root, const std::string& path, const std::string& name, std::uint32_t* type,
                            std::vector<std::uint8_t>* data) const {
  MutexLock lock(impl_->mutex);
  std::shared_ptr<Node> node = impl_->FindPath(root, path);
  if (!node) return false;
  auto it = node->values.find(name);
  if (it == node->values.end()) return false;
  if (type) *type = it->second.type;
  if (data) *data = it->second.data;
  return true;
}

std::string MemoryRegistry::Dump(RegRoot root, const std::string& path) const {
  MutexLock lock(impl_->mutex);
  std::string out;
  std::shared_ptr<Node> node = impl_->FindPath(root, path);
  if (!node) return out;
  // Paths are written with the stored spelling of every key.
  std::string spelled;
  std::vector<std::string_view> parts;
  SplitPath(path, &parts);
  std::shared_ptr<Node> walk = impl_->RootShared(root);
  for (std::string_view part : parts) {
    walk = walk->children.find(part)->second;
    spelled += (spelled.empty() ? "" : "\\") + walk->name;
  }
  impl_->DumpTree(*node, spelled, &out);
  return out;
}

}  // namespace velkor
