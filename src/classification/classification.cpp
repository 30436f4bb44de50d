#include "classification/classification.h"

#include <algorithm>
#include <string>

#include "core/commands.h"
#include "core/display_modes.h"
#include "core/text_format.h"
#include "core/view.h"
#include "resources/resource.h"

namespace {

const PixelRecord& MousePixel() { return g_aPixel[g_nMouseX][g_nMouseY]; }

// The class of a pixel: 8 means none.
std::string ClassReadout(int nClass) {
  return nClass == 8 ? "[ｶﾃｺﾞﾘNo]=[ - ]" : FormatText("[ｶﾃｺﾞﾘNo]=[ %d ]", nClass);
}

std::string CategoryPane1() { return ClassReadout(MousePixel().bCategoryClass); }
std::string ClassifyPane1() { return ClassReadout(MousePixel().bClassifyClass); }
std::string TrainingPane1() {
  return MousePixel().abTrainMark[std::clamp(g_nCategory, 1, 8) - 1] ? "[状態]=[ON]"
                                                                     : "[状態]=[OFF]";
}

#define CATEGORY(n, text) COMMAND(ID_CATEGORY##n, text, D3c, .nArg = n, .szIcon = "category" #n)
#define DOT_SIZE(n, text) COMMAND(ID_DOT_SIZE##n, text, D3c, .nArg = n)
#define CLASS_TOGGLE(n, text) COMMAND(ID_CLASS_TOGGLE##n, text, CLc, .nArg = n)

// The category work and the classification are not built yet: their rows have no handler, so
// they stay disabled.
const CommandEntry kaClassificationCommands[] = {
    COMMAND(ID_CATEGORY_VIEW, "カテゴリー画像表示(&V)", CI, .szIcon = "category"),
    COMMAND(ID_CATEGORY_SMOOTH_VIEW, "カテゴリー画像スムーズ表示(&S)", CI,
            .szIcon = "category-smooth"),
    COMMAND(ID_CATEGORY_HISTOGRAM, "簡易ヒストグラム表示(&H)", CI),
    CATEGORY(1, "カテゴリー１(Category&1)"),
    // The menu has always labelled category 2 with "&3".
    CATEGORY(2, "カテゴリー２(Category&3)"),
    CATEGORY(3, "カテゴリー３(Category&3)"),
    CATEGORY(4, "カテゴリー４(Category&4)"),
    CATEGORY(5, "カテゴリー５(Category&5)"),
    CATEGORY(6, "カテゴリー６(Category&6)"),
    CATEGORY(7, "カテゴリー７(Category&7)"),
    CATEGORY(8, "カテゴリー８(Category&8)"),
    COMMAND(ID_TRAINING_SELECT, "トレーニングエリア選定(T)", D3),
    COMMAND(ID_TRAINING_UPDATE, "トレーニングエリア更新(&R)", TU),
    DOT_SIZE(1, " １ピクセル／ドット(&A)"),
    DOT_SIZE(2, " ４ピクセル／ドット(&B)"),
    DOT_SIZE(3, " ９ピクセル／ドット(&C)"),
    DOT_SIZE(4, "16ピクセル／ドット(&D)"),
    COMMAND(ID_CLEAR_CATEGORY, "対象カテゴリーのピクセルをクリア( )", D3),
    COMMAND(ID_CLEAR_ALL_CATEGORIES, "全カテゴリーのピクセルをクリア(&C)", D3),
    COMMAND(ID_TRAINING_BACK_COMPOSITE, "合成画像( )", D3c, .nArg = 0),
    COMMAND(ID_TRAINING_BACK_CATEGORY, "直前のカテゴリー画像( )", CI, .nArg = 1),
    COMMAND(ID_CATEGORY_COLOUR, "カテゴリーのカラー設定(&S)...", D3),
    COMMAND(ID_CATEGORY_VALUES, "カテゴリーと値を設定(&A)...", D3),
    COMMAND(ID_CATEGORY_OPTIONS, "カテゴリー画像のオプション(&O)...", D3),
    COMMAND(ID_CLASSIFY_VIEW, "分類画像表示(&V)", CL, .szIcon = "classification"),
    COMMAND(ID_CLASSIFY_SMOOTH_VIEW, "分類画像スムーズ表示(&S)", CL,
            .szIcon = "classification-smooth"),
    COMMAND(ID_CLASSIFY_HISTOGRAM, "簡易ヒストグラム表示( )", CL),
    COMMAND(ID_CLASSIFY_GENERATE, "カテゴリー画像より分類画像を生成(&H)", D3,
            .szIcon = "generate"),
    CLASS_TOGGLE(1, "カテゴリー１ の着色(Category&1)"),
    CLASS_TOGGLE(2, "カテゴリー２ の着色(Category&2)"),
    CLASS_TOGGLE(3, "カテゴリー３ の着色(Category&3)"),
    CLASS_TOGGLE(4, "カテゴリー４ の着色(Category&4)"),
    CLASS_TOGGLE(5, "カテゴリー５ の着色(Category&5)"),
    CLASS_TOGGLE(6, "カテゴリー６ の着色(Category&6)"),
    CLASS_TOGGLE(7, "カテゴリー７ の着色(Category&7)"),
    CLASS_TOGGLE(8, "カテゴリー８ の着色(Category&8)"),
    COMMAND(ID_CLASSES_ON, "全カテゴリーＯＮ(&O)", CL),
    COMMAND(ID_CLASSES_OFF, "全カテゴリーＯＦＦ(&F)", CL),
    COMMAND(ID_CLASSES_INVERT, "ＯＮ／ＯＦＦ反転(&T)", CL),
    COMMAND(ID_CLASSIFY_OPTIONS, "分類画像のオプション(&O)...", D3),
};

#undef CATEGORY
#undef DOT_SIZE
#undef CLASS_TOGGLE

}  // namespace

void RegisterClassification() {
  RegisterCommands(kaClassificationCommands);
  const DisplayModeEntry aModes[] = {
      {.eMode = DisplayMode::Category, .bShowsPicture = true, .pfnPane0 = PixelReadout,
       .pfnPane1 = CategoryPane1, .pfnArrowKey = MoveReadoutCursor},
      {.eMode = DisplayMode::Training, .bShowsPicture = true, .pfnPane0 = PixelReadout,
       .pfnPane1 = TrainingPane1, .pfnArrowKey = MoveReadoutCursor},
      {.eMode = DisplayMode::Classify, .bShowsPicture = true, .pfnPane0 = PixelReadout,
       .pfnPane1 = ClassifyPane1, .pfnArrowKey = MoveReadoutCursor},
  };
  for (const DisplayModeEntry& mode : aModes) RegisterDisplayMode(mode);
  SetDefaultContextPopup(kszPopupTraining);
}
