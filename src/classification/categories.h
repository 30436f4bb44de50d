// Categories and their training areas: the target category, painting training pixels, the
// ranges an update derives from them, the category image, and the category options.
#pragma once

#include <cstdint>
#include <string>

#include "classification/category_settings.h"
#include "core/state.h"

struct DialogSpec;

// The settings group: ranges, dot size, background, validity, names and the classification
// flags (query); the category colours (palette).
void ResetCategoryQuery();
void ResetCategoryPalette();

// The target category, pulled into 1..8 for indexing.
int TargetCategory();

// Commands.
void OnSelectCategory(int nCategory);  // 1..8
// After the target (or its colour) changed: the background returns to the composite, and the
// picture shown reacts as its display mode registered (the category picture and the training
// area are redrawn for the new target; the other pictures stay).
void OnCategoryChanged();
// Registers what display mode eMode does when the target changes. A second reaction for a mode
// stops the program at start-up.
using CategoryReaction = void (*)();
void RegisterCategoryReaction(DisplayMode eMode, CategoryReaction pfnReact);
// The reactions of the category picture and the training area: the new target's picture (its
// prepare step without redrawing, the invalid panel while it has no image), or its training
// area (its update without redrawing).
void ShowCategoryOfTarget();
void ShowTrainingOfTarget();
// The ranges of the target from its training pixels, then the training panel (DisplayMode::Training).
void OnTrainingUpdate();
// The same update for every category with training pixels, 1 to 8; the target stays, and the
// training panel shows each category's state.
void OnTrainingUpdateAll();
// The update, then the training area drawn over the composite (or the previous category image).
void OnTrainingSelect();
void OnCategoryView();
void OnCategorySmoothView();
// The prepare step: the category image of the target, its histograms, the in-range counts and
// the category panel (DisplayMode::Category).
void OnCategoryHistogram();
void ComputeCategoryImage();
// The category picture from the marks the last ComputeCategoryImage left (the view command's
// render step).
void RenderCategoryPicture(bool bSmooth);
// The membership and histograms of the categories of nMask (bit c-1 for category c) in one
// pass; bCategoryClass tells the membership in nTarget's image. g_anCatHist of the others stays.
void CountCategoryImages(unsigned nMask, int nTarget);
// After the target's membership is known: its in-range counts and the category panel (display
// DisplayMode::Category).
void FinishCategoryImage(int nTarget);
// The same membership and histograms as one plain loop, the reference for the fast one.
void ComputeCategoryImagePlain();
void OnClearCategoryPixels();
void OnClearAllPixels();
void SetDotSize(int nDotSize);            // 0..3
void SetTrainBackground(int nBackground);  // 0 composite, 1 previous category image

// A left click (or a drag step) at (x, y) in the training area: one dot of the target painted,
// or erased with Shift, when the whole dot lies inside the window; training marks, or while
// g_bPaintTest test marks (a test pixel belongs to one category and to no training area).
// Test marks leave the categories' validity and the classification as they are.
void OnTrainingPaint(int x, int y, bool bErase);
// Marks category nCategory's pixels of the window where pInside (W x H bytes, row by row) is
// not 0, by the painting rules: a training mark joins the other categories' training marks and
// takes the pixel from a test category; a test mark takes it from every other category. New
// training pixels leave the category and the classification needing an update, as painting
// does; test pixels leave them as they are. Returns the pixels marked.
std::uint64_t MarkWindowArea(int nCategory, bool bTest, const std::uint8_t* pInside);
// After marks changed without a click: the training area, when shown, drawn again with them.
void ShowChangedMarks();
// A step of a drag from (x0, y0) to (x1, y1): the dot a click would paint (or erase) at every
// point of the straight line between them, both ends included.
void OnTrainingStroke(int x0, int y0, int x1, int y1, bool bErase);

// The colour test pixels of a category are drawn in: its colour at half strength, so they stand
// apart from its training pixels.
Colorref TestAreaColour(Colorref cr);

// Dialog IDD_CATEGORY_VALUE: the category number 1..8 and the lower and upper values of bands 1..8.
extern const DialogSpec kCategoryValueDialog;
// The values the dialog shows for category nCategory: [0] the number, then lower, upper of
// band 1, ..., band 8.
void CategoryValues(int nCategory, int anValues[17]);

// The colour picker for the target category.
void OnCategoryColour();

// The category options (dialog IDD_CATEGORY_OPTIONS) and the classification options (dialog IDD_CLASSIFY_OPTIONS) as OK hands
// them over: flags and names of bands and categories 1..8 (index 0 unused).
struct CategoryOptions {
  int abUseBand[9] = {};
  int abClassify[9] = {};
  std::string astrName[9];
};
CategoryOptions CurrentCategoryOptions();
void ApplyCategoryOptions(const CategoryOptions& options);
void ApplyClassifyOptions(const CategoryOptions& options);
