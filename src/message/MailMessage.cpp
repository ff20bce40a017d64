#include "message/MailMessage.h"

#include "mail/HtmlToText.h"
#include "message/MailText.h"

namespace velkor {

namespace {

// Deeper nesting is no mail anybody reads; it only costs a pass per level.
constexpr int kMaxDepth = 32;

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

std::string Lowered(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

// The content of a part after its transfer encoding.
std::string TransferDecoded(std::string_view body, const MailHeader& header) {
  const std::string* cte = header.Find("Content-Transfer-Encoding");
  const std::string encoding = cte ? HeaderToken(*cte) : std::string();
  std::string out;
  if (encoding == "base64") {
    out.reserve(body.size() / 4 * 3);
    DecodeBase64(body, out);
  } else if (encoding == "quoted-printable") {
    DecodeQuotedPrintable(body, out);
  } else {
    out.assign(body);
  }
  return out;
}

// Line ends made CRLF, whatever the mail used.
void AppendWithCrLf(std::string_view text, std::string& out) {
  out.reserve(out.size() + text.size() + text.size() / 32);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r') {
      out += "\r\n";
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      out += "\r\n";
    } else {
      out += c;
    }
  }
}

// The parts of a multipart body: the text between the delimiter lines
// "--boundary", up to "--boundary--" or the end; the line end before each
// delimiter belongs to it.
std::vector<std::string_view> SplitMultipart(std::string_view body, std::string_view boundary) {
  std::vector<std::string_view> parts;
  const std::string delimiter = "--" + std::string(boundary);
  std::size_t partStart = std::string_view::npos;
  std::size_t pos = 0;
  while (pos <= body.size()) {
    std::size_t eol = body.find('\n', pos);
    const std::size_t lineEnd = eol == std::string_view::npos ? body.size() : eol;
    const std::size_t next = eol == std::string_view::npos ? body.size() + 1 : eol + 1;
    std::string_view line = body.substr(pos, lineEnd - pos);
    if (StartsWith(line, delimiter)) {
      std::string_view rest = line.substr(delimiter.size());
      const bool close = StartsWith(rest, "--");
      if (close) rest.remove_prefix(2);
      while (!rest.empty() && (rest.back() == '\r' || rest.back() == ' ' || rest.back() == '\t')) rest.remove_suffix(1);
      if (rest.empty()) {
        if (partStart != std::string_view::npos) {
          std::size_t partEnd = pos;
          if (partEnd > partStart && body[partEnd - 1] == '\n') --partEnd;
          if (partEnd > partStart && body[partEnd - 1] == '\r') --partEnd;
          parts.push_back(body.substr(partStart, partEnd - partStart));
        }
        if (close) return parts;
        partStart = std::min(next, body.size());
      }
    }
    pos = next;
  }
  // A boundary that never closes: the last part runs to the end.
  if (partStart != std::string_view::npos) parts.push_back(body.substr(partStart));
  return parts;
}

class Reader {
 public:
  explicit Reader(MailMessage& mail) : mail_(mail) {}

  // One entity: a header and its body. `wantText` is false for the
  // alternatives a reader does not see (their attachments still count).
  void Entity(std::string_view text, int depth, bool wantText, std::string_view defaultType) {
    const MailHeader header = ReadMailHeader(text);
    Body(header, text.substr(std::min(header.bodyStart, text.size())), depth, wantText, defaultType);
  }

  void Body(const MailHeader& header, std::string_view body, int depth, bool wantText, std::string_view defaultType) {
    const std::string* ctHeader = header.Find("Content-Type");
    std::string type = ctHeader ? HeaderToken(*ctHeader) : std::string();
    if (type.find('/') == std::string::npos) type = std::string(defaultType);
    const std::string* cdHeader = header.Find("Content-Disposition");
    const std::string disposition = cdHeader ? HeaderToken(*cdHeader) : std::string();

    NoteSecurity(type, ctHeader);

    if (StartsWith(type, "multipart/") && depth < kMaxDepth) {
      const std::string boundary = ctHeader ? HeaderParameter(*ctHeader, "boundary") : std::string();
      if (!boundary.empty()) {
        Multipart(type, SplitMultipart(body, boundary), depth, wantText);
        return;
      }
    }

    std::string fileName;
    if (cdHeader) fileName = HeaderParameter(*cdHeader, "filename");
    if (fileName.empty() && ctHeader) fileName = HeaderParameter(*ctHeader, "name");
    const bool attachment = (disposition == "attachment" || !fileName.empty()) &&
                            !(StartsWith(type, "message/") && type != "message/rfc822");

    if (attachment) {
      MailAttachment a;
      a.fileName = std::move(fileName);
      a.contentType = type;
      a.size = TransferDecoded(body, header).size();
      mail_.attachments.push_back(std::move(a));
      return;
    }
    // Another message/ type names something outside the mail (external-body)
    // or a report about one (delivery-status): no attachment, no text.
    if (StartsWith(type, "message/") && type != "message/rfc822") return;
    if (type == "message/rfc822" && depth < kMaxDepth) {
      // A forwarded mail: its text is read as part of this one.
      Entity(body, depth + 1, wantText, "text/plain");
      return;
    }
    if (!wantText || !StartsWith(type, "text/")) return;
    if (type != "text/plain" && type != "text/html" && type != "text/enriched") return;
    std::string text = DecodeCharsetText(TransferDecoded(body, header),
                                         ctHeader ? HeaderParameter(*ctHeader, "charset") : std::string());
    if (type == "text/html") HtmlToText(text);
    if (!mail_.body.empty()) mail_.body += "\r\n";
    AppendWithCrLf(text, mail_.body);
  }

 private:
  void Multipart(const std::string& type, const std::vector<std::string_view>& parts, int depth, bool wantText) {
    const std::string_view childDefault = type == "multipart/digest" ? "message/rfc822" : "text/plain";
    if (type != "multipart/alternative" || !wantText) {
      for (std::string_view part : parts) Entity(part, depth + 1, wantText, childDefault);
      return;
    }
    // One alternative is read: the plain text when there is one, else the
    // richest other that holds text (HTML, or a multipart around it).
    std::size_t chosen = parts.size();
    int chosenRank = 0;
    for (std::size_t i = 0; i < parts.size(); ++i) {
      const MailHeader header = ReadMailHeader(parts[i]);
      const std::string* ct = header.Find("Content-Type");
      const std::string t = ct ? HeaderToken(*ct) : std::string("text/plain");
      const int rank = t == "text/plain" ? 3 : t == "text/html" ? 2 : StartsWith(t, "multipart/") ? 1 : 0;
      if (rank > chosenRank) {
        chosenRank = rank;
        chosen = i;
      }
    }
    for (std::size_t i = 0; i < parts.size(); ++i) Entity(parts[i], depth + 1, i == chosen, childDefault);
  }

  void NoteSecurity(const std::string& type, const std::string* ctHeader) {
    if (type == "multipart/signed" || type == "application/pkcs7-signature" ||
        type == "application/x-pkcs7-signature") {
      if (mail_.security == MailSecurity::None) mail_.security = MailSecurity::Signed;
    } else if (type == "application/pkcs7-mime" || type == "application/x-pkcs7-mime") {
      const std::string smime = ctHeader ? Lowered(HeaderParameter(*ctHeader, "smime-type")) : std::string();
      if (smime == "signed-data") {
        if (mail_.security == MailSecurity::None) mail_.security = MailSecurity::Signed;
      } else {
        mail_.security = MailSecurity::Encrypted;
      }
    }
  }

  MailMessage& mail_;
};

// X-Priority 1-2 high, 4-5 low, 3 normal; without it Importance; without
// that X-MSMail-Priority.
MailPriority PriorityOf(const MailHeader& header) {
  if (const std::string* x = header.Find("X-Priority")) {
    std::size_t i = 0;
    while (i < x->size() && ((*x)[i] == ' ' || (*x)[i] == '\t')) ++i;
    if (i < x->size() && (*x)[i] >= '1' && (*x)[i] <= '5') {
      const char d = (*x)[i];
      return d <= '2' ? MailPriority::High : d >= '4' ? MailPriority::Low : MailPriority::Normal;
    }
  }
  for (const char* name : {"Importance", "X-MSMail-Priority"}) {
    if (const std::string* v = header.Find(name)) {
      const std::string word = HeaderToken(*v);
      if (word == "high" || word == "urgent") return MailPriority::High;
      if (word == "low" || word == "non-urgent") return MailPriority::Low;
      if (word == "normal") return MailPriority::Normal;
    }
  }
  return MailPriority::Normal;
}

std::string Joined(const std::vector<const std::string*>& values, bool decode) {
  std::string out;
  for (const std::string* v : values) {
    if (!out.empty()) out += ", ";
    out += decode ? DecodeHeaderText(*v) : *v;
  }
  return out;
}

std::vector<MailAddress> AddressesOf(const std::vector<const std::string*>& values) {
  std::vector<MailAddress> out;
  for (const std::string* v : values) {
    std::vector<MailAddress> some = ParseAddressList(*v);
    out.insert(out.end(), std::make_move_iterator(some.begin()), std::make_move_iterator(some.end()));
  }
  return out;
}

}  // namespace

const std::string& MailMessage::SenderAddress() const {
  static const std::string kNone;
  return fromAddresses.empty() ? kNone : fromAddresses.front().address;
}

MailMessage ReadMailMessage(std::string_view raw) {
  MailMessage mail;
  mail.size = raw.size();
  const MailHeader header = ReadMailHeader(raw);
  const std::vector<const std::string*> from = header.FindAll("From");
  if (!from.empty()) {
    mail.from = DecodeHeaderText(*from.front());
    mail.fromAddresses = ParseAddressList(*from.front());
  }
  if (const std::string* subject = header.Find("Subject")) mail.subject = DecodeHeaderText(*subject);
  const std::vector<const std::string*> to = header.FindAll("To");
  const std::vector<const std::string*> cc = header.FindAll("Cc");
  mail.to = Joined(to, true);
  mail.cc = Joined(cc, true);
  mail.toAddresses = AddressesOf(to);
  mail.ccAddresses = AddressesOf(cc);
  mail.priority = PriorityOf(header);
  Reader(mail).Body(header, raw.substr(std::min(header.bodyStart, raw.size())), 0, true, "text/plain");
  return mail;
}

}  // namespace velkor
