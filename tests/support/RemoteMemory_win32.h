#pragma once
// A block of memory inside a program started by an end-to-end test, for the
// list and tree messages that carry pointers; and the item texts of a list
// view of that program read through it.
#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <string>
#include <vector>

namespace velkor::test {

class RemoteMemory {
 public:
  RemoteMemory(DWORD processId, std::size_t size)
      : process_(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId)),
        address_(process_ ? ::VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE) : nullptr) {}
  ~RemoteMemory() {
    if (address_) ::VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    if (process_) ::CloseHandle(process_);
  }
  RemoteMemory(const RemoteMemory&) = delete;
  RemoteMemory& operator=(const RemoteMemory&) = delete;
  bool Valid() const { return address_ != nullptr; }
  LPARAM Address(std::size_t offset = 0) const { return reinterpret_cast<LPARAM>(address_) + offset; }
  template <class T>
  bool Write(const T& value) const {
    return ::WriteProcessMemory(process_, address_, &value, sizeof value, nullptr) != FALSE;
  }
  template <class T>
  bool Read(T* value) const {
    return ::ReadProcessMemory(process_, address_, value, sizeof *value, nullptr) != FALSE;
  }
  bool ReadBytes(std::size_t offset, void* out, std::size_t size) const {
    return ::ReadProcessMemory(process_, static_cast<char*>(address_) + offset, out, size, nullptr) != FALSE;
  }

 private:
  HANDLE process_;
  void* address_;
};

// The first-column texts of every row of `list`, a list view of the process
// `processId` (up to 1023 bytes each).
inline std::vector<std::string> RemoteListItems(DWORD processId, HWND list) {
  constexpr std::size_t kTextMax = 1024;
  RemoteMemory memory(processId, sizeof(LVITEMA) + kTextMax);
  std::vector<std::string> items;
  if (!memory.Valid()) return items;
  const int count = static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < count; ++row) {
    LVITEMA item{};
    item.iSubItem = 0;
    item.pszText = reinterpret_cast<char*>(memory.Address(sizeof(LVITEMA)));
    item.cchTextMax = static_cast<int>(kTextMax);
    memory.Write(item);
    const auto length = static_cast<std::size_t>(
        ::SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), memory.Address()));
    std::string text(length < kTextMax ? length : kTextMax - 1, '\0');
    if (!text.empty()) memory.ReadBytes(sizeof(LVITEMA), &text[0], text.size());
    items.push_back(text);
  }
  return items;
}

}  // namespace velkor::test
