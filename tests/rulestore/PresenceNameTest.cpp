// Which process names count as Outlook Express.

#include <gtest/gtest.h>

#include "rulestore/OutlookExpressRunningCheck.h"

namespace velkor {
namespace {

TEST(PresenceNameTest, LowerCasedNameContainingMsimnExe) {
  struct Case {
    const char* name;
    bool oe;
  } cases[] = {
      {"msimn.exe", true},
      {"MSIMN.EXE", true},
      {"MsImn.Exe", true},
      {"oldmsimn.exe", true},
      {"msimn.exe.bak", true},
      {"C:\\Program Files\\Outlook Express\\MSIMN.EXE", true},
      {"msimn.ex", false},
      {"msimn", false},
      {"msim.exe", false},
      {"", false},
      // 0x83 0x4D is one double-byte character whose second byte is 'M':
      // lower-casing it byte by byte would invent an 'm'.
      {"\x83\x4DSIMN.EXE", false},
      {"\x83\x4DMSIMN.EXE", true},
      // Full-width letters are not ASCII and never match.
      {"\x82\x8D\x82\x93\x82\x89\x82\x8D\x82\x8E.exe", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.oe, IsOutlookExpressProcessName(c.name));
  }
}

}  // namespace
}  // namespace velkor
