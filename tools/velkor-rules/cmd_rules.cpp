// velkor-rules list / check / export / restore: the rules and blocked senders of every
// identity, one item per line (docs/velkor-rules.md describes the format).
// Text is printed as stored (Shift_JIS).

#include <cstdio>
#include <memory>
#include <string>

#include "Commands.h"
#include "platform/WholeFile.h"
#include "rulestore/Identities.h"
#include "registry/MemoryRegistry.h"
#include "registry/RegFile.h"
#include "rulestore/RuleBackup.h"
#include "rulestore/RuleStore.h"

namespace velkor::cli {

// The live registry; only the Windows build has one (cmd_rules_win32.cpp).
std::unique_ptr<RegistryAccess> OpenLiveRegistry();

// The tool does not open the mail store, so a move or copy target counts as
// present when its reference is well formed.
class WellFormedFolders : public FolderRefCheck {
 public:
  bool HasFolder(const std::uint8_t* ref, std::size_t size) const override {
    return ref && size == FolderRef::kSize && ref[7] == 1;
  }
};
// The same check for the test command.
const FolderRefCheck& WellFormedFolderRefs() {
  static const WellFormedFolders check;
  return check;
}

// A .reg file read into memory, or the live registry when `file` is empty.
std::unique_ptr<RegistryAccess> OpenSource(const std::string& file) {
  if (file.empty()) {
    auto live = OpenLiveRegistry();
    if (!live) std::fprintf(stderr, "velkor-rules: give a .reg file (there is no live registry here)\n");
    return live;
  }
  std::string bytes;
  if (!ReadWholeFile(file, &bytes)) {
    std::fprintf(stderr, "velkor-rules: cannot read %s\n", file.c_str());
    return nullptr;
  }
  auto reg = std::make_unique<MemoryRegistry>();
  RegFileError error;
  if (!ImportRegFile(*reg, bytes, &error)) {
    std::fprintf(stderr, "velkor-rules: %s:%d: %s\n", file.c_str(), error.line, error.reason.c_str());
    return nullptr;
  }
  return reg;
}

namespace {

std::string Hex(const std::uint8_t* data, std::size_t size) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (std::size_t i = 0; i < size; ++i) {
    out += digits[data[i] >> 4];
    out += digits[data[i] & 15];
  }
  return out;
}

// "none", "dword:N", "text:T", "words:N" (entries follow), "folder:STORE/N", "bytes:HEX".
std::string ValueText(const RuleItem& item, bool wordList, bool folder) {
  if (!item.HasValue()) return "none";
  std::uint32_t number = 0;
  std::string text;
  FolderRef ref;
  if (item.DwordValue(&number)) return "dword:" + std::to_string(number);
  if (item.TextValue(&text)) return "text:" + text;
  if (wordList && item.ValueType() == valuetype::kBytes)
    return "words:" + std::to_string(DecodeStringList(item.ValueData(), item.ValueSize()).size());
  if (folder && FolderRef::FromBytes(item.ValueData(), item.ValueSize(), &ref))
    return "folder:" + Hex(ref.bytes, 7) + "/" + std::to_string(ref.FolderNumber());
  return "bytes:" + Hex(item.ValueData(), item.ValueSize());
}

void PrintItem(const char* kind, const std::string& rule, int slot, const RuleItem& item, const std::string& logic,
               const char* shortName, bool wordList, bool folder) {
  std::printf("%s\t%s\t%d\t%u\t%u\t%s\t%s\t%s\n", kind, Field(rule).c_str(), slot, item.Type(), item.Flags(),
              logic.c_str(), shortName, Field(ValueText(item, wordList, folder)).c_str());
  if (wordList && item.HasValue() && item.ValueType() == valuetype::kBytes) {
    for (const auto& word : DecodeStringList(item.ValueData(), item.ValueSize()))
      std::printf("word\t%s\t%d\t%s\n", Field(rule).c_str(), slot, Field(word).c_str());
  }
}

// Prints every identity; returns the number of invalid rules.
int PrintAll(RegistryAccess& reg) {
  WellFormedFolders folders;
  RuleChecks checks;
  checks.folders = &folders;
  int invalid = 0;
  const std::string byDefault = DefaultIdentity(reg);
  for (const auto& identity : ListIdentitiesWithNames(reg)) {
    const std::string& id = identity.keyName;
    std::printf("identity\t%s\t%s\t%s\n", id.c_str(), id == byDefault ? "default" : "-", Field(identity.userName).c_str());
    std::printf("storeroot\t%s\t%s\n", id.c_str(), Field(ReadStoreRoot(reg, id).storeRoot).c_str());
    AccountList accounts;
    accounts.Read(reg, id);
    for (int i = 0; i < accounts.Count(); ++i) {
      std::printf("account\t%s\t%s\t%s\t%s\t%s\t%s\n", id.c_str(), Field(accounts.Identifier(i)).c_str(),
                  i == accounts.DefaultIndex() ? "default" : "-", Field(accounts.AccountName(i)).c_str(),
                  Field(accounts.SmtpDisplayName(i)).c_str(), Field(accounts.SmtpEmailAddress(i)).c_str());
    }
    RuleStore store(reg);
    store.SetChecks(checks);
    store.Load(id);
    const RuleSet& rules = store.Rules();
    for (int r = 0; r < rules.Count(); ++r) {
      const MailRule& rule = rules.At(r);
      const bool valid = rule.IsValid(checks);
      invalid += valid ? 0 : 1;
      std::printf("rule\t%s\t%s\t%u\t%u\t%s\t%s\n", id.c_str(), Field(rule.KeyName()).c_str(), rule.EnabledValue(),
                  rule.Version(), valid ? "valid" : "invalid", Field(rule.Name()).c_str());
      if (!valid)
        std::printf("problem\t%s\t%s\n", Field(rule.KeyName()).c_str(), Field(rule.ProblemText(checks, false)).c_str());
      const std::string logic = std::to_string(rule.Criteria()->Logic());
      for (int slot = 0; slot < kSlotCount; ++slot) {
        const RuleCriterion* c = rule.Criteria()->ForSlotBit(SlotBit(slot));
        if (c && c->InUse())
          PrintItem("criterion", rule.KeyName(), slot, *c, logic, CriterionSlot(slot).shortName, slot <= 5, false);
      }
      for (int slot = 0; slot < kSlotCount; ++slot) {
        const RuleAction* a = rule.Actions()->ForSlotBit(SlotBit(slot));
        if (a && a->InUse()) PrintItem("action", rule.KeyName(), slot, *a, "-", ActionSlot(slot).shortName, false, slot <= 1);
      }
    }
    for (const auto& address : store.BlockedSenders().Addresses())
      std::printf("blocked\t%s\t%s\n", id.c_str(), Field(address).c_str());
  }
  return invalid;
}

int List(const Args& args) {
  if (args.size() > 1) return 2;
  auto reg = OpenSource(args.empty() ? "" : args[0]);
  if (!reg) return 3;
  PrintAll(*reg);
  return 0;
}

int Check(const Args& args) {
  if (args.size() > 1) return 2;
  auto reg = OpenSource(args.empty() ? "" : args[0]);
  if (!reg) return 3;
  const int invalid = PrintAll(*reg);
  if (invalid > 0) std::fprintf(stderr, "velkor-rules: %d invalid rule(s)\n", invalid);
  return invalid > 0 ? 1 : 0;
}

int Export(const Args& args) {
  if (args.size() < 2 || args.size() > 3) return 2;
  auto reg = OpenSource(args.size() == 3 ? args[2] : "");
  if (!reg) return 3;
  const std::string& identity = args[0];
  const std::string base = IdentityBasePath(identity);
  RegKey probe(*reg);
  if (probe.Open(base, RegAccess::Read) != regerr::kSuccess) {
    std::fprintf(stderr, "velkor-rules: no identity %s\n", identity.c_str());
    return 3;
  }
  probe.Close();
  const std::string text = ExportRulesText(*reg, identity);
  std::string error;
  if (!SaveFileWhole(args[1], text, &error)) {
    std::fprintf(stderr, "velkor-rules: cannot write %s: %s\n", args[1].c_str(), error.c_str());
    return 3;
  }
  return 0;
}

// Puts back a backup (an export, or a file of the editor's backup folder):
// both lists of the identity it names are replaced by the file's. A file
// that is no complete backup changes nothing (exit code 3).
int Restore(const Args& args) {
  if (args.empty() || args.size() > 2) return 2;
  std::string bytes;
  if (!ReadWholeFile(args[0], &bytes)) {
    std::fprintf(stderr, "velkor-rules: cannot read %s\n", args[0].c_str());
    return 3;
  }
  std::string identity, error;
  if (args.size() == 2) {
    // A .reg file stands for the registry: only the identity's two lists are
    // replaced in its text, and it is written whole or not at all.
    std::string file, restored;
    if (!ReadWholeFile(args[1], &file)) {
      std::fprintf(stderr, "velkor-rules: cannot read %s\n", args[1].c_str());
      return 3;
    }
    if (!RestoreBackupIntoRegFile(bytes, file, &identity, &restored, &error)) {
      std::fprintf(stderr, "velkor-rules: %s: %s\n", args[0].c_str(), error.c_str());
      return 3;
    }
    if (!SaveFileWhole(args[1], restored, &error)) {
      std::fprintf(stderr, "velkor-rules: cannot write %s: %s\n", args[1].c_str(), error.c_str());
      return 3;
    }
  } else {
    auto reg = OpenSource("");
    if (!reg) return 3;
    identity = BackupIdentity(bytes);
    RegKey probe(*reg);
    if (!identity.empty() && probe.Open(IdentityBasePath(identity), RegAccess::Read) != regerr::kSuccess) {
      std::fprintf(stderr, "velkor-rules: no identity %s\n", identity.c_str());
      return 3;
    }
    probe.Close();
    if (!RestoreBackupText(*reg, identity, bytes, &error)) {
      std::fprintf(stderr, "velkor-rules: %s: %s\n", args[0].c_str(), error.c_str());
      return 3;
    }
  }
  std::printf("restored\t%s\n", identity.c_str());
  return 0;
}

}  // namespace

#if !defined(_WIN32)
std::unique_ptr<RegistryAccess> OpenLiveRegistry() { return nullptr; }
#endif

VELKOR_CLI_COMMAND(list, "list", "list [FILE.reg]", List);
VELKOR_CLI_COMMAND(check, "check", "check [FILE.reg]", Check);
VELKOR_CLI_COMMAND(export, "export", "export IDENTITY OUT.reg [FILE.reg]", Export);
VELKOR_CLI_COMMAND(restore, "restore", "restore BACKUP.reg [FILE.reg]", Restore);

}  // namespace velkor::cli
