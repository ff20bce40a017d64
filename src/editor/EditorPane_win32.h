#pragma once
// The main window is a frame of panes. The frame (RuleEditorWindow) owns the
// dialog, the session, the watchers, saving and closing; each pane owns some
// controls of dialog 102 and the state that goes with them, and is one file:
//
//   RuleListPane_win32        1002: the rules, their menu, keys, renaming, dragging
//   BlockedSenderPane_win32   1001: the blocked senders
//   CriteriaPane_win32        1003 and the criterion value controls
//   ActionPane_win32          1004 and the action value controls
//
// How the frame talks to a pane, in the order of a run:
//   Attach       once, before the dialog exists: the frame and its session.
//   OnInit       the dialog exists: style, columns and rows of the pane's lists.
//   OnSessionUnloading / OnSessionLoaded
//                around every load of an identity (start, switch, reload after
//                a save or an outside change): empty the lists, then fill them
//                from Session(). Panes are called in the frame's order, so the
//                rule list has selected its rule before the others hear OnRuleShown.
//   OnRuleShown  the one rule shown (its number), or -1 when not exactly one
//                rule is selected: show or hide what belongs to it.
//   OnFoldersChanged
//                the folder list changed under the running window.
//   OnCommand / OnNotify / OnContextMenu
//                WM_COMMAND, WM_NOTIFY and WM_CONTEXTMENU of a control the pane
//                owns (OwnsControl), and WM_COMMAND of the pane's menu commands.
//                Every pane is asked in turn until one answers true.
//   OnGenericCommand
//                a generic editing key (Del, Ctrl+C/X/V/A/F, Ins, F3) pressed
//                while the pane's EditingList has the focus. By default the
//                key's entry in GenericCommands() is sent as WM_COMMAND.
//   IsCommandEnabled
//                the command-update callback of the pane's popup menu.
//   EndEditForPress / FocusOnPress
//                the mouse rules, before the dialog sees a button press: an
//                edit in progress is committed first, an unfocused word list
//                is focused first. True swallows the press.
//   EndEdit      commit any edit in progress (before a save or a load).
//   RememberSelection
//                write the pane's part of the selection to restore.
//   OnDestroy    the dialog is going away.
//
// A new pane: derive from EditorPane, list its controls in OwnsControl, set
// its lists up in OnInit, fill them in OnSessionLoaded, react in OnCommand and
// OnNotify, and add one member and one entry of the frame's pane list in
// RuleEditorWindow_win32.h. Any change to the session is followed by
// Frame().Modified(), which updates the save button. While the pane itself
// changes its list's items it holds a win::ScopedFlag on its guard, and its
// item-change handler returns at once while the guard is set.

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <memory>
#include <string>

#include "editor/EditorSession.h"
#include "help/HelpContext.h"

namespace velkor {

class ProgressDialog;

// What a pane may ask of the frame.
class EditorFrame {
 public:
  virtual ~EditorFrame() = default;
  virtual HWND Handle() const = 0;
  virtual EditorSession& Session() = 0;
  // The rule shown by the panes (the single selected rule), -1 when none.
  virtual std::int64_t ShownRule() const = 0;
  // The rule list's selection changed: every pane hears OnRuleShown.
  virtual void ShowSelectedRule() = 0;
  // Repaints the rule list and both slot lists (validity may have changed).
  virtual void RepaintRuleLists() = 0;
  // The session changed: enables 保存 exactly while there are unsaved changes.
  virtual void Modified() = 0;
  // A message box through the program's seam, owned by the main window.
  virtual int Ask(const std::string& text, const std::string& caption, UINT flags) = 0;
  // A message titled with the program's name.
  virtual void Tell(const std::string& text, UINT icon) = 0;
  // The progress window over the main window, showing `status`; closed when
  // the object goes.
  virtual std::unique_ptr<ProgressDialog> OpenProgress(const std::string& status, bool allowCancel) = 0;
  // Whether the Windows Address Book is open (its entries are the session's).
  virtual bool AddressBookOpen() const = 0;
};

// What each list makes of the generic editing keys (0: nothing).
struct GenericCommands {
  int clear = 0;      // Del
  int copy = 0;       // Ctrl+C
  int cut = 0;        // Ctrl+X
  int find = 0;       // Ctrl+F
  int insert = 0;     // Ins
  int paste = 0;      // Ctrl+V
  int selectAll = 0;  // Ctrl+A
  int findNext = 0;   // F3
  // The command for generic id `generic` (ID_EDIT_..., ID_FIND_NEXT), 0 for none.
  int For(int generic) const;
};

class EditorPane {
 public:
  virtual ~EditorPane() = default;
  void Attach(EditorFrame& frame) { frame_ = &frame; }

  virtual bool OwnsControl(int id) const = 0;
  // The help context F1 shows while one of the pane's controls has the focus.
  virtual std::uint32_t HelpContext() const = 0;
  virtual void OnInit() {}
  virtual void OnDestroy() {}
  virtual bool OnCommand(int id, int code, HWND control) { return false; }
  virtual bool OnNotify(int id, NMHDR* header, LRESULT* result) { return false; }
  // `point` as WM_CONTEXTMENU gives it (-1, -1 from the keyboard).
  virtual bool OnContextMenu(HWND control, LPARAM point) { return false; }

  // The list whose focus routes the generic keys here, or null.
  virtual HWND EditingList() const { return nullptr; }
  virtual GenericCommands Generic() const { return GenericCommands(); }
  // True when the key did something.
  virtual bool OnGenericCommand(int generic);
  virtual bool IsCommandEnabled(UINT command) const { return false; }

  virtual void OnSessionUnloading() {}
  virtual void OnSessionLoaded() {}
  virtual void OnSessionShown() {}
  virtual void OnRuleShown(std::int64_t rule) {}
  // The poll timer found the identity's folder list changed (Session().Folders()).
  virtual void OnFoldersChanged() {}
  virtual void RememberSelection(RememberedSelection* selection) const {}

  // `control`: the dialog's child under the press; `focus`: the focus now.
  virtual bool EndEditForPress(HWND control, HWND focus) { return false; }
  virtual bool FocusOnPress(const MSG& msg, HWND focus) { return false; }
  virtual void EndEdit() {}

 protected:
  EditorFrame& Frame() const { return *frame_; }
  EditorSession& Session() const { return frame_->Session(); }
  HWND Dialog() const { return frame_->Handle(); }
  HWND Item(int id) const { return ::GetDlgItem(frame_->Handle(), id); }
  // Sends `command` to the main window as a menu command would.
  void SendCommand(int command) const;

 private:
  EditorFrame* frame_ = nullptr;
};

// Sets up a report list of one column: the extended style, and the column
// as wide as the client area less `margin` (fixed-row lists pass the
// scroll bar's width).
void SetUpSingleColumnList(HWND dialog, int id, DWORD extendedStyle, const char* column, int margin);
// The width of a vertical scroll bar: the margin of the fixed twelve-row lists.
int ScrollBarMargin();
// The three word lists keep this much room right of their one column.
constexpr int kWordListMargin = 50;

// State image of a list-view state: 1 unchecked, 2 checked, 0 none yet.
inline int CheckStateOf(UINT state) { return static_cast<int>((state & LVIS_STATEIMAGEMASK) >> 12); }
// True when an LVN_ITEMCHANGED turned a row's check box on or off.
bool CheckBoxToggled(const NMLISTVIEW& change, bool* nowChecked);
// Whether a toggle of a check box of `list` came from the user: the list has
// the keyboard focus, or the left button is down on it (Wine's list view
// toggles a clicked box before it takes the focus). A user's toggle on an
// unfocused list gives it the focus.
bool TakeUserToggle(HWND list);

}  // namespace velkor
