#include "templates/PersonalInfoEntries.h"

#include <unordered_set>
#include <utility>

#include "templates/RuleTemplates.h"
#include "text/ShiftJis.h"

namespace velkor {

namespace {

using FoldedSet = std::unordered_set<std::string, sjis::FoldedHash, sjis::FoldedEqual>;

constexpr const char* kLatinChars = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ1234567890-., ";
constexpr const char* kNumberChars = "1234567890-";

std::string CleanLine(const std::string& text) {
  return sjis::TrimWithIdeographicSpace(sjis::RemoveLineBreaksAndTabs(text));
}

// Byte-wise is enough: the lead byte of a double-byte character is never one
// of these characters.
bool OnlyOf(const std::string& text, const char* allowed) {
  return text.find_first_not_of(allowed) == std::string::npos;
}

// A number needs a digit: "-" alone passes the character test but is no number.
bool IsNumber(const std::string& text) {
  return OnlyOf(text, kNumberChars) &&
         (text.empty() || (text.find('-') != std::string::npos && sjis::HasLetterOrDigit(text)));
}

// Empty, or with something a name is made of.
bool IsNameOrEmpty(const std::string& text) { return text.empty() || sjis::HasLetterOrDigit(text); }

bool LinesAreNamesOrEmpty(const std::string& text) {
  for (const std::string& line : sjis::SplitLines(text))
    if (!IsNameOrEmpty(CleanLine(line))) return false;
  return true;
}

// Adds `entry` when it is not empty and not already there (ignoring case).
void AddOnce(const std::string& entry, FoldedSet* seen, std::vector<std::string>* entries) {
  if (!entry.empty() && seen->insert(entry).second) entries->push_back(entry);
}

void AddNumber(const std::string& number, FoldedSet* seen, std::vector<std::string>* entries) {
  if (number.empty()) return;
  std::string blanks = number;
  for (char& c : blanks)
    if (c == '-') c = ' ';
  std::string bare;
  for (char c : blanks)
    if (c != ' ') bare += c;
  AddOnce(number, seen, entries);
  AddOnce(blanks, seen, entries);
  AddOnce(bare, seen, entries);
}

void AddLines(const std::string& text, FoldedSet* seen, std::vector<std::string>* entries) {
  for (const std::string& line : sjis::SplitLines(text)) AddOnce(CleanLine(line), seen, entries);
}

}  // namespace

std::string CheckPersonalInfo(PersonalInfo* info) {
  using namespace personalinfotext;
  for (std::string* field : {&info->familyName, &info->givenName, &info->familyNameLatin, &info->givenNameLatin,
                             &info->phone, &info->cellular, &info->zip, &info->town, &info->company,
                             &info->handleName})
    *field = CleanLine(*field);
  info->otherInfo = sjis::TrimWithIdeographicSpace(info->otherInfo);

  if (!OnlyOf(info->familyNameLatin, kLatinChars)) return kLatinFamilyName;
  if (!OnlyOf(info->givenNameLatin, kLatinChars)) return kLatinGivenName;
  if (!IsNumber(info->phone)) return kPhone;
  if (!IsNumber(info->cellular)) return kCellular;
  if (!IsNumber(info->zip)) return kZip;
  const std::pair<const std::string*, const char*> names[] = {
      {&info->familyName, kFamilyNameNoLetter},   {&info->givenName, kGivenNameNoLetter},
      {&info->familyNameLatin, kLatinFamilyNameNoLetter}, {&info->givenNameLatin, kLatinGivenNameNoLetter},
      {&info->town, kTownNoLetter},               {&info->company, kCompanyNoLetter},
      {&info->handleName, kHandleNameNoLetter}};
  for (const auto& [text, message] : names)
    if (!IsNameOrEmpty(*text)) return message;
  if (!LinesAreNamesOrEmpty(info->otherInfo)) return kOtherInfoNoLetter;
  bool any = false;
  for (const std::string* field : {&info->familyName, &info->givenName, &info->familyNameLatin,
                                   &info->givenNameLatin, &info->phone, &info->cellular, &info->zip, &info->town,
                                   &info->company, &info->handleName, &info->otherInfo})
    any = any || !field->empty();
  return any ? std::string() : std::string(kNothingEntered);
}

std::vector<std::string> PersonalInfoEntries(const PersonalInfo& info) {
  std::vector<std::string> entries;
  FoldedSet seen;
  const std::string& f = info.familyName;
  const std::string& g = info.givenName;
  if (!f.empty() && !g.empty()) {
    AddOnce(f + g, &seen, &entries);
    AddOnce(f + " " + g, &seen, &entries);
    AddOnce(f + std::string(sjis::kIdeographicSpace) + g, &seen, &entries);
  } else {
    AddOnce(f.empty() ? g : f, &seen, &entries);
  }
  const std::string& fl = info.familyNameLatin;
  const std::string& gl = info.givenNameLatin;
  if (!fl.empty() && !gl.empty()) {
    AddOnce(gl + " " + fl, &seen, &entries);
    AddOnce(fl + " " + gl, &seen, &entries);
  } else {
    AddOnce(fl.empty() ? gl : fl, &seen, &entries);
  }
  AddNumber(info.phone, &seen, &entries);
  AddNumber(info.cellular, &seen, &entries);
  AddNumber(info.zip, &seen, &entries);
  AddOnce(info.town, &seen, &entries);
  AddOnce(info.company, &seen, &entries);
  AddOnce(info.handleName, &seen, &entries);
  AddLines(info.otherInfo, &seen, &entries);
  return entries;
}

std::string OwnNamePrefill(const std::vector<std::string>& displayNames) {
  std::vector<std::string> names;
  for (const std::string& name : displayNames) names.push_back(sjis::TrimWithIdeographicSpace(name));
  // Walk from the end so that the last occurrence of a name is the one kept.
  FoldedSet later;
  std::vector<bool> keep(names.size());
  for (std::size_t i = names.size(); i-- > 0;) keep[i] = !names[i].empty() && later.insert(names[i]).second;
  std::string text;
  for (std::size_t i = 0; i < names.size(); ++i)
    if (keep[i]) text += names[i] + "\r\n";
  return text;
}

void AppendDistinctLines(const std::string& text, std::vector<std::string>* entries) {
  FoldedSet seen(entries->begin(), entries->end());
  AddLines(text, &seen, entries);
}

std::vector<OwnAddressMatch> RemoveOwnAddressParts(std::vector<std::string>* entries,
                                                   const std::vector<std::string>& ownAddresses) {
  std::vector<OwnAddressMatch> removed;
  std::vector<std::string> kept;
  for (std::string& entry : *entries) {
    const std::string* hit = nullptr;
    for (const std::string& address : ownAddresses) {
      if (!entry.empty() && sjis::FindIgnoreCase(address, entry) != sjis::npos) {
        hit = &address;
        break;
      }
    }
    if (hit)
      removed.push_back({entry, *hit});
    else
      kept.push_back(std::move(entry));
  }
  *entries = std::move(kept);
  return removed;
}

std::string OwnAddressMatchMessage(const char* pattern, const OwnAddressMatch& match) {
  return FillTexts(pattern, {match.entry, match.address});
}

}  // namespace velkor
