#include "rulestore/RuleModel.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "rulestore/RegistryLayout.h"
#include "text/ShiftJis.h"

namespace velkor {

namespace {

const CriterionSlotInfo kCriterionSlots[kSlotCount] = {
    {crit::kFrom, valuetype::kBytes, "送信者", "送信者にユーザが含まれている場合"},
    {crit::kSubject, valuetype::kBytes, "件名", "件名に指定した言葉が含まれる場合"},
    {crit::kBody, valuetype::kBytes, "本文", "メッセージ本文に指定した言葉が含まれる場合"},
    {crit::kTo, valuetype::kBytes, "宛先", "宛先にユーザが含まれている場合"},
    {crit::kCc, valuetype::kBytes, "CC", "CCにユーザが含まれている場合"},
    {crit::kToOrCc, valuetype::kBytes, "宛先またはCC", "宛先またはCCにユーザが含まれている場合"},
    {crit::kPriority, valuetype::kDword, "重要度", "メッセージの重要度が指定した重要度である場合"},
    {crit::kAccount, valuetype::kText, "アカウント", "メッセージが指定したアカウントに送信された場合"},
    {crit::kSize, valuetype::kDword, "指定サイズ以上", "メッセージのサイズが指定したサイズ以上の場合"},
    {crit::kAttachment, valuetype::kNone, "添付ファイルあり", "メッセージに添付ファイルがある場合"},
    {crit::kSecurity, valuetype::kDword, "セキュリティ状態", "メッセージが指定したセキュリティ状態である場合"},
    {crit::kAll, valuetype::kNone, "すべてのメッセージ", "すべてのメッセージに適用する"},
};

const ActionSlotInfo kActionSlots[kSlotCount] = {
    {act::kMove, valuetype::kBytes, "フォルダに移動", "指定したフォルダに移動する", "移動先に指定するフォルダ"},
    {act::kCopy, valuetype::kBytes, "フォルダにコピー", "指定したフォルダにコピーする", "コピー先に指定するフォルダ"},
    {act::kDelete, valuetype::kNone, "削除", "削除する", nullptr},
    {act::kForward, valuetype::kText, "転送", "指定したユーザに転送する", "転送先に指定するメールアドレス"},
    {act::kHighlight, valuetype::kDword, "強調表示", "指定した色で強調表示する", "強調表示に指定する色"},
    {act::kFlag, valuetype::kNone, "フラグ付", "フラグを付ける", nullptr},
    {act::kMarkRead, valuetype::kNone, "開封", "すべて開封", nullptr},
    {act::kWatchIgnore, valuetype::kDword, "マークまたは無視", "メッセージをマークまたは無視の状態に設定する",
     "マークまたは無視の指定"},
    {act::kReply, valuetype::kText, "返信", "指定したメッセージで返信する", "返信メッセージのファイル名"},
    {act::kStop, valuetype::kNone, "処理を中止", "ルールの処理を中止する", nullptr},
    {act::kDontDownload, valuetype::kNone, "ダウンロードしない", "サーバーからダウンロードしない", nullptr},
    {act::kDeleteFromServer, valuetype::kNone, "サーバーから削除", "サーバーから削除する", nullptr},
};

constexpr int kDontDownloadSlot = 10;
constexpr int kDeleteFromServerSlot = 11;

std::uint32_t LowByte(const RuleItem& item) { return item.ValueData()[0]; }

bool IsDword(const RuleItem& item) {
  return item.ValueType() == valuetype::kDword && item.ValueSize() == 4 && item.HasValue();
}

bool HasNoValue(const RuleItem& item) {
  return item.ValueType() == valuetype::kNone && item.ValueSize() == 0 && !item.HasValue();
}

class StatPathCheck : public PathCheck {
 public:
  bool Exists(const std::string& path) const override {
    if (path.empty()) return false;
    struct stat info;
    return stat(path.c_str(), &info) == 0;
  }
};

}  // namespace

int SlotOfBit(SlotMask bit) {
  if (bit == 0 || (bit & (bit - 1)) != 0 || (bit & ~kAllSlots) != 0) return -1;
  int slot = 0;
  while ((bit >> slot) != 1) ++slot;
  return slot;
}

const CriterionSlotInfo& CriterionSlot(int slot) { return kCriterionSlots[slot]; }
const ActionSlotInfo& ActionSlot(int slot) { return kActionSlots[slot]; }

int CriterionSlotOfType(std::uint32_t type) {
  for (int i = 0; i < kSlotCount; ++i) {
    if (kCriterionSlots[i].type == type) return i;
  }
  return -1;
}

int ActionSlotOfType(std::uint32_t type) {
  for (int i = 0; i < kSlotCount; ++i) {
    if (kActionSlots[i].type == type) return i;
  }
  return -1;
}

bool IsWordListCriterion(std::uint32_t type) {
  const int slot = CriterionSlotOfType(type);
  return slot >= 0 && slot <= 5;
}

std::uint32_t ParseSizeEntry(const std::string& text) {
  // As "%d" reads it: leading blanks, a sign, digits; the rest is ignored.
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i >= text.size() || text[i] < '0' || text[i] > '9') return 0;
  std::uint64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + static_cast<unsigned>(text[i] - '0');
    if (value >= kMaxSizeKb) return kMaxSizeKb;  // also every negative entry
  }
  if (negative && value != 0) return kMaxSizeKb;
  return static_cast<std::uint32_t>(value);
}

std::string FormatKeyName(std::uint32_t number) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%03X", static_cast<unsigned>(number));
  return buffer;
}

bool ParseKeyName(const std::string& name, std::uint32_t* number) {
  if (name.empty() || name.size() > 8) return false;
  std::uint32_t value = 0;
  for (char c : name) {
    int digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else return false;
    value = value << 4 | static_cast<std::uint32_t>(digit);
  }
  *number = value;
  return true;
}

std::vector<std::uint8_t> EncodeStringList(const std::vector<std::string>& entries) {
  std::vector<std::uint8_t> bytes;
  for (const auto& entry : entries) {
    // An empty entry (or an embedded NUL) would end the list for every reader.
    const std::size_t len = std::strlen(entry.c_str());
    if (len == 0) continue;
    bytes.insert(bytes.end(), entry.begin(), entry.begin() + static_cast<std::ptrdiff_t>(len));
    bytes.push_back(0);
  }
  if (bytes.empty()) return bytes;
  bytes.push_back(0);
  bytes.push_back(0);
  return bytes;
}

std::vector<std::string> DecodeStringList(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> entries;
  if (!data) return entries;
  std::size_t pos = 0;
  while (pos < size) {
    const void* nul = std::memchr(data + pos, 0, size - pos);
    const std::size_t end = nul ? static_cast<const std::uint8_t*>(nul) - data : size;
    if (end == pos) break;
    entries.emplace_back(reinterpret_cast<const char*>(data + pos), end - pos);
    pos = end + 1;
  }
  return entries;
}

FolderRef FolderRef::Make(std::uint32_t storeId, std::uint32_t storeId2, std::uint32_t folderNumber) {
  FolderRef ref;
  for (int i = 0; i < 4; ++i) ref.bytes[i] = static_cast<std::uint8_t>(storeId >> (8 * i));
  ref.bytes[4] = static_cast<std::uint8_t>(storeId2);
  ref.bytes[5] = static_cast<std::uint8_t>(storeId2 >> 8);
  ref.bytes[6] = static_cast<std::uint8_t>(storeId2 >> 16);
  ref.bytes[7] = 1;
  for (int i = 0; i < 4; ++i) ref.bytes[8 + i] = static_cast<std::uint8_t>(folderNumber >> (8 * i));
  return ref;
}

bool FolderRef::FromBytes(const std::uint8_t* data, std::size_t size, FolderRef* ref) {
  if (!data || size != kSize) return false;
  std::memcpy(ref->bytes, data, kSize);
  return true;
}

std::uint32_t FolderRef::StoreId() const {
  return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

std::uint32_t FolderRef::FolderNumber() const {
  return bytes[8] | bytes[9] << 8 | bytes[10] << 16 | static_cast<std::uint32_t>(bytes[11]) << 24;
}

bool FolderRef::SameStore(const FolderRef& other) const { return std::memcmp(bytes, other.bytes, 7) == 0; }

const PathCheck& FileSystemPathCheck() {
  static const StatPathCheck check;
  return check;
}

// ---------------------------------------------------------------------------
// Items

bool RuleItem::SetInUse(bool inUse) {
  const bool previous = inUse_;
  inUse_ = inUse;
  return previous;
}

void RuleItem::SetValue(const void* data, std::uint32_t size, std::uint32_t valueType) {
  hasValue_ = data != nullptr;
  if (data) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    value_.assign(bytes, bytes + size);
  } else {
    value_.clear();
  }
  valueType_ = valueType;
  inUse_ = data != nullptr || size != 0;
}

void RuleItem::SetTextValue(const std::string& text) {
  SetValue(text.c_str(), static_cast<std::uint32_t>(text.size() + 1), valuetype::kText);
}

void RuleItem::SetDwordValue(std::uint32_t value) {
  const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                                 static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
  SetValue(bytes, 4, valuetype::kDword);
}

bool RuleItem::TextValue(std::string* text) const {
  if (!hasValue_ || value_.size() < 2 || valueType_ != valuetype::kText) return false;
  const auto* begin = reinterpret_cast<const char*>(value_.data());
  const void* nul = std::memchr(begin, 0, value_.size());
  text->assign(begin, nul ? static_cast<const char*>(nul) - begin : value_.size());
  return true;
}

bool RuleItem::DwordValue(std::uint32_t* value) const {
  if (!IsDword(*this)) return false;
  *value = value_[0] | value_[1] << 8 | value_[2] << 16 | static_cast<std::uint32_t>(value_[3]) << 24;
  return true;
}

RuleCriterion::RuleCriterion(std::string keyPath, std::uint32_t type)
    : RuleItem(std::move(keyPath), type), logic_(type == crit::kBlockedSender ? kLogicAny : 0) {}

bool RuleCriterion::IsValid(const RuleChecks& checks) const {
  if (!inUse_) return true;
  if (flags_ > 3 || logic_ > 2 || type_ < 8 || type_ > 31) return false;
  switch (type_) {
    case crit::kFrom:
    case crit::kSubject:
    case crit::kBody:
    case crit::kTo:
    case crit::kCc:
    case crit::kToOrCc:
      if (valueType_ != valuetype::kBytes || value_.empty() || !hasValue_) return false;
      return checks.ntFamily || value_.size() <= kWordListLimit9x;
    case crit::kPriority:
    case crit::kSecurity:
      return IsDword(*this) && (LowByte(*this) == 1 || LowByte(*this) == 2);
    case crit::kAttachment:
    case crit::kAll:
      return HasNoValue(*this);
    case crit::kSize:
      return IsDword(*this);
    case crit::kAccount:
      return valueType_ == valuetype::kText && value_.size() >= 2 && hasValue_;
    case crit::kBlockedSender:
      return flags_ == 0 && logic_ == 1 && hasValue_ && value_.size() >= 2 && valueType_ == valuetype::kText;
    default:
      return false;
  }
}

bool RuleAction::IsValid(const RuleChecks& checks) const {
  if (!inUse_) return true;
  switch (type_) {
    case act::kMove:
    case act::kCopy:
      if (valueType_ != valuetype::kBytes || value_.size() != FolderRef::kSize || !hasValue_) return false;
      return checks.folders && checks.folders->HasFolder(value_.data(), value_.size());
    case act::kForward:
      return valueType_ == valuetype::kText && !value_.empty() && hasValue_;
    case act::kReply: {
      if (valueType_ != valuetype::kText || value_.empty() || !hasValue_) return false;
      const auto* begin = reinterpret_cast<const char*>(value_.data());
      const void* nul = std::memchr(begin, 0, value_.size());
      const std::string path(begin, nul ? static_cast<const char*>(nul) - begin : value_.size());
      const PathCheck& paths = checks.paths ? *checks.paths : FileSystemPathCheck();
      return paths.Exists(path);
    }
    case act::kDelete:
    case act::kDeleteFromServer:
    case act::kDontDownload:
    case act::kFlag:
    case act::kStop:
    case act::kMarkRead:
      return HasNoValue(*this);
    case act::kHighlight:
      return IsDword(*this) && LowByte(*this) < 17;
    case act::kWatchIgnore:
      return IsDword(*this) && (LowByte(*this) == 1 || LowByte(*this) == 2);
    default:
      return false;
  }
}

// ---------------------------------------------------------------------------
// Sets

CriteriaSet::CriteriaSet(std::string keyPath, CriteriaMode mode) : keyPath_(std::move(keyPath)), mode_(mode) {
  Reset();
}

void CriteriaSet::Reset() {
  items_.clear();
  if (mode_ == CriteriaMode::Fixed) {
    items_.reserve(kSlotCount);
    for (int i = 0; i < kSlotCount; ++i) items_.emplace_back(keyPath_, kCriterionSlots[i].type);
  }
}

RuleCriterion* CriteriaSet::ForSlotBit(SlotMask bit) {
  return const_cast<RuleCriterion*>(static_cast<const CriteriaSet*>(this)->ForSlotBit(bit));
}

const RuleCriterion* CriteriaSet::ForSlotBit(SlotMask bit) const {
  const int slot = SlotOfBit(bit);
  if (slot < 0) return nullptr;
  for (const auto& item : items_) {
    if (item.Type() == kCriterionSlots[slot].type) return &item;
  }
  return nullptr;
}

SlotMask CriteriaSet::UsedMask() const {
  SlotMask mask = 0;
  for (const auto& item : items_) {
    const int slot = CriterionSlotOfType(item.Type());
    if (item.InUse() && slot >= 0) mask |= SlotBit(slot);
  }
  return mask;
}

bool CriteriaSet::IsValid(const RuleChecks& checks) const {
  bool any = false;
  for (const auto& item : items_) {
    if (!item.IsValid(checks)) return false;
    any = any || item.InUse();
  }
  if (mode_ == CriteriaMode::List) return true;
  return items_.size() == kSlotCount && any;
}

std::string CriteriaSet::TextAt(int index) const {
  std::string text;
  if (index < 0 || index >= Count() || !items_[index].TextValue(&text)) return std::string();
  return text;
}

void CriteriaSet::SetTexts(const std::vector<std::string>& texts) {
  items_.clear();
  items_.reserve(texts.size());
  for (const auto& text : texts) {
    RuleCriterion item(keyPath_, crit::kBlockedSender);
    item.SetLogic(kLogicAny);
    item.SetTextValue(text);
    items_.push_back(std::move(item));
  }
}

void CriteriaSet::SetKeyPath(const std::string& keyPath) {
  keyPath_ = keyPath;
  for (auto& item : items_) item.keyPath_ = keyPath;
}

void ActionSet::SetKeyPath(const std::string& keyPath) {
  keyPath_ = keyPath;
  for (auto& item : items_) item.keyPath_ = keyPath;
}

ActionSet::ActionSet(std::string keyPath) : keyPath_(std::move(keyPath)) { Reset(); }

void ActionSet::Reset() {
  items_.clear();
  items_.reserve(kSlotCount);
  for (int i = 0; i < kSlotCount; ++i) items_.emplace_back(keyPath_, kActionSlots[i].type);
}

RuleAction* ActionSet::ForSlotBit(SlotMask bit) {
  return const_cast<RuleAction*>(static_cast<const ActionSet*>(this)->ForSlotBit(bit));
}

const RuleAction* ActionSet::ForSlotBit(SlotMask bit) const {
  const int slot = SlotOfBit(bit);
  if (slot < 0) return nullptr;
  for (const auto& item : items_) {
    if (item.Type() == kActionSlots[slot].type) return &item;
  }
  return nullptr;
}

SlotMask ActionSet::UsedMask() const {
  SlotMask mask = 0;
  for (const auto& item : items_) {
    const int slot = ActionSlotOfType(item.Type());
    if (item.InUse() && slot >= 0) mask |= SlotBit(slot);
  }
  return mask;
}

void ActionSet::KeepCombination(int slotPutInUse) {
  const bool exclusive = slotPutInUse == kDontDownloadSlot || slotPutInUse == kDeleteFromServerSlot;
  for (auto& item : items_) {
    const int slot = ActionSlotOfType(item.Type());
    if (slot == slotPutInUse || slot < 0) continue;
    if (exclusive || slot == kDontDownloadSlot || slot == kDeleteFromServerSlot) item.SetInUse(false);
  }
}

bool ActionSet::SetInUse(SlotMask bit, bool inUse) {
  RuleAction* item = ForSlotBit(bit);
  if (!item) return false;
  const bool previous = item->SetInUse(inUse);
  if (inUse) KeepCombination(SlotOfBit(bit));
  return previous;
}

bool ActionSet::SetValue(SlotMask bit, const void* data, std::uint32_t size, std::uint32_t valueType) {
  RuleAction* item = ForSlotBit(bit);
  if (!item) return false;
  item->SetValue(data, size, valueType);
  if (item->InUse()) KeepCombination(SlotOfBit(bit));
  return true;
}

bool ActionSet::IsValid(const RuleChecks& checks) const {
  if (items_.size() != kSlotCount) return false;
  bool any = false;
  for (const auto& item : items_) {
    if (!item.IsValid(checks)) return false;
    any = any || item.InUse();
  }
  return any;
}

// ---------------------------------------------------------------------------
// Rules

MailRule::MailRule(std::string parentPath, std::string keyName)
    : parentPath_(std::move(parentPath)), keyName_(std::move(keyName)) {}

std::uint32_t MailRule::Number() const {
  std::uint32_t number = 0;
  return ParseKeyName(keyName_, &number) ? number : 0;
}

void MailRule::InitAsNew(const std::string& name) {
  enabled_ = 1;
  version_ = 0;
  name_ = name;
  loaded_ = false;
  actions_ = std::make_unique<ActionSet>(oereg::SubPath(KeyPath(), oereg::kActions));
  criteria_ = std::make_unique<CriteriaSet>(oereg::SubPath(KeyPath(), oereg::kCriteria), CriteriaMode::Fixed);
  actions_->SetInUse(SlotBit(ActionSlotOfType(act::kStop)), true);
  modified_ = true;
}

void MailRule::Rehome(const std::string& keyName) {
  keyName_ = keyName;
  if (actions_) actions_->SetKeyPath(oereg::SubPath(KeyPath(), oereg::kActions));
  if (criteria_) criteria_->SetKeyPath(oereg::SubPath(KeyPath(), oereg::kCriteria));
}

void MailRule::SetName(const std::string& name) {
  name_ = name;
  modified_ = true;
}

void MailRule::SetEnabled(bool enabled) {
  enabled_ = enabled ? 1 : 0;
  modified_ = true;
}

bool MailRule::IsValid(const RuleChecks& checks) const {
  return actions_ && criteria_ && actions_->IsValid(checks) && criteria_->IsValid(checks);
}

std::string MailRule::ProblemText(const RuleChecks& checks, bool shown) const {
  if (IsValid(checks)) return std::string();
  const bool anyCriterion = criteria_ && criteria_->UsedMask() != 0;
  const bool anyAction = actions_ && actions_->UsedMask() != 0;
  if (!anyCriterion) return anyAction ? ruletext::kNoCriteria : ruletext::kNoCriteriaNoActions;
  if (!anyAction) return ruletext::kNoActions;
  return shown ? ruletext::kRedItemsInvalid : ruletext::kItemHasError;
}

std::string CriterionSlotText(const RuleCriterion& criterion, int slot, const RuleChecks& checks,
                              std::size_t bufferSize) {
  if (slot < 0 || slot >= kSlotCount || bufferSize == 0) return std::string();
  std::string text = kCriterionSlots[slot].description;
  if (criterion.InUse() && !criterion.IsValid(checks)) {
    const bool wordList = slot <= 5;
    if (wordList && criterion.ValueSize() == 0) {
      text += ruletext::kSlotEmpty;
    } else if (wordList && !checks.ntFamily && criterion.ValueSize() > kWordListLimit9x) {
      char buffer[256];
      std::snprintf(buffer, sizeof buffer, ruletext::kSlotTooLarge, criterion.ValueSize() / 1024.0);
      text += buffer;
    } else {
      text += ruletext::kSlotError;
    }
  }
  return sjis::TruncateChars(text, bufferSize - 1);
}

}  // namespace velkor
