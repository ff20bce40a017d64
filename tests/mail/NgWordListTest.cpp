// The NG-word tool's list and window logic: words, paste, label edits, find,
// the result text, size limits, anchoring and the stored placement.
#include "mail/NgWordList.h"

#include <gtest/gtest.h>

namespace velkor {
namespace {

TEST(NgWordListTest, WordFromTextKeepsTheFirstLine) {
  const std::pair<const char*, const char*> cases[] = {
      {"  出会い系 \r\n2行目", "出会い系"}, {"word\tcategory", "word"}, {"\r\nsecond", ""},
      {"　全角空白　", "　全角空白　"},  // only ASCII blanks are trimmed
      {"", ""},
  };
  for (auto [text, word] : cases) EXPECT_EQ(WordFromText(text), word) << text;
}

TEST(NgWordListTest, PastedLinesSelectEqualItemsAndAppendTheRest) {
  const std::vector<std::string> items{"ＡＢＣ", "free"};
  WordListMerge merge = MergeLines(items, "FREE\r\n\tnew word \r\n\r\nabc\nＡｂｃ\rNew Word\r\n");
  EXPECT_EQ(merge.items, (std::vector<std::string>{"ＡＢＣ", "free", "new word", "abc"}));
  EXPECT_EQ(merge.selected, (std::vector<std::size_t>{0, 1, 2, 3}));
  EXPECT_EQ(merge.firstAppended, 2u);
  WordListMerge none = MergeLines(items, "\r\n \t \r\n");
  EXPECT_TRUE(none.selected.empty());
  EXPECT_EQ(none.firstAppended, static_cast<std::size_t>(-1));
}

TEST(NgWordListTest, LabelEditEnd) {
  const std::vector<std::string> items{"alpha", "", "Beta"};
  struct Case {
    int index;
    const char* text;  // null: cancelled
    LabelEditEnd::Action action;
    const char* renamed;
  };
  const Case cases[] = {
      {0, nullptr, LabelEditEnd::Keep, ""},      {1, nullptr, LabelEditEnd::Delete, ""},
      {0, " \t\r\n", LabelEditEnd::Delete, ""},  {0, "BETA", LabelEditEnd::Delete, ""},
      {2, "beta", LabelEditEnd::Rename, "beta"},  // its own text in another case is a rename
      {0, " gam\tma\r\n ", LabelEditEnd::Rename, "gamma"}, {7, "x", LabelEditEnd::Keep, ""},
  };
  for (const Case& c : cases) {
    LabelEditEnd end = EndLabelEdit(items, c.index, c.text);
    EXPECT_EQ(end.action, c.action) << c.index << " " << (c.text ? c.text : "(cancel)");
    EXPECT_EQ(end.text, c.renamed);
  }
}

TEST(NgWordListTest, FindNextItemWrapsAfterTheFocusedItem) {
  const std::vector<std::string> items{"ab", "Ｘyz", "abc", "q"};
  struct Case {
    int focused;
    const char* search;
    bool matchCase;
    int found;
  };
  const Case cases[] = {
      {0, "ab", false, 2}, {2, "ab", false, 0}, {3, "AB", false, 0},  // the last focused: from the first
      {3, "AB", true, -1}, {-1, "ｘ", false, 1}, {0, "  ", false, -1}, {1, "\t", false, -1},
  };
  for (const Case& c : cases) EXPECT_EQ(FindNextItem(items, c.focused, c.search, c.matchCase), c.found) << c.search;
  EXPECT_EQ(FindNextItem({}, 0, "a", false), -1);
}

TEST(NgWordListTest, SummaryFillsObsceneOtherAndLinkCounts) {
  EXPECT_EQ(DetectionSummary(0, 0, 0), ngtext::kNothingFound);
  std::string text = DetectionSummary(3, 12, 0);
  EXPECT_NE(text.find("ワイセツ/低俗用語：\n　　12 件\n他のスパム用語：\n　　0 件\nリンク：\n　　3 件\n"), std::string::npos);
  EXPECT_EQ(ToolCaption("NGワード検出ツール", "----"), "NGワード検出ツール - 【----】");
}

TEST(NgWordListTest, SizingStaysWithinLimitsByMovingTheDraggedEdge) {
  struct Case {
    Rect in;
    int edge;
    Rect out;
  };
  const Case cases[] = {
      {{100, 100, 300, 300}, kEdgeRight, {100, 100, 530, 300}},
      {{100, 100, 300, 300}, kEdgeLeft, {-130, 100, 300, 300}},
      {{0, 0, 1000, 1000}, kEdgeBottomRight, {0, 0, 800, 600}},
      {{0, 0, 1000, 1000}, kEdgeTopLeft, {200, 400, 1000, 1000}},
      {{0, 0, 1000, 1000}, kEdgeTop, {0, 400, 1000, 1000}},  // the width is not the user's edge here
      {{10, 10, 510, 410}, kEdgeBottom, {10, 10, 510, 410}},
  };
  for (const Case& c : cases) {
    Rect r = LimitSizing(c.in, c.edge);
    EXPECT_EQ(r, c.out) << c.edge << ": " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
  }
}

TEST(NgWordListTest, AnchoringFollowsTheEdges) {
  // Client 600x400 grows to 700x450.
  struct Case {
    Anchor anchor;
    Rect in, out;
  };
  const Case cases[] = {
      {Anchor::MailView, {10, 20, 470, 210}, {10, 20, 570, 260}},
      {Anchor::BelowView, {10, 230, 470, 380}, {10, 280, 570, 430}},
      {Anchor::Right, {480, 20, 590, 200}, {580, 20, 690, 200}},
      {Anchor::Bottom, {10, 385, 100, 395}, {10, 435, 100, 445}},
      {Anchor::BottomRight, {500, 370, 590, 395}, {600, 420, 690, 445}},
  };
  for (const Case& c : cases) EXPECT_EQ(AnchorRect(c.in, c.anchor, 600, 400, 700, 450), c.out);
  // A client smaller than the margins never turns the view inside out.
  Rect tiny = AnchorRect({10, 20, 470, 210}, Anchor::MailView, 600, 400, 100, 100);
  EXPECT_GE(tiny.right, tiny.left);
  EXPECT_GE(tiny.bottom, tiny.top);
}

TEST(NgWordListTest, StoredPlacementOnlyForTheSameDesktop) {
  StoredPlacement stored{1024, 768, 50, 60, 500, 400};
  ASSERT_TRUE(PlacementToRestore(stored, 1024, 768).has_value());
  EXPECT_EQ(*PlacementToRestore(stored, 1024, 768), (Rect{50, 60, 550, 460}));
  EXPECT_FALSE(PlacementToRestore(stored, 1280, 1024).has_value());
  EXPECT_FALSE(PlacementToRestore(StoredPlacement{}, -1, -1).has_value());  // nothing stored
  StoredPlacement noLeft = stored;
  noLeft.left = -1024;
  EXPECT_FALSE(PlacementToRestore(noLeft, 1024, 768).has_value());
  StoredPlacement damaged = stored;
  damaged.width = -1024;
  damaged.height = 100000;
  EXPECT_EQ(*PlacementToRestore(damaged, 1024, 768), (Rect{50, 60, 480, 660}));
}

}  // namespace
}  // namespace velkor
