#include "folders/Dbx.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

namespace velkor {

namespace {

constexpr std::uint8_t kSignature[8] = {0xCF, 0xAD, 0x12, 0xFE, 0xC6, 0xFD, 0x74, 0x6F};

}  // namespace

DbxStream::DbxStream(std::istream& in) : in_(&in) {
  in.clear();
  in.seekg(0, std::ios::end);
  const std::streamoff end = in.tellg();
  size_ = end > 0 ? static_cast<std::uint64_t>(end) : 0;
  in.clear();
}

bool DbxStream::Read(std::uint64_t offset, std::size_t length, std::vector<std::uint8_t>* out) const {
  if (offset > size_ || length > size_ - offset) return false;
  return ReadUpTo(offset, length, out) == length;
}

std::size_t DbxStream::ReadUpTo(std::uint64_t offset, std::size_t length, std::vector<std::uint8_t>* out) const {
  out->clear();
  if (offset >= size_) return 0;
  const std::uint64_t available = size_ - offset;
  if (length > available) length = static_cast<std::size_t>(available);
  out->resize(length);
  if (length == 0) return 0;
  in_->clear();
  in_->seekg(static_cast<std::streamoff>(offset), std::ios::beg);
  in_->read(reinterpret_cast<char*>(out->data()), static_cast<std::streamsize>(length));
  const std::streamsize got = in_->gcount();
  in_->clear();
  out->resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return out->size();
}

std::uint32_t DbxReadInt4(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::uint32_t DbxReadInt3(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16;
}

DbxFileHeader::DbxFileHeader(std::istream& in) {
  DbxStream stream(in);
  if (!stream.Read(0, kSize, &bytes_)) {
    bytes_.clear();
    return;
  }
  valid_ = std::memcmp(bytes_.data(), kSignature, sizeof kSignature) == 0;
}

std::uint32_t DbxFileHeader::GetValue(std::size_t index) const {
  if (!valid_ || index >= kSize / 4) return 0;
  return DbxReadInt4(bytes_.data() + index * 4);
}

DbxFileInfo::DbxFileInfo(std::istream& in, unsigned long address, unsigned long length) {
  DbxStream stream(in);
  stream.ReadUpTo(address, length, &bytes_);
}

DbxTree::DbxTree(std::istream& in, unsigned long rootAddress, unsigned long entryCount) {
  DbxStream stream(in);
  struct Node {
    std::uint32_t leftChild = 0;
    std::vector<std::uint8_t> body;  // count entries of 12 bytes
    std::size_t count = 0;
    std::size_t next = 0;   // next entry to visit
    bool leftDone = false;
  };
  std::unordered_set<std::uint32_t> seen;
  std::vector<Node> stack;

  // Reads and checks the node at `address`; a node seen before (a cycle, or a
  // subtree shared by two parents) is refused so every walk ends.
  auto push = [&](std::uint32_t address) {
    if (address == 0 || !seen.insert(address).second) return;
    std::vector<std::uint8_t> head;
    if (!stream.Read(address, kNodeHeaderSize, &head)) return;
    if (DbxReadInt4(head.data()) != address) return;
    const std::size_t count = head[0x11];
    if (count > kMaxEntries) return;
    Node node;
    if (!stream.Read(static_cast<std::uint64_t>(address) + kNodeHeaderSize, count * kEntrySize, &node.body)) return;
    node.leftChild = DbxReadInt4(head.data() + 0x08);
    node.count = count;
    stack.push_back(std::move(node));
  };

  push(static_cast<std::uint32_t>(rootAddress));
  while (!stack.empty() && values_.size() < entryCount) {
    Node& top = stack.back();
    if (!top.leftDone) {
      top.leftDone = true;
      push(top.leftChild);  // may reallocate: `top` is not used after this
      continue;
    }
    if (top.next < top.count) {
      const std::uint8_t* entry = top.body.data() + top.next * kEntrySize;
      ++top.next;
      values_.push_back(DbxReadInt4(entry));
      push(DbxReadInt4(entry + 4));
      continue;
    }
    stack.pop_back();
  }
}

DbxIndexedInfo::DbxIndexedInfo(std::istream& in, unsigned long address, std::uint32_t bodyLimit) {
  DbxStream stream(in);
  std::vector<std::uint8_t> head;
  if (!stream.Read(address, kHeaderSize, &head)) return;
  if (DbxReadInt4(head.data()) != address) return;
  // A body that runs past the end of the file is read as far as it goes; a
  // damaged length is not followed further than any record can be long.
  std::vector<std::uint8_t> body;
  const std::uint32_t length = std::min({DbxReadInt4(head.data() + 4), kMaxBody, bodyLimit});
  stream.ReadUpTo(static_cast<std::uint64_t>(address) + kHeaderSize, length, &body);
  valid_ = true;

  const std::size_t n = head[0x0A];
  const std::size_t indexEnd = std::min(n * 4, body.size());
  data_.assign(body.begin() + static_cast<std::ptrdiff_t>(indexEnd), body.end());
  for (std::size_t k = 0; k + 4 <= indexEnd; k += 4) {
    const std::uint8_t* e = body.data() + k;
    Entry& entry = entries_[e[0] & 0x7F];
    if (entry.present) continue;  // the first entry of an index counts
    entry.present = true;
    entry.direct = (e[0] & 0x80) != 0;
    entry.value = DbxReadInt3(e + 1);
  }
}

bool DbxIndexedInfo::Holds(unsigned char index) const {
  if (index > kMaxIndex) return false;
  const Entry& e = entries_[index];
  return e.present && (e.direct || e.value < data_.size());
}

std::uint32_t DbxIndexedInfo::GetValue(unsigned char index) const {
  if (!Holds(index)) return 0;
  const Entry& e = entries_[index];
  if (e.direct) return e.value;
  if (data_.size() - e.value < 4) return 0;
  return DbxReadInt4(data_.data() + e.value);
}

std::string DbxIndexedInfo::GetString(unsigned char index) const {
  if (!Holds(index) || entries_[index].direct) return std::string();
  const auto begin = data_.begin() + entries_[index].value;
  return std::string(begin, std::find(begin, data_.end(), std::uint8_t{0}));
}

}  // namespace velkor
