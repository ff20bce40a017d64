#pragma once
// The folder tree of the action pane: shows one MailFolderList in the order
// FolderTreeInsertions computes, with the images of bitmap 135. Every item's
// data is its folder number; the top item "Outlook Express" carries 0.

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <vector>

#include "folders/MailFolderList.h"
#include "win/Controls.h"

namespace velkor {

class CMailFolderTreeCtrl : public win::TreeView {
 public:
  static constexpr int kImageBitmap = 135;
  static constexpr int kImageSize = 16;

  CMailFolderTreeCtrl() = default;
  explicit CMailFolderTreeCtrl(HWND tree) : TreeView(tree) {}
  CMailFolderTreeCtrl(HWND dialog, int id) : TreeView(dialog, id) {}
  ~CMailFolderTreeCtrl();
  CMailFolderTreeCtrl(const CMailFolderTreeCtrl&) = delete;
  CMailFolderTreeCtrl& operator=(const CMailFolderTreeCtrl&) = delete;

  void Attach(HWND tree) { hwnd_ = tree; }

  // Rebuilds the whole tree from the list. The image list comes from bitmap
  // 135 of `resources` (the executable when null) and is set once.
  void Build(const MailFolderList& list, HINSTANCE resources = nullptr);

  // The items of the last build, in insertion order.
  const std::vector<HTREEITEM>& InsertedItems() const { return inserted_; }
  // The folder number of the selected item; false when nothing (or the top item) is selected.
  bool SelectedFolder(std::uint32_t* id) const;
  // Selects the first item carrying the folder number; false when it is not shown.
  bool SelectFolder(std::uint32_t id) const;

 private:
  HIMAGELIST images_ = nullptr;  // owned: a tree view never destroys its image list
  std::vector<HTREEITEM> inserted_;
};

}  // namespace velkor
