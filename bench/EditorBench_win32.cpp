// Times the editor window on a large identity, in-process under Wine:
// the first start, ticking one rule's box and saving (the save writes one
// rule, then the identity is reloaded), switching to a small identity and
// back, and the reload after an outside change. The window is shown, as for
// a user, and every step ends when its messages (painting included) are done.
//   editor_bench.exe [RULES [BLOCKED]]     (1000 and 10000 by default)
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "EditorBenchData.h"
#include "editor/RuleEditorWindow_win32.h"
#include "registry/MemoryRegistry.h"
#include "res/resource.h"
#include "rulestore/RegistryWatcher_win32.h"
#include "win/Controls.h"
#include "win/MessageBox.h"

namespace {

using namespace velkor;

void PumpUntilIdle() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

class Stopwatch {
 public:
  Stopwatch() {
    ::QueryPerformanceFrequency(&frequency_);
    ::QueryPerformanceCounter(&start_);
  }
  double Seconds() const {
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart - start_.QuadPart) / static_cast<double>(frequency_.QuadPart);
  }

 private:
  LARGE_INTEGER frequency_{};
  LARGE_INTEGER start_{};
};

bool SelectIdentity(HWND dialog, const std::string& name) {
  win::ComboBox combo(dialog, IDC_IDENTITY_COMBO);
  for (int i = 0; i < combo.Count(); ++i) {
    if (combo.ItemText(i) != name) continue;
    combo.Select(i);
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_IDENTITY_COMBO, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(combo.Handle()));
    return true;
  }
  return false;
}

void Report(const char* step, double seconds, const win::ListView& rules, const win::ListView& blocked) {
  std::printf("%-22s %8.2f s   (%d rules, %d blocked senders shown)\n", step, seconds, rules.Count(),
              blocked.Count());
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  int ruleCount = argc > 1 ? std::atoi(argv[1]) : 1000;
  int blockedCount = argc > 2 ? std::atoi(argv[2]) : 10000;
  INITCOMMONCONTROLSEX init{sizeof(init), ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_USEREX_CLASSES |
                                              ICC_PROGRESS_CLASS};
  ::InitCommonControlsEx(&init);
  ::OleInitialize(nullptr);

  MemoryRegistry registry;
  if (!SeedEditorBenchRegistry(registry, ruleCount, blockedCount)) {
    std::fprintf(stderr, "could not build the registry\n");
    return 1;
  }
  Win32ThreadStarter threads;
  RegistryWatchers watchers(registry, threads);
  win::ScriptedMessageBoxes boxes;  // a message would be recorded here, not shown
  int failures = 0;
  {
    RuleEditorWindow window(registry, watchers);
    Stopwatch start;
    if (!window.CreateModeless(nullptr, IDD_VELKOR_DIALOG)) {
      std::fprintf(stderr, "the window could not be created\n");
      return 1;
    }
    HWND dialog = window.Handle();
    ::ShowWindow(dialog, SW_SHOWNA);
    ::UpdateWindow(dialog);
    PumpUntilIdle();
    win::ListView rules(dialog, IDC_RULE_LIST);
    win::ListView blocked(dialog, IDC_BLOCKED_SENDER_VIEW);
    Report("start", start.Seconds(), rules, blocked);

    // One rule's box ticked, then 保存: one rule is written, all is reloaded.
    Stopwatch save;
    rules.SetChecked(1, !rules.IsChecked(1));
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_SAVE, BN_CLICKED), 0);
    PumpUntilIdle();
    Report("save and reload", save.Seconds(), rules, blocked);
    if (window.HasUnsavedChanges()) ++failures;

    Stopwatch toSmall;
    SelectIdentity(dialog, "少量 花子");
    PumpUntilIdle();
    Report("switch to small", toSmall.Seconds(), rules, blocked);

    Stopwatch toLarge;
    SelectIdentity(dialog, "大量 太郎");
    PumpUntilIdle();
    Report("switch to large", toLarge.Seconds(), rules, blocked);

    // What the poll timer posts after another program changed the rules.
    Stopwatch outside;
    ::SendMessageA(dialog, watchui::kReloadMessage, 0, 0);
    PumpUntilIdle();
    Report("reload (outside)", outside.Seconds(), rules, blocked);
    if (rules.Count() != ruleCount || blocked.Count() != blockedCount) ++failures;
    window.Destroy();
  }
  for (const auto& shown : boxes.shown()) std::fprintf(stderr, "message: %s\n", shown.text.c_str());
  if (!boxes.shown().empty()) ++failures;
  ::OleUninitialize();
  return failures == 0 ? 0 : 1;
}
