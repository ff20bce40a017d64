#pragma once
// The status record one watcher thread shares with the editor window. The
// window writes the key path and clears the record before the thread starts,
// and later only sets the stop request; the thread writes result and state and
// sets stopped as its very last action, so a stopped record's result is final.
// No lock: the four shared fields are atomic words and bytes.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace velkor {

// Slot numbers: 1 watches the identity's Rules\Mail, 2 its Block Senders.
constexpr int kRulesWatchSlot = 1;
constexpr int kBlockSendersWatchSlot = 2;

namespace watchstate {
constexpr std::int32_t kNotRunning = 0;
constexpr std::int32_t kStarting = 1;
constexpr std::int32_t kWatching = 2;
constexpr std::int32_t kFinishing = 8;
}  // namespace watchstate

namespace watchresult {
constexpr std::int32_t kNothing = 0;
constexpr std::int32_t kChanged = 1;  // changed, appeared or vanished
constexpr std::int32_t kFailed = -1;
}  // namespace watchresult

struct WatchSlot {
  static constexpr std::size_t kPathSize = 512;  // NUL included

  char keyPath[kPathSize] = {};  // relative to HKEY_CURRENT_USER
  std::atomic<std::int32_t> result{watchresult::kNothing};
  std::atomic<std::int32_t> state{watchstate::kNotRunning};
  std::atomic<std::uint8_t> stopRequest{0};
  std::atomic<std::uint8_t> stopped{0};

  WatchSlot() = default;
  WatchSlot(const WatchSlot&) = delete;
  WatchSlot& operator=(const WatchSlot&) = delete;

  // Only while no thread runs on the record. A path that does not fit is
  // stored empty: watching a cut-off path would watch some other key.
  bool SetKeyPath(const std::string& path) {
    std::memset(keyPath, 0, sizeof keyPath);
    if (path.size() >= kPathSize || path.find('\0') != std::string::npos) return false;
    std::memcpy(keyPath, path.data(), path.size());
    return true;
  }
  std::string KeyPath() const { return std::string(keyPath); }
};

}  // namespace velkor
