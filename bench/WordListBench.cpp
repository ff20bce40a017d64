// Pasting n lines into a list of n rows: half of the lines new, a quarter
// equal to existing rows but for letter case, a quarter repeated inside the
// pasted text. The merge must grow linearly (20,000 against 2,000).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "editor/WordList.h"

namespace {

std::string Address(const char* user, int i) { return std::string(user) + std::to_string(i) + "@example.jp"; }

void BM_PasteMerge(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  std::vector<std::string> rows;
  for (int i = 0; i < n; ++i) rows.push_back(Address("row", i));
  std::string pasted;
  for (int i = 0; i < n / 2; ++i) pasted += Address("new", i) + "\r\n";
  for (int i = 0; i < n / 4; ++i) pasted += Address("ROW", i * 3) + "\r\n";
  for (int i = 0; i < n / 4; ++i) pasted += "\t" + Address("new", i) + "\r\n";
  for (auto _ : state) {
    velkor::wordlist::WordMerge merge(rows);
    for (std::string& line : velkor::wordlist::PastedLines(pasted)) merge.AddClean(std::move(line));
    benchmark::DoNotOptimize(merge.NewEntries().size());
    if (merge.NewEntries().size() != static_cast<std::size_t>(n / 2)) state.SkipWithError("wrong merge");
  }
  state.SetComplexityN(n);
}
BENCHMARK(BM_PasteMerge)->Arg(2000)->Arg(20000)->Arg(200000)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);

void BM_SplitOnly(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  std::string pasted;
  for (int i = 0; i < n; ++i) pasted += Address("new", i) + "\r\n";
  for (auto _ : state) benchmark::DoNotOptimize(velkor::wordlist::PastedLines(pasted).size());
}
BENCHMARK(BM_SplitOnly)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
