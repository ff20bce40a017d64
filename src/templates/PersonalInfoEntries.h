#pragma once
// The input checks and the entries of the personal-information and own-name
// dialogs. A spammer knows the user's address, so no entry may be part of one
// of the user's own addresses: such entries are taken out and reported.

#include <string>
#include <vector>

#include "settings/PrivateInfoSettings.h"

namespace velkor {

namespace personalinfotext {
constexpr const char* kLatinFamilyName = "英名(姓）は、半角英文字で入力してください。";
constexpr const char* kLatinGivenName = "英名(名）は、半角英文字で入力してください。";
constexpr const char* kPhone = "電話番号は、半角数字で局番をハイフンで区切って入力してください。";
constexpr const char* kCellular = "携帯番号は、半角数字でハイフンで区切って入力してください。";
constexpr const char* kZip = "郵便番号は、半角数字でハイフンで区切って入力してください。";
// A text of punctuation alone would match almost every mail and let spam through.
constexpr const char* kFamilyNameNoLetter =
    "名前（姓）に文字が含まれていません。\r\n記号だけでは、ほとんどのメールに一致するため使えません。";
constexpr const char* kGivenNameNoLetter =
    "名前（名）に文字が含まれていません。\r\n記号だけでは、ほとんどのメールに一致するため使えません。";
constexpr const char* kLatinFamilyNameNoLetter =
    "英名（姓）に英字が含まれていません。\r\n記号だけでは、ほとんどのメールに一致するため使えません。";
constexpr const char* kLatinGivenNameNoLetter =
    "英名（名）に英字が含まれていません。\r\n記号だけでは、ほとんどのメールに一致するため使えません。";
constexpr const char* kTownNoLetter =
    "住所（町名）に文字が含まれていません。\r\n記号だけでは、ほとんどのメールに一致するため使えません。";
constexpr const char* kCompanyNoLetter =
    "勤務先に文字が含まれていません。\r\n記号だけでは、ほとんどのメールに一致するため使えません。";
constexpr const char* kHandleNameNoLetter =
    "ハンドル名に文字が含まれていません。\r\n記号だけでは、ほとんどのメールに一致するため使えません。";
constexpr const char* kOtherInfoNoLetter =
    "その他の個人情報に、文字を含まない行があります。\r\n"
    "記号だけの行は、ほとんどのメールに一致するため使えません。削除するか、文字を含めてください。";
constexpr const char* kNothingEntered = "少なくとも一つ以上の個人情報を入力してください。";
constexpr const char* kInfoMatchesAddress =
    "個人情報 '%s' は、あなたのメールアドレス '%s' の一部分に一致します。\nこの情報は、セーフリストの条件に追加できません。";
constexpr const char* kNameMatchesAddress =
    "'%s' は、あなたのメールアドレス '%s' の一部分に一致します。\nこの名前は、セーフリストの条件に追加できません。";
constexpr const char* kEmptyList = "セーフリストの条件が空です。";
constexpr const char* kNoNames = "値が入力されていません。";
constexpr const char* kPersonalInfoTitle = "本文に自分の個人情報が含まれる場合";
constexpr const char* kOwnNameTitle = "宛先または CC に自分の名前が含まれる場合";
// The help box of the own-name dialog; the example shows a made-up person.
constexpr const char* kOwnNameHelp =
    "メールの宛先または CC の表示名に自分の名前や会社名を含む場合のセーフリストです。\r\n"
    "迷惑メール送信者は、あなたのメールアドレス以外の個人情報を知りませんので、"
    "宛先の表示名に自分の名前や会社名が含まれるメールは必要なメールと判断できます。\r\n"
    "たとえば鈴木花子さんなら、宛先に「鈴木 花子」や「Hanako Suzuki」と表示された"
    "メールを受け取っているはずです。このような名前を上のテキストボックスに入力してください。"
    "複数入力する場合は、項目ごとに改行して入力ください。";
}  // namespace personalinfotext

// Trims every text (blanks and full-width spaces at both ends; line breaks and
// tabs leave the one-line texts), then checks the Latin names, the three
// numbers, that no text (nor line of the other information) is punctuation
// alone, and that something was entered. Answers the message of the first
// failure, or an empty text.
std::string CheckPersonalInfo(PersonalInfo* info);

// The entries of checked input: the Japanese name (joined, with a blank, with a
// full-width space), the Latin name (given-family, family-given), each number
// as typed, with blanks, without separators, then town, employer, handle, each
// once ignoring case, then every new line of the other information.
std::vector<std::string> PersonalInfoEntries(const PersonalInfo& info);

// What the own-name box shows when nothing is saved: the display names
// trimmed, a name repeated later (ignoring case) only at its last place, each
// followed by "\r\n".
std::string OwnNamePrefill(const std::vector<std::string>& displayNames);

// The lines of a multi-line text: tabs removed, trimmed, non-empty, each once
// ignoring case (first spelling kept). Appended to `entries` unless already there.
void AppendDistinctLines(const std::string& text, std::vector<std::string>* entries);

struct OwnAddressMatch {
  std::string entry;
  std::string address;
};

// Removes every entry that occurs, ignoring case, inside one of the own
// addresses; answers the removed entries with the address each matched, in order.
std::vector<OwnAddressMatch> RemoveOwnAddressParts(std::vector<std::string>* entries,
                                                   const std::vector<std::string>& ownAddresses);

// A message pattern with its two "%s" filled by the entry and the address.
std::string OwnAddressMatchMessage(const char* pattern, const OwnAddressMatch& match);

}  // namespace velkor
