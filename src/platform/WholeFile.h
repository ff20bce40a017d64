#pragma once
// Writing a file whole or not at all. The bytes go to a temporary file in the
// same folder, are flushed to the disk, and only then replace the target
// (rename; MoveFileEx on Windows). A full disk, a quota or a target in use
// leaves the old file exactly as it was and no temporary file behind. Every
// file the programs write goes through SaveFileWhole.

#include <cstddef>
#include <cstdio>
#include <string>

namespace velkor {

// A test's stand-in for a failing disk (the default lets everything through).
class WriteFaults {
 public:
  virtual ~WriteFaults() = default;
  // How many of `size` more bytes, after `written` already in the temporary
  // file, reach the disk; fewer make the write fail as a full disk does.
  virtual std::size_t Accept(std::size_t written, std::size_t size) {
    (void)written;
    return size;
  }
  // False makes the final replace fail (a target in use or read-only).
  virtual bool AllowReplace() { return true; }
};

// False when the file could not be written; `error` then says why in
// Japanese, naming the file, and the target is unchanged.
bool SaveFileWhole(const std::string& path, const std::string& bytes, std::string* error = nullptr,
                   WriteFaults* faults = nullptr);

namespace filetext {
constexpr const char* kCannotCreate = "%s を保存できませんでした（一時ファイルを作成できません。フォルダがないか、書き込みが禁止されています）。";
constexpr const char* kCannotWrite = "%s を保存できませんでした（書き込みに失敗しました。ディスクの空き容量が足りない可能性があります）。";
constexpr const char* kCannotReplace = "%s を保存できませんでした（元のファイルと置き換えられません。使用中か読み取り専用です）。";
constexpr const char* kKeptAsItWas = "元のファイルは変更されていません。";
}  // namespace filetext

// The platform's part (WholeFile_posix.cpp, WholeFile_win32.cpp).
namespace wholefile {
// Pushes what was written to the open file down to the disk.
bool FlushToDisk(std::FILE* file);
// Moves `temp` over `target`, replacing it.
bool Replace(const std::string& temp, const std::string& target);
bool Remove(const std::string& path);
// Gives `file` the access rights of `like` when that exists (POSIX only).
void KeepMode(std::FILE* file, const std::string& like);
}  // namespace wholefile

}  // namespace velkor
