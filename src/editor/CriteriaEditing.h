#pragma once
// The criteria editor's rules over the twelve criterion rows of one rule,
// without any window: which rows are checked, what the value pane of a row
// shows (and the default it stores when the stored value is missing or
// unusable), what a combo choice, a size entry, an option radio or a word list
// stores. CriteriaPane_win32 reads the controls, calls these and shows the
// result. Every change goes into the RuleStore at once (and marks the rule
// modified); nothing here shows a message.

#include <cstdint>
#include <string>
#include <vector>

#include "rulestore/RuleModel.h"

namespace velkor {

class RuleStore;
class AccountList;

// Rows of the criteria list are the criterion slots 0-11.
constexpr int kBodyRow = 2;
constexpr int kSizeRow = 8;
constexpr int kAllMessagesRow = 11;

namespace criteriatext {
constexpr const char* kMoreMenu = "その他";
constexpr const char* kKanaItem = "あいうえお・・・（五十音）を追加(&J)";
constexpr const char* kOwnAddressesItem = "自分のメールアドレスを追加(&M)";
constexpr const char* kNgWordItem = "NGワード検出ツール(&N)";
constexpr const char* kKanaQuestion =
    "ひらがな全種類（濁音・半濁音を含む）をリストに追加します。\nよろしいですか？\n\n　ヒント:\n　日本語を含むかどうかを判定できます。";
constexpr const char* kKanaTitle = "確認";
}  // namespace criteriatext

// The value editor of a row.
enum class CriterionPane { None, Words, Priority, Account, Size, Security };
CriterionPane PaneOfRow(int row);

// What the value pane of one row shows.
struct CriterionPaneView {
  CriterionPane kind = CriterionPane::None;
  // Words: the list's column title; combo and size: the label above them.
  std::string title;
  std::vector<std::string> words;  // Words
  bool addEmptyItem = false;       // Words: nothing stored, so an item is added for editing
  std::vector<std::string> choices;  // Priority, Account, Security: the combo's entries
  int choice = -1;                   // the entry to select, -1 for none
  std::string sizeText;              // Size: "%u" of the stored number, empty when none
  bool focusSize = false;            // Size: nothing stored yet
};

// The option radios of the pane.
enum class OptionRadio { LogicAll, LogicAny, WordsContained, WordsNotContained, AllWords, AnyWord };

struct OptionView {
  bool logicVisible = false;  // two or more rows checked
  bool logicAll = false;      // checked radio when visible: all (else at least one)
  bool wordOptionsVisible = false;  // a word row shown with at least one word
  bool notContained = false;
  bool allWords = false;
};

// What committing a word list did.
struct WordCommit {
  std::vector<int> removed;  // indexes of drag placeholders taken out, highest first
  bool held = false;         // the rule still holds the criterion afterwards
};

// The rows of one rule, by rule number.
class CriteriaEditing {
 public:
  CriteriaEditing(RuleStore& store, std::uint32_t rule, const AccountList& accounts);

  SlotMask Mask() const;
  bool Holds(int row) const;
  int CheckedCount() const;
  // The first checked row, or -1.
  int FirstChecked() const;

  // Shows the pane of a row: the pane's contents, after storing the default a
  // missing or unusable value gets (priority high, security signed, the
  // identity's default account) and after the exclusion of "all messages"
  // (row 11 takes every other row out; any other row takes row 11 out).
  CriterionPaneView ShowRow(int row);
  // The user checked a row: its pane, and the slot in use.
  CriterionPaneView CheckRow(int row);
  // The user unchecked a row: the slot out of use (its value is kept, so
  // checking it again brings the words back).
  void UncheckRow(int row);

  // A combo entry chosen on row 6, 7 or 10; answers whether the rule still
  // holds the row's criterion.
  bool ChooseEntry(int row, int index);

  // The size edit lost the focus with this text: answers the text written
  // back (the number, at most 32767, or empty). Empty stores no value.
  std::string CommitSize(const std::string& text);

  OptionView Options(int shownRow, int wordCount) const;
  // A click on an option radio while `row` is shown; answers whether
  // anything changed.
  bool ClickOption(int row, OptionRadio radio);

  // Stores the items of the word list of `row`. Drag placeholders are taken
  // out while more than one item remains; empty items are never stored.
  WordCommit CommitWords(int row, const std::vector<std::string>& items, const std::string& placeholder);

  // Tip of a row: its description and, for an invalid criterion in use, the
  // problem; at most bufferSize - 1 bytes.
  std::string RowTip(int row, std::size_t bufferSize) const;
  // The row's criterion is in use and not valid (drawn red).
  bool RowInvalid(int row) const;

 private:
  const RuleCriterion* Criterion(int row) const;
  void StoreDword(int row, std::uint32_t value);
  void Exclude(int row);

  RuleStore& store_;
  std::uint32_t rule_;
  const AccountList& accounts_;
};

// The size edit while typing: any character other than a digit clears it all.
std::string FilterSizeText(const std::string& text);

}  // namespace velkor
