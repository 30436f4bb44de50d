// Texts the picture products show: messages with their captions, dialog titles and labels.
// Tests compare against these same literals.
#pragma once

// ---- Composite picture -----------------------------------------------------------------------
inline constexpr const char* kszMsgNoBand = "バンドがありません。";
inline constexpr const char* kszCapRedBand = "Warning in RedBand";
inline constexpr const char* kszCapGreenBand = "Warning in GreenBand";
inline constexpr const char* kszCapBlueBand = "Warning in BlueBand";

// Dialog IDD_CUTOFF_RATE: the cut-off rate.
inline constexpr const char* kszCutOffTitle = "上下限切捨率の設定";
inline constexpr const char* kszCutOffLabel = "切捨率（％）＝";
inline constexpr const char* kszCutOffHint = "(0～49%)";

// Dialog IDD_COMPOSITE_VALUE: bands and stretch values.
inline constexpr const char* kszBandValueTitle = "バンドと値の設定";
inline constexpr const char* kszRedBandLabel = "赤のバンド";
inline constexpr const char* kszGreenBandLabel = "緑のバンド";
inline constexpr const char* kszBlueBandLabel = "青のバンド";
inline constexpr const char* kszLowerLabel = "下限値";
inline constexpr const char* kszUpperLabel = "上限値";
inline constexpr const char* kszCutOffLinkedLabel = "上下限切捨率を連動させる";

// ---- Coarse and fine pictures -------------------------------------------------------------------
inline constexpr const char* kszCapPseudoBand = "Warning in PseudoBand";
inline constexpr const char* kszCapZoruzodAzod = "Warning in ZoruzodAzod";

// Dialogs IDD_RANK_VALUE (ranks) and 156 (points): band and values.
inline constexpr const char* kszRankPointValueTitle = "バンドと値を設定";
inline constexpr const char* kszTargetBandGroup = "対象とするバンド";
inline constexpr const char* kszBandEqualsLabel = "Band =";
inline constexpr const char* kaszRankBoundLabel[7] = {
    "Rank1(          0～", "Rank2( Rank1+1～", "Rank3( Rank2+1～", "Rank4( Rank3+1～",
    "Rank5( Rank4+1～",    "Rank6( Rank5+1～", "Rank7( Rank6+1～"};
inline constexpr const char* kszRankBoundClose = ")";
inline constexpr const char* kszRank8Fixed = "Rank8( Rank7+1～       255";
inline constexpr const char* kaszPointLabel[9] = {"Point1 =", "Point2 =", "Point3 =",
                                                  "Point4 =", "Point5 =", "Point6 =",
                                                  "Point7 =", "Point8 =", "Point9 ="};
