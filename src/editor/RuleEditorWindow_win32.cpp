#include "editor/RuleEditorWindow_win32.h"

#include <commctrl.h>

#include "addressbook/AddressBook_win32.h"
#include "addressbook/FileStamp.h"
#include "editor/AboutDialog_win32.h"
#include "editor/FindTextDialog_win32.h"
#include "win/Help.h"
#include "editor/ProgressDialog_win32.h"
#include "editor/RuleDragDrop_win32.h"
#include "editor/RuleTestDialog_win32.h"
#include "editor/WindowState.h"
#include "res/resource.h"
#include "rulestore/RegistryWatcher_win32.h"
#include "win/Controls.h"
#include "win/MessageBox.h"
#include "win/Program.h"
#include "win/RedrawHold.h"
#include "win/Strings.h"

namespace velkor {
namespace {

using namespace mainwindow;

// The main window whose modal loop runs on this thread (one per thread).
RuleEditorWindow* g_hookedWindow = nullptr;
HHOOK g_hook = nullptr;

LRESULT CALLBACK MessageFilter(int code, WPARAM wParam, LPARAM lParam) {
  if (code == MSGF_DIALOGBOX && g_hookedWindow) {
    if (g_hookedWindow->PreTranslate(reinterpret_cast<MSG*>(lParam))) return TRUE;
  }
  return ::CallNextHookEx(g_hook, code, wParam, lParam);
}

}  // namespace

RuleEditorWindow::RuleEditorWindow(RegistryAccess& registry, RegistryWatchers& watchers)
    : registry_(registry), watchers_(watchers), session_(registry) {
  for (EditorPane* pane : panes_) pane->Attach(*this);
}

RuleEditorWindow::RuleEditorWindow(RegistryAccess& registry) : RuleEditorWindow(registry, ProcessWatchers()) {}

RuleEditorWindow::~RuleEditorWindow() {
  // A modeless window (tests) is destroyed by the base; the watchers must not
  // outlive the session that started them.
  watchers_.StopAllWatchers();
}

INT_PTR RuleEditorWindow::Run(HWND owner) { return RunModal(owner, IDD_VELKOR_DIALOG); }

bool RuleEditorWindow::HasFolder(const std::uint8_t* ref, std::size_t size) const {
  if (!Handle()) return session_.Folders().Holds(ref, size);
  return ::SendMessageA(Handle(), kFolderRefQueryMessage, reinterpret_cast<WPARAM>(ref),
                        static_cast<LPARAM>(size)) != 0;
}

// ---------------------------------------------------------------------------
// Initialisation

bool RuleEditorWindow::OnInit() {
  RuleChecks checks;
  checks.ntFamily = win::IsNtFamily();
  checks.folders = this;
  session_.Store().SetChecks(checks);
  settings_.Load(registry_);

  topMost_ = settings_.showTopMost == 1;
  if (topMost_) ::SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ExtendSystemMenu();
  SetIcons();
  accelerators_ = ::LoadAcceleratorsA(win::ProgramInstance(), MAKEINTRESOURCEA(IDR_ACCELERATORS));
  OpenAddressBook();
  for (EditorPane* pane : panes_) pane->OnInit();
  // The panes have their columns: the template's layout is the default size.
  CaptureLayout();
  RestoreSize();
  RestorePosition();
  // Dropped text goes in as a paste of the same text would.
  mailDrops_.Attach(Item(IDC_CRITERIA_TYPE_LIST), [this](const std::string& dropped, bool addressBook) {
    criteria_.PasteIntoList(dropped, addressBook);
  });
  RegisterMailDropTarget(Item(IDC_VALUE_LIST), &mailDrops_);
  criteria_.SetNgWordTool([this] {
    mailDrops_.ClearDroppedMail();
    OpenNgWordTool();
  });

  g_hookedWindow = this;
  messageHook_ = ::SetWindowsHookExA(WH_MSGFILTER, &MessageFilter, nullptr, ::GetCurrentThreadId());
  g_hook = messageHook_;

  if (session_.ReadIdentities().empty()) {
    Fatal(ruletext::kNoIdentities);
    return false;
  }
  if (!FillIdentityCombo()) {
    Fatal(kNoValidIdentity);
    return false;
  }
  LoadIdentity(false);
  if (ended_) return false;
  initialised_ = true;
  // The dialog gives the focus to its first enabled tab stop once it shows.
  // Moving it to the rule list from here makes Wine draw the caption inactive.
  return false;
}

void RuleEditorWindow::ExtendSystemMenu() {
  HMENU menu = ::GetSystemMenu(Handle(), FALSE);
  if (!menu) return;
  std::string about = win::LoadResString(IDS_ABOUTBOX);
  ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuA(menu, MF_STRING, ID_SYS_ABOUT, about.c_str());
  ::AppendMenuA(menu, MF_STRING | (topMost_ ? MF_CHECKED : MF_UNCHECKED), ID_SYS_TOPMOST, "常に手前に表示");
}

void RuleEditorWindow::SetIcons() {
  HINSTANCE instance = win::ProgramInstance();
  // Shared icons from LoadImage(LR_SHARED) are owned by the system.
  bigIcon_ = static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON,
                                             ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON),
                                             LR_SHARED));
  smallIcon_ = static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON,
                                               ::GetSystemMetrics(SM_CXSMICON),
                                               ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  if (bigIcon_) ::SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_));
  if (smallIcon_) ::SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
}

void RuleEditorWindow::RestorePosition() {
  int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
  int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
  // A position stored on a screen of another size may be off this one.
  if (!settings_.HasMainWindowPosition(screenWidth, screenHeight)) return;
  RECT rect;
  ::GetWindowRect(Handle(), &rect);
  ScreenPoint corner = ClampMainWindowPosition(settings_.mainWndLeft, settings_.mainWndTop, rect.right - rect.left,
                                               ::GetSystemMetrics(SM_CYCAPTION), screenWidth, screenHeight);
  ::SetWindowPos(Handle(), nullptr, corner.x, corner.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void RuleEditorWindow::OpenAddressBook() {
  addressBook_ = std::make_unique<AddressBook>(registry_);
  AddressEntryList entries;
  if (addressBook_->Open()) {
    addressBook_->Load();
    for (std::size_t i = 0; i < addressBook_->Count(); ++i)
      entries.Append(addressBook_->NameAt(i), addressBook_->AddressAt(i));
  }
  session_.SetAddressBook(entries, AddressBookFileStamp(registry_));
}

bool RuleEditorWindow::AddressBookOpen() const { return addressBook_ && addressBook_->IsOpen(); }

bool RuleEditorWindow::FillIdentityCombo() {
  std::vector<OeIdentity> identities = session_.ReadIdentities();
  std::string key = session_.PreferredIdentity(settings_.initialOEUser);

  win::ComboBox combo(Handle(), IDC_IDENTITY_COMBO);
  combo.Clear();
  comboIdentities_ = identities;
  for (std::size_t i = 0; i < identities.size(); ++i) {
    // An identity without a user name would be an empty entry: show its key.
    const std::string& name = identities[i].userName.empty() ? identities[i].keyName : identities[i].userName;
    combo.Add(name, static_cast<LPARAM>(i));
  }
  if (combo.Count() == 0) return false;
  if (key.empty() || !SelectComboIdentity(key)) {
    combo.Select(0);
    key = comboIdentities_[static_cast<std::size_t>(combo.Data(0))].keyName;
  }
  combo.Enable(combo.Count() != 1);
  // The stored selection belongs to the identity the program starts with.
  RememberedSelection stored;
  stored.rule = settings_.initialRule;
  stored.criterion = settings_.initialCriteria;
  stored.action = settings_.initialAction;
  session_.Remember(stored, key);
  return true;
}

bool RuleEditorWindow::SelectComboIdentity(const std::string& key) {
  win::ComboBox combo(Handle(), IDC_IDENTITY_COMBO);
  for (int i = 0; i < combo.Count(); ++i) {
    std::size_t index = static_cast<std::size_t>(combo.Data(i));
    if (index < comboIdentities_.size() && comboIdentities_[index].keyName == key) {
      combo.Select(i);
      return true;
    }
  }
  return false;
}

// ---------------------------------------------------------------------------
// Identity load

void RuleEditorWindow::RememberSelection() {
  RememberedSelection selection;
  for (EditorPane* pane : panes_) pane->RememberSelection(&selection);
  session_.Remember(selection, session_.IdentityKey());
}

void RuleEditorWindow::LoadIdentity(bool discard) {
  if (ended_) return;
  if (session_.ReadIdentities().empty()) return Fatal(kNoIdentitiesExit);
  if (initialised_) RememberSelection();

  if (!discard && session_.HasUnsavedChanges()) {
    int answer = Ask(kSaveQuestion, kSaveQuestionTitle, MB_YESNOCANCEL | MB_ICONQUESTION);
    if (session_.ReadIdentities().empty()) return Fatal(kFatalError);
    if (answer == IDCANCEL) {
      if (!SelectComboIdentity(session_.IdentityKey())) Fatal(kNoIdentitiesExit);
      return;
    }
    if (answer == IDYES) {
      // Saved without the reload: this load follows at once.
      if (!SaveChanges(true)) {
        if (!SelectComboIdentity(session_.IdentityKey())) return Fatal(kNoIdentitiesExit);
        EnsureWatching();
        return;
      }
    }
  }

  StopWatching();

  win::ComboBox combo(Handle(), IDC_IDENTITY_COMBO);
  int selection = combo.Selection();
  if (selection < 0) return Fatal(kFatalError);
  std::size_t index = static_cast<std::size_t>(combo.Data(selection));
  if (index >= comboIdentities_.size()) return Fatal(kIdentityGone);
  // The combo was filled from an earlier read: the entry must still name a
  // listed identity, else another identity would be loaded under its name.
  const std::string key = comboIdentities_[index].keyName;
  if (!session_.IsListed(key)) return Fatal(kIdentityGone);
  if (key.empty()) return Fatal(kIdentityInvalid);

  {
    // Thousands of rows go out and in: the lists draw once, at the end.
    std::vector<HWND> lists;
    for (EditorPane* pane : panes_) lists.push_back(pane->EditingList());
    win::RedrawHold hold(lists);
    for (EditorPane* pane : panes_) pane->OnSessionUnloading();
    session_.Load(key);
    for (EditorPane* pane : panes_) pane->OnSessionLoaded();
  }
  for (EditorPane* pane : panes_) pane->OnSessionShown();
  Modified();
  StartWatching();
}

// ---------------------------------------------------------------------------
// Frame services

void RuleEditorWindow::ShowSelectedRule() {
  std::int64_t rule = ShownRule();
  for (EditorPane* pane : panes_) pane->OnRuleShown(rule);
}

void RuleEditorWindow::RepaintRuleLists() {
  win::ListView(Handle(), IDC_RULE_LIST).RedrawAll();
  win::ListView(Handle(), IDC_CRITERIA_TYPE_LIST).RedrawAll();
  win::ListView(Handle(), IDC_ACTION_TYPE_LIST).RedrawAll();
}

void RuleEditorWindow::Modified() {
  if (Handle()) EnableItem(IDC_SAVE, session_.HasUnsavedChanges());
  if (ruleTest_) ruleTest_->RulesChanged();
}

int RuleEditorWindow::Ask(const std::string& text, const std::string& caption, UINT flags) {
  return win::ShowMessage(Handle(), text, caption, flags);
}

void RuleEditorWindow::Tell(const std::string& text, UINT icon) {
  win::ShowMessage(Handle(), text, win::LoadResString(IDS_APP_TITLE), MB_OK | icon);
}

std::unique_ptr<ProgressDialog> RuleEditorWindow::OpenProgress(const std::string& status, bool allowCancel) {
  auto progress = std::make_unique<ProgressDialog>();
  progress->Create(Handle());
  progress->AllowCancel(allowCancel);
  progress->SetStatus(status);
  return progress;
}

// ---------------------------------------------------------------------------
// Watchers and the poll timer

void RuleEditorWindow::StartTimer() {
  ::SetTimer(Handle(), kPollTimerId, kPollPeriodMs, nullptr);
  timerRunning_ = true;
}

void RuleEditorWindow::StopTimer() {
  if (Handle()) ::KillTimer(Handle(), kPollTimerId);
  timerRunning_ = false;
}

bool RuleEditorWindow::StartWatching() {
  if (ended_) return false;
  const RuleStore& store = session_.Store();
  if (watchers_.StartWatchers(store.RulesKeyPath(), store.BlockedKeyPath()) != 0) {
    Fatal(win::LoadResString(IDS_WATCH_START_FAILED));
    return false;
  }
  StartTimer();
  return true;
}

void RuleEditorWindow::StopWatching() {
  StopTimer();
  watchers_.StopAllWatchers();
}

void RuleEditorWindow::EnsureWatching() {
  auto watching = [this](int slot) {
    auto record = watchers_.Record(slot);
    return record && record->state.load() == watchstate::kWatching && !record->stopped.load();
  };
  if (watching(kRulesWatchSlot) && watching(kBlockSendersWatchSlot)) {
    if (!timerRunning_) StartTimer();
    return;
  }
  StopWatching();
  StartWatching();
}

void RuleEditorWindow::OnTimer(UINT_PTR timerId) {
  if (timerId == kPollTimerId && timerRunning_) PollTick();
}

void RuleEditorWindow::PollTick() {
  PollDecision decision = session_.Poll(watchers_.Tick());
  if (decision.stopTimer) StopTimer();
  switch (decision.action) {
    case PollAction::Fatal:
      Fatal(win::LoadResString(static_cast<UINT>(decision.messageId)));
      return;
    case PollAction::Reload:
      win::ShowMessageId(Handle(), static_cast<UINT>(decision.messageId), win::LoadResString(IDS_APP_TITLE),
                         MB_OK | MB_ICONINFORMATION);
      CloseDialogsOver(Handle());
      ::PostMessageA(Handle(), watchui::kReloadMessage, 0, 0);
      return;
    case PollAction::RestartWatchers:
      StartWatching();
      return;
    case PollAction::ReopenAddressBook:
      OpenAddressBook();
      StartTimer();
      return;
    case PollAction::FoldersChanged:
      // Move and copy actions may have become valid or invalid.
      for (EditorPane* pane : panes_) pane->OnFoldersChanged();
      RepaintRuleLists();
      StartTimer();
      return;
    case PollAction::None:
      return;
  }
}

void RuleEditorWindow::Fatal(const std::string& text) {
  if (ended_) return;
  ended_ = true;
  StopWatching();
  win::ShowMessage(Handle(), text, win::LoadResString(IDS_APP_TITLE), MB_OK | MB_ICONERROR);
  End(-1);
}

void RuleEditorWindow::OnDestroy() {
  ruleTest_.reset();
  StopWatching();
  ::RevokeDragDrop(Item(IDC_VALUE_LIST));
  for (EditorPane* pane : panes_) pane->OnDestroy();
  if (messageHook_) ::UnhookWindowsHookEx(messageHook_);
  if (g_hookedWindow == this) {
    g_hookedWindow = nullptr;
    g_hook = nullptr;
  }
  messageHook_ = nullptr;
  if (accelerators_) ::DestroyAcceleratorTable(accelerators_);
  accelerators_ = nullptr;
}

// ---------------------------------------------------------------------------
// Routing

void RuleEditorWindow::OpenNgWordTool() {
  // Find next in the tool goes on from a search begun in the main window.
  findState_.text = SharedFindSettings().text;
  findState_.matchCase = SharedFindSettings().matchCase;
  FindTextPrompt prompt;
  std::vector<std::string> words =
      mailDrops_.RunTool(Handle(), session_.Accounts().OwnAddresses(), registry_, findState_, &prompt);
  if (!words.empty()) criteria_.MergeIntoList(words);
}

EditorPane* RuleEditorWindow::PaneOwning(int id) const {
  for (EditorPane* pane : panes_)
    if (pane->OwnsControl(id)) return pane;
  return nullptr;
}

std::uint32_t RuleEditorWindow::HelpContext(HWND control) const {
  // F1 shows the page of the pane that holds the focus (a combo box's edit is
  // a grandchild of the window); the window's own page elsewhere.
  if (!control) control = ::GetFocus();
  while (control && ::IsChild(Handle(), control) && ::GetParent(control) != Handle()) control = ::GetParent(control);
  EditorPane* pane = control && ::IsChild(Handle(), control) ? PaneOwning(::GetDlgCtrlID(control)) : nullptr;
  return pane ? pane->HelpContext() : HelpContextForDialog(IDD_VELKOR_DIALOG);
}

EditorPane* RuleEditorWindow::PaneEditing(HWND focus) const {
  if (!focus) return nullptr;
  for (EditorPane* pane : panes_)
    if (pane->EditingList() == focus) return pane;
  return nullptr;
}

bool RuleEditorWindow::OnCommand(int id, int code, HWND control) {
  if (ended_) return false;
  switch (id) {
    case IDC_SAVE:
      if (code == BN_CLICKED) SaveChanges(false);
      return true;
    case IDC_SYNC:
      if (code == BN_CLICKED) StartSyncUtility();
      return true;
    case IDC_IDENTITY_COMBO:
      if (code == CBN_SELCHANGE) LoadIdentity(false);
      return true;
    case ID_EDIT_CLEAR:
    case ID_EDIT_COPY:
    case ID_EDIT_CUT:
    case ID_EDIT_FIND:
    case ID_EDIT_INSERT:
    case ID_EDIT_PASTE:
    case ID_EDIT_SELECT_ALL:
    case ID_FIND_NEXT:
      ForwardGenericCommand(id);
      return true;
    case ID_SYS_TOPMOST:
      ToggleTopMost();
      return true;
    case ID_RULE_RESTORE_BACKUP:
      RestoreFromBackup();
      return true;
    case ID_RULE_TEST:
    case IDC_RULE_TEST:
      if (!ruleTest_) ruleTest_ = std::make_unique<RuleTestDialog>(*this);
      ruleTest_->Open();
      return true;
    default:
      // A control's notification goes to its pane; a menu command to the
      // pane that claims it.
      if (control) {
        EditorPane* pane = PaneOwning(id);
        return pane && pane->OnCommand(id, code, control);
      }
      for (EditorPane* pane : panes_)
        if (pane->OnCommand(id, code, control)) return true;
      return false;
  }
}

bool RuleEditorWindow::OnNotify(int id, NMHDR* header, LRESULT* result) {
  if (ended_) return false;
  EditorPane* pane = PaneOwning(id);
  return pane && pane->OnNotify(id, header, result);
}

void RuleEditorWindow::ForwardGenericCommand(int genericId) {
  if (EditorPane* pane = PaneEditing(::GetFocus())) pane->OnGenericCommand(genericId);
}

namespace {
bool IsButtonPress(UINT message) {
  return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
}
}  // namespace

HWND RuleEditorWindow::ControlOf(HWND window) const {
  // The dialog's own child that holds `window` (a list for its header, a combo
  // for its edit). GA_PARENT, not GetParent: a dialog over this window is
  // owned by it, not its child.
  while (window && window != Handle()) {
    HWND parent = ::GetAncestor(window, GA_PARENT);
    if (parent == Handle()) return window;
    window = parent;
  }
  return nullptr;
}

bool RuleEditorWindow::ApplyMouseRules(const MSG& msg) {
  if (!IsButtonPress(msg.message) || !msg.hwnd) return false;
  HWND control = ControlOf(msg.hwnd);
  if (!control) return false;  // the main window itself, or a window over it
  HWND focus = ::GetFocus();
  for (EditorPane* pane : panes_)
    if (pane->EndEditForPress(control, focus)) return true;
  for (EditorPane* pane : panes_)
    if (pane->FocusOnPress(msg, focus)) return true;
  return false;
}

bool RuleEditorWindow::PreTranslate(MSG* msg) {
  if (!msg || ended_ || !Handle()) return false;
  // The modeless rule tester's keys (Tab, Esc) inside the main window's loop.
  if (ruleTest_ && ruleTest_->Handle() && ::IsDialogMessageA(ruleTest_->Handle(), msg)) return true;
  if (ApplyMouseRules(*msg) || win::TakeSelectAllKey(*msg)) return true;
  if (!accelerators_) return false;
  if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) return false;
  if (!PaneEditing(::GetFocus())) return false;
  return ::TranslateAcceleratorA(Handle(), accelerators_, msg) != 0;
}

bool RuleEditorWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result) {
  auto answer = [this, result](LRESULT value) {
    ::SetWindowLongPtrA(Handle(), DWLP_MSGRESULT, value);
    *result = TRUE;
    return true;
  };
  switch (message) {
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case ID_SYS_ABOUT:
          ShowAboutBox(Handle());
          *result = TRUE;
          return true;
        case ID_SYS_TOPMOST:
          ToggleTopMost();
          *result = TRUE;
          return true;
        case SC_CLOSE:
          if (!ended_) OnClose();
          *result = TRUE;
          return true;
        default:
          return false;
      }
    case WM_GETMINMAXINFO:
      LimitTracking(reinterpret_cast<MINMAXINFO*>(lParam));
      return answer(0);
    case WM_SIZE:
      LayOut();
      return false;
    case WM_CONTEXTMENU: {
      if (ended_) return false;
      HWND control = reinterpret_cast<HWND>(wParam);
      EditorPane* pane = PaneOwning(::GetDlgCtrlID(control));
      if (!pane || ::GetParent(control) != Handle() || !pane->OnContextMenu(control, lParam)) return false;
      *result = TRUE;
      return true;
    }
    case kMoveRulesMessage:
      if (!ended_) ruleList_.MoveSelectedRules(static_cast<int>(wParam), static_cast<int>(lParam));
      return answer(0);
    case kFolderRefQueryMessage:
      return answer(session_.Folders().Holds(reinterpret_cast<const std::uint8_t*>(wParam),
                                             static_cast<std::size_t>(lParam))
                        ? 1
                        : 0);
    case kOpenNgWordToolMessage:
      if (!ended_) OpenNgWordTool();
      return answer(0);
    case kUnsupportedMailMessage:
      Tell(kUnsupportedMail, MB_ICONWARNING);
      return answer(0);
    case watchui::kReloadMessage:
      if (!ended_) {
        ::SetFocus(Item(IDC_IDENTITY_COMBO));
        LoadIdentity(true);
      }
      return answer(0);
    default:
      return false;
  }
}

}  // namespace velkor
