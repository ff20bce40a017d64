#pragma once
// Finds every occurrence of many byte patterns in one pass over a text
// (Aho-Corasick). Occurrences that start inside a double-byte Shift_JIS
// character are not reported.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velkor {

class MultiPatternMatcher {
 public:
  struct Occurrence {
    std::uint32_t pattern;  // index into the pattern list
    std::uint32_t start;    // byte position in the text
  };

  // Empty patterns are never reported.
  explicit MultiPatternMatcher(const std::vector<std::string>& patterns);

  // All occurrences at character boundaries, grouped by pattern (in pattern
  // order) and, within a pattern, by increasing start.
  std::vector<Occurrence> FindAll(std::string_view text) const;
  // Per pattern, 1 when it occurs at a character boundary: memory that does
  // not grow with the number of occurrences (a one-letter word in a long mail).
  std::vector<std::uint8_t> FindPresent(std::string_view text) const;

  std::size_t PatternLength(std::uint32_t pattern) const { return lengths_[pattern]; }
  std::size_t PatternCount() const { return lengths_.size(); }

 private:
  static constexpr std::uint32_t kNone = 0xFFFFFFFFu;

  struct Node {
    std::uint32_t firstEdge = 0;  // edges_[firstEdge, firstEdge + edgeCount), sorted by byte
    std::uint32_t edgeCount = 0;
    std::uint32_t fail = 0;
    std::uint32_t output = kNone;      // first pattern ending here (outputs_ chain)
    std::uint32_t outputLink = kNone;  // nearest node on the fail chain with an output
  };
  struct Edge {
    unsigned char byte;
    std::uint32_t target;
  };

  std::uint32_t Child(std::uint32_t node, unsigned char byte) const;
  template <typename Visit>
  void Scan(std::string_view text, Visit visit) const;

  std::vector<Node> nodes_;
  std::vector<Edge> edges_;
  std::uint32_t rootNext_[256];
  std::vector<std::uint32_t> nextOutput_;  // per pattern: next pattern ending at the same node
  std::vector<std::uint32_t> lengths_;
};

}  // namespace velkor
