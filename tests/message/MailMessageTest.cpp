// One row per mail shape seen in real mail (names and addresses anonymised).
#include "message/MailMessage.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "message/MailText.h"

namespace velkor {
namespace {

std::string Addresses(const std::vector<MailAddress>& list) {
  std::string out;
  for (const MailAddress& a : list) out += (out.empty() ? "" : ",") + a.address;
  return out;
}

struct HeaderCase {
  const char* name;
  std::string header;  // the header block, without the empty line
  std::string sender, subject, to, cc;
};

TEST(MailMessageTest, HeadersAndAddresses) {
  const HeaderCase cases[] = {
      {"lower-case names, no blank after the colon", "from:ab@example.jp\r\nsubject:hi\r\nTO:cd@example.jp",
       "ab@example.jp", "hi", "cd@example.jp", ""},
      {"plus and apostrophe belong to the address",
       "From: Jane <jane+lists@example.org>\r\nTo: sean.o'brien@example.ie", "jane+lists@example.org", "",
       "sean.o'brien@example.ie", ""},
      {"display name that looks like an address",
       "From: \"news@feeds\" <relay@example.net>\r\nTo: \"list@example.ie\" <list@example.ie>",
       "relay@example.net", "", "list@example.ie", ""},
      {"To folded onto a second line, and a second To",
       "To: a@example.jp,\r\n\tb@example.jp\r\nTo: c@example.jp\r\nCc: d@example.jp (Dee),\r\n e@example.jp", "",
       "", "a@example.jp,b@example.jp,c@example.jp", "d@example.jp,e@example.jp"},
      {"group, comment, quoted local part and route",
       "To: undisclosed-recipients:;\r\nCc: team: \"x y\"@example.jp, (boss) <@relay:z@example.jp>;", "", "", "",
       "\"x y\"@example.jp,z@example.jp"},
      {"Japanese subject folded with a TAB between encoded-words",
       "Subject: =?ISO-2022-JP?B?GyRCN2MwQhsoQg==?=\r\n\t=?ISO-2022-JP?B?GyRCJTshPCVrGyhC?=", "",
       "激安セール", "", ""},
      {"Japanese display name in a comma list",
       "From: =?iso-2022-jp?B?GyRCN2MwQhsoQg==?= <shop@example.jp>, other@example.jp", "shop@example.jp", "", "",
       ""},
      {"LF line ends", "From: ab@example.jp\nSubject: one\n two", "ab@example.jp", "one two", "", ""},
  };
  for (const HeaderCase& c : cases) {
    const MailMessage mail = ReadMailMessage(c.header + "\r\n\r\nbody\r\n");
    EXPECT_EQ(mail.SenderAddress(), c.sender) << c.name;
    EXPECT_EQ(mail.subject, c.subject) << c.name;
    EXPECT_EQ(Addresses(mail.toAddresses), c.to) << c.name;
    EXPECT_EQ(Addresses(mail.ccAddresses), c.cc) << c.name;
  }
}

TEST(MailMessageTest, EncodedWordsOfEveryCommonCharacterSet) {
  const struct {
    const char* value;
    const char* expected;
  } cases[] = {
      {"=?iso-8859-1?Q?caf=E9?=", "caf?"},  // no look-alike "e"
      {"=?windows-1252?Q?=93quoted=94?=", "“quoted”"},
      {"=?gb2312?B?1tC5+g==?=", "中国"},
      {"=?big5?B?pKSw6g==?=", "中國"},
      {"=?koi8-r?B?8NLJ18XU?=", "Привет"},
      {"=?euc-kr?B?x9GxuQ==?= x", "?? x"},
      {"=?UTF-8?B?5pel5pys6Kqe44OG44K544OI?=", "日本語テスト"},
      {"=?utf-16be?B?ZeVnLA==?=", "日本"},
      {"=?utf-8*ja?Q?=E6=97=A5?= =?utf-8?Q?=E6=9C=AC?= end", "日本 end"},
      {"Re: =?iso-8859-1?q?a?=", "Re: a"},
      {"=?iso-8859-1?q?unterminated", "=?iso-8859-1?q?unterminated"},
      {"=?x-unknown?q?abc?=", "abc"},
  };
  for (const auto& c : cases) EXPECT_EQ(DecodeHeaderText(c.value), c.expected) << c.value;
}

struct BodyCase {
  const char* name;
  std::string mail;
  std::string body;
  int attachments;
  MailSecurity security;
};

TEST(MailMessageTest, MimeBodies) {
  const std::string alternative =
      "Content-Type: multipart/alternative; boundary=\"b1\"\r\n\r\n"
      "preamble\r\n--b1\r\nContent-Type: text/plain; charset=utf-8\r\n"
      "Content-Transfer-Encoding: quoted-printable\r\n\r\n=E3=81=93=E3=82=93=\r\n=E3=81=AB=E3=81=A1=E3=81=AF\r\n"
      "--b1\r\nContent-Type: text/html\r\n\r\n<p>html</p>\r\n--b1--\r\nepilogue\r\n";
  const BodyCase cases[] = {
      {"base64 JIS spam", "Content-Type: text/plain; charset=ISO-2022-JP\r\nContent-Transfer-Encoding: base64\r\n\r\n"
       "GyRCS1xGfDhCJGokTjdjMEIlOyE8JWskRyQ5ISMbKEINCg==\r\n", "本日限りの激安セールです。\r\n", 0, MailSecurity::None},
      {"alternative: the plain part only", alternative, "こんにちは", 0, MailSecurity::None},
      {"HTML only, through HTML to text",
       "Content-Type: text/html; charset=\"shift_jis\"\r\n\r\n<html><body>Buy <b>now</b></body></html>", "Buy now", 0,
       MailSecurity::None},
      {"nested multipart with an RFC 2231 file name and an inline image",
       "Content-Type: multipart/mixed; boundary=out\r\n\r\n--out\r\n"
       "Content-Type: multipart/related; boundary=in\r\n\r\n--in\r\nContent-Type: text/plain\r\n\r\nsee\r\n"
       "--in\r\nContent-Type: image/gif\r\nContent-ID: <x>\r\n\r\nR0lG\r\n--in--\r\n--out\r\n"
       "Content-Type: application/octet-stream\r\nContent-Disposition: attachment;\r\n"
       " filename*=UTF-8''%E8%A6%8B%E7%A9%8D.pdf\r\nContent-Transfer-Encoding: base64\r\n\r\nAAEC\r\n--out--\r\n",
       "see", 1, MailSecurity::None},
      {"signed", "Content-Type: multipart/signed; protocol=\"application/pkcs7-signature\"; boundary=s\r\n\r\n"
       "--s\r\nContent-Type: text/plain\r\n\r\nsigned text\r\n--s\r\nContent-Type: application/pkcs7-signature\r\n\r\nMII=\r\n--s--",
       "signed text", 0, MailSecurity::Signed},
      {"encrypted", "Content-Type: application/pkcs7-mime; smime-type=enveloped-data; name=smime.p7m\r\n\r\nMII=", "", 1,
       MailSecurity::Encrypted},
      {"a boundary that never closes", "Content-Type: multipart/mixed; boundary=x\r\n\r\n--x\r\n\r\nopen end\r\n",
       "open end\r\n", 0, MailSecurity::None},
      {"no MIME: raw Shift_JIS body", "Subject: x\r\n\r\n\x93\xfa\x96\x7b", "日本", 0, MailSecurity::None},
  };
  for (const BodyCase& c : cases) {
    const MailMessage mail = ReadMailMessage(c.mail);
    EXPECT_EQ(mail.body, c.body) << c.name;
    EXPECT_EQ(static_cast<int>(mail.attachments.size()), c.attachments) << c.name;
    EXPECT_EQ(mail.security, c.security) << c.name;
  }
  const MailMessage nested = ReadMailMessage(cases[3].mail);
  ASSERT_EQ(nested.attachments.size(), 1u);
  EXPECT_EQ(nested.attachments[0].fileName, "見積.pdf");
  EXPECT_EQ(nested.attachments[0].size, 3u);
}

TEST(MailMessageTest, Priority) {
  const struct {
    const char* header;
    MailPriority expected;
  } cases[] = {
      {"X-Priority: 1 (Highest)", MailPriority::High},   {"X-Priority: 2", MailPriority::High},
      {"X-Priority: 5 (Lowest)", MailPriority::Low},     {"X-Priority: 3\r\nImportance: high", MailPriority::Normal},
      {"Importance: Low", MailPriority::Low},            {"X-MSMail-Priority: High", MailPriority::High},
      {"X-Priority: x\r\nImportance: high", MailPriority::High},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ReadMailMessage(std::string(c.header) + "\r\n\r\n").priority, c.expected) << c.header;
}

// Hostile shapes: none may crash, hang or take time beyond its size.
TEST(MailMessageTest, BadInputStaysLinear) {
  std::string deep;
  for (int i = 0; i < 1000; ++i) deep += "Content-Type: multipart/mixed; boundary=b" + std::to_string(i) + "\r\n\r\n--b" + std::to_string(i) + "\r\n";
  deep += "\r\ninnermost\r\n";
  const std::string longHeader = "Subject: " + std::string(20'000'000, 'a') + "\r\n\r\n";
  const std::string charset = "Subject: =?" + std::string(10'000, 'c') + "?q?x?=\r\n\r\n";
  std::string manyWords = "Subject: ";
  for (int i = 0; i < 200'000; ++i) manyWords += "=?a?q?";
  std::string lacking = "Subject: ";  // 1 MB of a character code page 932 lacks
  for (int i = 0; i < 500'000; ++i) lacking += "\xC3\xA9";
  const std::string garbage = "Content-Transfer-Encoding: base64\r\n\r\n!!@@##$$%%QUJD\x80\xff====QUJD";
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(ReadMailMessage(deep).body.empty());  // past the nesting limit nothing is read
  EXPECT_EQ(ReadMailMessage(longHeader).subject.size(), 20'000'000u);
  EXPECT_EQ(ReadMailMessage(charset).subject.substr(0, 2), "=?");
  EXPECT_EQ(ReadMailMessage(manyWords + "\r\n\r\n").subject.size(), manyWords.size() - 9);
  EXPECT_EQ(ReadMailMessage(garbage).body, "ABCABC");
  EXPECT_EQ(ReadMailMessage(lacking + "\r\n\r\n").subject, std::string(500'000, '?'));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

}  // namespace
}  // namespace velkor
