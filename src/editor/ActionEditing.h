#pragma once
// The action editor's rules over the twelve action rows of one rule, without
// any window: which rows are checked, what the value pane of a row shows (and
// the default it stores when the stored value is missing or unusable), and
// what a folder, a colour, a mark-or-ignore choice or the text of the address
// edit stores. ActionPane_win32 reads the controls, calls these and shows the
// result. Every change goes into the RuleStore at once (and marks the rule
// modified); nothing here shows a message.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "folders/MailFolderList.h"
#include "rulestore/RuleModel.h"

namespace velkor {

class RuleStore;

// Rows of the action list are the action slots 0-11.
namespace actionrow {
constexpr int kMove = 0;
constexpr int kCopy = 1;
constexpr int kForward = 3;
constexpr int kHighlight = 4;
constexpr int kWatchIgnore = 7;
constexpr int kReply = 8;
constexpr int kDontDownload = 10;
constexpr int kDeleteFromServer = 11;
}  // namespace actionrow

namespace actiontext {
constexpr const char* kForwardPickerPrompt = "転送先のメールアドレスを指定してください。";
constexpr const char* kBrowse = "参照";
}  // namespace actiontext

// The highlight colours: the stored value is the entry's index.
constexpr int kColourCount = 17;
struct ColourEntry {
  const char* text;
  std::uint8_t red, green, blue;
};
const ColourEntry& Colour(int index);  // 0-16

// The value editor of a row.
enum class ActionValueKind { None, Folder, Text, Colour, Mark };
ActionValueKind PaneOfActionRow(int row);

// What the value pane of one row shows.
struct ActionPaneView {
  ActionValueKind kind = ActionValueKind::None;
  std::string label;  // the text above the value control
  // Folder: the folder to select, none when the stored reference belongs to
  // another store or there is none yet.
  std::optional<std::uint32_t> folder;
  // Folder: nothing was stored; the pane selects folder 0, stores what is then
  // selected (StoreFolder) and focuses the tree.
  bool storeSelectedFolder = false;
  std::string text;   // Text: the stored addresses or file path
  int choice = -1;    // Colour and Mark: the entry to select, -1 for none
};

// What committing the address edit did.
struct TextCommit {
  bool stored = false;  // something was written (else the text was unchanged)
  std::string text;     // what the edit shows afterwards
  bool held = false;    // the rule still holds the action afterwards
};

// The forward text as addresses: ";" counts as ",", every part loses CR, LF
// and TAB and is trimmed, empty parts are dropped.
std::vector<std::string> SplitForwardAddresses(const std::string& text);
// The addresses joined with "," (no blank).
std::string JoinForwardAddresses(const std::vector<std::string>& addresses);

// The rows of one rule, by rule number.
class ActionEditing {
 public:
  // `paths` answers whether a reply file exists.
  ActionEditing(RuleStore& store, std::uint32_t rule, const PathCheck& paths);

  SlotMask Mask() const;
  bool Holds(int row) const;
  // The first checked row, or -1.
  int FirstChecked() const;

  // Shows the pane of a row: the pane's contents, after storing the default a
  // missing or unusable value gets (colour 0, mark) and after the exclusion
  // of "do not download" and "delete from server" (either takes every other
  // row out; any other row takes both out).
  ActionPaneView ShowRow(int row, const StoreStamp& stamp);
  // The user checked a row: the action in use, then its pane.
  ActionPaneView CheckRow(int row, const StoreStamp& stamp);
  // The user unchecked a row: the action out of use (its value is kept).
  void UncheckRow(int row);

  // A folder chosen in the tree on row 0 or 1; none stores no value. Answers
  // whether the rule still holds the action.
  bool StoreFolder(int row, const StoreStamp& stamp, std::optional<std::uint32_t> folder);
  // A colour entry (row 4) or a mark-or-ignore entry (row 7, entry 0 = mark,
  // 1 = ignore) chosen; answers whether the rule still holds the action.
  bool ChooseEntry(int row, int index);

  // The address edit of row 3 or 8 lost the focus with `text`. `unchanged`:
  // the edit was not modified since it was shown; an unchanged text that is
  // not empty stores nothing. The forward text is cleaned; a reply path that
  // names no existing file becomes empty; an empty text stores no value.
  TextCommit CommitText(int row, const std::string& text, bool unchanged);

  // The row's action is in use and not valid (drawn red).
  bool RowInvalid(int row) const;
  // The folder that the action of row 0 or 1 names in this store; none when
  // its reference is missing or of another store.
  std::optional<std::uint32_t> StoredFolder(int row, const StoreStamp& stamp) const;

 private:
  const RuleAction* Action(int row) const;
  void StoreDword(int row, std::uint32_t value);
  void Exclude(int row);

  RuleStore& store_;
  std::uint32_t rule_;
  const PathCheck& paths_;
};

}  // namespace velkor
