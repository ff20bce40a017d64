#include "editor/ActionEditing.h"

#include "rulestore/RuleStore.h"
#include "text/ShiftJis.h"

namespace velkor {

const ColourEntry& Colour(int index) {
  // Bitmap 138 is drawn from the same values (src/res/make-colors-bmp.py).
  static const ColourEntry kColours[kColourCount] = {
      {"既定", 0, 0, 0},         {"黒", 0, 0, 0},          {"茶色", 128, 0, 0},      {"緑", 0, 128, 0},
      {"オリーブ", 128, 128, 0}, {"紺", 0, 0, 128},        {"紫", 128, 0, 128},      {"青緑", 0, 128, 128},
      {"灰色", 128, 128, 128},   {"銀色", 192, 192, 192},  {"赤", 255, 0, 0},        {"黄緑", 0, 255, 0},
      {"黄", 255, 255, 0},       {"青", 0, 0, 255},        {"赤紫", 255, 0, 255},    {"水色", 0, 255, 255},
      {"白", 255, 255, 255}};
  return kColours[index >= 0 && index < kColourCount ? index : 0];
}

ActionValueKind PaneOfActionRow(int row) {
  static const ActionValueKind kPanes[kSlotCount] = {
      ActionValueKind::Folder, ActionValueKind::Folder, ActionValueKind::None, ActionValueKind::Text,
      ActionValueKind::Colour, ActionValueKind::None,   ActionValueKind::None, ActionValueKind::Mark,
      ActionValueKind::Text,   ActionValueKind::None,   ActionValueKind::None, ActionValueKind::None};
  return row >= 0 && row < kSlotCount ? kPanes[row] : ActionValueKind::None;
}

std::vector<std::string> SplitForwardAddresses(const std::string& text) {
  std::vector<std::string> addresses;
  for (const std::string& group : sjis::Split(text, ';')) {
    for (const std::string& part : sjis::Split(group, ',')) {
      std::string address = sjis::CleanUserText(part);
      if (!address.empty()) addresses.push_back(std::move(address));
    }
  }
  return addresses;
}

std::string JoinForwardAddresses(const std::vector<std::string>& addresses) {
  std::string joined;
  for (const std::string& address : addresses) {
    if (!joined.empty()) joined += ',';
    joined += address;
  }
  return joined;
}

ActionEditing::ActionEditing(RuleStore& store, std::uint32_t rule, const PathCheck& paths)
    : store_(store), rule_(rule), paths_(paths) {}

SlotMask ActionEditing::Mask() const { return store_.ActionMask(rule_); }

bool ActionEditing::Holds(int row) const { return row >= 0 && row < kSlotCount && (Mask() & SlotBit(row)) != 0; }

int ActionEditing::FirstChecked() const {
  for (int row = 0; row < kSlotCount; ++row)
    if (Holds(row)) return row;
  return -1;
}

const RuleAction* ActionEditing::Action(int row) const {
  return row >= 0 && row < kSlotCount ? store_.Action(rule_, SlotBit(row)) : nullptr;
}

void ActionEditing::StoreDword(int row, std::uint32_t value) {
  const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                                 static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
  store_.SetActionValue(rule_, SlotBit(row), bytes, 4, valuetype::kDword);
}

// Only real changes touch the store, so merely showing a consistent rule
// leaves it unmodified.
void ActionEditing::Exclude(int row) {
  using namespace actionrow;
  if (row == kDontDownload || row == kDeleteFromServer) {
    const SlotMask others = Mask() & ~SlotBit(row);
    if (others != 0 || !Holds(row)) store_.SetActionInUse(rule_, SlotBit(row), true);  // the model takes the rest out
    return;
  }
  for (int exclusive : {kDontDownload, kDeleteFromServer})
    if (Holds(exclusive)) store_.SetActionInUse(rule_, SlotBit(exclusive), false);
}

namespace {

// The stored number, judged whole: 0x101 is no colour index and no mark,
// though its low byte alone would pass.
bool StoredNumber(const RuleAction* action, std::uint32_t* value) { return action && action->DwordValue(value); }

}  // namespace

std::optional<std::uint32_t> ActionEditing::StoredFolder(int row, const StoreStamp& stamp) const {
  const RuleAction* action = Action(row);
  if (!action || PaneOfActionRow(row) != ActionValueKind::Folder || !action->HasValue()) return std::nullopt;
  if (!FolderRefMatchesStore(action->ValueData(), action->ValueSize(), stamp)) return std::nullopt;
  return FolderRefFolderId(action->ValueData(), action->ValueSize());
}

ActionPaneView ActionEditing::ShowRow(int row, const StoreStamp& stamp) {
  ActionPaneView view;
  if (row < 0 || row >= kSlotCount) return view;
  Exclude(row);
  view.kind = PaneOfActionRow(row);
  if (const char* prompt = ActionSlot(row).prompt) view.label = prompt;
  const RuleAction* action = Action(row);
  switch (view.kind) {
    case ActionValueKind::Folder:
      view.folder = StoredFolder(row, stamp);
      view.storeSelectedFolder = !action || !action->HasValue();
      break;
    case ActionValueKind::Text:
      if (action) action->TextValue(&view.text);
      break;
    case ActionValueKind::Colour: {
      std::uint32_t index = 0;
      if (!action || !action->HasValue()) {
        StoreDword(row, kNewHighlight);
        view.choice = static_cast<int>(kNewHighlight);
      } else if (StoredNumber(action, &index) && index < static_cast<std::uint32_t>(kColourCount)) {
        view.choice = static_cast<int>(index);
      }
      break;
    }
    case ActionValueKind::Mark: {
      std::uint32_t value = 0;
      if (!StoredNumber(action, &value) || (value != 1 && value != 2)) {
        StoreDword(row, kNewWatchIgnore);
        value = kNewWatchIgnore;
      }
      view.choice = value == 1 ? 0 : 1;
      break;
    }
    case ActionValueKind::None:
      break;
  }
  return view;
}

ActionPaneView ActionEditing::CheckRow(int row, const StoreStamp& stamp) {
  if (row < 0 || row >= kSlotCount) return ActionPaneView{};
  store_.SetActionInUse(rule_, SlotBit(row), true);
  return ShowRow(row, stamp);
}

void ActionEditing::UncheckRow(int row) {
  if (row >= 0 && row < kSlotCount) store_.SetActionInUse(rule_, SlotBit(row), false);
}

bool ActionEditing::StoreFolder(int row, const StoreStamp& stamp, std::optional<std::uint32_t> folder) {
  if (PaneOfActionRow(row) != ActionValueKind::Folder) return Holds(row);
  if (folder) {
    const FolderRefBytes ref = MakeFolderRef(stamp, *folder);
    store_.SetActionValue(rule_, SlotBit(row), ref.data(), static_cast<std::uint32_t>(ref.size()), valuetype::kBytes);
  } else {
    store_.SetActionValue(rule_, SlotBit(row), nullptr, 0, valuetype::kNone);
  }
  return Holds(row);
}

bool ActionEditing::ChooseEntry(int row, int index) {
  const ActionValueKind pane = PaneOfActionRow(row);
  if (pane == ActionValueKind::Colour && index >= 0 && index < kColourCount) {
    StoreDword(row, static_cast<std::uint32_t>(index));
  } else if (pane == ActionValueKind::Mark && (index == 0 || index == 1)) {
    StoreDword(row, static_cast<std::uint32_t>(index + 1));
  }
  return Holds(row);
}

TextCommit ActionEditing::CommitText(int row, const std::string& text, bool unchanged) {
  TextCommit commit;
  commit.text = text;
  if (PaneOfActionRow(row) != ActionValueKind::Text || (unchanged && !text.empty())) {
    commit.held = Holds(row);
    return commit;
  }
  std::string cleaned = sjis::CleanUserText(text);
  if (row == actionrow::kForward) {
    cleaned = JoinForwardAddresses(SplitForwardAddresses(cleaned));
  } else if (!cleaned.empty() && !paths_.Exists(cleaned)) {
    cleaned.clear();
  }
  if (cleaned.empty()) {
    store_.SetActionValue(rule_, SlotBit(row), nullptr, 0, valuetype::kNone);
  } else {
    store_.SetActionValue(rule_, SlotBit(row), cleaned.c_str(), static_cast<std::uint32_t>(cleaned.size() + 1),
                          valuetype::kText);
  }
  commit.stored = true;
  commit.text = cleaned;
  commit.held = Holds(row);
  return commit;
}

bool ActionEditing::RowInvalid(int row) const {
  const RuleAction* action = Action(row);
  return action && action->InUse() && !action->IsValid(store_.Checks());
}

}  // namespace velkor
