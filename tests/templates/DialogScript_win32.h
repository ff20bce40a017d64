#pragma once
// Drives modal dialogs of the program in-process: a thread timer runs each
// scripted step on the visible dialog with the step's title, one at a time.
#include <windows.h>
#include <commctrl.h>

#include <deque>
#include <functional>
#include <utility>

#include "res/resource.h"
#include "win/Controls.h"

namespace velkor {

// Steps run one at a time, each on the visible dialog with its title.
class DialogScript {
 public:
  using Step = std::function<void(HWND dialog)>;
  void Add(const char* title, Step step) { steps_.push_back({title, std::move(step)}); }

  // Runs `body` (which opens the dialogs) with the script's timer running.
  template <class Body>
  void Run(Body body) {
    current_ = this;
    UINT_PTR timer = ::SetTimer(nullptr, 0, 30, &DialogScript::Tick);
    body();
    ::KillTimer(nullptr, timer);
    current_ = nullptr;
  }
  bool Done() const { return steps_.empty(); }

 private:
  struct Entry {
    const char* title;
    Step step;
  };
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    DialogScript* self = current_;
    if (!self || self->steps_.empty() || self->busy_) return;
    HWND dialog = ::FindWindowA(nullptr, self->steps_.front().title);
    if (!dialog || !::IsWindowVisible(dialog)) return;
    Entry entry = std::move(self->steps_.front());
    self->steps_.pop_front();
    self->busy_ = true;
    entry.step(dialog);
    self->busy_ = false;
  }
  static inline DialogScript* current_ = nullptr;
  std::deque<Entry> steps_;
  bool busy_ = false;
};

inline void Click(HWND dialog, int id) { ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

// Selects the first row of the template list whose id is `id` (-1: none).
inline void SelectTemplate(HWND dialog, int id) {
  win::ListView list(dialog, IDC_TEMPLATE_LIST);
  list.UnselectAll();
  if (id >= 0) list.SetSelected(list.FindData(id), true);
}

// Chooses template `id` and presses OK.
inline DialogScript::Step Choose(int id) {
  return [id](HWND dialog) {
    SelectTemplate(dialog, id);
    Click(dialog, IDC_TEMPLATE_OK);
  };
}

}  // namespace velkor
