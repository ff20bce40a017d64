#include "editor/EditorSession.h"

#include <algorithm>

#include "addressbook/FileStamp.h"

namespace velkor {

EditorSession::EditorSession(RegistryAccess& reg) : reg_(reg), store_(reg) {}

const std::vector<OeIdentity>& EditorSession::ReadIdentities() {
  identities_ = ListIdentitiesWithNames(reg_);
  return identities_;
}

bool EditorSession::IsListed(const std::string& key) const {
  return !key.empty() && std::any_of(identities_.begin(), identities_.end(),
                                     [&key](const OeIdentity& identity) { return identity.keyName == key; });
}

std::string EditorSession::PreferredIdentity(const std::string& remembered) const {
  if (IsListed(remembered)) return remembered;
  std::string fallback = DefaultIdentity(reg_);
  return IsListed(fallback) ? fallback : std::string();
}

void EditorSession::Load(const std::string& key) {
  if (key != rememberedIdentity_) remembered_ = RememberedSelection();
  rememberedIdentity_ = key;
  identityKey_ = key;
  store_.Load(identityKey_);
  accounts_.Read(reg_, identityKey_);
  LoadFolderList(&folders_);
}

void EditorSession::Remember(const RememberedSelection& selection, const std::string& identity) {
  remembered_ = selection;
  rememberedIdentity_ = identity;
}

void EditorSession::LoadFolderList(MailFolderList* list) const {
  StoreRootInfo root = ReadStoreRoot(reg_, identityKey_);
  list->Load(root.storeRoot);
}

MailRule& EditorSession::AddRuleAt(int index) {
  RuleSet& rules = store_.Rules();
  MailRule& rule = rules.AddNewRule();
  std::vector<std::uint32_t> order = rules.Numbers();
  order.pop_back();  // the new rule, appended
  std::size_t at = static_cast<std::size_t>(std::clamp(index, 0, static_cast<int>(order.size())));
  order.insert(order.begin() + static_cast<std::ptrdiff_t>(at), rule.Number());
  rules.Reorder(order);
  return rule;
}

RowMove EditorSession::MoveRules(const std::vector<bool>& selected, int source, int target) {
  RuleSet& rules = store_.Rules();
  RowMove move = MoveSelectedRows(rules.Count(), selected, source, target);
  if (!move.moved) return move;
  std::vector<std::uint32_t> numbers = rules.Numbers();
  std::vector<std::uint32_t> order;
  order.reserve(numbers.size());
  for (int old : move.order) order.push_back(numbers[static_cast<std::size_t>(old)]);
  rules.Reorder(order);
  // A drop that lands where the rows were still counts as a move the user made.
  rules.MarkOrderChanged();
  return move;
}

void EditorSession::SetAddressBook(const AddressEntryList& entries, std::uint64_t stamp) {
  addressEntries_ = entries;
  addressBookStamp_ = stamp;
}

PollDecision EditorSession::Poll(const WatchTickDecision& watch) {
  PollDecision decision;
  decision.stopTimer = watch.stopWatchers;
  decision.messageId = watch.messageId;
  switch (watch.action) {
    case WatchTickAction::Fatal:
      decision.action = PollAction::Fatal;
      return decision;
    case WatchTickAction::Reload:
      decision.action = PollAction::Reload;
      return decision;
    case WatchTickAction::Restart:
      decision.action = PollAction::RestartWatchers;
      return decision;
    case WatchTickAction::None:
      break;
  }
  decision.messageId = 0;
  if (AddressBookFileStamp(reg_) != addressBookStamp_) {
    decision.action = PollAction::ReopenAddressBook;
    decision.stopTimer = true;
    return decision;
  }
  MailFolderList current;
  LoadFolderList(&current);
  if (!current.SameContents(folders_)) {
    folders_ = current;
    decision.action = PollAction::FoldersChanged;
    decision.stopTimer = true;
  }
  return decision;
}

}  // namespace velkor
