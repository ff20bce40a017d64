#include "mail/HtmlToText.h"

#include <string_view>

#include "text/ShiftJis.h"

namespace velkor {
namespace {

constexpr std::size_t npos = sjis::npos;

bool LooksLikeHtml(std::string_view lower) {
  static constexpr std::string_view kPairs[][2] = {
      {"<html", "</html>"}, {"<body", "</body>"}, {"<head", "</head>"}, {"<title", "</title>"}};
  for (const auto& pair : kPairs) {
    if (sjis::Find(lower, pair[0]) != npos && sjis::Find(lower, pair[1]) != npos) return true;
  }
  return false;
}

bool StartsWithIgnoreCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && sjis::EqualsIgnoreCase(s.substr(0, prefix.size()), prefix);
}

std::string_view TagReplacement(std::string_view tag) {
  if (sjis::EqualsIgnoreCase(tag, "<br>") || sjis::EqualsIgnoreCase(tag, "</p>")) return "\r\n";
  if (StartsWithIgnoreCase(tag, "<div")) return "\r\n";
  if (StartsWithIgnoreCase(tag, "<a ")) return tag;
  return {};
}

// Scanning resumes after each replacement, so the result can be built in one
// pass instead of editing the string in place.
std::string ReplaceTags(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t open = sjis::FindChar(text, '<', pos);
    if (open == npos) break;
    const std::size_t close = sjis::FindChar(text, '>', open);
    if (close == npos) break;
    out.append(text.substr(pos, open - pos));
    out.append(TagReplacement(text.substr(open, close - open + 1)));
    pos = close + 1;
  }
  out.append(text.substr(pos));
  return out;
}

// Every run of blanks becomes one blank (a blank never is a second byte of a
// valid character, but the walk keeps to character boundaries regardless).
std::string CollapseBlanks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  bool lastWasBlank = false;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t len = sjis::CharLength(text, pos);
    const bool blank = len == 1 && text[pos] == ' ';
    if (!(blank && lastWasBlank)) out.append(text.substr(pos, len));
    lastWasBlank = blank;
    pos += len;
  }
  return out;
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  for (std::size_t found = sjis::Find(text, from); found != npos; found = sjis::Find(text, from, pos)) {
    out.append(text.substr(pos, found - pos));
    out.append(to);
    pos = found + from.size();
  }
  out.append(text.substr(pos));
  return out;
}

}  // namespace

void HtmlToText(std::string& text) {
  const std::string lower = sjis::FoldCase(text);
  if (!LooksLikeHtml(lower)) return;

  const std::size_t bodyStart = sjis::Find(lower, "<body");
  if (bodyStart != npos) {
    std::size_t bodyEnd = sjis::Find(lower, "</body>", bodyStart);
    if (bodyEnd == npos) bodyEnd = text.size();
    text = text.substr(bodyStart, bodyEnd - bodyStart);
  }

  text = CollapseBlanks(ReplaceTags(sjis::RemoveLineBreaksAndTabs(text)));

  static constexpr std::string_view kEntities[][2] = {
      {"&lt;", "<"},    {"&gt;", ">"},  {"&amp;", "&"},
      {"&quot;", "\""}, {"&nbsp;", " "}, {"&copy;", "(C)"}};
  for (const auto& entity : kEntities) text = ReplaceAll(text, entity[0], entity[1]);
}

}  // namespace velkor
