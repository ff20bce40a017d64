#pragma once
// The rule tester's benchmark data: rules as users and templates make them,
// blocked senders, and mails of the sizes a mailbox has (a third spam).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "message/MailMessage.h"
#include "rulestore/RuleModel.h"

namespace velkor::benchdata {

// `count` valid rules (move targets are well-formed references).
std::vector<std::unique_ptr<MailRule>> MakeRules(int count);
// `count` blocked senders: a third domains, the rest addresses.
std::vector<std::string> MakeBlocked(int count);
// `count` mails as read: most a few KB, some tens of KB, a few hundreds.
std::vector<MailMessage> MakeMails(int count);
// The body text of a spam mail of about `bytes` bytes (Shift_JIS).
std::string SpamText(std::size_t bytes);

// Any well-formed folder reference counts as a folder of the store.
class AnyWellFormedFolder : public FolderRefCheck {
 public:
  bool HasFolder(const std::uint8_t* ref, std::size_t size) const override {
    return ref && size == FolderRef::kSize && ref[7] == 1;
  }
};

}  // namespace velkor::benchdata
