#pragma once
// The logic of the NG-word tool's word list and window, free of window code:
// adding, pasting and editing words, finding, the result text, the window's
// size limits and anchoring, and its stored placement.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "mail/SpamDetection.h"

namespace velkor {

// ---- Words

// The word a dropped or selected text gives: the text before its first TAB,
// CR or LF, trimmed, with any TAB, CR and LF left removed. Empty: no word.
std::string WordFromText(std::string_view text);

// The index of the item equal to `word` without regard to case, or -1.
int FindWord(const std::vector<std::string>& items, std::string_view word);

// Every line of a pasted text as words: each trimmed with tabs removed, empty
// lines skipped. An equal item (without regard to case) is selected, other
// lines are appended and selected. Linear in items plus lines.
WordListMerge MergeLines(const std::vector<std::string>& items, std::string_view text);

// What the end of a label edit does to the edited item.
struct LabelEditEnd {
  enum Action : std::uint8_t { Keep, Delete, Rename };
  Action action = Keep;
  std::string text;  // the new text for Rename
};
// `newText` is null when the edit was cancelled.
LabelEditEnd EndLabelEdit(const std::vector<std::string>& items, int index, const char* newText);

// ---- Find

// The list find: from the item after `focused` (the first after the last),
// every item once, wrapping. -1 when nothing matches or `search`, trimmed, is empty.
int FindNextItem(const std::vector<std::string>& items, int focused, std::string_view search, bool matchCase);

// ---- Texts

// The result line of control 1056 for the counts of one detection.
std::string DetectionSummary(int links, int obscene, int other);
// The caption: the dialog's own title, then the dictionary title in brackets.
std::string ToolCaption(std::string_view baseTitle, std::string_view dictionaryTitle);

namespace ngtext {
constexpr const char* kHelp =
    "迷惑メールに利用されるワイセツ用語やURLリンクを検出します。\r\nワイセツ・低俗用語は赤色、"
    "それ以外のスパム用語はみどり色、リンクは青色で表示されます。\r\n検出結果がリストに追加されます。"
    "（自分のメールアドレスは検出対象外です）";
constexpr const char* kUnsupportedMail =
    "ドラッグドロップされたメールはサポートされていない形式です。\nこのメールを解析するには、"
    "本文を貼り付けてください。";
constexpr const char* kNothingFound =
    "このメッセージに、リンクやNGワードは見つかりません。\n手動でNGワードを追加してください。";
constexpr const char* kFoundFormat =
    "ワイセツ/低俗用語：\n　　%d 件\n他のスパム用語：\n　　%d 件\nリンク：\n　　%d 件\nを見つけました。\n\n"
    "他に追加したいNGワードがあれば、リストにドラッグしてください。";
constexpr const char* kTextNotFound = "\"%s\" が見つかりません。";
constexpr const char* kItemNotFound = "\"%s\"　は見つかりません。";
}  // namespace ngtext

// ---- Window geometry

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const Rect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

constexpr int kToolMinWidth = 430, kToolMaxWidth = 800;
constexpr int kToolMinHeight = 378, kToolMaxHeight = 600;

// Which edges of a window rectangle the user drags (as WM_SIZING's WMSZ_ codes).
enum SizingEdge : int { kEdgeLeft = 1, kEdgeRight, kEdgeTop, kEdgeTopLeft, kEdgeTopRight, kEdgeBottom,
                        kEdgeBottomLeft, kEdgeBottomRight };
// Moves the dragged edges back so the size stays within the tool's limits.
Rect LimitSizing(Rect window, int edge);

// How a control follows a size change of its dialog's client area.
enum class Anchor : std::uint8_t {
  MailView,     // keeps its top-left; right and bottom keep their margins
  BelowView,    // keeps its height, follows the bottom, takes the view's width
  Right,        // keeps its size, follows the right edge
  RightTall,    // keeps its width and top, follows the right edge, its bottom the bottom edge
  Bottom,       // keeps its size, follows the bottom edge
  BottomRight,  // keeps its size, follows both
};
constexpr int kViewRightMargin = 130, kViewBottomMargin = 190;
// The control's rectangle for a client area of `width` x `height`, from its
// rectangle in the client area of `oldWidth` x `oldHeight`.
Rect AnchorRect(Rect control, Anchor anchor, int oldWidth, int oldHeight, int width, int height);

struct AnchoredRect {
  Anchor anchor;
  Rect rect;
};
// The dialog template's rectangles made to agree with the view's margins at
// the opening size `width` x `height`: the view takes its margins, the
// controls below it move down as far as its bottom did (the word list keeps
// its bottom) and the controls right of it move as far as its right edge did,
// so none overlaps the view whatever the dialog units came to in pixels.
void SettleOpeningLayout(std::vector<AnchoredRect>& controls, int width, int height);

// The stored window rectangle to use, when the stored desktop size equals the
// current one and a position was stored.
struct StoredPlacement {
  std::int32_t desktopWidth = -1, desktopHeight = -1;
  std::int32_t left = -1024, top = -1024, width = -1024, height = -1024;
};
std::optional<Rect> PlacementToRestore(const StoredPlacement& stored, int desktopWidth, int desktopHeight);

}  // namespace velkor
