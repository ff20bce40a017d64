// The help sources in docs/help agree with each other and with the programs:
// every page is in the contents, every file a page, the contents or the index
// names is there, and every context the programs show has its page.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "help/HelpContext.h"

namespace velkor {
namespace {

namespace fs = std::filesystem;

const fs::path kHelpDir = VELKOR_HELP_DIR;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The lines of one [SECTION] of the help project, without blank ones.
std::vector<std::string> ProjectSection(const std::string& name) {
  std::istringstream in(ReadFile(kHelpDir / "Velkor.hhp"));
  std::vector<std::string> lines;
  bool inside = false;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line.front() == '[') {
      inside = line == "[" + name + "]";
      continue;
    }
    if (inside && !line.empty()) lines.push_back(line);
  }
  return lines;
}

std::map<std::string, std::string> ProjectPairs(const std::string& section) {
  std::map<std::string, std::string> pairs;
  for (const std::string& line : ProjectSection(section)) {
    const size_t eq = line.find('=');
    if (eq != std::string::npos) pairs[line.substr(0, eq)] = line.substr(eq + 1);
  }
  return pairs;
}

// The first group of every match of `pattern` in `text`.
std::vector<std::string> Matches(const std::string& text, const std::string& pattern) {
  std::vector<std::string> found;
  const std::regex re(pattern, std::regex::icase);
  for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator(); ++it)
    found.push_back((*it)[1].str());
  return found;
}

std::vector<std::string> Pages() {
  std::vector<std::string> pages;
  for (const auto& entry : fs::directory_iterator(kHelpDir))
    if (entry.path().extension() == ".html") pages.push_back(entry.path().filename().string());
  return pages;
}

std::vector<std::string> SitemapTargets(const std::string& file) {
  return Matches(ReadFile(kHelpDir / file), R"re(<param\s+name="Local"\s+value="([^"#]+))re");
}

TEST(HelpFiles, EveryPageIsListedAndReachableFromTheContents) {
  const std::map<std::string, std::string> options = ProjectPairs("OPTIONS");
  const std::vector<std::string> files = ProjectSection("FILES");
  const std::vector<std::string> toc = SitemapTargets(options.at("Contents file"));
  const std::set<std::string> listed(files.begin(), files.end()), inToc(toc.begin(), toc.end());
  ASSERT_GE(Pages().size(), 10u);
  for (const std::string& page : Pages()) {
    EXPECT_TRUE(listed.count(page)) << page << " is not in [FILES]";
    EXPECT_TRUE(inToc.count(page)) << page << " is not in the contents";
  }
  EXPECT_TRUE(fs::exists(kHelpDir / options.at("Default topic")));
  EXPECT_EQ(options.at("Default topic"), kDefaultHelpPage);
}

TEST(HelpFiles, EveryFileNamedExists) {
  const std::map<std::string, std::string> options = ProjectPairs("OPTIONS");
  struct Source {
    std::string file;
    std::string pattern;  // what names another file
  };
  std::vector<Source> sources = {
      {options.at("Contents file"), R"re(<param\s+name="Local"\s+value="([^"#]+))re"},
      {options.at("Index file"), R"re(<param\s+name="Local"\s+value="([^"#]+))re"},
  };
  for (const std::string& page : Pages()) {
    sources.push_back({page, R"re(<img\s[^>]*src="([^"]+)")re"});
    sources.push_back({page, R"re(<a\s[^>]*href="([^":#]+)[^"]*")re"});  // links inside the file
    sources.push_back({page, R"re(<link\s[^>]*href="([^"]+)")re"});
  }
  for (const Source& source : sources) {
    ASSERT_TRUE(fs::exists(kHelpDir / source.file)) << source.file;
    for (const std::string& named : Matches(ReadFile(kHelpDir / source.file), source.pattern))
      EXPECT_TRUE(fs::exists(kHelpDir / named)) << source.file << " names " << named;
  }
  for (const std::string& file : ProjectSection("FILES")) EXPECT_TRUE(fs::exists(kHelpDir / file)) << file;
  EXPECT_FALSE(SitemapTargets(options.at("Index file")).empty());
}

// The programs show a context as its page (HelpPageFor); the project's
// context map names the same page, for a viewer that looks contexts up.
TEST(HelpFiles, EveryContextTheProgramsShowHasItsPage) {
  std::map<std::string, std::string> alias = ProjectPairs("ALIAS");
  std::map<std::string, std::uint32_t> map;
  for (const std::string& line : ProjectSection("MAP")) {
    std::istringstream words(line);
    std::string define, name, value;
    if (words >> define >> name >> value && define == "#define") map[name] = std::stoul(value, nullptr, 0);
  }
  const std::vector<std::string> files = ProjectSection("FILES");
  std::set<std::uint32_t> contexts;
  for (const HelpTopic* t = HelpTopicsBegin(); t != HelpTopicsEnd(); ++t) {
    SCOPED_TRACE(t->name);
    EXPECT_TRUE(contexts.insert(t->context).second) << "context used twice";
    EXPECT_TRUE(fs::exists(kHelpDir / t->page)) << t->page;
    EXPECT_NE(std::find(files.begin(), files.end(), t->page), files.end());
    ASSERT_TRUE(map.count(t->name));
    EXPECT_EQ(map[t->name], t->context);
    EXPECT_EQ(alias[t->name], t->page);
    EXPECT_STREQ(HelpPageFor(t->context), t->page);
  }
  EXPECT_EQ(map.size(), contexts.size()) << "[MAP] has contexts the programs do not use";
}

}  // namespace
}  // namespace velkor
