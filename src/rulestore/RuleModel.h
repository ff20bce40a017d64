#pragma once
// The in-memory model of Outlook Express mail rules. Every item keeps its type
// code, flags, value type and raw value bytes exactly as stored, so values the
// program does not interpret survive a load/save round trip. On top of that a
// rule has twelve criterion slots and twelve action slots, addressed by
// display slot 0-11 or by a one-bit SlotMask.
//
// Reading and writing the registry layout: RuleStore.h. Validation needs two
// answers from outside the model (is the target folder in the current store,
// does a reply file exist) and one platform fact (NT family or not); they come
// in through RuleChecks.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace velkor {

class RegistryAccess;
class ProgressSink;

// ---------------------------------------------------------------------------
// Codes

namespace valuetype {
constexpr std::uint32_t kNone = 0;
constexpr std::uint32_t kDword = 19;   // 4 bytes, little-endian; REG_DWORD
constexpr std::uint32_t kText = 30;    // Shift_JIS text and one NUL; REG_SZ
constexpr std::uint32_t kBytes = 65;   // any bytes; REG_BINARY
}  // namespace valuetype

namespace crit {  // CriterionType codes
constexpr std::uint32_t kSubject = 8;
constexpr std::uint32_t kBody = 9;
constexpr std::uint32_t kTo = 10;
constexpr std::uint32_t kCc = 11;
constexpr std::uint32_t kFrom = 12;
constexpr std::uint32_t kPriority = 13;
constexpr std::uint32_t kAttachment = 14;
constexpr std::uint32_t kSize = 15;
constexpr std::uint32_t kAccount = 19;
constexpr std::uint32_t kAll = 20;
constexpr std::uint32_t kToOrCc = 22;
constexpr std::uint32_t kBlockedSender = 23;  // only in the blocked-sender list; no slot
constexpr std::uint32_t kSecurity = 31;
}  // namespace crit

namespace act {  // ActionType codes
constexpr std::uint32_t kCopy = 1;
constexpr std::uint32_t kForward = 2;
constexpr std::uint32_t kReply = 5;
constexpr std::uint32_t kMove = 6;
constexpr std::uint32_t kDelete = 7;
constexpr std::uint32_t kDeleteFromServer = 8;
constexpr std::uint32_t kDontDownload = 9;
constexpr std::uint32_t kHighlight = 10;
constexpr std::uint32_t kFlag = 11;
constexpr std::uint32_t kStop = 12;
constexpr std::uint32_t kMarkRead = 13;
constexpr std::uint32_t kWatchIgnore = 17;
}  // namespace act

// Criterion flag bits.
constexpr std::uint32_t kCritFlagNot = 1;      // the words must NOT be contained
constexpr std::uint32_t kCritFlagAllWords = 2;  // all words (clear: any word)
// Rule logic.
constexpr std::uint32_t kLogicAny = 1;
constexpr std::uint32_t kLogicAll = 2;

// ---------------------------------------------------------------------------
// Slots

constexpr int kSlotCount = 12;
using SlotMask = std::uint32_t;  // bit i = display slot i; 12 bits used
constexpr SlotMask kAllSlots = 0xFFF;
constexpr SlotMask SlotBit(int slot) { return SlotMask{1} << slot; }
// The slot of a single known slot bit, or -1 (zero, several bits, bit >= 12).
int SlotOfBit(SlotMask bit);

struct CriterionSlotInfo {
  std::uint32_t type;
  std::uint32_t valueType;  // what the editor creates for the slot
  const char* shortName;
  const char* description;
};

struct ActionSlotInfo {
  std::uint32_t type;
  std::uint32_t valueType;
  const char* shortName;
  const char* description;
  const char* prompt;  // nullptr when the action takes no value
};

const CriterionSlotInfo& CriterionSlot(int slot);  // slot 0-11
const ActionSlotInfo& ActionSlot(int slot);        // slot 0-11
int CriterionSlotOfType(std::uint32_t type);       // -1 when the type has no slot
int ActionSlotOfType(std::uint32_t type);
// Word and address lists: slots 0-5, types 8, 9, 10, 11, 12, 22.
bool IsWordListCriterion(std::uint32_t type);

// Texts the editor shows for rules, slots and values.
namespace ruletext {
constexpr const char* kCriteriaHeader = "ルール条件";
constexpr const char* kActionsHeader = "ルールのアクション";
constexpr const char* kPriorityCaption = "重要度の条件";
constexpr const char* kPriorityHigh = "重要度－\"高\"";  // value 2, first choice
constexpr const char* kPriorityLow = "重要度－\"低\"";   // value 1
constexpr const char* kSecurityCaption = "セキュリティー状態の条件";
constexpr const char* kSecuritySigned = "署名付きメッセージ";      // value 1, first choice
constexpr const char* kSecurityEncrypted = "暗号化されたメッセー";  // value 2 (stored shortened)
constexpr const char* kSizeCaption = "指定サイズ：0～32767(KB）";
constexpr const char* kAccountCaption = "アカウントの条件";
constexpr const char* kWatchMark = "メッセージをマークする";  // value 1
constexpr const char* kWatchIgnore = "メッセージを無視する";  // value 2
constexpr const char* kReplyFileFilter =
    "ニュース (*.nws)|*.nws|メール (*.eml)|*.eml|HTML (*.htm)|*.htm; *.html|テキスト(*.txt)|*.txt||";
constexpr const char* kReplyFileTitle = "返信用のメッセージファイル";
constexpr const char* kNewRuleName = "新規のメール ルール";
}  // namespace ruletext

// Default values of a criterion or action the editor newly puts in use.
constexpr std::uint32_t kNewPriority = 2;
constexpr std::uint32_t kNewSecurity = 1;
constexpr std::uint32_t kNewWatchIgnore = 1;
constexpr std::uint32_t kNewHighlight = 0;
constexpr std::uint32_t kMaxSizeKb = 32767;
// A size entry as the user typed it: read as a decimal integer; anything not
// below 32767 taken unsigned (so every negative entry) becomes 32767.
std::uint32_t ParseSizeEntry(const std::string& text);

// ---------------------------------------------------------------------------
// Encodings

// "%0.3X" of a rule or item number: three or more upper-case hex digits.
std::string FormatKeyName(std::uint32_t number);
// A key name read as a hexadecimal number (1-8 hex digits, any case).
bool ParseKeyName(const std::string& name, std::uint32_t* number);

// Word lists: each entry and a NUL, then two more zero bytes. No entries: no bytes.
std::vector<std::uint8_t> EncodeStringList(const std::vector<std::string>& entries);
// Entries up to the first empty one or the end of the bytes.
std::vector<std::string> DecodeStringList(const std::uint8_t* data, std::size_t size);

// The 12-byte folder reference of move and copy actions.
struct FolderRef {
  static constexpr std::size_t kSize = 12;
  std::uint8_t bytes[kSize] = {};

  static FolderRef Make(std::uint32_t storeId, std::uint32_t storeId2, std::uint32_t folderNumber);
  static bool FromBytes(const std::uint8_t* data, std::size_t size, FolderRef* ref);
  std::uint32_t StoreId() const;
  std::uint32_t FolderNumber() const;
  // The first seven bytes name the store.
  bool SameStore(const FolderRef& other) const;
};

// ---------------------------------------------------------------------------
// Validation context

// Answers whether a folder reference names a folder of the current store (the
// main window asks its folder tree).
class FolderRefCheck {
 public:
  virtual ~FolderRefCheck() = default;
  virtual bool HasFolder(const std::uint8_t* ref, std::size_t size) const = 0;
};

// Answers whether a file or directory exists (the reply action's file).
class PathCheck {
 public:
  virtual ~PathCheck() = default;
  virtual bool Exists(const std::string& path) const = 0;
};
// The file system of this process.
const PathCheck& FileSystemPathCheck();

struct RuleChecks {
  // On Windows 9x/Me a word list above 16 KB is invalid. Windows code fills
  // this from the version query; natively it stays true.
  bool ntFamily = true;
  const FolderRefCheck* folders = nullptr;  // none: move and copy are invalid
  const PathCheck* paths = nullptr;         // none: the file system
};

constexpr std::uint32_t kWordListLimit9x = 16384;

// ---------------------------------------------------------------------------
// Items

// What criteria and actions share: key path, type, flags, value.
class RuleItem {
 public:
  RuleItem(std::string keyPath, std::uint32_t type) : keyPath_(std::move(keyPath)), type_(type) {}

  // The key path of the set the item belongs to; the item's own key is this,
  // a backslash and the item key name it is read or written under.
  const std::string& KeyPath() const { return keyPath_; }
  bool Loaded() const { return loaded_; }
  bool InUse() const { return inUse_; }
  bool SetInUse(bool inUse);  // returns the previous flag
  std::uint32_t Type() const { return type_; }
  std::uint32_t Flags() const { return flags_; }
  void SetFlags(std::uint32_t flags) { flags_ = flags; }

  // Replaces the value. data == nullptr means no buffer. The item is put in use
  // when a buffer or a non-zero size is given, and out of use when neither.
  void SetValue(const void* data, std::uint32_t size, std::uint32_t valueType);
  void ClearValue() { SetValue(nullptr, 0, valuetype::kNone); }
  // Value type 30, size = length + 1.
  void SetTextValue(const std::string& text);
  void SetDwordValue(std::uint32_t value);
  bool HasValue() const { return hasValue_; }
  const std::uint8_t* ValueData() const { return hasValue_ ? value_.data() : nullptr; }
  std::uint32_t ValueSize() const { return static_cast<std::uint32_t>(value_.size()); }
  std::uint32_t ValueType() const { return valueType_; }
  // The text when the value is a type-30 value of at least two bytes.
  bool TextValue(std::string* text) const;
  // The low 32 bits of a type-19 value of exactly four bytes.
  bool DwordValue(std::uint32_t* value) const;

 protected:
  friend class RuleIo;
  friend class CriteriaSet;
  friend class ActionSet;
  std::string keyPath_;
  bool loaded_ = false;
  bool inUse_ = false;
  std::uint32_t flags_ = 0;
  std::uint32_t type_;
  bool hasValue_ = false;
  std::vector<std::uint8_t> value_;
  std::uint32_t valueType_ = 0;
};

class RuleCriterion : public RuleItem {
 public:
  // Flags 0, logic 0 (1 for a blocked sender), no value, not in use.
  RuleCriterion(std::string keyPath, std::uint32_t type);
  std::uint32_t Logic() const { return logic_; }
  void SetLogic(std::uint32_t logic) { logic_ = logic; }
  bool IsValid(const RuleChecks& checks) const;

 private:
  friend class RuleIo;
  std::uint32_t logic_ = 0;
};

class RuleAction : public RuleItem {
 public:
  RuleAction(std::string keyPath, std::uint32_t type) : RuleItem(std::move(keyPath), type) {}
  bool IsValid(const RuleChecks& checks) const;
};

// ---------------------------------------------------------------------------
// Sets

enum class CriteriaMode { Fixed, List };

class CriteriaSet {
 public:
  CriteriaSet(std::string keyPath, CriteriaMode mode);  // logic 2, then Reset

  const std::string& KeyPath() const { return keyPath_; }
  void SetKeyPath(const std::string& keyPath);  // the criteria follow
  CriteriaMode Mode() const { return mode_; }
  bool Loaded() const { return loaded_; }
  // Frees all criteria; in fixed mode creates the twelve slots.
  void Reset();

  int Count() const { return static_cast<int>(items_.size()); }
  RuleCriterion& At(int index) { return items_[index]; }
  const RuleCriterion& At(int index) const { return items_[index]; }
  // The criterion that belongs to a slot bit (found by the bit's type), or nullptr.
  RuleCriterion* ForSlotBit(SlotMask bit);
  const RuleCriterion* ForSlotBit(SlotMask bit) const;
  SlotMask UsedMask() const;

  std::uint32_t Logic() const { return logic_; }
  void SetLogic(std::uint32_t logic) { logic_ = logic; }
  bool IsValid(const RuleChecks& checks) const;

  // List mode: the entries' texts (empty when an entry's value is not a text).
  std::string TextAt(int index) const;
  // List mode: replaces all entries by blocked-sender criteria with these texts.
  void SetTexts(const std::vector<std::string>& texts);

  bool Load(RegistryAccess& reg);
  // Fixed mode; the list mode is written by BlockedSenderList.
  bool Save(RegistryAccess& reg) const;

 private:
  friend class RuleIo;
  friend class BlockedSenderList;
  std::string keyPath_;
  CriteriaMode mode_;
  std::uint32_t logic_ = kLogicAll;
  bool loaded_ = false;
  std::vector<RuleCriterion> items_;
};

class ActionSet {
 public:
  explicit ActionSet(std::string keyPath);  // then Reset

  const std::string& KeyPath() const { return keyPath_; }
  void SetKeyPath(const std::string& keyPath);  // the actions follow
  bool Loaded() const { return loaded_; }
  void Reset();  // twelve empty slots

  // Twelve, or none after a failed load.
  int Count() const { return static_cast<int>(items_.size()); }
  RuleAction& At(int index) { return items_[index]; }
  const RuleAction& At(int index) const { return items_[index]; }
  RuleAction* ForSlotBit(SlotMask bit);
  const RuleAction* ForSlotBit(SlotMask bit) const;
  SlotMask UsedMask() const;

  // Puts a slot in or out of use, keeping the combination rule: "do not
  // download" (slot 10) and "delete from server" (slot 11) each exclude every
  // other action. Returns the previous flag, or false for an unknown bit.
  bool SetInUse(SlotMask bit, bool inUse);
  // Sets a slot's value; when that puts it in use the combination rule holds.
  bool SetValue(SlotMask bit, const void* data, std::uint32_t size, std::uint32_t valueType);
  bool IsValid(const RuleChecks& checks) const;

  bool Load(RegistryAccess& reg);
  bool Save(RegistryAccess& reg) const;

 private:
  friend class RuleIo;
  friend class BlockedSenderList;
  void KeepCombination(int slotPutInUse);
  std::string keyPath_;
  bool loaded_ = false;
  std::vector<RuleAction> items_;
};

// ---------------------------------------------------------------------------
// Rules

class MailRule {
 public:
  // parentPath: the identity's Rules\Mail key path; keyName: "%0.3X" of the number.
  MailRule(std::string parentPath, std::string keyName);

  const std::string& ParentPath() const { return parentPath_; }
  const std::string& KeyName() const { return keyName_; }
  std::string KeyPath() const { return parentPath_ + "\\" + keyName_; }
  std::uint32_t Number() const;

  // Contents of a new rule: modified, enabled, version 0, the name, no
  // criterion, the stop-processing action in use.
  void InitAsNew(const std::string& name);

  const std::string& Name() const { return name_; }
  void SetName(const std::string& name);  // marks modified
  bool Enabled() const { return enabled_ == 1; }
  std::uint32_t EnabledValue() const { return enabled_; }
  void SetEnabled(bool enabled);  // marks modified
  std::uint32_t Version() const { return version_; }
  bool Modified() const { return modified_; }
  void SetModified(bool modified) { modified_ = modified; }
  bool Loaded() const { return loaded_; }

  // Null only for a rule that failed to load.
  CriteriaSet* Criteria() { return criteria_.get(); }
  const CriteriaSet* Criteria() const { return criteria_.get(); }
  ActionSet* Actions() { return actions_.get(); }
  const ActionSet* Actions() const { return actions_.get(); }

  bool IsValid(const RuleChecks& checks) const;
  // Empty for a valid rule. `shown`: the rule is the one the editor shows.
  std::string ProblemText(const RuleChecks& checks, bool shown) const;

  bool Load(RegistryAccess& reg);
  // Writes a modified, valid rule; an unmodified one is left alone (success).
  // On failure the rule stays modified and its "Version" is not counted up.
  bool Save(RegistryAccess& reg, ProgressSink& progress, const RuleChecks& checks);

 private:
  friend class RuleSet;
  // Moves the rule to another key name (sets and items follow).
  void Rehome(const std::string& keyName);
  std::string parentPath_;
  std::string keyName_;
  std::uint32_t enabled_ = 0;
  std::string name_;
  std::uint32_t version_ = 0;
  bool modified_ = false;
  bool loaded_ = false;
  std::unique_ptr<ActionSet> actions_;
  std::unique_ptr<CriteriaSet> criteria_;
};

// Text of a criterion slot as the criteria list shows it: the description and,
// for a slot in use but invalid, a line break and the problem. Cut to
// bufferSize - 1 bytes without splitting a character.
std::string CriterionSlotText(const RuleCriterion& criterion, int slot, const RuleChecks& checks,
                              std::size_t bufferSize = 1024);

// Rule problem texts.
namespace ruletext {
constexpr const char* kNoCriteria = "このルールの条件を指定してください";
constexpr const char* kNoCriteriaNoActions = "このルールの条件およびアクションを指定してください";
constexpr const char* kNoActions = "このルールのアクションを指定してください";
constexpr const char* kRedItemsInvalid = "赤字で表示された項目が有効ではありません";
constexpr const char* kItemHasError = "この項目にはエラーがあります。";
constexpr const char* kSlotEmpty = "\r\n（エラー：条件が空白です。）";
constexpr const char* kSlotTooLarge = "\r\n（エラー：制限サイズの16KBを越えました。現在のサイズは%0.3fKBです。）";
constexpr const char* kSlotError = "\r\n（エラー：エラーがあります。）";
}  // namespace ruletext

}  // namespace velkor
