#include <gtest/gtest.h>

#include "registry/MemoryRegistry.h"
#include "templates/PersonalInfoEntries.h"

namespace velkor {
namespace {

using Entries = std::vector<std::string>;

// The texts in dialog order; missing ones stay empty.
PersonalInfo Info(const Entries& texts) {
  PersonalInfo info;
  std::string* fields[] = {&info.familyName, &info.givenName, &info.familyNameLatin, &info.givenNameLatin,
                           &info.phone,      &info.cellular,  &info.zip,             &info.town,
                           &info.company,    &info.handleName, &info.otherInfo};
  for (std::size_t i = 0; i < texts.size(); ++i) *fields[i] = texts[i];
  return info;
}

TEST(CheckPersonalInfo, RefusesTheFirstBadTextAndAcceptsTheAllowedCharacters) {
  struct Case {
    const char* what;
    Entries texts;
    const char* message;  // nullptr: accepted
  } cases[] = {
      {"apostrophe in the Latin family name", {"", "", "O'Neil"}, personalinfotext::kLatinFamilyName},
      {"hyphen, blank, full stop and comma", {"", "", "Smith-Jones Jr., M.", "Ann"}, nullptr},
      {"full-width letters in the Latin given name", {"", "", "Sato", "Ｋｅｎ"}, personalinfotext::kLatinGivenName},
      {"phone without hyphen", {"", "", "", "", "0312345678"}, personalinfotext::kPhone},
      {"phone with hyphens and blanks around", {"", "", "", "", " 03-1234-5678　"}, nullptr},
      {"mobile with a letter", {"", "", "", "", "", "090-12a4-5678"}, personalinfotext::kCellular},
      {"postal code with full-width digits", {"", "", "", "", "", "", "１２３-４５６７"}, personalinfotext::kZip},
      {"only blanks everywhere", {" ", "　", "", "", "", "", "", "\t", "", "", "\r\n　"}, personalinfotext::kNothingEntered},
      {"only other information", {"", "", "", "", "", "", "", "", "", "", "ポチ"}, nullptr},
      {"the Latin check comes before the phone", {"", "", "a'b", "", "123"}, personalinfotext::kLatinFamilyName},
      // Punctuation alone would become an entry that occurs in almost every mail.
      {"phone of a hyphen only", {"", "", "", "", "-"}, personalinfotext::kPhone},
      {"mobile of hyphens only", {"", "", "", "", "", "--"}, personalinfotext::kCellular},
      {"postal code of a hyphen only", {"", "", "", "", "", "", "-"}, personalinfotext::kZip},
      {"full-width mobile as typed with the IME on", {"", "", "", "", "", "０９０－１２３４"}, personalinfotext::kCellular},
      {"Latin family name of a full stop", {"", "", "."}, personalinfotext::kLatinFamilyNameNoLetter},
      {"Latin given name of a comma and blank", {"", "", "Sato", ", "}, personalinfotext::kLatinGivenNameNoLetter},
      {"Japanese family name of symbols", {"・－"}, personalinfotext::kFamilyNameNoLetter},
      {"Japanese given name of a full-width comma", {"山田", "，"}, personalinfotext::kGivenNameNoLetter},
      {"town of a dash", {"", "", "", "", "", "", "", "―"}, personalinfotext::kTownNoLetter},
      {"employer of a full stop", {"", "", "", "", "", "", "", "", "."}, personalinfotext::kCompanyNoLetter},
      {"handle of a hyphen", {"", "", "", "", "", "", "", "", "", "-"}, personalinfotext::kHandleNameNoLetter},
      {"a line of other information of symbols only", {"", "", "", "", "", "", "", "", "", "", "ポチ\r\n・・・"},
       personalinfotext::kOtherInfoNoLetter},
      {"kanji, kana, full-width letters and digits are name characters",
       {"山田", "はなこ", "Yamada", "Hanako", "03-1234-5678", "", "1-1", "ｱｵﾊﾞ町", "ＡＣＭＥ", "３号", "ポチ\r\n\r\nЖ"},
       nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PersonalInfo info = Info(c.texts);
    std::string message = CheckPersonalInfo(&info);
    EXPECT_EQ(c.message ? c.message : "", message);
  }
}

TEST(PersonalInfoEntries, ExpandsNamesAndNumbersThenAddsNewOtherLines) {
  struct Case {
    const char* what;
    Entries texts;
    Entries expected;
  } cases[] = {
      {"only the Japanese family name", {"山田"}, {"山田"}},
      {"only the Japanese given name", {"", "花子"}, {"花子"}},
      {"both names in both scripts",
       {"山田", "花子", "Yamada", "Hanako"},
       {"山田花子", "山田 花子", "山田\x81\x40花子", "Hanako Yamada", "Yamada Hanako"}},
      {"numbers in three spellings, town, employer, handle",
       {"", "", "", "", "03-1234-5678", "", "123-4567", "青葉町", "ACME", "hana"},
       {"03-1234-5678", "03 1234 5678", "0312345678", "123-4567", "123 4567", "1234567", "青葉町", "ACME", "hana"}},
      {"other lines differing in case give one entry; known entries are not repeated",
       {"", "", "", "", "", "", "", "", "Acme", "", "ポチ\r\nacme\n\tPochi \r\nPOCHI\r\n\r\n"},
       {"Acme", "ポチ", "Pochi"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PersonalInfo info = Info(c.texts);
    ASSERT_EQ("", CheckPersonalInfo(&info));
    EXPECT_EQ(c.expected, PersonalInfoEntries(info));
  }
}

TEST(RemoveOwnAddressParts, TakesOutEveryEntryInsideAnOwnAddressIgnoringCase) {
  Entries entries{"山田花子", "Hana", "hanako", "03-1234", "ko@ex"};
  std::vector<OwnAddressMatch> removed =
      RemoveOwnAddressParts(&entries, {"other@example.jp", " HANAKO@Example.JP"});
  EXPECT_EQ((Entries{"山田花子", "03-1234"}), entries);
  ASSERT_EQ(3u, removed.size());
  EXPECT_EQ("Hana", removed[0].entry);
  EXPECT_EQ("ko@ex", removed[2].entry);
  EXPECT_EQ("個人情報 'Hana' は、あなたのメールアドレス ' HANAKO@Example.JP' の一部分に一致します。\n"
            "この情報は、セーフリストの条件に追加できません。",
            OwnAddressMatchMessage(personalinfotext::kInfoMatchesAddress, removed[0]));
}

TEST(OwnNames, PrefillKeepsEachDisplayNameOnceAtItsLastPlace) {
  struct Case {
    Entries names;
    const char* expected;
  } cases[] = {
      {{"山田 花子", "山田 花子"}, "山田 花子\r\n"},
      {{" Hanako ", "Work", "HANAKO"}, "Work\r\nHANAKO\r\n"},
      {{"", "　"}, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, OwnNamePrefill(c.names));
  Entries lines;
  AppendDistinctLines("山田\r\n\tYamada Co.\r\n\r\nyamada co.\n 花子　", &lines);
  EXPECT_EQ((Entries{"山田", "Yamada Co.", "花子"}), lines);
}

TEST(PrivateInfoSettings, TheElevenTextsAndTheNamesRoundTrip) {
  MemoryRegistry reg;
  PersonalInfo info = Info({"山田", "花子", "Yamada", "Hanako", "03-1", "090-2", "123-4", "町", "社", "hana", "a\r\nb"});
  ASSERT_TRUE(info.Save(reg));
  ASSERT_TRUE(SaveSelfIdentity(reg, "山田\r\n"));
  PersonalInfo read;
  read.Load(reg);
  EXPECT_EQ(info.otherInfo, read.otherInfo);
  EXPECT_EQ(info.givenNameLatin, read.givenNameLatin);
  EXPECT_EQ(info.handleName, read.handleName);
  EXPECT_EQ("山田\r\n", LoadSelfIdentity(reg));
  RegKey key(reg);
  ASSERT_EQ(regerr::kSuccess, key.Open("Software\\Ostrel Software Development\\Velkor\\PrivateInfo", RegAccess::Read));
  std::string value;
  EXPECT_TRUE(key.ReadString("LNameE", &value));
  EXPECT_EQ("Hanako", value);
}

}  // namespace
}  // namespace velkor
