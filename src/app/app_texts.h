// The texts of the main window (form1), the progress notice (Form3) and the
// operations' message boxes. CR (character 13) breaks a line.
#pragma once

namespace tolvashu::texts {

inline constexpr char kCR[] = "\r";

// form1
inline constexpr char kForm1Caption[] = "Tolvashuワールドデータ・シナリオデータ　インストーラー";
inline constexpr char kBackupBT[] = "現在の状態のバックアップ";
inline constexpr char kInstallBT[] = "ワールドデータ・シナリオデータのインストール";
inline constexpr char kRestoreBT[] = "バックアップしていた状態に戻す";
inline constexpr char kDefoBT[] = "デフォルトに戻す";

// Form3
inline constexpr char kForm3Caption[] = "保存中です。このままお待ち下さい。";
inline constexpr char kForm3Label1[] = "保存中です。しばらくお待ち下さい。";

// Another operation (another window, a console run) works on the same game
// folder: this one changes nothing.
inline constexpr char kAnotherOperation[] =
    "別の作業がこのゲームフォルダで実行中です。その作業が終わってから、もう一度実行して下さい。";

// The console program asked to end during a transfer (Ctrl+C, a closed
// terminal), which was undone.
inline constexpr char kInterruptedUndone[] = "中断の指示を受けたため、作業を中止し、元の状態に戻しました。";

// Beside the program's name when a log-off or shutdown waits for a
// transfer to end.
inline constexpr char kSessionEndHeld[] = "ゲームのデータを書き換えています。終わるまでお待ち下さい。";

// A transfer whose new files would not fit beside the old ones on the game
// folder's drive: three lines joined by CR, the numbers in MB between them,
// and kNothingChanged.
inline constexpr char kNoSpace1[] = "ゲームフォルダのあるドライブの空き容量が足りません。";
inline constexpr char kNoSpaceNeeded[] = "必要な空き容量: ";
inline constexpr char kNoSpaceFree[] = "　現在の空き容量: ";

// An unfinished transfer found and undone before an operation goes on.
inline constexpr char kRecovered[] = "前回の作業が途中で終わっていたため、その前の状態に戻しました。";
// The same found by a dry run, whose plan then starts from the state after that undo.
inline constexpr char kWillRecover[] =
    "前回の作業が途中で終わっているため、実行するとまずその前の状態に戻します。"
    "表示する変更は、戻した後の状態からのものです。";

// Completion messages
inline constexpr char kInstallDone[] = "データ書き込み終了しました。";
inline constexpr char kBackupDone[] = "バックアップ終了しました。";
inline constexpr char kRestoreDone[] = "バックアップの状態に戻しました。";
inline constexpr char kDefaultDone[] = "デフォルトに戻すことに成功しました。";

// Default warning: three lines joined by CR.
inline constexpr char kNoDefaultData1[] = "このTolvashuのバージョンにはデフォルトデータが入っていない可能性があります。";
inline constexpr char kNoDefaultData2[] = "Tolvashuを最新バージョンに更新して下さい。";
inline constexpr char kNoDefaultData3[] = "なお、その場合、差分では無く、必ずファイル全部を更新して下さい。";

// Restore guard: two lines joined by CR.
inline constexpr char kNoBackupData1[] = "バックアップデータが見つかりません。";
inline constexpr char kNoBackupData2[] = "先に「現在の状態のバックアップ」を実行して下さい。";

// Install from a folder that holds nothing to install: three lines joined by CR.
inline constexpr char kNothingToInstall1[] = "インストールするデータが見つかりません。";
inline constexpr char kNothingToInstall2[] = "ワールドデータ・シナリオデータのフォルダの中から実行して下さい。";
inline constexpr char kNothingToInstall3[] = "ZIPファイルは、展開してから実行して下さい。";

// Same folder, or a source inside a folder the destination clears: two lines
// joined by CR, the second shared.
inline constexpr char kSameFolder1[] = "コピー元とコピー先が同じフォルダです。";
inline constexpr char kSourceInClearedFolder1[] = "コピー元のフォルダが、コピー先で消去されるフォルダの中にあります。";
inline constexpr char kNothingChanged[] = "何も変更しませんでした。";

// Transfer report: a head line CR, up to ten names one per line, then
// "ほか N 件" when there are more, then one line of advice for each cause
// present, in this order. The head says what became of the game folder: a
// check that changed nothing, a transfer undone, one not fully undone.
inline constexpr char kReportHead[] = "次のファイルを書き込めませんでした。";
inline constexpr char kReportUndoneHead[] = "次のファイルを書き込めなかったため、元の状態に戻しました。";
inline constexpr char kReportNotUndoneHead[] =
    "次のファイルを書き込めず、元の状態にも戻せませんでした。次に実行したときに、もう一度元に戻します。";
inline constexpr char kReportMoreBefore[] = "ほか ";
inline constexpr char kReportMoreAfter[] = " 件";
inline constexpr char kAdviceInUse[] = "Tolvashuを終了してから、もう一度実行して下さい。";
inline constexpr char kAdviceDenied[] =
    "読み取り専用のファイルか、書き込みが許可されていないフォルダがあります。"
    "Program Filesの中にある場合は、管理者として実行して下さい。";
inline constexpr char kAdviceDiskFull[] = "ディスクの空き容量が足りません。空きを増やしてから、もう一度実行して下さい。";
inline constexpr char kAdviceCheckFiles[] = "ファイルやフォルダが読み書きできるか確かめてから、もう一度実行して下さい。";

}  // namespace tolvashu::texts
