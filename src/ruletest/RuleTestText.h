#pragma once
// What the rule tester shows of a mail and of a verdict, as text: the
// one-line verdict, the mark of each rule, the criteria of a rule with the
// words found, the actions in effect, the mail's header summary.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "message/MailMessage.h"
#include "ruletest/RuleEvaluator.h"

namespace velkor {

namespace ruletesttext {
constexpr const char* kDeletedItems = "削除済みアイテム";
constexpr const char* kInbox = "受信トレイ";
constexpr const char* kNoRuleMatches = "どのルールにも一致しません";
constexpr const char* kMovedBy = "「%s」により「%s」へ移動されます";
constexpr const char* kBlockedBy = "禁止された送信者「%s」により「%s」へ移動されます";
constexpr const char* kMatchedStays = "「%s」に一致します（「%s」に残ります）";
constexpr const char* kMatchedMoreStays = "「%s」ほか%d件のルールに一致します（「%s」に残ります）";
constexpr const char* kNoMail = "メールをここにドロップするか、［メールを開く］でファイルを選んでください";
constexpr const char* kMarkMatched = "● 一致";
constexpr const char* kMarkNotMatched = "－ 不一致";
constexpr const char* kMarkDisabled = "× 無効";
constexpr const char* kMarkInvalid = "× エラー";
constexpr const char* kMarkNotReached = "… 適用されない";
constexpr const char* kCriterionMatched = "○";
constexpr const char* kCriterionNotMatched = "×";
constexpr const char* kNoneContained = "（どの言葉も含まれていません）";
constexpr const char* kContained = "含まれる言葉: ";
constexpr const char* kNotContained = "（含まれない言葉の条件）";
constexpr const char* kDisabledRule = "このルールは無効になっているため、スキップされます。";
constexpr const char* kWouldMatch = "有効であれば一致します。";
constexpr const char* kInvalidRule = "このルールにはエラーがあるため、スキップされます。";
constexpr const char* kNotReachedBlocked = "送信者が禁止されているため、ルールは適用されません。";
constexpr const char* kNotReachedStopped = "「%s」で処理が中止されるため、適用されません。";
constexpr const char* kActionsHeader = "実行されるアクション:";
constexpr const char* kSupersededMove = "（先のルールで移動先が決まっているため、移動しません）";
constexpr const char* kFrom = "差出人: ";
constexpr const char* kSubject = "件名: ";
constexpr const char* kTo = "宛先: ";
constexpr const char* kCc = "CC: ";
constexpr const char* kSize = "サイズ: %s バイト";
constexpr const char* kAttachments = "添付ファイル: ";
constexpr const char* kNoAttachment = "なし";
constexpr const char* kPriority = "重要度: ";
constexpr const char* kPriorityHigh = "高";
constexpr const char* kPriorityLow = "低";
constexpr const char* kPriorityNormal = "標準";
constexpr const char* kSecurity = "セキュリティ: ";
constexpr const char* kSigned = "署名付き";
constexpr const char* kEncrypted = "暗号化";
}  // namespace ruletesttext

// Names a mail folder by its number (the folder tree of the store); empty
// when the folder is not known.
using FolderNameLookup = std::function<std::string(std::uint32_t folderNumber)>;

// The one-line verdict: "「rule」により「folder」へ移動されます", the blocked
// sender, the rules matched without a move, or "どのルールにも一致しません".
std::string VerdictText(const RuleVerdict& verdict, const FolderNameLookup& folderName);
// The mark of a rule in the tester's rule list.
const char* RuleStateMark(RuleState state);
// The lines shown for one rule of the verdict: why it was skipped or not
// reached, one line per criterion (the mark, the description, the words
// found), then the actions it carried out.
std::vector<std::string> RuleDetailLines(const RuleVerdict& verdict, int rule, const FolderNameLookup& folderName);
// The header summary of a mail: sender, subject, To, Cc, size, attachments,
// priority and security, one line each.
std::vector<std::string> MailSummaryLines(const MailMessage& mail);

}  // namespace velkor
