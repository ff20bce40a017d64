#include "RuleTestBenchData.h"

#include <random>

namespace velkor::benchdata {

namespace {

const std::vector<std::string> kHam = {
    "こんにちは、お元気ですか。", "会議の資料を添付します。", "よろしくお願いいたします。",
    "The quick brown fox jumps over the lazy dog. ", "\r\n", "\r\n", "株式会社テスト 東京都千代田区1-2-3 ",
    "Please find the minutes of Tuesday's meeting below. ", "来週の予定を確認させてください。",
};
const std::vector<std::string> kSpam = {
    "今すぐ無料で登録してください。", "出会い系サイトで素敵な出会いを見つけよう！", "副業で月収100万円も夢じゃない",
    "お客様のアカウントが一時停止されました。", "未払いの利用料金があります。", "本日中にご連絡ください。",
    "Click here to claim your prize ", "http://deai.example.jp/entry?id=12345 ", "\r\n", "本物のブランドが激安！",
};

// Words rules use: most occur in no mail; with `spam`, now and then one that does.
std::string RuleWord(std::mt19937& rng, bool spam) {
  static const std::vector<std::string> real = {"無料", "出会い", "副業", "月収", "未払い", "アカウント",
                                                "激安", "prize", "click here", "deai.example.jp", "本日中"};
  if (spam && rng() % 10 == 0) return real[rng() % real.size()];
  static const char* const syllables[] = {"か", "さ", "た", "な", "は", "ま", "ア", "ト", "ka", "zo", "qu", "xy"};
  std::string word;
  const int n = 2 + static_cast<int>(rng() % 4);
  for (int i = 0; i < n; ++i) word += syllables[rng() % 12];
  return word;
}

std::vector<std::string> RuleWords(std::mt19937& rng, int count, bool spam = false) {
  std::vector<std::string> words;
  for (int i = 0; i < count; ++i) words.push_back(RuleWord(rng, spam));
  return words;
}

void SetWords(MailRule& rule, std::uint32_t type, const std::vector<std::string>& words, std::uint32_t flags) {
  RuleCriterion* item = rule.Criteria()->ForSlotBit(SlotBit(CriterionSlotOfType(type)));
  const auto bytes = EncodeStringList(words);
  item->SetValue(bytes.data(), static_cast<std::uint32_t>(bytes.size()), valuetype::kBytes);
  item->SetFlags(flags);
}

}  // namespace

// Rules as users and templates make them: a sender, subject or body word list
// (5 to 40 words), now and then a second criterion, a move or a delete; one
// rule in five holds words of the mails.
std::vector<std::unique_ptr<MailRule>> MakeRules(int count) {
  std::mt19937 rng(7);
  std::vector<std::unique_ptr<MailRule>> rules;
  for (int i = 0; i < count; ++i) {
    auto rule = std::make_unique<MailRule>("Rules\\Mail", FormatKeyName(static_cast<std::uint32_t>(i)));
    rule->InitAsNew("rule " + std::to_string(i));
    static const std::uint32_t types[] = {crit::kFrom, crit::kSubject, crit::kBody, crit::kToOrCc};
    SetWords(*rule, types[i % 4], RuleWords(rng, 5 + static_cast<int>(rng() % 36), i % 5 == 4), rng() % 4 == 0 ? kCritFlagAllWords : 0);
    if (i % 3 == 0)
      SetWords(*rule, types[i % 4] == crit::kSubject ? crit::kBody : crit::kSubject, RuleWords(rng, 3), kCritFlagNot);
    if (i % 7 == 0) rule->Criteria()->ForSlotBit(SlotBit(CriterionSlotOfType(crit::kSize)))->SetDwordValue(100);
    rule->Criteria()->SetLogic(i % 5 == 0 && i % 3 != 0 ? kLogicAny : kLogicAll);
    if (i % 10 != 0) rule->Actions()->SetInUse(SlotBit(ActionSlotOfType(act::kStop)), false);
    if (i % 2 == 0) {
      const FolderRef ref = FolderRef::Make(1, 2, 100 + static_cast<std::uint32_t>(i));
      rule->Actions()->SetValue(SlotBit(ActionSlotOfType(act::kMove)), ref.bytes, FolderRef::kSize, valuetype::kBytes);
    } else {
      rule->Actions()->SetInUse(SlotBit(ActionSlotOfType(act::kDelete)), true);
    }
    rules.push_back(std::move(rule));
  }
  return rules;
}

std::vector<std::string> MakeBlocked(int count) {
  std::mt19937 rng(11);
  std::vector<std::string> blocked;
  for (int i = 0; i < count; ++i) {
    const std::string domain = "host" + std::to_string(rng() % 100000) + ".example" + std::to_string(i % 50) + ".jp";
    blocked.push_back(i % 3 == 0 ? domain : "user" + std::to_string(i) + "@" + domain);
  }
  return blocked;
}

// Sizes as a mailbox has them: most a few KB, some tens of KB, a few hundreds.
std::vector<MailMessage> MakeMails(int count) {
  std::mt19937 rng(3);
  std::vector<MailMessage> mails(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    MailMessage& m = mails[static_cast<std::size_t>(i)];
    const unsigned bucket = rng() % 100;
    const std::size_t size = bucket < 80 ? 1000 + rng() % 7000 : bucket < 97 ? 8000 + rng() % 40000 : 50000 + rng() % 250000;
    // A third of the mails spam, the rest ham.
    const std::vector<std::string>& phrases = i % 3 == 0 ? kSpam : kHam;
    while (m.body.size() < size) m.body += phrases[rng() % phrases.size()];
    const std::string address = "sender" + std::to_string(i) + "@host" + std::to_string(rng() % 100000) + ".example" +
                                std::to_string(i % 60) + ".jp";
    m.fromAddresses = {{"送信者 " + std::to_string(i), address}};
    m.from = "送信者 " + std::to_string(i) + " <" + address + ">";
    m.subject = phrases[rng() % phrases.size()] + phrases[rng() % phrases.size()];
    m.to = "me@example.jp";
    m.cc = i % 4 == 0 ? "team@example.jp, boss@example.jp" : "";
    m.size = m.body.size() + 1500;
  }
  return mails;
}


std::string SpamText(std::size_t bytes) {
  std::mt19937 rng(5);
  std::string text;
  while (text.size() < bytes) text += kSpam[rng() % kSpam.size()];
  return text;
}

}  // namespace velkor::benchdata
