#pragma once
// The order in which the folder tree is built from a folder list: the top item
// "Outlook Express", folder 1 below it, the special folders 8 down to 2 each as
// the first child of its parent (so they end up in ascending order), then the
// user folders (9 and above) in list order as last children. The tree control
// only carries the insertions out.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "folders/MailFolderList.h"

namespace velkor {

// Image positions in bitmap 135 (16 x 16 each, magenta transparent).
namespace folderimage {
constexpr int kTop = 0;         // "Outlook Express"
constexpr int kLocal = 1;       // folder 1, the local folders
constexpr int kInbox = 2;       // folder 4
constexpr int kOutbox = 3;      // folder 5
constexpr int kSent = 4;        // folder 6
constexpr int kDeleted = 5;     // folder 7
constexpr int kDrafts = 6;      // folder 8
constexpr int kFolder = 7;      // folders 2, 3 and every user folder
constexpr int kCount = 8;
}  // namespace folderimage

// Image of a folder number inside the tree (the top item uses kTop).
int FolderImage(std::uint32_t folderId);

struct FolderTreeInsertion {
  static constexpr int kRoot = -1;

  int parent = kRoot;        // index of an earlier insertion, or kRoot
  bool first = false;        // insert as the parent's first child (else last)
  std::uint32_t folderId = 0;  // the item's data
  int image = 0;             // normal and selected image
  std::string text;
};

extern const char* const kFolderTreeTopText;  // "Outlook Express"

std::vector<FolderTreeInsertion> FolderTreeInsertions(const MailFolderList& list);

}  // namespace velkor
