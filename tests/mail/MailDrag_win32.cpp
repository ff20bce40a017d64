// maildrag X Y: drags a Japanese spam mail, in the formats Outlook Express
// offers, to the screen point X,Y and drops it there; for looking at the
// mail drops in the running program. Prints the drop effect.
#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <cstdlib>

#include "mail/MailDropTargets_win32.h"
#include "mail/TestDataObject_win32.h"

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  POINT at{std::atoi(argv[1]), std::atoi(argv[2])};
  ::OleInitialize(nullptr);
  const std::string text =
      "送信者: 出会いサポート <support@deai-spam.example>\r\n宛先: <you@example.jp>\r\n"
      "件名 : 【無料】今だけのご案内\r\n\r\n"
      "【無料】今だけ！出会い系サイトで素敵な出会いを。\r\n"
      "エッチな人妻があなたを待っています。登録はこちら→ http://deai-spam.example/join\r\n"
      "完全無料！今すぐアクセス http://cheap-pills.example/buy?id=77\r\n"
      "お問い合わせ: info@spam-mail.example\r\n";
  using velkor::test::OfferedFormat;
  auto* data = new velkor::test::TestDataObject(
      {{CF_TEXT, OfferedFormat::Bytes, text + '\0'},
       {velkor::MailClipboardFormat(velkor::MailFormat::RawMessage), OfferedFormat::Bytes, std::string("x\r\n\r\nx") + '\0'}});
  auto* source = new velkor::test::PollingDropSource(at, 5);
  ::SetCursorPos(at.x, at.y);
  DWORD effect = DROPEFFECT_NONE;
  HRESULT hr = ::DoDragDrop(data, source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect);
  std::printf("drop %s, effect %lu\n", hr == DRAGDROP_S_DROP ? "done" : "cancelled", static_cast<unsigned long>(effect));
  source->Release();
  data->Release();
  ::OleUninitialize();
  return 0;
}
