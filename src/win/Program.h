#pragma once
// Facts about the running program and the system it runs on, and the named
// mutex that keeps a program to one copy per logon.

#include <windows.h>

#include <string>

namespace velkor::win {

// The full path of this program's .exe, of any length; empty when the system
// does not give it.
std::string ProgramPath();
// `fileName` in the folder of this program ("C:\表\Velkor.exe" and
// "TarnWABSync.exe" give "C:\表\TarnWABSync.exe"). The folder is cut at the
// last path separator that is a character of its own, never the second byte
// of a double-byte character such as "表" (0x95 0x5C). Empty when the
// program's path is unknown.
std::string ProgramSiblingPath(const std::string& fileName);
// The part of `path` up to and including its last separator (empty when it
// has none), double-byte aware.
std::string FolderOf(const std::string& path);

// True on the NT family (NT, 2000, XP and later); also when the version
// cannot be read, since only the 9x family has limits to enforce.
bool IsNtFamily();

// A named mutex (not initially owned) held for the life of the object.
class NamedMutex {
 public:
  explicit NamedMutex(const char* name);
  ~NamedMutex();
  NamedMutex(const NamedMutex&) = delete;
  NamedMutex& operator=(const NamedMutex&) = delete;
  // Created by this process and not there before: this is the first copy.
  bool CreatedFirst() const { return handle_ != nullptr && !existed_; }
  // Closes the handle early (a second copy lets go at once).
  void Close();

 private:
  HANDLE handle_ = nullptr;
  bool existed_ = false;
};

// True while another process holds the named mutex, or when it cannot even be
// created (then the other program is assumed to run). Nothing is kept open.
bool MutexExists(const char* name);

// Finds the top-level window titled exactly `title`, restores it when
// minimised and brings it to the front; when it shows a modal dialog, that
// dialog comes to the front instead. False when there is no such window.
bool ActivateWindowTitled(const std::string& title);

}  // namespace velkor::win
