#pragma once
// The parts of the Outlook Express presence check that need no platform: which
// process names count as Outlook Express, and which windows are looked for.

#include <string>

namespace velkor {

// True when the executable name, lower-cased (ASCII letters only, never the
// second byte of a double-byte character), contains "msimn.exe" anywhere.
bool IsOutlookExpressProcessName(const std::string& exeName);

// The top-level windows that show Outlook Express (or a window of its) is
// open, in the order they are looked for: first by class, then by title.
struct OutlookExpressWindowQuery {
  const char* className;  // null: search by title
  const char* title;      // null: any title
};
extern const OutlookExpressWindowQuery kOutlookExpressWindows[4];

}  // namespace velkor
