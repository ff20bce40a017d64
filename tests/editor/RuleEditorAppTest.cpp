#include "editor/RuleEditorApp.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velkor {
namespace {

// Records every platform call in order; each step can be made to fail.
class FakePlatform : public AppPlatform {
 public:
  bool mutexFree = true;
  bool windowExists = false;
  bool oleWorks = true;
  bool richEditLoads = true;
  std::vector<std::string> calls;

  bool CreateInstanceMutex(const std::string& name) override {
    calls.push_back("mutex " + name);
    return mutexFree;
  }
  bool ActivateWindow(const std::string& title) override {
    calls.push_back("activate " + title);
    return windowExists;
  }
  void InitCommonControls() override { calls.push_back("controls"); }
  bool InitOle() override {
    calls.push_back("ole");
    return oleWorks;
  }
  void UninitOle() override { calls.push_back("ole off"); }
  bool LoadRichEdit() override {
    calls.push_back("richedit");
    return richEditLoads;
  }
  void ShowStartupError(StartupError error) override {
    calls.push_back(error == StartupError::OleInitFailed ? "message ole" : "message richedit");
  }
  int RunMainWindow() override {
    calls.push_back("window");
    return 1;
  }
  void StopWatchers() override { calls.push_back("stop watchers"); }
};

struct StartupCase {
  const char* what;
  bool mutexFree, windowExists, oleWorks, richEditLoads;
  StartupOutcome outcome;
  std::vector<std::string> calls;
};

TEST(RuleEditorApp, StartsInOrderAndStopsAtTheFirstFailure) {
  const StartupCase cases[] = {
      {"first instance", true, false, true, true, StartupOutcome::MainWindowClosed,
       {"mutex Advanced Velkor", "controls", "ole", "richedit", "window", "stop watchers", "ole off"}},
      {"second instance with the first one's window", false, true, true, true,
       StartupOutcome::ActivatedFirstInstance, {"mutex Advanced Velkor", "activate Velkor Ver 1.0"}},
      {"second instance while the first has no window", false, false, true, true,
       StartupOutcome::SecondInstanceSilent, {"mutex Advanced Velkor", "activate Velkor Ver 1.0"}},
      {"OLE fails", true, false, false, true, StartupOutcome::OleFailed,
       {"mutex Advanced Velkor", "controls", "ole", "message ole"}},
      {"rich edit missing", true, false, true, false, StartupOutcome::RichEditFailed,
       {"mutex Advanced Velkor", "controls", "ole", "richedit", "message richedit", "ole off"}},
  };
  for (const StartupCase& c : cases) {
    SCOPED_TRACE(c.what);
    FakePlatform platform;
    platform.mutexFree = c.mutexFree;
    platform.windowExists = c.windowExists;
    platform.oleWorks = c.oleWorks;
    platform.richEditLoads = c.richEditLoads;
    EXPECT_EQ(RunRuleEditor(platform), c.outcome);
    EXPECT_EQ(platform.calls, c.calls);
  }
}

struct SaveBackupCase {
  const char* what;
  bool backupWritten, answerYes;
  bool saves;
  std::vector<std::string> calls;
};

TEST(RuleEditorApp, AFailedBackupAsksWhetherToSaveWithoutOne) {
  const std::string question = std::string(kSaveWithoutBackup) + "\r\n\r\nC:\\Backup\\x.reg: disk full";
  const SaveBackupCase cases[] = {
      {"backed up", true, false, true, {"backup"}},
      {"no backup, the user saves anyway", false, true, true, {"backup", "ask " + question}},
      {"no backup, the user keeps the edits", false, false, false, {"backup", "ask " + question}},
  };
  for (const SaveBackupCase& c : cases) {
    SCOPED_TRACE(c.what);
    class Steps : public SaveBackupSteps {
     public:
      explicit Steps(const SaveBackupCase& c) : c_(c) {}
      bool WriteBackup(std::string* where) override {
        calls.push_back("backup");
        if (!c_.backupWritten) *where = "C:\\Backup\\x.reg: disk full";
        return c_.backupWritten;
      }
      bool AskYesNo(const std::string& text) override {
        calls.push_back("ask " + text);
        return c_.answerYes;
      }
      std::vector<std::string> calls;

     private:
      const SaveBackupCase& c_;
    } steps(c);
    EXPECT_EQ(BackUpOrAskBeforeSave(steps), c.saves);
    EXPECT_EQ(steps.calls, c.calls);
  }
}

}  // namespace
}  // namespace velkor
