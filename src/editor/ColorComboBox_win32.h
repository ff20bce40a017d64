#pragma once
// The highlight colour combo of the action pane: an extended combo box whose
// seventeen entries each show a 24 x 12 swatch from bitmap 138 (white is the
// mask colour) and the colour's name. Entry i is colour index i, the value a
// highlight action stores.

#include <windows.h>
#include <commctrl.h>

#include "win/Controls.h"

namespace velkor {

class CColorComboBox : public win::ComboBoxEx {
 public:
  static constexpr int kSwatchWidth = 24;
  static constexpr int kSwatchHeight = 12;

  CColorComboBox() = default;
  CColorComboBox(const CColorComboBox&) = delete;
  CColorComboBox& operator=(const CColorComboBox&) = delete;
  ~CColorComboBox();

  // Takes the combo of the dialog, sets the swatch image list from bitmap 138
  // of `resources` (the executable when null) and inserts the seventeen
  // entries. False when the bitmap could not be loaded (the entries are
  // inserted all the same, without swatches).
  bool Create(HWND combo, HINSTANCE resources = nullptr);
  HIMAGELIST Images() const { return images_; }

 private:
  HIMAGELIST images_ = nullptr;  // owned: the combo never destroys its image list
};

}  // namespace velkor
