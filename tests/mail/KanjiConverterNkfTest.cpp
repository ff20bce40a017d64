// Byte-for-byte comparison with nkf on the corpus in data/kanji: "s" against
// `nkf -s -x -m0`, "sm" against `nkf -s -x`. Every difference must be one of
// the deliberate ones listed in data/kanji/differences.txt, and every listed
// one must still differ, so the list cannot go stale.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "mail/KanjiConverter.h"

namespace velkor {
namespace {

namespace fs = std::filesystem;

const fs::path kCorpus = fs::path(VELKOR_SOURCE_DIR) / "tests/mail/data/kanji";
constexpr const char* kNkf = "/usr/bin/nkf";

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string RunNkf(const std::string& flags, const fs::path& input) {
  const std::string command = std::string(kNkf) + " " + flags + " < '" + input.string() + "'";
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    std::size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    pclose(pipe);
  }
  return out;
}

// "s broken/binary" -> reason
std::set<std::string> ListedDifferences() {
  std::set<std::string> listed;
  std::istringstream lines(ReadFile(kCorpus / "differences.txt"));
  for (std::string line; std::getline(lines, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string option, file;
    fields >> option >> file;
    listed.insert(option + " " + file);
  }
  return listed;
}

TEST(KanjiConverterNkfTest, AgreesWithNkfExceptListedDifferences) {
  if (!fs::exists(kNkf)) GTEST_SKIP() << "nkf is not installed (scripts/setup.sh installs it)";
  ASSERT_TRUE(fs::is_directory(kCorpus)) << kCorpus;
  const std::set<std::string> listed = ListedDifferences();
  struct Tally {
    int agree = 0;
    int total = 0;
  };
  std::map<std::string, Tally> tally;  // "class option"
  std::set<std::string> differing;
  for (const auto& entry : fs::recursive_directory_iterator(kCorpus)) {
    if (!entry.is_regular_file() || entry.path().parent_path() == kCorpus) continue;
    const std::string cls = entry.path().parent_path().filename().string();
    const std::string key = cls + "/" + entry.path().filename().string();
    const std::string input = ReadFile(entry.path());
    for (const char* option : {"s", "sm"}) {
      KanjiConverter converter;
      ASSERT_TRUE(converter.SetOptions(option));
      const std::string expected = RunNkf(option == std::string("s") ? "-s -x -m0" : "-s -x", entry.path());
      const bool agree = converter.Convert(input) == expected;
      Tally& t = tally[cls + " " + option];
      ++t.total;
      if (agree) ++t.agree;
      const std::string id = std::string(option) + " " + key;
      if (!agree) differing.insert(id);
      if (!agree && !listed.count(id)) ADD_FAILURE() << "differs from nkf: " << id;
      if (agree && listed.count(id)) ADD_FAILURE() << "listed as a difference but agrees: " << id;
    }
  }
  for (const std::string& id : listed) {
    if (!differing.count(id) && !fs::exists(kCorpus / id.substr(id.find(' ') + 1)))
      ADD_FAILURE() << "listed file is missing: " << id;
  }
  std::printf("agreement with nkf (s: -s -x -m0, sm: -s -x)\n");
  for (const auto& [name, t] : tally) {
    std::printf("  %-12s %3d/%3d  %5.1f %%\n", name.c_str(), t.agree, t.total, 100.0 * t.agree / t.total);
  }
}

}  // namespace
}  // namespace velkor
