#pragma once
// EditorSession: what the editor holds for the Outlook Express identity it
// shows, without any window. The rules and blocked senders (RuleStore) with
// the rule display order (kept in the RuleSet: the order of its rules is the
// order shown and saved), the identity's accounts and mail folders, the
// address-book entries, which identity is current and how one is chosen, the
// selection to restore after a reload, and what each tick of the poll timer
// must do. The main window shows this state and turns user actions into
// calls here; everything in it runs on a MemoryRegistry in tests.

#include <cstdint>
#include <string>
#include <vector>

#include "addressbook/AddressEntries.h"
#include "editor/RuleOrder.h"
#include "folders/MailFolderList.h"
#include "rulestore/Identities.h"
#include "rulestore/RegistryWatcher.h"
#include "rulestore/RuleStore.h"

namespace velkor {

class RegistryAccess;

// The rule, criterion row and action row to select again after a reload;
// -1 each when none.
struct RememberedSelection {
  std::int64_t rule = -1;
  int criterion = -1;
  int action = -1;
  bool operator==(const RememberedSelection& other) const {
    return rule == other.rule && criterion == other.criterion && action == other.action;
  }
};

// What one tick of the poll timer asks of the window, in the order checked.
enum class PollAction {
  None,                // nothing changed
  Fatal,               // a watcher failed: show messageId and end the window
  Reload,              // an outside change: show messageId, close dialogs, post the reload
  RestartWatchers,     // a watcher ended without news: start both again
  ReopenAddressBook,   // the address-book file changed: reopen it, then SetAddressBook
  FoldersChanged,      // the folder list changed and was taken over: rebuild what shows folders
};

struct PollDecision {
  PollAction action = PollAction::None;
  int messageId = 0;          // string resource for Fatal and Reload
  bool stopTimer = false;     // kill the poll timer before acting (the watchers are stopped already)
};

class EditorSession {
 public:
  explicit EditorSession(RegistryAccess& reg);

  RegistryAccess& Registry() const { return reg_; }
  RuleStore& Store() { return store_; }
  const RuleStore& Store() const { return store_; }
  RuleSet& Rules() { return store_.Rules(); }
  const RuleSet& Rules() const { return store_.Rules(); }
  BlockedSenderList& BlockedSenders() { return store_.BlockedSenders(); }
  bool HasUnsavedChanges() const { return store_.HasChanges(); }

  // --- Identities
  // Reads the identity list afresh and answers it.
  const std::vector<OeIdentity>& ReadIdentities();
  // The list of the last read.
  const std::vector<OeIdentity>& Identities() const { return identities_; }
  bool IsListed(const std::string& key) const;
  // The identity to start with: `remembered` when it is listed, else the
  // default identity when that is listed, else empty (the first entry shown
  // is taken then).
  std::string PreferredIdentity(const std::string& remembered) const;
  const std::string& IdentityKey() const { return identityKey_; }

  // --- Load
  // Makes `key` the current identity and reads its rules, blocked senders,
  // accounts and folder list. The remembered selection is forgotten unless
  // it was taken on this same identity. Unsaved changes are dropped.
  void Load(const std::string& key);
  bool Loaded() const { return store_.Loaded(); }
  const AccountList& Accounts() const { return accounts_; }
  const MailFolderList& Folders() const { return folders_; }

  // The selection to restore after the next load, and the identity it was
  // taken on (at start: the one stored when the program last closed).
  void Remember(const RememberedSelection& selection, const std::string& identity);
  const RememberedSelection& Remembered() const { return remembered_; }

  // --- Rule display order
  // A new rule ("新規のメール ルール", numbered when taken), enabled, placed
  // at `index` (clamped to 0..Count; Count appends).
  MailRule& AddRuleAt(int index);
  bool RemoveRule(std::uint32_t number) { return store_.Rules().Remove(number); }
  // Moves the rules at the selected indices to `target` (drag and drop);
  // answers the move so that the window can rearrange its rows alike.
  RowMove MoveRules(const std::vector<bool>& selected, int source, int target);
  // The rule numbers in display order: what is shown and what a save writes.
  std::vector<std::uint32_t> DisplayOrder() const { return store_.Rules().Numbers(); }
  SaveResult Save(ProgressSink& progress) { return store_.SaveAll(progress); }

  // --- Address book
  void SetAddressBook(const AddressEntryList& entries, std::uint64_t stamp);
  const AddressEntryList& AddressEntries() const { return addressEntries_; }
  std::uint64_t AddressBookStamp() const { return addressBookStamp_; }

  // --- Poll timer
  // One tick, given the watchers' own decision: the watchers first; then
  // the address-book file's stamp; then the folder list, re-read and taken
  // over when it differs.
  PollDecision Poll(const WatchTickDecision& watch);

 private:
  void LoadFolderList(MailFolderList* list) const;

  RegistryAccess& reg_;
  RuleStore store_;
  std::vector<OeIdentity> identities_;
  std::string identityKey_;
  AccountList accounts_;
  MailFolderList folders_;
  AddressEntryList addressEntries_;
  std::uint64_t addressBookStamp_ = 0;
  RememberedSelection remembered_;
  std::string rememberedIdentity_;
};

}  // namespace velkor
