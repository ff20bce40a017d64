// A 1 MiB mixed Japanese/ASCII mail against 5,000 dictionary words, searched
// word by word (the literal rule, kept in the tests as the reference) and in
// one pass; then the one-pass detector on a text ten times larger. The summary
// at the end puts the times side by side.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "mail/ReferenceDetection.h"
#include "mail/SpamDetection.h"

namespace {

using velkor::SpamWordList;

const std::vector<std::string> kPhrases = {
    "今すぐ無料で登録してください。", "出会い系サイトで素敵な出会いを見つけよう！", "副業で月収100万円も夢じゃない",
    "お客様のアカウントが一時停止されました。", "未払いの利用料金があります。", "本日中にご連絡ください。",
    "こんにちは、お元気ですか。", "会議の資料を添付します。", "よろしくお願いいたします。",
    "ｱﾀﾞﾙﾄ動画が見放題", "ＳＥＸ", "人妻との秘密の関係", "The quick brown fox jumps over the lazy dog. ",
    "Click here to claim your prize ", "http://deai.example.jp/entry?id=12345 ", "contact: info@spam.example.com ",
    "\r\n", "\r\n", "株式会社テスト 東京都千代田区1-2-3 ", "FREE VIAGRA ", "本物のブランドが激安！",
};

const std::vector<std::string> kKana = {
    "あ", "い", "う", "え", "お", "か", "き", "く", "け", "こ", "さ", "し", "す", "せ", "そ", "た", "ち", "つ",
    "て", "と", "な", "に", "ア", "イ", "ウ", "エ", "オ", "カ", "キ", "ク", "ケ", "コ", "金", "無", "料", "会",
    "出", "円", "万", "登", "録", "ｱ", "ｲ", "ｳ", "a", "b", "c", "d", "e", "x", "y", "z",
};

std::string MakeText(std::size_t bytes, unsigned seed) {
  std::mt19937 rng(seed);
  std::string text;
  text.reserve(bytes + 64);
  while (text.size() < bytes) text += kPhrases[rng() % kPhrases.size()];
  return text;
}

SpamWordList MakeDictionary(std::size_t count) {
  std::mt19937 rng(42);
  SpamWordList list;
  const std::vector<std::string> real = {"出会い", "無料", "副業", "月収", "未払い", "利用料金", "アカウント",
                                         "一時停止", "人妻", "秘密の関係", "ｱﾀﾞﾙﾄ", "ｓｅｘ", "viagra", "激安",
                                         "ブランド", "free", "prize", "本日中", "登録", "出会い系サイト"};
  for (const std::string& w : real) {
    list.words.push_back(w);
    list.categories.push_back(static_cast<std::uint16_t>(1 + rng() % 4));
  }
  while (list.words.size() < count) {
    std::string w;
    const std::size_t chars = 2 + rng() % 4;
    for (std::size_t i = 0; i < chars; ++i) w += kKana[rng() % kKana.size()];
    list.words.push_back(w);
    list.categories.push_back(static_cast<std::uint16_t>(1 + rng() % 4));
  }
  return list;
}

const SpamWordList& Dictionary() {
  static const SpamWordList list = MakeDictionary(5000);
  return list;
}

const std::string& Text(std::size_t mib) {
  static std::map<std::size_t, std::string> texts;
  auto it = texts.find(mib);
  if (it == texts.end()) it = texts.emplace(mib, MakeText(mib << 20, 7)).first;
  return it->second;
}

const std::vector<std::string> kOwn = {"me@home.example.jp"};

void BM_WordByWord_1MiB(benchmark::State& state) {
  for (auto _ : state) {
    auto r = velkor::testing::ReferenceDetect(Text(1), Dictionary(), kOwn);
    benchmark::DoNotOptimize(r);
    state.counters["terms"] = static_cast<double>(r.obsceneTerms.size() + r.otherTerms.size());
  }
}

void OnePass(benchmark::State& state, std::size_t mib) {
  const std::string& text = Text(mib);
  for (auto _ : state) {
    // The automaton is built inside the timing, as each detection run does.
    auto r = velkor::DetectSpamContent(text, Dictionary(), kOwn);
    benchmark::DoNotOptimize(r);
    state.counters["terms"] = static_cast<double>(r.obsceneTerms.size() + r.otherTerms.size());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void BM_OnePass_1MiB(benchmark::State& state) { OnePass(state, 1); }
void BM_OnePass_10MiB(benchmark::State& state) { OnePass(state, 10); }

BENCHMARK(BM_WordByWord_1MiB)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_OnePass_1MiB)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_OnePass_10MiB)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Keeps the CPU time of every run for the summary (steadier than wall time
// on a busy machine).
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, double> realMs;
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) realMs[run.benchmark_name()] = run.GetAdjustedCPUTime();
    ConsoleReporter::ReportRuns(runs);
  }
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  auto timeOf = [&](const std::string& prefix) {
    for (const auto& [name, ms] : reporter.realMs) {
      if (name.compare(0, prefix.size(), prefix) == 0 && (name.size() == prefix.size() || name[prefix.size()] == '/'))
        return ms;
    }
    return 0.0;
  };
  const double ref = timeOf("BM_WordByWord_1MiB");
  const double one = timeOf("BM_OnePass_1MiB");
  const double ten = timeOf("BM_OnePass_10MiB");
  if (ref > 0 && one > 0 && ten > 0) {
    std::printf("\nCPU time, 1 MiB x 5,000 words: word by word %.1f ms, one pass %.1f ms (%.0fx faster)\n", ref, one,
                ref / one);
    std::printf("CPU time, 10 MiB, one pass: %.1f ms (%.1fx the 1 MiB time)\n", ten, ten / one);
  }
  benchmark::Shutdown();
  return 0;
}
