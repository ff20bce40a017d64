// One synchronisation of n address-book addresses into four targets (the two
// safe-list criteria of two identities) on a MemoryRegistry. The run must grow
// linearly with n: compare 2,000 with 20,000.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "registry/MemoryRegistry.h"
#include "rulestore/RegistryLayout.h"
#include "rulestore/RuleModel.h"
#include "wabsync/OeRegistryBuilder.h"
#include "wabsync/SyncTargets.h"
#include "wabsync/SyncTexts.h"
#include "wabsync/Synchronizer.h"

namespace velkor {
namespace {

const char* const kIdentities[] = {"{00000000-0000-0000-0000-00000000000A}", "{00000000-0000-0000-0000-00000000000B}"};

class BenchPlatform : public SyncPlatform {
 public:
  std::vector<std::string> book;
  bool OutlookExpressRunning() override { return false; }
  bool NtFamily() override { return true; }
  AddressBookRead ReadAddressBook(std::vector<std::string>* addresses) override {
    *addresses = book;
    return AddressBookRead::Ok;
  }
  void ShowMessage(const std::string&) override {}
  bool Ask(const std::string&) override { return true; }
  // The benchmark times the merge and the writes, not the backup files.
  bool WriteBackup(const std::string&, std::string*) override { return true; }
};

// Every tenth address appears again in upper case, as address books have it.
std::vector<std::string> MakeBook(int n) {
  std::vector<std::string> book;
  book.reserve(n);
  char text[64];
  for (int i = 0; static_cast<int>(book.size()) < n; ++i) {
    std::snprintf(text, sizeof text, "user%06d@example.jp", i);
    book.push_back(text);
    if (i % 10 == 0 && static_cast<int>(book.size()) < n) {
      std::snprintf(text, sizeof text, "USER%06d@Example.JP", i);
      book.push_back(text);
    }
  }
  return book;
}

struct Setup {
  MemoryRegistry reg;
  std::unique_ptr<SyncIdentitySource> identities = MakeRegistrySyncIdentities(reg);
  SyncTargetList targets;
  SyncReport report;
  BenchPlatform platform;

  explicit Setup(int n) {
    testing::OeRegistryBuilder build(reg);
    for (const char* id : kIdentities) {
      build.Identity(id, "bench", "C:\\Mail\\");
      build.Account(id, "00000001", "user000007@example.jp");
      build.RuleOrder(id, "000 001");
      build.Rule(id, "000", wabsync::kSenderRuleName, {{"000", 12, 65, {"hand@example.jp"}}});
      build.Rule(id, "001", wabsync::kBodyRuleName, {{"000", 9, 65, {wabsync::kDummyAddress}}});
    }
    FindSyncTargets(reg, *identities, &targets, &report);
    platform.book = MakeBook(n);
  }

  // Puts the short lists back so every add-only run has the whole book to add.
  void ResetLists() {
    const std::vector<std::uint8_t> bytes = EncodeStringList({"hand@example.jp", wabsync::kDummyAddress});
    for (const std::string& path : targets.Paths()) reg.SetRaw(RegRoot::CurrentUser, path, oereg::kValue, 3, bytes);
  }
};

void BM_FullSync(benchmark::State& state) {
  Setup s(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    if (!Synchronise(s.reg, *s.identities, s.targets, SyncMode::Full, false, s.platform))
      state.SkipWithError("sync failed");
  }
  state.SetComplexityN(state.range(0));
  state.counters["targets"] = static_cast<double>(s.targets.Count());
}

void BM_AddOnlySync(benchmark::State& state) {
  Setup s(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    s.ResetLists();
    state.ResumeTiming();
    if (!Synchronise(s.reg, *s.identities, s.targets, SyncMode::AddOnly, false, s.platform))
      state.SkipWithError("sync failed");
  }
  state.SetComplexityN(state.range(0));
  state.counters["targets"] = static_cast<double>(s.targets.Count());
}

// The second run of add-only, with nothing new: the common case at every log-on.
void BM_AddOnlyUnchanged(benchmark::State& state) {
  Setup s(static_cast<int>(state.range(0)));
  Synchronise(s.reg, *s.identities, s.targets, SyncMode::AddOnly, false, s.platform);
  for (auto _ : state) Synchronise(s.reg, *s.identities, s.targets, SyncMode::AddOnly, false, s.platform);
  state.SetComplexityN(state.range(0));
}

BENCHMARK(BM_FullSync)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK(BM_AddOnlySync)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK(BM_AddOnlyUnchanged)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

}  // namespace
}  // namespace velkor

BENCHMARK_MAIN();
