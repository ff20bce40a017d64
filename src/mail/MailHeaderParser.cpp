#include "mail/MailHeaderParser.h"

#include <algorithm>
#include <initializer_list>

#include "mail/AddressChars.h"
#include "mail/KanjiConverter.h"
#include "message/MailMessage.h"
#include "text/ShiftJis.h"

namespace velkor {
namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::size_t npos = sjis::npos;

enum class ValueEnd { NextCrLf, NextCrLfOrEnd };

// Finds the first of the search strings (each beginning with CRLF) and cuts
// the value that follows it. An empty value counts as not found.
bool CutHeaderValue(std::string_view text, std::initializer_list<std::string_view> searches,
                    ValueEnd endRule, std::string& value) {
  for (std::string_view search : searches) {
    const std::size_t found = sjis::Find(text, search);
    if (found == npos) continue;
    const std::size_t start = found + search.size();
    std::size_t end = sjis::Find(text, kCrLf, start);
    if (end == npos) {
      if (endRule == ValueEnd::NextCrLf) return false;
      end = text.size();
    }
    if (end == start) return false;
    value.assign(text.substr(start, end - start));
    return true;
  }
  return false;
}

// A local part and a domain around an at sign.
// One at sign outside a quoted local part, both halves plain ASCII.
bool HasBothHalves(const std::string& address) {
  const std::size_t quote = address.rfind('"');
  const std::size_t at = address.find('@', quote == std::string::npos ? 0 : quote);
  if (at == std::string::npos || at == 0 || at + 1 >= address.size()) return false;
  if (address.find('@', at + 1) != std::string::npos) return false;
  for (char c : address)
    if (static_cast<unsigned char>(c) <= 0x20 && c != ' ') return false;
  return std::all_of(address.begin(), address.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::size_t WalkLeft(std::string_view s, std::size_t at) {
  std::size_t start = at;
  while (start > 0 && AddressChars::Contains(static_cast<unsigned char>(s[start - 1]))) --start;
  return start;
}

std::size_t WalkRight(std::string_view s, std::size_t at) {
  std::size_t end = at + 1;
  while (end < s.size() && AddressChars::Contains(static_cast<unsigned char>(s[end]))) ++end;
  return end;
}

constexpr std::size_t kMinLocalPart = 2;
constexpr std::size_t kMinDomain = 4;

// The text between the last "<" and the last ">" of the value.
bool BracketedSender(std::string_view value, std::string& address) {
  const std::size_t open = sjis::RFind(value, "<");
  const std::size_t close = sjis::RFind(value, ">");
  if (open == npos || close == npos || close < open) return false;
  if (close == open + 1) return false;  // "<>" holds no address
  address.assign(value.substr(open + 1, close - open - 1));
  return true;
}

void CollectBracketed(std::string_view value, std::string& result) {
  std::size_t pos = 0;
  while (pos < value.size()) {
    const std::string_view rest = value.substr(pos);
    const std::size_t open = sjis::FindChar(rest, '<');
    const std::size_t close = sjis::FindChar(rest, '>');
    if (open == npos || close == npos || close < open) return;
    if (!result.empty()) result += kCrLf;
    result.append(rest.substr(open + 1, close - open - 1));
    pos += close + 1;
  }
}

bool ReplaceIfNotEmpty(std::string& text, std::string result) {
  if (result.empty()) return false;
  text = std::move(result);
  return true;
}

// Each address with both halves, followed by CRLF.
std::string AddressLines(const std::vector<MailAddress>& addresses) {
  std::string out;
  for (const MailAddress& a : addresses) {
    if (!HasBothHalves(a.address)) continue;
    out += a.address;
    out += kCrLf;
  }
  return out;
}

bool LabelledList(std::string& text, std::initializer_list<std::string_view> labels) {
  std::string result;
  for (std::string_view label : labels) {
    const std::string search = std::string(kCrLf) + std::string(label);
    std::string value;
    if (CutHeaderValue(text, {search}, ValueEnd::NextCrLfOrEnd, value)) CollectBracketed(value, result);
  }
  return ReplaceIfNotEmpty(text, std::move(result));
}

bool HasJisKanjiIn(std::string_view s) {
  return s.find("\x1B$B") != std::string_view::npos || s.find("\x1B$@") != std::string_view::npos;
}

}  // namespace

bool MailHeaderParser::ExtractHeaderBlock(std::string& text) {
  const std::size_t p = sjis::Find(text, "\r\n\r\n");
  if (p == npos) return false;
  text = std::string(kCrLf) + text.substr(0, p + 2);
  return true;
}

bool MailHeaderParser::ExtractBody(std::string& text) {
  const std::size_t p = sjis::Find(text, "\r\n\r\n");
  if (p == npos) return false;
  text.erase(0, p + 4);
  return true;
}

// The raw-message operations read the mail as a mail reader does (every To
// and Cc header, folded lines, RFC 5322 addresses, encoded-words of any
// character set); only addresses with both halves around an at sign are
// handed on.
bool MailHeaderParser::ExtractSenderAddress(std::string& text) {
  const MailMessage mail = ReadMailMessage(text);
  for (const MailAddress& a : mail.fromAddresses) {
    if (!HasBothHalves(a.address)) continue;
    text = a.address;
    return true;
  }
  return false;
}

bool MailHeaderParser::ExtractAddresses(std::string& value) {
  std::string result;
  std::size_t pos = 0;
  while (pos < value.size()) {
    const std::size_t at = sjis::FindChar(value, '@', pos);
    if (at == npos || at == 0) break;
    const std::size_t start = WalkLeft(value, at);
    if (at - start < kMinLocalPart) {
      pos = at + 1;
      continue;
    }
    const std::size_t end = WalkRight(value, at);
    if (end - at - 1 < kMinDomain) {
      pos = at + 1;
      continue;
    }
    result.append(value, start, end - start);
    result += kCrLf;
    pos = end;
  }
  return ReplaceIfNotEmpty(value, std::move(result));
}

bool MailHeaderParser::ExtractFromList(std::string& text) {
  return ReplaceIfNotEmpty(text, AddressLines(ReadMailMessage(text).fromAddresses));
}

bool MailHeaderParser::ExtractToList(std::string& text) {
  return ReplaceIfNotEmpty(text, AddressLines(ReadMailMessage(text).toAddresses));
}

bool MailHeaderParser::ExtractCcList(std::string& text) {
  return ReplaceIfNotEmpty(text, AddressLines(ReadMailMessage(text).ccAddresses));
}

bool MailHeaderParser::ExtractToCcList(std::string& text) {
  const MailMessage mail = ReadMailMessage(text);
  return ReplaceIfNotEmpty(text, AddressLines(mail.toAddresses) + AddressLines(mail.ccAddresses));
}

bool MailHeaderParser::ExtractSubject(std::string& text) {
  return ReplaceIfNotEmpty(text, ReadMailMessage(text).subject);
}

bool MailHeaderParser::ExtractLeadingSender(std::string& text) {
  if (text.compare(0, kSenderLabel.size(), kSenderLabel) != 0) return false;
  const std::string_view rest = std::string_view(text).substr(kSenderLabel.size());
  std::size_t end = sjis::Find(rest, kCrLf);
  if (end == npos) end = rest.size();
  std::string address;
  if (end == 0 || !BracketedSender(rest.substr(0, end), address)) return false;
  text = std::move(address);
  return true;
}

bool MailHeaderParser::ExtractLabelledSender(std::string& text) {
  const std::string search = std::string(kCrLf) + std::string(kSenderLabel);
  std::string value, address;
  if (!CutHeaderValue(text, {search}, ValueEnd::NextCrLfOrEnd, value)) return false;
  if (!BracketedSender(value, address)) return false;
  text = std::move(address);
  return true;
}

bool MailHeaderParser::ExtractLabelledSubject(std::string& text) {
  const std::string search = std::string(kCrLf) + std::string(kSubjectLabel);
  std::string value;
  if (!CutHeaderValue(text, {search}, ValueEnd::NextCrLf, value)) return false;
  // A JIS shift anywhere in the subject, not only after a blank: otherwise a
  // subject such as "Re:" + JIS text would be shown as escape garbage.
  if (HasJisKanjiIn(value)) value = KanjiConverter::ToShiftJis(value, false);
  text = std::move(value);
  return true;
}

bool MailHeaderParser::ExtractLabelledTo(std::string& text) { return LabelledList(text, {kToLabel}); }

bool MailHeaderParser::ExtractLabelledCc(std::string& text) { return LabelledList(text, {kCcLabel}); }

bool MailHeaderParser::ExtractLabelledToCc(std::string& text) {
  return LabelledList(text, {kToLabel, kCcLabel});
}

}  // namespace velkor
