#pragma once
// Velkor's own values in the "Settings" section of the application key. The
// struct holds every value with its default; loading never writes, and each
// window saves only the values it owns, at the moment it owns them (the main
// window on close, the always-on-top toggle at once, the NG-word tool on close).

#include <cstdint>
#include <string>

#include "registry/RegistryAccess.h"

namespace velkor {

namespace settingsname {
constexpr const char* kSection = "Settings";
constexpr const char* kShowTopMost = "ShowTopMost";
constexpr const char* kDesktopWidth = "DesktopWidth";
constexpr const char* kDesktopHeight = "DesktopHeight";
constexpr const char* kMainWndLeft = "MainWndLeft";
constexpr const char* kMainWndTop = "MainWndTop";
constexpr const char* kMainWndWidth = "MainWndWidth";
constexpr const char* kMainWndHeight = "MainWndHeight";
constexpr const char* kInitialOEUser = "InitialOEUser";
constexpr const char* kInitialRule = "InitialRule";
constexpr const char* kInitialCriteria = "InitialCriteria";
constexpr const char* kInitialAction = "InitialAction";
constexpr const char* kNGWordWndLeft = "NGWordWndLeft";
constexpr const char* kNGWordWndTop = "NGWordWndTop";
constexpr const char* kNGWordWndWidth = "NGWordWndWidth";
constexpr const char* kNGWordWndHeight = "NGWordWndHeight";
}  // namespace settingsname

// A window coordinate that was never stored.
constexpr std::int32_t kNoStoredPosition = -1024;

struct VelkorSettings {
  std::int32_t showTopMost = 0;  // 1 = the main window stays on top
  std::int32_t desktopWidth = -1;   // screen size when a position was last stored
  std::int32_t desktopHeight = -1;
  std::int32_t mainWndLeft = kNoStoredPosition;  // 0 and 0 when it closed minimised
  std::int32_t mainWndTop = kNoStoredPosition;
  std::int32_t mainWndWidth = kNoStoredPosition;  // the size the user gave it, when not the default
  std::int32_t mainWndHeight = kNoStoredPosition;
  std::string initialOEUser;  // identity key; empty = the default identity
  std::int32_t initialRule = -1;
  std::int32_t initialCriteria = -1;
  std::int32_t initialAction = -1;
  std::int32_t ngWordWndLeft = kNoStoredPosition;
  std::int32_t ngWordWndTop = kNoStoredPosition;
  std::int32_t ngWordWndWidth = kNoStoredPosition;
  std::int32_t ngWordWndHeight = kNoStoredPosition;

  // Reads every value; a missing or unreadable value gets its default. Writes nothing.
  void Load(RegistryAccess& reg);

  // True when the stored positions belong to a screen of this size.
  bool DesktopMatches(std::int32_t width, std::int32_t height) const {
    return desktopWidth == width && desktopHeight == height;
  }
  // True when the main window's corner was stored for a screen of this size.
  // The NG-word tool stores the same desktop size, so a matching size alone
  // does not mean the main window ever stored its corner.
  bool HasMainWindowPosition(std::int32_t width, std::int32_t height) const {
    return DesktopMatches(width, height) && mainWndLeft != kNoStoredPosition && mainWndTop != kNoStoredPosition;
  }

  // What the main window stores when it closes: desktop size, its corner and
  // the identity and selection to restore. True when every value was written.
  bool SaveMainWindow(RegistryAccess& reg) const;
  // The always-on-top item writes only its own value.
  bool SaveTopMost(RegistryAccess& reg) const;
  // What the NG-word tool stores when it closes: desktop size and its rectangle.
  bool SaveNgWordWindow(RegistryAccess& reg) const;
};

}  // namespace velkor
