// filedrag X Y FILE: drags FILE as Explorer does (CF_HDROP) to the screen
// point X,Y and drops it there; for looking at saved-mail drops in the running
// program. Prints the drop effect.
#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "mail/TestDataObject_win32.h"

int main(int argc, char** argv) {
  if (argc < 4) return 2;
  POINT at{std::atoi(argv[1]), std::atoi(argv[2])};
  char full[MAX_PATH];
  if (!::GetFullPathNameA(argv[3], MAX_PATH, full, nullptr)) return 2;
  ::OleInitialize(nullptr);
  std::string dropFiles(20, '\0');
  dropFiles[0] = 20;  // DROPFILES: names at offset 20, ANSI
  dropFiles += std::string(full) + '\0' + '\0';
  auto* data = new velkor::test::TestDataObject({{CF_HDROP, velkor::test::OfferedFormat::Bytes, dropFiles}});
  auto* source = new velkor::test::PollingDropSource(at, 5);
  ::SetCursorPos(at.x, at.y);
  DWORD effect = DROPEFFECT_NONE;
  HRESULT hr = ::DoDragDrop(data, source, DROPEFFECT_COPY, &effect);
  std::printf("drop %s, effect %lu\n", hr == DRAGDROP_S_DROP ? "done" : "cancelled", static_cast<unsigned long>(effect));
  source->Release();
  data->Release();
  ::OleUninitialize();
  return 0;
}
