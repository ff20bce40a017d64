// The folder tree control in a real tree view under Wine.

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "DbxWriter.h"
#include "folders/MailFolderTreeCtrl_win32.h"

namespace velkor {
namespace {

using dbxwriter::FolderSpec;

MailFolderList ListOf(const std::vector<FolderSpec>& folders) {
  const auto bytes = dbxwriter::WriteFoldersDbx(folders);
  std::istringstream in(std::string(bytes.begin(), bytes.end()), std::ios::binary);
  MailFolderList list;
  list.ReadFrom(in);
  return list;
}

class TreeWindow : public testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    frame_ = CreateWindowExA(0, "STATIC", "folders", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 320, 420, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(frame_, nullptr);
    tree_ = CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEWA, "",
                            WS_CHILD | WS_VISIBLE | TVS_HASLINES | TVS_LINESATROOT | TVS_HASBUTTONS | TVS_SHOWSELALWAYS,
                            0, 0, 300, 380, frame_, reinterpret_cast<HMENU>(1027), GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(tree_, nullptr);
    ctrl_.Attach(tree_);
  }
  void TearDown() override { DestroyWindow(frame_); }

  // Display order as "depth-indented data:image:text[+]" ("+" = expanded).
  std::vector<std::string> Shown() const {
    std::vector<std::string> lines;
    std::function<void(HTREEITEM, int)> walk = [&](HTREEITEM item, int depth) {
      for (; item; item = ctrl_.Sibling(item)) {
        TVITEMA tv{};
        tv.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE | TVIF_HANDLE;
        tv.hItem = item;
        tv.stateMask = TVIS_EXPANDED;
        SendMessageA(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
        EXPECT_EQ(tv.iImage, tv.iSelectedImage);
        const bool hasChildren = ctrl_.Child(item) != nullptr;
        lines.push_back(std::string(depth, ' ') + std::to_string(ctrl_.Data(item)) + ":" + std::to_string(tv.iImage) +
                        ":" + ctrl_.ItemText(item) + ((hasChildren && (tv.state & TVIS_EXPANDED)) ? "+" : ""));
        walk(ctrl_.Child(item), depth + 1);
      }
    };
    walk(ctrl_.Root(), 0);
    return lines;
  }

  HWND frame_ = nullptr;
  HWND tree_ = nullptr;
  CMailFolderTreeCtrl ctrl_;
};

TEST_F(TreeWindow, BuildsStandardAndUserFoldersExpanded) {
  const auto list = ListOf({{0, 0, ""}, {1, 0, "ローカル フォルダ"}, {10, 1, "仕事"}, {6, 1, "送信済みアイテム"},
                            {2, 1, "予備2"}, {8, 1, "下書き"}, {3, 1, "予備3"}, {9, 1, "迷惑メール"}, {5, 1, "送信トレイ"},
                            {4, 1, "受信トレイ"}, {7, 1, "削除済みアイテム"}, {12, 11, "親が後ろ"}, {11, 10, "取引先"}});
  ctrl_.Build(list);
  const std::vector<std::string> want = {
      "0:0:Outlook Express+", " 1:1:ローカル フォルダ+", "  2:7:予備2", "  3:7:予備3", "  4:2:受信トレイ",
      "  5:3:送信トレイ",     "  6:4:送信済みアイテム", "  7:5:削除済みアイテム", "  8:6:下書き", "  10:7:仕事+",
      "   11:7:取引先",       "  9:7:迷惑メール"};
  EXPECT_EQ(Shown(), want);
  EXPECT_EQ(ctrl_.InsertedItems().size(), 12u);
  EXPECT_EQ(ctrl_.Data(ctrl_.InsertedItems()[0]), 0);

  const auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(tree_, TVM_GETIMAGELIST, TVSIL_NORMAL, 0));
  ASSERT_NE(images, nullptr);
  EXPECT_EQ(ImageList_GetImageCount(images), 8);
  int cx = 0, cy = 0;
  ImageList_GetIconSize(images, &cx, &cy);
  EXPECT_EQ(cx, 16);
  EXPECT_EQ(cy, 16);

  std::uint32_t id = 99;
  EXPECT_TRUE(ctrl_.SelectFolder(11));
  EXPECT_TRUE(ctrl_.SelectedFolder(&id));
  EXPECT_EQ(id, 11u);
  EXPECT_FALSE(ctrl_.SelectFolder(12));  // held by the list, not shown
  ctrl_.Select(ctrl_.Root());
  EXPECT_FALSE(ctrl_.SelectedFolder(&id));

  // For a look at the real control: VELKOR_SCREENSHOT_PAUSE=ms keeps it on screen.
  if (const char* pause = std::getenv("VELKOR_SCREENSHOT_PAUSE")) {
    const DWORD until = GetTickCount() + static_cast<DWORD>(std::atoi(pause));
    while (GetTickCount() < until) {
      MSG msg;
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
      Sleep(10);
    }
  }

  // A rebuild replaces everything and keeps the same image list.
  ctrl_.Build(ListOf({{1, 0, "ローカル フォルダ"}, {4, 1, "受信トレイ"}}));
  EXPECT_EQ(Shown(), (std::vector<std::string>{"0:0:Outlook Express+", " 1:1:ローカル フォルダ+", "  4:2:受信トレイ"}));
  EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageA(tree_, TVM_GETIMAGELIST, TVSIL_NORMAL, 0)), images);
  EXPECT_EQ(ctrl_.Count(), 3);

  ctrl_.Build(MailFolderList());  // no store: only the top item
  EXPECT_EQ(Shown(), std::vector<std::string>{"0:0:Outlook Express"});
}

}  // namespace
}  // namespace velkor
