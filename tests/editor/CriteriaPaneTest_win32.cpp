// The criteria pane of the main window, in-process: each pane kind with its
// stored value, the check rules, words and size written by the save, and an
// invalid row drawn red with its tip.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../rulestore/RuleTestSupport.h"
#include "EditorWindowFixture_win32.h"
#include "mail/MailDropTargets_win32.h"
#include "win/Clipboard.h"

namespace velkor {
namespace {

using namespace test;

const std::string kAccounts =
    std::string("Identities\\") + kIdentityA + "\\Software\\Microsoft\\Internet Account Manager";

class CriteriaPaneTest : public EditorWindowFixture {
 protected:
  // One rule per pane kind, and, when asked, one with an invalid security value.
  void SeedKinds(bool invalidRule = false) {
    SeedIdentity(registry_, kIdentityA, "Bob 鈴木", true);
    const std::string rules = RulesMailPath(IdentityBasePath(kIdentityA));
    WriteRulesHeader(registry_, rules, invalidRule ? "000 001 002 003 004 005" : "000 001 002 003 004");
    const std::vector<std::vector<SeedItem>> criteria = {
        {Words(crit::kSubject, {"未承諾広告", "儲かる"}, kCritFlagNot)},
        {Number(crit::kPriority, 1)},
        {Text(crit::kAccount, "00000002")},
        {Plain(crit::kAttachment), Number(crit::kSize, 300)},
        {Number(crit::kSecurity, 2)},
        {Words(crit::kFrom, {"a@example.jp"}), Number(crit::kSecurity, 9)},
    };
    for (std::size_t i = 0; i < criteria.size() - (invalidRule ? 0 : 1); ++i)
      WriteSeedRule(registry_, rules, FormatKeyName(static_cast<std::uint32_t>(i)), "rule " + std::to_string(i), 1,
                    1, criteria[i], {Plain(act::kStop)});
    for (const char* id : {"00000001", "00000002"})
      SeedAccount(registry_, kAccounts + "\\Accounts", id, std::string(id) == "00000001" ? "仕事" : "自宅",
                  std::string(id) + "@example.jp", "鈴木");
    RegKey manager(registry_);
    manager.Create(kAccounts);
    manager.WriteString("Default Mail Account", "00000001");
  }

  win::ListView Values() const { return win::ListView(dialog_, IDC_VALUE_LIST); }
  bool Visible(int id) const { return ::IsWindowVisible(::GetDlgItem(dialog_, id)) != FALSE; }
  std::string ControlText(int id) const { return win::Window(dialog_, id).Text(); }
  // Ends the label edit in progress as Enter would, with this text.
  void TypeIntoEdit(const std::string& text) {
    HWND edit = ListView_GetEditControl(Values().Handle());
    ASSERT_NE(edit, nullptr);
    ::SetWindowTextA(edit, text.c_str());
    ::SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    Pump();
    EXPECT_EQ(ListView_GetEditControl(Values().Handle()), nullptr);
  }
  const RuleCriterion* Stored(std::uint32_t rule, int row) {
    stored_ = std::make_unique<RuleStore>(registry_);
    stored_->Load(kIdentityA);
    return stored_->Criterion(rule, SlotBit(row));
  }
  std::unique_ptr<RuleStore> stored_;
};

TEST_F(CriteriaPaneTest, SelectingARuleShowsItsFirstCheckedRowWithTheStoredValue) {
  SeedKinds();
  Open();
  // The first rule was shown while the window was still hidden: its word
  // options show all the same.
  EXPECT_TRUE(Visible(IDC_OPTION1_GROUP));
  EXPECT_TRUE(Visible(IDC_WORDS_NOT_CONTAINED));
  struct Case {
    int rule;
    int row;      // first checked row
    int visible;  // the value control shown
    std::string value;  // combo text, size text, or the first word
  };
  const std::vector<Case> cases = {
      {0, 1, IDC_VALUE_LIST, "未承諾広告"},       {1, 6, IDC_CRITERIA_COMBO, "重要度－\"低\""},
      {2, 7, IDC_CRITERIA_COMBO, "自宅"},         {3, 8, IDC_SIZE_EDIT, "300"},
      {4, 10, IDC_CRITERIA_COMBO, "暗号化されたメッセー"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rule);
    SelectRules({c.rule});
    EXPECT_EQ(SelectedRows(Criteria()), std::vector<int>{c.row});
    for (int id : {IDC_VALUE_LIST, IDC_CRITERIA_COMBO, IDC_SIZE_EDIT}) EXPECT_EQ(Visible(id), id == c.visible) << id;
    if (c.visible == IDC_VALUE_LIST) {
      ASSERT_EQ(Values().Count(), 2);
      EXPECT_EQ(Values().ItemText(0), c.value);
      EXPECT_EQ(Values().ColumnTitle(0), "件名に指定した言葉が含まれる場合");
      EXPECT_TRUE(Visible(IDC_OPTION1_GROUP));
      EXPECT_TRUE(win::Button(dialog_, IDC_WORDS_NOT_CONTAINED).IsChecked());
      EXPECT_TRUE(win::Button(dialog_, IDC_WORDS_ANY).IsChecked());
    } else {
      EXPECT_EQ(ControlText(c.visible), c.value);
      EXPECT_TRUE(Visible(IDC_CRITERIA_LABEL));
      EXPECT_FALSE(Visible(IDC_OPTION1_GROUP));
    }
  }
  EXPECT_FALSE(window_->HasUnsavedChanges());  // showing stored values changes nothing
}

TEST_F(CriteriaPaneTest, CheckRulesAndTheLogicGroup) {
  SeedKinds();
  Open();
  SelectRules({1});
  EXPECT_FALSE(Visible(IDC_LOGIC_GROUP));
  Criteria().Focus();
  Criteria().SetChecked(9, true);  // attachment, as a click on its box
  EXPECT_TRUE(Visible(IDC_LOGIC_GROUP));
  EXPECT_TRUE(win::Button(dialog_, IDC_LOGIC_ALL).IsChecked());
  EXPECT_EQ(SelectedRows(Criteria()), std::vector<int>{9});
  EXPECT_TRUE(window_->HasUnsavedChanges());

  Criteria().SetChecked(11, true);  // all messages: every other row goes
  for (int row = 0; row < 12; ++row) EXPECT_EQ(Criteria().IsChecked(row), row == 11) << row;
  EXPECT_FALSE(Visible(IDC_LOGIC_GROUP));
  Criteria().SetChecked(6, true);  // and comes back off with any other row
  EXPECT_FALSE(Criteria().IsChecked(11));
  EXPECT_TRUE(Visible(IDC_CRITERIA_COMBO));

  // A check box changed while the list has no focus is refused.
  ::SetFocus(::GetDlgItem(dialog_, IDC_SYNC));
  Criteria().SetChecked(9, true);
  EXPECT_FALSE(Criteria().IsChecked(9));
}

TEST_F(CriteriaPaneTest, WordsAndSizeAreWrittenBySaveAndReadBack) {
  SeedKinds();
  Open();
  SelectRules({0});
  Values().UnselectAll();
  Command(ID_VALUE_ADD_ITEM);
  TypeIntoEdit("  新しい言葉\t");
  ASSERT_EQ(Values().Count(), 3);
  Values().Focus();
  Values().EditLabel(0);
  TypeIntoEdit("変更後");
  Values().UnselectAll();
  Values().SetSelected(1, true);  // 儲かる
  boxes_.Answer(IDYES);
  Command(ID_VALUE_DELETE);
  ASSERT_EQ(boxes_.shown().size(), 1u);
  EXPECT_EQ(boxes_.shown()[0].caption, "選択項目の削除（メールルール条件）");

  SelectRules({3});
  win::Edit size(dialog_, IDC_SIZE_EDIT);
  size.Focus();
  size.SetText("12a");
  EXPECT_EQ(size.Text(), "");
  size.SetText("99999");
  Criteria().Focus();
  EXPECT_EQ(size.Text(), "32767");

  Command(IDC_SAVE);
  EXPECT_EQ(boxes_.shown().size(), 1u);  // only the delete question
  EXPECT_FALSE(window_->HasUnsavedChanges());
  const RuleCriterion* subject = Stored(0, 1);
  ASSERT_NE(subject, nullptr);
  EXPECT_EQ(DecodeStringList(subject->ValueData(), subject->ValueSize()),
            (std::vector<std::string>{"変更後", "新しい言葉"}));
  EXPECT_EQ(subject->Flags(), kCritFlagNot);
  std::uint32_t kb = 0;
  ASSERT_TRUE(Stored(3, 8)->DwordValue(&kb));
  EXPECT_EQ(kb, 32767u);
  // After the reload the rule shown is the size rule again, with its pane.
  EXPECT_EQ(SelectedRows(Criteria()), std::vector<int>{8});
  EXPECT_EQ(size.Text(), "32767");
}

TEST_F(CriteriaPaneTest, TheHiraganaAndOwnAddressesAreMergedOnce) {
  SeedKinds();
  Open();
  SelectRules({0});
  boxes_.Answer(IDCANCEL);
  Command(ID_VALUE_ADD_KANA);
  EXPECT_EQ(Values().Count(), 2);
  EXPECT_FALSE(window_->HasUnsavedChanges());
  for (int round = 0; round < 2; ++round) {
    boxes_.Answer(IDOK);
    Command(ID_VALUE_ADD_KANA);
    Command(ID_VALUE_ADD_OWN_ADDRESSES);
    ASSERT_EQ(Values().Count(), 2 + 71 + 2);  // the second round only selects
  }
  EXPECT_EQ(boxes_.shown().size(), 3u);
  EXPECT_EQ(boxes_.shown()[0].caption, "確認");
  EXPECT_EQ(Values().ItemText(2), "あ");
  EXPECT_EQ(Values().ItemText(74), "00000002@example.jp");
  EXPECT_EQ(Values().SelectedCount(), 2);  // the addresses of the last merge
  const RuleCriterion* subject = window_->Store().Criterion(0, SlotBit(1));
  EXPECT_EQ(DecodeStringList(subject->ValueData(), subject->ValueSize()).size(), 75u);
}

TEST_F(CriteriaPaneTest, DroppedTextGoesIntoTheValueListAsAPaste) {
  const CLIPFORMAT book = MailClipboardFormat(MailFormat::AddressBook);
  const std::string card = "太郎\r\n電子メール アドレス :\r\n  taro@example.jp\r\n  jiro@example.jp\r\n会社 :\r\n  東京\r\n";
  struct Case {
    const char* what;
    std::vector<OfferedFormat> formats;
    std::vector<std::string> rows;
  };
  const Case cases[] = {
      {"plain text: its lines", {{CF_TEXT, OfferedFormat::Bytes, std::string("儲かる\r\n 無料 \r\n") + '\0'}},
       {"未承諾広告", "儲かる", "無料"}},
      // Half a character is cut before the tab goes, so it cannot pair with the next byte.
      {"a broken character before a tab", {{CF_TEXT, OfferedFormat::Bytes, std::string("\x82\tA\r\n") + '\0'}},
       {"未承諾広告", "儲かる", "A"}},
      {"address-book text: only its address lines",
       {{CF_TEXT, OfferedFormat::Bytes, card + '\0'}, {book, OfferedFormat::StreamOnly, ""}},
       {"未承諾広告", "儲かる", "taro@example.jp", "jiro@example.jp"}},
      {"the same text from elsewhere: every line", {{CF_TEXT, OfferedFormat::Bytes, card + '\0'}},
       {"未承諾広告", "儲かる", "太郎", "電子メール アドレス :", "taro@example.jp", "jiro@example.jp", "会社 :", "東京"}},
  };
  for (const Case& c : cases) {
    SeedKinds();
    Open();
    SelectRules({0});
    EXPECT_EQ(DragOnto(IDC_VALUE_LIST, c.formats), static_cast<DWORD>(DROPEFFECT_COPY)) << c.what;
    EXPECT_EQ(RowTexts(Values()), c.rows) << c.what;
    const RuleCriterion* subject = window_->Store().Criterion(0, SlotBit(1));
    EXPECT_EQ(DecodeStringList(subject->ValueData(), subject->ValueSize()), c.rows) << c.what;
    window_.reset();
  }
}

// Ticking an empty word row opens an edit on a new row; a drop then takes
// its place instead of leaving the empty edit open above it.
TEST_F(CriteriaPaneTest, ADropOnAFreshlyTickedRowEndsItsEmptyEdit) {
  SeedKinds();
  Open();
  SelectRules({0});
  Criteria().Focus();
  Criteria().SetChecked(3, true);  // 宛先
  Pump();
  ASSERT_NE(ListView_GetEditControl(Values().Handle()), nullptr);
  EXPECT_EQ(DragOnto(IDC_VALUE_LIST, {{CF_TEXT, OfferedFormat::Bytes, std::string("taro@example.jp\r\n") + '\0'}}),
            static_cast<DWORD>(DROPEFFECT_COPY));
  EXPECT_EQ(ListView_GetEditControl(Values().Handle()), nullptr);
  EXPECT_EQ(RowTexts(Values()), std::vector<std::string>{"taro@example.jp"});
  const RuleCriterion* to = window_->Store().Criterion(0, SlotBit(3));
  ASSERT_NE(to, nullptr);
  EXPECT_EQ(DecodeStringList(to->ValueData(), to->ValueSize()), std::vector<std::string>{"taro@example.jp"});
}

TEST_F(CriteriaPaneTest, TheClipboardCommandsEditTheShownCriterion) {
  SeedKinds();
  Open();
  SelectRules({0});
  auto storedWords = [this] {
    const RuleCriterion* subject = window_->Store().Criterion(0, SlotBit(1));
    return DecodeStringList(subject->ValueData(), subject->ValueSize());
  };
  Values().SelectAll();
  Command(ID_VALUE_COPY);
  EXPECT_EQ(win::Clipboard(dialog_).Text(), "未承諾広告\r\n儲かる");
  EXPECT_FALSE(window_->HasUnsavedChanges());

  {
    win::Clipboard clipboard(dialog_);
    ASSERT_TRUE(clipboard.IsOpen() && clipboard.Empty() && clipboard.SetText("儲かる\r\n限定\r\n"));
  }
  Command(ID_VALUE_PASTE);
  EXPECT_EQ(storedWords(), (std::vector<std::string>{"未承諾広告", "儲かる", "限定"}));
  EXPECT_TRUE(window_->HasUnsavedChanges());

  Values().UnselectAll();
  Values().SetSelected(0, true);
  Command(ID_VALUE_CUT);
  EXPECT_EQ(RowTexts(Values()), (std::vector<std::string>{"儲かる", "限定"}));
  EXPECT_EQ(storedWords(), RowTexts(Values()));

  // Cutting every word lets the criterion go: its row is unchecked.
  Values().SelectAll();
  Command(ID_VALUE_CUT);
  const RuleCriterion* gone = window_->Store().Criterion(0, SlotBit(1));
  EXPECT_TRUE(!gone || !gone->InUse());
  EXPECT_FALSE(Criteria().IsChecked(1));

  // A rule whose shown row holds no words takes nothing.
  SelectRules({1});
  Command(ID_VALUE_PASTE);
  const RuleCriterion* untouched = window_->Store().Criterion(1, SlotBit(1));
  EXPECT_TRUE(!untouched || !untouched->InUse());
}

TEST_F(CriteriaPaneTest, AnInvalidRowIsDrawnRedAndItsTipTellsTheProblem) {
  SeedKinds(true);
  Open();
  SelectRules({5});
  auto colourOf = [this](int row) {
    NMLVCUSTOMDRAW draw{};
    draw.nmcd.hdr.hwndFrom = Criteria().Handle();
    draw.nmcd.hdr.idFrom = IDC_CRITERIA_TYPE_LIST;
    draw.nmcd.hdr.code = NM_CUSTOMDRAW;
    draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
    draw.nmcd.dwItemSpec = static_cast<DWORD_PTR>(row);
    ::SendMessageA(dialog_, WM_NOTIFY, IDC_CRITERIA_TYPE_LIST, reinterpret_cast<LPARAM>(&draw));
    return draw.clrText;
  };
  Criteria().UnselectAll();
  EXPECT_EQ(colourOf(10), RGB(255, 0, 0));
  EXPECT_EQ(colourOf(0), RGB(0, 0, 0));
  char buffer[512] = {};
  NMLVGETINFOTIPA tip{};
  tip.hdr.hwndFrom = Criteria().Handle();
  tip.hdr.idFrom = IDC_CRITERIA_TYPE_LIST;
  tip.hdr.code = LVN_GETINFOTIPA;
  tip.pszText = buffer;
  tip.cchTextMax = sizeof buffer;
  tip.iItem = 10;
  ::SendMessageA(dialog_, WM_NOTIFY, IDC_CRITERIA_TYPE_LIST, reinterpret_cast<LPARAM>(&tip));
  EXPECT_EQ(std::string(buffer), "メッセージが指定したセキュリティ状態である場合\r\n（エラー：エラーがあります。）");

  // A word that is an address-book address shows its display name too.
  AddressEntryList book;
  book.Append("山田 太郎", "A@example.jp");
  window_->Session().SetAddressBook(book, 1);
  tip.hdr.hwndFrom = Values().Handle();
  tip.hdr.idFrom = IDC_VALUE_LIST;
  tip.iItem = 0;
  ::SendMessageA(dialog_, WM_NOTIFY, IDC_VALUE_LIST, reinterpret_cast<LPARAM>(&tip));
  EXPECT_EQ(std::string(buffer), "山田 太郎 :a@example.jp");
}

}  // namespace
}  // namespace velkor
