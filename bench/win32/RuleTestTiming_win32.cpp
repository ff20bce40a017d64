// The rule tester's work on one mail, timed under Wine (a measured run, not a
// test): a 1 MB mail (UTF-8, base64, as a mailer sends it) read, the
// evaluator built from 1,000 rules and 10,000 blocked senders, the verdict
// worked out. This is what the window does when a mail is dropped on it with
// that many rules; it then fills one list row per rule.
//   scripts/winerun build/win/bin/ruletest_timing.exe

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "RuleTestBenchData.h"
#include "registry/CodePage932.h"
#include "ruletest/RuleEvaluator.h"
#include "ruletest/RuleTestText.h"

namespace {

using namespace velkor;

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER frequency;
  ::QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::string Base64(const std::string& bytes) {
  static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    if (i + 2 < bytes.size()) v |= static_cast<unsigned char>(bytes[i + 2]);
    out += digits[(v >> 18) & 63];
    out += digits[(v >> 12) & 63];
    out += i + 1 < bytes.size() ? digits[(v >> 6) & 63] : '=';
    out += i + 2 < bytes.size() ? digits[v & 63] : '=';
    if (out.size() % 78 == 76) out += "\r\n";
  }
  return out;
}

}  // namespace

int main() {
  const std::u16string wide = cp932::ToUtf16(benchdata::SpamText(700 * 1024));
  std::string utf8;
  for (char16_t c : wide) {
    if (c < 0x80) {
      utf8 += static_cast<char>(c);
    } else if (c < 0x800) {
      utf8 += static_cast<char>(0xC0 | (c >> 6));
      utf8 += static_cast<char>(0x80 | (c & 63));
    } else {
      utf8 += static_cast<char>(0xE0 | (c >> 12));
      utf8 += static_cast<char>(0x80 | ((c >> 6) & 63));
      utf8 += static_cast<char>(0x80 | (c & 63));
    }
  }
  const std::string raw =
      "From: info@deai-support.example.com\r\nTo: hanako@example.ne.jp\r\nSubject: test\r\n"
      "MIME-Version: 1.0\r\nContent-Type: text/plain; charset=UTF-8\r\nContent-Transfer-Encoding: base64\r\n\r\n" +
      Base64(utf8);

  const auto owned = benchdata::MakeRules(1000);
  std::vector<const MailRule*> rules;
  for (const auto& r : owned) rules.push_back(r.get());
  benchdata::AnyWellFormedFolder folders;
  RuleChecks checks;
  checks.folders = &folders;
  const std::vector<std::string> blocked = benchdata::MakeBlocked(10000);

  LARGE_INTEGER t0, t1, t2, t3;
  ::QueryPerformanceCounter(&t0);
  const MailMessage mail = ReadMailMessage(raw);
  ::QueryPerformanceCounter(&t1);
  const RuleEvaluator evaluator(blocked, rules, checks);
  ::QueryPerformanceCounter(&t2);
  const RuleVerdict verdict = evaluator.Evaluate(mail, "00000001");
  ::QueryPerformanceCounter(&t3);
  std::printf("mail %.2f MB (body %.2f MB), 1,000 rules, 10,000 blocked senders\n", raw.size() / 1048576.0,
              mail.body.size() / 1048576.0);
  std::printf("read %.3f s, evaluator %.3f s, verdict %.3f s, total %.3f s\n", Seconds(t0, t1), Seconds(t1, t2),
              Seconds(t2, t3), Seconds(t0, t3));
  std::printf("%s\n", VerdictText(verdict, nullptr).c_str());
  return Seconds(t0, t3) <= 1.0 ? 0 : 1;
}
