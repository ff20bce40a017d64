#pragma once
// The folders of one Outlook Express mail store, read from its "Folders.dbx",
// and the store stamp that begins every folder reference of a move or copy
// action.

#include <array>
#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>
#include <vector>

namespace velkor {

// The first seven bytes of the file-info block of "Folders.dbx".
struct StoreStamp {
  std::uint32_t first = 0;   // bytes 0-3
  std::uint32_t second = 0;  // bytes 4-6 in the low 24 bits

  static constexpr std::size_t kBytes = 7;
  // From the first seven bytes of a buffer; 0, 0 when it is shorter.
  static StoreStamp FromBytes(const std::uint8_t* bytes, std::size_t size);
  std::array<std::uint8_t, kBytes> Bytes() const;
  bool operator==(const StoreStamp& o) const { return first == o.first && second == o.second; }
  bool operator!=(const StoreStamp& o) const { return !(*this == o); }
};

// The stamp's first word as the templates' drag placeholder shows it: "%08X"
// ("00000000" without a store).
std::string StampPlaceholderText(const StoreStamp& stamp);

// A folder reference: stamp bytes 0-6, byte 7 = 1, bytes 8-11 the folder number.
constexpr std::size_t kFolderRefSize = 12;
using FolderRefBytes = std::array<std::uint8_t, kFolderRefSize>;

FolderRefBytes MakeFolderRef(const StoreStamp& stamp, std::uint32_t folderId);
// The reference is 12 bytes long, starts with the stamp's bytes and has byte 7 = 1.
bool FolderRefMatchesStore(const std::uint8_t* ref, std::size_t size, const StoreStamp& stamp);
// Bytes 8-11 of a 12-byte reference (0 for any other size).
std::uint32_t FolderRefFolderId(const std::uint8_t* ref, std::size_t size);

class MailFolderList {
 public:
  static constexpr const char* kFileName = "Folders.dbx";

  // Reads storeRoot + "Folders.dbx" (storeRoot normally ends in a backslash;
  // one is added when it ends in no separator). An empty root, a missing or
  // unreadable file gives empty lists and the stamp 0, 0. Returns Count().
  std::size_t Load(const std::string& storeRoot);
  // Reads the stored path again.
  std::size_t Reload();
  // Replaces the contents with what the stream holds (the path is kept).
  std::size_t ReadFrom(std::istream& in);
  void Clear();

  const std::string& FilePath() const { return path_; }
  std::size_t Count() const { return ids_.size(); }
  std::uint32_t Id(std::size_t i) const { return ids_[i]; }
  std::uint32_t ParentId(std::size_t i) const { return parentIds_[i]; }
  const std::string& Name(std::size_t i) const { return names_[i]; }
  const StoreStamp& Stamp() const { return stamp_; }

  // True when the reference names a folder of this store: its stamp bytes
  // equal the stamp, byte 7 is 1 and its folder number is one of the ids.
  bool Holds(const std::uint8_t* ref, std::size_t size) const;
  bool Holds(const FolderRefBytes& ref) const { return Holds(ref.data(), ref.size()); }
  bool HasFolder(std::uint32_t id) const;

  // Same folders in the same order and the same stamp (the path is not compared).
  bool SameContents(const MailFolderList& other) const;

 private:
  std::string path_;
  std::vector<std::uint32_t> ids_;
  std::vector<std::uint32_t> parentIds_;
  std::vector<std::string> names_;
  StoreStamp stamp_;
};

}  // namespace velkor
