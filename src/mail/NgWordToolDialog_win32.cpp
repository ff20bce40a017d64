#include "mail/NgWordToolDialog_win32.h"

#include <commctrl.h>

#include "mail/MailViewRtf.h"
#include "res/resource.h"
#include "settings/VelkorSettings.h"
#include "win/Clipboard.h"
#include "win/MessageBox.h"
#include "win/PopupMenu.h"
#include "win/Strings.h"
#include "win/WaitCursor.h"

namespace velkor {
namespace {

constexpr UINT kDeleteItemMessage = WM_APP + 6;  // wParam: a word-list item to delete after its edit
constexpr UINT kMenuDoneMessage = WM_APP + 7;    // a context menu's command has run
constexpr int kIdleTriggersPerRefresh = 21;

Rect ToRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// The screen size the window positions are stored for: the same measure as
// the main window's, since both share the stored desktop size.
SIZE DesktopSize() { return {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)}; }

}  // namespace

NgWordToolDialog::NgWordToolDialog(NgWordToolData& data, RegistryAccess& registry, FindState& find,
                                   FindPrompt* prompt)
    : data_(data), registry_(registry), find_(find), prompt_(prompt) {}

NgWordToolDialog::~NgWordToolDialog() = default;

INT_PTR NgWordToolDialog::Run(HWND owner) {
  if (!CreateModeless(owner, IDD_NGWORD_TOOL)) return -1;
  HWND self = Handle();
  if (owner) ::EnableWindow(owner, FALSE);
  ::ShowWindow(self, SW_SHOW);
  running_ = !closed_;
  MSG msg;
  while (running_) {
    BOOL got = win::NextMessage(&msg);
    if (got == 0) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));  // leave the quit to the outer loop
      result_ = 0;
      break;
    }
    if (got < 0) break;
    if (!TranslateKeys(&msg) && !win::TakeSelectAllKey(msg) && !win::TakeDialogMessage(self, &msg))
      win::DispatchNextMessage(msg);
    // The paste state follows the clipboard while the user works.
    MSG next;
    if (!::PeekMessageA(&next, nullptr, 0, 0, PM_NOREMOVE) && ++idleTriggers_ % kIdleTriggersPerRefresh == 0)
      RefreshPasteState();
  }
  // The owner is enabled before the tool goes, so that it takes the activation.
  if (owner) ::EnableWindow(owner, TRUE);
  if (Handle()) Destroy();
  return result_;
}

bool NgWordToolDialog::OnInit() {
  accelerators_ = ::LoadAcceleratorsA(win::ProgramInstance(), MAKEINTRESOURCEA(IDR_ACCELERATORS));
  view_ = CMyRichEditCtrl(Handle(), IDC_NG_MAIL_VIEW);
  list_ = win::ListView(Handle(), IDC_NG_WORD_LIST);
  view_.Attach();

  RECT client;
  ::GetClientRect(Handle(), &client);
  baseWidth_ = client.right;
  baseHeight_ = client.bottom;
  const std::pair<int, Anchor> anchors[] = {
      {IDC_NG_MAIL_VIEW, Anchor::MailView}, {IDC_NG_WORD_LIST, Anchor::BelowView},
      {IDC_NG_LIST_LABEL, Anchor::Bottom},  {IDC_NG_RESULT, Anchor::RightTall},
      {IDC_NG_HELP_TEXT, Anchor::BottomRight}, {IDC_NG_OK, Anchor::BottomRight},
      {IDC_NG_CANCEL, Anchor::BottomRight}, {IDC_NG_PASTE_BODY, Anchor::BottomRight},
  };
  std::vector<AnchoredRect> opening;
  for (auto [id, anchor] : anchors) {
    RECT r;
    ::GetWindowRect(Item(id), &r);
    ::MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&r), 2);
    opening.push_back({anchor, ToRect(r)});
  }
  SettleOpeningLayout(opening, baseWidth_, baseHeight_);
  for (std::size_t i = 0; i < opening.size(); ++i) placed_.push_back({anchors[i].first, anchors[i].second, opening[i].rect});
  Layout();
  RestorePlacement();

  SetItemText(IDC_NG_HELP_TEXT, ngtext::kHelp);
  ::RevokeDragDrop(view_.Handle());  // the control's own target, where it has one
  RegisterMailViewDropTarget(view_.Handle(), this);
  RegisterWordListDropTarget(list_.Handle(), this);
  list_.SetExtendedStyle(LVS_EX_LABELTIP, LVS_EX_LABELTIP);
  data_.resultWords.clear();

  if (dictionaryFile.empty())
    dictionary_.LoadSpamWords();
  else
    dictionary_.LoadFromFile(dictionaryFile);
  detector_ = std::make_unique<SpamDetector>(dictionary_);
  SetTitle(ToolCaption(Title(), dictionary_.title));

  if (data_.mailText.empty())
    view_.ShowMailText(data_.mailText);
  else
    ShowAndDetect(data_.mailText);
  RefreshPasteState();
  // The focus goes to the view without the dialog's select-all, which would
  // hide the colours under the selection.
  view_.Focus();
  return false;
}

void NgWordToolDialog::OnDestroy() {
  ::RevokeDragDrop(view_.Handle());
  ::RevokeDragDrop(list_.Handle());
  running_ = false;
  closed_ = true;
}

bool NgWordToolDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result) {
  switch (message) {
    case WM_CLOSE:  // only OK and Cancel close the tool
      *result = TRUE;
      return true;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) {
        HWND owner = ::GetWindow(Handle(), GW_OWNER);
        if (owner && !::IsIconic(owner)) {
          ::ShowWindow(owner, SW_MINIMIZE);
          ::ShowWindow(Handle(), SW_RESTORE);
          ::SetForegroundWindow(Handle());
        }
      }
      return false;
    case WM_SIZING: {
      auto* r = reinterpret_cast<RECT*>(lParam);
      Rect limited = LimitSizing(ToRect(*r), static_cast<int>(wParam));
      *r = RECT{limited.left, limited.top, limited.right, limited.bottom};
      *result = TRUE;
      return true;
    }
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize = POINT{kToolMinWidth, kToolMinHeight};
      info->ptMaxTrackSize = POINT{kToolMaxWidth, kToolMaxHeight};
      *result = 0;
      return true;
    }
    case WM_SIZE:
      Layout();
      return false;
    case kMenuDoneMessage:
      menuTarget_ = Focus::None;
      *result = 0;
      return true;
    case kDetectionCountsMessage:
      ShowCounts(wParam, lParam);
      *result = 0;
      return true;
    case kRunDetectionMessage:
      RunDetection();
      *result = 0;
      return true;
    case kMailViewMenuMessage:
      ShowContextMenu(0, Focus::MailView);
      *result = 0;
      return true;
    case kUnsupportedMailMessage:
      ShowUnsupported();
      *result = 0;
      return true;
    case kDeleteItemMessage:
      if (static_cast<int>(wParam) < list_.Count()) list_.Delete(static_cast<int>(wParam));
      *result = 0;
      return true;
    case kAbandonMessage:
      Close(0, false);
      *result = 0;
      return true;
    default:
      return false;
  }
}

bool NgWordToolDialog::TranslateKeys(MSG* message) const {
  if (!accelerators_ || !Handle()) return false;
  if (message->message < WM_KEYFIRST || message->message > WM_KEYLAST) return false;
  HWND focus = ::GetFocus();
  if (focus != view_.Handle() && focus != list_.Handle()) return false;
  return ::TranslateAcceleratorA(Handle(), accelerators_, message) != 0;
}

void NgWordToolDialog::Close(INT_PTR result, bool save) {
  if (save) SavePlacement();
  result_ = result;
  closed_ = true;
  // Run's loop destroys the window after enabling the owner; a tool created
  // without it goes at once.
  if (running_)
    running_ = false;
  else
    Destroy();
}

void NgWordToolDialog::SavePlacement() {
  VelkorSettings settings;
  settings.Load(registry_);
  SIZE desktop = DesktopSize();
  RECT r;
  ::GetWindowRect(Handle(), &r);
  settings.desktopWidth = desktop.cx;
  settings.desktopHeight = desktop.cy;
  settings.ngWordWndLeft = r.left;
  settings.ngWordWndTop = r.top;
  settings.ngWordWndWidth = r.right - r.left;
  settings.ngWordWndHeight = r.bottom - r.top;
  settings.SaveNgWordWindow(registry_);
}

void NgWordToolDialog::RestorePlacement() {
  VelkorSettings settings;
  settings.Load(registry_);
  StoredPlacement stored{settings.desktopWidth, settings.desktopHeight, settings.ngWordWndLeft,
                         settings.ngWordWndTop, settings.ngWordWndWidth, settings.ngWordWndHeight};
  SIZE desktop = DesktopSize();
  if (auto r = PlacementToRestore(stored, desktop.cx, desktop.cy))
    ::SetWindowPos(Handle(), nullptr, r->left, r->top, r->Width(), r->Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void NgWordToolDialog::Layout() {
  if (placed_.empty()) return;
  RECT client;
  ::GetClientRect(Handle(), &client);
  if (client.right <= 0 || client.bottom <= 0) return;  // minimised
  HDWP batch = ::BeginDeferWindowPos(static_cast<int>(placed_.size()));
  for (const Placed& p : placed_) {
    Rect r = AnchorRect(p.rect, p.anchor, baseWidth_, baseHeight_, client.right, client.bottom);
    if (batch)
      batch = ::DeferWindowPos(batch, Item(p.id), nullptr, r.left, r.top, r.Width(), r.Height(),
                               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
  }
  if (batch) ::EndDeferWindowPos(batch);
  // Moved controls leave their old places unpainted and are not all redrawn
  // at their new ones: the whole window is drawn afresh.
  ::RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void NgWordToolDialog::ShowDroppedMail(const std::string& text) { ShowAndDetect(text); }

void NgWordToolDialog::ReportUnsupportedMail() {
  view_.SetText(std::string());
  ::PostMessageA(Handle(), kUnsupportedMailMessage, 0, 0);
}

void NgWordToolDialog::ShowUnsupported() {
  SetItemText(IDC_NG_RESULT, ngtext::kUnsupportedMail);
  view_.ShowMailText(std::string());
  win::ShowMessage(Handle(), ngtext::kUnsupportedMail, win::LoadResString(IDS_APP_TITLE), MB_OK);
}

void NgWordToolDialog::ShowAndDetect(const std::string& mail) { Detect(MailViewText(mail)); }

void NgWordToolDialog::RunDetection() { Detect(view_.AllText()); }

void NgWordToolDialog::Detect(const std::string& text) {
  win::WaitCursor wait;
  DetectionResult found = detector_->Detect(text, data_.ownAddresses);
  view_.ShowMail(text, ComputeHighlights(text, found));

  const std::size_t oldCount = static_cast<std::size_t>(list_.Count());
  SelectWords(MergeIntoWordList(Words(), found), oldCount);

  // The full counts stay here: the message carries 16 bits of each term count.
  linkCount_ = static_cast<int>(found.links.size());
  obsceneCount_ = static_cast<int>(found.obsceneTerms.size());
  otherCount_ = static_cast<int>(found.otherTerms.size());
  auto low16 = [](int n) { return static_cast<WORD>(n > 0xFFFF ? 0xFFFF : n); };
  ::PostMessageA(Handle(), kDetectionCountsMessage, static_cast<WPARAM>(linkCount_),
                 MAKELPARAM(low16(obsceneCount_), low16(otherCount_)));
}

void NgWordToolDialog::ShowCounts(WPARAM links, LPARAM terms) {
  if (!::IsWindowVisible(Handle())) ::ShowWindow(Handle(), SW_SHOW);
  int obscene = LOWORD(terms), other = HIWORD(terms);
  // Counts beyond 16 bits come from the last detection itself.
  if (obscene == 0xFFFF) obscene = obsceneCount_;
  if (other == 0xFFFF) other = otherCount_;
  SetItemText(IDC_NG_RESULT, DetectionSummary(static_cast<int>(links), obscene, other));
}

std::vector<std::string> NgWordToolDialog::Words() const {
  std::vector<std::string> words;
  const int count = list_.Count();
  words.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) words.push_back(list_.ItemText(i));
  return words;
}

void NgWordToolDialog::SelectWords(const WordListMerge& merge, std::size_t oldCount) {
  list_.Send(WM_SETREDRAW, FALSE);
  list_.UnselectAll();
  if (merge.items.size() > oldCount) list_.Send(LVM_SETITEMCOUNT, merge.items.size());
  for (std::size_t i = oldCount; i < merge.items.size(); ++i) list_.Insert(static_cast<int>(i), merge.items[i]);
  for (std::size_t i : merge.selected) list_.SetSelected(static_cast<int>(i), true);
  list_.Send(WM_SETREDRAW, TRUE);
  list_.Invalidate();
  if (merge.firstAppended != static_cast<std::size_t>(-1)) {
    list_.SetFocused(static_cast<int>(merge.firstAppended), true);
    list_.EnsureVisible(static_cast<int>(merge.firstAppended));
  } else if (!merge.selected.empty()) {
    list_.EnsureVisible(static_cast<int>(merge.selected.front()));
  }
}

void NgWordToolDialog::AddWord(const std::string& text) {
  list_.UnselectAll();
  std::string word = WordFromText(text);
  if (word.empty()) return;
  int index = FindWord(Words(), word);
  if (index < 0) index = list_.Insert(list_.Count(), word);
  if (index < 0) return;
  list_.SetSelected(index, true);
  list_.SetFocused(index, true);
  list_.EnsureVisible(index);
}

void NgWordToolDialog::ShowContextMenu(int popup, Focus target) {
  POINT cursor;
  ::GetCursorPos(&cursor);
  menuTarget_ = target;
  RefreshPasteState();
  win::TrackPopupMenuAt(Handle(), IDR_NGWORD_MENUS, popup, cursor,
                        [this](UINT id) { return IsCommandEnabled(static_cast<int>(id)); });
  // The chosen command comes posted; the pane the menu belonged to stays the
  // target until it has run.
  ::PostMessageA(Handle(), kMenuDoneMessage, 0, 0);
}

void NgWordToolDialog::RefreshPasteState() {
  const bool both = win::ClipboardHas(CF_TEXT) && win::ClipboardHas(MailClipboardFormat(MailFormat::Html));
  EnableItem(IDC_NG_PASTE_BODY, both);
}

NgWordToolDialog::Focus NgWordToolDialog::FocusedPane() const {
  if (menuTarget_ != Focus::None) return menuTarget_;
  HWND focus = ::GetFocus();
  if (focus == view_.Handle()) return Focus::MailView;
  if (focus == list_.Handle()) return Focus::WordList;
  return Focus::None;
}

INT_PTR RunNgWordTool(HWND owner, NgWordToolData& data, RegistryAccess& registry, FindState& find,
                      FindPrompt* prompt) {
  NgWordToolDialog tool(data, registry, find, prompt);
  INT_PTR result = tool.Run(owner);
  // The tool minimised its owner while it was active.
  if (owner) {
    ::ShowWindow(owner, SW_RESTORE);
    ::SetForegroundWindow(owner);
  }
  return result;
}

}  // namespace velkor
