#pragma once
// Fixed texts of the sync utility. Literals become Shift_JIS at compile time.

namespace velkor::wabsync {

// Caption of every message box of the utility (string 57344).
constexpr const char* kTitle = "メッセージルールとアドレス帳の同期";

constexpr const char* kSenderRuleName = "[SAFE]送信者が信頼できるメールアドレスの場合";
constexpr const char* kBodyRuleName = "[SAFE]本文に信頼できるメールアドレスを含む場合";

// Written as the only entry when a list would otherwise be empty; always
// removed again at the next run.
constexpr const char* kDummyAddress = "ダミーメールアドレス（アドレス帳との同期時に削除）";

constexpr const char* kNoTargetReport =
    "同期可能なメッセージルールはありません。\r\nVelkorで既定のメールルールを作ってください。";

constexpr const char* kOutlookExpressRunning =
    "Outlook Expressまたはその関連プログラムが起動中です。\r\n"
    "このため、同期することができません。起動しているプログラムを閉じ、再度お試しください。";
constexpr const char* kAddressBookFailed = "Error: Failed to initialize Windows Address Book oject";
constexpr const char* kAddressBookIncomplete =
    "アドレス帳を最後まで読み込めませんでした。\r\nメールルールは変更していません。もう一度お試しください。";
constexpr const char* kOpenKeyFailed = "Error: Failed to open reg key of mail rule.";
constexpr const char* kValueLengthFailed = "Error: Failed to read value length of mail rule.";
constexpr const char* kValueReadFailed = "Error: Failed to read mail rule value.";
constexpr const char* kUpdateFailed = "Error: Failed to update mail rule.";
// printf format: the size in KB with three decimals.
constexpr const char* kSizeLimitFormat =
    "実行中にエラーが発生しました。\r\n"
    "アドレス帳のデータサイズが制限値（16KB）を越えたため、保存できません。\r\n"
    "現在のデータサイズは%0.3fKBです。";
constexpr const char* kSizeLimitTail =
    "\r\n"
    "\r\nこのエラーは、オペレーティングシステムがWindows 98 または Windows Meの場合に"
    "\r\n発生します。アドレス帳から不要なデータを削除するか、オペレーティングシステムを"
    "\r\nWindows 2000、Windows XP または最新のOSにアップグレードしてください。";
// The result: its first line, then the counts (a printf format). Wine makes a
// message box as wide as its text (wrapped at a fixed width) and cuts a longer
// title, so the first line is as wide as the title and well below that width.
constexpr const char* kFinished = "アドレス帳との同期が完了しました。";
constexpr const char* kResultCounts = "\r\n\r\n追加したアドレス： %u 件\r\n削除したアドレス： %u 件";
// The question before a full run that removes entries: the head with the
// total, one block per list (user, rule, count, the first few entries, how
// many more), the tail.
constexpr const char* kRemovalHead = "完全同期を実行すると、次のメールルールの条件から合わせて %u 件のアドレスが削除されます。\r\n";
constexpr const char* kRemovalList = "\r\n%s ： %s （%u 件）\r\n";
constexpr const char* kRemovalEntryIndent = "　　";
constexpr const char* kRemovalMore = "　　ほか %u 件\r\n";
constexpr const char* kRemovalTail =
    "\r\n同期する前のルールはバックアップされ、Velkor のルール一覧の右クリック メニュー"
    "「バックアップから復元...」で元に戻せます。\r\n\r\n同期を実行しますか？";
constexpr const char* kBackupFailed =
    "同期する前のルールのバックアップを作成できませんでした。同期を中止しました。\r\n（%s）";

// Settings dialog and start-up.
constexpr const char* kDialogTitle = "アドレス帳との同期設定";
constexpr const char* kSavedEditorRunning =
    "設定を保存しました。\n\n（注意）\nVelkorまたはOutlook Expressが起動中のため同期を実行しません。";
constexpr const char* kSavedCaption = "設定の保存";
constexpr const char* kSyncNowQuestion = "設定を保存しました。今すぐ同期しますか？";
constexpr const char* kSyncNowCaption = "同期の実行";
constexpr const char* kEditorRunning = "Velkor が起動中です。Velkor を閉じてから実行してください。";
constexpr const char* kSaveFailed =
    "設定を保存できませんでした。\r\nレジストリに書き込めません。もう一度お試しください。";
constexpr const char* kStartupFolderFailed = "ERROR: Failed to get your start up folder....";
constexpr const char* kModuleNameFailed = "ERROR: Failed to get modile file name....";
constexpr const char* kShortcutNotRemoved =
    "スタートアップのショートカット「Tarn-WAB Sync」を削除できませんでした。\r\n"
    "スタートアップ フォルダから手動で削除してください。";
constexpr const char* kShortcutNotCreated =
    "スタートアップのショートカット「Tarn-WAB Sync」を作成できませんでした。\r\n"
    "システム起動時の自動実行は行われません。";
constexpr const char* kShortcutDescription = "メッセージルールとアドレス帳との同期";
constexpr const char* kShortcutFileName = "\\Tarn-WAB Sync.lnk";

// Named mutexes.
constexpr const char* kOwnMutex = "Tarn-WAB-Synchronizer";
constexpr const char* kEditorMutex = "Advanced Velkor";

}  // namespace velkor::wabsync
