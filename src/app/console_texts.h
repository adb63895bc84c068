// The console front end's own texts: menu items that stand for a window's
// close box, the mark of a disabled button, the prompt and the warning mark;
// and the texts of a run by argument: help, usage, errors, the progress line.
#pragma once

namespace tolvashu::console {

inline constexpr char kExitItem[] = "0: 終了";
inline constexpr char kCloseItem[] = "0: 閉じる";
inline constexpr char kDisabledMark[] = "(選択できません) ";
inline constexpr char kPrompt[] = "> ";
inline constexpr char kWarningMark[] = "警告: ";

// A run by argument. Option names stay in ASCII.
inline constexpr char kProgramName[] = "tolvashu-console";
// What every diagnostic on standard error starts with.
inline constexpr char kDiagnosticStart[] = "tolvashu-console: ";
inline constexpr char kUsage[] =
    "使い方: tolvashu-console [install | backup | restore | default] [--game フォルダ] [--package フォルダ] "
    "[--dry-run [--json]]\n"
    "        tolvashu-console check [--package フォルダ] [--json]\n"
    "        tolvashu-console verify [--game フォルダ] [--package フォルダ] [--against package|backup|default] "
    "[--json]\n"
    "詳しくは tolvashu-console --help\n";
// The operation names, each followed by its button's caption in the help.
inline constexpr char kHelpHead[] =
    "使い方: tolvashu-console [操作 [--game フォルダ] [--package フォルダ] [--dry-run [--json]]]\n"
    "        tolvashu-console check [--package フォルダ] [--json]\n"
    "        tolvashu-console verify [--game フォルダ] [--package フォルダ] [--against package|backup|default] "
    "[--json]\n"
    "\n"
    "引数なしで起動すると、番号で選ぶメニューで操作します。\n"
    "操作を指定すると、その操作をボタンと同じように一度だけ実行して終了します。\n"
    "\n"
    "操作:\n";
inline constexpr char kHelpOptions[] =
    "\n"
    "データ作者のための確認 (何も変更しません):\n"
    "  check     パッケージだけを調べ、インストールで各段階がコピーするファイル、\n"
    "            コピーされないワールドファイルの項目、どの段階もコピーしないファイルを表示します。\n"
    "            終了コード: 0 コピーするデータがある、1 ない、2 読めない。\n"
    "  verify    ゲームフォルダのデータが、操作の結果と内容まで同じか比べ、違うファイルを表示します。\n"
    "            終了コード: 0 同じ、1 違う、2 読めない・比べられない。PathDATA.txt は書きません。\n"
    "\n"
    "オプション:\n"
    "  --game フォルダ     Tolvashuフォルダ。Tolvashuフォルダであることを確かめてから、\n"
    "                      PathDATA.txt に保存します。省略すると、前回保存したフォルダを使います。\n"
    "  --package フォルダ  ワールドデータ・シナリオデータのフォルダ (PathDATA.txt もここに置きます)。\n"
    "                      省略すると、現在のフォルダです。\n"
    "  --dry-run           何も変更せず、行われる変更を一行ずつ表示し、最後に差し引きの結果をまとめます。\n"
    "  --json              --dry-run、check、verify の結果を JSON Lines (一行に一つのオブジェクト) で表示します。\n"
    "  --against 比較先    verify の比較先: package (インストール、省略時)、backup (バックアップから戻す)、\n"
    "                      default (デフォルトに戻す)。\n"
    "  --help              この説明を表示します。\n"
    "  --version           バージョンを表示します。\n"
    "  --                  これより後の引数をオプションとして扱いません。\n"
    "\n"
    "終了コード:\n"
    "  0   終了しました (--dry-run では、実行できることを確かめました)。\n"
    "  1   確認の結果、実行しませんでした。途中で終わっていた前回の作業を元に戻したほかは、\n"
    "      ゲームのデータを変更していません。\n"
    "  2   書き込めなかったファイルなどがあります (報告を表示します)。\n"
    "  64  引数の誤りです。\n"
    "  74  標準出力に書き込めませんでした (ディスクがいっぱい、パイプが閉じられた、など)。\n";

inline constexpr char kErrorUnknownOption[] = "不明なオプションです";
inline constexpr char kErrorUnknownOperation[] = "不明な操作です";
inline constexpr char kErrorMissingValue[] = "フォルダが指定されていません";
inline constexpr char kErrorExtraArgument[] = "余分な引数です";
inline constexpr char kErrorNoOperation[] =
    "操作 (install, backup, restore, default, check, verify) を指定して下さい。";
inline constexpr char kErrorJsonWithoutDryRun[] = "--json は --dry-run、check、verify と一緒にだけ指定できます";
inline constexpr char kErrorAgainstOnlyVerify[] = "--against は verify にだけ指定できます";
inline constexpr char kErrorUnknownAgainst[] = "比較先には package、backup、default のどれかを指定して下さい";
inline constexpr char kErrorNotForCommand[] = "この操作には指定できないオプションです";
inline constexpr char kNoGameFolder[] =
    "Tolvashuフォルダが指定されていません。--game でTolvashuフォルダを指定して下さい。";
inline constexpr char kNoPackageFolder[] = "ワールドデータ・シナリオデータのフォルダが開けません: ";

// The folder given with --game, when it is no game folder: PATH + ": " + one
// of these, in place of the folder dialog's warning.
inline constexpr char kGameFolderMissing[] = "そのようなフォルダはありません。";
inline constexpr char kGameFolderIsAFile[] = "フォルダではなく、ファイルです。Tolvashuフォルダを指定して下さい。";
inline constexpr char kGameFolderWithoutExe[] =
    "Morbek.exe も !Tolvashu.exe も見つかりません。Tolvashuフォルダで無い可能性があります。";
inline constexpr char kGameFolderCannotLook[] =
    "調べられません。フォルダの読み込みが許可されているか確かめて下さい。";

// Standard output could not be written: followed by ": " and the system's
// reason, or by "。" when it gives none.
inline constexpr char kOutputFailed[] = "標準出力に書き込めませんでした";

// The progress line: kCopiedBefore "N/TOTAL 件 X/Y MB" kCopiedAfter NAME.
inline constexpr char kCopiedBefore[] = "コピー済み ";
inline constexpr char kCopiedAfter[] = ": ";

}  // namespace tolvashu::console
