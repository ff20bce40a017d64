#include "win/Strings.h"

#include "text/ShiftJis.h"
#include "win/Dialog.h"

namespace velkor::win {

std::string LoadResString(UINT id, HINSTANCE instance) {
  // LoadStringA truncates silently; grow until the text fits.
  std::string buffer(256, '\0');
  for (;;) {
    int copied = ::LoadStringA(instance ? instance : ProgramInstance(), id, &buffer[0],
                               static_cast<int>(buffer.size()));
    if (copied <= 0) return std::string();
    if (static_cast<size_t>(copied) < buffer.size() - 2 || buffer.size() >= 65536) {
      buffer.resize(static_cast<size_t>(copied));
      return buffer;
    }
    buffer.assign(buffer.size() * 2, '\0');
  }
}

std::string FillArguments(const std::string& pattern, const std::vector<std::string>& arguments) {
  std::string out;
  out.reserve(pattern.size() + 32);
  size_t next = 0;
  size_t i = 0;
  while (i < pattern.size()) {
    size_t length = sjis::CharLength(pattern, i);
    if (length == 1 && pattern[i] == '%' && i + 1 < pattern.size()) {
      char kind = pattern[i + 1];
      if (kind == '%') {
        out += '%';
        i += 2;
        continue;
      }
      if ((kind == 's' || kind == 'd') && next < arguments.size()) {
        out += arguments[next++];
        i += 2;
        continue;
      }
    }
    out.append(pattern, i, length);
    i += length;
  }
  return out;
}

std::string FormatResString(UINT id, const std::vector<std::string>& arguments, HINSTANCE instance) {
  return FillArguments(LoadResString(id, instance), arguments);
}

}  // namespace velkor::win
