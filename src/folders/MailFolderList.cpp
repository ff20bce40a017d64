#include "folders/MailFolderList.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <unordered_set>

#include "folders/Dbx.h"
#include "text/ShiftJis.h"

namespace velkor {

StoreStamp StoreStamp::FromBytes(const std::uint8_t* bytes, std::size_t size) {
  StoreStamp s;
  if (bytes == nullptr || size < kBytes) return s;
  s.first = DbxReadInt4(bytes);
  s.second = DbxReadInt3(bytes + 4);
  return s;
}

std::array<std::uint8_t, StoreStamp::kBytes> StoreStamp::Bytes() const {
  return {static_cast<std::uint8_t>(first), static_cast<std::uint8_t>(first >> 8),
          static_cast<std::uint8_t>(first >> 16), static_cast<std::uint8_t>(first >> 24),
          static_cast<std::uint8_t>(second), static_cast<std::uint8_t>(second >> 8),
          static_cast<std::uint8_t>(second >> 16)};
}

std::string StampPlaceholderText(const StoreStamp& stamp) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string text(8, '0');
  for (int k = 0; k < 8; ++k) text[7 - k] = kHex[(stamp.first >> (4 * k)) & 0xF];
  return text;
}

FolderRefBytes MakeFolderRef(const StoreStamp& stamp, std::uint32_t folderId) {
  FolderRefBytes ref{};
  const auto bytes = stamp.Bytes();
  std::copy(bytes.begin(), bytes.end(), ref.begin());
  ref[7] = 1;
  for (int k = 0; k < 4; ++k) ref[8 + k] = static_cast<std::uint8_t>(folderId >> (8 * k));
  return ref;
}

bool FolderRefMatchesStore(const std::uint8_t* ref, std::size_t size, const StoreStamp& stamp) {
  if (ref == nullptr || size != kFolderRefSize || ref[7] != 1) return false;
  const auto bytes = stamp.Bytes();
  return std::equal(bytes.begin(), bytes.end(), ref);
}

std::uint32_t FolderRefFolderId(const std::uint8_t* ref, std::size_t size) {
  if (ref == nullptr || size != kFolderRefSize) return 0;
  return DbxReadInt4(ref + 8);
}

void MailFolderList::Clear() {
  ids_.clear();
  parentIds_.clear();
  names_.clear();
  stamp_ = StoreStamp{};
}

std::size_t MailFolderList::Load(const std::string& storeRoot) {
  path_.clear();
  if (!storeRoot.empty()) {
    path_ = storeRoot;
    // 0x5C can be the second byte of a double-byte character ("表"): only a
    // backslash that is a character of its own ends the folder name.
    const std::size_t lastPos = path_.size() - 1;
    const char last = path_[lastPos];
    const bool separator = (last == '\\' || last == '/') && sjis::CharStart(path_, lastPos) == lastPos;
    if (!separator) path_ += '\\';
    path_ += kFileName;
  }
  return Reload();
}

std::size_t MailFolderList::Reload() {
  Clear();
  if (path_.empty()) return 0;
  std::ifstream in(path_, std::ios::binary);
  if (!in) return 0;
  return ReadFrom(in);
}

std::size_t MailFolderList::ReadFrom(std::istream& file) {
  Clear();
  // The file is read in one go and its records taken from memory: every seek
  // on a file stream refills its buffer, which over a tree of many records
  // would read the file many times over.
  std::ostringstream bytes;
  file.clear();
  file.seekg(0, std::ios::beg);
  bytes << file.rdbuf();
  std::istringstream in(bytes.str(), std::ios::binary);
  const DbxFileHeader header(in);
  if (!header.IsValid()) return 0;
  const std::uint32_t count = header.FolderTreeCount();
  const std::uint32_t root = header.FolderTreeRoot();
  {
    const DbxFileInfo info(in, DbxFileInfo::kAddress, DbxFileInfo::kLength);
    const auto& block = info.GetFileInfoBuffer();
    stamp_ = StoreStamp::FromBytes(block.data(), block.size());
  }
  if (root == 0 || count == 0) return 0;
  const DbxTree tree(in, root, count);
  // The records the tree names whose marker checks out, in file order. In a
  // sound file no record reaches into the next one; a damaged one can make
  // thousands overlap, each claiming a long body. Cutting each body where the
  // next record starts reads every byte for one record at most.
  const DbxStream stream(in);
  std::vector<std::uint32_t> starts;
  starts.reserve(tree.GetCount());
  for (std::size_t i = 0; i < tree.GetCount(); ++i) {
    const std::uint32_t address = tree.GetValue(static_cast<unsigned long>(i));
    std::vector<std::uint8_t> marker;
    if (stream.Read(address, 4, &marker) && DbxReadInt4(marker.data()) == address) starts.push_back(address);
  }
  std::sort(starts.begin(), starts.end());
  auto roomAfter = [&starts](std::uint32_t address) {
    const auto next = std::upper_bound(starts.begin(), starts.end(), address);
    if (next == starts.end()) return DbxIndexedInfo::kMaxBody;
    const std::uint64_t room = *next - static_cast<std::uint64_t>(address);
    return room <= DbxIndexedInfo::kHeaderSize ? 0u : static_cast<std::uint32_t>(room - DbxIndexedInfo::kHeaderSize);
  };
  // A damaged tree can name one record many times; it is one folder.
  std::unordered_set<std::uint32_t> seen;
  for (std::size_t i = 0; i < tree.GetCount(); ++i) {
    const std::uint32_t address = tree.GetValue(static_cast<unsigned long>(i));
    if (!seen.insert(address).second) continue;
    const DbxFolderInfo folder(in, address, roomAfter(address));
    if (!folder.IsValid() || !folder.IsFolder()) continue;
    ids_.push_back(folder.Id());
    parentIds_.push_back(folder.ParentId());
    names_.push_back(folder.Name());
  }
  return ids_.size();
}

bool MailFolderList::HasFolder(std::uint32_t id) const {
  return std::find(ids_.begin(), ids_.end(), id) != ids_.end();
}

bool MailFolderList::Holds(const std::uint8_t* ref, std::size_t size) const {
  return FolderRefMatchesStore(ref, size, stamp_) && HasFolder(FolderRefFolderId(ref, size));
}

bool MailFolderList::SameContents(const MailFolderList& other) const {
  return stamp_ == other.stamp_ && ids_ == other.ids_ && parentIds_ == other.parentIds_ && names_ == other.names_;
}

}  // namespace velkor
