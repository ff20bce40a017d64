#pragma once
// The pieces of an Outlook Express ".dbx" container that the folder list
// needs: the file header, the file-info block, the main tree and the indexed
// records ("folder infos"). Every object reads from a binary std::istream and
// never trusts the file: reads outside the stream, bad markers, oversized
// counts and cycles give an empty or partial result, never an out-of-bounds
// read or an endless walk.

#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>
#include <vector>

namespace velkor {

// Bounded reads at absolute offsets of a seekable stream.
class DbxStream {
 public:
  explicit DbxStream(std::istream& in);
  std::uint64_t Size() const { return size_; }
  // Reads exactly `length` bytes at `offset`; false (and nothing read) when
  // they do not all lie inside the stream.
  bool Read(std::uint64_t offset, std::size_t length, std::vector<std::uint8_t>* out) const;
  // Reads as many of `length` bytes at `offset` as the stream holds.
  std::size_t ReadUpTo(std::uint64_t offset, std::size_t length, std::vector<std::uint8_t>* out) const;

 private:
  std::istream* in_;
  std::uint64_t size_ = 0;
};

std::uint32_t DbxReadInt4(const std::uint8_t* p);
std::uint32_t DbxReadInt3(const std::uint8_t* p);

class DbxFileHeader {
 public:
  static constexpr std::uint32_t kSize = 0x24BC;
  static constexpr std::size_t kFolderTreeCountIndex = 0x31;  // offset 0xC4
  static constexpr std::size_t kFolderTreeRootIndex = 0x39;   // offset 0xE4

  explicit DbxFileHeader(std::istream& in);

  // The whole header could be read and carries the signature of a folder file.
  bool IsValid() const { return valid_; }
  // Int4 value number `index` of the header (0 when not valid or out of range).
  std::uint32_t GetValue(std::size_t index) const;
  std::uint32_t FolderTreeCount() const { return GetValue(kFolderTreeCountIndex); }
  std::uint32_t FolderTreeRoot() const { return GetValue(kFolderTreeRootIndex); }

 private:
  std::vector<std::uint8_t> bytes_;
  bool valid_ = false;
};

class DbxFileInfo {
 public:
  static constexpr std::uint32_t kAddress = 0x24BC;
  static constexpr std::uint32_t kLength = 0x108;

  // Reads what lies of [address, address + length) inside the stream.
  DbxFileInfo(std::istream& in, unsigned long address, unsigned long length);
  const std::vector<std::uint8_t>& GetFileInfoBuffer() const { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
};

// The values of a tree, in order. Invalid nodes (outside the file, marker not
// equal to the node's offset, more than 0x33 entries) and nodes met a second
// time are left out together with their subtrees.
class DbxTree {
 public:
  static constexpr std::uint32_t kNodeHeaderSize = 0x18;
  static constexpr std::uint32_t kEntrySize = 12;
  static constexpr std::uint32_t kMaxEntries = 0x33;

  DbxTree(std::istream& in, unsigned long rootAddress, unsigned long entryCount);
  // The number of values that could be read (at most the entry count).
  std::size_t GetCount() const { return values_.size(); }
  // Value i, or 0 when i is beyond what could be read.
  std::uint32_t GetValue(unsigned long i) const { return i < values_.size() ? values_[i] : 0; }

 private:
  std::vector<std::uint32_t> values_;
};

class DbxIndexedInfo {
 public:
  static constexpr std::uint32_t kHeaderSize = 12;
  static constexpr unsigned kMaxIndex = 0x7F;
  // Folder records hold a few short texts; more body than this is damage.
  static constexpr std::uint32_t kMaxBody = 0x10000;

  // `bodyLimit` cuts the body shorter still: a reader that knows where the
  // next record begins passes the room up to it, so records that a damaged
  // file lets overlap are not each read at full length.
  DbxIndexedInfo(std::istream& in, unsigned long address, std::uint32_t bodyLimit = kMaxBody);
  virtual ~DbxIndexedInfo() = default;

  // The record was found at its address (marker equal to the address).
  bool IsValid() const { return valid_; }
  // The record has an entry for `index` whose value lies inside its data.
  bool Holds(unsigned char index) const;
  // A number: the direct int3, or the int4 in the data field (0 when absent
  // or when fewer than four data bytes remain).
  std::uint32_t GetValue(unsigned char index) const;
  // Text up to its NUL or the end of the data field ("" when absent).
  std::string GetString(unsigned char index) const;

 private:
  struct Entry {
    bool present = false;
    bool direct = false;
    std::uint32_t value = 0;  // the direct value, or the offset into the data field
  };
  std::vector<std::uint8_t> data_;  // the data field
  Entry entries_[kMaxIndex + 1];
  bool valid_ = false;
};

// A record of the folder tree.
class DbxFolderInfo : public DbxIndexedInfo {
 public:
  static constexpr unsigned char kIndexId = 0;
  static constexpr unsigned char kIndexParentId = 1;
  static constexpr unsigned char kIndexName = 2;

  using DbxIndexedInfo::DbxIndexedInfo;
  bool IsFolder() const { return Holds(kIndexName); }
  std::uint32_t Id() const { return GetValue(kIndexId); }
  std::uint32_t ParentId() const { return GetValue(kIndexParentId); }
  std::string Name() const { return GetString(kIndexName); }
};

}  // namespace velkor
