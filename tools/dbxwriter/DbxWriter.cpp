#include "DbxWriter.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "platform/WholeFile.h"

namespace velkor::dbxwriter {

namespace {

constexpr std::uint32_t kHeaderSize = 0x24BC;
constexpr std::uint32_t kInfoSize = 0x108;
constexpr std::uint32_t kNodeSize = 0x27C;
constexpr unsigned kMaxEntries = 0x33;

void PutInt4(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  for (int k = 0; k < 4; ++k) b[at + k] = static_cast<std::uint8_t>(v >> (8 * k));
}

struct Node {
  std::uint32_t offset = 0;
  std::unique_ptr<Node> left;
  std::size_t leftCount = 0;
  struct Entry {
    std::uint32_t value = 0;
    std::unique_ptr<Node> child;
    std::size_t childCount = 0;
  };
  std::vector<Entry> entries;
};

// Largest number of values a subtree of the given height holds.
std::size_t Capacity(unsigned perNode, unsigned height) {
  std::size_t c = perNode;
  for (unsigned h = 0; h < height; ++h) c = (c + 1) * (perNode + 1) - 1;
  return c;
}

std::unique_ptr<Node> Build(const std::uint32_t* values, std::size_t n, unsigned perNode) {
  if (n == 0) return nullptr;
  auto node = std::make_unique<Node>();
  if (n <= perNode) {
    for (std::size_t i = 0; i < n; ++i) node->entries.push_back({values[i], nullptr, 0});
    return node;
  }
  unsigned height = 1;
  while (Capacity(perNode, height) < n) ++height;
  const std::size_t sub = Capacity(perNode, height - 1);
  // k separator values and k + 1 children that share the rest evenly.
  std::size_t k = (n + 1 + sub) / (sub + 1) - 1;
  k = std::max<std::size_t>(1, std::min<std::size_t>(k, perNode));
  const std::size_t rest = n - k;
  const std::size_t q = rest / (k + 1), r = rest % (k + 1);
  std::size_t pos = 0;
  auto take = [&](std::size_t child) {
    const std::size_t len = q + (child < r ? 1 : 0);
    auto sub = Build(values + pos, len, perNode);
    pos += len;
    return std::make_pair(std::move(sub), len);
  };
  auto [left, leftCount] = take(0);
  node->left = std::move(left);
  node->leftCount = leftCount;
  for (std::size_t e = 0; e < k; ++e) {
    const std::uint32_t value = values[pos++];
    auto [child, count] = take(e + 1);
    node->entries.push_back({value, std::move(child), count});
  }
  return node;
}

void Place(Node* node, std::uint32_t* next, std::vector<Node*>* order) {
  if (!node) return;
  node->offset = *next;
  *next += kNodeSize;
  order->push_back(node);
  Place(node->left.get(), next, order);
  for (auto& e : node->entries) Place(e.child.get(), next, order);
}

void WriteNode(std::vector<std::uint8_t>& b, const Node& node, std::uint32_t parent) {
  const std::size_t at = node.offset;
  PutInt4(b, at, node.offset);
  PutInt4(b, at + 0x08, node.left ? node.left->offset : 0);
  PutInt4(b, at + 0x0C, parent);
  b[at + 0x11] = static_cast<std::uint8_t>(node.entries.size());
  PutInt4(b, at + 0x14, static_cast<std::uint32_t>(node.leftCount));
  for (std::size_t k = 0; k < node.entries.size(); ++k) {
    const auto& e = node.entries[k];
    const std::size_t ea = at + 0x18 + 12 * k;
    PutInt4(b, ea, e.value);
    PutInt4(b, ea + 4, e.child ? e.child->offset : 0);
    PutInt4(b, ea + 8, static_cast<std::uint32_t>(e.childCount));
  }
  if (node.left) WriteNode(b, *node.left, node.offset);
  for (const auto& e : node.entries) {
    if (e.child) WriteNode(b, *e.child, node.offset);
  }
}

// One indexed record: index 0 folder number, 1 parent number, 2 the name.
std::vector<std::uint8_t> Record(const FolderSpec& f, std::uint32_t offset, bool numbersInData) {
  struct Index {
    std::uint8_t number;
    bool direct;
    std::uint32_t value;
  };
  std::vector<Index> index;
  std::vector<std::uint8_t> data;
  auto number = [&](std::uint8_t idx, std::uint32_t v) {
    if (!numbersInData && v < 0x1000000) {
      index.push_back({idx, true, v});
      return;
    }
    index.push_back({idx, false, static_cast<std::uint32_t>(data.size())});
    for (int k = 0; k < 4; ++k) data.push_back(static_cast<std::uint8_t>(v >> (8 * k)));
  };
  number(0, f.id);
  number(1, f.parentId);
  if (f.hasName) {
    index.push_back({2, false, static_cast<std::uint32_t>(data.size())});
    data.insert(data.end(), f.name.begin(), f.name.end());
    data.push_back(0);
  }
  while (data.size() % 4 != 0) data.push_back(0);
  const std::uint32_t body = static_cast<std::uint32_t>(index.size() * 4 + data.size());
  std::vector<std::uint8_t> r(12 + body, 0);
  PutInt4(r, 0, offset);
  PutInt4(r, 4, body);
  r[8] = static_cast<std::uint8_t>(r.size());
  r[9] = static_cast<std::uint8_t>(r.size() >> 8);
  r[0x0A] = static_cast<std::uint8_t>(index.size());
  for (std::size_t k = 0; k < index.size(); ++k) {
    r[12 + 4 * k] = static_cast<std::uint8_t>(index[k].number | (index[k].direct ? 0x80 : 0));
    r[13 + 4 * k] = static_cast<std::uint8_t>(index[k].value);
    r[14 + 4 * k] = static_cast<std::uint8_t>(index[k].value >> 8);
    r[15 + 4 * k] = static_cast<std::uint8_t>(index[k].value >> 16);
  }
  std::copy(data.begin(), data.end(), r.begin() + 12 + static_cast<std::ptrdiff_t>(index.size() * 4));
  return r;
}

}  // namespace

std::vector<std::uint8_t> WriteFoldersDbx(const std::vector<FolderSpec>& folders, const Options& options,
                                          Layout* layout) {
  std::vector<std::uint8_t> b(kHeaderSize + kInfoSize, 0);
  static const std::uint8_t kSignature[8] = {0xCF, 0xAD, 0x12, 0xFE, 0xC6, 0xFD, 0x74, 0x6F};
  std::copy(kSignature, kSignature + 8, b.begin());
  PutInt4(b, 0x1C, kInfoSize);
  std::copy(options.fileTime.begin(), options.fileTime.end(), b.begin() + kHeaderSize);
  b[kHeaderSize + 8] = 1;

  std::vector<std::uint32_t> records;
  for (const auto& f : folders) {
    const auto offset = static_cast<std::uint32_t>(b.size());
    const auto r = Record(f, offset, options.numbersInData);
    b.insert(b.end(), r.begin(), r.end());
    records.push_back(offset);
  }

  const unsigned perNode = std::clamp(options.nodeCapacity, 1u, kMaxEntries);
  auto root = Build(records.data(), records.size(), perNode);
  std::vector<Node*> order;
  auto next = static_cast<std::uint32_t>(b.size());
  Place(root.get(), &next, &order);
  b.resize(next, 0);
  if (root) WriteNode(b, *root, 0);

  PutInt4(b, 0xC4, static_cast<std::uint32_t>(records.size()));
  PutInt4(b, 0xE4, root ? root->offset : 0);
  if (layout) {
    layout->recordOffsets = records;
    layout->nodeOffsets.clear();
    for (const Node* n : order) layout->nodeOffsets.push_back(n->offset);
  }
  return b;
}

std::vector<std::uint8_t> WriteFoldersDbx(const std::vector<FolderSpec>& folders, const Options& options) {
  return WriteFoldersDbx(folders, options, nullptr);
}

bool WriteFoldersDbxFile(const std::string& path, const std::vector<FolderSpec>& folders, const Options& options) {
  const auto bytes = WriteFoldersDbx(folders, options);
  return SaveFileWhole(path, std::string(bytes.begin(), bytes.end()));
}

std::vector<FolderSpec> DemoFolders() {
  return {
      {0, 0, ""},
      {1, 0, "ローカル フォルダ"},
      {4, 1, "受信トレイ"},
      {5, 1, "送信トレイ"},
      {6, 1, "送信済みアイテム"},
      {7, 1, "削除済みアイテム"},
      {8, 1, "下書き"},
      {0x100, 1, "迷惑メール"},
      {0x101, 1, "仕事"},
      {0x102, 0x101, "取引先"},
      {0x103, 1, "家族"},
      {0x104, 0x103, "学校の連絡"},
      {0x105, 1, "メールマガジン"},
  };
}

std::array<std::uint8_t, 8> DemoFileTime() {
  // The demo registry's move rule names folder 0x105 of the store 1D2C3B4A CDAB12.
  return {{0x1D, 0x2C, 0x3B, 0x4A, 0xCD, 0xAB, 0x12, 0x01}};
}

}  // namespace velkor::dbxwriter
