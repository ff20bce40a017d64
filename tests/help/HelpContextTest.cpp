#include "help/HelpContext.h"

#include <gtest/gtest.h>

namespace velkor {
namespace {

// A window or pane with a page keeps its context; every other window shows
// context 2, the default topic.
TEST(HelpContext, F1ShowsThePageOfTheWindowOrContextTwo) {
  struct Case {
    unsigned command;
    std::uint32_t context;
    HelpCall expected;
  };
  const Case cases[] = {
      {kWinHelpContext, 0x10001, {kHelpContext, 2}},        // a window's context
      {kWinHelpContext, HelpContextForDialog(102), {kHelpContext, 0x20066}},  // the main window
      {kWinHelpContext, HelpContextForDialog(143), {kHelpContext, 0x2008F}},  // the NG-word tool
      {kWinHelpContext, HelpContextForControl(1002), {kHelpContext, 0x503EA}},  // the rule list pane
      {kWinHelpContext, HelpContextForSyncDialog(102), {kHelpContext, 0x30066}},  // the sync utility
      {kWinHelpContext, HelpContextForDialog(100), {kHelpContext, 2}},  // the about box has no page
      {kWinHelpContext, HelpContextForDialog(146), {kHelpContext, 2}},  // nor the progress window
      {kWinHelpContext, HelpContextForControl(1008), {kHelpContext, 2}},  // a control of no pane
      {kWinHelpContext, 0x2FFFF, {kHelpContext, 2}},        // a command's context
      {kWinHelpContext, 0x10000, {kHelpContext, 0x10000}},  // the base itself is not above it
      {kWinHelpContext, 2, {kHelpContext, 2}},
      {kWinHelpContext, 7, {kHelpContext, 7}},
      {3, 0x10005, {kHelpDisplayTopic, 0}},  // another command shows the default topic
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.context);
    EXPECT_EQ(MapContextHelpRequest(c.command, c.context), c.expected);
  }
  EXPECT_EQ(MapDefaultHelpRequest(), (HelpCall{kHelpDisplayTopic, 0}));
  EXPECT_STREQ(HelpPageFor(HelpContextForDialog(100)), "index.html");
  EXPECT_STREQ(HelpPageFor(HelpContextForDialog(102)), "main.html");
}

TEST(HelpContext, HelpFileIsTheProgramPathWithChm) {
  struct Case {
    const char* program;
    const char* help;
  };
  const Case cases[] = {
      {"C:\\Program Files\\Velkor\\Velkor.exe", "C:\\Program Files\\Velkor\\Velkor.chm"},
      {"C:\\Tools\\Velkor.EXE", "C:\\Tools\\Velkor.chm"},
      {"C:\\v1.2\\Velkor", "C:\\v1.2\\Velkor.chm"},  // a dot in a folder is no extension
      {"Velkor.exe", "Velkor.chm"},
      // "表" is 0x95 0x5C: its second byte is not a path separator.
      {"C:\\\x95\x5C.old\\Velkor.exe", "C:\\\x95\x5C.old\\Velkor.chm"},
      // The file "x.表": its extension ends in the byte 0x5C.
      {"C:\\x.\x95\x5C", "C:\\x.chm"},
  };
  for (const Case& c : cases) EXPECT_EQ(HelpFileFor(c.program), c.help) << c.program;
}

TEST(HelpContext, SharedHelpFileIsInTheProgramsFolder) {
  struct Case {
    const char* program;
    const char* help;
  };
  const Case cases[] = {
      {"C:\\Program Files\\Velkor\\TarnWABSync.exe", "C:\\Program Files\\Velkor\\Velkor.chm"},
      {"D:/tools/TarnWABSync.exe", "D:/tools/Velkor.chm"},
      {"TarnWABSync.exe", "Velkor.chm"},
      // The folder "表" ends in the byte 0x5C, which is no separator there.
      {"C:\\\x95\x5C\\TarnWABSync.exe", "C:\\\x95\x5C\\Velkor.chm"},
      {"C:\\x\x95\x5C.exe", "C:\\Velkor.chm"},
  };
  for (const Case& c : cases) EXPECT_EQ(HelpFileBeside(c.program, "Velkor.chm"), c.help) << c.program;
  EXPECT_EQ(HelpTopicAddress("C:\\v\\Velkor.chm", kSyncHelpPage), "C:\\v\\Velkor.chm::/sync.html");
}

}  // namespace
}  // namespace velkor
