#include "core/commands.h"

#include <algorithm>
#include <iterator>

#include "core/state.h"
#include "core/view.h"
#include "products/coarse.h"
#include "products/composite.h"
#include "products/fine.h"

namespace {

// ---- Check rules ------------------------------------------------------------------------------
bool CheckAlwaysRedraw(int) { return g_bAlwaysRedraw == 1; }
bool CheckRedBand(int n) { return g_nRedBand == n; }
bool CheckGreenBand(int n) { return g_nGreenBand == n; }
bool CheckBlueBand(int n) { return g_nBlueBand == n; }
bool CheckCoarseBand(int n) { return g_nCoarseBand == n; }
bool CheckFineBand(int n) { return g_nFineBand == n; }
bool CheckRankColour(int k) {
  return g_nCoarseBand >= 1 && g_nCoarseBand <= 8 && g_anRankColourOn[k][g_nCoarseBand] == 1;
}
bool CheckFineSpan(int k) {
  return g_nFineBand >= 1 && g_nFineBand <= 8 && g_anFineSpanOn[k][g_nFineBand] == 1;
}

// Scroll jumps (nArg 8..12 of kanScrollIds) are checked when the window is exactly there.
bool ScrollJumpTarget(int nIndex, int& nX, int& nY) {
  SceneExtent ext{};
  if (!GetSceneExtent(g_nSensor, ext)) return false;
  const int nRight = ext.nLastColumn - g_nMaxX;
  const int nBottom = ext.nLastLine - g_nMaxY;
  switch (nIndex) {
    case 8: nX = ext.nCentreColumn - g_nMaxX / 2; nY = ext.nCentreLine - g_nMaxY / 2; return true;
    case 9: nX = 0; nY = 0; return true;
    case 10: nX = 0; nY = nBottom; return true;
    case 11: nX = nRight; nY = 0; return true;
    case 12: nX = nRight; nY = nBottom; return true;
    default: return false;
  }
}
bool CheckScrollJump(int nIndex) {
  int nX = 0, nY = 0;
  return ScrollJumpTarget(nIndex, nX, nY) && g_nSceneOffsetX == nX && g_nSceneOffsetY == nY;
}

// ---- The table ----------------------------------------------------------------------------------
// CMD: no check mark; CMDA: with the rule's argument and a check rule. The handler comes last
// (left out: none yet).
#define CMD(id, text, rule, ...) {id, text, Rule::rule, 0, nullptr, __VA_ARGS__}
#define CMDA(id, text, rule, arg, check, ...) {id, text, Rule::rule, arg, check, __VA_ARGS__}

CommandEntry g_aCommands[] = {
    // File
    CMD(57600, "ファイル名(&N)", Always),
    CMD(32984, "クエリー(&C)", D1),
    CMD(32985, "パレット(&P)", D1),
    CMD(57601, "ワークファイルを開く(&O)...", Always),
    CMD(57603, "ワークファイルを上書き保存(&S)", D1),
    CMD(57604, "ワークファイルに名前を付けて保存(&A)...", D1),
    CMD(32983, "衛星データファイルを開く(&E)...", Always),
    CMDA(33036, "【←】左（西）へ１画面スクロール( )", SC, 0, nullptr),
    CMDA(33037, "【→】右（東）へ１画面スクロール( )", SC, 1, nullptr),
    CMDA(33034, "【↑】上（北）へ１画面スクロール( )", SC, 2, nullptr),
    CMDA(33035, "【↓】下（南）へ１画面スクロール( )", SC, 3, nullptr),
    CMDA(33045, "【←】左（西）へ100ドットスクロール( )", SC, 4, nullptr),
    CMDA(33046, "【→】右（東）へ100ドットスクロール( )", SC, 5, nullptr),
    CMDA(33042, "【↑】上（北）へ100ドットスクロール( )", SC, 6, nullptr),
    CMDA(33044, "【↓】下（南）へ100ドットスクロール( )", SC, 7, nullptr),
    CMDA(33047, "【□】センターへ移動( )", SC, 8, CheckScrollJump),
    CMDA(33048, "【┘】左上コーナーへ移動( )", SC, 9, CheckScrollJump),
    CMDA(33049, "【┐】左下コーナーへ移動( )", SC, 10, CheckScrollJump),
    CMDA(33050, "【└】右上コーナーへ移動( )", SC, 11, CheckScrollJump),
    CMDA(33051, "【┌】右下コーナーへ移動( )", SC, 12, CheckScrollJump),
    CMD(32982, "ＢＭＰ画像ファイルを開く(&B)...", Always),
    CMD(32917, "保存のオプション(&O)...", D1),
    CMD(32821, "データのプロパティ(&H)...", D1),
    CMD(32987, "演算ライブラリ(&L)...", D1),
    CMD(57607, "クエリーを印刷(&P)...", Always),
    CMD(57609, "印刷プレビュー(&V)", Always),
    CMD(57606, "プリンタの設定(&R)...", Always),
    CMD(33031, "印刷ステップの設定( )", Always),
    CMD(57616, "最新のファイル", Always),
    CMD(57665, "Geolumenの終了(&X)", Always),
    // Edit
    CMD(57634, "クリップボードへ画像をコピー(&C)", D1),
    CMD(33005, "クリップボードを空にする(&E)", D1),
    // View
    CMD(59392, "ツール バー(&T)", Always),
    CMD(59393, "ステータス バー(&S)", Always),
    CMD(57653, "分割ウインドウ(&P)", Always),
    CMDA(32958, "画像を常に再表示(&R)", R, 0, CheckAlwaysRedraw, OnAlwaysRedraw),
    // Composite
    CMD(32771, "合成画像表示(&V)", D3, OnCompositeView),
    CMD(32822, "合成画像スムーズ表示(&S)", D3, OnCompositeSmoothView),
    CMD(32772, "簡易ヒストグラム表示(&H)", D3, OnCompositeHistogram),
    CMD(32919, "詳細ヒストグラム表示(&D)", D3),
    CMDA(32923, "Band&1", CompositeBand, 1, CheckRedBand, OnRedBand<1>),
    CMDA(32924, "Band&2", CompositeBand, 2, CheckRedBand, OnRedBand<2>),
    CMDA(32925, "Bnad&3", CompositeBand, 3, CheckRedBand, OnRedBand<3>),
    CMDA(32926, "Bnad&4", CompositeBand, 4, CheckRedBand, OnRedBand<4>),
    CMDA(32927, "Bnad&5", CompositeBand, 5, CheckRedBand, OnRedBand<5>),
    CMDA(32928, "Bnad&6", CompositeBand, 6, CheckRedBand, OnRedBand<6>),
    CMDA(32929, "Band&7", CompositeBand, 7, CheckRedBand, OnRedBand<7>),
    CMDA(32930, "Bnad&8", CompositeBand, 8, CheckRedBand, OnRedBand<8>),
    CMDA(32931, "Band&1", CompositeBand, 1, CheckGreenBand, OnGreenBand<1>),
    CMDA(32932, "Band&2", CompositeBand, 2, CheckGreenBand, OnGreenBand<2>),
    CMDA(32933, "Band&3", CompositeBand, 3, CheckGreenBand, OnGreenBand<3>),
    CMDA(32934, "Band&4", CompositeBand, 4, CheckGreenBand, OnGreenBand<4>),
    CMDA(32935, "Band&5", CompositeBand, 5, CheckGreenBand, OnGreenBand<5>),
    CMDA(32936, "Band&6", CompositeBand, 6, CheckGreenBand, OnGreenBand<6>),
    CMDA(32937, "Band&7", CompositeBand, 7, CheckGreenBand, OnGreenBand<7>),
    CMDA(32938, "Band&8", CompositeBand, 8, CheckGreenBand, OnGreenBand<8>),
    CMDA(32939, "Band&1", CompositeBand, 1, CheckBlueBand, OnBlueBand<1>),
    CMDA(32940, "Band&2", CompositeBand, 2, CheckBlueBand, OnBlueBand<2>),
    CMDA(32941, "Band&3", CompositeBand, 3, CheckBlueBand, OnBlueBand<3>),
    CMDA(32942, "Band&4", CompositeBand, 4, CheckBlueBand, OnBlueBand<4>),
    CMDA(32943, "Band&5", CompositeBand, 5, CheckBlueBand, OnBlueBand<5>),
    CMDA(32944, "Band&6", CompositeBand, 6, CheckBlueBand, OnBlueBand<6>),
    CMDA(32945, "Band&7", CompositeBand, 7, CheckBlueBand, OnBlueBand<7>),
    CMDA(32946, "Band&8", CompositeBand, 8, CheckBlueBand, OnBlueBand<8>),
    CMD(32893, "トゥルーカラー(&T)", TC, OnTrueColour),
    CMD(32894, "ナチュラルカラー(&N)", NF, OnNaturalColour),
    CMD(32895, "フォールスカラー(&F)", NF, OnFalseColour),
    CMD(32887, "赤Band3 緑Band2 青Band1 (Lib&1)", D3, OnRgbLibrary<1>),
    CMD(32888, "赤Band3 緑Band1 青Band2 (Lib&2)", D3, OnRgbLibrary<2>),
    CMD(32889, "赤Band2 緑Band3 青Band1 (Lib&3)", D3, OnRgbLibrary<3>),
    CMD(32890, "赤Band2 緑Band1 青Band3 (Lib&4)", D3, OnRgbLibrary<4>),
    CMD(32891, "赤Band1 緑Band3 青Band2 (Lib&5)", D3, OnRgbLibrary<5>),
    CMD(32892, "赤Band1 緑Band2 青Band3 (Lib&6)", D3, OnRgbLibrary<6>),
    CMD(32773, "上下限切捨率の設定(&M)...", D3),
    CMD(32886, "上下限切捨率の解除(&C)", D3, OnCompositeReleaseCutOff),
    CMD(32774, "バンドと値を設定(&A)...", D3),
    // Coarse
    CMD(32775, "粗画像表示(&V)", D1, OnCoarseView),
    CMD(32823, "粗画像スムーズ表示(&S)", D1, OnCoarseSmoothView),
    CMD(32776, "簡易ヒストグラム表示(&H)", D1, OnCoarseHistogram),
    CMD(32920, "詳細ヒストグラム表示(&D)", D1),
    CMDA(32780, "Band&1", Band, 1, CheckCoarseBand, OnCoarseBand<1>),
    CMDA(32781, "Band&2", Band, 2, CheckCoarseBand, OnCoarseBand<2>),
    CMDA(32782, "Band&3", Band, 3, CheckCoarseBand, OnCoarseBand<3>),
    CMDA(32783, "Band&4", Band, 4, CheckCoarseBand, OnCoarseBand<4>),
    CMDA(32784, "Band&5", Band, 5, CheckCoarseBand, OnCoarseBand<5>),
    CMDA(32785, "Band&6", Band, 6, CheckCoarseBand, OnCoarseBand<6>),
    CMDA(32786, "Band&7", Band, 7, CheckCoarseBand, OnCoarseBand<7>),
    CMDA(32787, "Band&8", Band, 8, CheckCoarseBand, OnCoarseBand<8>),
    CMD(32896, "全 １００％を等分する(Lib&1)", D1, OnRankLibrary<1>),
    CMD(32897, "上限５０％を等分する(Lib&2)", D1, OnRankLibrary<2>),
    CMD(32898, "中限５０％を等分する(Lib&3)", D1, OnRankLibrary<3>),
    CMD(32899, "下限５０％を等分する(Lib&4)", D1, OnRankLibrary<4>),
    CMD(32959, "Rank8より１刻みダウン(Lib&5)", D1, OnRankLibrary<5>),
    CMD(32960, "Rank8より２刻みダウン(Lin&6)", D1, OnRankLibrary<6>),
    CMD(32961, "Rank1より１刻みアップ(Lib&7)", D1, OnRankLibrary<7>),
    CMD(32962, "Rank1より２刻みアップ(Lib&8)", D1, OnRankLibrary<8>),
    CMD(32900, "明色(Lib&1)", D1, OnCoarseColourLibrary<1>),
    CMD(32901, "暗色(Lib&2)", D1, OnCoarseColourLibrary<2>),
    CMD(32902, "虹色(Lib&3)", D1, OnCoarseColourLibrary<3>),
    CMD(32903, "黒色(Lib&4)", D1, OnCoarseColourLibrary<4>),
    CMD(32907, "無色の強弱(Lib&5)", D1, OnCoarseColourLibrary<5>),
    CMD(32904, "赤色の強弱(Lib&6)", D1, OnCoarseColourLibrary<6>),
    CMD(32905, "緑色の強弱(Lib&6)", D1, OnCoarseColourLibrary<7>),
    CMD(32906, "青色の強弱(Lib&7)", D1, OnCoarseColourLibrary<8>),
    CMDA(32948, "ランク１ の着色(Rank&1)", D3c, 1, CheckRankColour, OnRankColourToggle<1>),
    CMDA(32949, "ランク２ の着色(Rank&2)", D3c, 2, CheckRankColour, OnRankColourToggle<2>),
    CMDA(32950, "ランク３ の着色(Rank&3)", D3c, 3, CheckRankColour, OnRankColourToggle<3>),
    CMDA(32951, "ランク４ の着色(Rank&4)", D3c, 4, CheckRankColour, OnRankColourToggle<4>),
    CMDA(32952, "ランク５ の着色(Rank&5)", D3c, 5, CheckRankColour, OnRankColourToggle<5>),
    CMDA(32953, "ランク６ の着色(Rank&6)", D3c, 6, CheckRankColour, OnRankColourToggle<6>),
    CMDA(32954, "ランク７ の着色(Rank&7)", D3c, 7, CheckRankColour, OnRankColourToggle<7>),
    CMDA(33006, "ランク８ の着色(Rank&8)", D3c, 8, CheckRankColour, OnRankColourToggle<8>),
    CMD(32955, "全ランクＯＮ(&O)", D3, OnRanksAllOn),
    CMD(32956, "全ランクＯＦＦ(&F)", D3, OnRanksAllOff),
    CMD(32957, "ＯＮ／ＯＦＦ反転(&T)", D3, OnRanksInvert),
    CMD(33007, "Rank&1", D1, OnRankColour<1>),
    CMD(33008, "Rank&2", D1, OnRankColour<2>),
    CMD(33009, "Rank&3", D1, OnRankColour<3>),
    CMD(33010, "Rank&4", D1, OnRankColour<4>),
    CMD(33011, "Rank&5", D1, OnRankColour<5>),
    CMD(33012, "Rank&6", D1, OnRankColour<6>),
    CMD(33013, "Rank&7", D1, OnRankColour<7>),
    CMD(33014, "Rank&8", D1, OnRankColour<8>),
    CMD(32778, "バンドと値を設定(&A)...", D1),
    // Fine
    CMD(32862, "精画像表示(&V)", D1, OnFineView),
    CMD(32863, "精画像スムーズ表示(&S)", D1, OnFineSmoothView),
    CMD(32864, "簡易ヒストグラム表示(&H)", D1, OnFineHistogram),
    CMD(32921, "詳細ヒストグラム表示(&D)", D1),
    CMDA(32866, "Band&1", Band, 1, CheckFineBand, OnFineBand<1>),
    CMDA(32867, "Band&2", Band, 2, CheckFineBand, OnFineBand<2>),
    CMDA(32868, "Band&3", Band, 3, CheckFineBand, OnFineBand<3>),
    CMDA(32869, "Band&4", Band, 4, CheckFineBand, OnFineBand<4>),
    CMDA(32870, "Band&5", Band, 5, CheckFineBand, OnFineBand<5>),
    CMDA(32871, "Band&6", Band, 6, CheckFineBand, OnFineBand<6>),
    CMDA(32872, "Band&7", Band, 7, CheckFineBand, OnFineBand<7>),
    CMDA(32873, "Band&8", Band, 8, CheckFineBand, OnFineBand<8>),
    CMD(32967, "全 １００％を等分する(Lib&1)", D1, OnPointLibrary<1>),
    CMD(32968, "上限５０％を等分する(Lib&2)", D1, OnPointLibrary<2>),
    CMD(32969, "中限５０％を等分する(Lib&3)", D1, OnPointLibrary<3>),
    CMD(32970, "下限５０％を等分する(Lib&4)", D1, OnPointLibrary<4>),
    CMD(32908, "明色(Lib&1)", D1, OnFineColourLibrary<1>),
    CMD(32909, "暗色(Lib&2)", D1, OnFineColourLibrary<2>),
    CMD(32910, "虹色(Lib&3)", D1, OnFineColourLibrary<3>),
    CMD(32911, "黒色(Lib&4)", D1, OnFineColourLibrary<4>),
    CMD(32912, "無色ベースの強弱(Lib&5)", D1, OnFineColourLibrary<5>),
    CMD(32913, "赤色ベースの強弱(Lib&6)", D1, OnFineColourLibrary<6>),
    CMD(32988, "緑色ベースの強弱(Lib&7)", D1, OnFineColourLibrary<7>),
    CMD(32989, "青色ベースの強弱(Lib&8)", D1, OnFineColourLibrary<8>),
    CMDA(32972, "ポイント１～２間の着色(&1)", D3c, 1, CheckFineSpan, OnFineSpanToggle<1>),
    CMDA(32973, "ポイント２～３間の着色(&2)", D3c, 2, CheckFineSpan, OnFineSpanToggle<2>),
    CMDA(32974, "ポイント３～４間の着色(&3)", D3c, 3, CheckFineSpan, OnFineSpanToggle<3>),
    CMDA(32981, "ポイント４～５間の着色(&4)", D3c, 4, CheckFineSpan, OnFineSpanToggle<4>),
    CMDA(32975, "ポイント５～６間の着色(&5)", D3c, 5, CheckFineSpan, OnFineSpanToggle<5>),
    CMDA(32976, "ポイント６～７間の着色(&6)", D3c, 6, CheckFineSpan, OnFineSpanToggle<6>),
    CMDA(32977, "ポイント７～８間の着色(&7)", D3c, 7, CheckFineSpan, OnFineSpanToggle<7>),
    CMDA(33015, "ポイント８～９間の着色(&8)", D3c, 8, CheckFineSpan, OnFineSpanToggle<8>),
    CMD(32978, "全ポイント間ＯＮ(&O)", D3, OnSpansAllOn),
    CMD(32979, "全ポイント間ＯＦＦ(&F)", D3, OnSpansAllOff),
    CMD(32980, "ＯＮ／ＯＦＦ反転(&T)", D3, OnSpansInvert),
    CMD(32875, "Point&1", D1, OnPointColour<1>),
    CMD(32876, "Point&2", D1, OnPointColour<2>),
    CMD(32877, "Point&3", D1, OnPointColour<3>),
    CMD(32878, "Point&4", D1, OnPointColour<4>),
    CMD(32879, "Point&5", D1, OnPointColour<5>),
    CMD(32963, "Point&6", D1, OnPointColour<6>),
    CMD(32964, "Point&7", D1, OnPointColour<7>),
    CMD(32965, "Point&8", D1, OnPointColour<8>),
    CMD(33017, "Point&9", D1, OnPointColour<9>),
    CMD(32966, "バンドと値を設定(&A)...", D1),
    // Category (their settings join the state with the category work; unchecked until then)
    CMD(33021, "カテゴリー画像表示(&V)", CI),
    CMD(33022, "カテゴリー画像スムーズ表示(&S)", CI),
    CMD(33023, "簡易ヒストグラム表示(&H)", CI),
    CMD(33024, "詳細ヒストグラム表示(&D)", CI),
    CMDA(32801, "カテゴリー１(Category&1)", D3c, 1, nullptr),
    CMDA(32803, "カテゴリー２(Category&3)", D3c, 2, nullptr),
    CMDA(32804, "カテゴリー３(Category&3)", D3c, 3, nullptr),
    CMDA(32805, "カテゴリー４(Category&4)", D3c, 4, nullptr),
    CMDA(32806, "カテゴリー５(Category&5)", D3c, 5, nullptr),
    CMDA(32807, "カテゴリー６(Category&6)", D3c, 6, nullptr),
    CMDA(32808, "カテゴリー７(Category&7)", D3c, 7, nullptr),
    CMDA(33020, "カテゴリー８(Category&8)", D3c, 8, nullptr),
    CMD(33001, "トレーニングエリア選定(T)", D3),
    CMD(33002, "トレーニングエリア更新(&R)", TU),
    CMDA(32825, " １ピクセル／ドット(&A)", D3c, 1, nullptr),
    CMDA(32826, " ４ピクセル／ドット(&B)", D3c, 2, nullptr),
    CMDA(32827, " ９ピクセル／ドット(&C)", D3c, 3, nullptr),
    CMDA(32828, "16ピクセル／ドット(&D)", D3c, 4, nullptr),
    CMD(33026, "対象カテゴリーのピクセルをクリア( )", D3),
    CMD(33003, "全カテゴリーのピクセルをクリア(&C)", D3),
    CMDA(33027, "合成画像( )", D3c, 0, nullptr),
    CMDA(33028, "直前のカテゴリー画像( )", CI, 1, nullptr),
    CMD(32809, "カテゴリーのカラー設定(&S)...", D3),
    CMD(32810, "カテゴリーと値を設定(&A)...", D3),
    CMD(33025, "カテゴリー画像のオプション(&O)...", D3),
    // Classification
    CMD(32794, "分類画像表示(&V)", CL),
    CMD(32884, "分類画像スムーズ表示(&S)", CL),
    CMD(33029, "簡易ヒストグラム表示( )", CL),
    CMD(32922, "詳細ヒストグラム表示(&D)", CL),
    CMD(32795, "カテゴリー画像より分類画像を生成(&H)", D3),
    CMDA(32991, "カテゴリー１ の着色(Category&1)", CLc, 1, nullptr),
    CMDA(32992, "カテゴリー２ の着色(Category&2)", CLc, 2, nullptr),
    CMDA(32993, "カテゴリー３ の着色(Category&3)", CLc, 3, nullptr),
    CMDA(32994, "カテゴリー４ の着色(Category&4)", CLc, 4, nullptr),
    CMDA(32995, "カテゴリー５ の着色(Category&5)", CLc, 5, nullptr),
    CMDA(32996, "カテゴリー６ の着色(Category&6)", CLc, 6, nullptr),
    CMDA(32997, "カテゴリー７ の着色(Category&7)", CLc, 7, nullptr),
    CMDA(32990, "カテゴリー８ の着色(Category&8)", CLc, 8, nullptr),
    CMD(32998, "全カテゴリーＯＮ(&O)", CL),
    CMD(32999, "全カテゴリーＯＦＦ(&F)", CL),
    CMD(33000, "ＯＮ／ＯＦＦ反転(&T)", CL),
    CMD(33004, "分類画像のオプション(&O)...", D3),
    // Histogram
    CMDA(32835, "ダブル( )", D1c, 0, nullptr),
    CMDA(32836, "オール( )", D1c, 1, nullptr),
    CMDA(32837, "エリア( )", D1c, 2, nullptr),
    CMDA(32838, "同一スケール( )", D1c, 0, nullptr),
    CMDA(32839, "単独スケール( )", D1c, 1, nullptr),
    CMDA(32846, "Band&1...", Band, 1, nullptr),
    CMDA(32847, "Band&2...", Band, 2, nullptr),
    CMDA(32848, "Band&3...", Band, 3, nullptr),
    CMDA(32849, "Band&4...", Band, 4, nullptr),
    CMDA(32850, "Band&5...", Band, 5, nullptr),
    CMDA(32851, "Band&6...", Band, 6, nullptr),
    CMDA(32852, "Band&7...", Band, 7, nullptr),
    CMDA(32853, "Band&8...", Band, 8, nullptr),
    CMDA(32854, "Band&1...", Band, 1, nullptr),
    CMDA(32855, "Band&2...", Band, 2, nullptr),
    CMDA(32856, "Band&3...", Band, 3, nullptr),
    CMDA(32857, "Band&4...", Band, 4, nullptr),
    CMDA(32858, "Band&5...", Band, 5, nullptr),
    CMDA(32859, "Band&6...", Band, 6, nullptr),
    CMDA(32860, "Band&7...", Band, 7, nullptr),
    CMDA(32861, "Band&8...", Band, 8, nullptr),
    // Help
    CMD(57667, "目次とキーワード(&H)", Always),
    CMD(57664, "バージョン情報(&A)...", Always),
};

#undef CMD
#undef CMDA

// ---- Menus ------------------------------------------------------------------------------------
constexpr MenuNode Pop(const char* szText) { return {MenuKind::Popup, 0, szText}; }
constexpr MenuNode End() { return {MenuKind::End, 0, nullptr}; }
constexpr MenuNode Item(int nId, const char* szText = nullptr) { return {MenuKind::Item, nId, szText}; }
constexpr MenuNode Sep() { return {MenuKind::Separator, 0, nullptr}; }

const MenuNode g_aMainMenu[] = {
    Pop("ファイル(&F)"),
      Pop("デフォルトに戻す(&D)"), Item(57600), Item(32984), Item(32985), End(),
      Sep(),
      Item(57601), Item(57603), Item(57604),
      Sep(),
      Item(32983),
      Pop("スクロール( )"),
        Item(33036), Item(33037), Sep(), Item(33034), Item(33035), Sep(),
        Item(33045), Item(33046), Sep(), Item(33042), Item(33044), Sep(),
        Item(33047), Sep(), Item(33048), Item(33049), Sep(), Item(33050), Item(33051),
      End(),
      Sep(),
      Item(32982),
      Sep(),
      Item(32917), Item(32821), Item(32987),
      Sep(),
      Item(57607), Item(57609), Item(57606), Item(33031),
      Sep(),
      Item(57616),
      Sep(),
      Item(57665),
    End(),
    Pop("編集(&E)"), Item(57634), Item(33005), End(),
    Pop("表示(&V)"), Item(59392), Item(59393), Item(57653), Sep(), Item(32958), End(),
    Pop("合成画像(&G)"),
      Item(32771), Item(32822), Item(32772), Item(32919),
      Sep(),
      Pop("赤バンド選択(&R)"),
        Item(32923), Item(32924), Item(32925), Item(32926),
        Item(32927), Item(32928), Item(32929), Item(32930),
      End(),
      Pop("緑バンド選択(&G)"),
        Item(32931), Item(32932), Item(32933), Item(32934),
        Item(32935), Item(32936), Item(32937), Item(32938),
      End(),
      Pop("青バンド選択(&B)"),
        Item(32939), Item(32940), Item(32941), Item(32942),
        Item(32943), Item(32944), Item(32945), Item(32946),
      End(),
      Sep(),
      Pop("衛星データライブラリ(&E)"), Item(32893), Item(32894), Item(32895), End(),
      Pop("RGBデータライブラリ(&P)"),
        Item(32887), Item(32888), Item(32889), Item(32890), Item(32891), Item(32892),
      End(),
      Sep(),
      Item(32773), Item(32886), Item(32774),
    End(),
    Pop("粗画像(&P)"),
      Item(32775), Item(32823), Item(32776), Item(32920),
      Sep(),
      Pop("対象とするバンド選択(&B)"),
        Item(32780), Item(32781), Item(32782), Item(32783),
        Item(32784), Item(32785), Item(32786), Item(32787),
      End(),
      Pop("ランクライブラリ(&R)"),
        Item(32896), Item(32897), Item(32898), Item(32899), Sep(),
        Item(32959), Item(32960), Item(32961), Item(32962),
      End(),
      Pop("カラーライブラリ(&C)"),
        Item(32900), Item(32901), Item(32902), Item(32903),
        Item(32907), Item(32904), Item(32905), Item(32906),
      End(),
      Pop("着色の有無(&W)"),
        Item(32948), Item(32949), Item(32950), Item(32951),
        Item(32952), Item(32953), Item(32954), Item(33006), Sep(),
        Item(32955), Item(32956), Item(32957),
      End(),
      Sep(),
      Pop("ランクのカラー設定(&P)"),
        Item(33007), Item(33008), Item(33009), Item(33010),
        Item(33011), Item(33012), Item(33013), Item(33014),
      End(),
      Item(32778),
    End(),
    Pop("精画像(&D)"),
      Item(32862), Item(32863), Item(32864), Item(32921),
      Sep(),
      Pop("対象とするバンド選択(&B)"),
        Item(32866), Item(32867), Item(32868), Item(32869),
        Item(32870), Item(32871), Item(32872), Item(32873),
      End(),
      Pop("ポイントライブラリ(&R)"), Item(32967), Item(32968), Item(32969), Item(32970), End(),
      Pop("カラーライブラリ(&C)"),
        Item(32908), Item(32909), Item(32910), Item(32911),
        Item(32912), Item(32913), Item(32988), Item(32989),
      End(),
      Pop("着色の有無(&W)"),
        Item(32972), Item(32973), Item(32974), Item(32981),
        Item(32975), Item(32976), Item(32977), Item(33015), Sep(),
        Item(32978), Item(32979), Item(32980),
      End(),
      Sep(),
      Pop("ポイントのカラー設定(&P)"),
        Item(32875), Item(32876), Item(32877), Item(32878), Item(32879),
        Item(32963), Item(32964), Item(32965), Item(33017),
      End(),
      Item(32966),
    End(),
    Pop("カテゴリー画像(&C)"),
      Item(33021), Item(33022), Item(33023), Item(33024),
      Sep(),
      Pop("対象とするカテゴリー選択(&C)"),
        Item(32801), Item(32803), Item(32804), Item(32805),
        Item(32806), Item(32807), Item(32808), Item(33020),
      End(),
      Sep(),
      Item(33001), Item(33002),
      Pop("ドットサイズ(&D)"), Item(32825), Item(32826), Item(32827), Item(32828), End(),
      Pop("ピクセルをクリア( )"), Item(33026), Item(33003), End(),
      Pop("トレーニングエリアの背景( )"), Item(33027), Item(33028), End(),
      Sep(),
      Item(32809), Item(32810), Item(33025),
    End(),
    Pop("分類画像(&M)"),
      Item(32794), Item(32884), Item(33029), Item(32922),
      Sep(),
      Item(32795),
      Sep(),
      Pop("着色の有無(&W)"),
        Item(32991), Item(32992), Item(32993), Item(32994),
        Item(32995), Item(32996), Item(32997), Item(32990), Sep(),
        Item(32998), Item(32999), Item(33000),
      End(),
      Sep(),
      Item(33004),
    End(),
    Pop("ヒストグラム(&H)"),
      Item(32835), Item(32836), Item(32837), Sep(), Item(32838), Item(32839),
      Sep(),
      Pop("線の色を設定(&C)"),
        Item(32846), Item(32847), Item(32848), Item(32849),
        Item(32850), Item(32851), Item(32852), Item(32853),
      End(),
      Pop("線の幅を設定(&W)"),
        Item(32854), Item(32855), Item(32856), Item(32857),
        Item(32858), Item(32859), Item(32860), Item(32861),
      End(),
    End(),
    Pop("ヘルプ(&H)"), Item(57667), Sep(), Item(57664), End(),
};

const MenuNode g_aContextMenu[] = {
    Pop(kszPopupCoarseBand),
      Item(32780), Item(32781), Item(32782), Item(32783),
      Item(32784), Item(32785), Item(32786), Item(32787),
    End(),
    Pop(kszPopupCoarseColouring),
      Item(32948), Item(32949), Item(32950), Item(32951),
      Item(32952), Item(32953), Item(32954), Item(33006), Sep(),
      Item(32955), Item(32956), Item(32957),
    End(),
    Pop(kszPopupHistogram),
      Item(32835), Item(32836), Item(32837), Sep(), Item(32838), Item(32839),
    End(),
    Pop(kszPopupFineBand),
      Item(32866), Item(32867), Item(32868), Item(32869),
      Item(32870), Item(32871), Item(32872), Item(32873),
    End(),
    Pop(kszPopupFineColouring),
      Item(32972), Item(32973), Item(32974), Item(32981),
      Item(32975), Item(32976), Item(32977), Item(33015), Sep(),
      Item(32978), Item(32979), Item(32980),
    End(),
    Pop(kszPopupTraining),
      Item(33001), Item(33002), Item(33026), Sep(), Item(32809, "カテゴリーのカラー設定..."),
    End(),
};

const int g_anToolBar[] = {57601, 57634, 0,     32771, 32822, 0,     32775, 32823, 0,
                           32862, 32863, 0,     32801, 32803, 32804, 32805, 32806, 32807,
                           32808, 33020, 33021, 33022, 0,     32794, 32884, 32795, 0,
                           33036, 33037, 33034, 33035};

bool HasBands(int nBands) { return HasData() && g_nLastBand >= nBands - 1; }

// Scroll moves (nArg 0..7) are disabled when the window cannot move that way.
bool ScrollMoveAllowed(int nIndex) {
  SceneExtent ext{};
  if (!GetSceneExtent(g_nSensor, ext)) return false;
  const int nRight = ext.nLastColumn - g_nMaxX;
  const int nBottom = ext.nLastLine - g_nMaxY;
  switch (nIndex) {
    case 0: case 4: return g_nSceneOffsetX > 0;
    case 1: return g_nSceneOffsetX < nRight;
    case 2: case 6: return g_nSceneOffsetY > 0;
    case 3: return g_nSceneOffsetY < nBottom;
    case 5: return g_nSceneOffsetX + 100 <= nRight;
    case 7: return g_nSceneOffsetY + 100 <= nBottom;
    default: return true;
  }
}

bool RuleAllows(const CommandEntry& cmd) {
  const bool bD3 = HasBands(3);
  switch (cmd.eRule) {
    case Rule::Always: return true;
    case Rule::R: return true;
    case Rule::D1: case Rule::D1c: return HasBands(1);
    case Rule::D2: return HasBands(2);
    case Rule::D3: case Rule::D3c: return bD3;
    case Rule::Band: return HasBands(cmd.nArg);
    case Rule::CompositeBand: return HasBands(std::max(3, cmd.nArg));
    case Rule::TC: return bD3 && g_nSensor >= 1 && g_nSensor <= 3;
    case Rule::NF: return HasBands(4) && g_nSensor >= 1 && g_nSensor <= 3;
    case Rule::TU: return bD3 && g_nDisplayMode == kModeTraining;
    // Category images and the classification do not exist yet, so nothing is valid.
    case Rule::CI: case Rule::CL: case Rule::CLc: return false;
    case Rule::SC:
      return HasData() && g_nSensor >= kSensorTmCeos && g_nSensor <= kSensorEtm6845 &&
             ScrollMoveAllowed(cmd.nArg);
  }
  return false;
}

}  // namespace

std::span<CommandEntry> CommandTable() { return g_aCommands; }

const CommandEntry* FindCommand(int nId) {
  for (const CommandEntry& cmd : g_aCommands) {
    if (cmd.nId == nId) return &cmd;
  }
  return nullptr;
}

std::span<const MenuNode> MainMenu() { return g_aMainMenu; }
std::span<const MenuNode> ContextMenu() { return g_aContextMenu; }
std::span<const int> ToolBarButtons() { return g_anToolBar; }

void SetCommandHandler(int nId, CommandHandler pfnHandler) {
  for (CommandEntry& cmd : g_aCommands) {
    if (cmd.nId == nId) cmd.pfnHandler = pfnHandler;
  }
}

bool IsCommandEnabled(int nId) {
  const CommandEntry* pCmd = FindCommand(nId);
  return pCmd && pCmd->pfnHandler && RuleAllows(*pCmd);
}

bool IsCommandChecked(int nId) {
  const CommandEntry* pCmd = FindCommand(nId);
  return pCmd && pCmd->pfnCheck && pCmd->pfnCheck(pCmd->nArg);
}

bool DispatchCommand(int nId) {
  const CommandEntry* pCmd = FindCommand(nId);
  if (!pCmd || !pCmd->pfnHandler || !RuleAllows(*pCmd)) return false;
  pCmd->pfnHandler();
  return true;
}
