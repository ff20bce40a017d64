#include "mail/DroppedMail.h"

#include "mail/HtmlToText.h"
#include "mail/KanjiConverter.h"
#include "mail/MailHeaderParser.h"

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

// The raw message, when the text form is not to be had.
ListDropResult DecodeRawMessage(DroppedMail& mail, CriterionRow row) {
  if (row == CriterionRow::Body) {
    if (!mail.HasText(MailFormat::MailHtml)) return {ListDropResult::OpenToolUnsupported, {}};
    std::string body = KanjiConverter::ToShiftJis(mail.Text(MailFormat::MailHtml));
    HtmlToText(body);
    return {ListDropResult::OpenTool, std::move(body)};
  }
  std::string text = mail.Text(MailFormat::RawMessage);
  Extractor extract = row == CriterionRow::Sender    ? &MailHeaderParser::ExtractFromList
                      : row == CriterionRow::Subject ? &MailHeaderParser::ExtractSubject
                      : row == CriterionRow::To      ? &MailHeaderParser::ExtractToList
                      : row == CriterionRow::Cc      ? &MailHeaderParser::ExtractCcList
                                                     : &MailHeaderParser::ExtractToCcList;
  bool ok = extract(text);
  return Decoded(ok, std::move(text));
}

}  // namespace

bool AcceptsDrag(DropPlace place, DroppedMail& mail) {
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
  return DecodeRawMessage(mail, static_cast<CriterionRow>(row));
}

ListDropResult DecodeSenderDrop(DroppedMail& mail) {
  if (!mail.Offered(MailFormat::Text)) return {};
  std::string text = mail.Text(MailFormat::Text);
  if (mail.Offered(MailFormat::RawMessage)) {
    if (!text.empty()) {
      const bool ok = MailHeaderParser::ExtractLeadingSender(text);
      return Decoded(ok, std::move(text));
    }
    if (!mail.HasText(MailFormat::RawMessage)) return {ListDropResult::Nothing, {}};
    text = mail.Text(MailFormat::RawMessage);
    const bool ok = MailHeaderParser::ExtractSenderAddress(text);
    return Decoded(ok, std::move(text));
  }
  return Insert(mail.Offered(MailFormat::AddressBook) ? ListDropResult::InsertAddressBook
                                                      : ListDropResult::InsertPlain,
                std::move(text));
}

MailViewDropResult DecodeMailViewDrop(DroppedMail& mail) {
  if (!mail.Offered(MailFormat::Text) || !mail.Offered(MailFormat::RawMessage)) return {};
  if (mail.Readable(MailFormat::Text)) {
    if (!mail.HasText(MailFormat::Text)) return {};
    std::string text = mail.Text(MailFormat::Text);
    if (!MailHeaderParser::ExtractBody(text)) return {};
    return {true, KanjiConverter::ToShiftJis(text)};
  }
  if (!mail.HasText(MailFormat::MailHtml)) return {};
  std::string body = KanjiConverter::ToShiftJis(mail.Text(MailFormat::MailHtml));
  HtmlToText(body);
  return {true, std::move(body)};
}

bool DecodeWordListDrop(DroppedMail& mail, std::string& text) {
  if (!mail.Offered(MailFormat::Text) || !mail.HasText(MailFormat::Text)) return false;
  text = mail.Text(MailFormat::Text);
  return true;
}

}  // namespace velkor
