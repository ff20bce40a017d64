#pragma once
// How a long operation (a save, a sync) reports progress. The editor's progress
// window implements it; every call also lets waiting window messages be
// processed, so the window stays responsive.

#include <string>

namespace velkor {

class ProgressSink {
 public:
  virtual ~ProgressSink() = default;
  virtual void SetStatusText(const std::string& text) = 0;
  virtual void SetPercent(int percent) = 0;  // 0-100
  virtual void PumpMessages() {}
  // Asked by operations that can stop between steps. A save of the rules does
  // not stop half way: that would leave rules half written.
  virtual bool Cancelled() const { return false; }
};

// Reports nowhere.
class NullProgress : public ProgressSink {
 public:
  void SetStatusText(const std::string&) override {}
  void SetPercent(int) override {}
};

}  // namespace velkor
