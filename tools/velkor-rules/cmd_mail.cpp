// velkor-rules mail FILE...: what Velkor reads from saved mails (.eml), one
// line per mail (docs/velkor-rules.md describes the format).

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "Commands.h"
#include "message/MailMessage.h"

namespace velkor::cli {
namespace {

std::string Addresses(const std::vector<MailAddress>& list) {
  std::string out;
  for (const MailAddress& a : list) {
    if (!out.empty()) out += ',';
    out += a.address;
  }
  return out;
}

const char* PriorityName(MailPriority p) {
  return p == MailPriority::High ? "high" : p == MailPriority::Low ? "low" : "normal";
}

const char* SecurityName(MailSecurity s) {
  return s == MailSecurity::Signed ? "signed" : s == MailSecurity::Encrypted ? "encrypted" : "none";
}

bool PrintMail(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "velkor-rules: cannot open %s\n", path.c_str());
    return false;
  }
  const std::string raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const MailMessage mail = ReadMailMessage(raw);
  std::printf("mail\t%s\t%s\t%s\t%s\t%s\t%llu\t%d\t%s\t%s\n", Field(path).c_str(), Field(mail.SenderAddress()).c_str(),
              Field(mail.subject).c_str(), Field(Addresses(mail.toAddresses)).c_str(),
              Field(Addresses(mail.ccAddresses)).c_str(), static_cast<unsigned long long>(mail.size),
              mail.HasAttachment() ? 1 : 0, PriorityName(mail.priority), SecurityName(mail.security));
  return true;
}

int Mail(const Args& args) {
  if (args.empty()) {
    std::fprintf(stderr, "usage: velkor-rules mail FILE|FOLDER...\n");
    return 2;
  }
  bool ok = true;
  for (const std::string& arg : args) {
    std::error_code error;
    if (!std::filesystem::is_directory(arg, error)) {
      ok = PrintMail(arg) && ok;
      continue;
    }
    std::vector<std::string> files;
    for (std::filesystem::recursive_directory_iterator it(arg, error), end; !error && it != end; it.increment(error)) {
      if (it->is_regular_file(error)) files.push_back(it->path().string());
    }
    if (error) {
      std::fprintf(stderr, "velkor-rules: cannot read the folder %s\n", arg.c_str());
      ok = false;
    }
    std::sort(files.begin(), files.end());
    for (const std::string& file : files) ok = PrintMail(file) && ok;
  }
  return ok ? 0 : 3;
}

}  // namespace

VELKOR_CLI_COMMAND(mail, "mail", "mail FILE|FOLDER...", Mail);

}  // namespace velkor::cli
