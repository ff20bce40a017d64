#include "mail/MultiPatternMatcher.h"

#include <algorithm>
#include <map>

#include "text/ShiftJis.h"

namespace velkor {

MultiPatternMatcher::MultiPatternMatcher(const std::vector<std::string>& patterns) {
  // Build the trie with ordered child maps, then flatten it into sorted edge
  // arrays: small nodes, and children found by a short scan.
  std::vector<std::map<unsigned char, std::uint32_t>> children(1);
  std::vector<std::uint32_t> outputOf(1, kNone);
  nextOutput_.assign(patterns.size(), kNone);
  lengths_.resize(patterns.size());
  // Patterns ending at one node are chained in pattern order.
  std::vector<std::uint32_t> lastOutputOf(1, kNone);
  for (std::uint32_t p = 0; p < patterns.size(); ++p) {
    const std::string& pattern = patterns[p];
    lengths_[p] = static_cast<std::uint32_t>(pattern.size());
    if (pattern.empty()) continue;
    std::uint32_t node = 0;
    for (char ch : pattern) {
      const auto byte = static_cast<unsigned char>(ch);
      auto it = children[node].find(byte);
      if (it == children[node].end()) {
        const auto created = static_cast<std::uint32_t>(children.size());
        children[node].emplace(byte, created);
        children.emplace_back();
        outputOf.push_back(kNone);
        lastOutputOf.push_back(kNone);
        node = created;
      } else {
        node = it->second;
      }
    }
    if (outputOf[node] == kNone) {
      outputOf[node] = p;
    } else {
      nextOutput_[lastOutputOf[node]] = p;
    }
    lastOutputOf[node] = p;
  }

  nodes_.resize(children.size());
  for (std::uint32_t n = 0; n < children.size(); ++n) {
    nodes_[n].firstEdge = static_cast<std::uint32_t>(edges_.size());
    nodes_[n].edgeCount = static_cast<std::uint32_t>(children[n].size());
    nodes_[n].output = outputOf[n];
    for (const auto& [byte, target] : children[n]) edges_.push_back(Edge{byte, target});
  }

  // Breadth-first: fail links and output links.
  std::vector<std::uint32_t> queue;
  queue.reserve(nodes_.size());
  for (int b = 0; b < 256; ++b) rootNext_[b] = 0;
  for (const auto& [byte, target] : children[0]) {
    rootNext_[byte] = target;
    nodes_[target].fail = 0;
    queue.push_back(target);
  }
  for (std::size_t head = 0; head < queue.size(); ++head) {
    const std::uint32_t node = queue[head];
    for (const auto& [byte, target] : children[node]) {
      std::uint32_t f = nodes_[node].fail;
      std::uint32_t next;
      while ((next = Child(f, byte)) == kNone && f != 0) f = nodes_[f].fail;
      if (next == kNone) next = 0;
      nodes_[target].fail = next;
      nodes_[target].outputLink = nodes_[next].output != kNone ? next : nodes_[next].outputLink;
      queue.push_back(target);
    }
  }
}

std::uint32_t MultiPatternMatcher::Child(std::uint32_t node, unsigned char byte) const {
  if (node == 0) return rootNext_[byte] != 0 ? rootNext_[byte] : kNone;
  const Node& n = nodes_[node];
  const Edge* first = edges_.data() + n.firstEdge;
  const Edge* last = first + n.edgeCount;
  for (const Edge* e = first; e != last; ++e) {
    if (e->byte == byte) return e->target;
    if (e->byte > byte) break;
  }
  return kNone;
}

template <typename Visit>
void MultiPatternMatcher::Scan(std::string_view text, Visit visit) const {
  std::uint32_t node = 0;
  std::size_t nextBoundary = 0;  // the next position where a character starts
  std::vector<std::uint8_t> boundary(text.size(), 0);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (i == nextBoundary) {
      boundary[i] = 1;
      nextBoundary += sjis::CharLength(text, i);
    }
    const auto byte = static_cast<unsigned char>(text[i]);
    std::uint32_t next;
    while ((next = Child(node, byte)) == kNone && node != 0) node = nodes_[node].fail;
    node = next == kNone ? 0 : next;
    for (std::uint32_t n = nodes_[node].output != kNone ? node : nodes_[node].outputLink; n != kNone;
         n = nodes_[n].outputLink) {
      for (std::uint32_t p = nodes_[n].output; p != kNone; p = nextOutput_[p]) {
        const std::size_t start = i + 1 - lengths_[p];
        if (boundary[start]) visit(p, static_cast<std::uint32_t>(start));
      }
    }
  }
}

std::vector<MultiPatternMatcher::Occurrence> MultiPatternMatcher::FindAll(std::string_view text) const {
  // Occurrences come out by end position; a counting sort by pattern keeps
  // each pattern's occurrences in start order (same length, same order).
  std::vector<Occurrence> found;
  Scan(text, [&](std::uint32_t p, std::uint32_t start) { found.push_back(Occurrence{p, start}); });
  std::vector<std::uint32_t> offset(lengths_.size() + 1, 0);
  for (const Occurrence& o : found) ++offset[o.pattern + 1];
  for (std::size_t p = 0; p < lengths_.size(); ++p) offset[p + 1] += offset[p];
  std::vector<Occurrence> sorted(found.size());
  for (const Occurrence& o : found) sorted[offset[o.pattern]++] = o;
  return sorted;
}

std::vector<std::uint8_t> MultiPatternMatcher::FindPresent(std::string_view text) const {
  std::vector<std::uint8_t> present(lengths_.size(), 0);
  Scan(text, [&](std::uint32_t p, std::uint32_t) { present[p] = 1; });
  return present;
}

}  // namespace velkor
