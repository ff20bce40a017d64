#pragma once
// Sets a flag for the life of a scope and puts the old value back: the
// re-entrancy guard a list sets while the program itself changes its items,
// so that its own change notifications are ignored. Restoring (rather than
// clearing) keeps an outer guard in force when guarded code nests.

namespace velkor::win {

class ScopedFlag {
 public:
  explicit ScopedFlag(bool& flag) : flag_(flag), previous_(flag) { flag_ = true; }
  ~ScopedFlag() { flag_ = previous_; }
  ScopedFlag(const ScopedFlag&) = delete;
  ScopedFlag& operator=(const ScopedFlag&) = delete;

 private:
  bool& flag_;
  bool previous_;
};

}  // namespace velkor::win
