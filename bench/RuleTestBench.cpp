// The rule tester's evaluation: 6,000 mails of real sizes against 100 rules
// and 10,000 blocked senders, then against 1,000 rules and with half the
// mails, to show it grows linearly in mails and in rules. The summary at the
// end puts the CPU times side by side.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "RuleTestBenchData.h"
#include "ruletest/RuleEvaluator.h"

namespace {

using namespace velkor;
using namespace velkor::benchdata;

const std::vector<MailMessage>& Mails() {
  static const std::vector<MailMessage> mails = MakeMails(6000);
  return mails;
}

// args: mails, rules; 10,000 blocked senders each time.
void BM_Evaluate(benchmark::State& state) {
  const auto mailCount = static_cast<std::size_t>(state.range(0));
  const auto owned = MakeRules(static_cast<int>(state.range(1)));
  std::vector<const MailRule*> rules;
  for (const auto& r : owned) rules.push_back(r.get());
  AnyWellFormedFolder folders;
  RuleChecks checks;
  checks.folders = &folders;
  const std::vector<MailMessage>& mails = Mails();
  std::size_t bytes = 0;
  for (std::size_t i = 0; i < mailCount; ++i) bytes += mails[i].body.size();
  std::map<int, int> ended;
  for (auto _ : state) {
    // Building the evaluator is part of the work: the tester does it whenever the rules change.
    const RuleEvaluator evaluator(MakeBlocked(10000), rules, checks);
    ended.clear();
    for (std::size_t i = 0; i < mailCount; ++i) {
      const RuleVerdict v = evaluator.Evaluate(mails[i], "00000001");
      ++ended[static_cast<int>(v.folder)];
    }
  }
  state.counters["MB"] = static_cast<double>(bytes) / 1e6;
  state.counters["inbox"] = ended[0];
  state.counters["deleted"] = ended[1];
  state.counters["moved"] = ended[2];
}
BENCHMARK(BM_Evaluate)->Args({6000, 100})->Args({3000, 100})->Args({6000, 1000})->Unit(benchmark::kMillisecond)->Iterations(3);

class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, double> cpuMs;
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) cpuMs[run.benchmark_name()] = run.GetAdjustedCPUTime();
    ConsoleReporter::ReportRuns(runs);
  }
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  auto timeOf = [&](const std::string& args) {
    for (const auto& [name, ms] : reporter.cpuMs)
      if (name.find("BM_Evaluate/" + args) == 0) return ms;
    return 0.0;
  };
  const double base = timeOf("6000/100");
  const double half = timeOf("3000/100");
  const double wide = timeOf("6000/1000");
  if (base > 0 && half > 0 && wide > 0) {
    std::printf("\nCPU time, 10,000 blocked senders: 6,000 mails x 100 rules %.0f ms; 3,000 mails %.0f ms (%.2fx); "
                "1,000 rules %.0f ms (%.1fx of 100 rules)\n",
                base, half, half / base, wide, wide / base);
  }
  benchmark::Shutdown();
  return 0;
}
