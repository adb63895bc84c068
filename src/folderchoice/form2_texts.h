// The texts of the folder choice dialog (Form2), shared by its Win32 window,
// its console form and its logic.
#pragma once

namespace tolvashu::form2 {

inline constexpr char kCaption[] = "Tolvashuフォルダ選択方法";
inline constexpr char kLabel1[] = "■Tolvashuフォルダの選択方法を決めて下さい。";
inline constexpr char kBT1[] = "初めてTolvashuフォルダを選ぶ。あるいは、前回と違うフォルダを選ぶ。";
inline constexpr char kBT2NoSavedPath[] = "前回保存したパス名が残っていないため、このボタンは選択できません。";
// BT2's caption with a saved folder: kBT2SavedBefore + CR + path + CR + kBT2SavedAfter.
inline constexpr char kBT2SavedBefore[] = "前回保存したパス名、";
inline constexpr char kBT2SavedAfter[] = "を選択する。";
inline constexpr char kBrowserTitle[] = "Tolvashuフォルダを選択してください";
inline constexpr char kNoGameExe[] = "exeが見つかりません。Tolvashuフォルダで無い可能性があります。";

// A confirmed folder that PathDATA.txt cannot remember: the reason, then CR
// and what to do. The folder is used all the same, and the file names no
// older folder (it is emptied) unless it cannot be written at all.
inline constexpr char kFolderNotSavedCharacters[] =
    "このフォルダの場所には、PathDATA.txtに記録できない文字が含まれています。";
inline constexpr char kFolderNotSavedFile[] = "PathDATA.txtに書き込めないため、このフォルダの場所を記録できませんでした。";
inline constexpr char kFolderNotSavedNextTime[] = "このフォルダは今回だけ使います。次回も、このフォルダを選び直して下さい。";

}  // namespace tolvashu::form2
