// Decoding of drops by place and criterion row, on data sources that offer
// exactly chosen formats in chosen shapes.
#include "mail/DroppedMail.h"

#include <gtest/gtest.h>

#include <map>

#include "mail/SampleMail.h"

namespace velkor {
namespace {

// A format as a data source holds it.
struct Held {
  BlockRead::Status status = BlockRead::Read;  // Unreadable: offered in another medium only
  std::string text;
};

class TableSource : public MailDataSource {
 public:
  explicit TableSource(std::map<MailFormat, Held> formats) : formats_(std::move(formats)) {}
  bool Offered(MailFormat f) override {
    ++asked;
    return formats_.count(f) != 0;
  }
  BlockRead Read(MailFormat f) override {
    ++reads;
    auto it = formats_.find(f);
    if (it == formats_.end()) return {};
    return {it->second.status, it->second.text};
  }
  int asked = 0;
  int reads = 0;

 private:
  std::map<MailFormat, Held> formats_;
};

const Held kUnreadable{BlockRead::Unreadable, ""};
const Held kEmptyBlock{BlockRead::EmptyBlock, ""};

std::map<MailFormat, Held> OutlookExpressDrag() {
  return {{MailFormat::Text, {BlockRead::Read, sample::kTextForm}},
          {MailFormat::RawMessage, {BlockRead::Read, sample::kRawMessage}},
          {MailFormat::MailHtml, {BlockRead::Read, sample::kHtml}}};
}

std::map<MailFormat, Held> RawOnlyDrag(bool withHtml) {
  auto formats = OutlookExpressDrag();
  formats[MailFormat::Text] = kUnreadable;
  if (!withHtml) formats.erase(MailFormat::MailHtml);
  return formats;
}

// A .eml file dropped from Explorer: a base64 JIS spam mail, no CF_TEXT.
std::map<MailFormat, Held> SavedMail() {
  return {{MailFormat::SavedMail,
           {BlockRead::Read,
            "From: =?ISO-2022-JP?B?GyRCTEI0cBsoQg==?= <taro@spam.example>\nSubject: x\n"
            "Content-Type: text/plain; charset=ISO-2022-JP\nContent-Transfer-Encoding: base64\n\n"
            "GyRCS1xGfDhCJGokTjdjMEIlOyE8JWskRyQ5ISMbKEINCg==\n"}}};
}

TEST(DroppedMailTest, ValueListDecodesByPlaceAndRow) {
  using A = ListDropResult;
  struct Case {
    const char* name;
    std::map<MailFormat, Held> formats;
    int row;
    A::Action action;
    std::string text;
  };
  const std::map<MailFormat, Held> plain{{MailFormat::Text, {BlockRead::Read, "abc\r\n  def\r\n"}}};
  const std::map<MailFormat, Held> wab{{MailFormat::Text, {BlockRead::Read, "x"}}, {MailFormat::AddressBook, {}}};
  const Case cases[] = {
      {"plain text, no row", plain, kNoSingleRow, A::InsertPlain, "abc\r\n  def\r\n"},
      {"plain text, any row", plain, 4, A::InsertPlain, "abc\r\n  def\r\n"},
      {"address-book text", wab, kNoSingleRow, A::InsertAddressBook, "x"},
      {"mail, no single row", OutlookExpressDrag(), kNoSingleRow, A::Refused, ""},
      {"mail, row outside the text rows", OutlookExpressDrag(), 6, A::Refused, ""},
      {"sender", OutlookExpressDrag(), 0, A::InsertPlain, "taro@spam.example"},
      {"subject", OutlookExpressDrag(), 1, A::InsertPlain, " 【重要】無料プレゼント"},
      {"body", OutlookExpressDrag(), 2, A::OpenTool,
       "無料で出会い系サイトに登録！\r\nhttp://spam.example/join へどうぞ\r\n連絡先 info@spam.example\r\n"},
      {"to", OutlookExpressDrag(), 3, A::InsertPlain, "hanako@example.jp"},
      {"cc", OutlookExpressDrag(), 4, A::InsertPlain, "cc1@example.jp"},
      {"text block of size 0", {{MailFormat::Text, kEmptyBlock}, {MailFormat::RawMessage, {}}}, 0, A::Refused, ""},
      {"bracket-less sender", {{MailFormat::Text, {BlockRead::Read, "送信者: a@b.example\r\n\r\nx"}},
                                {MailFormat::RawMessage, {}}}, 0, A::Nothing, ""},
      {"text without a body", {{MailFormat::Text, {BlockRead::Read, "送信者: x"}}, {MailFormat::RawMessage, {}}},
       2, A::Nothing, ""},
      {"raw only: from list", RawOnlyDrag(false), 0, A::InsertPlain, "taro@spam.example\r\n"},
      {"raw only: subject decoded", RawOnlyDrag(false), 1, A::InsertPlain, "無料"},
      {"raw only: cc list", RawOnlyDrag(false), 4, A::InsertPlain, "cc1@example.jp\r\ncc2@example.jp\r\n"},
      {"raw only: body from the HTML", RawOnlyDrag(true), 2, A::OpenTool, "無料\r\n<a href=\"http://spam.example/join\">here"},
      {"raw only: body without HTML, decoded from the raw message", RawOnlyDrag(false), 2, A::OpenTool,
       "無料 http://spam.example/join\r\n"},
      {"raw only: no text anywhere", {{MailFormat::Text, kUnreadable}, {MailFormat::RawMessage, {BlockRead::Read, "a: b\r\n\r\n"}}},
       2, A::OpenToolUnsupported, ""},
      {"saved mail: sender", SavedMail(), 0, A::InsertPlain, "taro@spam.example\r\n"},
      {"saved mail: base64 body decoded", SavedMail(), 2, A::OpenTool, "本日限りの激安セールです。\r\n"},
      {"saved mail: no row", SavedMail(), kNoSingleRow, A::Refused, ""},
      {"raw unreadable too", {{MailFormat::Text, kUnreadable}, {MailFormat::RawMessage, kUnreadable}}, 0,
       A::Refused, ""},
      {"no text offered", {{MailFormat::RawMessage, {}}}, 0, A::Refused, ""},
  };
  for (const Case& c : cases) {
    TableSource source(c.formats);
    DroppedMail mail(source);
    ListDropResult result = DecodeValueListDrop(mail, c.row);
    EXPECT_EQ(result.action, c.action) << c.name;
    EXPECT_EQ(result.text, c.text) << c.name;
  }
}

TEST(DroppedMailTest, SenderDropTakesTheLeadingSender) {
  using A = ListDropResult;
  struct Case {
    const char* name;
    std::map<MailFormat, Held> formats;
    A::Action action;
    std::string text;
  };
  const Case cases[] = {
      {"text form", OutlookExpressDrag(), A::InsertPlain, "taro@spam.example"},
      {"text not readable: raw From", RawOnlyDrag(false), A::InsertPlain, "taro@spam.example"},
      {"plain text", {{MailFormat::Text, {BlockRead::Read, "a@b.example"}}}, A::InsertPlain, "a@b.example"},
      {"address book", {{MailFormat::Text, {BlockRead::Read, "t"}}, {MailFormat::AddressBook, {}}},
       A::InsertAddressBook, "t"},
      {"mail without sender", {{MailFormat::Text, {BlockRead::Read, "件名 : x\r\n"}}, {MailFormat::RawMessage, {}}},
       A::Nothing, ""},
      {"nothing offered", {}, A::Refused, ""},
  };
  for (const Case& c : cases) {
    TableSource source(c.formats);
    DroppedMail mail(source);
    ListDropResult result = DecodeSenderDrop(mail);
    EXPECT_EQ(result.action, c.action) << c.name;
    EXPECT_EQ(result.text, c.text) << c.name;
  }
}

TEST(DroppedMailTest, MailViewAndWordList) {
  struct Case {
    const char* name;
    std::map<MailFormat, Held> formats;
    bool viewAccepts, viewSupported;
    std::string viewText;
    bool listAccepts, listTakes;
  };
  const Case cases[] = {
      {"dragged mail", OutlookExpressDrag(), true, true,
       "無料で出会い系サイトに登録！\r\nhttp://spam.example/join へどうぞ\r\n連絡先 info@spam.example\r\n", false, true},
      {"HTML when the text is not global memory", RawOnlyDrag(true), true, true,
       "無料\r\n<a href=\"http://spam.example/join\">here", false, false},
      {"raw message only: its text decoded", RawOnlyDrag(false), true, true, "無料 http://spam.example/join\r\n",
       false, false},
      {"saved mail", SavedMail(), true, true, "本日限りの激安セールです。\r\n", false, false},
      {"HTML without a body element", {{MailFormat::Text, kUnreadable}, {MailFormat::RawMessage, {}},
                                       {MailFormat::MailHtml, {BlockRead::Read, "<p>only"}}},
       true, true, "<p>only", false, false},
      {"plain text", {{MailFormat::Text, {BlockRead::Read, "w\r\n"}}}, false, false, "", false, true},
      {"rich text beside the text", {{MailFormat::Text, {BlockRead::Read, "w"}}, {MailFormat::RichText, {}}},
       false, false, "", true, true},
      {"rich text, empty text block", {{MailFormat::Text, kEmptyBlock}, {MailFormat::RichText, {}}}, false, false,
       "", true, false},
      {"empty text block of a mail", {{MailFormat::Text, kEmptyBlock}, {MailFormat::RawMessage, {}}}, true, false,
       "", false, false},
  };
  for (const Case& c : cases) {
    TableSource source(c.formats);
    DroppedMail mail(source);
    EXPECT_EQ(AcceptsDrag(DropPlace::MailView, mail), c.viewAccepts) << c.name;
    MailViewDropResult view = DecodeMailViewDrop(mail);
    EXPECT_EQ(view.supported, c.viewSupported) << c.name;
    EXPECT_EQ(view.text, c.viewText) << c.name;
    EXPECT_EQ(AcceptsDrag(DropPlace::WordList, mail), c.listAccepts) << c.name;
    std::string word;
    EXPECT_EQ(DecodeWordListDrop(mail, word), c.listTakes) << c.name;
  }
}

TEST(DroppedMailTest, ReadsEachFormatOnceAndOnlyWhenNeeded) {
  TableSource source(OutlookExpressDrag());
  DroppedMail mail(source);
  EXPECT_TRUE(AcceptsDrag(DropPlace::ValueList, mail));
  EXPECT_EQ(source.reads, 0);  // the drag answer never reads data
  DecodeValueListDrop(mail, 0);
  DecodeValueListDrop(mail, 1);
  EXPECT_EQ(source.reads, 1);  // the text form only, once
  EXPECT_LE(source.asked, 3);
}

TEST(DroppedMailTest, DamagedDataDecodesWithoutFault) {
  const std::string damaged[] = {
      std::string(4u << 20, 'a'),                                       // several megabytes, no line break
      "送信者: <a@b\r\n\r\n\x1B$B\x1B(\x1B$",                            // broken escapes
      "Content-Type: multipart/mixed; boundary=\"\r\n\r\n--\r\n\r\n",  // broken MIME
      "件名 : \x82",                                                   // a lead byte at the very end
      std::string("\r\n\r\n\0\0", 6),
  };
  for (const std::string& text : damaged) {
    for (int row = -1; row <= 6; ++row) {
      TableSource source({{MailFormat::Text, {BlockRead::Read, text}}, {MailFormat::RawMessage, {BlockRead::Read, text}},
                          {MailFormat::MailHtml, {BlockRead::Read, text}}});
      DroppedMail mail(source);
      DecodeValueListDrop(mail, row);
      DecodeSenderDrop(mail);
      DecodeMailViewDrop(mail);
    }
  }
}

// CF_HDROP blocks as Explorer builds them: a 20-byte header, then the names.
TEST(DroppedMailTest, FirstFileOfADropFilesBlock) {
  auto block = [](bool wide, const std::string& names) {
    std::string b(20, '\0');
    b[0] = 20;
    b[16] = wide ? 1 : 0;
    return b + names;
  };
  // C:\迷惑.eml in UTF-16LE, then a second name.
  const std::string wideNames("C\0:\0\\\0\xF7\x8F\xD1\x60.\0e\0m\0l\0\0\0x\0\0\0\0\0", 26);
  const struct {
    const char* name;
    std::string block;
    std::string file;
    bool mail;
  } cases[] = {
      {"ANSI", block(false, std::string("C:\\a\\spam.EML\0b.txt\0\0", 22)), "C:\\a\\spam.EML", true},
      {"UTF-16, first of two", block(true, wideNames), "C:\\迷惑.eml", true},
      {"not a mail", block(false, std::string("C:\\a.txt\0\0", 10)), "C:\\a.txt", false},
      {"header cut short", std::string(12, '\0'), "", false},
      {"names outside the block", std::string("\xFF\0\0\0", 4) + std::string(16, '\0'), "", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FirstDroppedFile(c.block), c.file) << c.name;
    EXPECT_EQ(IsSavedMailName(FirstDroppedFile(c.block)), c.mail) << c.name;
  }
}

}  // namespace
}  // namespace velkor
