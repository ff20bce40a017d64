#include "mail/KanjiConverter.h"
#include "text/ShiftJis.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#ifndef _WIN32
#include <iconv.h>
#endif

namespace velkor {
namespace {

std::string S(std::string_view s) { return std::string(s); }

TEST(KanjiConverterTest, ConvertsEachCodeToShiftJis) {
  struct Case {
    const char* name;
    std::string input;
    std::string expected;
  };
  const Case cases[] = {
      {"ascii", "plain text\r\n", "plain text\r\n"},
      {"shift_jis unchanged", "日本語のメール ｱｲｳ", "日本語のメール ｱｲｳ"},
      {"jis 1983", "\x1B$BF|K\\8l\x1B(B!", "日本語!"},
      {"jis 1978", "\x1B$@F|K\\8l\x1B(J", "日本語"},
      {"jis kana by ESC ( I", "\x1B(I123\x1B(B", "ｱｲｳ"},
      {"jis kana by SO/SI", "a\x0E" "123\x0F" "b", "aｱｲｳb"},
      {"jis row 1 odd/even trail split", "\x1B$B!!!`!~\x1B(B", "\x81\x40\x81\x80\x81\x9E"},
      {"jis line ends pass in kanji mode", "\x1B$B$\"\r\n$$\x1B(B", "あ\r\nい"},
      {"jis x 0212 ibm kanji", "\x1B$(DTc\x1B$B$\"\x1B(B", "纊あ"},
      {"jis x 0212 without a cp932 form", "\x1B$(D0!\x1B$B$\"\x1B(B", "?あ"},
      {"euc", "\xC6\xFC\xCB\xDC\xB8\xEC\xA4\xCE", "日本語の"},
      {"euc ss2 kana", "\xA4\xB3\xA4\xF3\x8E\xB1\x8E\xB2", "こんｱｲ"},
      {"euc ss3 ibm kanji", "\xC6\xFC\xCB\xDC\xB8\xEC\xA4\xCE\x8F\xD4\xE3", "日本語の纊"},
      {"euc ss2 kana after kanji", "\xB7\xE3\xB0\xC2\x8E\xBE\x8E\xB0\x8E\xD9", "激安ｾｰﾙ"},
      {"utf-8", "\xE6\x97\xA5\xE6\x9C\xAC \xEF\xBD\xB1", "日本 ｱ"},
      // An emoji (outside the BMP) and 丂 (U+4E02) have no code page 932 form.
      {"utf-8 outside cp932", "\xE6\x97\xA5\xF0\x9F\x98\x80 \xE4\xB8\x82", "日? ?"},
      {"jis and 8-bit together", "\x1B$B$\"\x1B(B \xA4\xA4\xA4\xA6", "あ いう"},
      {"nul passes", S(std::string_view("a\0b", 3)), S(std::string_view("a\0b", 3))},
  };
  for (const Case& c : cases) EXPECT_EQ(KanjiConverter::ToShiftJis(c.input), c.expected) << c.name;
}

TEST(KanjiConverterTest, DetectsLikeNkf) {
  EXPECT_EQ(KanjiConverter::Detect("abc"), KanjiCode::Ascii);
  EXPECT_EQ(KanjiConverter::Detect("\x1B$B$\"\x1B(B"), KanjiCode::Jis);
  EXPECT_EQ(KanjiConverter::Detect("\x0E" "1\x0F"), KanjiCode::Jis);
  EXPECT_EQ(KanjiConverter::Detect("こんにちは、世界。"), KanjiCode::ShiftJis);
  // EUC hiragana read as Shift_JIS would be all half-width katakana.
  EXPECT_EQ(KanjiConverter::Detect("\xA4\xB3\xA4\xF3\xA4\xCB\xA4\xC1\xA4\xCF"), KanjiCode::EucJp);
  // Half-width katakana only, odd count: no EUC reading exists.
  EXPECT_EQ(KanjiConverter::Detect("\xB1\xB2\xB3"), KanjiCode::ShiftJis);
  EXPECT_EQ(KanjiConverter::Detect("\xE3\x81\x82\xE3\x81\x84"), KanjiCode::Utf8);
  // "激安ｾｰﾙ" in EUC-JP reads as Shift_JIS too, but with second-level kanji.
  EXPECT_EQ(KanjiConverter::Detect("\xB7\xE3\xB0\xC2\x8E\xBE\x8E\xB0\x8E\xD9"), KanjiCode::EucJp);
  // An unknown escape does not make JIS.
  EXPECT_EQ(KanjiConverter::Detect("\x1B[0m"), KanjiCode::Ascii);
}

TEST(KanjiConverterTest, MimeEncodedWords) {
  struct Case {
    const char* name;
    std::string input;
    std::string expected;
  };
  const Case cases[] = {
      {"B iso-2022-jp", "=?ISO-2022-JP?B?GyRCJCIbKEI=?=", "あ"},
      {"Q lower case", "x =?iso-2022-jp?q?=1B$B$$=1B(B?= y", "x い y"},
      {"adjacent words joined", "=?iso-2022-jp?B?GyRCJCI=?= =?iso-2022-jp?B?JCQbKEI=?=", "あい"},
      {"blank to plain text kept", "=?iso-2022-jp?B?GyRCJCIbKEI=?= end", "あ end"},
      {"euc-jp word", "=?EUC-JP?B?pKI=?=", "あ"},
      {"shift_jis word", "=?Shift_JIS?B?gqA=?=", "あ"},
      {"Q underscore", "=?us-ascii?Q?a_b=3F?=", "a b?"},
      {"utf-8 word", "=?UTF-8?B?44GC?=", "あ"},
      {"utf-8 Q word", "=?utf-8?Q?=E3=81=84_x?=", "い x"},
      {"bad base64 left as written", "=?iso-2022-jp?B?G$yRC?=", "=?iso-2022-jp?B?G$yRC?="},
      {"unterminated", "=?iso-2022-jp?B?GyRC", "=?iso-2022-jp?B?GyRC"},
      {"unknown encoding", "=?iso-2022-jp?X?abc?=", "=?iso-2022-jp?X?abc?="},
  };
  for (const Case& c : cases) EXPECT_EQ(KanjiConverter::ToShiftJis(c.input, true), c.expected) << c.name;
  // Without "m" the words stay.
  EXPECT_EQ(KanjiConverter::ToShiftJis("=?ISO-2022-JP?B?GyRCJCIbKEI=?="), "=?ISO-2022-JP?B?GyRCJCIbKEI=?=");
}

TEST(KanjiConverterTest, OptionsAreChecked) {
  KanjiConverter converter;
  EXPECT_TRUE(converter.SetOptions("sm"));
  EXPECT_FALSE(converter.SetOptions("sx"));
  // The rejected options left "sm" in force.
  EXPECT_EQ(converter.Convert("=?ISO-2022-JP?B?GyRCJCIbKEI=?="), "あ");
  EXPECT_TRUE(converter.SetOptions("s"));
  EXPECT_EQ(converter.Convert("=?ISO-2022-JP?B?GyRCJCIbKEI=?="), "=?ISO-2022-JP?B?GyRCJCIbKEI=?=");
}

TEST(KanjiConverterTest, ArbitraryBytesGiveBoundedOutput) {
  std::mt19937 rng(7);
  for (int round = 0; round < 2000; ++round) {
    std::string input(rng() % 64, '\0');
    for (char& c : input) c = static_cast<char>(rng() % 4 == 0 ? 0x1B : rng());
    for (bool mime : {false, true}) {
      const std::string out = KanjiConverter::ToShiftJis(input, mime);
      // Each input byte yields at most one substitute (two bytes).
      EXPECT_LE(out.size(), 2 * input.size());
      // Broken input leaves no stray ESC and no lone lead byte behind.
      EXPECT_EQ(out.find('\x1B'), std::string::npos);
      EXPECT_TRUE(sjis::IsWellFormed(out));
    }
  }
}

#ifndef _WIN32
std::string Iconv(const std::string& in, const char* to, const char* from) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return {};
  std::string out(in.size() * 4 + 16, '\0');
  char* src = const_cast<char*>(in.data());
  size_t srcLeft = in.size();
  char* dst = out.data();
  size_t dstLeft = out.size();
  const size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
  // Flush the shift state (ISO-2022-JP ends in ASCII).
  iconv(cd, nullptr, nullptr, &dst, &dstLeft);
  iconv_close(cd);
  if (rc == static_cast<size_t>(-1)) return {};
  out.resize(out.size() - dstLeft);
  return out;
}

// A real-looking spam body, converted by the system's converter into the
// other codes, must come back byte for byte.
TEST(KanjiConverterTest, RoundTripsAgainstSystemConverter) {
  const std::string sjisBody =
      "【重要】会員登録のお知らせ\r\n"
      "この度は当サイトにご登録いただき、誠にありがとうございます。\r\n"
      "未払いの利用料金が発生しております。本日中にご連絡ください。\r\n"
      "出会い系で今すぐ会える女性を紹介します！完全無料で簡単に稼げる副業です。\r\n"
      "http://example.jp/?id=12345 ご確認ください。\r\n";
  for (const char* code : {"EUC-JP", "ISO-2022-JP"}) {
    const std::string encoded = Iconv(sjisBody, code, "SHIFT_JIS");
    ASSERT_FALSE(encoded.empty()) << code;
    EXPECT_NE(encoded, sjisBody);
    EXPECT_EQ(KanjiConverter::ToShiftJis(encoded), sjisBody) << code;
  }
  // Every JIS X 0208 kanji of level 1 (rows 16-47) through EUC-JP.
  std::string euc, expected;
  for (int row = 0x30; row <= 0x4F; ++row) {
    for (int cell = 0x21; cell <= 0x7E; ++cell) {
      if (row == 0x4F && cell > 0x53) break;
      euc += static_cast<char>(row | 0x80);
      euc += static_cast<char>(cell | 0x80);
    }
  }
  expected = Iconv(euc, "SHIFT_JIS", "EUC-JP");
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(KanjiConverter::ToShiftJis(euc), expected);
}
#endif

}  // namespace
}  // namespace velkor
