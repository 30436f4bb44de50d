// The output subsystem's message texts, kept here byte for byte.
#pragma once

// The whole scene classified from a model (scene_classifier.cpp).
inline constexpr const char* kszMsgSceneNoFile = "no raster file given";
inline constexpr const char* kszMsgSceneCannotOpen = "cannot open %s: %s";
inline constexpr const char* kszMsgSceneTooManyFiles =
    "%d band files given; a scene has at most 8 bands";
inline constexpr const char* kszMsgSceneSizeDiffers = "%s is %d x %d, but %s is %d x %d";
inline constexpr const char* kszMsgSceneBandMissing =
    "the signatures use band %d, but the scene (%s) has %d bands";
inline constexpr const char* kszMsgSceneBandCount =
    "the scene (%s) has %d bands, but the signatures were trained on a scene of %d";
inline constexpr const char* kszMsgSceneBandType =
    "band %d (%s) holds %s values, but the signatures take it as 8-bit values as they are";
inline constexpr const char* kszMsgSceneInvalidCategory =
    "category %d of the signatures is not valid (its training had too few pixels), so the "
    "window's generation would refuse the model too";
// Maximum likelihood: the category whose covariance cannot be inverted, and why.
inline constexpr const char* kszMsgSceneFewPixels =
    "category %d of the signatures has %d training pixels; maximum likelihood needs at least "
    "%d (one more than the bands in use)";
inline constexpr const char* kszMsgSceneSingular =
    "the covariance of category %d of the signatures cannot be inverted (a band of one value, "
    "or a band that follows from the others), so maximum likelihood cannot use it";
inline constexpr const char* kszMsgSceneWindow =
    "the window %d,%d,%d,%d does not lie within the scene of %d x %d";
inline constexpr const char* kszMsgSceneCannotRead = "cannot read %s: %s";
inline constexpr const char* kszMsgSceneCannotWrite = "cannot write %s: %s";
inline constexpr const char* kszMsgSceneCancelled = "cancelled; %s was not written";

// The desktop's command for it: the caption, the progress text, the end and a failure (the
// reason as above on the next line).
inline constexpr const char* kszCapClassifyScene = "シーン全体の分類";
inline constexpr const char* kszClassifySceneProgress = "シーン全体を分類しています...";
inline constexpr const char* kszMsgClassifySceneDone = "シーン全体を分類しました。\n%s\n%d × %d 画素";
inline constexpr const char* kszMsgClassifySceneFailed = "シーン全体を分類できません。\n%s";
