// Readers of outside data against inputs made to be slow. Each must grow with
// the size of its input (or, for an export, of its output), never faster.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "VCard.h"
#include "folders/MailFolderList.h"
#include "registry/MemoryRegistry.h"
#include "registry/RegFile.h"

namespace {

using velkor::MemoryRegistry;
using velkor::RegRoot;

// A rules key whose Order names `items` rules, about 4 bytes per item.
std::string OrderFile(int items) {
  std::string order;
  order.reserve(static_cast<std::size_t>(items) * 4);
  char name[8];
  for (int i = 0; i < items; ++i) {
    std::snprintf(name, sizeof name, i ? " %03x" : "%03x", i % 4096);
    order += name;
  }
  return "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Identities\\{A}\\Software\\Microsoft\\Outlook Express\\5.0\\Rules\\Mail]\r\n"
         "\"Version\"=dword:00050000\r\n\"Order\"=\"" + order + "\"\r\n";
}

void BM_ImportOrderFile(benchmark::State& state) {
  const std::string file = OrderFile(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    MemoryRegistry reg;
    velkor::RegFileError error;
    if (!velkor::ImportRegFile(reg, file, &error)) state.SkipWithError("import failed");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ImportOrderFile)->Arg(250000)->Arg(1000000)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);

std::string DeepPath(int depth) {
  std::string path = "k";
  for (int i = 1; i < depth; ++i) path += "\\k";
  return path;
}

// Every level of a deep key is a section of the file with its full path, so
// the output grows as the square of the depth; the time must follow the
// output, which the bytes per second show.
void BM_ExportDeepKey(benchmark::State& state) {
  MemoryRegistry reg;
  const std::string path = DeepPath(static_cast<int>(state.range(0)));
  reg.SetRaw(RegRoot::CurrentUser, path, "v", velkor::regtype::kDword, {1, 0, 0, 0});
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string out = velkor::ExportRegFile(reg, RegRoot::CurrentUser, {"k"}, velkor::RegFileFormat::Regedit4);
    bytes += out.size();
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_ExportDeepKey)->Arg(1000)->Arg(2000)->Arg(4000)->Unit(benchmark::kMillisecond);

void BM_FreeDeepKey(benchmark::State& state) {
  const std::string path = DeepPath(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    auto reg = std::make_unique<MemoryRegistry>();
    reg->SetRaw(RegRoot::CurrentUser, path, "v", velkor::regtype::kDword, {1, 0, 0, 0});
    reg.reset();
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_FreeDeepKey)->Arg(25000)->Arg(100000)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);

void PutInt4(std::string& b, std::size_t at, std::uint32_t v) {
  for (int k = 0; k < 4; ++k) b[at + k] = static_cast<char>(v >> (8 * k));
}

// A Folders.dbx of `size` bytes: every 4-byte word of its first half holds its
// own offset, so each record the tree names there passes its marker check and
// claims a body far longer than the 12 bytes to the next record; the second
// half is tree nodes, 51 entries each, naming those records.
std::string OverlappingDbx(std::size_t size) {
  std::string b(size, '\0');
  const char signature[8] = {'\xCF', '\xAD', '\x12', '\xFE', '\xC6', '\xFD', '\x74', '\x6F'};
  b.replace(0, 8, signature, 8);
  const std::uint32_t recordsStart = 0x2600;
  const auto recordsEnd = static_cast<std::uint32_t>(size / 2);
  for (std::uint32_t at = recordsStart; at < recordsEnd; at += 4) PutInt4(b, at, at);
  const std::uint32_t nodeSize = 0x18 + 51 * 12;
  const std::uint32_t nodes = static_cast<std::uint32_t>((size - recordsEnd) / nodeSize);
  std::uint32_t record = recordsStart;
  for (std::uint32_t k = 0; k < nodes; ++k) {
    const std::uint32_t node = recordsEnd + k * nodeSize;
    PutInt4(b, node, node);
    b[node + 0x11] = 51;
    for (std::uint32_t e = 0; e < 51; ++e) {
      const std::uint32_t child = 51 * k + 1 + e;
      PutInt4(b, node + 0x18 + e * 12, record);
      PutInt4(b, node + 0x18 + e * 12 + 4, child < nodes ? recordsEnd + child * nodeSize : 0);
      record += 12;
    }
  }
  PutInt4(b, 0xC4, nodes * 51);
  PutInt4(b, 0xE4, recordsEnd);
  return b;
}

void BM_DbxOverlappingRecords(benchmark::State& state) {
  const std::string file = OverlappingDbx(static_cast<std::size_t>(state.range(0)) << 20);
  for (auto _ : state) {
    std::istringstream in(file, std::ios::binary);
    velkor::MailFolderList list;
    benchmark::DoNotOptimize(list.ReadFrom(in));
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_DbxOverlappingRecords)->Arg(2)->Arg(8)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);

void BM_VCardSoftBreaks(benchmark::State& state) {
  std::string file = "BEGIN:VCARD\r\nVERSION:2.1\r\nFN;ENCODING=QUOTED-PRINTABLE:";
  while (file.size() < static_cast<std::size_t>(state.range(0)) << 10) file += "=41=42=43=44=45=46=\r\n";
  file += "\r\nEMAIL:a@example.jp\r\nEND:VCARD\r\n";
  for (auto _ : state) {
    const auto cards = velkor::vcard::Parse(file, nullptr);
    if (cards.size() != 1) state.SkipWithError("card lost");
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_VCardSoftBreaks)->Arg(128)->Arg(512)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
