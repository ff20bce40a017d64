// The main window's sizing frame: the template's layout is the default size;
// smaller screens (800 x 600, netbooks of 1024 x 600) may shrink the window to
// the least size the parts allow, and any size shares the change among the
// parts that can take it, in proportion, while labels, buttons, option groups
// and the fixed twelve-row lists keep theirs.
#include "editor/RuleEditorWindow_win32.h"

#include <algorithm>
#include <cstring>

#include "res/resource.h"
#include "win/Controls.h"

namespace velkor {
namespace {

// Parts in dialog units of the 620 x 402 template: a length, the least
// length, a share of growth. Fixed parts hold what must keep its size.
struct DluPart {
  int length, minimum, weight;
};
// The row of the identity combo and the buttons: the buttons keep their size
// at the right, the gap before them and the combo give way.
constexpr DluPart kTopRow[] = {{122, 122, 0}, {180, 100, 0}, {65, 10, 1}, {253, 253, 0}};
// The rule list and the blocked senders.
constexpr DluPart kRuleLists[] = {{7, 7, 0}, {350, 150, 1}, {6, 6, 0}, {250, 120, 1}, {7, 7, 0}};
// Criteria list | option 1 | option 2 | action list | action value pane
// (its edit, then the browse button's place).
constexpr DluPart kPanes[] = {{112, 112, 0}, {95, 80, 1}, {4, 4, 0}, {106, 103, 1},
                              {116, 116, 0}, {138, 58, 2}, {42, 42, 0}, {7, 7, 0}};
// Buttons | rule lists | gap | the panes' label and combo row | value lists |
// option groups.
constexpr DluPart kDown[] = {{28, 28, 0}, {152, 80, 1}, {8, 8, 0}, {27, 27, 0}, {113, 83, 1}, {74, 74, 0}};
// Band boundaries (dialog units from the top).
constexpr int kRuleListsTop = 26, kPanesTop = 184;

// The parts in pixels: boundaries converted through the dialog's units, the
// last one ending at `total`, so rounding never leaves a gap.
// The parts are those of the template's size, whatever size the window has
// already been given (Wine fits a new window to a smaller screen before the
// dialog sees it).
template <std::size_t N>
std::vector<LayoutPart> InPixels(HWND dialog, const DluPart (&parts)[N], bool horizontal) {
  int length = 0;
  for (const DluPart& part : parts) length += part.length;
  RECT whole{0, 0, length, length};
  ::MapDialogRect(dialog, &whole);
  const int total = horizontal ? whole.right : whole.bottom;
  std::vector<LayoutPart> out;
  int start = 0, startPx = 0;
  for (std::size_t i = 0; i < N; ++i) {
    const int end = start + parts[i].length;
    RECT r{end, end, end + parts[i].minimum, end + parts[i].minimum};
    RECT m{0, 0, parts[i].minimum, parts[i].minimum};
    ::MapDialogRect(dialog, &r);
    ::MapDialogRect(dialog, &m);
    const int endPx = i + 1 == N ? total : (horizontal ? r.left : r.top);
    const int minimumPx = horizontal ? m.right : m.bottom;
    out.push_back({endPx - startPx, std::min(endPx - startPx, minimumPx), parts[i].weight});
    start = end;
    startPx = endPx;
  }
  return out;
}

int DluToPixelsDown(HWND dialog, int dlu) {
  RECT r{0, dlu, 0, dlu};
  ::MapDialogRect(dialog, &r);
  return r.top;
}

bool StretchesDown(HWND control) {
  char name[32] = {};
  ::GetClassNameA(control, name, sizeof name);
  return std::strcmp(name, WC_LISTVIEWA) == 0 || std::strcmp(name, WC_TREEVIEWA) == 0;
}

bool KeepsWidth(int id) { return id == IDC_RULE_TEST || id == IDC_SAVE || id == IDC_SYNC || id == IDC_BROWSE; }

}  // namespace

void RuleEditorWindow::CaptureLayout() {
  RECT client, window;
  ::GetClientRect(Handle(), &client);
  ::GetWindowRect(Handle(), &window);
  frame_ = SIZE{(window.right - window.left) - client.right, (window.bottom - window.top) - client.bottom};
  across_[0] = InPixels(Handle(), kTopRow, true);
  across_[1] = InPixels(Handle(), kRuleLists, true);
  across_[2] = InPixels(Handle(), kPanes, true);
  down_ = InPixels(Handle(), kDown, false);
  minimum_.cx = 0;
  for (const auto& parts : across_) minimum_.cx = std::max<LONG>(minimum_.cx, AxisLayout::Minimum(parts));
  minimum_.cy = AxisLayout::Minimum(down_);

  const int rulesTop = DluToPixelsDown(Handle(), kRuleListsTop), panesTop = DluToPixelsDown(Handle(), kPanesTop);
  placed_.clear();
  for (HWND child = ::GetWindow(Handle(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    RECT r;
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&r), 2);
    PlacedControl placed;
    placed.window = child;
    placed.band = r.top < rulesTop ? 0 : r.top < panesTop ? 1 : 2;
    placed.rect = ControlLayout{r.left, r.top, r.right, r.bottom, KeepsWidth(::GetDlgCtrlID(child)),
                                !StretchesDown(child)};
    win::ListView list(child);
    placed.columnWidth = StretchesDown(child) && list.ColumnCount() > 0 ? list.ColumnWidth(0) : -1;
    placed_.push_back(placed);
  }
  LayOut();
}

void RuleEditorWindow::LayOut() {
  RECT client;
  ::GetClientRect(Handle(), &client);
  if (placed_.empty() || client.right <= 0 || client.bottom <= 0) return;  // minimised
  const AxisLayout across[3] = {AxisLayout(across_[0], client.right), AxisLayout(across_[1], client.right),
                                AxisLayout(across_[2], client.right)};
  const AxisLayout down(down_, client.bottom);
  HDWP batch = ::BeginDeferWindowPos(static_cast<int>(placed_.size()));
  for (const PlacedControl& p : placed_) {
    const ControlLayout r = PlaceControl(p.rect, across[p.band], down);
    if (batch)
      batch = ::DeferWindowPos(batch, p.window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
  }
  if (batch) ::EndDeferWindowPos(batch);
  // The lists' columns keep their margin to the right edge.
  for (const PlacedControl& p : placed_) {
    if (p.columnWidth < 0) continue;
    const ControlLayout r = PlaceControl(p.rect, across[p.band], down);
    const int grown = (r.right - r.left) - (p.rect.right - p.rect.left);
    win::ListView(p.window).SetColumnWidth(0, std::max(20, p.columnWidth + grown));
  }
  ::RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void RuleEditorWindow::LimitTracking(MINMAXINFO* info) const {
  if (placed_.empty()) return;
  info->ptMinTrackSize = POINT{minimum_.cx + frame_.cx, minimum_.cy + frame_.cy};
}

void RuleEditorWindow::RestoreSize() {
  RECT window, work;
  ::GetWindowRect(Handle(), &window);
  if (!::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) return;
  int width = window.right - window.left, height = window.bottom - window.top;
  const bool stored = settings_.DesktopMatches(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)) &&
                      settings_.mainWndWidth > 0 && settings_.mainWndHeight > 0;
  if (stored) {
    width = settings_.mainWndWidth;
    height = settings_.mainWndHeight;
  }
  // Never beyond the work area, never below the least size.
  width = std::max<int>(std::min<int>(width, work.right - work.left), minimum_.cx + frame_.cx);
  height = std::max<int>(std::min<int>(height, work.bottom - work.top), minimum_.cy + frame_.cy);
  if (width == window.right - window.left && height == window.bottom - window.top) return;
  // A window made smaller to fit goes where it fits: the work area's corner, centred.
  const int left = work.left + std::max<int>(0, ((work.right - work.left) - width) / 2);
  const int top = work.top + std::max<int>(0, ((work.bottom - work.top) - height) / 2);
  ::SetWindowPos(Handle(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace velkor
