#include "templates/RuleTemplates.h"

#include <algorithm>
#include <unordered_set>

#include "rulestore/RuleStore.h"
#include "templates/TemplateWords.h"
#include "text/ShiftJis.h"

namespace velkor {

namespace {

// What the template list shows for each template.
constexpr const char* kDescription0 =
    "メールの本文中に、あなたの個人情報を含む場合のセーフリストです。" "\r\n"
    "迷惑メール送信者は、あなたのメールアドレス以外の個人情報を知りません。本文に自分自身の個人情報が含まれる場合、必要なメールと判断できます。自分の名前や電話番号、郵便番号、勤務先名、家族やペットの名前など（自分のメールアドレスは除外）を条件に含めることができます。" "\r\n"
    "オンラインショッピングや会員登録などの確認メールもこの条件に一致します。自分のメールアドレスの一部分と条件が一致しないように注意してください。";
constexpr const char* kDescription1 =
    "メールの宛先またはCCに、自分の名前や勤務名を含む場合のセーフリストです。" "\r\n"
    "迷惑メール送信者は、あなたのメールアドレス以外の個人情報を知りません。宛先の表示名に自分の名前が含まれるメールは必要なメールと判断できます。自分の名前（Outlook Expressのメールアカウントに登録している名前を含む）や勤務先名などを条件に含めることができます。自分のメールアドレスの一部分と条件が一致しないように注意してください。";
constexpr const char* kDescription2 =
    "メール本文に、アドレス帳のメールアドレスが含まれる場合のセーフリストです。" "\r\n"
    "この条件に一致するメールは、必要なメールと判断できます。エラーメール（バウンスメール）もこの条件に一致します。この条件に自分のメールアドレスを加えないでください。" "\r\n"
    "【本文に、日本語が含まれない場合】を利用して英語や中国語の迷惑メールを一括ブロックしている場合は、必ずこのセーフリストを加えてください。" "\r\n"
    "" "\r\n"
    "このセーフリストは【アドレス帳との同期設定】により自動更新が可能です。";
constexpr const char* kDescription3 =
    "送信者が、アドレス帳のメールアドレスに一致する場合のセーフリストです。" "\r\n"
    "通常、アドレス帳に含まれるメールアドレスは信頼できる送信者と判断できます。" "\r\n"
    "ただし、送信者アドレスは偽装できますので、自分のメールアドレスをこの条件に加えないでください。" "\r\n"
    "" "\r\n"
    "このセーフリストは【アドレス帳との同期設定】により自動更新が可能です。";
constexpr const char* kDescription4 =
    "送信者に禁止したメールアドレスが含まれる場合のブロックリストです。" "\r\n"
    "Outlook Expressから迷惑メールをドラッグして、条件を追加できます。";
constexpr const char* kDescription5 =
    "件名に、NGワードが含まれる場合のブロックリストです。" "\r\n"
    "迷惑メールをドラッグドロップして、条件を追加できます。";
constexpr const char* kDescription6 =
    "メール本文に、NGワードが含まれる場合のブロックリストです。" "\r\n"
    "迷惑メールをドラッグドロップして、NGワードを自動検出できます。";
constexpr const char* kDescription7 =
    "メール本文に、日本語が含まれない場合を条件にしたブロックリストです。" "\r\n"
    "英語や中国語のメールのすべてを迷惑メールとしてブロックしたい場合に利用できます。ただし、英文のバウンスメール（不達メールの通知）が削除されないように、【本文に信頼できるメールアドレスを含む場合】のセーフリストが別途必要です。必要なメールがブロックされないように 【送信者が、信頼できるメールアドレスの場合】などのセーフリストも利用ください。" "\r\n"
    "このルールは、本文にひらがな五十音（濁音半濁音を含む）が含まれないことを条件にしていますので、漢字またはカタカナのみのメールや添付ファイルだけのメールも、この条件に一致します。";
constexpr const char* kDescription8 =
    "メール本文が空白の場合のブロックリストです。" "\r\n"
    "メールアドレスの有効無効を調査するために悪用されている空メールをブロックします。" "\r\n"
    "ひらがな五十音およびアルファベット・数字のいずれも本文に含まないことを条件にしますので、漢字またはカタカナのみのメールや添付ファイルだけのメールも、この条件に一致します。また中国語などアルファベットを利用しない言語も、この条件に一致する可能性があります。必要なメールがブロックされないように【送信者が信頼できるメールアドレスの場合】などのセーフリストとともに利用ください。";
constexpr const char* kDescription9 =
    "宛先および CC が空白の場合のブロックリストです。" "\r\n"
    "このルールは、宛先および CC に数字またはアルファベットが含まれないことを条件にしています。メールマガジンもこの条件に一致する可能性があります。またBCC のみを利用して送信される同報メールもこの条件に一致しますので、必要なメールがブロックされないように【送信者が、信頼できるメールアドレスの場合】などのセーフリストとともに利用ください。";
constexpr const char* kDescription10 =
    "宛先および CC にあなた自身のメールアドレスを含まない場合のブロックリストです。" "\r\n"
    "他人のメールアドレスが宛先になっている迷惑メールに対処できます。ただし、メーリングリストやメールマガジンは、<ALL USERS> などの宛先で送信される場合がありますので、受け取りたいメールマガジンやメーリングリストを振り分けるセーフリストが必要です。また、BCC のみを利用して送信される同報メールもこの条件に一致しますので、【送信者が、信頼できるメールアドレスの場合】などのセーフリストとともに利用ください。";
constexpr const char* kDescription11 =
    "[SAFE]および[BLOCK]の条件で仕分けできなかった場合のルールです。" "\r\n"
    "他のルールの最下位に追加します。";
constexpr const char* kDescription12 =
    "区切り線をメールルールに追加します。";

constexpr const char* kSafeCaption = "セーフリスト";
constexpr const char* kBlockCaption = "ブロックリスト";

using W = TemplateWords;
using S = TemplateSuccess;

const RuleTemplate kTemplates[kTemplateCount] = {
    {0, "[SAFE]本文に自分の個人情報が含まれる場合", "[SAFE]本文に自分の個人情報が含まれる場合", kSafeImage,
     kSafeCaption, 2, 0, W::PersonalInfo, false, true, false, S::Plain, kDescription0},
    {1, "[SAFE]宛先またはCCに自分の名前が含まれる場合", "[SAFE]宛先またはCCに自分の名前が含まれる場合", kSafeImage,
     kSafeCaption, 5, 0, W::OwnNames, false, true, false, S::Plain, kDescription1},
    {2, "[SAFE]本文に信頼できるメールアドレスを含む場合", "[SAFE]本文に信頼できるメールアドレスを含む場合",
     kSafeImage, kSafeCaption, 2, 0, W::TrustedAddresses, false, true, false, S::Synchronisable, kDescription2},
    {3, "[SAFE]送信者が信頼できるメールアドレスの場合", "[SAFE]送信者が信頼できるメールアドレスの場合", kSafeImage,
     kSafeCaption, 0, 0, W::TrustedAddresses, false, true, false, S::Synchronisable, kDescription3},
    {4, "[BLOCK]送信者に禁止したメールアドレスを含む場合", "[BLOCK]送信者に禁止したメールアドレスを含む場合",
     kBlockImage, kBlockCaption, 0, 0, W::DragPlaceholder, true, true, false, S::Drag, kDescription4},
    {5, "[BLOCK]件名にNGワードを含む場合", "[BLOCK]件名にNGワードを含む場合", kBlockImage, kBlockCaption, 1, 0,
     W::DragPlaceholder, true, true, false, S::Drag, kDescription5},
    {6, "[BLOCK]本文にNGワードを含む場合", "[BLOCK]本文にNGワードを含む場合", kBlockImage, kBlockCaption, 2, 0,
     W::DragPlaceholder, true, true, false, S::Drag, kDescription6},
    {7, "[BLOCK]本文に日本語が含まれない場合", "[BLOCK]本文に日本語が含まれない場合", kBlockImage, kBlockCaption, 2,
     kCritFlagNot, W::Kana, true, true, false, S::Plain, kDescription7},
    {8, "[BLOCK]本文が空白の場合", "[BLOCK]本文が空白の場合", kBlockImage, kBlockCaption, 2, kCritFlagNot,
     W::AlnumAndKana, true, true, false, S::Plain, kDescription8},
    {9, "[BLOCK]宛先およびCCが空白の場合", "[BLOCK]宛先およびCCが空白の場合", kBlockImage, kBlockCaption, 5,
     kCritFlagNot, W::Alnum, true, true, false, S::Plain, kDescription9},
    {10, "[BLOCK]宛先およびCCに自分のメールアドレスを含まない場合",
     "[BLOCK]宛先およびCCに自分のメールアドレスを含まない場合", kBlockImage, kBlockCaption, 5, kCritFlagNot,
     W::OwnAddresses, true, true, false, S::Plain, kDescription10},
    {11, "[UNCLASSIFIED]分類できない場合", "[UNCLASSIFIED]分類できない場合", kUnclassifiedImage, kBlockCaption, 11, 0,
     W::None, false, true, true, S::Unclassified, kDescription11},
    {12, "--------区切り線------", "-------------------------------------", kSeparatorImage, nullptr, 0, 0,
     W::SeparatorPlaceholder, false, false, false, S::Separator, kDescription12},
};

}  // namespace

const RuleTemplate& TemplateAt(RuleTemplateId id) { return kTemplates[id]; }

bool IsTemplateId(RuleTemplateId id) { return id >= 0 && id < kTemplateCount; }

const std::vector<RuleTemplateId>& TemplateRowOrder() {
  static const std::vector<RuleTemplateId> order{0, 1, 2, 3, kSeparatorTemplate, 4, 5, 6, 7, 8, 9, 10,
                                                 kSeparatorTemplate, kUnclassifiedTemplate};
  return order;
}

std::string FillTexts(const char* pattern, const std::vector<std::string>& texts) {
  const std::string_view source(pattern);
  std::string text;
  std::size_t from = 0;
  for (const std::string& argument : texts) {
    std::size_t at = sjis::Find(source, "%s", from);
    if (at == sjis::npos) break;
    text.append(source.substr(from, at - from)).append(argument);
    from = at + 2;
  }
  text.append(source.substr(from));
  return text;
}

std::string TemplateExistsMessage(const std::string& ruleName) { return FillTexts(templatetext::kExists, {ruleName}); }

std::string TemplateSuccessMessage(RuleTemplateId id, const std::string& ruleName) {
  switch (TemplateAt(id).success) {
    case S::Plain:
      return FillTexts(templatetext::kAdded, {ruleName});
    case S::Synchronisable:
      return FillTexts(templatetext::kAddedSynchronisable, {ruleName});
    case S::Drag:
      return FillTexts(templatetext::kAddedDrag, {ruleName});
    case S::Unclassified:
      return FillTexts(templatetext::kAddedUnclassified, {ruleName});
    case S::Separator:
      break;
  }
  return templatetext::kAddedSeparator;
}

int FindRuleNamed(const std::vector<std::string>& rowNames, const std::string& name) {
  for (std::size_t row = 0; row < rowNames.size(); ++row)
    if (sjis::EqualsIgnoreCase(rowNames[row], name)) return static_cast<int>(row);
  return -1;
}

std::vector<std::string> TrustedAddressList(const std::vector<std::string>& bookAddresses,
                                            const std::vector<std::string>& ownAddresses) {
  std::unordered_set<std::string, sjis::FoldedHash, sjis::FoldedEqual> own;
  for (const std::string& address : ownAddresses) own.insert(sjis::Trim(address));
  // Seen addresses: a later spelling of one already kept is dropped.
  std::unordered_set<std::string, sjis::FoldedHash, sjis::FoldedEqual> seen;
  std::vector<std::string> result;
  for (const std::string& entry : bookAddresses) {
    std::string address = sjis::Trim(entry);
    if (address.empty() || sjis::FindChar(address, '@') == sjis::npos) continue;
    if (own.count(address) || !seen.insert(address).second) continue;
    result.push_back(std::move(address));
  }
  return result;
}

std::vector<std::string> OwnAddressWords(const std::vector<std::string>& ownAddresses) {
  std::vector<std::string> words;
  for (const std::string& address : ownAddresses) {
    std::string trimmed = sjis::Trim(address);
    if (!trimmed.empty()) words.push_back(std::move(trimmed));
  }
  return words;
}

std::vector<std::string> FixedTemplateWords(RuleTemplateId id, const StoreStamp& stamp) {
  std::vector<std::string> words;
  switch (TemplateAt(id).words) {
    case W::DragPlaceholder:
      words.push_back(DragPlaceholder(stamp));
      break;
    case W::SeparatorPlaceholder:
      words.push_back(SeparatorPlaceholder(stamp));
      break;
    case W::AlnumAndKana:
      words = AlnumWords();
      words.insert(words.end(), KanaWords().begin(), KanaWords().end());
      break;
    case W::Kana:
      words = KanaWords();
      break;
    case W::Alnum:
      words = AlnumWords();
      break;
    default:
      break;
  }
  return words;
}

MailRule& BuildTemplateRule(RuleSet& rules, RuleTemplateId id, const std::vector<std::string>& words,
                            const StoreStamp& stamp) {
  const RuleTemplate& tmpl = TemplateAt(id);
  MailRule& rule = rules.AddNewRule(tmpl.ruleName);
  // A second separator keeps the separator's exact name: the set would number it.
  if (rule.Name() != tmpl.ruleName) rule.SetName(tmpl.ruleName);
  RuleCriterion* criterion = rule.Criteria()->ForSlotBit(SlotBit(tmpl.criterionSlot));
  if (tmpl.words == W::None) {
    criterion->SetInUse(true);
  } else {
    std::vector<std::uint8_t> value = EncodeStringList(words);
    criterion->SetValue(value.empty() ? nullptr : value.data(), static_cast<std::uint32_t>(value.size()),
                        valuetype::kBytes);
  }
  criterion->SetFlags(tmpl.criterionFlags);
  ActionSet& actions = *rule.Actions();
  if (tmpl.deletes) actions.SetInUse(SlotBit(ActionSlotOfType(act::kDelete)), true);
  if (id == kUnclassifiedTemplate) {
    FolderRefBytes ref = MakeFolderRef(stamp, kUnclassifiedFolder);
    actions.SetValue(SlotBit(ActionSlotOfType(act::kMove)), ref.data(), static_cast<std::uint32_t>(ref.size()),
                     valuetype::kBytes);
  }
  if (!tmpl.enabled) rule.SetEnabled(false);
  rule.SetModified(true);
  return rule;
}

void MoveRuleTo(RuleSet& rules, std::uint32_t number, int index) {
  std::vector<std::uint32_t> order = rules.Numbers();
  auto at = std::find(order.begin(), order.end(), number);
  if (at == order.end()) return;
  order.erase(at);
  std::size_t place = static_cast<std::size_t>(std::clamp(index, 0, static_cast<int>(order.size())));
  order.insert(order.begin() + static_cast<std::ptrdiff_t>(place), number);
  rules.Reorder(order);
}

}  // namespace velkor
