#pragma once
// One spam mail in the three forms Outlook Express offers when a mail is
// dragged out of it: the text form (Japanese labels, Shift_JIS), the raw
// message (ISO-2022-JP body) and the HTML rendering.

#include <string>

namespace velkor::sample {

inline const std::string kTextForm =
    "送信者: 迷惑 太郎 <taro@spam.example>\r\n"
    "宛先: 花子 <hanako@example.jp>\r\n"
    "Cc: <cc1@example.jp>\r\n"
    "送信日時: 2005年1月1日 10:00\r\n"
    "件名 : 【重要】無料プレゼント\r\n"
    "\r\n"
    "無料で出会い系サイトに登録！\r\n"
    "http://spam.example/join へどうぞ\r\n"
    "連絡先 info@spam.example\r\n";

// The body above in ISO-2022-JP, "無料" being ESC $ B "L5NA" ESC ( B.
inline const std::string kRawMessage =
    "From: =?ISO-2022-JP?B?GyRCTEI0cBsoQg==?= <taro@spam.example>\r\n"
    "To: hanako@example.jp\r\n"
    "Cc: cc1@example.jp, cc2@example.jp\r\n"
    "Subject: =?ISO-2022-JP?B?GyRCTDVOQRsoQg==?=\r\n"
    "Content-Type: text/plain; charset=ISO-2022-JP\r\n"
    "\r\n"
    "\x1B$BL5NA\x1B(B http://spam.example/join\r\n";

inline const std::string kHtml =
    "<html><head><title>x</title></head><body>\x1B$BL5NA\x1B(B<br>"
    "<a href=\"http://spam.example/join\">here</a></body></html>";

}  // namespace velkor::sample
