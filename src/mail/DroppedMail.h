#pragma once
// What one drag or paste of a mail yields, and how each place that accepts
// such a drop decodes it. The data comes from a MailDataSource (an OLE data
// object on Windows, a table in tests) and is read lazily: a format is asked
// for only when a decision needs it, and read at most once.
//
// "Offered" and "readable" are two questions: a data object may offer a
// format only in a medium other than global memory, which then counts as
// offered but not readable.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace velkor {

enum class MailFormat : std::uint8_t {
  Text,         // CF_TEXT: the header summary with Japanese labels, an empty line, the body; or any text
  AddressBook,  // "WABFlatBuffer": the text comes from the address book (presence only)
  RawMessage,   // "Internet Message (rfc822/rfc1522)": marks a mail dragged from Outlook Express
  MailHtml,     // "Microsoft Outlook Express HTML Format": the mail's HTML rendering
  Html,         // "HTML Format"
  RichText,     // "Rich Text Format"
  SavedMail,    // CF_HDROP naming a saved mail (.eml): the raw message read from the file
};
constexpr std::size_t kMailFormatCount = 7;

// One global-memory read of a format.
struct BlockRead {
  // TooLarge: refused for its size (the reader says so to the user).
  enum Status : std::uint8_t { Unreadable, EmptyBlock, Read, TooLarge };
  Status status = Unreadable;
  std::string text;  // up to the first NUL, or the whole block without one
};

class MailDataSource {
 public:
  virtual ~MailDataSource() = default;
  virtual bool Offered(MailFormat format) = 0;
  virtual BlockRead Read(MailFormat format) = 0;
};

class DroppedMail {
 public:
  explicit DroppedMail(MailDataSource& source) : source_(source) {}

  bool Offered(MailFormat format);
  // The block of `format`, read on first use.
  const BlockRead& Block(MailFormat format);
  bool Readable(MailFormat format) { return Block(format).status != BlockRead::Unreadable; }
  // Readable with at least one byte (a block of size 0 counts as absent).
  bool HasText(MailFormat format) { return Block(format).status == BlockRead::Read; }
  const std::string& Text(MailFormat format) { return Block(format).text; }
  // Whether a block read so far was refused for its size.
  bool TooLarge() const;

 private:
  static std::size_t Index(MailFormat f) { return static_cast<std::size_t>(f); }
  MailDataSource& source_;
  std::array<std::int8_t, kMailFormatCount> offered_{-1, -1, -1, -1, -1, -1, -1};
  std::array<bool, kMailFormatCount> read_{};
  std::array<BlockRead, kMailFormatCount> blocks_{};
};

// Rows of the criteria list whose values a dropped mail can fill.
enum class CriterionRow : int { Sender = 0, Subject = 1, Body = 2, To = 3, Cc = 4, ToOrCc = 5 };
// The row argument when not exactly one row is selected.
constexpr int kNoSingleRow = -1;

// What a drop on a word or address list does.
struct ListDropResult {
  enum Action : std::uint8_t {
    Refused,             // nothing changes; the source sees no effect
    Nothing,             // handled, but the decoding found nothing
    InsertPlain,         // add `text` as pasted plain text
    InsertAddressBook,   // add `text` as pasted address-book text
    OpenTool,            // store `text` as the dropped-mail text, open the NG-word tool
    OpenToolUnsupported  // store an empty text, open the tool, then say the mail is unsupported
  };
  Action action = Refused;
  std::string text;
  bool Handled() const { return action != Refused && action != OpenToolUnsupported; }
};

// The first file named by a CF_HDROP block (a DROPFILES header, then NUL-
// terminated names, ANSI or UTF-16), in Shift_JIS; empty when there is none.
std::string FirstDroppedFile(std::string_view dropFiles);
// Whether a file name is that of a saved mail (.eml, or .nws for news).
bool IsSavedMailName(std::string_view fileName);

// The drop targets that decode mails.
enum class DropPlace : std::uint8_t { ValueList, BlockedSenders, MailView, WordList };

// The drag-enter and drag-over answer: whether the place accepts the data.
bool AcceptsDrag(DropPlace place, DroppedMail& mail);

// A drop on the criterion value list; `row` is the selected criterion row
// (kNoSingleRow when none or several are selected).
ListDropResult DecodeValueListDrop(DroppedMail& mail, int row);
// A drop on the blocked-sender list.
ListDropResult DecodeSenderDrop(DroppedMail& mail);

// A drop on the NG-word tool's mail view: the body to show, or unsupported.
struct MailViewDropResult {
  bool supported = false;
  std::string text;
};
MailViewDropResult DecodeMailViewDrop(DroppedMail& mail);

// A drop on the NG-word tool's word list: false when refused.
bool DecodeWordListDrop(DroppedMail& mail, std::string& text);

}  // namespace velkor
