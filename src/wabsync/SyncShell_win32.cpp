#include "wabsync/SyncShell_win32.h"

#include <objbase.h>
#include <shlobj.h>

#include <cstring>
#include <memory>

#include "addressbook/AddressBook_win32.h"
#include "rulestore/OutlookExpressRunningCheck_win32.h"
#include "rulestore/RuleBackup.h"
#include "wabsync/SyncTexts.h"
#include "win/Com.h"
#include "win/MessageBox.h"
#include "win/Program.h"
#include "win/WaitCursor.h"

namespace velkor {

namespace {

bool CreateShellLink(const std::string& linkPath, const std::string& target) {
  win::ComScope com;
  win::ComPtr<IShellLinkA> link;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.OutVoid())))
    return false;
  win::ComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, file.OutVoid()))) return false;
  link->SetPath(target.c_str());
  link->SetArguments("/sync");
  link->SetWorkingDirectory("");
  link->SetDescription(wabsync::kShortcutDescription);
  WCHAR wide[MAX_PATH];
  if (::MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, wide, MAX_PATH) == 0) return false;
  return SUCCEEDED(file->Save(wide, TRUE));
}

}  // namespace

bool Win32SyncPlatform::OutlookExpressRunning() { return OutlookExpressProcessRunning(); }

bool Win32SyncPlatform::NtFamily() { return win::IsNtFamily(); }

AddressBookRead Win32SyncPlatform::ReadAddressBook(std::vector<std::string>* addresses) {
  // One run opens and frees its own address book.
  AddressBook book(reg_);
  if (!book.Open() || !book.IsOpen()) return AddressBookRead::NotOpened;
  const long result = book.Load();
  addresses->reserve(addresses->size() + book.Count());
  for (std::size_t i = 0; i < book.Count(); ++i) addresses->push_back(book.AddressAt(i));
  return result == 0 ? AddressBookRead::Ok : AddressBookRead::LoadFailed;
}

void Win32SyncPlatform::ShowMessage(const std::string& text) {
  const bool finished = text.compare(0, std::strlen(wabsync::kFinished), wabsync::kFinished) == 0;
  win::ShowMessage(owner_, text, wabsync::kTitle, MB_OK | (finished ? MB_ICONINFORMATION : MB_ICONEXCLAMATION));
}

bool Win32SyncPlatform::Ask(const std::string& question) {
  return win::ShowMessage(owner_, question, wabsync::kTitle, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

bool Win32SyncPlatform::WriteBackup(const std::string& identityKey, std::string* folder) {
  const std::unique_ptr<BackupFileSystem> files = MakeLocalFileSystem();
  RuleBackup backup(reg_, *files, DefaultBackupRoot());
  if (backup.Write(identityKey, CurrentLocalTime(), nullptr, nullptr)) return true;
  *folder = backup.IdentityFolder(identityKey);
  return false;
}

void Win32SyncPlatform::SetBusy(bool busy) {
  if (busy) {
    previousCursor_ = win::ShowWaitCursor();
  } else {
    win::RestoreCursor(previousCursor_);
    previousCursor_ = nullptr;
  }
}

bool EditorRunning() { return win::MutexExists(wabsync::kEditorMutex); }

bool ProgramPath(std::string* path) {
  *path = win::ProgramPath();
  return !path->empty();
}

bool StartupShortcutPath(std::string* path) {
  char folder[MAX_PATH] = {};
  if (!::SHGetSpecialFolderPathA(nullptr, folder, CSIDL_STARTUP, FALSE) || folder[0] == '\0') return false;
  *path = std::string(folder) + wabsync::kShortcutFileName;
  return true;
}

ShortcutResult UpdateStartupShortcut(bool keep) {
  std::string link;
  if (!StartupShortcutPath(&link)) return ShortcutResult::NoStartupFolder;
  if (::GetFileAttributesA(link.c_str()) != INVALID_FILE_ATTRIBUTES && !::DeleteFileA(link.c_str()))
    return ShortcutResult::NotRemoved;
  if (!keep) return ShortcutResult::Ok;
  std::string program;
  if (!ProgramPath(&program)) return ShortcutResult::NoProgramPath;
  return CreateShellLink(link, program) ? ShortcutResult::Ok : ShortcutResult::NotCreated;
}

const char* ShortcutResultText(ShortcutResult result) {
  switch (result) {
    case ShortcutResult::Ok:
      return "";
    case ShortcutResult::NoStartupFolder:
      return wabsync::kStartupFolderFailed;
    case ShortcutResult::NoProgramPath:
      return wabsync::kModuleNameFailed;
    case ShortcutResult::NotRemoved:
      return wabsync::kShortcutNotRemoved;
    case ShortcutResult::NotCreated:
      return wabsync::kShortcutNotCreated;
  }
  return "";
}

}  // namespace velkor
