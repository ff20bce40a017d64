// Restoring hostile and unlucky backups: a restore either refuses and
// changes nothing, or leaves the identity's two lists exactly as the backup
// holds them and everything else as it was, in the registry and in a .reg
// file of either format.

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "platform/WholeFile.h"
#include "registry/CodePage932.h"
#include "registry/MemoryRegistry.h"
#include "registry/RegFile.h"
#include "rulestore/RegistryLayout.h"
#include "rulestore/RuleBackup.h"

namespace velkor::test {
namespace {

const std::string kId = "{3F2504E0-4F89-11D3-9A0C-0305E82C3301}";
const std::string kBase = oereg::IdentityBasePath(kId);
const std::string kRules = "HKEY_CURRENT_USER\\" + oereg::RulesMailPath(kBase);
const std::string kBlocked = "HKEY_CURRENT_USER\\" + oereg::BlockSendersPath(kBase);
const std::string kEnd = "; velkor-backup end\r\n";

std::string Demo() {
  std::string bytes;
  EXPECT_TRUE(ReadWholeFile(VELKOR_DEMO_REG, &bytes));
  return bytes;
}

void Import(MemoryRegistry& reg, const std::string& text) {
  RegFileError error;
  ASSERT_TRUE(ImportRegFile(reg, text, &error)) << error.line << ": " << error.reason;
}

// A backup of the demo identity: 6 rules and 3 blocked senders.
const std::string& Backup() {
  static const std::string backup = [] {
    MemoryRegistry reg;
    Import(reg, Demo());
    return ExportRulesText(reg, kId);
  }();
  return backup;
}

std::string Lists(const MemoryRegistry& reg) {
  return reg.Dump(RegRoot::CurrentUser, oereg::RulesMailPath(kBase)) + "|" +
         reg.Dump(RegRoot::CurrentUser, oereg::BlockSendersPath(kBase));
}
std::string ListsOf(const std::string& regText) {
  MemoryRegistry reg;
  Import(reg, regText);
  return Lists(reg);
}
// Everything but the two lists (their parents made alike on both sides).
std::string OutsideOf(const std::string& regText) {
  MemoryRegistry reg;
  Import(reg, regText);
  Import(reg, "REGEDIT4\r\n[" + kRules + "]\r\n[-" + kRules + "]\r\n[" + kBlocked + "]\r\n[-" + kBlocked + "]\r\n");
  return reg.Dump(RegRoot::CurrentUser, "") + reg.Dump(RegRoot::LocalMachine, "");
}

// The demo registry with other lists than the backup's.
void Target(MemoryRegistry& reg) {
  Import(reg, Demo());
  Import(reg, "REGEDIT4\r\n[-" + kRules + "]\r\n[" + kRules + "]\r\n\"Order\"=\"000\"\r\n[" + kRules +
                  "\\000]\r\n\"Name\"=\"other\"\r\n[-" + kBlocked + "]\r\n");
}

std::string Utf16(const std::string& sjis) {
  const std::u16string text = cp932::ToUtf16(sjis);
  std::string out("\xFF\xFE", 2);
  for (char16_t c : text) {
    out += static_cast<char>(c & 0xFF);
    out += static_cast<char>(c >> 8);
  }
  return out;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}
// The backup with `lines` put in just before its end line.
std::string BeforeEnd(const std::string& lines) { return Replace(Backup(), kEnd, lines + kEnd); }

// A restore both ways: into a registry and into the demo .reg file. The
// target registry is kept between calls while restores are refused, as each
// call checks that it is unchanged.
class Restorer {
 public:
  Restorer() : file_(Demo()) { Reset(); }

  void Expect(const std::string& backup, bool restored, const std::string& what) {
    SCOPED_TRACE(what);
    std::string error;
    ASSERT_EQ(RestoreBackupText(*reg_, kId, backup, &error), restored) << error;
    if (restored) {
      EXPECT_EQ(Lists(*reg_), ListsOf(backup));
      Reset();
    } else {
      EXPECT_FALSE(error.empty());
      EXPECT_EQ(reg_->Dump(RegRoot::CurrentUser, ""), before_);
    }
    std::string out = "untouched", identity;
    ASSERT_EQ(RestoreBackupIntoRegFile(backup, file_, &identity, &out, &error), restored) << error;
    if (restored) {
      EXPECT_EQ(identity, kId);
      EXPECT_EQ(ListsOf(out), ListsOf(backup));
      EXPECT_EQ(OutsideOf(out), OutsideOf(file_));
    } else {
      EXPECT_EQ(out, "untouched");
    }
  }

 private:
  void Reset() {
    reg_ = std::make_unique<MemoryRegistry>();
    Target(*reg_);
    before_ = reg_->Dump(RegRoot::CurrentUser, "");
  }
  std::string file_, before_;
  std::unique_ptr<MemoryRegistry> reg_;
};

TEST(RestoreTest, ABackupCutAtAnyByteIsRefusedUnlessOnlyItsLastLineEndIsMissing) {
  const std::string& backup = Backup();
  ASSERT_NE(backup.find("; velkor-backup rules=6 blocked=3\r\n"), std::string::npos);
  Restorer restorer;
  for (std::size_t cut = 0; cut <= backup.size(); ++cut)
    restorer.Expect(backup.substr(0, cut), cut + 2 >= backup.size(), "cut at " + std::to_string(cut));
}

TEST(RestoreTest, HostileBackupsAreRefusedAndWholeOnesRestoredExactly) {
  const std::string header = "REGEDIT4\r\n\r\n; velkor-backup rules=6 blocked=3\r\n\r\n";
  const std::string deletions = "[-" + kRules + "]\r\n\r\n[-" + kBlocked + "]\r\n\r\n";
  const std::string otherId = "{0THER000-0000-0000-0000-000000000000}";
  const struct {
    const char* what;
    std::string backup;
    bool restored;
  } cases[] = {
      {"the whole backup", Backup(), true},
      {"the deletions only", header + deletions + kEnd, false},
      {"the deletions only, counted as empty",
       Replace(header, "rules=6 blocked=3", "rules=0 blocked=0") + deletions + kEnd, true},
      {"the deletions only, without counts", "REGEDIT4\r\n\r\n" + deletions + kEnd, false},
      {"one rule more counted", Replace(Backup(), "rules=6", "rules=7"), false},
      {"one blocked sender less counted", Replace(Backup(), "blocked=3", "blocked=2"), false},
      {"a count that is no number", Replace(Backup(), "rules=6", "rules=6x"), false},
      {"the counts line gone", Replace(Backup(), "; velkor-backup rules=6 blocked=3\r\n", ""), false},
      {"a key outside the lists", BeforeEnd("[HKEY_CURRENT_USER\\Software\\Evil]\r\n\"x\"=\"y\"\r\n\r\n"), false},
      {"a key of another identity",
       BeforeEnd("[HKEY_CURRENT_USER\\" + oereg::RulesMailPath(oereg::IdentityBasePath(otherId)) + "]\r\n\r\n"),
       false},
      {"the lists under another root", BeforeEnd("[HKEY_LOCAL_MACHINE\\" + oereg::RulesMailPath(kBase) + "]\r\n\r\n"),
       false},
      {"an extra key inside the lists", BeforeEnd("[" + kRules + "\\07F]\r\n\"Name\"=\"unlisted\"\r\n\r\n"), true},
      {"a deletion after the lists", BeforeEnd("[-" + kRules + "\\000]\r\n\r\n"), false},
      {"a value deleted", BeforeEnd("[" + kRules + "\\000]\r\n\"Name\"=-\r\n\r\n"), false},
      {"text after the end line", Backup() + "[" + kRules + "\\0FF]\r\n", false},
      {"the end line twice, keys between", BeforeEnd(kEnd + "[" + kRules + "\\0FF]\r\n"), true},
      {"another identity's backup", Replace(Replace(Backup(), kId, otherId), kId, otherId), false},
      {"saved again as UTF-16", Utf16(Backup()), false},
      {"empty", "", false},
  };
  Restorer restorer;
  for (const auto& c : cases) restorer.Expect(c.backup, c.restored, c.what);
}

TEST(RestoreTest, IntoARegFileOnlyTheListsChangeAndTheFormatStays) {
  const std::string demo = Demo();
  // What the old rewrite lost: another root, names past any fixed buffer,
  // characters Shift_JIS has not.
  const std::string foreign = "[HKEY_LOCAL_MACHINE\\Software\\Other]\r\n\"" + std::string(40000, 'n') +
                              "\"=\"long name\"\r\n\r\n[HKEY_CURRENT_USER\\Software\\" + std::string(2000, 'k') +
                              "]\r\n@=dword:00000001\r\n\r\n";
  std::u16string cafe = u"[HKEY_CURRENT_USER\\Software\\Caf\u00e9 \U0001F600]\r\n\"v\"=hex(2):41,00,00,00\r\n\r\n";
  std::string cafeBytes;
  for (char16_t c : cafe) cafeBytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  std::string demo5 = Utf16(Replace(demo, "REGEDIT4", "Windows Registry Editor Version 5.00")) + cafeBytes;
  std::string lf = demo;
  for (std::size_t at; (at = lf.find("\r\n")) != std::string::npos;) lf.erase(at, 1);
  const std::string lfTail = "[HKEY_LOCAL_MACHINE\\Software\\LF]\n\"a\"=\"b\"\n";
  const std::string notSjis = BeforeEnd("[" + kRules + "\\000]\r\n\"Name\"=hex(1):81,00\r\n\r\n");
  const std::string longName =
      BeforeEnd("[" + kRules + "\\" + std::string(1500, 'r') + "]\r\n\"" + std::string(40000, 'v') + "\"=\"x\"\r\n\r\n");
  const struct {
    const char* what;
    std::string file, backup;
    bool restored;
    std::string kept;  // the file's bytes from here to its end survive as they are
  } cases[] = {
      {"REGEDIT4 with another root and long names", demo + foreign, Backup(), true, foreign},
      {"UTF-16 with characters Shift_JIS lacks", demo5, Backup(), true, cafeBytes},
      {"LF line ends", lf + lfTail, Backup(), true, lfTail},
      {"the lists deleted at its end", demo + "[-" + kRules + "]\r\n", Backup(), true, ""},
      {"the key above the lists deleted at its end", demo + "[-HKEY_CURRENT_USER\\" + kBase + "\\Rules]\r\n", Backup(),
       true, ""},
      {"a value UTF-16 cannot hold", demo5, notSjis, false, ""},
      {"the same value in REGEDIT4", demo, notSjis, true, ""},
      {"long names in the lists, REGEDIT4", demo, longName, true, ""},
      {"without the identity", "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software]\r\n", Backup(), false, ""},
      {"the identity deleted at its end", demo + "[-HKEY_CURRENT_USER\\Identities\\" + kId + "]\r\n", Backup(), false,
       ""},
      {"unreadable", demo + "[HKEY_CURRENT_USER\\Software\r\n", Backup(), false, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::string out = "untouched", identity, error;
    ASSERT_EQ(RestoreBackupIntoRegFile(c.backup, c.file, &identity, &out, &error), c.restored) << error;
    if (!c.restored) {
      EXPECT_EQ(out, "untouched");
      EXPECT_FALSE(error.empty());
      continue;
    }
    EXPECT_EQ(ListsOf(out), ListsOf(c.backup));
    EXPECT_EQ(OutsideOf(out), OutsideOf(c.file));
    // Before the first list section and after the last, byte for byte.
    const std::size_t first = std::min(c.file.find("Rules\\Mail]"), c.file.find("R\0u\0l\0e\0s\0\\\0M\0a\0i\0l\0]", 0, 22));
    ASSERT_NE(first, std::string::npos);
    const std::size_t lineStart = c.file.rfind('\n', first) + 1;
    EXPECT_EQ(out.compare(0, lineStart, c.file, 0, lineStart), 0);
    if (!c.kept.empty()) {
      EXPECT_EQ(out.substr(out.size() - std::min(out.size(), c.kept.size())), c.kept);
    }
  }
}

TEST(RestoreTest, ARestoreWhoseWriteFailsLeavesTheFileAsItWas) {
  class FullDisk : public WriteFaults {
   public:
    std::size_t Accept(std::size_t written, std::size_t size) override {
      return written >= 4096 ? 0 : std::min(size, 4096 - written);
    }
  } full;
  const std::string path = ::testing::TempDir() + "restore-full-disk.reg";
  const std::string file = Demo() + "[HKEY_CURRENT_USER\\Software\\Pad]\r\n\"p\"=\"" + std::string(20000, 'p') + "\"\r\n";
  ASSERT_TRUE(SaveFileWhole(path, file));
  std::string out, identity, error, back;
  ASSERT_TRUE(RestoreBackupIntoRegFile(Backup(), file, &identity, &out, &error)) << error;
  EXPECT_FALSE(SaveFileWhole(path, out, &error, &full));
  EXPECT_NE(error.find(path), std::string::npos);
  ASSERT_TRUE(ReadWholeFile(path, &back));
  EXPECT_EQ(back, file);
  EXPECT_FALSE(ReadWholeFile(path + ".tmp", &back));
  std::remove(path.c_str());
}

}  // namespace
}  // namespace velkor::test
