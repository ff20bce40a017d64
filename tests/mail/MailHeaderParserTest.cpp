#include "mail/MailHeaderParser.h"

#include <gtest/gtest.h>

#include <string>

namespace velkor {
namespace {

using Op = bool (*)(std::string&);

struct Case {
  const char* name;
  Op op;
  std::string input;
  bool ok;
  std::string expected;  // the text after the call (the input when it fails)
};

void RunCases(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    std::string text = c.input;
    EXPECT_EQ(c.op(text), c.ok) << c.name;
    EXPECT_EQ(text, c.ok ? c.expected : c.input) << c.name;
  }
}

const std::string kRawMail =
    "Return-Path: <bounce@spam.example>\r\n"
    "From: \"Spammer\" <sp@spam.example>\r\n"
    "To: aa@bbbb, bob@example.jp\r\n"
    " folded@example.jp\r\n"
    "cc: carol@example.jp\r\n"
    "Subject: =?ISO-2022-JP?B?GyRCJCIbKEI=?=\r\n"
    "\r\n"
    "body line\r\n";

TEST(MailHeaderParserTest, BlockAndBody) {
  RunCases({
      {"block", MailHeaderParser::ExtractHeaderBlock, "A: 1\r\nB: 2\r\n\r\nbody", true, "\r\nA: 1\r\nB: 2\r\n"},
      {"no empty line", MailHeaderParser::ExtractHeaderBlock, "A: 1\r\nbody", false, ""},
      {"body", MailHeaderParser::ExtractBody, "A: 1\r\n\r\nbody\r\n\r\nmore", true, "body\r\n\r\nmore"},
      {"bare LF is no separator", MailHeaderParser::ExtractBody, "A: 1\n\nbody", false, ""},
  });
}

TEST(MailHeaderParserTest, RawMessageAddresses) {
  RunCases({
      {"sender in brackets", MailHeaderParser::ExtractSenderAddress, kRawMail, true, "sp@spam.example"},
      {"from list", MailHeaderParser::ExtractFromList, kRawMail, true, "sp@spam.example\r\n"},
      {"to list follows the fold", MailHeaderParser::ExtractToList, kRawMail, true,
       "aa@bbbb\r\nbob@example.jp\r\nfolded@example.jp\r\n"},
      {"lower-case cc", MailHeaderParser::ExtractCcList, kRawMail, true, "carol@example.jp\r\n"},
      {"to then cc", MailHeaderParser::ExtractToCcList, kRawMail, true,
       "aa@bbbb\r\nbob@example.jp\r\nfolded@example.jp\r\ncarol@example.jp\r\n"},
      {"minimal address", MailHeaderParser::ExtractSenderAddress, "From: ab@cdef\r\n\r\n", true, "ab@cdef"},
      {"one-char local part", MailHeaderParser::ExtractSenderAddress, "From: a@cdef\r\n\r\n", true, "a@cdef"},
      {"three chars after at", MailHeaderParser::ExtractFromList, "From: ab@cde\r\n\r\n", true, "ab@cde\r\n"},
      {"plus kept in the local part", MailHeaderParser::ExtractFromList, "From: me+xy@example.jp\r\n\r\n", true,
       "me+xy@example.jp\r\n"},
      {"apostrophe kept", MailHeaderParser::ExtractFromList, "From: o'brien@example.ie\r\n\r\n", true,
       "o'brien@example.ie\r\n"},
      {"capitals recognised", MailHeaderParser::ExtractFromList, "FROM: ab@example.jp\r\n\r\n", true,
       "ab@example.jp\r\n"},
      {"header without body", MailHeaderParser::ExtractFromList, "From: ab@example.jp\r\n", true,
       "ab@example.jp\r\n"},
      {"at first in value", MailHeaderParser::ExtractSenderAddress, "From:@example.jp\r\n\r\n", false, ""},
      {"neither to nor cc", MailHeaderParser::ExtractToCcList, "From: ab@example.jp\r\n\r\n", false, ""},
      {"only cc", MailHeaderParser::ExtractToCcList, "CC: xy@example.jp\r\n\r\n", true, "xy@example.jp\r\n"},
      {"two at signs make no address", MailHeaderParser::ExtractToList, "To: ab@cd@efghij\r\n\r\n", false, ""},
  });
}

TEST(MailHeaderParserTest, DoubleByteSecondBytesNeverActAsDelimiters) {
  // 0x81 0x97 is a full-width at sign whose second byte is no "@"; "\x83\x40"
  // (ァ) has 0x40 = "@" as its second byte.
  RunCases({
      {"second byte at sign", MailHeaderParser::ExtractFromList, "From: \x83\x40xyz\r\n\r\n", false, ""},
      {"address after kana", MailHeaderParser::ExtractFromList, "From: \x83\x40 ab@example.jp\r\n\r\n", true,
       "ab@example.jp\r\n"},
      // 表 = 0x95 0x5C: the "\\" second byte is no separator for the walks.
      {"bracket second byte", MailHeaderParser::ExtractLabelledSender,
       "\r\n送信者: 表<ab@example.jp>\r\n", true, "ab@example.jp"},
      // ＜ and ＞ (full-width) are not brackets.
      {"full-width brackets", MailHeaderParser::ExtractLabelledSender, "\r\n送信者: ＜ab@example.jp＞\r\n",
       false, ""},
  });
}

TEST(MailHeaderParserTest, Subject) {
  RunCases({
      {"iso-2022-jp B any case", MailHeaderParser::ExtractSubject, kRawMail, true, "あ"},
      {"lower-case charset and Q", MailHeaderParser::ExtractSubject,
       "Subject: =?iso-2022-jp?q?=1B$B$$=1B(B?=\r\n\r\n", true, "い"},
      {"utf-8 word decoded", MailHeaderParser::ExtractSubject, "Subject: =?utf-8?B?44GC?=\r\n\r\n", true, "あ"},
      {"shift_jis word decoded", MailHeaderParser::ExtractSubject, "Subject: Re: =?Shift_JIS?B?gqA=?=\r\n\r\n",
       true, "Re: あ"},
      {"raw utf-8 decoded", MailHeaderParser::ExtractSubject, "Subject: \xE3\x81\x84\xE3\x81\x86\r\n\r\n", true,
       "いう"},
      {"raw shift_jis kept", MailHeaderParser::ExtractSubject, "Subject: ｱｲ 日本\r\n\r\n", true, "ｱｲ 日本"},
      {"folded and joined", MailHeaderParser::ExtractSubject,
       "Subject: =?ISO-2022-JP?B?GyRCJCIbKEI=?=\r\n =?ISO-2022-JP?B?GyRCJCQbKEI=?=\r\nX: y\r\n\r\n", true,
       "あい"},
      {"fold keeps blank", MailHeaderParser::ExtractSubject, "Subject: one\r\n two\r\n\r\n", true, "one two"},
      {"tab continues too", MailHeaderParser::ExtractSubject, "Subject: one\r\n\ttwo\r\n\r\n", true, "one two"},
      {"lower-case name", MailHeaderParser::ExtractSubject, "subject: hi\r\n\r\n", true, "hi"},
      {"no blank after colon", MailHeaderParser::ExtractSubject, "Subject:hi\r\n\r\n", true, "hi"},
      {"empty", MailHeaderParser::ExtractSubject, "Subject: \r\n\r\n", false, ""},
      {"raw JIS subject", MailHeaderParser::ExtractSubject, "Subject: Re:\x1B$B$\"\x1B(B\r\n\r\n", true, "Re:あ"},
      {"shift_jis word, lower-case charset", MailHeaderParser::ExtractSubject,
       "Subject: =?shift_jis?B?gqA=?=\r\n\r\n", true, "あ"},
  });
}

// The text form Outlook Express puts on the clipboard for a dragged mail.
const std::string kLabelled =
    "送信者: 迷惑 太郎 <taro@spam.example>\r\n"
    "宛先: 花子 <hanako@example.jp>; <jiro@example.jp>\r\n"
    "Cc: <cc1@example.jp>\r\n"
    "送信日時: 2005年1月1日 10:00\r\n"
    "件名 : 【重要】お知らせ\r\n"
    "\r\n"
    "本文です。\r\n";

std::string Block(std::string text) {
  MailHeaderParser::ExtractHeaderBlock(text);
  return text;
}

TEST(MailHeaderParserTest, LabelledTextForm) {
  RunCases({
      {"leading sender", MailHeaderParser::ExtractLeadingSender, kLabelled, true, "taro@spam.example"},
      {"leading sender needs label first", MailHeaderParser::ExtractLeadingSender, "\r\n" + kLabelled, false, ""},
      {"labelled sender", MailHeaderParser::ExtractLabelledSender, Block(kLabelled), true, "taro@spam.example"},
      {"bare sender yields nothing", MailHeaderParser::ExtractLabelledSender, "\r\n送信者: taro@spam.example\r\n",
       false, ""},
      {"reversed brackets", MailHeaderParser::ExtractLabelledSender, "\r\n送信者: >a@b.cd<\r\n", false, ""},
      {"to list joined by CRLF", MailHeaderParser::ExtractLabelledTo, Block(kLabelled), true,
       "hanako@example.jp\r\njiro@example.jp"},
      {"cc", MailHeaderParser::ExtractLabelledCc, Block(kLabelled), true, "cc1@example.jp"},
      {"to and cc", MailHeaderParser::ExtractLabelledToCc, Block(kLabelled), true,
       "hanako@example.jp\r\njiro@example.jp\r\ncc1@example.jp"},
      {"subject keeps its blank", MailHeaderParser::ExtractLabelledSubject, Block(kLabelled), true,
       " 【重要】お知らせ"},
      {"JIS subject converted", MailHeaderParser::ExtractLabelledSubject,
       "\r\n件名 : \x1B$B$\"\x1B(B\r\n", true, " あ"},
      {"JIS after text converted", MailHeaderParser::ExtractLabelledSubject,
       "\r\n件名 : Re:\x1B$B$\"\x1B(B\r\n", true, " Re:あ"},
      {"subject needs CRLF end", MailHeaderParser::ExtractLabelledSubject, "\r\n件名 : abc", false, ""},
  });
}

}  // namespace
}  // namespace velkor
