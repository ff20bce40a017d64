#pragma once
// The fixed word lists and the placeholder entries that ready-made rules put
// into their word lists. The criteria editor uses them too (the hiragana
// command, removing the drag placeholder), so they are defined here once.

#include <string>
#include <vector>

#include "folders/MailFolderList.h"

namespace velkor {

// ".", "-", "_", "0"-"9", "@", "A"-"Z": 40 entries.
const std::vector<std::string>& AlnumWords();
// The 71 basic hiragana with their voiced and semi-voiced forms, in syllabary order.
const std::vector<std::string>& KanaWords();

// "ここに迷惑メールをドラッグしてください。(%08X)" with the stamp's first word.
std::string DragPlaceholder(const StoreStamp& stamp);
// "区切り線用のダミー　(%08X)" (a full-width space before the parenthesis).
std::string SeparatorPlaceholder(const StoreStamp& stamp);

}  // namespace velkor
