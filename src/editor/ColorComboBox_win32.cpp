#include "editor/ColorComboBox_win32.h"

#include "editor/ActionEditing.h"
#include "res/resource.h"

namespace velkor {

CColorComboBox::~CColorComboBox() {
  if (images_) ImageList_Destroy(images_);
}

bool CColorComboBox::Create(HWND combo, HINSTANCE resources) {
  hwnd_ = combo;
  if (!hwnd_) return false;
  if (!images_) {
    images_ = ImageList_LoadImageA(resources ? resources : GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_COLORS),
                                   kSwatchWidth, 0, RGB(255, 255, 255), IMAGE_BITMAP, LR_CREATEDIBSECTION);
  }
  if (images_) SetImageList(images_);
  Clear();
  for (int i = 0; i < kColourCount; ++i) Insert(i, Colour(i).text, images_ ? i : -1, i);
  return images_ != nullptr;
}

}  // namespace velkor
