#pragma once
// NgWordToolDialog: the NG-word detection tool (dialog 143). It shows the body
// of a spam mail with its NG words, links and addresses coloured, and lets the
// user build a word list; OK hands the whole list back.
//
//   NgWordToolData data;
//   data.mailText = body;  data.ownAddresses = accountAddresses;
//   if (RunNgWordTool(owner, data, registry, find) == IDOK) use(data.resultWords);
//
// The owner is minimised while the tool is active and restored when it closes.

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "mail/MailDropTargets_win32.h"
#include "mail/MyRichEditCtrl_win32.h"
#include "mail/NgWordList.h"
#include "mail/SpamDetection.h"
#include "mail/SpamWordList.h"
#include "registry/RegistryAccess.h"
#include "win/Controls.h"
#include "win/Dialog.h"

namespace velkor {

// In and out of one run of the tool.
struct NgWordToolData {
  std::string mailText;                   // in: shown first, may be empty
  std::vector<std::string> ownAddresses;  // in: never proposed
  std::vector<std::string> resultWords;   // out: the word list in order, filled by OK
};

// The program's one search text and match-case flag, and the window that
// edits them; every find command shares them.
struct FindState {
  std::string text;
  bool matchCase = false;
};
class FindPrompt {
 public:
  virtual ~FindPrompt() = default;
  // Shows the find window on `settings`; true when the user chose to search.
  virtual bool Ask(HWND owner, FindState& settings) = 0;
};

constexpr UINT kDetectionCountsMessage = WM_APP + 2;  // wParam links, lParam obscene | other << 16
constexpr UINT kRunDetectionMessage = WM_APP + 3;
constexpr UINT kAbandonMessage = WM_APP + 9;          // the main window reloads: end without result

class NgWordToolDialog : public win::Dialog, public NgWordToolDropSink {
 public:
  // `registry` holds the window settings; `prompt` may be null (no find window).
  NgWordToolDialog(NgWordToolData& data, RegistryAccess& registry, FindState& find, FindPrompt* prompt);
  ~NgWordToolDialog() override;

  // A modal run with the tool's own message loop (its accelerators and the
  // paste-state refresh); answers IDOK, IDCANCEL, 0 when abandoned, -1 on failure.
  INT_PTR Run(HWND owner);

  // The dictionary file; empty (the default) means "spam_words.dat" beside the program.
  std::string dictionaryFile;

  bool IsClosed() const { return closed_; }
  INT_PTR Result() const { return result_; }

  // For tests and the drop targets.
  void AddWord(const std::string& text) override;
  void ShowDroppedMail(const std::string& text) override;
  void ReportUnsupportedMail() override;
  bool IsCommandEnabled(int command) const;
  // WM_APP+3: detection on the text the view shows.
  void RunDetection();
  std::vector<std::string> Words() const;
  // Translates the tool's accelerators for a message of its loop.
  bool TranslateKeys(MSG* message) const;

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnNotify(int id, NMHDR* header, LRESULT* result) override;
  void OnOK() override {}      // Enter does not close the tool
  void OnCancel() override {}  // nor does Escape
  void OnDestroy() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result) override;

 private:
  enum class Focus { None, MailView, WordList };

  void Close(INT_PTR result, bool save);
  void SavePlacement();
  void RestorePlacement();
  void Layout();
  void ShowCounts(WPARAM links, LPARAM terms);
  void ShowUnsupported();
  void ShowContextMenu(int popup, Focus target);
  void RefreshPasteState();
  Focus FocusedPane() const;

  // Commands (NgWordToolCommands_win32.cpp).
  void PasteMailBody();
  // Opening with a mail, a mail dropped on the view and a pasted body: the
  // view receives the text once, already coloured, since putting a long mail
  // into the rich edit is slow enough without doing it twice.
  void ShowAndDetect(const std::string& mail);
  // Detection on `text` (as the view holds it): the view shows it coloured,
  // the list gets the findings and the counts are posted.
  void Detect(const std::string& text);
  void PasteWords();
  void CopyWords() const;
  void DeleteSelectedWords();
  void Find();
  void FindNext();
  void FindNextInView(const std::string& search);
  void FindNextInList(const std::string& search);
  void EndLabelEdit(NMLVDISPINFOA* info);
  void SelectWords(const WordListMerge& merge, std::size_t oldCount);

  NgWordToolData& data_;
  RegistryAccess& registry_;
  FindState& find_;
  FindPrompt* prompt_;
  SpamWordList dictionary_;
  std::unique_ptr<SpamDetector> detector_;
  HACCEL accelerators_ = nullptr;
  CMyRichEditCtrl view_;
  win::ListView list_;
  Focus menuTarget_ = Focus::None;  // the pane whose context menu is open
  bool running_ = false;  // Run's loop goes on
  bool closed_ = false;
  INT_PTR result_ = IDCANCEL;
  int idleTriggers_ = 0;
  int linkCount_ = 0, obsceneCount_ = 0, otherCount_ = 0;
  // Client size and control rectangles as the template laid them out.
  struct Placed {
    int id;
    Anchor anchor;
    Rect rect;
  };
  std::vector<Placed> placed_;
  int baseWidth_ = 0, baseHeight_ = 0;
};

// Runs the tool over `owner` and restores the owner afterwards.
INT_PTR RunNgWordTool(HWND owner, NgWordToolData& data, RegistryAccess& registry, FindState& find,
                      FindPrompt* prompt);

}  // namespace velkor
