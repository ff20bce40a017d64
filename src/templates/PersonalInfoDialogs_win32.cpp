#include "templates/PersonalInfoDialogs_win32.h"

#include <utility>

#include "res/resource.h"
#include "templates/RuleTemplates.h"
#include "text/ShiftJis.h"
#include "win/MessageBox.h"
#include "win/Strings.h"

namespace velkor {

namespace {

// Each text of the personal-information dialog with its control.
struct InfoField {
  int control;
  std::string PersonalInfo::*field;
};
constexpr InfoField kInfoFields[] = {
    {IDC_INFO_FAMILY_NAME, &PersonalInfo::familyName},
    {IDC_INFO_GIVEN_NAME, &PersonalInfo::givenName},
    {IDC_INFO_FAMILY_NAME_LATIN, &PersonalInfo::familyNameLatin},
    {IDC_INFO_GIVEN_NAME_LATIN, &PersonalInfo::givenNameLatin},
    {IDC_INFO_PHONE, &PersonalInfo::phone},
    {IDC_INFO_CELLULAR, &PersonalInfo::cellular},
    {IDC_INFO_ZIP, &PersonalInfo::zip},
    {IDC_INFO_TOWN, &PersonalInfo::town},
    {IDC_INFO_COMPANY, &PersonalInfo::company},
    {IDC_INFO_HANDLE_NAME, &PersonalInfo::handleName},
    {IDC_INFO_OTHER, &PersonalInfo::otherInfo},
};

// The control a refused text came from, so the user lands on it.
int ControlOfMessage(const std::string& message) {
  using namespace personalinfotext;
  const std::pair<const char*, int> controls[] = {
      {kLatinFamilyName, IDC_INFO_FAMILY_NAME_LATIN}, {kLatinFamilyNameNoLetter, IDC_INFO_FAMILY_NAME_LATIN},
      {kLatinGivenName, IDC_INFO_GIVEN_NAME_LATIN},   {kLatinGivenNameNoLetter, IDC_INFO_GIVEN_NAME_LATIN},
      {kPhone, IDC_INFO_PHONE},                       {kCellular, IDC_INFO_CELLULAR},
      {kZip, IDC_INFO_ZIP},                           {kGivenNameNoLetter, IDC_INFO_GIVEN_NAME},
      {kTownNoLetter, IDC_INFO_TOWN},                 {kCompanyNoLetter, IDC_INFO_COMPANY},
      {kHandleNameNoLetter, IDC_INFO_HANDLE_NAME},    {kOtherInfoNoLetter, IDC_INFO_OTHER},
  };
  for (const auto& [text, control] : controls)
    if (message == text) return control;
  return IDC_INFO_FAMILY_NAME;
}

void Warn(HWND owner, const std::string& text) {
  win::ShowMessage(owner, text, win::LoadResString(IDS_APP_TITLE), MB_OK | MB_ICONWARNING);
}

// Takes out the entries that are part of an own address, one message each;
// false (after telling) when nothing is left.
bool KeepEntriesOutsideOwnAddresses(HWND owner, const char* pattern, const std::vector<std::string>& own,
                                    std::vector<std::string>* entries) {
  for (const OwnAddressMatch& match : RemoveOwnAddressParts(entries, own))
    Warn(owner, OwnAddressMatchMessage(pattern, match));
  if (!entries->empty()) return true;
  Warn(owner, personalinfotext::kEmptyList);
  return false;
}

void FocusEdit(HWND dialog, int control) {
  HWND edit = ::GetDlgItem(dialog, control);
  ::SetFocus(edit);
  ::SendMessageA(edit, EM_SETSEL, 0, -1);
}

}  // namespace

// ---------------------------------------------------------------- shared

INT_PTR SafeListWordsDialog::Run(HWND owner) {
  entries_.clear();
  return RunModal(owner, dialogId_);
}

bool SafeListWordsDialog::OnCommand(int id, int code, HWND control) {
  switch (id) {
    case IDC_TEMPLATE_OK:
      OnConfirm();
      return true;
    case IDC_BACK:
      End(IDC_BACK);
      return true;
    case IDOK:
      return true;  // Enter reaches the default button 1077 instead
    default:
      return false;
  }
}

void SafeListWordsDialog::Accept(std::vector<std::string> entries, const char* pattern) {
  if (!KeepEntriesOutsideOwnAddresses(Handle(), pattern, ownAddresses_, &entries)) return;
  entries_ = std::move(entries);
  End(IDC_TEMPLATE_OK);
}

// ---------------------------------------------------------------- personal information

PersonalInfoDialog::PersonalInfoDialog(RegistryAccess& settings, std::vector<std::string> ownAddresses)
    : SafeListWordsDialog(IDD_PERSONAL_INFO, settings, std::move(ownAddresses)) {}

bool PersonalInfoDialog::OnInit() {
  PersonalInfo info;
  info.Load(settings_);
  for (const InfoField& f : kInfoFields) SetItemText(f.control, info.*f.field);
  return true;
}

void PersonalInfoDialog::OnConfirm() {
  PersonalInfo info;
  for (const InfoField& f : kInfoFields) info.*f.field = ItemText(f.control);
  std::string refused = CheckPersonalInfo(&info);
  if (!refused.empty()) {
    Warn(Handle(), refused);
    FocusEdit(Handle(), ControlOfMessage(refused));
    return;
  }
  // Remembered once the formats are right, even when no entry survives.
  info.Save(settings_);
  Accept(PersonalInfoEntries(info), personalinfotext::kInfoMatchesAddress);
}

// ---------------------------------------------------------------- own names

OwnNameDialog::OwnNameDialog(RegistryAccess& settings, std::vector<std::string> ownAddresses,
                             std::vector<std::string> displayNames)
    : SafeListWordsDialog(IDD_OWN_NAME, settings, std::move(ownAddresses)), displayNames_(std::move(displayNames)) {}

bool OwnNameDialog::OnInit() {
  SetItemText(IDC_TEMPLATE_DESCRIPTION, personalinfotext::kOwnNameHelp);
  std::string names = LoadSelfIdentity(settings_);
  SetItemText(IDC_OWN_NAMES, names.empty() ? OwnNamePrefill(displayNames_) : names);
  return true;
}

void OwnNameDialog::OnConfirm() {
  std::string text = sjis::TrimWithIdeographicSpace(ItemText(IDC_OWN_NAMES));
  if (text.empty()) {
    Warn(Handle(), personalinfotext::kNoNames);
    FocusEdit(Handle(), IDC_OWN_NAMES);
    return;
  }
  SaveSelfIdentity(settings_, text);
  std::vector<std::string> entries;
  AppendDistinctLines(text, &entries);
  Accept(std::move(entries), personalinfotext::kNameMatchesAddress);
}

}  // namespace velkor
