#pragma once
// The one way the programs show a message box. Tests replace the box with a
// handler that records the text and answers from a script, so every dialog and
// flow runs without a person.

#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace velkor::win {

// Answers IDOK, IDYES, IDNO, IDCANCEL, IDABORT, IDRETRY or IDIGNORE, as MessageBoxA.
// `text` and `caption` are Shift_JIS.
int ShowMessage(HWND owner, const std::string& text, const std::string& caption, UINT flags);
// The same with the text taken from string resource `textId`.
int ShowMessageId(HWND owner, UINT textId, const std::string& caption, UINT flags);

using MessageBoxHandler =
    std::function<int(HWND owner, const std::string& text, const std::string& caption, UINT flags)>;

// Replaces the real message box; an empty handler restores it. Answers the
// previous handler.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

// For tests: while it lives, message boxes are recorded and answered from a
// queue of answers (IDOK, or the box's default button, once the queue is
// empty). Restores the previous handler when destroyed.
class ScriptedMessageBoxes {
 public:
  struct Shown {
    std::string text;
    std::string caption;
    UINT flags;
  };

  explicit ScriptedMessageBoxes(std::vector<int> answers = {});
  ~ScriptedMessageBoxes();
  ScriptedMessageBoxes(const ScriptedMessageBoxes&) = delete;
  ScriptedMessageBoxes& operator=(const ScriptedMessageBoxes&) = delete;

  void Answer(int answer) { answers_.push_back(answer); }
  const std::vector<Shown>& shown() const { return shown_; }

 private:
  std::deque<int> answers_;
  std::vector<Shown> shown_;
  MessageBoxHandler previous_;
};

// The answer a box would give when its default button is taken (for the script).
int DefaultAnswer(UINT flags);

}  // namespace velkor::win
