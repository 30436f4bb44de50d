#include "classification/classification.h"

#include <algorithm>
#include <string>

#include "classification/categories.h"
#include "classification/category_panels.h"
#include "classification/classify.h"
#include "classification/classify_method.h"
#include "classification/distance_picture.h"
#include "classification/plots.h"
#include "classification/histogram_kinds.h"
#include "core/commands.h"
#include "core/dialogs.h"
#include "core/display_modes.h"
#include "core/settings_groups.h"
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

template <int N> void OnCategory() { OnSelectCategory(N); }
template <int N> void OnDotSize() { SetDotSize(N - 1); }
template <int N> void OnTrainBackground() { SetTrainBackground(N); }
template <int N> void OnClassColour() { ToggleClassColour(N); }
void OnClassesOn() { SetAllClassColours(1); }
void OnClassesOff() { SetAllClassColours(0); }
bool CheckCategory(int n) { return g_nCategory == n; }
bool CheckDotSize(int n) { return g_nDotSize == n - 1; }
bool CheckTrainBackground(int n) { return g_nTrainBackground == n; }
bool CheckTestArea(int) { return g_bPaintTest; }
void OnTestArea() { g_bPaintTest = !g_bPaintTest; }

bool CheckClassColour(int n) { return g_abClassColourOn[n] == 1; }

// The classification's part of the rules TU, CI, CL and CLc (the core adds "three bands").
bool TrainingAreaShown(int) { return g_nDisplayMode == DisplayMode::Training; }
bool TargetImageValid(int) { return g_abCategoryValid[TargetCategory()] == 1; }
bool Classified(int) { return g_bClassified == 1; }
bool ClassifiedWithCategory(int nCategory) {
  return g_bClassified == 1 && nCategory >= 1 && nCategory <= 8 && g_abClassify[nCategory] == 1;
}

void PaintTraining(int x, int y, bool bShift) { OnTrainingPaint(x, y, bShift); }
void DrawShownCategoryPanel() {
  if (g_abCategoryValid[TargetCategory()] == 1) {
    DrawCategoryPanel();
  } else {
    DrawCategoryInvalidPanel();
  }
}
void DrawShownClassifyPanel() {
  if (g_bClassified == 1) {
    DrawClassifyPanel();
  } else {
    DrawClassifyInvalidPanel();
  }
}

#define CATEGORY(n, text) COMMAND(ID_CATEGORY##n, text, D3c, .nArg = n, \
    .pfnCheck = CheckCategory, .pfnHandler = OnCategory<n>, .szIcon = "category" #n, \
    .szCliOption = "--category")
#define DOT_SIZE(n, text, value) COMMAND(ID_DOT_SIZE##n, text, D3c, .nArg = n, \
    .pfnCheck = CheckDotSize, .pfnHandler = OnDotSize<n>, .szCliOption = "--dot-size", \
    .szCliValue = value)
#define CLASS_TOGGLE(n, text) COMMAND(ID_CLASS_TOGGLE##n, text, CLc, .nArg = n, \
    .pfnCheck = CheckClassColour, .pfnHandler = OnClassColour<n>, \
    .szCliOption = "--class-colour-toggle")

const CommandEntry kaClassificationCommands[] = {
    COMMAND(ID_CATEGORY_VIEW, "カテゴリー画像表示(&V)", CI, .pfnHandler = OnCategoryView,
            .szIcon = "category"),
    COMMAND(ID_CATEGORY_SMOOTH_VIEW, "カテゴリー画像スムーズ表示(&S)", CI,
            .pfnHandler = OnCategorySmoothView, .szIcon = "category-smooth"),
    COMMAND(ID_CATEGORY_HISTOGRAM, "簡易ヒストグラム表示(&H)", CI,
            .pfnHandler = OnCategoryHistogram),
    CATEGORY(1, "カテゴリー１(Category&1)"),
    // The menu has always labelled category 2 with "&3".
    CATEGORY(2, "カテゴリー２(Category&3)"),
    CATEGORY(3, "カテゴリー３(Category&3)"),
    CATEGORY(4, "カテゴリー４(Category&4)"),
    CATEGORY(5, "カテゴリー５(Category&5)"),
    CATEGORY(6, "カテゴリー６(Category&6)"),
    CATEGORY(7, "カテゴリー７(Category&7)"),
    CATEGORY(8, "カテゴリー８(Category&8)"),
    COMMAND(ID_TRAINING_SELECT, "トレーニングエリア選定(T)", D3, .pfnHandler = OnTrainingSelect,
            .szCliOption = "--train-select"),
    COMMAND(ID_TRAINING_UPDATE, "トレーニングエリア更新(&R)", TU, .pfnHandler = OnTrainingUpdate,
            .szCliOption = "--train-update"),
    COMMAND(ID_TRAINING_UPDATE_ALL, "全カテゴリーのトレーニングエリア更新", TU,
            .pfnHandler = OnTrainingUpdateAll, .szCliOption = "--train-update-all"),
    DOT_SIZE(1, " １ピクセル／ドット(&A)", "1"),
    DOT_SIZE(2, " ４ピクセル／ドット(&B)", "4"),
    DOT_SIZE(3, " ９ピクセル／ドット(&C)", "9"),
    DOT_SIZE(4, "16ピクセル／ドット(&D)", "16"),
    COMMAND(ID_CLEAR_CATEGORY, "対象カテゴリーのピクセルをクリア( )", D3,
            .pfnHandler = OnClearCategoryPixels, .szCliOption = "--clear-category"),
    COMMAND(ID_CLEAR_ALL_CATEGORIES, "全カテゴリーのピクセルをクリア(&C)", D3,
            .pfnHandler = OnClearAllPixels, .szCliOption = "--clear-all"),
    COMMAND(ID_TRAINING_BACK_COMPOSITE, "合成画像( )", D3c, .nArg = 0,
            .pfnCheck = CheckTrainBackground, .pfnHandler = OnTrainBackground<0>,
            .szCliOption = "--train-background", .szCliValue = "composite"),
    COMMAND(ID_TRAINING_BACK_CATEGORY, "直前のカテゴリー画像( )", CI, .nArg = 1,
            .pfnCheck = CheckTrainBackground, .pfnHandler = OnTrainBackground<1>,
            .szCliOption = "--train-background", .szCliValue = "previous"),
    // Painting marks test areas while checked (the command line's --area names the kind).
    COMMAND(ID_TEST_AREA, "テストエリア( )", D3c, .pfnCheck = CheckTestArea,
            .pfnHandler = OnTestArea),
    COMMAND(ID_CATEGORY_COLOUR, "カテゴリーのカラー設定(&S)...", D3, .pfnHandler = OnCategoryColour),
    COMMAND(ID_CATEGORY_VALUES, "カテゴリーと値を設定(&A)...", D3,
            .szCliOption = "--category-values", .pDialog = &kCategoryValueDialog),
    // The options dialogs are the desktop's: it gives these their handlers.
    COMMAND(ID_CATEGORY_OPTIONS, "カテゴリー画像のオプション(&O)...", D3),
    COMMAND(ID_CLASSIFY_VIEW, "分類画像表示(&V)", CL, .pfnHandler = OnClassifyView,
            .szIcon = "classification"),
    COMMAND(ID_CLASSIFY_SMOOTH_VIEW, "分類画像スムーズ表示(&S)", CL,
            .pfnHandler = OnClassifySmoothView, .szIcon = "classification-smooth"),
    COMMAND(ID_CLASSIFY_HISTOGRAM, "簡易ヒストグラム表示( )", CL, .pfnHandler = OnClassifyHistogram),
    COMMAND(ID_CLASSIFY_GENERATE, "カテゴリー画像より分類画像を生成(&H)", D3,
            .pfnHandler = OnClassifyGenerate, .szIcon = "generate", .szCliOption = "--classify"),
    CLASS_TOGGLE(1, "カテゴリー１ の着色(Category&1)"),
    CLASS_TOGGLE(2, "カテゴリー２ の着色(Category&2)"),
    CLASS_TOGGLE(3, "カテゴリー３ の着色(Category&3)"),
    CLASS_TOGGLE(4, "カテゴリー４ の着色(Category&4)"),
    CLASS_TOGGLE(5, "カテゴリー５ の着色(Category&5)"),
    CLASS_TOGGLE(6, "カテゴリー６ の着色(Category&6)"),
    CLASS_TOGGLE(7, "カテゴリー７ の着色(Category&7)"),
    CLASS_TOGGLE(8, "カテゴリー８ の着色(Category&8)"),
    COMMAND(ID_CLASSES_ON, "全カテゴリーＯＮ(&O)", CL, .pfnHandler = OnClassesOn,
            .szCliOption = "--class-colours-on"),
    COMMAND(ID_CLASSES_OFF, "全カテゴリーＯＦＦ(&F)", CL, .pfnHandler = OnClassesOff,
            .szCliOption = "--class-colours-off"),
    COMMAND(ID_CLASSES_INVERT, "ＯＮ／ＯＦＦ反転(&T)", CL, .pfnHandler = InvertClassColours,
            .szCliOption = "--class-colours-invert"),
    COMMAND(ID_CLASSIFY_OPTIONS, "分類画像のオプション(&O)...", D3),
    COMMAND(ID_CLASSIFY_METHOD, "分類方法の設定(&M)...", D3, .pDialog = &kClassifyMethodDialog),
    // Its window is the desktop's; the command line has "geolumen accuracy".
    COMMAND(ID_ACCURACY, "精度評価(&E)...", CL),
    // A table window of the desktop's; the command line has the same figures in "stats".
    COMMAND(ID_CLASSIFY_SEPARABILITY, "カテゴリー間の分離度(&B)...", D3),
    // Their file dialogs are the desktop's; the command line names the file.
    COMMAND(ID_SIGNATURE_SAVE, "シグネチャを保存(&W)...", CL),
    COMMAND(ID_SIGNATURE_LOAD, "シグネチャを読み込む(&R)...", D3),
};

#undef CATEGORY
#undef DOT_SIZE
#undef CLASS_TOGGLE

}  // namespace

void RegisterClassification() {
  RegisterCommands(kaClassificationCommands);
  RegisterRulePredicate(Rule::TU, TrainingAreaShown);
  RegisterRulePredicate(Rule::CI, TargetImageValid);
  RegisterRulePredicate(Rule::CL, Classified);
  RegisterRulePredicate(Rule::CLc, ClassifiedWithCategory);
  const DisplayModeEntry aModes[] = {
      {.eMode = DisplayMode::Category, .bShowsPicture = true,
       .pfnDrawPanel = DrawShownCategoryPanel, .pfnPane0 = PixelReadout,
       .pfnPane1 = CategoryPane1, .pfnArrowKey = MoveReadoutCursor, .szProduct = "category",
       .nViewCommand = ID_CATEGORY_VIEW},
      // A click paints one dot; a drag with the button held paints the line it went along.
      {.eMode = DisplayMode::Training, .bShowsPicture = true, .pfnDrawPanel = DrawTrainingPanel,
       .pfnClick = PaintTraining, .pfnDrag = OnTrainingStroke, .pfnPane0 = PixelReadout,
       .pfnPane1 = TrainingPane1, .pfnArrowKey = MoveReadoutCursor, .szProduct = "training",
       .nViewCommand = ID_TRAINING_SELECT},
      {.eMode = DisplayMode::Classify, .bShowsPicture = true,
       .pfnDrawPanel = DrawShownClassifyPanel, .pfnPane0 = PixelReadout,
       .pfnPane1 = ClassifyPane1, .pfnArrowKey = MoveReadoutCursor,
       .szProduct = "classification", .nViewCommand = ID_CLASSIFY_VIEW},
  };
  for (const DisplayModeEntry& mode : aModes) RegisterDisplayMode(mode);
  RegisterDistancePicture();
  RegisterPlots();
  RegisterCategoryReaction(DisplayMode::Category, ShowCategoryOfTarget);
  RegisterCategoryReaction(DisplayMode::Training, ShowTrainingOfTarget);
  RegisterClassificationHistogramKinds();
  SetDefaultContextPopup(kszPopupTraining);
  RegisterCategorySettings();
}
