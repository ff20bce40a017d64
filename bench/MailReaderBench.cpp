// The mail reader: 6,000 generated mails of mixed size and shape (plain,
// base64 and quoted-printable parts, multipart with attachments, encoded-word
// headers of several character sets), and one mail of 1, 4 and 16 MB whose
// UTF-8 subject and body are full of characters code page 932 lacks. Reading
// must stay linear: the time per byte of the three large mails is the same.
//
//   ./bench/mail_reader_bench

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "message/MailMessage.h"

namespace {

const char* const kSubjects[] = {
    "=?ISO-2022-JP?B?GyRCN2MwQiU7ITwlaxsoQg==?=", "=?gb2312?B?1tC5+g==?= =?big5?B?pKSw6g==?=",
    "=?UTF-8?B?5pel5pys6Kqe44OG44K544OI?=", "=?iso-8859-1?Q?caf=E9_cr=E8me?=", "Re: meeting notes",
    "=?koi8-r?B?8NLJ18XU?="};
const char* const kFroms[] = {"\"news@feeds\" <relay@example.net>", "jane+lists@example.org",
                              "=?ISO-2022-JP?B?GyRCN2MwQhsoQg==?= <shop@example.jp>", "sean.o'brien@example.ie"};

std::string Base64Lines(std::size_t bytes, std::mt19937& rng) {
  static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (std::size_t i = 0; i < bytes; ++i) {
    out += kAlphabet[rng() % 64];
    if (i % 76 == 75) out += "\r\n";
  }
  return out + "\r\n";
}

std::string MakeMail(std::mt19937& rng) {
  std::string mail = std::string("From: ") + kFroms[rng() % 4] + "\r\nTo: a@example.jp,\r\n\tb@example.jp\r\nSubject: " +
                     kSubjects[rng() % 6] + "\r\nMIME-Version: 1.0\r\n";
  // Sizes from a few hundred bytes to about 200 KB, most of them small.
  const std::size_t size = 200 + (rng() % 100 < 90 ? rng() % 4000 : rng() % 200000);
  switch (rng() % 3) {
    case 0:
      mail += "Content-Type: text/plain; charset=ISO-2022-JP\r\n\r\n";
      while (mail.size() < size) mail += "\x1B$B%F%9%H\x1B(B line of text\r\n";
      break;
    case 1:
      mail += "Content-Type: text/plain; charset=UTF-8\r\nContent-Transfer-Encoding: base64\r\n\r\n" +
              Base64Lines(size, rng);
      break;
    default:
      mail += "Content-Type: multipart/mixed; boundary=\"b\"\r\n\r\n--b\r\nContent-Type: multipart/alternative; "
              "boundary=\"c\"\r\n\r\n--c\r\nContent-Type: text/plain; charset=utf-8\r\n"
              "Content-Transfer-Encoding: quoted-printable\r\n\r\n=E3=81=93=E3=82=93 text\r\n--c\r\n"
              "Content-Type: text/html\r\n\r\n<p>html <b>text</b></p>\r\n--c--\r\n--b\r\n"
              "Content-Type: application/pdf; name=\"a.pdf\"\r\nContent-Transfer-Encoding: base64\r\n\r\n" +
              Base64Lines(size, rng) + "--b--\r\n";
  }
  return mail;
}

void SixThousandMails(benchmark::State& state) {
  std::mt19937 rng(7);
  std::vector<std::string> mails;
  std::size_t bytes = 0;
  for (int i = 0; i < 6000; ++i) {
    mails.push_back(MakeMail(rng));
    bytes += mails.back().size();
  }
  for (auto _ : state)
    for (const std::string& m : mails) benchmark::DoNotOptimize(velkor::ReadMailMessage(m));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
  state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(SixThousandMails)->Unit(benchmark::kMillisecond);

// UTF-8 text in which every other character is one code page 932 lacks (é, 한).
void LargeMailLacking(benchmark::State& state) {
  const std::size_t bytes = static_cast<std::size_t>(state.range(0)) << 20;
  std::string subject, body;
  while (subject.size() < bytes / 2) subject += "\xC3\xA9\xE3\x81\x82\xED\x95\x9C ";
  while (body.size() < bytes / 2) body += "\xC3\xA9 text \xED\x95\x9C\xE6\x97\xA5\r\n";
  const std::string mail = "Subject: " + subject + "\r\nContent-Type: text/plain; charset=utf-8\r\n\r\n" + body;
  for (auto _ : state) benchmark::DoNotOptimize(velkor::ReadMailMessage(mail));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * mail.size()));
}
BENCHMARK(LargeMailLacking)->Arg(1)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
