#include "editor/RuleEditorWindow_win32.h"

#include <commctrl.h>

#include <cstring>

#include "addressbook/AddressBook_win32.h"
#include "addressbook/FileStamp.h"
#include "editor/AboutDialog_win32.h"
#include "editor/Help_win32.h"
#include "editor/RuleDragDrop_win32.h"
#include "editor/RuleOrder.h"
#include "editor/WindowState.h"
#include "res/resource.h"
#include "rulestore/RegistryWatcher_win32.h"
#include "text/ShiftJis.h"
#include "win/Controls.h"
#include "win/MessageBox.h"
#include "win/Strings.h"

namespace velkor {
namespace {

using namespace mainwindow;

// The three word lists keep this much room right of their one column.
constexpr int kColumnMargin = 50;

// Full client width, less the vertical scroll bar the list may show.
int FixedRowColumnWidth(const win::ListView& list) {
  RECT client = list.ClientRect();
  return client.right - client.left - ::GetSystemMetrics(SM_CXVSCROLL);
}

// The main window whose modal loop runs on this thread (one per thread).
RuleEditorWindow* g_hookedWindow = nullptr;
HHOOK g_hook = nullptr;

LRESULT CALLBACK MessageFilter(int code, WPARAM wParam, LPARAM lParam) {
  if (code == MSGF_DIALOGBOX && g_hookedWindow) {
    if (g_hookedWindow->PreTranslate(reinterpret_cast<MSG*>(lParam))) return TRUE;
  }
  return ::CallNextHookEx(g_hook, code, wParam, lParam);
}

bool IsNtFamily() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (!::GetVersionExA(&info)) return true;
  return info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

}  // namespace

RuleEditorWindow::RuleEditorWindow(RegistryAccess& registry, RegistryWatchers& watchers)
    : registry_(registry), watchers_(watchers), store_(registry) {}

RuleEditorWindow::RuleEditorWindow(RegistryAccess& registry) : RuleEditorWindow(registry, ProcessWatchers()) {}

RuleEditorWindow::~RuleEditorWindow() {
  // A modeless window (tests) is destroyed by the base; the watchers must not
  // outlive the session that started them.
  watchers_.StopAllWatchers();
}

INT_PTR RuleEditorWindow::Run(HWND owner) { return RunModal(owner, IDD_VELKOR_DIALOG); }

bool RuleEditorWindow::HasFolder(const std::uint8_t* ref, std::size_t size) const {
  if (!Handle()) return folders_.Holds(ref, size);
  return ::SendMessageA(Handle(), kFolderRefQueryMessage, reinterpret_cast<WPARAM>(ref),
                        static_cast<LPARAM>(size)) != 0;
}

// ---------------------------------------------------------------------------
// Initialisation

bool RuleEditorWindow::OnInit() {
  ntFamily_ = IsNtFamily();
  RuleChecks checks;
  checks.ntFamily = ntFamily_;
  checks.folders = this;
  store_.SetChecks(checks);
  settings_.Load(registry_);

  topMost_ = settings_.showTopMost == 1;
  if (topMost_) ::SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ExtendSystemMenu();
  SetIcons();
  accelerators_ = ::LoadAcceleratorsA(win::ProgramInstance(), MAKEINTRESOURCEA(IDR_ACCELERATORS));
  RestorePosition();
  OpenAddressBook();
  SetUpLists();
  blockedPane_.Attach(Handle());

  g_hookedWindow = this;
  messageHook_ = ::SetWindowsHookExA(WH_MSGFILTER, &MessageFilter, nullptr, ::GetCurrentThreadId());
  g_hook = messageHook_;
  dropTargetRegistered_ = RegisterRuleDropTarget(Handle(), Item(IDC_RULE_LIST));

  if (ListIdentitiesWithNames(registry_).empty()) {
    Fatal(ruletext::kNoIdentities);
    return false;
  }
  identityKey_ = settings_.initialOEUser;
  rememberedRule_ = settings_.initialRule;
  rememberedCriterion_ = settings_.initialCriteria;
  rememberedAction_ = settings_.initialAction;
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
  if (!settings_.DesktopMatches(screenWidth, screenHeight)) return;
  RECT rect;
  ::GetWindowRect(Handle(), &rect);
  ScreenPoint corner = ClampMainWindowPosition(settings_.mainWndLeft, settings_.mainWndTop, rect.right - rect.left,
                                               ::GetSystemMetrics(SM_CYCAPTION), screenWidth, screenHeight);
  ::SetWindowPos(Handle(), nullptr, corner.x, corner.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void RuleEditorWindow::OpenAddressBook() {
  addressBook_ = std::make_unique<AddressBook>(registry_);
  if (addressBook_->Open()) addressBook_->Load();
  addressBookStamp_ = AddressBookFileStamp(registry_);
}

void RuleEditorWindow::SetUpLists() {
  struct ListSetup {
    int id;
    DWORD extendedStyle;
    const char* column;  // the list's one column
    bool fixedRows;      // the twelve rows of a type list: the column spans the list
  };
  static const ListSetup kLists[] = {
      {IDC_BLOCKED_SENDER_VIEW, LVS_EX_INFOTIP | LVS_EX_FULLROWSELECT, "禁止された送信者のメールアドレス", false},
      {IDC_RULE_LIST, LVS_EX_INFOTIP | LVS_EX_CHECKBOXES, "適用するメールルール", false},
      {IDC_VALUE_LIST, LVS_EX_INFOTIP | LVS_EX_FULLROWSELECT, "条件", false},
      {IDC_CRITERIA_TYPE_LIST, LVS_EX_INFOTIP | LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES, ruletext::kCriteriaHeader,
       true},
      {IDC_ACTION_TYPE_LIST, LVS_EX_INFOTIP | LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES, ruletext::kActionsHeader,
       true},
  };
  for (const ListSetup& setup : kLists) {
    win::ListView list(Handle(), setup.id);
    list.SetExtendedStyle(setup.extendedStyle, setup.extendedStyle);
    RECT client = list.ClientRect();
    int width = setup.fixedRows ? FixedRowColumnWidth(list) : client.right - client.left - kColumnMargin;
    list.InsertColumn(0, setup.column, width);
  }
  criteriaGuard_ = actionGuard_ = true;
  win::ListView criteria(Handle(), IDC_CRITERIA_TYPE_LIST);
  win::ListView actions(Handle(), IDC_ACTION_TYPE_LIST);
  for (int slot = 0; slot < kSlotCount; ++slot) {
    criteria.Insert(slot, CriterionSlot(slot).shortName, slot);
    actions.Insert(slot, ActionSlot(slot).shortName, slot);
  }
  criteriaGuard_ = actionGuard_ = false;
  const int headerLists[] = {IDC_BLOCKED_SENDER_VIEW, IDC_RULE_LIST, IDC_VALUE_LIST};
  for (int i = 0; i < 3; ++i) headers_[i].Attach(Item(headerLists[i]));
  HideValuePanes();
  const int slotLists[] = {IDC_CRITERIA_TYPE_LIST, IDC_ACTION_TYPE_LIST};
  win::ShowControls(Handle(), slotLists, 2, false);
}

bool RuleEditorWindow::FillIdentityCombo() {
  std::vector<OeIdentity> identities = ListIdentitiesWithNames(registry_);
  bool known = false;
  for (const OeIdentity& identity : identities) known |= identity.keyName == identityKey_;
  if (identityKey_.empty() || !known) identityKey_ = DefaultIdentity(registry_);

  win::ComboBox combo(Handle(), IDC_IDENTITY_COMBO);
  combo.Clear();
  comboIdentities_ = identities;
  for (std::size_t i = 0; i < identities.size(); ++i) {
    // An identity without a user name would be an empty entry: show its key.
    const std::string& name = identities[i].userName.empty() ? identities[i].keyName : identities[i].userName;
    combo.Add(name, static_cast<LPARAM>(i));
  }
  if (combo.Count() == 0) return false;
  if (!SelectComboIdentity(identityKey_)) {
    combo.Select(0);
    identityKey_ = comboIdentities_[static_cast<std::size_t>(combo.Data(0))].keyName;
  }
  combo.Enable(combo.Count() != 1);
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
  rememberedRule_ = SingleSelectedRuleId();
  rememberedCriterion_ = rememberedAction_ = -1;
  if (rememberedRule_ < 0) return;
  rememberedCriterion_ = win::ListView(Handle(), IDC_CRITERIA_TYPE_LIST).NextSelected();
  rememberedAction_ = win::ListView(Handle(), IDC_ACTION_TYPE_LIST).NextSelected();
}

void RuleEditorWindow::LoadIdentity(bool discard) {
  if (ended_) return;
  std::vector<OeIdentity> identities = ListIdentitiesWithNames(registry_);
  if (identities.empty()) return Fatal(kNoIdentitiesExit);
  if (initialised_) RememberSelection();

  if (!discard && store_.HasChanges()) {
    int answer = Ask(kSaveQuestion, kSaveQuestionTitle, MB_YESNOCANCEL | MB_ICONQUESTION);
    identities = ListIdentitiesWithNames(registry_);
    if (identities.empty()) return Fatal(kFatalError);
    if (answer == IDCANCEL) {
      if (!SelectComboIdentity(identityKey_)) Fatal(kNoIdentitiesExit);
      return;
    }
    if (answer == IDYES) {
      // Saved without the reload: this load follows at once.
      if (!SaveChanges(true)) {
        if (!SelectComboIdentity(identityKey_)) return Fatal(kNoIdentitiesExit);
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
  bool listed = false;
  for (const OeIdentity& identity : identities) listed |= identity.keyName == key;
  if (!listed) return Fatal(kIdentityGone);
  if (key.empty()) return Fatal(kIdentityInvalid);

  if (key != identityKey_) rememberedRule_ = rememberedCriterion_ = rememberedAction_ = -1;
  identityKey_ = key;

  ruleListGuard_ = true;
  win::ListView(Handle(), IDC_BLOCKED_SENDER_VIEW).Clear();
  win::ListView(Handle(), IDC_RULE_LIST).Clear();
  ruleListGuard_ = false;
  store_.Load(identityKey_);
  accounts_.Read(registry_, identityKey_);
  LoadFolderList(&folders_);

  FillBlockedSenders();
  std::int64_t restoreRule = rememberedRule_;
  int restoreCriterion = rememberedCriterion_, restoreAction = rememberedAction_;
  FillRuleList(restoreRule);
  ShowSelectedRule();
  if (restoreRule >= 0 && SingleSelectedRuleId() == restoreRule) {
    win::ListView criteria(Handle(), IDC_CRITERIA_TYPE_LIST);
    win::ListView actions(Handle(), IDC_ACTION_TYPE_LIST);
    if (restoreCriterion >= 0 && restoreCriterion < kSlotCount) {
      criteria.UnselectAll();
      criteria.SetSelected(restoreCriterion, true);
      criteria.SetFocused(restoreCriterion, true);
    }
    if (restoreAction >= 0 && restoreAction < kSlotCount) {
      actions.UnselectAll();
      actions.SetSelected(restoreAction, true);
      actions.SetFocused(restoreAction, true);
    }
  }
  UpdateSaveButton();
  StartWatching();
}

void RuleEditorWindow::LoadFolderList(MailFolderList* list) const {
  StoreRootInfo root = ReadStoreRoot(registry_, identityKey_);
  list->Load(root.storeRoot);
}

void RuleEditorWindow::FillBlockedSenders() { blockedPane_.Fill(store_.BlockedSenders().Addresses(), true); }

void RuleEditorWindow::CommitWords(const std::vector<std::string>& words) {
  // Rows that end as they were (a fresh row given up) are no change to save.
  if (words == store_.BlockedSenders().Addresses()) return;
  store_.BlockedSenders().SetAddresses(words);
  UpdateSaveButton();
}

void RuleEditorWindow::FillRuleList(std::int64_t selectRuleId) {
  win::ListView list(Handle(), IDC_RULE_LIST);
  const RuleSet& rules = store_.Rules();
  std::vector<std::uint32_t> ids;
  ruleListGuard_ = true;
  for (int i = 0; i < rules.Count(); ++i) {
    const MailRule& rule = rules.At(i);
    int row = list.Insert(i, rule.Name(), static_cast<LPARAM>(rule.Number()));
    list.SetChecked(row, rule.Enabled());
    ids.push_back(rule.Number());
  }
  int row = RowToRestore(ids, selectRuleId);
  if (row >= 0) {
    list.SetSelected(row, true);
    list.SetFocused(row, true);
    list.EnsureVisible(row);
  }
  ruleListGuard_ = false;
}

// ---------------------------------------------------------------------------
// Watchers and the poll timer

bool RuleEditorWindow::StartWatching() {
  if (ended_) return false;
  if (watchers_.StartWatchers(store_.RulesKeyPath(), store_.BlockedKeyPath()) != 0) {
    Fatal(win::LoadResString(IDS_WATCH_START_FAILED));
    return false;
  }
  ::SetTimer(Handle(), kPollTimerId, kPollPeriodMs, nullptr);
  timerRunning_ = true;
  return true;
}

void RuleEditorWindow::StopWatching() {
  if (Handle()) ::KillTimer(Handle(), kPollTimerId);
  timerRunning_ = false;
  watchers_.StopAllWatchers();
}

void RuleEditorWindow::EnsureWatching() {
  auto watching = [this](int slot) {
    auto record = watchers_.Record(slot);
    return record && record->state.load() == watchstate::kWatching && !record->stopped.load();
  };
  if (watching(kRulesWatchSlot) && watching(kBlockSendersWatchSlot)) {
    if (!timerRunning_) {
      ::SetTimer(Handle(), kPollTimerId, kPollPeriodMs, nullptr);
      timerRunning_ = true;
    }
    return;
  }
  StopWatching();
  StartWatching();
}

void RuleEditorWindow::OnTimer(UINT_PTR timerId) {
  if (timerId == kPollTimerId && timerRunning_) PollTick();
}

void RuleEditorWindow::PollTick() {
  WatchTickDecision decision = watchers_.Tick();
  if (decision.stopWatchers) {
    ::KillTimer(Handle(), kPollTimerId);
    timerRunning_ = false;
  }
  switch (decision.action) {
    case WatchTickAction::Fatal:
      Fatal(win::LoadResString(static_cast<UINT>(decision.messageId)));
      return;
    case WatchTickAction::Reload:
      win::ShowMessageId(Handle(), static_cast<UINT>(decision.messageId), win::LoadResString(IDS_APP_TITLE),
                         MB_OK | MB_ICONINFORMATION);
      CloseDialogsOver(Handle());
      ::PostMessageA(Handle(), watchui::kReloadMessage, 0, 0);
      return;
    case WatchTickAction::Restart:
      StartWatching();
      return;
    case WatchTickAction::None:
      break;
  }

  std::uint64_t stamp = AddressBookFileStamp(registry_);
  if (stamp != addressBookStamp_) {
    ::KillTimer(Handle(), kPollTimerId);
    OpenAddressBook();
    ::SetTimer(Handle(), kPollTimerId, kPollPeriodMs, nullptr);
    return;
  }

  MailFolderList current;
  LoadFolderList(&current);
  if (!current.SameContents(folders_)) {
    ::KillTimer(Handle(), kPollTimerId);
    folders_ = current;
    // Move and copy actions may have become valid or invalid.
    RepaintRuleLists();
    ::SetTimer(Handle(), kPollTimerId, kPollPeriodMs, nullptr);
  }
}

void RuleEditorWindow::Fatal(const std::string& text) {
  if (ended_) return;
  ended_ = true;
  StopWatching();
  win::ShowMessage(Handle(), text, win::LoadResString(IDS_APP_TITLE), MB_OK | MB_ICONERROR);
  End(-1);
}

int RuleEditorWindow::Ask(const std::string& text, const std::string& caption, UINT flags) {
  return win::ShowMessage(Handle(), text, caption, flags);
}

void RuleEditorWindow::OnDestroy() {
  StopWatching();
  if (dropTargetRegistered_) ::RevokeDragDrop(Item(IDC_RULE_LIST));
  dropTargetRegistered_ = false;
  for (CImprovedHeaderCtrl& header : headers_) header.Detach();
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
// Messages

bool RuleEditorWindow::OnCommand(int id, int code, HWND) {
  if (ended_) return false;
  if (blockedPane_.OnCommand(id)) return true;
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
    case ID_RULE_ADD_EMPTY:
      AddEmptyRule();
      return true;
    case ID_RULE_DELETE:
      DeleteSelectedRules();
      return true;
    case ID_RULE_SELECT_ALL:
      win::ListView(Handle(), IDC_RULE_LIST).SelectAll();
      return true;
    case ID_EDIT_CLEAR:
    case ID_EDIT_COPY:
    case ID_EDIT_CUT:
    case ID_EDIT_FIND:
    case ID_EDIT_INSERT:
    case ID_EDIT_PASTE:
    case ID_EDIT_SELECT_ALL:
      ForwardGenericCommand(id);
      return true;
    case ID_SYS_TOPMOST:
      ToggleTopMost();
      return true;
    default:
      return false;
  }
}

bool RuleEditorWindow::OnNotify(int id, NMHDR* header, LRESULT* result) {
  if (ended_) return false;
  const bool headerList = id == IDC_RULE_LIST || id == IDC_BLOCKED_SENDER_VIEW || id == IDC_VALUE_LIST;
  if (headerList && (header->code == NM_SETFOCUS || header->code == NM_KILLFOCUS)) {
    ::InvalidateRect(win::ListView(header->hwndFrom).Header(), nullptr, TRUE);
    // Selection colours follow the focus.
    if (id != IDC_VALUE_LIST) win::ListView(header->hwndFrom).RedrawAll();
    return false;
  }
  if (blockedPane_.OnNotify(header, result)) return true;
  if (id == IDC_RULE_LIST) {
    switch (header->code) {
      case LVN_ITEMCHANGED:
        OnRuleItemChanged(*reinterpret_cast<NMLISTVIEW*>(header));
        return true;
      case LVN_BEGINLABELEDITA:
        *result = FALSE;
        return true;
      case LVN_ENDLABELEDITA:
        *result = OnRuleLabelEdited(*reinterpret_cast<NMLVDISPINFOA*>(header)) ? TRUE : FALSE;
        ::InvalidateRect(win::ListView(header->hwndFrom).Header(), nullptr, TRUE);
        return true;
      case NM_CUSTOMDRAW:
        *result = DrawRuleRow(reinterpret_cast<NMLVCUSTOMDRAW*>(header));
        return true;
      case LVN_GETINFOTIPA:
        RuleInfoTip(reinterpret_cast<NMLVGETINFOTIPA*>(header));
        return true;
      case LVN_BEGINDRAG: {
        auto* drag = reinterpret_cast<NMLISTVIEW*>(header);
        if (drag->iItem >= 0) DragRuleRow(Handle(), header->hwndFrom, drag->iItem);
        return true;
      }
      default:
        return false;
    }
  }
  if ((id == IDC_CRITERIA_TYPE_LIST || id == IDC_ACTION_TYPE_LIST) && header->code == LVN_ITEMCHANGED) {
    OnSlotItemChanged(id, *reinterpret_cast<NMLISTVIEW*>(header));
    return true;
  }
  if ((id == IDC_CRITERIA_TYPE_LIST || id == IDC_ACTION_TYPE_LIST) && header->code == LVN_GETINFOTIPA) {
    auto* tip = reinterpret_cast<NMLVGETINFOTIPA*>(header);
    if (tip->pszText && tip->cchTextMax > 0 && tip->iItem >= 0 && tip->iItem < kSlotCount) {
      const char* text = id == IDC_CRITERIA_TYPE_LIST ? CriterionSlot(tip->iItem).description
                                                      : ActionSlot(tip->iItem).description;
      std::string cut = sjis::TruncateChars(text ? text : "", static_cast<std::size_t>(tip->cchTextMax - 1));
      std::memcpy(tip->pszText, cut.c_str(), cut.size() + 1);
    }
    return true;
  }
  return false;
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
    case WM_HELP:
      // F1 anywhere in the window, a control included.
      ShowContextHelp(Handle(), HelpContextForDialog(IDD_VELKOR_DIALOG));
      *result = TRUE;
      return true;
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wParam) == Item(IDC_RULE_LIST) && !ended_) {
        ShowRuleListMenu(POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        *result = TRUE;
        return true;
      }
      return false;
    case kMoveRulesMessage:
      if (!ended_) MoveSelectedRules(static_cast<int>(wParam), static_cast<int>(lParam));
      return answer(0);
    case kFolderRefQueryMessage:
      return answer(folders_.Holds(reinterpret_cast<const std::uint8_t*>(wParam), static_cast<std::size_t>(lParam))
                        ? 1
                        : 0);
    case WM_APP + 5:
      win::ShowMessage(Handle(), kUnsupportedMail, win::LoadResString(IDS_APP_TITLE), MB_OK | MB_ICONWARNING);
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
