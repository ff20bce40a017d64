// Rewrites every rule and the whole blocked-sender list of an identity through
// the editor's own save (RuleStore::SaveAll), so that scripts/kill-save.sh can
// kill the process (SIGKILL) at random moments and inspect the registry
// exactly as the kill left it. Natively every registry write is appended to a
// journal file the moment it is made; the Windows build writes the live
// registry (under Wine the wineserver holds what each write did).
//
//   savekill-probe JOURNAL IDENTITY RULES ADDRESSES GENERATION   (JOURNAL "-" on Windows)
//   savekill-probe --dump JOURNAL OUT.reg
//   savekill-probe --compact JOURNAL      (the journal becomes one import of its state)
//
// Rule i is named "rule <i> gen <g>" and holds the subject words "g<g>-<i>-a"
// and "g<g>-<i>-b"; address j is "g<g>-<j>@spam.example". RULES 0 leaves the
// rules alone, ADDRESSES 0 the blocked senders. The probe prints "saving" as
// the save starts and "saved" when it is done.

#if defined(_WIN32)
#include "registry/Win32Registry.h"
#else
#include <fcntl.h>
#include <unistd.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "registry/MemoryRegistry.h"
#include "registry/RegFile.h"
#include "rulestore/RuleStore.h"

using namespace velkor;

namespace {

#if !defined(_WIN32)
std::string Hex(const void* data, std::uint32_t size) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (std::uint32_t i = 0; i < size; ++i) {
    const auto b = static_cast<const std::uint8_t*>(data)[i];
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return out;
}

std::vector<std::uint8_t> Unhex(const std::string& text) {
  std::vector<std::uint8_t> out;
  for (std::size_t i = 0; i + 1 < text.size(); i += 2) out.push_back(static_cast<std::uint8_t>(std::stoi(text.substr(i, 2), nullptr, 16)));
  return out;
}

// Forwards to a MemoryRegistry and appends every write that succeeded to the
// journal with one write(2) each: what a kill leaves is what had happened.
class JournalRegistry : public RegistryAccess {
 public:
  JournalRegistry(MemoryRegistry& inner, int fd) : inner_(inner), fd_(fd) {}
  using RegistryAccess::CreateKey;
  using RegistryAccess::OpenKey;
  long OpenKey(RegRoot root, const std::string& path, RegAccess access, RegHandle* key) override {
    const long rc = inner_.OpenKey(root, path, access, key);
    if (rc == regerr::kSuccess) paths_[*key] = path;
    return rc;
  }
  long CreateKey(RegRoot root, const std::string& path, RegHandle* key) override {
    const long rc = inner_.CreateKey(root, path, key);
    if (rc == regerr::kSuccess) {
      paths_[*key] = path;
      Append("K\t" + path + "\n");
    }
    return rc;
  }
  long QueryValue(RegHandle key, const std::string& name, std::uint32_t* type, void* data,
                  std::uint32_t* size) override {
    return inner_.QueryValue(key, name, type, data, size);
  }
  long SetValue(RegHandle key, const std::string& name, std::uint32_t type, const void* data,
                std::uint32_t size) override {
    const long rc = inner_.SetValue(key, name, type, data, size);
    if (rc == regerr::kSuccess)
      Append("S\t" + paths_[key] + "\t" + name + "\t" + std::to_string(type) + "\t" + Hex(data, size) + "\n");
    return rc;
  }
  long DeleteValue(RegHandle key, const std::string& name) override {
    const long rc = inner_.DeleteValue(key, name);
    if (rc == regerr::kSuccess) Append("V\t" + paths_[key] + "\t" + name + "\n");
    return rc;
  }
  long EnumSubKey(RegHandle key, std::uint32_t index, char* name, std::uint32_t* nameSize) override {
    return inner_.EnumSubKey(key, index, name, nameSize);
  }
  long EnumValue(RegHandle key, std::uint32_t index, char* name, std::uint32_t* nameSize, std::uint32_t* type,
                 void* data, std::uint32_t* dataSize) override {
    return inner_.EnumValue(key, index, name, nameSize, type, data, dataSize);
  }
  long DeleteKeyTree(RegHandle key, const std::string& subkey) override {
    const long rc = inner_.DeleteKeyTree(key, subkey);
    if (rc == regerr::kSuccess) Append("D\t" + paths_[key] + "\\" + subkey + "\n");
    return rc;
  }
  void CloseKey(RegHandle key) override {
    paths_.erase(key);
    inner_.CloseKey(key);
  }
  long Watch(RegHandle key, bool wholeSubtree, std::uint32_t filter, Event& event) override {
    return inner_.Watch(key, wholeSubtree, filter, event);
  }

 private:
  void Append(const std::string& line) {
    if (fd_ >= 0 && ::write(fd_, line.data(), line.size()) != static_cast<ssize_t>(line.size())) std::abort();
  }
  MemoryRegistry& inner_;
  int fd_;
  std::map<RegHandle, std::string> paths_;
};

// Replays a journal; a last line cut off by the kill is ignored.
void Replay(const std::string& file, MemoryRegistry& reg) {
  std::string bytes;
  if (!ReadWholeFile(file, &bytes)) return;
  std::size_t pos = 0;
  for (;;) {
    const std::size_t end = bytes.find('\n', pos);
    if (end == std::string::npos) break;
    std::vector<std::string> f;
    std::size_t start = pos;
    for (std::size_t tab; (tab = bytes.find('\t', start)) < end; start = tab + 1) f.push_back(bytes.substr(start, tab - start));
    f.push_back(bytes.substr(start, end - start));
    pos = end + 1;
    RegKey key(reg);
    std::string imported;
    if (f[0] == "I" && f.size() == 2 && ReadWholeFile(f[1], &imported)) {
      ImportRegFile(reg, imported, nullptr);
    } else if (f[0] == "K" && f.size() == 2) {
      key.Create(f[1]);
    } else if (f[0] == "S" && f.size() == 5 && key.Create(f[1]) == regerr::kSuccess) {
      const auto data = Unhex(f[4]);
      key.WriteBytes(f[2], data.data(), static_cast<std::uint32_t>(data.size()), static_cast<std::uint32_t>(std::stoul(f[3])));
    } else if (f[0] == "V" && f.size() == 3 && key.Open(f[1], RegAccess::All) == regerr::kSuccess) {
      key.DeleteValue(f[2]);
    } else if (f[0] == "D" && f.size() == 2) {
      const std::size_t slash = f[1].rfind('\\');
      if (slash != std::string::npos && key.Open(f[1].substr(0, slash), RegAccess::All) == regerr::kSuccess)
        key.DeleteKeyTree(f[1].substr(slash + 1));
    }
  }
}

#endif

}  // namespace

int main(int argc, char** argv) {
#if defined(_WIN32)
  if (argc != 6) return 2;
  Win32Registry reg;
#else
  if (argc == 4 && std::string(argv[1]) == "--dump") {
    MemoryRegistry reg;
    Replay(argv[2], reg);
    return WriteWholeFile(argv[3], ExportRegFile(reg, RegRoot::CurrentUser, {"Identities"}, RegFileFormat::Regedit4)) ? 0 : 1;
  }
  if (argc == 3 && std::string(argv[1]) == "--compact") {
    MemoryRegistry reg;
    Replay(argv[2], reg);
    const std::string state = std::string(argv[2]) + ".reg";
    return WriteWholeFile(state, ExportRegFile(reg, RegRoot::CurrentUser, {"Identities"}, RegFileFormat::Regedit4)) &&
                   WriteWholeFile(argv[2], "I\t" + state + "\n")
               ? 0
               : 1;
  }
  if (argc != 6) {
    std::fprintf(stderr, "usage: savekill-probe JOURNAL IDENTITY RULES ADDRESSES GENERATION | --dump JOURNAL OUT.reg\n");
    return 2;
  }
  MemoryRegistry memory;
  Replay(argv[1], memory);
  const int fd = ::open(argv[1], O_WRONLY | O_APPEND | O_CREAT, 0600);
  JournalRegistry reg(memory, fd);
#endif
  const std::string identity = argv[2];
  const int rules = std::atoi(argv[3]), addresses = std::atoi(argv[4]);
  const std::string g = argv[5];
  {
    RegKey id(reg);
    id.Create("Identities\\" + identity);
    if (!id.HasValue("Username")) id.WriteString("Username", "killtest");
  }
  RuleStore store(reg);
  store.Load(identity);
  while (rules > 0 && store.Rules().Count() < rules) store.Rules().AddNewRule();
  const std::vector<std::uint32_t> numbers = store.Rules().Numbers();
  for (int i = 0; i < rules; ++i) {
    const std::uint32_t n = numbers[static_cast<std::size_t>(i)];
    const std::string id = std::to_string(i);
    store.SetName(n, "rule " + id + " gen " + g);
    const auto words = EncodeStringList({"g" + g + "-" + id + "-a", "g" + g + "-" + id + "-b"});
    store.SetCriterionValue(n, SlotBit(1), words.data(), static_cast<std::uint32_t>(words.size()), valuetype::kBytes);
    store.SetCriterionInUse(n, SlotBit(1), true);
  }
  if (addresses > 0) {
    std::vector<std::string> list;
    for (int j = 0; j < addresses; ++j) list.push_back("g" + g + "-" + std::to_string(j) + "@spam.example");
    store.BlockedSenders().SetAddresses(list);
  }
  std::printf("saving\n");
  std::fflush(stdout);
  NullProgress progress;
  const SaveResult result = store.SaveAll(progress);
  std::printf("%s\n", result.Ok() ? "saved" : SaveFailureText(result, store.Rules()).c_str());
  return result.Ok() ? 0 : 1;
}
