// The mail drop targets and the NG-word tool under Wine: data objects that
// offer what Outlook Express offers, a real OLE drag into a running window,
// and the tool driven by messages and, for its find window, by typed keys.
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <new>

#include "editor/FindTextDialog_win32.h"
#include "mail/MailDropHost_win32.h"
#include "mail/MailDropTargets_win32.h"
#include "mail/NgWordToolDialog_win32.h"
#include "mail/SampleMail.h"
#include "mail/TestDataObject_win32.h"
#include "mail/WordScramble.h"
#include "registry/MemoryRegistry.h"
#include "res/resource.h"
#include "settings/VelkorSettings.h"
#include "support/UserInput_win32.h"
#include "win/Clipboard.h"
#include "win/DropTarget.h"
#include "win/MessageBox.h"

namespace velkor {
namespace {

using test::OfferedFormat;
using test::TestDataObject;

class Environment : public ::testing::Environment {
 public:
  void SetUp() override {
    INITCOMMONCONTROLSEX init{sizeof(init), ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&init);
    ::OleInitialize(nullptr);
    ::LoadLibraryA("RICHED20.DLL");
  }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new Environment);

void Pump() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

CLIPFORMAT F(MailFormat f) { return MailClipboardFormat(f); }

// What Outlook Express offers for a mail dragged out of its message list.
std::vector<OfferedFormat> OutlookExpressMail() {
  return {{CF_TEXT, OfferedFormat::Bytes, sample::kTextForm + '\0'},
          {F(MailFormat::RawMessage), OfferedFormat::Bytes, sample::kRawMessage + '\0'},
          {F(MailFormat::MailHtml), OfferedFormat::Bytes, sample::kHtml + '\0'}};
}

POINTL CentreOf(HWND control) {
  RECT r;
  ::GetWindowRect(control, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// The main window's template stands in for the owner of the value list.
class MainTemplate : public win::Dialog {};

struct RecordingSink : ListDropSink {
  int row = kNoSingleRow;
  std::string plain, addressBook, dropped;
  int SelectedCriterionRow() override { return row; }
  void InsertPlainText(const std::string& t) override { plain += t; }
  void InsertAddressBookText(const std::string& t) override { addressBook += t; }
  void SetDroppedMailText(const std::string& t) override { dropped = t; }
};

// Messages the owner received since the last call, among WM_APP+1 and +5.
std::vector<UINT> ToolMessages(HWND owner) {
  std::vector<UINT> seen;
  MSG msg;
  while (::PeekMessageA(&msg, owner, kOpenNgWordToolMessage, kUnsupportedMailMessage, PM_REMOVE)) {
    if (msg.message == kOpenNgWordToolMessage || msg.message == kUnsupportedMailMessage) seen.push_back(msg.message);
  }
  return seen;
}

class ListDropTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(main_.CreateModeless(nullptr, IDD_VELKOR_DIALOG));
    ::ShowWindow(main_.Handle(), SW_SHOW);
    Pump();
    list_ = main_.Item(IDC_VALUE_LIST);
  }
  // Drag-enter answer and drop effect of one drop on the value list.
  std::pair<DWORD, DWORD> DropOnValueList(std::vector<OfferedFormat> formats, IDropTarget* target) {
    auto* data = new TestDataObject(std::move(formats));
    POINTL at = CentreOf(list_);
    DWORD enter = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    target->DragEnter(data, MK_LBUTTON, at, &enter);
    DWORD drop = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    target->Drop(data, 0, at, &drop);
    data->Release();
    return {enter, drop};
  }
  MainTemplate main_;
  HWND list_ = nullptr;
};

TEST_F(ListDropTest, ValueListDropsOfOutlookExpressMailsAndText) {
  struct Case {
    const char* name;
    std::vector<OfferedFormat> formats;
    int row;
    DWORD enter, drop;
    std::string plain, addressBook, dropped;
    std::vector<UINT> posted;
  };
  std::vector<OfferedFormat> rawOnly = OutlookExpressMail();
  rawOnly[0].shape = OfferedFormat::StreamOnly;
  std::vector<OfferedFormat> noHtml(rawOnly.begin(), rawOnly.begin() + 2);
  const std::string body =
      "無料で出会い系サイトに登録！\r\nhttp://spam.example/join へどうぞ\r\n連絡先 info@spam.example\r\n";
  const Case cases[] = {
      {"text from another program, no row", {{CF_TEXT, OfferedFormat::Bytes, std::string("a\r\nb\0junk", 9)}},
       kNoSingleRow, DROPEFFECT_COPY, DROPEFFECT_COPY, "a\r\nb", "", "", {}},
      {"text without NUL, taken whole", {{CF_TEXT, OfferedFormat::Bytes, "abc"}}, 3, DROPEFFECT_COPY,
       DROPEFFECT_COPY, "abc", "", "", {}},
      {"address-book text", {{CF_TEXT, OfferedFormat::Bytes, "x"}, {F(MailFormat::AddressBook), OfferedFormat::StreamOnly, ""}},
       0, DROPEFFECT_COPY, DROPEFFECT_COPY, "", "x", "", {}},
      {"mail with no row", OutlookExpressMail(), kNoSingleRow, DROPEFFECT_COPY, DROPEFFECT_NONE, "", "", "", {}},
      {"mail on the sender row", OutlookExpressMail(), 0, DROPEFFECT_COPY, DROPEFFECT_COPY, "taro@spam.example", "",
       "", {}},
      {"mail on the body row", OutlookExpressMail(), 2, DROPEFFECT_COPY, DROPEFFECT_COPY, "", "", body,
       {kOpenNgWordToolMessage}},
      {"text of size 0", {{CF_TEXT, OfferedFormat::EmptyBlock, ""}, {F(MailFormat::RawMessage), OfferedFormat::Bytes, "x"}},
       2, DROPEFFECT_COPY, DROPEFFECT_NONE, "", "", "", {}},
      {"raw message only, body from HTML", rawOnly, 2, DROPEFFECT_COPY, DROPEFFECT_COPY, "", "",
       "無料\r\n<a href=\"http://spam.example/join\">here", {kOpenNgWordToolMessage}},
      {"raw message only, no HTML: its own text decoded", noHtml, 2, DROPEFFECT_COPY, DROPEFFECT_COPY, "", "",
       "無料 http://spam.example/join\r\n", {kOpenNgWordToolMessage}},
      {"raw message that is no mail, no HTML", {noHtml[0], {F(MailFormat::RawMessage), OfferedFormat::Bytes, "x"}}, 2,
       DROPEFFECT_COPY, DROPEFFECT_NONE, "", "", "", {kOpenNgWordToolMessage, kUnsupportedMailMessage}},
      {"no text", {{F(MailFormat::RawMessage), OfferedFormat::Bytes, "x"}}, 0, DROPEFFECT_NONE, DROPEFFECT_NONE, "",
       "", "", {}},
  };
  for (const Case& c : cases) {
    RecordingSink sink;
    sink.row = c.row;
    sink.dropped = "(none)";
    IDropTarget* target = NewMailDropTarget(&sink);
    auto [enter, drop] = DropOnValueList(c.formats, target);
    target->Release();
    EXPECT_EQ(enter, c.enter) << c.name;
    EXPECT_EQ(drop, c.drop) << c.name;
    EXPECT_EQ(sink.plain, c.plain) << c.name;
    EXPECT_EQ(sink.addressBook, c.addressBook) << c.name;
    EXPECT_EQ(sink.dropped, c.posted.empty() ? "(none)" : c.dropped) << c.name;
    EXPECT_EQ(ToolMessages(main_.Handle()), c.posted) << c.name;
  }
}

TEST_F(ListDropTest, MainWindowHostDecodesByTheSingleSelectedCriterionRow) {
  win::ListView rows(main_.Item(IDC_CRITERIA_TYPE_LIST));
  rows.InsertColumn(0, "ルール条件", 100);
  for (const char* row : {"送信者", "件名", "本文", "宛先"}) rows.Insert(rows.Count(), row);
  std::string inserted;
  MailDropHost host;
  host.Attach(rows.Handle(), [&](const std::string& text, bool) { inserted += text; });
  IDropTarget* target = NewMailDropTarget(&host);
  struct Case {
    std::vector<int> selected;
    DWORD drop;
    std::string inserted;
    std::vector<UINT> posted;
  };
  const Case cases[] = {
      {{}, DROPEFFECT_NONE, "", {}},
      {{1}, DROPEFFECT_COPY, " 【重要】無料プレゼント", {}},
      {{0}, DROPEFFECT_COPY, "taro@spam.example", {}},
      {{2}, DROPEFFECT_COPY, "", {kOpenNgWordToolMessage}},
  };
  for (const Case& c : cases) {
    rows.UnselectAll();
    for (int r : c.selected) rows.SetSelected(r, true);
    inserted.clear();
    EXPECT_EQ(DropOnValueList(OutlookExpressMail(), target).second, c.drop) << c.selected.size();
    EXPECT_EQ(inserted, c.inserted);
    EXPECT_EQ(ToolMessages(main_.Handle()), c.posted);
  }
  target->Release();
}

TEST_F(ListDropTest, SenderDropTakesTheBracketedAddressOnly) {
  RecordingSink sink;
  IDropTarget* target = NewSenderDropTarget(&sink);
  DropOnValueList(OutlookExpressMail(), target);
  EXPECT_EQ(sink.plain, "taro@spam.example");
  sink.plain.clear();
  std::string bare = "送信者: taro@spam.example\r\n\r\nbody";
  auto [enter, drop] = DropOnValueList({{CF_TEXT, OfferedFormat::Bytes, bare + '\0'},
                                        {F(MailFormat::RawMessage), OfferedFormat::Bytes, "x"}}, target);
  EXPECT_EQ(drop, DROPEFFECT_COPY);
  EXPECT_EQ(sink.plain, "");
  target->Release();
}

// Memory running out inside a window's message (a huge paste) is reported;
// the window and its unsaved edits stay.
TEST(DialogTest, AllocationFailureInAMessageIsReported) {
  struct Throwing : win::Dialog {
    bool OnMessage(UINT message, WPARAM, LPARAM, INT_PTR*) override {
      if (message == WM_APP + 50) throw std::bad_alloc();
      return false;
    }
  } dialog;
  ASSERT_TRUE(dialog.CreateModeless(nullptr, IDD_VELKOR_DIALOG));
  win::ScriptedMessageBoxes boxes;
  ::SendMessageA(dialog.Handle(), WM_APP + 50, 0, 0);
  EXPECT_TRUE(::IsWindow(dialog.Handle()));
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_NE(boxes.shown()[0].text.find("メモリ"), std::string::npos);
  dialog.Destroy();
}

// A paste beyond the read limit reads nothing, and the user is told once the
// clipboard is free again.
TEST(ClipboardTest, OversizedTextReadsAsNothingWithAMessage) {
  {
    win::Clipboard clipboard(nullptr);
    ASSERT_TRUE(clipboard.IsOpen() && clipboard.Empty());
    ASSERT_TRUE(clipboard.SetText(std::string(win::kMaxDroppedBytes + 1, 'a')));
  }
  win::ScriptedMessageBoxes boxes;
  {
    win::Clipboard clipboard(nullptr);
    ASSERT_TRUE(clipboard.IsOpen());
    EXPECT_TRUE(clipboard.Text().empty());
    EXPECT_TRUE(boxes.shown().empty());
  }
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_NE(boxes.shown()[0].text.find("16 MB"), std::string::npos);
  win::Clipboard(nullptr).Empty();
}

// The column header is a child of the list view: the mail must still reach
// the window that owns the list (it went to the list view and was lost).
TEST_F(ListDropTest, RealOleDragOntoTheColumnHeaderReachesTheOwner) {
  win::ListView(list_).InsertColumn(0, "値", 120);
  HWND header = reinterpret_cast<HWND>(::SendMessageA(list_, LVM_GETHEADER, 0, 0));
  ASSERT_TRUE(header);
  RecordingSink sink;
  sink.row = 2;
  ASSERT_TRUE(RegisterMailDropTarget(list_, &sink));
  auto* data = new TestDataObject(OutlookExpressMail());
  POINTL at = CentreOf(header);
  ::SetCursorPos(at.x, at.y);
  auto* source = new test::PollingDropSource(POINT{at.x, at.y}, 4);
  DWORD effect = DROPEFFECT_NONE;
  HRESULT hr = ::DoDragDrop(data, source, DROPEFFECT_COPY, &effect);
  source->Release();
  data->Release();
  ::RevokeDragDrop(list_);
  EXPECT_EQ(hr, DRAGDROP_S_DROP);
  // A window filter of PeekMessage takes its children's messages too: the
  // addressee is checked itself.
  std::vector<HWND> addressees;
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, kOpenNgWordToolMessage, kOpenNgWordToolMessage, PM_REMOVE))
    addressees.push_back(msg.hwnd);
  EXPECT_EQ(addressees, std::vector<HWND>{main_.Handle()});
}

// A drop beyond the read limit is refused with a message; nothing is inserted.
TEST_F(ListDropTest, OversizedTextIsRefusedWithAMessage) {
  win::ScriptedMessageBoxes boxes;
  RecordingSink sink;
  IDropTarget* target = NewMailDropTarget(&sink);
  std::string huge(win::kMaxDroppedBytes + 1, 'a');
  auto [enter, drop] = DropOnValueList({{CF_TEXT, OfferedFormat::Bytes, std::move(huge)}}, target);
  target->Release();
  EXPECT_EQ(drop, static_cast<DWORD>(DROPEFFECT_NONE));
  EXPECT_TRUE(sink.plain.empty());
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_NE(boxes.shown()[0].text.find("16 MB"), std::string::npos);
}

TEST_F(ListDropTest, RealOleDragOfAMailOntoTheBodyRow) {
  RecordingSink sink;
  sink.row = 2;
  ASSERT_TRUE(RegisterMailDropTarget(list_, &sink));
  auto* data = new TestDataObject(OutlookExpressMail());
  POINTL at = CentreOf(list_);
  ::SetCursorPos(at.x, at.y);
  auto* source = new test::PollingDropSource(POINT{at.x, at.y}, 4);
  DWORD effect = DROPEFFECT_NONE;
  HRESULT hr = ::DoDragDrop(data, source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect);
  source->Release();
  data->Release();
  ::RevokeDragDrop(list_);
  EXPECT_EQ(hr, DRAGDROP_S_DROP);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
  EXPECT_EQ(sink.dropped.substr(0, 8), "無料で出");
  EXPECT_EQ(ToolMessages(main_.Handle()), std::vector<UINT>{kOpenNgWordToolMessage});
}

// ---- The NG-word tool

std::string WriteDictionary() {
  char dir[MAX_PATH];
  ::GetTempPathA(MAX_PATH, dir);
  std::string path = std::string(dir) + "velkor-test-words.dat";
  std::FILE* f = std::fopen(path.c_str(), "wb");
  std::string content = "テスト辞書\r\n";
  for (const char* line : {"出会い系\t2", "エッチ\t1", "無料\t2"}) content += WordScramble::ScrambleLine(line) + "\r\n";
  std::fwrite(content.data(), 1, content.size(), f);
  std::fclose(f);
  return path;
}

const std::string kSpam =
    "無料でエッチな出会い系！\r\nhttp://spam.example/join?id=1 または HTTP://SPAM.EXAMPLE/join\r\n"
    "返信は info@spam.example へ。自分 me@example.jp\r\n";

struct ScriptedFind : FindPrompt {
  std::string text;
  bool Ask(HWND, FindState& settings) override {
    settings.text = text;
    return true;
  }
};

class NgWordToolTest : public ::testing::Test {
 protected:
  void Open(const std::string& mail) {
    data_.mailText = mail;
    data_.ownAddresses = {"ME@example.jp"};
    tool_ = std::make_unique<NgWordToolDialog>(data_, registry_, find_, &prompt_);
    tool_->dictionaryFile = WriteDictionary();
    ASSERT_TRUE(tool_->CreateModeless(nullptr, IDD_NGWORD_TOOL));
    ::ShowWindow(tool_->Handle(), SW_SHOW);
    Pump();
  }
  void TearDown() override {
    if (tool_ && tool_->Handle()) tool_->Destroy();
  }
  HWND Tool() const { return tool_->Handle(); }
  win::ListView List() const { return win::ListView(Tool(), IDC_NG_WORD_LIST); }
  CMyRichEditCtrl View() const { return CMyRichEditCtrl(Tool(), IDC_NG_MAIL_VIEW); }
  std::vector<std::string> Selected() const {
    std::vector<std::string> out;
    for (int i = List().NextSelected(); i >= 0; i = List().NextSelected(i)) out.push_back(List().ItemText(i));
    return out;
  }
  CHARFORMAT2A FormatAt(long at) const {
    View().SetSelection(at, at + 1);
    CHARFORMAT2A format{};
    format.cbSize = sizeof format;
    View().Send(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    return format;
  }
  COLORREF ColourAt(const std::string& text) const { return FormatAt(View().Find(text, 0, true)).crTextColor; }
  void Command(int id) { ::SendMessageA(Tool(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
  DWORD DropOn(int control, std::vector<OfferedFormat> formats) {
    auto* data = new TestDataObject(std::move(formats));
    IDropTarget* target = control == IDC_NG_MAIL_VIEW ? NewMailViewDropTarget(tool_.get()) : nullptr;
    if (!target) target = NewWordListDropTarget(tool_.get());
    POINTL at = CentreOf(::GetDlgItem(Tool(), control));
    DWORD effect = DROPEFFECT_COPY;
    target->DragEnter(data, MK_LBUTTON, at, &effect);
    if (effect != DROPEFFECT_NONE) target->Drop(data, 0, at, &effect);
    target->Release();
    data->Release();
    Pump();
    return effect;
  }

  MemoryRegistry registry_;
  FindState find_;
  ScriptedFind prompt_;
  NgWordToolData data_;
  std::unique_ptr<NgWordToolDialog> tool_;
};

TEST_F(NgWordToolTest, OpensOnAMailWithItsFindingsColouredAndListed) {
  Open(kSpam);
  EXPECT_NE(tool_->Title().find("NGワード検出ツール - 【テスト辞書】"), std::string::npos);
  EXPECT_EQ(tool_->Words(), (std::vector<std::string>{"エッチ", "出会い系", "無料", "http://spam.example/join",
                                                       "info@spam.example"}));
  EXPECT_EQ(Selected().size(), 5u);
  EXPECT_EQ(tool_->ItemText(IDC_NG_RESULT),
            "ワイセツ/低俗用語：\n　　1 件\n他のスパム用語：\n　　2 件\nリンク：\n　　2 件\nを見つけました。\n\n"
            "他に追加したいNGワードがあれば、リストにドラッグしてください。");
  EXPECT_EQ(ColourAt("エッチ"), RGB(255, 0, 0));
  EXPECT_EQ(ColourAt("出会い系"), RGB(0, 128, 0));
  EXPECT_EQ(ColourAt("SPAM.EXAMPLE"), RGB(0, 0, 255));
  EXPECT_NE(ColourAt("me@example.jp"), RGB(0, 0, 255));  // the user's own address
  EXPECT_EQ(View().AllText().find("\r\n"), std::string::npos);
}

// The view gets its text as rich text: every character arrives as it was,
// escaped or not, the findings are bold in their colours and the rest keeps
// the view's 10-point font.
TEST_F(NgWordToolTest, ShownMailKeepsEveryCharacterAndItsColour) {
  Open("");
  for (const std::string text : {"a\\b{c}\r", "ソ表ｱ\t~\r\r", "\rx\r", "出会い系\r\r"}) {
    View().ShowMail(text, {{0, 2, HighlightColour::Obscene}});
    EXPECT_EQ(View().AllText(), text);
  }
  View().ShowMail("ab出会いcd", {{2, 6, HighlightColour::Other}});
  const struct {
    long at;
    COLORREF colour;
    bool bold;
  } cases[] = {{1, RGB(0, 0, 0), false}, {2, RGB(0, 128, 0), true}, {4, RGB(0, 128, 0), true}, {5, RGB(0, 0, 0), false}};
  for (const auto& c : cases) {
    const CHARFORMAT2A format = FormatAt(c.at);
    EXPECT_EQ(format.crTextColor, c.colour) << c.at;
    EXPECT_EQ((format.dwEffects & CFE_BOLD) != 0, c.bold) << c.at;
    EXPECT_EQ(format.yHeight, 200) << c.at;
  }
}

TEST_F(NgWordToolTest, EnterEscapeAndCloseLeaveItOpenOkHandsBackTheList) {
  Open(kSpam);
  for (int id : {IDOK, IDCANCEL}) Command(id);
  ::SendMessageA(Tool(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(::IsWindow(Tool()));
  Command(IDC_NG_OK);
  EXPECT_TRUE(tool_->IsClosed());
  EXPECT_EQ(tool_->Result(), IDOK);
  EXPECT_EQ(data_.resultWords.size(), 5u);
  VelkorSettings stored;
  stored.Load(registry_);
  EXPECT_EQ(stored.desktopWidth, ::GetSystemMetrics(SM_CXSCREEN));
  EXPECT_GE(stored.ngWordWndWidth, kToolMinWidth);
}

TEST_F(NgWordToolTest, AnOutsideReloadAbandonsItWithoutResultOrPosition) {
  Open(kSpam);
  ::SendMessageA(Tool(), kAbandonMessage, 0, 0);
  EXPECT_TRUE(tool_->IsClosed());
  EXPECT_EQ(tool_->Result(), 0);
  EXPECT_TRUE(data_.resultWords.empty());
  VelkorSettings stored;
  stored.Load(registry_);
  EXPECT_EQ(stored.ngWordWndLeft, kNoStoredPosition);
}

TEST_F(NgWordToolTest, StoredPositionOnlyForTheSameDesktop) {
  for (bool sameDesktop : {true, false}) {
    VelkorSettings settings;
    settings.desktopWidth = ::GetSystemMetrics(SM_CXSCREEN) + (sameDesktop ? 0 : 1);
    settings.desktopHeight = ::GetSystemMetrics(SM_CYSCREEN);
    settings.ngWordWndLeft = 33;
    settings.ngWordWndTop = 44;
    settings.ngWordWndWidth = 500;
    settings.ngWordWndHeight = 400;
    settings.SaveNgWordWindow(registry_);
    Open("");
    RECT r;
    ::GetWindowRect(Tool(), &r);
    EXPECT_EQ(r.left == 33 && r.top == 44 && r.right == 533, sameDesktop);
    Command(IDC_NG_CANCEL);  // Cancel stores the position too
    VelkorSettings after;
    after.Load(registry_);
    EXPECT_EQ(after.ngWordWndLeft, r.left);
    EXPECT_EQ(after.desktopWidth, ::GetSystemMetrics(SM_CXSCREEN));
  }
}

TEST_F(NgWordToolTest, AddWordSelectsAnItemEqualButForCase) {
  Open("");
  tool_->AddWord("Free\r\nsecond line");
  tool_->AddWord("ＡＢＣ");
  tool_->AddWord(" FREE ");
  tool_->AddWord("ａｂｃ\tx");
  EXPECT_EQ(tool_->Words(), (std::vector<std::string>{"Free", "ＡＢＣ"}));
  EXPECT_EQ(Selected(), std::vector<std::string>{"ＡＢＣ"});
}

TEST_F(NgWordToolTest, ASecondMailKeepsTheFirstWordsAndSelectsOnlyItsOwn) {
  Open("無料です http://one.example/");
  std::string second = "送信者: x <x@y.example>\r\n\r\n出会い系 と 無料\r\n";
  EXPECT_EQ(DropOn(IDC_NG_MAIL_VIEW, {{CF_TEXT, OfferedFormat::Bytes, second + '\0'},
                                      {F(MailFormat::RawMessage), OfferedFormat::StreamOnly, ""}}),
            static_cast<DWORD>(DROPEFFECT_COPY));
  EXPECT_EQ(tool_->Words(), (std::vector<std::string>{"無料", "http://one.example/", "出会い系"}));
  EXPECT_EQ(Selected(), (std::vector<std::string>{"無料", "出会い系"}));
  EXPECT_EQ(View().AllText(), "出会い系 と 無料\r");
}

TEST_F(NgWordToolTest, UnsupportedDropAndWordListDrop) {
  Open("");
  win::ScriptedMessageBoxes boxes;
  // Raw message only, without text or HTML readable: nothing to show.
  DropOn(IDC_NG_MAIL_VIEW, {{CF_TEXT, OfferedFormat::StreamOnly, ""}, {F(MailFormat::RawMessage), OfferedFormat::Bytes, "x"}});
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_EQ(boxes.shown()[0].text, ngtext::kUnsupportedMail);
  EXPECT_EQ(tool_->ItemText(IDC_NG_RESULT), ngtext::kUnsupportedMail);
  // Text without rich text is refused on the word list; with it, its first line is added.
  EXPECT_EQ(DropOn(IDC_NG_WORD_LIST, {{CF_TEXT, OfferedFormat::Bytes, std::string("語\r\n次\0", 8)}}),
            static_cast<DWORD>(DROPEFFECT_NONE));
  EXPECT_EQ(DropOn(IDC_NG_WORD_LIST, {{CF_TEXT, OfferedFormat::Bytes, std::string("語\r\n次\0", 8)},
                                      {F(MailFormat::RichText), OfferedFormat::Bytes, "{\\rtf1}"}}),
            static_cast<DWORD>(DROPEFFECT_COPY));
  EXPECT_EQ(tool_->Words(), std::vector<std::string>{"語"});
}

// A base64 spam mail saved from a mail program and dragged from Explorer
// (CF_HDROP naming the .eml file): the view shows its decoded text.
TEST_F(NgWordToolTest, SavedMailFileDroppedShowsTheDecodedBody) {
  Open("");
  char folder[MAX_PATH];
  ::GetTempPathA(MAX_PATH, folder);
  const std::string path = std::string(folder) + "velkor-spam.eml";
  {
    std::ofstream out(path, std::ios::binary);
    out << "From: shop@spam.example\r\nSubject: =?ISO-2022-JP?B?GyRCN2MwQhsoQg==?=\r\n"
           "Content-Type: text/plain; charset=ISO-2022-JP\r\nContent-Transfer-Encoding: base64\r\n\r\n"
           "GyRCS1xGfDhCJGokTjdjMEIlOyE8JWskRyQ5ISMbKEINCg==\r\n";
  }
  std::string dropFiles(20, '\0');
  dropFiles[0] = 20;  // the names follow the 20-byte DROPFILES header, ANSI
  dropFiles += path + '\0' + '\0';
  EXPECT_EQ(DropOn(IDC_NG_MAIL_VIEW, {{CF_HDROP, OfferedFormat::Bytes, dropFiles}}),
            static_cast<DWORD>(DROPEFFECT_COPY));
  EXPECT_EQ(View().AllText(), "本日限りの激安セールです。\r");
  ::DeleteFileA(path.c_str());
}

TEST_F(NgWordToolTest, BodyPasteNeedsHtmlFormatBesideTheText) {
  Open("");
  const std::string body = "無料 http://paste.example/x";
  for (bool withHtml : {false, true}) {
    {
      win::Clipboard clipboard(Tool());
      ASSERT_TRUE(clipboard.IsOpen());
      clipboard.Empty();
      clipboard.SetText(body);
      if (withHtml) clipboard.SetData(F(MailFormat::Html), "<p>", 4);
    }
    EXPECT_EQ(tool_->IsCommandEnabled(IDC_NG_PASTE_BODY), withHtml);
    Command(IDC_NG_PASTE_BODY);
    EXPECT_EQ(View().AllText(), withHtml ? body : "");
  }
  EXPECT_EQ(tool_->Words(), (std::vector<std::string>{"無料", "http://paste.example/x"}));
}

TEST_F(NgWordToolTest, EditingAnItemToAnothersTextRemovesIt) {
  Open("");
  for (const char* w : {"one", "two"}) tool_->AddWord(w);
  for (auto [text, words] : std::vector<std::pair<const char*, std::vector<std::string>>>{
           {" three\t", {"one", "three"}}, {"ONE", {"one"}}}) {
    HWND edit = reinterpret_cast<HWND>(List().Send(LVM_EDITLABELA, 1));
    ASSERT_TRUE(edit);
    ::SetWindowTextA(edit, text);
    ::SetFocus(View().Handle());  // the edit ends and keeps its text
    Pump();
    EXPECT_EQ(tool_->Words(), words) << text;
  }
}

TEST_F(NgWordToolTest, ResizingStaysWithinLimitsAndAnchorsTheViews) {
  Open("");
  RECT r{0, 0, 200, 1000};
  ::SendMessageA(Tool(), WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&r));
  EXPECT_EQ(r.right - r.left, kToolMinWidth);
  EXPECT_EQ(r.bottom - r.top, kToolMaxHeight);
  ::SetWindowPos(Tool(), nullptr, 0, 0, 700, 560, SWP_NOZORDER | SWP_NOMOVE);
  Pump();
  RECT client, view, list;
  ::GetClientRect(Tool(), &client);
  ::GetWindowRect(View().Handle(), &view);
  ::GetWindowRect(List().Handle(), &list);
  ::MapWindowPoints(nullptr, Tool(), reinterpret_cast<POINT*>(&view), 2);
  ::MapWindowPoints(nullptr, Tool(), reinterpret_cast<POINT*>(&list), 2);
  EXPECT_EQ(client.right - view.right, 130);
  EXPECT_EQ(client.bottom - view.bottom, 190);
  EXPECT_EQ(list.right, view.right);
  EXPECT_GT(list.top, view.bottom);
  EXPECT_LE(list.bottom, client.bottom);
}

// At the smallest, the opening and the largest size every control lies
// whole inside the client area, none covers another, and each is drawn anew
// at its new place (moved controls used to keep stale pixels and vanish).
TEST_F(NgWordToolTest, EveryControlStaysWholeApartAndRedrawnAtEverySize) {
  Open("");
  RECT opening;
  ::GetWindowRect(Tool(), &opening);
  const SIZE sizes[] = {{kToolMinWidth, kToolMinHeight},
                        {opening.right - opening.left, opening.bottom - opening.top},
                        {790, 590}};
  const int ids[] = {IDC_NG_MAIL_VIEW, IDC_NG_LIST_LABEL, IDC_NG_WORD_LIST, IDC_NG_RESULT,
                     IDC_NG_HELP_TEXT, IDC_NG_OK, IDC_NG_CANCEL};
  for (SIZE size : sizes) {
    SCOPED_TRACE(std::to_string(size.cx) + "x" + std::to_string(size.cy));
    ::SetWindowPos(Tool(), nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER);
    RECT client;
    ::GetClientRect(Tool(), &client);
    std::vector<RECT> rects;
    for (int id : ids) {
      HWND control = ::GetDlgItem(Tool(), id);
      RECT r, update;
      ::GetWindowRect(control, &r);
      ::MapWindowPoints(nullptr, Tool(), reinterpret_cast<POINT*>(&r), 2);
      EXPECT_TRUE(::IsWindowVisible(control)) << id;
      EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom) << id;
      EXPECT_TRUE(::GetUpdateRect(control, &update, FALSE)) << id << ": not redrawn";
      for (std::size_t j = 0; j < rects.size(); ++j) {
        RECT both;
        EXPECT_FALSE(::IntersectRect(&both, &r, &rects[j])) << id << " covers " << ids[j];
      }
      rects.push_back(r);
    }
    Pump();
  }
}

TEST_F(NgWordToolTest, FindAndCommandsFollowTheFocusedPane) {
  Open("abc 無料 ABC 無料");
  View().Focus();
  EXPECT_FALSE(tool_->IsCommandEnabled(ID_EDIT_CLEAR));
  prompt_.text = "無料";
  Command(ID_EDIT_FIND);
  long s = 0, e = 0;
  View().Selection(&s, &e);
  EXPECT_EQ(std::make_pair(s, e), std::make_pair(4L, 6L));
  Command(ID_FIND_NEXT);
  View().Selection(&s, &e);
  EXPECT_EQ(s, 11L);
  Command(ID_FIND_NEXT);  // wraps to the start
  View().Selection(&s, &e);
  EXPECT_EQ(s, 4L);
  win::ScriptedMessageBoxes boxes;
  find_.text = "zzz";
  Command(ID_FIND_NEXT);
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_EQ(boxes.shown()[0].text, "\"zzz\" が見つかりません。");

  List().Focus();
  EXPECT_TRUE(tool_->IsCommandEnabled(ID_EDIT_CLEAR));
  Command(ID_EDIT_CUT);
  EXPECT_TRUE(tool_->Words().empty());
  {
    win::Clipboard clipboard(Tool());
    EXPECT_EQ(clipboard.Text(), "無料\r\n");
  }
  Command(ID_EDIT_PASTE);
  EXPECT_EQ(tool_->Words(), std::vector<std::string>{"無料"});
}

bool ownerWasMinimised = false;
HWND ownerHandle = nullptr;

void CALLBACK PressEnterThenOk(HWND, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(nullptr, id);
  ownerWasMinimised = ::IsIconic(ownerHandle) != FALSE;
  for (HWND w = ::GetWindow(::GetDesktopWindow(), GW_CHILD); w; w = ::GetWindow(w, GW_HWNDNEXT)) {
    if (::GetWindow(w, GW_OWNER) != ownerHandle || !::GetDlgItem(w, IDC_NG_MAIL_VIEW)) continue;
    ::PostMessageA(w, WM_COMMAND, IDOK, 0);  // Enter: nothing
    ::PostMessageA(w, WM_COMMAND, MAKEWPARAM(IDC_NG_OK, BN_CLICKED), 0);
  }
}

TEST(NgWordToolRun, MinimisesTheOwnerWhileActiveAndRestoresIt) {
  MainTemplate owner;
  ASSERT_TRUE(owner.CreateModeless(nullptr, IDD_VELKOR_DIALOG));
  ::ShowWindow(owner.Handle(), SW_SHOW);
  MemoryRegistry registry;
  FindState find;
  NgWordToolData data;
  data.mailText = "http://run.example/abc";
  ownerHandle = owner.Handle();
  ::SetTimer(nullptr, 0, 300, &PressEnterThenOk);
  INT_PTR result = RunNgWordTool(owner.Handle(), data, registry, find, nullptr);
  EXPECT_EQ(result, IDOK);
  EXPECT_TRUE(ownerWasMinimised);
  EXPECT_FALSE(::IsIconic(owner.Handle()));
  EXPECT_TRUE(::IsWindowEnabled(owner.Handle()));
  EXPECT_EQ(data.resultWords, std::vector<std::string>{"http://run.example/abc"});
  owner.Destroy();
}

// ---- Find in the running tool, typed on the keyboard

// One find typed into the running tool: the pane it starts from and the
// text; the test's timer presses the keys step by step and records what
// the tool shows after Enter.
struct TypedFind {
  int pane = 0;
  std::wstring typed;
  int step = 0;
  HWND tool = nullptr, find = nullptr;
  bool findClosed = false;
  bool paneFocused = false;
  std::vector<int> selected;
  int focused = -1;
  bool highlighted = false;
  long viewStart = -1, viewEnd = -1;
};
TypedFind* typedFind = nullptr;

BOOL CALLBACK TakeTool(HWND window, LPARAM found) {
  if (::GetWindowThreadProcessId(window, nullptr) != ::GetCurrentThreadId() ||
      !::GetDlgItem(window, IDC_NG_WORD_LIST))
    return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

// Whether the row is drawn in the selection colour, not only framed.
bool DrawnSelected(HWND list, int row) {
  RECT r{};
  r.left = LVIR_LABEL;
  if (!::SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r))) return false;
  ::UpdateWindow(list);
  HDC dc = ::GetDC(list);
  const COLORREF selection = ::GetSysColor(COLOR_HIGHLIGHT);
  int hits = 0;
  for (int x = r.left + 1; x < r.right - 1; ++x)
    if (::GetPixel(dc, x, (r.top + r.bottom) / 2) == selection) ++hits;
  ::ReleaseDC(list, dc);
  return hits > (r.right - r.left) / 3;
}

// Tick 1: Ctrl+F in the pane; 3: the text and Enter in the find window;
// 6: what the tool shows; 7: Cancel ends the tool's loop.
void CALLBACK TypeFindStep(HWND, UINT, UINT_PTR timer, DWORD) {
  TypedFind& t = *typedFind;
  ++t.step;
  if (!t.tool) ::EnumThreadWindows(::GetCurrentThreadId(), &TakeTool, reinterpret_cast<LPARAM>(&t.tool));
  if (!t.tool) return;
  if (t.step == 1) {
    ::SetForegroundWindow(t.tool);
    ::SetFocus(::GetDlgItem(t.tool, t.pane));
    test::Press('F', VK_CONTROL);
  } else if (t.step == 3) {
    t.find = ::GetActiveWindow();
    if (t.find == t.tool) return;  // no find window
    test::TypeText(t.typed);
    test::Press(VK_RETURN);
  } else if (t.step == 6) {
    t.findClosed = !::IsWindow(t.find);
    if (!t.findClosed) ::PostMessageA(t.find, WM_COMMAND, IDCANCEL, 0);
    HWND list = ::GetDlgItem(t.tool, IDC_NG_WORD_LIST);
    const win::ListView words(t.tool, IDC_NG_WORD_LIST);
    for (int i = words.NextSelected(); i >= 0; i = words.NextSelected(i)) t.selected.push_back(i);
    t.focused = words.Focused();
    t.paneFocused = ::GetFocus() == ::GetDlgItem(t.tool, t.pane);
    if (t.focused >= 0) t.highlighted = DrawnSelected(list, t.focused);
    CMyRichEditCtrl(t.tool, IDC_NG_MAIL_VIEW).Selection(&t.viewStart, &t.viewEnd);
  } else if (t.step >= 7) {
    ::KillTimer(nullptr, timer);
    ::PostMessageA(t.tool, WM_COMMAND, MAKEWPARAM(IDC_NG_CANCEL, BN_CLICKED), 0);
  }
}

TEST(NgWordToolRun, EnterInTheFindWindowSearchesThePaneItCameFrom) {
  struct Case {
    int pane;
    std::wstring typed;
    std::vector<int> selected;  // word-list rows after the find
    long viewStart, viewEnd;    // the mail view's selection after it
  };
  // 無料でエッチな出会い系！: 出会い is character 7 of the view and word 1 of the list.
  const Case cases[] = {
      {IDC_NG_WORD_LIST, L"出会い", {1}, 0, 0},
      {IDC_NG_MAIL_VIEW, L"出会い", {0, 1, 2, 3, 4, 5}, 7, 10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pane);
    MemoryRegistry registry;
    FindState find;
    FindTextPrompt prompt;
    NgWordToolData data;
    data.mailText = kSpam;
    NgWordToolDialog tool(data, registry, find, &prompt);
    tool.dictionaryFile = WriteDictionary();
    TypedFind typed;
    typed.pane = c.pane;
    typed.typed = c.typed;
    typedFind = &typed;
    ::SetTimer(nullptr, 0, 300, &TypeFindStep);
    tool.Run(nullptr);
    typedFind = nullptr;
    ASSERT_NE(typed.tool, nullptr);
    ASSERT_NE(typed.find, typed.tool) << "Ctrl+F opened no find window";
    EXPECT_TRUE(typed.findClosed) << "Enter did not search";
    EXPECT_TRUE(typed.paneFocused);
    EXPECT_EQ(typed.selected, c.selected);
    if (c.pane == IDC_NG_WORD_LIST) {
      EXPECT_EQ(typed.focused, c.selected.front());
      EXPECT_TRUE(typed.highlighted) << "the found word is not drawn selected";
    } else {
      EXPECT_EQ(std::make_pair(typed.viewStart, typed.viewEnd), std::make_pair(c.viewStart, c.viewEnd));
    }
  }
}

}  // namespace
}  // namespace velkor
