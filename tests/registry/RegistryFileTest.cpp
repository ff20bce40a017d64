#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "registry/CodePage932.h"
#include "registry/MemoryRegistry.h"
#include "registry/RegFile.h"
#include "text/ShiftJis.h"

namespace velkor {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes B(const std::string& s) { return Bytes(s.begin(), s.end()); }

std::string Utf16File(const std::string& sjisText) {
  std::string out("\xFF\xFE", 2);
  for (char16_t c : cp932::ToUtf16(sjisText)) {
    out += static_cast<char>(c & 0xFF);
    out += static_cast<char>(c >> 8);
  }
  return out;
}

void Fill(MemoryRegistry& reg) {
  const RegRoot cu = RegRoot::CurrentUser;
  reg.SetRaw(cu, "Software\\Tree", "", regtype::kSz, B(std::string("既定\0", 5)));
  reg.SetRaw(cu, "Software\\Tree", "plain", regtype::kSz, B(std::string("say \"hi\" C:\\dir\\\0", 18)));
  reg.SetRaw(cu, "Software\\Tree", "表示", regtype::kSz, B(std::string("表ソ能\0", 7)));  // 0x5C second bytes
  reg.SetRaw(cu, "Software\\Tree", "no nul", regtype::kSz, B("abc"));
  reg.SetRaw(cu, "Software\\Tree", "empty sz", regtype::kSz, {});
  reg.SetRaw(cu, "Software\\Tree", "embedded", regtype::kSz, B(std::string("a\0b\0", 4)));
  reg.SetRaw(cu, "Software\\Tree", "lines", regtype::kSz, B(std::string("one\r\ntwo\0", 9)));
  reg.SetRaw(cu, "Software\\Tree", "expand", regtype::kExpandSz, B(std::string("%APPDATA%\\日本\0", 15)));
  reg.SetRaw(cu, "Software\\Tree", "multi", regtype::kMultiSz, B(std::string("一\0two\0\0", 8)));
  reg.SetRaw(cu, "Software\\Tree", "dword", regtype::kDword, {0x78, 0x56, 0x34, 0x12});
  reg.SetRaw(cu, "Software\\Tree", "short dword", regtype::kDword, {1, 2});
  reg.SetRaw(cu, "Software\\Tree", "none", regtype::kNone, {});
  reg.SetRaw(cu, "Software\\Tree", "qword", 11, {1, 2, 3, 4, 5, 6, 7, 8});
  Bytes big;
  for (int i = 0; i < 300; ++i) big.push_back(static_cast<std::uint8_t>(i * 7));
  reg.SetRaw(cu, "Software\\Tree", "big", regtype::kBinary, big);
  reg.SetRaw(cu, "Software\\Tree\\規則\\Mail]x", "Order", regtype::kSz, B(std::string("000 001\0", 8)));
  reg.SetRaw(cu, "Software\\Tree\\Empty", "", regtype::kBinary, {});
  reg.SetRaw(RegRoot::LocalMachine, "Software\\Tree", "hklm", regtype::kDword, {1, 0, 0, 0});
}

TEST(RegFileTest, BothFormatsRoundTripExactly) {
  MemoryRegistry source;
  Fill(source);
  for (RegFileFormat format : {RegFileFormat::Regedit4, RegFileFormat::Regedit5}) {
    SCOPED_TRACE(format == RegFileFormat::Regedit4 ? "REGEDIT4" : "version 5");
    const std::string file = ExportRegFile(source, RegRoot::CurrentUser, {"Software\\Tree", "Missing"}, format);
    MemoryRegistry target;
    RegFileError error;
    ASSERT_TRUE(ImportRegFile(target, file, &error)) << error.line << ": " << error.reason;
    EXPECT_EQ(source.Dump(RegRoot::CurrentUser, "Software\\Tree"), target.Dump(RegRoot::CurrentUser, "Software\\Tree"));
    EXPECT_FALSE(target.KeyExists(RegRoot::CurrentUser, "Missing"));

    const std::string hklm = ExportRegFile(source, RegRoot::LocalMachine, {"Software"}, format);
    ASSERT_TRUE(ImportRegFile(target, hklm, &error)) << error.line << ": " << error.reason;
    EXPECT_EQ(source.Dump(RegRoot::LocalMachine, "Software"), target.Dump(RegRoot::LocalMachine, "Software"));
  }
}

TEST(RegFileTest, BrokenShiftJisSurvivesOnlyTheAnsiFormat) {
  // A lead byte without its second byte cannot be a quoted string, and the
  // Unicode format replaces it as the system's conversion would.
  MemoryRegistry source;
  source.SetRaw(RegRoot::CurrentUser, "K", "lone", regtype::kSz, B(std::string("x\x81\0", 3)));
  MemoryRegistry ansi;
  ASSERT_TRUE(ImportRegFile(ansi, ExportRegFile(source, RegRoot::CurrentUser, {"K"}, RegFileFormat::Regedit4), nullptr));
  EXPECT_EQ(source.Dump(RegRoot::CurrentUser, "K"), ansi.Dump(RegRoot::CurrentUser, "K"));
  MemoryRegistry unicode;
  ASSERT_TRUE(
      ImportRegFile(unicode, ExportRegFile(source, RegRoot::CurrentUser, {"K"}, RegFileFormat::Regedit5), nullptr));
  Bytes data;
  ASSERT_TRUE(unicode.GetRaw(RegRoot::CurrentUser, "K", "lone", nullptr, &data));
  EXPECT_EQ(B(std::string("x\x81\x45\0", 4)), data);
}

TEST(RegFileTest, ExportWritesRegeditsLayout) {
  MemoryRegistry reg;
  Bytes bytes;
  for (int i = 0; i < 60; ++i) bytes.push_back(static_cast<std::uint8_t>(i));
  reg.SetRaw(RegRoot::CurrentUser, "K", "bin", regtype::kBinary, bytes);
  reg.SetRaw(RegRoot::CurrentUser, "K", "s", regtype::kSz, B(std::string("表\0", 3)));
  reg.SetRaw(RegRoot::CurrentUser, "K", "d", regtype::kDword, {0xff, 0, 0, 0});
  reg.SetRaw(RegRoot::CurrentUser, "K\\Sub", "x", regtype::kExpandSz, B(std::string("a\0", 2)));
  const std::string text = ExportRegFile(reg, RegRoot::CurrentUser, {"K"}, RegFileFormat::Regedit4);
  const std::string expected =
      "REGEDIT4\r\n\r\n"
      "[HKEY_CURRENT_USER\\K]\r\n"
      "\"bin\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,\\\r\n"
      "  17,18,19,1a,1b,1c,1d,1e,1f,20,21,22,23,24,25,26,27,28,29,2a,2b,2c,2d,2e,2f,\\\r\n"
      "  30,31,32,33,34,35,36,37,38,39,3a,3b\r\n"
      "\"d\"=dword:000000ff\r\n"
      "\"s\"=\"表\"\r\n"
      "\r\n"
      "[HKEY_CURRENT_USER\\K\\Sub]\r\n"
      "\"x\"=hex(2):61,00\r\n"
      "\r\n";
  EXPECT_EQ(expected, text);
  for (const std::string& line : sjis::SplitLines(text)) EXPECT_LE(line.size(), 80u) << line;

  // The Unicode format: a BOM, the same text in UTF-16, and string types as UTF-16 bytes.
  const std::string unicode = ExportRegFile(reg, RegRoot::CurrentUser, {"K\\Sub"}, RegFileFormat::Regedit5);
  EXPECT_EQ(Utf16File("Windows Registry Editor Version 5.00\r\n\r\n"
                      "[HKEY_CURRENT_USER\\K\\Sub]\r\n"
                      "\"x\"=hex(2):61,00,00,00\r\n\r\n"),
            unicode);
}

TEST(RegFileTest, ParsesEveryValueSyntax) {
  struct Case {
    const char* line;
    std::uint32_t type;
    std::string data;
  } cases[] = {
      {"\"a\"=\"text\"", regtype::kSz, std::string("text\0", 5)},
      {"\"a\"=\"\"", regtype::kSz, std::string("\0", 1)},
      {"\"a\"=\"q\\\"b\\\\s\\n\"", regtype::kSz, std::string("q\"b\\s\n\0", 7)},
      {"\"a\"=\"表示\"  ; comment", regtype::kSz, std::string("表示\0", 5)},
      {"@=\"default\"", regtype::kSz, std::string("default\0", 8)},
      {"\"a\"=dword:0000001f", regtype::kDword, std::string("\x1f\0\0\0", 4)},
      {"\"a\"=DWORD:1", regtype::kDword, std::string("\x01\0\0\0", 4)},
      {"\"a\" = dword:ffffffff", regtype::kDword, std::string("\xff\xff\xff\xff", 4)},
      {"\"a\"=hex:01,ab,FF", regtype::kBinary, std::string("\x01\xab\xff", 3)},
      {"\"a\"=hex:", regtype::kBinary, std::string()},
      {"\"a\"=hex:01,02,\\\n   03,\\\n  04", regtype::kBinary, std::string("\x01\x02\x03\x04", 4)},
      {"\"a\"=hex(2):25,54,00", regtype::kExpandSz, std::string("%T\0", 3)},
      {"\"a\"=hex(7):61,00,62,00,00", regtype::kMultiSz, std::string("a\0b\0\0", 5)},
      {"\"a\"=hex(0):", regtype::kNone, std::string()},
      {"\"a\"=hex(b):01,02,03,04,05,06,07,08", 11, std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8)},
      {"\"a\"=hex(4):01,00", regtype::kDword, std::string("\x01\x00", 2)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    std::vector<RegFileEntry> entries;
    RegFileError error;
    ASSERT_TRUE(ParseRegFile(std::string("REGEDIT4\r\n\r\n[HKCU\\K]\r\n") + c.line + "\r\n", &entries, &error))
        << error.line << ": " << error.reason;
    ASSERT_EQ(2u, entries.size());
    EXPECT_EQ(RegFileEntry::Kind::SetValue, entries[1].kind);
    EXPECT_EQ(c.type, entries[1].type);
    EXPECT_EQ(B(c.data), entries[1].data);
    EXPECT_EQ(4, entries[1].line);
  }
}

TEST(RegFileTest, ImportAppliesKeysDeletionsAndUnicodeText) {
  MemoryRegistry reg;
  reg.SetRaw(RegRoot::CurrentUser, "Old\\Deep", "v", regtype::kDword, {1, 0, 0, 0});
  reg.SetRaw(RegRoot::CurrentUser, "Keep", "gone", regtype::kDword, {1, 0, 0, 0});
  reg.SetRaw(RegRoot::CurrentUser, "Keep", "stays", regtype::kDword, {2, 0, 0, 0});
  const std::string text =
      "Windows Registry Editor Version 5.00\r\n"
      "; a comment\r\n"
      "\r\n"
      "[-HKEY_CURRENT_USER\\Old]\r\n"
      "\"ignored\"=\"in a deleted key\"\r\n"
      "[-HKCU\\Never\\There]\r\n"
      "[HKEY_CURRENT_USER\\Keep]\r\n"
      "\"gone\"=-\r\n"
      "\"missing\"=-\r\n"
      "[HKLM\\Software\\規則]\r\n"
      "\"名前\"=\"迷惑メール\"\r\n"
      "\"multi\"=hex(7):00,4e,00,00,00,00\r\n";  // U+4E00 in UTF-16
  RegFileError error;
  ASSERT_TRUE(ImportRegFile(reg, Utf16File(text), &error)) << error.line << ": " << error.reason;
  EXPECT_FALSE(reg.KeyExists(RegRoot::CurrentUser, "Old"));
  EXPECT_FALSE(reg.KeyExists(RegRoot::CurrentUser, "Never"));
  EXPECT_EQ("[Keep]\n\"stays\"=4:02,00,00,00\n", reg.Dump(RegRoot::CurrentUser, "Keep"));
  Bytes data;
  ASSERT_TRUE(reg.GetRaw(RegRoot::LocalMachine, "Software\\規則", "名前", nullptr, &data));
  EXPECT_EQ(B(std::string("迷惑メール\0", 11)), data);
  ASSERT_TRUE(reg.GetRaw(RegRoot::LocalMachine, "Software\\規則", "multi", nullptr, &data));
  EXPECT_EQ(B(std::string("一\0\0", 4)), data);
}

TEST(RegFileTest, MalformedFilesReportTheLineAndChangeNothing) {
  struct Case {
    const char* text;
    int line;
  } cases[] = {
      {"", 1},
      {"REGEDIT5\r\n", 1},
      {"\r\n\r\nREGEDIT\r\n[HKCU\\K]\r\n", 3},
      {"REGEDIT4\r\n\"v\"=\"before any key\"\r\n", 2},
      {"REGEDIT4\r\n[HKCU\\K]\r\n[HKCU\\K\r\n", 3},
      {"REGEDIT4\r\n[HKEY_CLASSES_ROOT\\K]\r\n", 2},
      {"REGEDIT4\r\n[HKCU\\A\\\\B]\r\n", 2},
      {"REGEDIT4\r\n[-HKCU]\r\n", 2},
      {"REGEDIT4\r\n[HKCU\\K] trailing\r\n", 2},
      {"REGEDIT4\r\n[HKCU\\K]\r\n\"v\"=\"unterminated\r\n", 3},
      {"REGEDIT4\r\n[HKCU\\K]\r\n\"v\"=\"bad \\q escape\"\r\n", 3},
      {"REGEDIT4\r\n[HKCU\\K]\r\n\"v\"\"x\"\r\n", 3},
      {"REGEDIT4\r\n[HKCU\\K]\r\n\"v\"=dword:\r\n", 3},
      {"REGEDIT4\r\n[HKCU\\K]\r\n\"v\"=dword:123456789\r\n", 3},
      {"REGEDIT4\r\n[HKCU\\K]\r\n\"v\"=dword:12 34\r\n", 3},
      {"REGEDIT4\r\n[HKCU\\K]\r\n\"v\"=hex:01,zz\r\n", 3},
      {"REGEDIT4\r\n[HKCU\\K]\r\n\"v\"=hex:01 02\r\n", 3},
      {"REGEDIT4\r\n[HKCU\\K]\r\n\"v\"=hex(x):01\r\n", 3},
      {"REGEDIT4\r\n[HKCU\\K]\r\n\"v\"=hex(2)01\r\n", 3},
      {"REGEDIT4\r\n[HKCU\\K]\r\n\"v\"=hex:01,\\\r\n  02,\\\r\n  0g\r\n", 5},
      {"REGEDIT4\r\n[HKCU\\K]\r\n\"v\"=hex:01,\\", 3},
      {"REGEDIT4\r\n[HKCU\\K]\r\n\"v\"=str\r\n", 3},
      {"REGEDIT4\r\n[HKCU\\K]\r\n\"v\"=-x\r\n", 3},
      {"REGEDIT4\r\n[HKCU\\K]\r\nstray text\r\n", 3},
      {"\xEF\xBB\xBFREGEDIT4\r\n", 1},
  };
  for (const Case& c : cases) {
    std::string text(c.text);
    SCOPED_TRACE(text);
    MemoryRegistry reg;
    reg.StartLog();
    reg.SetRaw(RegRoot::CurrentUser, "K", "old", regtype::kDword, {1, 0, 0, 0});
    const std::string before = reg.Dump(RegRoot::CurrentUser, "");
    // A valid change ahead of the fault must not be applied either.
    const std::size_t firstKey = text.find("[HKCU\\K]\r\n");
    if (firstKey != std::string::npos) text.insert(firstKey + 10, "\"old\"=-\r\n\"new\"=dword:2\r\n");
    RegFileError error;
    EXPECT_FALSE(ImportRegFile(reg, text, &error));
    const int keyLine = 1 + static_cast<int>(std::count(text.begin(), text.begin() + (firstKey == std::string::npos ? 0 : firstKey), '\n'));
    const int shift = (firstKey != std::string::npos && c.line > keyLine) ? 2 : 0;
    EXPECT_EQ(c.line + shift, error.line);
    EXPECT_FALSE(error.reason.empty());
    EXPECT_EQ(before, reg.Dump(RegRoot::CurrentUser, ""));
    EXPECT_EQ(0, reg.CountWrites());
  }
  // A NUL byte cannot stand in a text line.
  std::vector<RegFileEntry> entries;
  RegFileError error;
  EXPECT_FALSE(ParseRegFile(std::string("REGEDIT4\r\n[HKCU\\K]\r\n\"v\"=\"a\0b\"\r\n", 22), &entries, &error));
  EXPECT_EQ(3, error.line);
  // The same faults in the Unicode format report the same lines.
  EXPECT_FALSE(ParseRegFile(Utf16File("Windows Registry Editor Version 5.00\r\n\r\n[HKCU\\K]\r\n\"v\"=hex:1,\r\n\"w\"=x\r\n"),
                            &entries, &error));
  EXPECT_EQ(5, error.line);
  EXPECT_TRUE(entries.empty());
}

TEST(RegFileTest, KeysDeeperThanTheRegistryAllowsAreRefusedWithTheirLine) {
  struct Case {
    const char* what;
    std::size_t depth;
    bool accepted;
  };
  const Case cases[] = {
      {"512 levels, the registry's own limit", 512, true},
      {"513 levels", 513, false},
      {"100,000 levels", 100000, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string path;
    for (std::size_t i = 0; i < c.depth; ++i) path += i ? "\\k" : "k";
    // The deep key is line 6, after a key that must not be written either.
    const std::string text = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Shallow]\r\n\"v\"=dword:1\r\n\r\n[HKEY_CURRENT_USER\\" +
                             path + "]\r\n\"deep\"=\"x\"\r\n";
    MemoryRegistry reg;
    RegFileError error;
    EXPECT_EQ(c.accepted, ImportRegFile(reg, text, &error)) << error.line << ": " << error.reason;
    if (!c.accepted) {
      EXPECT_EQ(6, error.line);
      EXPECT_NE(std::string::npos, error.reason.find("512"));
      EXPECT_EQ("[]\n", reg.Dump(RegRoot::CurrentUser, ""));
      continue;
    }
    Bytes data;
    ASSERT_TRUE(reg.GetRaw(RegRoot::CurrentUser, path, "deep", nullptr, &data));
    EXPECT_EQ(B(std::string("x\0", 2)), data);
    // Every level comes back out of an export, in order, and reads back the same.
    const std::string exported = ExportRegFile(reg, RegRoot::CurrentUser, {"k"}, RegFileFormat::Regedit4);
    EXPECT_EQ(c.depth, static_cast<std::size_t>(std::count(exported.begin(), exported.end(), '[')));
    MemoryRegistry back;
    ASSERT_TRUE(ImportRegFile(back, exported, &error)) << error.line << ": " << error.reason;
    EXPECT_EQ(reg.Dump(RegRoot::CurrentUser, "k"), back.Dump(RegRoot::CurrentUser, "k"));
  }
}

TEST(RegFileTest, WholeFilesAreReadAndWrittenAsBytes) {
  const std::string path = ::testing::TempDir() + "velkor_regfile_bytes.reg";
  const std::string bytes("\xFF\xFE\0\r\n\x1a tail", 10);
  ASSERT_TRUE(WriteWholeFile(path, bytes));
  std::string back;
  ASSERT_TRUE(ReadWholeFile(path, &back));
  EXPECT_EQ(bytes, back);
  std::remove(path.c_str());
  EXPECT_FALSE(ReadWholeFile(path, &back));
  EXPECT_EQ(bytes, back);  // untouched on failure
  EXPECT_FALSE(WriteWholeFile(::testing::TempDir() + "no such dir/x.reg", bytes));
}

TEST(CodePage932Test, ConvertsJapaneseAndReplacesWhatItCannot) {
  EXPECT_EQ(u"表示ｱＡ\\a", cp932::ToUtf16("表示ｱＡ\\a"));
  EXPECT_EQ("表示ｱＡ\\a", cp932::FromUtf16(u"表示ｱＡ\\a"));
  EXPECT_EQ("a?b", cp932::FromUtf16(u"a\U0001F600b"));  // no emoji in code page 932
  EXPECT_EQ(u"a\u30FB", cp932::ToUtf16("a\x81"));         // a lead byte without its second byte
  EXPECT_EQ(std::u16string(u"x\0y", 3), cp932::ToUtf16(std::string("x\0y", 3)));
}

}  // namespace
}  // namespace velkor
