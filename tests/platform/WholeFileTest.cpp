// A file is written whole or not at all: whatever step fails, the old file
// keeps its bytes, no temporary file stays behind, and the error names the file.

#include "platform/WholeFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace velkor {
namespace {

class Faults : public WriteFaults {
 public:
  Faults(std::size_t limit, bool replace) : limit_(limit), replace_(replace) {}
  std::size_t Accept(std::size_t written, std::size_t size) override {
    return written >= limit_ ? 0 : std::min(size, limit_ - written);
  }
  bool AllowReplace() override { return replace_; }

 private:
  std::size_t limit_;
  bool replace_;
};

bool Read(const std::string& path, std::string* bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

TEST(WholeFileTest, AFailedStepLeavesTheOldFileAsItWas) {
  const std::string folder = ::testing::TempDir();
  const std::string big(3 << 20, 'x');  // more than one chunk
  const struct {
    const char* what;
    std::string path;
    std::size_t limit;
    bool replace;
    bool written;
  } cases[] = {
      {"written whole", folder + "whole-ok.reg", std::string::npos, true, true},
      {"the disk fills after 4096 bytes", folder + "whole-4096.reg", 4096, true, false},
      {"the disk fills in the second chunk", folder + "whole-chunk.reg", (1 << 20) + 17, true, false},
      {"the disk is full from the start", folder + "whole-full.reg", 0, true, false},
      {"the target cannot be replaced", folder + "whole-replace.reg", std::string::npos, false, false},
      {"the folder does not exist", folder + "no such folder/whole.reg", std::string::npos, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const bool folderExists = c.path.find("no such folder") == std::string::npos;
    if (folderExists) {
      ASSERT_TRUE(SaveFileWhole(c.path, "old bytes"));
    }
    Faults faults(c.limit, c.replace);
    std::string error, bytes;
    EXPECT_EQ(SaveFileWhole(c.path, big, &error, &faults), c.written);
    EXPECT_EQ(error.empty(), c.written);
    if (!c.written) {
      EXPECT_NE(error.find(c.path), std::string::npos);
    }
    EXPECT_EQ(Read(c.path, &bytes), folderExists);
    if (folderExists) {
      EXPECT_EQ(bytes, c.written ? big : "old bytes");
    }
    EXPECT_FALSE(Read(c.path + ".tmp", &bytes));
    std::remove(c.path.c_str());
  }
}

}  // namespace
}  // namespace velkor
