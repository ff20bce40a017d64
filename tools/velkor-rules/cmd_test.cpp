// velkor-rules test: which blocked sender or rules catch saved mails and where
// they end, one line per mail and a summary (docs/velkor-rules.md describes
// the format).

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "Commands.h"
#include "message/MailMessage.h"
#include "registry/RegFile.h"
#include "rulestore/Identities.h"
#include "rulestore/RuleStore.h"
#include "ruletest/RuleEvaluator.h"
#include "text/ShiftJis.h"

namespace velkor::cli {

// cmd_rules.cpp: the registry to read and the folder check of a tool that
// does not open the mail store.
std::unique_ptr<RegistryAccess> OpenSource(const std::string& file);
const FolderRefCheck& WellFormedFolderRefs();

namespace {

constexpr const char* kUsage = "test [--identity GUID] [--account KEY] [--reg FILE.reg] MAIL|FOLDER...";

// Every file under a folder, in name order; a file as itself.
bool CollectFiles(const std::string& arg, std::vector<std::string>* files) {
  std::error_code error;
  if (!std::filesystem::is_directory(arg, error)) {
    files->push_back(arg);
    return true;
  }
  std::vector<std::string> found;
  for (std::filesystem::recursive_directory_iterator it(arg, error), end; !error && it != end; it.increment(error)) {
    if (it->is_regular_file(error)) found.push_back(it->path().string());
  }
  std::sort(found.begin(), found.end());
  files->insert(files->end(), found.begin(), found.end());
  if (!error) return true;
  std::fprintf(stderr, "velkor-rules: cannot read the folder %s\n", arg.c_str());
  return false;
}

std::string FolderField(const RuleVerdict& v) {
  if (v.folder == FinalFolder::Deleted) return "deleted";
  if (v.folder == FinalFolder::Folder) return "folder:" + std::to_string(v.folderNumber);
  return "-";
}

int Test(const Args& args) {
  std::string identity, account, regFile;
  bool accountGiven = false;
  std::vector<std::string> inputs;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    if (a == "--identity" && hasValue) {
      identity = args[++i];
    } else if (a == "--account" && hasValue) {
      account = args[++i];
      accountGiven = true;
    } else if (a == "--reg" && hasValue) {
      regFile = args[++i];
    } else if (a.compare(0, 2, "--") == 0) {
      std::fprintf(stderr, "usage: velkor-rules %s\n", kUsage);
      return 2;
    } else {
      inputs.push_back(a);
    }
  }
  if (inputs.empty()) {
    std::fprintf(stderr, "usage: velkor-rules %s\n", kUsage);
    return 2;
  }
  auto reg = OpenSource(regFile);
  if (!reg) return 3;
  const auto identities = ListIdentitiesWithNames(*reg);
  if (identity.empty()) identity = DefaultIdentity(*reg);
  if (identity.empty() && !identities.empty()) identity = identities.front().keyName;
  const bool listed = std::any_of(identities.begin(), identities.end(),
                                  [&](const OeIdentity& i) { return sjis::EqualsIgnoreCase(i.keyName, identity); });
  if (!listed) {
    std::fprintf(stderr, "velkor-rules: no identity %s\n", identity.c_str());
    return 3;
  }
  if (!accountGiven) {
    AccountList accounts;
    accounts.Read(*reg, identity);
    account = accounts.IdentifierForNewCriterion();
  }

  RuleChecks checks;
  checks.folders = &WellFormedFolderRefs();
  RuleStore store(*reg);
  store.SetChecks(checks);
  store.Load(identity);
  if (!store.RulesLoadedCleanly() || !store.BlockedLoadedCleanly())
    std::fprintf(stderr, "velkor-rules: the rules of %s could not be read whole\n", identity.c_str());
  std::vector<const MailRule*> rules;
  for (int i = 0; i < store.Rules().Count(); ++i) rules.push_back(&store.Rules().At(i));
  const RuleEvaluator evaluator(store.BlockedSenders().Addresses(), rules, checks);

  bool ok = true;
  std::vector<std::string> files;
  for (const std::string& input : inputs) ok = CollectFiles(input, &files) && ok;
  std::vector<int> matchCount(rules.size(), 0);
  std::map<std::string, int> endCount;
  for (const std::string& file : files) {
    std::string raw;
    if (!ReadWholeFile(file, &raw)) {
      std::fprintf(stderr, "velkor-rules: cannot read %s\n", file.c_str());
      ok = false;
      continue;
    }
    const RuleVerdict v = evaluator.Evaluate(ReadMailMessage(raw), account);
    std::string keys;
    for (int r : v.appliedRules) {
      keys += (keys.empty() ? "" : ",") + v.rules[r].keyName;
      ++matchCount[static_cast<std::size_t>(r)];
    }
    const char* verdict = v.blocked ? "blocked" : v.appliedRules.empty() ? "none" : "rules";
    const std::string folder = FolderField(v);
    ++endCount[folder];
    std::printf("test\t%s\t%s\t%s\t%s\n", Field(file).c_str(), verdict, keys.empty() ? "-" : keys.c_str(),
                folder.c_str());
  }
  for (std::size_t r = 0; r < rules.size(); ++r) {
    std::printf("matches\t%s\t%d\t%s\n", rules[r]->KeyName().c_str(), matchCount[r], Field(rules[r]->Name()).c_str());
  }
  for (const auto& [folder, count] : endCount) std::printf("ends\t%s\t%d\n", folder.c_str(), count);
  return ok ? 0 : 3;
}

}  // namespace

VELKOR_CLI_COMMAND(test, "test", kUsage, Test);

}  // namespace velkor::cli
