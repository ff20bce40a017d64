#include "mail/DroppedMail.h"

#include "mail/HtmlToText.h"
#include "mail/KanjiConverter.h"
#include "mail/MailHeaderParser.h"
#include "message/MailMessage.h"
#include "message/MailText.h"
#include "registry/CodePage932.h"
#include "text/ShiftJis.h"

namespace velkor {

bool DroppedMail::Offered(MailFormat format) {
  std::int8_t& known = offered_[Index(format)];
  if (known < 0) known = source_.Offered(format) ? 1 : 0;
  return known == 1;
}

const BlockRead& DroppedMail::Block(MailFormat format) {
  const std::size_t i = Index(format);
  if (!read_[i]) {
    read_[i] = true;
    blocks_[i] = source_.Read(format);
    if (blocks_[i].status != BlockRead::Read) blocks_[i].text.clear();
  }
  return blocks_[i];
}

bool DroppedMail::TooLarge() const {
  for (std::size_t i = 0; i < kMailFormatCount; ++i)
    if (read_[i] && blocks_[i].status == BlockRead::TooLarge) return true;
  return false;
}

namespace {

using Extractor = bool (*)(std::string&);

bool IsMailRow(int row) { return row >= 0 && row <= static_cast<int>(CriterionRow::ToOrCc); }

ListDropResult Insert(ListDropResult::Action action, std::string text) {
  ListDropResult result;
  result.action = text.empty() ? ListDropResult::Nothing : action;
  result.text = std::move(text);
  return result;
}

ListDropResult Decoded(bool ok, std::string text) {
  return ok ? Insert(ListDropResult::InsertPlain, std::move(text)) : ListDropResult{ListDropResult::Nothing, {}};
}

// The labelled header summary Outlook Express puts on CF_TEXT.
ListDropResult DecodeTextForm(std::string text, CriterionRow row) {
  if (row == CriterionRow::Body) {
    if (!MailHeaderParser::ExtractBody(text)) return {ListDropResult::Nothing, {}};
    return {ListDropResult::OpenTool, KanjiConverter::ToShiftJis(text)};
  }
  Extractor extract = row == CriterionRow::Sender    ? &MailHeaderParser::ExtractLabelledSender
                      : row == CriterionRow::Subject ? &MailHeaderParser::ExtractLabelledSubject
                      : row == CriterionRow::To      ? &MailHeaderParser::ExtractLabelledTo
                      : row == CriterionRow::Cc      ? &MailHeaderParser::ExtractLabelledCc
                                                     : &MailHeaderParser::ExtractLabelledToCc;
  bool ok = MailHeaderParser::ExtractHeaderBlock(text) && extract(text);
  return Decoded(ok, std::move(text));
}

// The body a reader sees: Outlook Express's HTML rendering when it comes
// along, else the raw message's text parts, decoded (never base64). Empty
// when neither holds text.
std::string ReadableBody(DroppedMail& mail, const std::string& raw) {
  if (mail.HasText(MailFormat::MailHtml)) {
    std::string body = KanjiConverter::ToShiftJis(mail.Text(MailFormat::MailHtml));
    HtmlToText(body);
    return body;
  }
  // Text without a single header field is no mail.
  if (ReadMailHeader(raw).fields.empty()) return {};
  std::string body = ReadMailMessage(raw).body;
  return sjis::Trim(body).empty() ? std::string() : body;
}

// The raw message (dragged from Outlook Express without its text form, or a
// saved mail), read as a mail reader reads it.
ListDropResult DecodeRawMessage(DroppedMail& mail, const std::string& raw, CriterionRow row) {
  if (row == CriterionRow::Body) {
    std::string body = ReadableBody(mail, raw);
    if (body.empty()) return {ListDropResult::OpenToolUnsupported, {}};
    return {ListDropResult::OpenTool, std::move(body)};
  }
  std::string text = raw;
  Extractor extract = row == CriterionRow::Sender    ? &MailHeaderParser::ExtractFromList
                      : row == CriterionRow::Subject ? &MailHeaderParser::ExtractSubject
                      : row == CriterionRow::To      ? &MailHeaderParser::ExtractToList
                      : row == CriterionRow::Cc      ? &MailHeaderParser::ExtractCcList
                                                     : &MailHeaderParser::ExtractToCcList;
  const bool ok = extract(text);
  return Decoded(ok, std::move(text));
}

// The first From address of a raw message, or empty.
std::string RawSender(const std::string& raw) {
  std::string text = raw;
  return MailHeaderParser::ExtractSenderAddress(text) ? text : std::string();
}

}  // namespace

std::string FirstDroppedFile(std::string_view block) {
  // DROPFILES: DWORD pFiles, POINT pt (two LONGs), BOOL fNC, BOOL fWide; the
  // names start at pFiles. Little-endian, 20 bytes, in both builds.
  constexpr std::size_t kHeaderSize = 20;
  if (block.size() < kHeaderSize) return {};
  auto dword = [&](std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(block[at + static_cast<std::size_t>(i)]);
    return v;
  };
  const std::size_t start = dword(0);
  const bool wide = dword(16) != 0;
  if (start < kHeaderSize || start >= block.size()) return {};
  if (!wide) {
    const std::string_view names = block.substr(start);
    return std::string(names.substr(0, names.find('\0')));
  }
  std::u16string name;
  for (std::size_t i = start; i + 1 < block.size(); i += 2) {
    const auto unit = static_cast<char16_t>(static_cast<unsigned char>(block[i]) |
                                            static_cast<unsigned char>(block[i + 1]) << 8);
    if (unit == 0) break;
    name += unit;
  }
  return cp932::FromUtf16(name);
}

bool IsSavedMailName(std::string_view fileName) {
  if (fileName.size() < 4) return false;
  const std::string extension = sjis::AsciiLower(fileName.substr(fileName.size() - 4));
  return extension == ".eml" || extension == ".nws";
}

bool AcceptsDrag(DropPlace place, DroppedMail& mail) {
  if (place != DropPlace::WordList && mail.Offered(MailFormat::SavedMail)) return true;
  if (!mail.Offered(MailFormat::Text)) return false;
  switch (place) {
    case DropPlace::ValueList:
    case DropPlace::BlockedSenders:
      return true;
    case DropPlace::MailView:
      return mail.Offered(MailFormat::RawMessage);
    case DropPlace::WordList:
      return mail.Offered(MailFormat::RichText);
  }
  return false;
}

ListDropResult DecodeValueListDrop(DroppedMail& mail, int row) {
  if (mail.Offered(MailFormat::SavedMail)) {
    if (!IsMailRow(row) || !mail.HasText(MailFormat::SavedMail)) return {};
    return DecodeRawMessage(mail, mail.Text(MailFormat::SavedMail), static_cast<CriterionRow>(row));
  }
  if (!mail.Offered(MailFormat::Text)) return {};
  if (mail.Readable(MailFormat::Text)) {
    if (!mail.HasText(MailFormat::Text)) return {};
    const std::string& text = mail.Text(MailFormat::Text);
    if (mail.Offered(MailFormat::RawMessage)) {
      if (!IsMailRow(row)) return {};
      return DecodeTextForm(text, static_cast<CriterionRow>(row));
    }
    // Text from anywhere else goes in as a paste, whatever row is selected.
    return Insert(mail.Offered(MailFormat::AddressBook) ? ListDropResult::InsertAddressBook
                                                        : ListDropResult::InsertPlain,
                  text);
  }
  if (!IsMailRow(row) || !mail.Offered(MailFormat::RawMessage) || !mail.HasText(MailFormat::RawMessage)) return {};
  return DecodeRawMessage(mail, mail.Text(MailFormat::RawMessage), static_cast<CriterionRow>(row));
}

ListDropResult DecodeSenderDrop(DroppedMail& mail) {
  if (mail.Offered(MailFormat::SavedMail)) {
    if (!mail.HasText(MailFormat::SavedMail)) return {ListDropResult::Nothing, {}};
    std::string sender = RawSender(mail.Text(MailFormat::SavedMail));
    const bool found = !sender.empty();
    return Decoded(found, std::move(sender));
  }
  if (!mail.Offered(MailFormat::Text)) return {};
  std::string text = mail.Text(MailFormat::Text);
  if (mail.Offered(MailFormat::RawMessage)) {
    if (!text.empty()) {
      const bool ok = MailHeaderParser::ExtractLeadingSender(text);
      return Decoded(ok, std::move(text));
    }
    if (!mail.HasText(MailFormat::RawMessage)) return {ListDropResult::Nothing, {}};
    text = RawSender(mail.Text(MailFormat::RawMessage));
    const bool found = !text.empty();
    return Decoded(found, std::move(text));
  }
  return Insert(mail.Offered(MailFormat::AddressBook) ? ListDropResult::InsertAddressBook
                                                      : ListDropResult::InsertPlain,
                std::move(text));
}

MailViewDropResult DecodeMailViewDrop(DroppedMail& mail) {
  if (mail.Offered(MailFormat::SavedMail)) {
    if (!mail.HasText(MailFormat::SavedMail)) return {};
    std::string body = ReadableBody(mail, mail.Text(MailFormat::SavedMail));
    const bool found = !body.empty();
    return {found, std::move(body)};
  }
  if (!mail.Offered(MailFormat::Text) || !mail.Offered(MailFormat::RawMessage)) return {};
  if (mail.Readable(MailFormat::Text)) {
    if (!mail.HasText(MailFormat::Text)) return {};
    std::string text = mail.Text(MailFormat::Text);
    if (!MailHeaderParser::ExtractBody(text)) return {};
    return {true, KanjiConverter::ToShiftJis(text)};
  }
  std::string body = ReadableBody(mail, mail.Text(MailFormat::RawMessage));
  const bool found = !body.empty();
  return {found, std::move(body)};
}

bool DecodeWordListDrop(DroppedMail& mail, std::string& text) {
  if (!mail.Offered(MailFormat::Text) || !mail.HasText(MailFormat::Text)) return false;
  text = mail.Text(MailFormat::Text);
  return true;
}

}  // namespace velkor
