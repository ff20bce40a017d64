// The word-list rules: label edits, pasting, address-book text, copy and find.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/WordList.h"

namespace velkor::wordlist {
namespace {

using Rows = std::vector<std::string>;

TEST(DecideLabelEdit, EveryEndOfAnEdit) {
  struct Case {
    const char* what;
    Rows rows;
    int row;
    bool cancelled;
    std::string typed;
    EditOutcome outcome;
    std::string text;
    int other;
  };
  const Case cases[] = {
      {"cancelled fresh row", {"a", ""}, 1, true, "x", EditOutcome::kDelete, "", -1},
      {"cancelled row with text", {"a", "b"}, 1, true, "", EditOutcome::kKeep, "", -1},
      {"blanked row with text asks", {"a", "b"}, 1, false, " \t\r\n", EditOutcome::kAskDelete, "", -1},
      {"empty fresh row goes", {"a", ""}, 1, false, "  ", EditOutcome::kDelete, "", -1},
      {"other row but for case", {"Spam@Example.com", "x"}, 1, false, " spam@EXAMPLE.com\t", EditOutcome::kMergeInto,
       "", 0},
      {"full-width case", {"\x82\x60\x82\x61", ""}, 1, false, "\x82\x81\x82\x82", EditOutcome::kMergeInto, "", 0},
      {"own text in other case renames", {"abc", "x"}, 0, false, "ABC", EditOutcome::kRename, "ABC", -1},
      {"unchanged text", {"abc"}, 0, false, "abc", EditOutcome::kKeep, "", -1},
      {"cleaned rename", {"abc", "x"}, 1, false, "\tne\rw \n", EditOutcome::kRename, "new", -1},
  };
  for (const Case& c : cases) {
    EditDecision d = DecideLabelEdit(c.rows, c.row, c.cancelled, c.typed);
    EXPECT_EQ(d.outcome, c.outcome) << c.what;
    EXPECT_EQ(d.text, c.text) << c.what;
    EXPECT_EQ(d.otherRow, c.other) << c.what;
  }
}

TEST(PastedLines, BadClipboardTextGivesOnlyWholeCleanEntries) {
  struct Case {
    const char* what;
    std::string text;
    Rows lines;
  };
  const Case cases[] = {
      {"separators only", "\r\n\n\t \r\r\t", {}},
      {"broken last character", "a@b.jp\r\n\x82\xA0\x82", {"a@b.jp", "\x82\xA0"}},
      {"lead byte before line break", "x\x82\r\ny", {"x", "y"}},
      {"embedded NUL", std::string("one\0two", 7), {"one", "two"}},
      {"tabs removed, CR alone separates", "\tw1\rw\t2 ", {"w1", "w2"}},
      {"second byte looks like a separator", "\x83\x5c\x83\x74\x83\x67", {"\x83\x5c\x83\x74\x83\x67"}},
  };
  for (const Case& c : cases) EXPECT_EQ(PastedLines(c.text), c.lines) << c.what;
}

TEST(WordMerge, ExistingRowsSelectedNewLinesAppendedOnce) {
  struct Case {
    const char* what;
    Rows rows;
    std::string pasted;
    std::vector<int> existing;
    Rows added;
  };
  const Case cases[] = {
      {"case duplicate and leading tab", {}, "Word\r\nWORD\r\n\tother", {}, {"Word", "other"}},
      {"existing matched once, first-match order", {"a", "b", "c"}, "C\nnew\nA\nc\nNEW", {2, 0}, {"new"}},
      {"nothing but blanks", {"a"}, " \r\n\t", {}, {}},
  };
  for (const Case& c : cases) {
    WordMerge merge(c.rows);
    for (const std::string& line : PastedLines(c.pasted)) merge.Add(line);
    EXPECT_EQ(merge.ExistingRows(), c.existing) << c.what;
    EXPECT_EQ(merge.NewEntries(), c.added) << c.what;
  }
}

TEST(AddressBookText, OnlyTheIndentedAddressLinesOfEachContact) {
  const std::string text =
      "山田 太郎\r\n"
      "\r\n"
      "電子メール アドレス :\r\n"
      "  taro@example.jp\r\n"
      "  yamada@work.example\r\n"
      "自宅 :\r\n"
      "  東京都\r\n"
      "\r\n"
      "鈴木 花子\r\n"
      "電子メール アドレス :\r\n"
      "  hanako@example.jp";
  ASSERT_TRUE(IsAddressBookText(text));
  EXPECT_EQ(AddressBookLines(text), "  taro@example.jp\r\n  yamada@work.example\r\n  hanako@example.jp");
  EXPECT_EQ(PastedLines(AddressBookLines(text)), (Rows{"taro@example.jp", "yamada@work.example", "hanako@example.jp"}));
  EXPECT_FALSE(IsAddressBookText("電子メール アドレス :\r\nnot indented"));
}

TEST(CopyText, SelectedRowsJoinedByLineBreaks) {
  EXPECT_EQ(CopyText({"a", "b", "c"}), "a\r\nb\r\nc");
  EXPECT_EQ(CopyText({"one"}), "one");
}

TEST(FindNext, WrapsFromTheRowAfterTheFocusedOne) {
  const Rows rows = {FindRowText("Alpha"), FindRowText("beta"), FindRowText("ALPHA"), FindRowText("\x83\x5c")};
  struct Case {
    const char* what;
    int focused;
    std::string search;
    bool matchCase;
    bool searched;
    int row;
  };
  const Case cases[] = {
      {"after the focused row", 0, "alpha", false, true, 2},
      {"from the last row starts at the first", 3, " alpha ", false, true, 0},
      {"match case skips the other case", 0, "Alpha", true, true, 0},
      {"no focus starts at the first", -1, "beta", false, true, 1},
      {"no match", 1, "gamma", false, true, -1},
      {"second byte is not a match start", 0, "\x5c", false, true, -1},
      {"blank search does nothing", 0, "  ", false, false, -1},
  };
  for (const Case& c : cases) {
    FindResult r = FindNext(rows, c.focused, c.search, c.matchCase);
    EXPECT_EQ(r.searched, c.searched) << c.what;
    EXPECT_EQ(r.row, c.row) << c.what;
  }
  EXPECT_EQ(FindNext({FindRowText("x", "a@b")}, 0, "x\ta", true).row, 0);
}

}  // namespace
}  // namespace velkor::wordlist
