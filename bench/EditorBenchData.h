#pragma once
// The registry the editor benchmark starts from: a large identity (the
// default) and a small one to switch to, written through the rule store so
// that the layout is exactly what the editor reads.

#include <string>

namespace velkor {

class RegistryAccess;

namespace benchdata {
constexpr const char* kLargeIdentity = "{B0000000-0000-0000-0000-00000000000A}";
constexpr const char* kSmallIdentity = "{B0000000-0000-0000-0000-00000000000B}";
}  // namespace benchdata

// `rules` valid rules (a sender word each, every third deleting, every fifth
// disabled) and `blocked` blocked senders for the large identity; one rule
// for the small one. False when the rule store could not write them.
bool SeedEditorBenchRegistry(RegistryAccess& reg, int rules, int blocked);

}  // namespace velkor
