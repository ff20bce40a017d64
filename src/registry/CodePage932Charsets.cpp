#include <array>
#include <string>

#include "registry/CodePage932.h"

namespace velkor::cp932 {

namespace {

struct Label {
  const char* name;
  Charset charset;
};

// The names mailers write, mapped onto one code page each. A set is mapped
// onto its usual superset where mailers label the superset with the narrower
// name (GB2312 text holds GBK characters, ISO-8859-1 text Windows-1252 ones,
// EUC-KR text code page 949 ones), as mail readers do.
constexpr std::array<Label, 57> kLabels{{
    {"us-ascii", {20127, "ASCII"}},
    {"ascii", {20127, "ASCII"}},
    {"utf-8", {65001, "UTF-8"}},
    {"utf8", {65001, "UTF-8"}},
    {"iso-8859-1", {1252, "WINDOWS-1252"}},
    {"latin1", {1252, "WINDOWS-1252"}},
    {"iso-8859-2", {28592, "ISO-8859-2"}},
    {"iso-8859-3", {28593, "ISO-8859-3"}},
    {"iso-8859-4", {28594, "ISO-8859-4"}},
    {"iso-8859-5", {28595, "ISO-8859-5"}},
    {"iso-8859-6", {28596, "ISO-8859-6"}},
    {"iso-8859-7", {28597, "ISO-8859-7"}},
    {"iso-8859-8", {28598, "ISO-8859-8"}},
    {"iso-8859-8-i", {28598, "ISO-8859-8"}},
    {"iso-8859-9", {1254, "WINDOWS-1254"}},
    {"iso-8859-10", {0, "ISO-8859-10"}},
    {"iso-8859-11", {874, "CP874"}},
    {"iso-8859-13", {28603, "ISO-8859-13"}},
    {"iso-8859-14", {0, "ISO-8859-14"}},
    {"iso-8859-15", {28605, "ISO-8859-15"}},
    {"windows-1250", {1250, "WINDOWS-1250"}},
    {"windows-1251", {1251, "WINDOWS-1251"}},
    {"windows-1252", {1252, "WINDOWS-1252"}},
    {"windows-1253", {1253, "WINDOWS-1253"}},
    {"windows-1254", {1254, "WINDOWS-1254"}},
    {"windows-1255", {1255, "WINDOWS-1255"}},
    {"windows-1256", {1256, "WINDOWS-1256"}},
    {"windows-1257", {1257, "WINDOWS-1257"}},
    {"windows-1258", {1258, "WINDOWS-1258"}},
    {"cp1250", {1250, "WINDOWS-1250"}},
    {"cp1251", {1251, "WINDOWS-1251"}},
    {"cp1252", {1252, "WINDOWS-1252"}},
    {"windows-874", {874, "CP874"}},
    {"tis-620", {874, "CP874"}},
    {"gb2312", {936, "GBK"}},
    {"gbk", {936, "GBK"}},
    {"cp936", {936, "GBK"}},
    {"x-gbk", {936, "GBK"}},
    {"euc-cn", {936, "GBK"}},
    {"x-euc-cn", {936, "GBK"}},
    {"csgb2312", {936, "GBK"}},
    {"gb18030", {54936, "GB18030"}},
    {"big5", {950, "BIG5"}},
    {"x-big5", {950, "BIG5"}},
    {"big5-hkscs", {950, "BIG5-HKSCS"}},
    {"cp950", {950, "BIG5"}},
    {"koi8-r", {20866, "KOI8-R"}},
    {"koi8-u", {21866, "KOI8-U"}},
    {"euc-kr", {949, "CP949"}},
    {"ks_c_5601-1987", {949, "CP949"}},
    {"ks_c_5601", {949, "CP949"}},
    {"cp949", {949, "CP949"}},
    {"x-windows-949", {949, "CP949"}},
    {"utf-16", {1201, "UTF-16"}},
    {"utf-16le", {1200, "UTF-16LE"}},
    {"utf-16be", {1201, "UTF-16BE"}},
    {"unicode-1-1-utf-7", {65000, "UTF-7"}},
}};

}  // namespace

bool FindCharset(std::string_view label, Charset& charset) {
  // Longer names are no character set; a 10 KB "charset" is not even looked at.
  if (label.size() > 40) return false;
  std::string lower;
  for (char c : label) {
    if (c == '*') break;  // RFC 2231 language: "iso-8859-1*en"
    lower += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  }
  for (const Label& l : kLabels) {
    if (lower == l.name) {
      charset = l.charset;
      return true;
    }
  }
  return false;
}

}  // namespace velkor::cp932
