#pragma once
// The thirteen ready-made spam-filter rules as data, and how one of them
// becomes a rule of the RuleSet. Two names ("[SAFE]本文に信頼できる…" and
// "[SAFE]送信者が信頼できる…") are what the sync utility looks for, so the
// names are fixed texts.

#include <cstdint>
#include <string>
#include <vector>

#include "folders/MailFolderList.h"
#include "rulestore/RuleModel.h"

namespace velkor {

class RuleSet;

// 0-12, carried as the item data of the template list's rows.
using RuleTemplateId = int;
constexpr int kTemplateCount = 13;
constexpr RuleTemplateId kPersonalInfoTemplate = 0;
constexpr RuleTemplateId kOwnNameTemplate = 1;
constexpr RuleTemplateId kTrustedBodyTemplate = 2;
constexpr RuleTemplateId kTrustedSenderTemplate = 3;
constexpr RuleTemplateId kNoOwnAddressTemplate = 10;
constexpr RuleTemplateId kUnclassifiedTemplate = 11;
constexpr RuleTemplateId kSeparatorTemplate = 12;

// Where a template's word list comes from.
enum class TemplateWords {
  PersonalInfo,      // the personal-information dialog
  OwnNames,          // the own-name dialog
  TrustedAddresses,  // TrustedAddressList of the address book
  DragPlaceholder,   // one entry: the drag placeholder
  Kana,              // KanaWords
  AlnumAndKana,      // AlnumWords, then KanaWords
  Alnum,             // AlnumWords
  OwnAddresses,      // the accounts' SMTP addresses
  None,              // no list: "all messages"
  SeparatorPlaceholder,
};

// Which success message follows the creation.
enum class TemplateSuccess { Plain, Synchronisable, Drag, Unclassified, Separator };

// Row images of bitmap 137.
constexpr int kSafeImage = 0;
constexpr int kBlockImage = 1;
constexpr int kUnclassifiedImage = 2;
constexpr int kSeparatorImage = 3;

struct RuleTemplate {
  RuleTemplateId id;
  const char* rowText;
  const char* ruleName;
  int image;
  const char* existsCaption;  // nullptr: the template may be added any number of times
  int criterionSlot;
  std::uint32_t criterionFlags;
  TemplateWords words;
  bool deletes;   // the delete action besides stop processing
  bool enabled;   // "Enabled" and the row's check box
  bool atEnd;     // the row goes to the end instead of the insertion point
  TemplateSuccess success;
  const char* description;  // what the template list shows for it
};

const RuleTemplate& TemplateAt(RuleTemplateId id);  // id 0-12
bool IsTemplateId(RuleTemplateId id);
// The ids of the list's rows in order; the separator stands twice.
const std::vector<RuleTemplateId>& TemplateRowOrder();

// The folder number the catch-all rule moves to until the user chooses one.
constexpr std::uint32_t kUnclassifiedFolder = 7;

namespace templatetext {
constexpr const char* kDialogTitle = "既定のメールルールの作成";
constexpr const char* kListHeader = "作成したいルールを選択してください。";
constexpr int kListHeaderWidth = 200;
constexpr const char* kExists = "ルール名：\n    %s\nはすでに存在します。";
constexpr const char* kNoValidAddress =
    "アドレス帳に有効なメールアドレスがありません。\nOutlook Expressのアドレス帳を確認してください。";
constexpr const char* kNoOwnAddress =
    "あなたのメールアドレスを取得できません。\nOutlook Expressのメールアカウントを確認してください。";
constexpr const char* kAdded = "ルール名：\n    %s\nを追加しました。";
constexpr const char* kAddedSynchronisable =
    "ルール名：\n    %s\nを追加しました。\nアドレス帳と同期可能なルールです。ルール名を変更しないでください。";
constexpr const char* kAddedDrag = "ルール名：\n    %s\nを追加しました。\r\n\r\n条件に迷惑メールをドラッグできます。";
constexpr const char* kAddedUnclassified =
    "ルール名：\n    %s\nを追加しました。 \n\nメールを保存するフォルダを指定してください。";
constexpr const char* kAddedSeparator = "区切り線を追加しました。";
}  // namespace templatetext

// Each "%s" of a message pattern replaced, in order, by the next text; the
// texts are taken as they are, even when they hold "%s" themselves.
std::string FillTexts(const char* pattern, const std::vector<std::string>& texts);
std::string TemplateExistsMessage(const std::string& ruleName);
std::string TemplateSuccessMessage(RuleTemplateId id, const std::string& ruleName);

// The first row whose name equals `name` ignoring case (ASCII and full-width
// letters, double-byte aware), or -1.
int FindRuleNamed(const std::vector<std::string>& rowNames, const std::string& name);

// The address-book addresses for the two trusted-address templates: trimmed,
// only those with "@", none of the own addresses, each address once in its
// first spelling (case ignored). Linear in the number of addresses.
std::vector<std::string> TrustedAddressList(const std::vector<std::string>& bookAddresses,
                                            const std::vector<std::string>& ownAddresses);

// The own addresses trimmed, blanks dropped (an empty entry would end the
// stored list early), in account order.
std::vector<std::string> OwnAddressWords(const std::vector<std::string>& ownAddresses);

// The word list of a template whose words need no dialog or address book
// (placeholders and fixed lists); empty for the others.
std::vector<std::string> FixedTemplateWords(RuleTemplateId id, const StoreStamp& stamp);

// Adds the template's rule to `rules` with the given words: name, criterion,
// flags, actions, enabled flag; the catch-all rule moves to folder 7 of the
// store with this stamp. Answers the new rule.
MailRule& BuildTemplateRule(RuleSet& rules, RuleTemplateId id, const std::vector<std::string>& words,
                            const StoreStamp& stamp);

// Moves rule `number` to `index` of the set's order (clamped to the end): the
// set's order is the order shown and saved.
void MoveRuleTo(RuleSet& rules, std::uint32_t number, int index);

}  // namespace velkor
