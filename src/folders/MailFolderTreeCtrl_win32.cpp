#include "folders/MailFolderTreeCtrl_win32.h"

#include "folders/FolderTreeOrder.h"

namespace velkor {

CMailFolderTreeCtrl::~CMailFolderTreeCtrl() {
  if (images_) ImageList_Destroy(images_);
}

void CMailFolderTreeCtrl::Build(const MailFolderList& list, HINSTANCE resources) {
  if (!hwnd_) return;
  if (!images_ && !Send(TVM_GETIMAGELIST, TVSIL_NORMAL)) {
    images_ = ImageList_LoadImageA(resources ? resources : GetModuleHandleA(nullptr),
                                   MAKEINTRESOURCEA(kImageBitmap), kImageSize, 0, RGB(255, 0, 255), IMAGE_BITMAP,
                                   LR_CREATEDIBSECTION);
    if (images_) SetImageList(images_);
  }
  inserted_.clear();
  // Redrawing once at the end keeps a large tree from flickering.
  Send(WM_SETREDRAW, FALSE);
  Clear();
  for (const auto& step : FolderTreeInsertions(list)) {
    const HTREEITEM parent = step.parent == FolderTreeInsertion::kRoot ? nullptr : inserted_[step.parent];
    // A failed insertion keeps its place in the list so that later parent
    // indexes still line up; its children are left out with it.
    HTREEITEM item = nullptr;
    if (step.parent == FolderTreeInsertion::kRoot || parent) {
      item = Insert(parent, step.text, static_cast<LPARAM>(step.folderId), step.image, step.first ? TVI_FIRST : TVI_LAST);
    }
    inserted_.push_back(item);
  }
  for (HTREEITEM item : inserted_) {
    if (item) Expand(item);
  }
  Send(WM_SETREDRAW, TRUE);
  Invalidate();
}

bool CMailFolderTreeCtrl::SelectedFolder(std::uint32_t* id) const {
  const HTREEITEM item = Selection();
  if (!item) return false;
  const auto data = static_cast<std::uint32_t>(Data(item));
  if (item == Root() && data == 0) return false;
  *id = data;
  return true;
}

bool CMailFolderTreeCtrl::SelectFolder(std::uint32_t id) const {
  for (HTREEITEM item : inserted_) {
    if (item && static_cast<std::uint32_t>(Data(item)) == id) return Select(item);
  }
  return false;
}

}  // namespace velkor
