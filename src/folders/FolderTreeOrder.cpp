#include "folders/FolderTreeOrder.h"

#include <unordered_map>

namespace velkor {

const char* const kFolderTreeTopText = "Outlook Express";

int FolderImage(std::uint32_t folderId) {
  switch (folderId) {
    case 1: return folderimage::kLocal;
    case 4: return folderimage::kInbox;
    case 5: return folderimage::kOutbox;
    case 6: return folderimage::kSent;
    case 7: return folderimage::kDeleted;
    case 8: return folderimage::kDrafts;
    default: return folderimage::kFolder;
  }
}

std::vector<FolderTreeInsertion> FolderTreeInsertions(const MailFolderList& list) {
  std::vector<FolderTreeInsertion> out;
  // The first insertion carrying each folder number: parents are looked up in
  // insertion order, so the earliest item with that data wins.
  std::unordered_map<std::uint32_t, int> firstItem;
  auto insert = [&](int parent, bool first, std::uint32_t id, int image, const std::string& text) {
    out.push_back({parent, first, id, image, text});
    firstItem.emplace(id, static_cast<int>(out.size() - 1));
  };
  auto itemOf = [&](std::uint32_t id) {
    const auto it = firstItem.find(id);
    return it == firstItem.end() ? -2 : it->second;
  };

  insert(FolderTreeInsertion::kRoot, false, 0, folderimage::kTop, kFolderTreeTopText);

  const std::size_t n = list.Count();
  for (std::size_t i = 0; i < n; ++i) {
    if (list.Id(i) == 1) {
      insert(0, false, 1, FolderImage(1), list.Name(i));
      break;
    }
  }
  for (std::uint32_t special = 8; special >= 2; --special) {
    for (std::size_t i = 0; i < n; ++i) {
      if (list.Id(i) != special) continue;
      const int parent = itemOf(list.ParentId(i));
      if (parent >= 0) insert(parent, true, special, FolderImage(special), list.Name(i));
    }
  }
  for (std::size_t i = 0; i < n; ++i) {
    if (list.Id(i) < 9 || list.ParentId(i) == 0) continue;
    const int parent = itemOf(list.ParentId(i));
    if (parent >= 0) insert(parent, false, list.Id(i), folderimage::kFolder, list.Name(i));
  }
  return out;
}

}  // namespace velkor
