#include "templates/TemplateWords.h"

namespace velkor {

const std::vector<std::string>& AlnumWords() {
  static const std::vector<std::string> words = [] {
    std::vector<std::string> w{".", "-", "_"};
    for (char c = '0'; c <= '9'; ++c) w.emplace_back(1, c);
    w.emplace_back("@");
    for (char c = 'A'; c <= 'Z'; ++c) w.emplace_back(1, c);
    return w;
  }();
  return words;
}

const std::vector<std::string>& KanaWords() {
  static const std::vector<std::string> words{
      "あ", "い", "う", "え", "お", "か", "き", "く", "け", "こ", "が", "ぎ", "ぐ", "げ", "ご",
      "さ", "し", "す", "せ", "そ", "ざ", "じ", "ず", "ぜ", "ぞ", "た", "ち", "つ", "て", "と",
      "だ", "ぢ", "づ", "で", "ど", "な", "に", "ぬ", "ね", "の", "は", "ひ", "ふ", "へ", "ほ",
      "ば", "び", "ぶ", "べ", "ぼ", "ぱ", "ぴ", "ぷ", "ぺ", "ぽ", "ま", "み", "む", "め", "も",
      "や", "ゆ", "よ", "ら", "り", "る", "れ", "ろ", "わ", "を", "ん"};
  return words;
}

std::string DragPlaceholder(const StoreStamp& stamp) {
  return "ここに迷惑メールをドラッグしてください。(" + StampPlaceholderText(stamp) + ")";
}

std::string SeparatorPlaceholder(const StoreStamp& stamp) {
  return "区切り線用のダミー　(" + StampPlaceholderText(stamp) + ")";
}

}  // namespace velkor
