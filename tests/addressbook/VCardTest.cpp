// The vCard reader of the address-book stand-in.

#include <gtest/gtest.h>

#include "VCard.h"

namespace velkor::vcard {
namespace {

// Marks converted text so the tests see which lines were taken as UTF-8.
std::string Mark(const std::string& s) { return "<" + s + ">"; }

TEST(VCard, AddressesDefaultsAndGroups) {
  const std::string file =
      "BEGIN:VCARD\r\nVERSION:2.1\r\nN:Yamada;Taro\r\nFN:Yamada Taro\r\n"
      "EMAIL;INTERNET:taro@example.jp\r\nEMAIL;INTERNET;PREF:t.yamada@example.jp\r\nEMAIL;INTERNET:x@example.jp\r\nEND:VCARD\r\n"
      "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Sato;Hanako;;;\r\nEMAIL;TYPE=INTERNET,PREF:h@example.jp\r\nEND:VCARD\r\n"
      "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:No Pref\r\nEMAIL:a@example.jp\r\nEMAIL:b@example.jp\r\nEMAIL;PREF=1:c@example.jp\r\nEND:VCARD\r\n"
      "begin:vcard\nfn:Family\nkind:group\nmember:mailto:a@example.jp\nend:vcard\n"
      "BEGIN:VCARD\nFN:Old group\nX-WAB-GROUP:TRUE\nEND:VCARD\n"
      "EMAIL:outside@example.jp\n"
      "BEGIN:VCARD\nFN:Nobody\nEMAIL:\nEND:VCARD\n";
  const auto cards = Parse(file, nullptr);
  ASSERT_EQ(cards.size(), 6u);
  EXPECT_EQ(cards[0].name, "Yamada Taro");
  EXPECT_EQ(cards[0].emails, (std::vector<std::string>{"taro@example.jp", "t.yamada@example.jp", "x@example.jp"}));
  EXPECT_EQ(cards[0].preferred, 1);
  EXPECT_EQ(cards[1].name, "Sato Hanako");  // from N
  EXPECT_EQ(cards[1].preferred, 0);
  EXPECT_EQ(cards[2].preferred, 2);
  EXPECT_FALSE(cards[2].group);
  EXPECT_TRUE(cards[3].group);
  EXPECT_EQ(cards[3].name, "Family");
  EXPECT_TRUE(cards[4].group);
  EXPECT_TRUE(cards[5].emails.empty());
  EXPECT_EQ(cards[5].preferred, -1);
}

TEST(VCard, CharsetsEncodingsAndFolding) {
  // Shift_JIS bytes (this source is compiled to CP932) are not valid UTF-8.
  const std::string sjis = "BEGIN:VCARD\r\nVERSION:2.1\r\nFN:山田 太郎\r\nEMAIL:t@example.jp\r\nEND:VCARD\r\n";
  auto cards = Parse(sjis, &Mark);
  ASSERT_EQ(cards.size(), 1u);
  EXPECT_EQ(cards[0].name, "山田 太郎");  // not converted

  const std::string utf8 = "\xEF\xBB\xBF" "BEGIN:VCARD\nVERSION:3.0\nFN:\xE5\xB1\xB1\xE7\x94\xB0\nEND:VCARD\n";
  cards = Parse(utf8, &Mark);
  ASSERT_EQ(cards.size(), 1u);
  EXPECT_EQ(cards[0].name, "<\xE5\xB1\xB1\xE7\x94\xB0>");

  const std::string mixed =
      "BEGIN:VCARD\nFN;CHARSET=UTF-8:\xE5\xB1\xB1\nEND:VCARD\n"
      "BEGIN:VCARD\nFN;CHARSET=SHIFT_JIS:山\nEND:VCARD\n"
      "BEGIN:VCARD\nFN;CHARSET=SHIFT_JIS;ENCODING=QUOTED-PRINTABLE:=8E=52=\n=93=63\nEND:VCARD\n"
      "BEGIN:VCARD\nVERSION:3.0\nFN:Long\n  Name\\, Jr.\nEMAIL;type=pref:\n a@example.jp\nEND:VCARD\n";
  cards = Parse(mixed, &Mark);
  ASSERT_EQ(cards.size(), 4u);
  EXPECT_EQ(cards[0].name, "<\xE5\xB1\xB1>");
  EXPECT_EQ(cards[1].name, "山");
  EXPECT_EQ(cards[2].name, "山田");  // quoted-printable with a soft line break
  // The file holds Shift_JIS bytes, so lines without CHARSET are Shift_JIS.
  EXPECT_EQ(cards[3].name, "Long Name, Jr.");
  EXPECT_EQ(cards[3].emails, std::vector<std::string>{"a@example.jp"});
  EXPECT_EQ(cards[3].preferred, 0);

  EXPECT_TRUE(Parse("", &Mark).empty());
  EXPECT_TRUE(Parse("BEGIN:VCARD\nFN:unterminated\n", &Mark).empty());
}

TEST(VCard, QuotedPrintableSoftBreaks) {
  std::string manyBreaks = "BEGIN:VCARD\r\nFN;ENCODING=QUOTED-PRINTABLE:";
  for (int i = 0; i < 2000; ++i) manyBreaks += "=41=\r\n";
  manyBreaks += "\r\nEND:VCARD\r\n";
  struct Case {
    const char* what;
    std::string file;
    std::size_t cards;
    std::string name;
    std::vector<std::string> emails;
  };
  const Case cases[] = {
      {"a trailing = before END:VCARD at the end of the file",
       "BEGIN:VCARD\nEMAIL:a@example.jp\nFN;ENCODING=QUOTED-PRINTABLE:=41b=\nEND:VCARD", 1, "Ab", {"a@example.jp"}},
      {"the same with CR LF and a last line break",
       "BEGIN:VCARD\r\nEMAIL:a@example.jp\r\nFN;QUOTED-PRINTABLE:x=\r\nEND:VCARD\r\n", 1, "x", {"a@example.jp"}},
      {"a trailing = before the next card's BEGIN: the unended card stays apart",
       "BEGIN:VCARD\nEMAIL:a@example.jp\nFN;ENCODING=QUOTED-PRINTABLE:a=\nBEGIN:VCARD\nFN:b\nEMAIL:b@example.jp\nEND:VCARD\n",
       1, "b", {"b@example.jp"}},
      {"QUOTED-PRINTABLE in a plain value is no encoding",
       "BEGIN:VCARD\nFN:x\nNOTE:QUOTED-PRINTABLE=\nEMAIL:a@example.jp\nEND:VCARD\n", 1, "x", {"a@example.jp"}},
      {"parameters folded before the ':'",
       "BEGIN:VCARD\nFN;CHARSET=SHIFT_JIS;\n ENCODING=QUOTED-PRINTABLE:=8E=52=\n=93=63\nEND:VCARD\n", 1, "山田", {}},
      {"two thousand soft breaks in one value", manyBreaks, 1, std::string(2000, 'A'), {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto cards = Parse(c.file, nullptr);
    EXPECT_EQ(cards.size(), c.cards);
    if (cards.size() != c.cards) continue;
    EXPECT_EQ(cards[0].name, c.name);
    EXPECT_EQ(cards[0].emails, c.emails);
  }
}

TEST(VCard, Utf8Validation) {
  EXPECT_TRUE(IsValidUtf8("abc"));
  EXPECT_TRUE(IsValidUtf8("\xE3\x81\x82"));
  EXPECT_FALSE(IsValidUtf8("\xE3\x81"));      // cut short
  EXPECT_FALSE(IsValidUtf8("\x82\xA0"));      // Shift_JIS あ
  EXPECT_FALSE(IsValidUtf8("\xC0\x80"));      // overlong
}

}  // namespace
}  // namespace velkor::vcard
