#include "Utf8ToShiftJis.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

#include <vector>

namespace velkor::dictbuild {

#ifdef _WIN32

bool Utf8ToShiftJis(std::string_view utf8, std::string& sjis) {
  sjis.clear();
  if (utf8.empty()) return true;
  const int size = static_cast<int>(utf8.size());
  const int wide = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
  if (wide <= 0) return false;
  std::vector<wchar_t> buffer(static_cast<std::size_t>(wide));
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, buffer.data(), wide);
  BOOL usedDefault = FALSE;
  const int bytes = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, buffer.data(), wide, nullptr, 0, nullptr,
                                        &usedDefault);
  if (bytes <= 0 || usedDefault) return false;
  sjis.resize(static_cast<std::size_t>(bytes));
  WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, buffer.data(), wide, &sjis[0], bytes, nullptr, &usedDefault);
  return !usedDefault;
}

#else

bool Utf8ToShiftJis(std::string_view utf8, std::string& sjis) {
  sjis.clear();
  iconv_t cd = iconv_open("CP932", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  std::string in(utf8);
  std::vector<char> out(in.size() * 2 + 8);
  char* src = &in[0];
  std::size_t srcLeft = in.size();
  char* dst = out.data();
  std::size_t dstLeft = out.size();
  const std::size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
  iconv_close(cd);
  if (rc == static_cast<std::size_t>(-1) || srcLeft != 0) return false;
  sjis.assign(out.data(), out.size() - dstLeft);
  return true;
}

#endif

}  // namespace velkor::dictbuild
