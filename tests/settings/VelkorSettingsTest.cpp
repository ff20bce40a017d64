#include "settings/VelkorSettings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "registry/MemoryRegistry.h"
#include "settings/ProfileSection.h"

namespace velkor {
namespace {

const std::string kSettingsPath = std::string(kApplicationKey) + "\\Settings";

struct IntField {
  const char* name;
  std::int32_t VelkorSettings::*field;
  std::int32_t defaultValue;
};

const IntField kIntFields[] = {
    {"ShowTopMost", &VelkorSettings::showTopMost, 0},
    {"DesktopWidth", &VelkorSettings::desktopWidth, -1},
    {"DesktopHeight", &VelkorSettings::desktopHeight, -1},
    {"MainWndLeft", &VelkorSettings::mainWndLeft, -1024},
    {"MainWndTop", &VelkorSettings::mainWndTop, -1024},
    {"InitialRule", &VelkorSettings::initialRule, -1},
    {"InitialCriteria", &VelkorSettings::initialCriteria, -1},
    {"InitialAction", &VelkorSettings::initialAction, -1},
    {"NGWordWndLeft", &VelkorSettings::ngWordWndLeft, -1024},
    {"NGWordWndTop", &VelkorSettings::ngWordWndTop, -1024},
    {"NGWordWndWidth", &VelkorSettings::ngWordWndWidth, -1024},
    {"NGWordWndHeight", &VelkorSettings::ngWordWndHeight, -1024},
};

void ExpectAllDefaults(const VelkorSettings& s) {
  for (const IntField& f : kIntFields) EXPECT_EQ(s.*(f.field), f.defaultValue) << f.name;
  EXPECT_EQ(s.initialOEUser, "");
}

// Values that differ from every default, so a field read from the wrong name shows.
VelkorSettings Distinct() {
  VelkorSettings s;
  std::int32_t v = 11;
  for (const IntField& f : kIntFields) s.*(f.field) = v++;
  s.initialOEUser = "{9F3C1E2A-0000-4000-8000-00AA00BB00CC}";
  return s;
}

TEST(VelkorSettings, MissingKeyGivesEveryDefaultAndWritesNothing) {
  MemoryRegistry reg;
  reg.StartLog();
  VelkorSettings s = Distinct();
  s.Load(reg);
  ExpectAllDefaults(s);
  EXPECT_EQ(reg.CountWrites(), 0);
  EXPECT_FALSE(reg.KeyExists(RegRoot::CurrentUser, kSettingsPath));
  EXPECT_EQ(reg.OpenHandleCount(), 0);
}

TEST(VelkorSettings, EmptySectionAndUnreadableValuesGiveDefaults) {
  MemoryRegistry reg;
  // Integers stored as strings cannot be read as numbers.
  for (const IntField& f : kIntFields)
    ASSERT_TRUE(reg.SetRaw(RegRoot::CurrentUser, kSettingsPath, f.name, regtype::kSz, {'7', 0}));
  reg.StartLog();
  VelkorSettings s;
  s.Load(reg);
  ExpectAllDefaults(s);
  EXPECT_EQ(reg.CountWrites(), 0);
}

TEST(VelkorSettings, EachValueIsReadFromItsOwnName) {
  MemoryRegistry reg;
  ProfileSection section(reg, "Settings");
  std::int32_t v = 100;
  for (const IntField& f : kIntFields) ASSERT_TRUE(section.SetInt(f.name, v++));
  ASSERT_TRUE(section.SetString("InitialOEUser", "{ABC}"));
  ASSERT_TRUE(section.SetInt("MainWndTop", -5));  // negative numbers survive the DWORD
  VelkorSettings s;
  s.Load(reg);
  v = 100;
  for (const IntField& f : kIntFields) {
    std::int32_t expected = std::string(f.name) == "MainWndTop" ? -5 : v;
    EXPECT_EQ(s.*(f.field), expected) << f.name;
    ++v;
  }
  EXPECT_EQ(s.initialOEUser, "{ABC}");
}

// Which values each save writes; the others must stay as they were.
struct SaveCase {
  const char* what;
  bool (VelkorSettings::*save)(RegistryAccess&) const;
  std::vector<std::string> written;
};

TEST(VelkorSettings, EachWindowSavesOnlyItsOwnValues) {
  const SaveCase cases[] = {
      {"main window", &VelkorSettings::SaveMainWindow,
       {"DesktopWidth", "DesktopHeight", "MainWndLeft", "MainWndTop", "InitialOEUser", "InitialRule",
        "InitialCriteria", "InitialAction"}},
      {"always on top", &VelkorSettings::SaveTopMost, {"ShowTopMost"}},
      {"NG-word tool", &VelkorSettings::SaveNgWordWindow,
       {"DesktopWidth", "DesktopHeight", "NGWordWndLeft", "NGWordWndTop", "NGWordWndWidth", "NGWordWndHeight"}},
  };
  for (const SaveCase& c : cases) {
    SCOPED_TRACE(c.what);
    MemoryRegistry reg;
    VelkorSettings saved = Distinct();
    ASSERT_TRUE((saved.*(c.save))(reg));
    VelkorSettings loaded;
    loaded.Load(reg);
    const VelkorSettings defaults;
    auto written = [&](const std::string& name) {
      return std::find(c.written.begin(), c.written.end(), name) != c.written.end();
    };
    for (const IntField& f : kIntFields)
      EXPECT_EQ(loaded.*(f.field), written(f.name) ? saved.*(f.field) : defaults.*(f.field)) << f.name;
    EXPECT_EQ(loaded.initialOEUser, written("InitialOEUser") ? saved.initialOEUser : "");
    EXPECT_EQ(reg.OpenHandleCount(), 0);
  }
}

TEST(VelkorSettings, FailedWriteIsReportedAndTheOtherValuesAreStillWritten) {
  MemoryRegistry reg;
  reg.FailOperation(RegOp::Set, "Settings");
  EXPECT_FALSE(Distinct().SaveTopMost(reg));
  reg.ClearFaults();

  MemoryRegistry partial;
  partial.FailOperation(RegOp::Set, "DesktopWidth");
  VelkorSettings saved = Distinct();
  EXPECT_FALSE(saved.SaveMainWindow(partial));
  VelkorSettings loaded;
  loaded.Load(partial);
  EXPECT_EQ(loaded.mainWndLeft, saved.mainWndLeft);
  EXPECT_EQ(loaded.initialAction, saved.initialAction);
}

TEST(VelkorSettings, DesktopMatchesNeedsBothDimensions) {
  VelkorSettings s;
  s.desktopWidth = 1024;
  s.desktopHeight = 768;
  EXPECT_TRUE(s.DesktopMatches(1024, 768));
  EXPECT_FALSE(s.DesktopMatches(1024, 600));
  EXPECT_FALSE(s.DesktopMatches(1280, 768));
  EXPECT_FALSE(VelkorSettings().DesktopMatches(1024, 768));
}

// Only the NG-word tool had stored its place (the program was ended before the
// main window closed): the main window keeps its default place instead of
// going to the clamped -1024, which leaves most of it off the screen.
TEST(VelkorSettings, MainWindowPositionNeedsItsOwnCorner) {
  struct Case {
    std::int32_t left, top;
    bool restored;
  };
  const Case cases[] = {{kNoStoredPosition, kNoStoredPosition, false}, {10, kNoStoredPosition, false},
                        {kNoStoredPosition, 10, false}, {10, 20, true}, {0, 0, true}};
  for (const Case& c : cases) {
    VelkorSettings s;
    s.desktopWidth = 1024;
    s.desktopHeight = 768;
    s.mainWndLeft = c.left;
    s.mainWndTop = c.top;
    EXPECT_EQ(s.HasMainWindowPosition(1024, 768), c.restored) << c.left << "," << c.top;
    EXPECT_FALSE(s.HasMainWindowPosition(800, 600));
  }
}

}  // namespace
}  // namespace velkor

namespace velkor {
namespace {

TEST(ProfileSection, ValuesOfAnotherTypeGiveTheDefault) {
  MemoryRegistry reg;
  const std::string path = std::string(kApplicationKey) + "\\Wab Sync";
  // A four-byte binary is no DWORD, and a DWORD is no text: both read as missing.
  ASSERT_TRUE(reg.SetRaw(RegRoot::CurrentUser, path, "Type", regtype::kBinary, {1, 0, 0, 0}));
  ASSERT_TRUE(reg.SetRaw(RegRoot::CurrentUser, path, "Name", regtype::kDword, {0x41, 0x42, 0x43, 0}));
  ASSERT_TRUE(reg.SetRaw(RegRoot::CurrentUser, path, "Text", regtype::kSz, {'a', 'b', 0, 'c', 0}));
  ProfileSection section(reg, "Wab Sync");
  EXPECT_EQ(section.GetInt("Type", 7), 7);
  EXPECT_EQ(section.GetString("Name", "none"), "none");
  EXPECT_EQ(section.GetString("Text", ""), "ab");
  ASSERT_TRUE(section.SetInt("Type", -1));
  EXPECT_EQ(section.GetInt("Type", 7), -1);
}

}  // namespace
}  // namespace velkor
