#include "mail/NgWordList.h"

#include <algorithm>
#include <unordered_map>

#include "text/ShiftJis.h"

namespace velkor {

std::string WordFromText(std::string_view text) {
  const std::size_t cut = sjis::FindAnyOf(text, "\t\r\n");
  return sjis::CleanUserText(text.substr(0, cut == sjis::npos ? text.size() : cut));
}

int FindWord(const std::vector<std::string>& items, std::string_view word) {
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (sjis::EqualsIgnoreCase(items[i], word)) return static_cast<int>(i);
  }
  return -1;
}

WordListMerge MergeLines(const std::vector<std::string>& items, std::string_view text) {
  WordListMerge merge;
  merge.items = items;
  std::unordered_map<std::string, std::size_t> byFolded;
  for (std::size_t i = 0; i < items.size(); ++i) byFolded.emplace(sjis::FoldCase(items[i]), i);
  std::vector<bool> selected(items.size(), false);
  for (const std::string& line : sjis::SplitLines(text)) {
    std::string word = sjis::CleanUserText(line);
    if (word.empty()) continue;
    auto [it, added] = byFolded.emplace(sjis::FoldCase(word), merge.items.size());
    if (added) {
      if (merge.firstAppended == static_cast<std::size_t>(-1)) merge.firstAppended = merge.items.size();
      merge.items.push_back(std::move(word));
      selected.push_back(false);
    }
    selected[it->second] = true;
  }
  for (std::size_t i = 0; i < selected.size(); ++i) {
    if (selected[i]) merge.selected.push_back(i);
  }
  return merge;
}

LabelEditEnd EndLabelEdit(const std::vector<std::string>& items, int index, const char* newText) {
  if (index < 0 || index >= static_cast<int>(items.size())) return {};
  if (!newText) return {items[static_cast<std::size_t>(index)].empty() ? LabelEditEnd::Delete : LabelEditEnd::Keep, {}};
  std::string text = sjis::CleanUserText(newText);
  if (text.empty()) return {LabelEditEnd::Delete, {}};
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (static_cast<int>(i) != index && sjis::EqualsIgnoreCase(items[i], text)) return {LabelEditEnd::Delete, {}};
  }
  return {LabelEditEnd::Rename, std::move(text)};
}

int FindNextItem(const std::vector<std::string>& items, int focused, std::string_view search, bool matchCase) {
  if (items.empty()) return -1;
  std::string needle = sjis::Trim(search);
  if (needle.empty()) return -1;
  if (!matchCase) needle = sjis::FoldCase(needle);
  const int count = static_cast<int>(items.size());
  const int start = (focused < 0 || focused >= count - 1) ? 0 : focused + 1;
  for (int n = 0; n < count; ++n) {
    const int i = (start + n) % count;
    // The list row as the shared find sees it: first column, a tab, an empty second column.
    std::string row = items[static_cast<std::size_t>(i)] + "\t";
    if (!matchCase) row = sjis::FoldCase(row);
    if (sjis::Find(row, needle) != sjis::npos) return i;
  }
  return -1;
}

std::string DetectionSummary(int links, int obscene, int other) {
  if (links == 0 && obscene == 0 && other == 0) return ngtext::kNothingFound;
  std::string out;
  const int counts[] = {obscene, other, links};
  int next = 0;
  std::string_view format = ngtext::kFoundFormat;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == 'd' && next < 3) {
      out += std::to_string(counts[next++]);
      ++i;
    } else {
      out += format[i];
    }
  }
  return out;
}

std::string ToolCaption(std::string_view baseTitle, std::string_view dictionaryTitle) {
  std::string caption(baseTitle);
  caption += " - 【";
  caption += dictionaryTitle;
  caption += "】";
  return caption;
}

Rect LimitSizing(Rect r, int edge) {
  const bool left = edge == kEdgeLeft || edge == kEdgeTopLeft || edge == kEdgeBottomLeft;
  const bool top = edge == kEdgeTop || edge == kEdgeTopLeft || edge == kEdgeTopRight;
  const bool horizontal = edge != kEdgeTop && edge != kEdgeBottom;
  const bool vertical = edge != kEdgeLeft && edge != kEdgeRight;
  if (horizontal) {
    const int width = std::clamp(r.Width(), kToolMinWidth, kToolMaxWidth);
    if (left) r.left = r.right - width;
    else r.right = r.left + width;
  }
  if (vertical) {
    const int height = std::clamp(r.Height(), kToolMinHeight, kToolMaxHeight);
    if (top) r.top = r.bottom - height;
    else r.bottom = r.top + height;
  }
  return r;
}

Rect AnchorRect(Rect c, Anchor anchor, int oldWidth, int oldHeight, int width, int height) {
  const int dx = width - oldWidth;
  const int dy = height - oldHeight;
  switch (anchor) {
    case Anchor::MailView:
      c.right = std::max(c.left, width - kViewRightMargin);
      c.bottom = std::max(c.top, height - kViewBottomMargin);
      break;
    case Anchor::BelowView:
      c.right = std::max(c.left, width - kViewRightMargin);
      c.top += dy;
      c.bottom += dy;
      break;
    case Anchor::Right:
      c.left += dx;
      c.right += dx;
      break;
    case Anchor::RightTall:
      c.left += dx;
      c.right += dx;
      c.bottom = std::max(c.top, c.bottom + dy);
      break;
    case Anchor::Bottom:
      c.top += dy;
      c.bottom += dy;
      break;
    case Anchor::BottomRight:
      c.left += dx;
      c.right += dx;
      c.top += dy;
      c.bottom += dy;
      break;
  }
  return c;
}

void SettleOpeningLayout(std::vector<AnchoredRect>& controls, int width, int height) {
  auto view = std::find_if(controls.begin(), controls.end(),
                           [](const AnchoredRect& c) { return c.anchor == Anchor::MailView; });
  if (view == controls.end()) return;
  const Rect before = view->rect;
  view->rect = AnchorRect(before, Anchor::MailView, width, height, width, height);
  const int down = view->rect.bottom - before.bottom;
  const int across = view->rect.right - before.right;
  for (AnchoredRect& c : controls) {
    if (&c == &*view) continue;
    if (c.rect.left >= before.right) {  // the column at the right
      c.rect.left += across;
      c.rect.right += across;
    } else if (c.rect.top >= before.bottom) {  // under the view
      c.rect.top += down;
      if (c.anchor != Anchor::BelowView) c.rect.bottom += down;
    }
  }
}

std::optional<Rect> PlacementToRestore(const StoredPlacement& s, int desktopWidth, int desktopHeight) {
  if (s.desktopWidth != desktopWidth || s.desktopHeight != desktopHeight) return std::nullopt;
  if (s.left == -1024 || s.top == -1024) return std::nullopt;
  // A damaged size would make the window unusable: keep it within the limits.
  const int width = std::clamp<int>(s.width, kToolMinWidth, kToolMaxWidth);
  const int height = std::clamp<int>(s.height, kToolMinHeight, kToolMaxHeight);
  return Rect{s.left, s.top, s.left + width, s.top + height};
}

}  // namespace velkor
