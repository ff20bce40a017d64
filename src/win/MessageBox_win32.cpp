#include "win/MessageBox.h"

#include <utility>

#include "win/Strings.h"

namespace velkor::win {
namespace {

MessageBoxHandler& CurrentHandler() {
  static MessageBoxHandler handler;
  return handler;
}

}  // namespace

int ShowMessage(HWND owner, const std::string& text, const std::string& caption, UINT flags) {
  MessageBoxHandler& handler = CurrentHandler();
  if (handler) return handler(owner, text, caption, flags);
  return ::MessageBoxA(owner, text.c_str(), caption.c_str(), flags);
}

int ShowMessageId(HWND owner, UINT textId, const std::string& caption, UINT flags) {
  return ShowMessage(owner, LoadResString(textId), caption, flags);
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
  MessageBoxHandler previous = std::move(CurrentHandler());
  CurrentHandler() = std::move(handler);
  return previous;
}

int DefaultAnswer(UINT flags) {
  UINT buttons = flags & MB_TYPEMASK;
  int index = static_cast<int>((flags & MB_DEFMASK) >> 8);  // 0 = first button
  switch (buttons) {
    case MB_OKCANCEL: return index == 0 ? IDOK : IDCANCEL;
    case MB_ABORTRETRYIGNORE: return index == 0 ? IDABORT : index == 1 ? IDRETRY : IDIGNORE;
    case MB_YESNOCANCEL: return index == 0 ? IDYES : index == 1 ? IDNO : IDCANCEL;
    case MB_YESNO: return index == 0 ? IDYES : IDNO;
    case MB_RETRYCANCEL: return index == 0 ? IDRETRY : IDCANCEL;
    default: return IDOK;
  }
}

ScriptedMessageBoxes::ScriptedMessageBoxes(std::vector<int> answers) : answers_(answers.begin(), answers.end()) {
  previous_ = SetMessageBoxHandler([this](HWND, const std::string& text, const std::string& caption, UINT flags) {
    shown_.push_back(Shown{text, caption, flags});
    if (answers_.empty()) return DefaultAnswer(flags);
    int answer = answers_.front();
    answers_.pop_front();
    return answer;
  });
}

ScriptedMessageBoxes::~ScriptedMessageBoxes() { SetMessageBoxHandler(std::move(previous_)); }

}  // namespace velkor::win
