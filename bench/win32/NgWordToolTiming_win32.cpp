// How long the NG-word tool takes to open on a long spam mail under Wine:
// detection, colouring and listing, for mails of growing size with about one
// finding every 200 bytes. Prints one line per size.
//   wine ngtool_timing.exe        (beside spam_words.dat)
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <cstdio>
#include <string>

#include "mail/NgWordToolDialog_win32.h"
#include "mail/SpamWordList.h"
#include "registry/MemoryRegistry.h"
#include "res/resource.h"

namespace {

// Filler text with a dictionary word or a link every ~200 bytes; every tenth
// link is new, so the list grows as well.
std::string SpamMail(std::size_t bytes, const velkor::SpamWordList& words, int* findings) {
  const std::string filler = "今回は特別なご案内です。ぜひご覧ください。お見逃しなく。本日限り。\r\n";
  std::string mail;
  int n = 0;
  while (mail.size() < bytes) {
    mail += filler + filler + filler.substr(0, 40);
    if (n % 3 == 0 || words.words.empty())
      mail += " http://site" + std::to_string(n / 10) + ".example/page ";
    else
      mail += words.words[static_cast<std::size_t>(n * 7) % words.words.size()];
    mail += "\r\n";
    ++n;
  }
  *findings = n;
  return mail;
}

}  // namespace

// A short Japanese spam mail, to look at the tool (`ngtool_timing show`).
const char kLookMail[] =
    "【無料】今だけ！出会い系サイトで素敵な出会いを。\r\n"
    "エッチな人妻があなたを待っています。登録はこちら→ http://deai-spam.example/join\r\n"
    "完全無料！今すぐアクセス http://cheap-pills.example/buy?id=77\r\n"
    "お問い合わせ: info@spam-mail.example\r\n"
    "配信停止はこちら http://unsubscribe.example/stop\r\n";

int main(int argc, char** argv) {
  ::OleInitialize(nullptr);
  INITCOMMONCONTROLSEX init{sizeof(init), ICC_LISTVIEW_CLASSES};
  ::InitCommonControlsEx(&init);
  ::LoadLibraryA("RICHED20.DLL");
  if (argc > 1 && std::string(argv[1]) == "show") {
    velkor::NgWordToolData data;
    data.mailText = kLookMail;
    velkor::MemoryRegistry registry;
    velkor::FindState find;
    velkor::RunNgWordTool(nullptr, data, registry, find, nullptr);
    return 0;
  }
  velkor::SpamWordList words;
  std::printf("dictionary: %d words\n", words.LoadSpamWords());
  for (std::size_t kib : {100u, 200u, 400u, 1024u, 2048u}) {
    int findings = 0;
    velkor::NgWordToolData data;
    data.mailText = SpamMail(kib * 1024, words, &findings);
    velkor::MemoryRegistry registry;
    velkor::FindState find;
    velkor::NgWordToolDialog tool(data, registry, find, nullptr);
    const DWORD start = ::GetTickCount();
    tool.CreateModeless(nullptr, IDD_NGWORD_TOOL);  // opening runs detection, colours and lists
    const DWORD opened = ::GetTickCount();
    std::printf("%5u KiB, %5d findings placed, %5d list items: opened in %lu ms\n", static_cast<unsigned>(kib),
                findings, static_cast<int>(tool.Words().size()), static_cast<unsigned long>(opened - start));
    std::fflush(stdout);
    tool.Destroy();
  }
  ::OleUninitialize();
  return 0;
}
