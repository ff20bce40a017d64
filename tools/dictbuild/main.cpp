// dictbuild SOURCE.txt OUTPUT.dat — writes the NG-word dictionary. The output
// is written whole or not at all, so a failed run never leaves a half-written
// dictionary behind.

#include <cstdio>
#include <memory>
#include <string>

#include "DictionaryBuilder.h"
#include "platform/WholeFile.h"

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

bool ReadFile(const char* path, std::string& content) {
  std::unique_ptr<std::FILE, FileCloser> f(std::fopen(path, "rb"));
  if (!f) return false;
  char buffer[65536];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f.get())) > 0) content.append(buffer, n);
  return std::ferror(f.get()) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: dictbuild SOURCE.txt OUTPUT.dat\n");
    return 2;
  }
  std::string source;
  if (!ReadFile(argv[1], source)) {
    std::fprintf(stderr, "dictbuild: cannot read %s\n", argv[1]);
    return 1;
  }
  const velkor::dictbuild::BuildResult result = velkor::dictbuild::BuildDictionary(source);
  for (const std::string& error : result.errors) std::fprintf(stderr, "%s:%s\n", argv[1], error.c_str() + 5);
  if (!result.ok) return 1;
  std::string error;
  if (!velkor::SaveFileWhole(argv[2], result.content, &error)) {
    std::fprintf(stderr, "dictbuild: cannot write %s: %s\n", argv[2], error.c_str());
    return 1;
  }
  std::printf("dictbuild: %zu words written to %s\n", result.words, argv[2]);
  return 0;
}
