#pragma once
// Contacts of a vCard 2.1 / 3.0 file, as the address-book stand-in serves them.
//
//   FN             the display name (N as "family given" when FN is missing)
//   EMAIL          one address a line, any number; the first EMAIL carrying
//                  PREF (TYPE=PREF, TYPE=INTERNET,PREF, PREF=1 ...) is the
//                  default address. Without PREF the first address is the
//                  primary one and no default index is given.
//   KIND:group or X-WAB-GROUP:TRUE  the card is a distribution list
//                  (MEMBER / X-WAB-MEMBER lines are ignored: lists are never opened).
// Text is UTF-8 or Shift_JIS: a CHARSET parameter decides per line; otherwise
// a byte-order mark or a file that is valid UTF-8 throughout means UTF-8.
// QUOTED-PRINTABLE values (2.1) and folded lines (3.0) are unfolded.

#include <string>
#include <vector>

namespace velkor::vcard {

struct Contact {
  std::string name;                 // Shift_JIS
  std::vector<std::string> emails;  // Shift_JIS, file order
  int preferred = -1;               // index into emails, -1 when no PREF
  bool group = false;
};

// Converts UTF-8 text to Shift_JIS (supplied by the caller: the platform has the tables).
using Utf8ToSjis = std::string (*)(const std::string& utf8);

std::vector<Contact> Parse(const std::string& fileBytes, Utf8ToSjis convert);

bool IsValidUtf8(const std::string& s);

}  // namespace velkor::vcard
