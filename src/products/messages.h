// Texts the picture products show: messages with their captions, dialog titles and labels.
// Tests compare against these same literals.
#pragma once

// ---- Composite picture -----------------------------------------------------------------------
inline constexpr const char* kszMsgNoBand = "バンドがありません。";
inline constexpr const char* kszCapRedBand = "Warning in RedBand";
inline constexpr const char* kszCapGreenBand = "Warning in GreenBand";
inline constexpr const char* kszCapBlueBand = "Warning in BlueBand";

// Dialog 131: the cut-off rate.
inline constexpr const char* kszCutOffTitle = "上下限切捨率の設定";
inline constexpr const char* kszCutOffLabel = "切捨率（％）＝";
inline constexpr const char* kszCutOffHint = "(0～49%)";

// Dialog 132: bands and stretch values.
inline constexpr const char* kszBandValueTitle = "バンドと値の設定";
inline constexpr const char* kszRedBandLabel = "赤のバンド";
inline constexpr const char* kszGreenBandLabel = "緑のバンド";
inline constexpr const char* kszBlueBandLabel = "青のバンド";
inline constexpr const char* kszLowerLabel = "下限値";
inline constexpr const char* kszUpperLabel = "上限値";
inline constexpr const char* kszCutOffLinkedLabel = "上下限切捨率を連動させる";
inline constexpr const char* kszDialogOk = "OK";
inline constexpr const char* kszDialogCancel = "キャンセル";
