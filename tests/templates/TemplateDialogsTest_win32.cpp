// The ready-made rule list, the two input dialogs and the whole command, run
// in-process: each modal dialog is driven by a thread timer that acts on it
// once it is shown; message boxes are answered by the seam.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "registry/MemoryRegistry.h"
#include "res/resource.h"
#include "rulestore/Identities.h"
#include "rulestore/RuleStore.h"
#include "templates/PersonalInfoDialogs_win32.h"
#include "templates/RuleTemplateDialog_win32.h"
#include "templates/TemplateCommand_win32.h"
#include "win/Controls.h"
#include "win/MessageBox.h"
#include "DialogScript_win32.h"

namespace velkor {
namespace {

const char* const kListTitle = templatetext::kDialogTitle;
const char* const kInfoTitle = personalinfotext::kPersonalInfoTitle;
const char* const kNameTitle = personalinfotext::kOwnNameTitle;


struct ListState {
  std::vector<int> ids;
  std::vector<int> images;
  std::string header;
  int selectedId = -2;
  std::string description;
};

ListState ReadList(HWND dialog) {
  ListState state;
  win::ListView list(dialog, IDC_TEMPLATE_LIST);
  for (int row = 0; row < list.Count(); ++row) {
    state.ids.push_back(static_cast<int>(list.Data(row)));
    LVITEMA item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    list.Send(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    state.images.push_back(item.iImage);
  }
  state.header = list.ColumnTitle(0);
  int selected = list.NextSelected();
  state.selectedId = selected >= 0 ? static_cast<int>(list.Data(selected)) : -1;
  state.description = win::Window(dialog, IDC_TEMPLATE_DESCRIPTION).Text();
  return state;
}

void InitControls() {
  static bool done = false;
  if (done) return;
  INITCOMMONCONTROLSEX init{sizeof(init), ICC_LISTVIEW_CLASSES};
  ::InitCommonControlsEx(&init);
  done = true;
}

TEST(RuleTemplateDialog, ListsTheRowsWithImagesDescribesTheSelectionAndEndsWithOk) {
  InitControls();
  ListState atStart, afterSelect, afterUnselect;
  DialogScript script;
  script.Add(kListTitle, [&](HWND dialog) {
    atStart = ReadList(dialog);
    SelectTemplate(dialog, 7);
    afterSelect = ReadList(dialog);
    SelectTemplate(dialog, -1);
    afterUnselect = ReadList(dialog);
    Click(dialog, IDC_TEMPLATE_OK);
  });
  RuleTemplateDialog dialog(kSeparatorTemplate);
  INT_PTR result = 0;
  script.Run([&] { result = dialog.Run(nullptr); });
  ASSERT_TRUE(script.Done());
  EXPECT_EQ(IDC_TEMPLATE_OK, result);
  EXPECT_EQ(-1, dialog.Chosen());  // OK without a row

  EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 12, 4, 5, 6, 7, 8, 9, 10, 12, 11}), atStart.ids);
  EXPECT_EQ((std::vector<int>{0, 0, 0, 0, 3, 1, 1, 1, 1, 1, 1, 1, 3, 2}), atStart.images);
  EXPECT_EQ("作成したいルールを選択してください。", atStart.header);
  EXPECT_EQ(kSeparatorTemplate, atStart.selectedId);  // the first of the two separator rows
  EXPECT_EQ("区切り線をメールルールに追加します。", atStart.description);
  EXPECT_EQ(7, afterSelect.selectedId);
  EXPECT_EQ(TemplateAt(7).description, afterSelect.description);
  EXPECT_NE(std::string::npos, afterSelect.description.find("\r\n"));
  EXPECT_EQ("", afterUnselect.description);
}

// A main window stand-in: a rule list like the editor's over a rule set.
class TemplateCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitControls();
    owner_ = ::CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                               nullptr, nullptr);
    listHwnd_ = ::CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, 0, 0,
                                  380, 280, owner_, nullptr, nullptr, nullptr);
    win::ListView list(listHwnd_);
    list.SetExtendedStyle(LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
    list.InsertColumn(0, "rules", 300);
    for (const char* name : {"r1", "r2", "r3", "r4", "r5"}) {
      MailRule& rule = rules_.AddNewRule(name);
      int row = list.Insert(list.Count(), name, static_cast<LPARAM>(rule.Number()));
      list.SetChecked(row, true);
    }
    stamp_.first = 0x11223344;
    stamp_.second = 0x00665544;
    RegKey account(registry_);
    ASSERT_EQ(regerr::kSuccess, account.Create(std::string(kGlobalAccountsKey) + "\\00000001"));
    account.WriteString("Account Name", "mail");
    account.WriteString("SMTP Email Address", "hanako@example.jp");
    account.WriteString("SMTP Display Name", "鈴木 花子");
    accounts_.Read(registry_, "{X}");
  }
  void TearDown() override { ::DestroyWindow(owner_); }

  TemplateOutcome Run(DialogScript& script) {
    TemplateCommandHost host;
    host.owner = owner_;
    host.ruleList = listHwnd_;
    host.rules = &rules_;
    host.settings = &registry_;
    host.accounts = &accounts_;
    host.stamp = stamp_;
    host.listGuard = &guard_;
    host.showSelection = [this] { ++shown_; };
    TemplateOutcome outcome;
    script.Run([&] { outcome = RunTemplateCommand(host); });
    EXPECT_TRUE(script.Done());
    return outcome;
  }
  win::ListView List() const { return win::ListView(listHwnd_); }
  const MailRule& RuleOfRow(int row) { return *rules_.Find(static_cast<std::uint32_t>(List().Data(row))); }

  HWND owner_ = nullptr;
  HWND listHwnd_ = nullptr;
  MemoryRegistry registry_;
  AccountList accounts_;
  RuleSet rules_{"Rules\\Mail"};
  StoreStamp stamp_;
  bool guard_ = false;
  int shown_ = 0;
  win::ScriptedMessageBoxes boxes_;
};

TEST_F(TemplateCommandTest, InsertsBeforeTheSelectedRuleButTheCatchAllLastMovingToFolderSeven) {
  List().SetSelected(2, true);
  DialogScript script;
  script.Add(kListTitle, Choose(8));
  TemplateOutcome made = Run(script);
  ASSERT_EQ(2, made.row);
  EXPECT_EQ("[BLOCK]本文が空白の場合", List().ItemText(2));
  EXPECT_TRUE(List().IsChecked(2));
  EXPECT_TRUE(List().IsSelected(2));
  EXPECT_EQ(1, List().SelectedCount());
  EXPECT_EQ("[BLOCK]本文が空白の場合", RuleOfRow(2).Name());
  EXPECT_GT(shown_, 0);
  EXPECT_FALSE(guard_);

  DialogScript again;
  again.Add(kListTitle, Choose(kUnclassifiedTemplate));
  made = Run(again);
  ASSERT_EQ(6, made.row);
  EXPECT_EQ("[UNCLASSIFIED]分類できない場合", List().ItemText(6));
  const RuleAction& move = *RuleOfRow(6).Actions()->ForSlotBit(SlotBit(0));
  FolderRefBytes expected = MakeFolderRef(stamp_, 7);
  ASSERT_EQ(12u, move.ValueSize());
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), move.ValueData()));
  ASSERT_EQ(2u, boxes_.shown().size());
  EXPECT_EQ("既定のメールルールの作成", boxes_.shown()[1].caption);
  EXPECT_EQ(TemplateSuccessMessage(kUnclassifiedTemplate, "[UNCLASSIFIED]分類できない場合"), boxes_.shown()[1].text);
}

TEST_F(TemplateCommandTest, BackReopensTheListWithTheTemplateSelected) {
  int reopenedWith = -2;
  DialogScript script;
  script.Add(kListTitle, Choose(0));
  script.Add(kInfoTitle, [](HWND dialog) { Click(dialog, IDC_BACK); });
  script.Add(kListTitle, [&](HWND dialog) {
    reopenedWith = ReadList(dialog).selectedId;
    Click(dialog, IDCANCEL);
  });
  EXPECT_EQ(-1, Run(script).id);
  EXPECT_EQ(0, reopenedWith);
  EXPECT_EQ(5, rules_.Count());
}

TEST_F(TemplateCommandTest, TwoSeparatorsStandUncheckedAndOkWithoutARowDoesNothing) {
  for (int i = 0; i < 2; ++i) {
    DialogScript script;
    script.Add(kListTitle, Choose(kSeparatorTemplate));
    EXPECT_EQ(kSeparatorTemplate, Run(script).id);
  }
  EXPECT_EQ(7, List().Count());
  for (int row : {5, 6}) {
    EXPECT_EQ(std::string(37, '-'), List().ItemText(row));
    EXPECT_FALSE(List().IsChecked(row));
    EXPECT_FALSE(RuleOfRow(row).Enabled());
  }
  DialogScript none;
  none.Add(kListTitle, Choose(-1));
  EXPECT_EQ(-1, Run(none).id);
  EXPECT_EQ(7, List().Count());
  EXPECT_EQ(7, rules_.Count());
}

TEST_F(TemplateCommandTest, PersonalInformationIsCheckedRememberedAndKeptOutOfOwnAddresses) {
  PersonalInfo saved;
  saved.handleName = "hanako";
  saved.Save(registry_);
  std::string handleShown;
  DialogScript script;
  script.Add(kListTitle, Choose(0));
  script.Add(kInfoTitle, [&](HWND dialog) {
    handleShown = win::Window(dialog, IDC_INFO_HANDLE_NAME).Text();
    ::SetDlgItemTextA(dialog, IDC_INFO_FAMILY_NAME, "鈴木");
    ::SetDlgItemTextA(dialog, IDC_INFO_PHONE, "0312345678");
    Click(dialog, IDC_TEMPLATE_OK);  // refused: no hyphen; the dialog stays
  });
  script.Add(kInfoTitle, [](HWND dialog) {
    ::SetDlgItemTextA(dialog, IDC_INFO_PHONE, "03-1234-5678");
    Click(dialog, IDC_TEMPLATE_OK);
  });
  TemplateOutcome made = Run(script);
  EXPECT_EQ("hanako", handleShown);
  ASSERT_EQ(0, made.id);
  ASSERT_EQ(3u, boxes_.shown().size());
  EXPECT_EQ(personalinfotext::kPhone, boxes_.shown()[0].text);
  EXPECT_EQ("個人情報 'hanako' は、あなたのメールアドレス 'hanako@example.jp' の一部分に一致します。\n"
            "この情報は、セーフリストの条件に追加できません。",
            boxes_.shown()[1].text);
  const RuleCriterion& body = *RuleOfRow(made.row).Criteria()->ForSlotBit(SlotBit(2));
  EXPECT_EQ((std::vector<std::string>{"鈴木", "03-1234-5678", "03 1234 5678", "0312345678"}),
            DecodeStringList(body.ValueData(), body.ValueSize()));
  PersonalInfo stored;
  stored.Load(registry_);
  EXPECT_EQ("03-1234-5678", stored.phone);
  EXPECT_EQ("鈴木", stored.familyName);
}

TEST_F(TemplateCommandTest, OwnNamesArePrefilledOnceAndAnEmptyBoxIsRefused) {
  RegKey second(registry_);
  ASSERT_EQ(regerr::kSuccess, second.Create(std::string(kGlobalAccountsKey) + "\\00000002"));
  second.WriteString("Account Name", "work");
  second.WriteString("SMTP Email Address", "h.suzuki@work.example");
  second.WriteString("SMTP Display Name", "鈴木 花子 ");
  accounts_.Read(registry_, "{X}");
  std::string prefilled, help;
  DialogScript script;
  script.Add(kListTitle, Choose(kOwnNameTemplate));
  script.Add(kNameTitle, [&](HWND dialog) {
    prefilled = win::Window(dialog, IDC_OWN_NAMES).Text();
    help = win::Window(dialog, IDC_TEMPLATE_DESCRIPTION).Text();
    ::SetDlgItemTextA(dialog, IDC_OWN_NAMES, " \r\n　");
    Click(dialog, IDC_TEMPLATE_OK);
  });
  script.Add(kNameTitle, [&](HWND dialog) {
    ::SetDlgItemTextA(dialog, IDC_OWN_NAMES, "鈴木 花子\r\nSuzuki");
    Click(dialog, IDC_TEMPLATE_OK);
  });
  TemplateOutcome made = Run(script);
  EXPECT_EQ("鈴木 花子\r\n", prefilled);
  EXPECT_EQ(0u, help.find("メールの宛先または CC の表示名に"));
  ASSERT_EQ(kOwnNameTemplate, made.id);
  EXPECT_EQ(personalinfotext::kNoNames, boxes_.shown()[0].text);
  const RuleCriterion& names = *RuleOfRow(made.row).Criteria()->ForSlotBit(SlotBit(5));
  EXPECT_EQ(std::vector<std::string>{"鈴木 花子"}, DecodeStringList(names.ValueData(), names.ValueSize()));
  EXPECT_EQ("鈴木 花子\r\nSuzuki", LoadSelfIdentity(registry_));
}

TEST_F(TemplateCommandTest, AnExistingRuleIsSelectedAndNoDialogFollows) {
  List().SetItemText(3, "[block]本文が空白の場合");
  DialogScript script;
  script.Add(kListTitle, Choose(8));
  EXPECT_EQ(-1, Run(script).id);
  EXPECT_EQ(3, List().NextSelected());
  EXPECT_EQ(1, List().SelectedCount());
  ASSERT_EQ(1u, boxes_.shown().size());
  EXPECT_EQ("ブロックリスト", boxes_.shown()[0].caption);
  EXPECT_EQ(5, rules_.Count());
}

}  // namespace
}  // namespace velkor
