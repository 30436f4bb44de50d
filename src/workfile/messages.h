// Texts the work file, the defaults commands and their dialogs show. Tests compare against these
// same literals.
#pragma once

inline constexpr const char* kszMsgNotWorkFile =
    "このファイルはTavimo専用ファイル以外と判断されます\nデータを読み込むことができません";
inline constexpr const char* kszCapNotWorkFile = "Warning in This File";
inline constexpr const char* kszMsgPreviousFormat =
    "このデータは前バージョン（Tavimo97）のファイルです\nデータのみ有効です。他の一切の設定は無効となります";
inline constexpr const char* kszCapPreviousFormat = "This File is Tavimo97";
inline constexpr const char* kszMsgBadXLine =
    "センサチェックはパスしてますが座標情報が不整です\nデータを読み込むことができません";
inline constexpr const char* kszCapBadXLine = "Warning in X Line";
inline constexpr const char* kszMsgNoData =
    "このファイルにはデータが含まれていません。\n先にデータの読み込みが必要です。";
inline constexpr const char* kszCapNoData = "This File is No Data";
inline constexpr const char* kszMsgNotMatching =
    "現在のデータとファイルのクエリー・パレット情報が一致しませんので、読み込むことはできません。";
inline constexpr const char* kszCapNotMatching = "This File is not Query and Palette";
inline constexpr const char* kszMsgUnknownData = "データを読み込むことができません。";
inline constexpr const char* kszCapUnknownData = "This File is ???";
// A file that cannot be taken at all: its path, then the reason.
inline constexpr const char* kszMsgCannotRead =
    "ワークファイルを読み込めません。何も変更していません。\n%s\n(%s)";
inline constexpr const char* kszMsgCannotSave =
    "ワークファイルを保存できません。前のファイルはそのままです。\n%s\n(%s)";
inline constexpr const char* kszCapWorkFile = "Work File";

// The recovery file: the question at start, and a copy that cannot be written (said once).
inline constexpr const char* kszMsgRecoveryQuestion =
    "前回の作業が保存されずに終了しました。復元しますか？";
inline constexpr const char* kszCapRecovery = "Geolumen";
inline constexpr const char* kszMsgRecoveryCannotWrite =
    "作業の控えを書き込めません。作業はこのまま続けられますが、保存するまで控えはありません。\n%s\n(%s)";

// The case texts of the file-information dialog.
inline constexpr const char* kszCaseNewData =
    "このファイルにはデータが含まれています。新規読み込みとなります。";
inline constexpr const char* kszCaseNoData =
    "このファイルにはデータが含まれていません。先にデータの読み込みが必要です。";
inline constexpr const char* kszCaseSettings =
    "このファイルにはデータが含まれていません。チェック項目の付いたクエリーとパレットが置き換えられます。";

// The defaults commands.
inline constexpr const char* kszMsgResetQuery = "クエリーをデフォルトに戻してもよろしいですか";
inline constexpr const char* kszMsgResetPalette = "パレットをデフォルトに戻してもよろしいですか";
inline constexpr const char* kszCapReset = "初期化";

// The document's name while it has none.

// The save options' box of the data section.
inline constexpr const char* kszSectionDataLabel = "データ（ヘッダー含む）";
