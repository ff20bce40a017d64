// Closing the dialogs open over the editor window when its rules were changed
// by another program.

#include <windows.h>

#include <gtest/gtest.h>

#include "rulestore/RegistryWatcher_win32.h"

namespace velkor {
namespace {

LONG_PTR g_received = 0;

// The editor's dialogs over its window: each gets the reload message and ends.
INT_PTR CALLBACK RecordingDialog(HWND hwnd, UINT msg, WPARAM, LPARAM) {
  if (msg == watchui::kReloadMessage) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, ++g_received);
    return TRUE;
  }
  return msg == WM_INITDIALOG;
}

HWND CreateTestDialog(HWND owner) {
  // An empty dialog template: style, no controls, at 0,0 of 100 x 50 units.
  struct {
    DLGTEMPLATE t;
    WORD menu, cls, title;
  } tpl = {};
  tpl.t.style = WS_POPUP | WS_CAPTION | WS_VISIBLE;
  tpl.t.cx = 100;
  tpl.t.cy = 50;
  return CreateDialogIndirectParamA(GetModuleHandleA(nullptr), &tpl.t, owner, &RecordingDialog, 0);
}

TEST(CloseDialogsTest, DialogsOverTheEditorGetTheReloadMessage) {
  HWND editor = CreateTestDialog(nullptr);
  HWND other = CreateTestDialog(nullptr);  // not over the editor: left alone
  ASSERT_TRUE(editor && other);
  HWND child = CreateTestDialog(editor);
  HWND grandchild = CreateTestDialog(child);
  ASSERT_TRUE(child && grandchild);
  EXPECT_EQ(2, CloseDialogsOver(editor));
  // The dialog opened last (from the other one) first.
  EXPECT_EQ(1, GetWindowLongPtrA(grandchild, GWLP_USERDATA));
  EXPECT_EQ(2, GetWindowLongPtrA(child, GWLP_USERDATA));
  EXPECT_FALSE(IsWindowVisible(child));
  EXPECT_FALSE(IsWindowVisible(grandchild));
  EXPECT_EQ(0, GetWindowLongPtrA(editor, GWLP_USERDATA));
  EXPECT_EQ(0, GetWindowLongPtrA(other, GWLP_USERDATA));
  EXPECT_TRUE(IsWindowVisible(editor));
  EXPECT_EQ(0, CloseDialogsOver(editor));
  DestroyWindow(grandchild);
  DestroyWindow(child);
  DestroyWindow(other);
  DestroyWindow(editor);
}

}  // namespace
}  // namespace velkor
