#pragma once
// CImprovedHeaderCtrl: the column header of a list view that shows where the
// keyboard focus is. While the focus is on the list (or on its label editor)
// a band 3 pixels high is drawn in blue under every column header. The list's
// owner repaints the header when the list gains or loses the focus.

#include <windows.h>

namespace velkor {

class CImprovedHeaderCtrl {
 public:
  static constexpr int kBandHeight = 3;
  static constexpr COLORREF kBandColour = RGB(0, 0, 255);

  CImprovedHeaderCtrl() = default;
  ~CImprovedHeaderCtrl() { Detach(); }
  CImprovedHeaderCtrl(const CImprovedHeaderCtrl&) = delete;
  CImprovedHeaderCtrl& operator=(const CImprovedHeaderCtrl&) = delete;

  // Subclasses the header of `list`. False when the list has no header.
  bool Attach(HWND list);
  void Detach();
  HWND Header() const { return header_; }
  // Whether the band is drawn now.
  bool ShowsFocus() const;

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void DrawBand() const;

  HWND list_ = nullptr;
  HWND header_ = nullptr;
  WNDPROC previous_ = nullptr;
};

}  // namespace velkor
