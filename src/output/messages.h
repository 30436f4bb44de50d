// The output subsystem's message texts, kept here byte for byte.
#pragma once

// The whole scene classified from a model (scene_classifier.cpp).
inline constexpr const char* kszMsgSceneNoFile = "no raster file given";
inline constexpr const char* kszMsgSceneCannotOpen = "cannot open %s: %s";
inline constexpr const char* kszMsgSceneTooManyFiles =
    "%d band files given; a scene has at most 8 bands";
inline constexpr const char* kszMsgSceneNotRegular = "cannot open %s: %s, not a regular file";
inline constexpr const char* kszMsgSceneSeveralBands =
    "%s has %d bands; bands come from one file with all of them, or from one single-band file "
    "per band in band order";
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

// Training and test areas in vector files (vector_areas.cpp): the refusals with the path and
// the reason on their own lines, the reasons, and the summary of a reading.
inline constexpr const char* kszCapAreas = "ベクタファイルのエリア";
inline constexpr const char* kszMsgAreasNotRead =
    "エリアを読み込めません。何も変更していません。\n%s\n%s";
inline constexpr const char* kszMsgAreasNotSaved = "エリアを保存できません。\n%s\n%s";
// The reasons, as GDAL's own texts and the signatures' reasons are written.
inline constexpr const char* kszAreasNoGeoreference =
    "the scene has no georeferencing, so polygons cannot be placed on its pixels";
inline constexpr const char* kszAreasCannotOpen = "not a vector file GDAL reads (%s)";
inline constexpr const char* kszAreasNoLayer = "the file holds no vector layer";
inline constexpr const char* kszAreasNoField = "layer %s has no field %s (its fields: %s)";
inline constexpr const char* kszAreasNoFields = "none";
inline constexpr const char* kszAreasCannotTransform =
    "the file's coordinate system cannot be transformed into the scene's (%s)";
inline constexpr const char* kszAreasFeatureNotTransformed =
    "the geometry of feature %lld cannot be transformed into the scene's coordinate system";
inline constexpr const char* kszAreasCannotBurn = "the polygons could not be rasterized (%s)";
inline constexpr const char* kszAreasCannotWrite = "GDAL could not write the GeoPackage (%s)";
inline constexpr const char* kszMsgAreasRead = "ベクタファイルからエリアを読み込みました。\n%s";
inline constexpr const char* kszAreasMarked = "%s（%s）：%sエリア %s ピクセル";
inline constexpr const char* kszAreasTraining = "トレーニング";
inline constexpr const char* kszAreasTest = "テスト";
inline constexpr const char* kszAreasNoneMarked = "マークしたピクセルはありません。";
inline constexpr const char* kszAreasOutside = "ウインドウの外にある図形 %d 個は無視しました。";
inline constexpr const char* kszAreasUnknownCategory =
    "フィールド「%s」の値がカテゴリーの番号（1～8）にも名前にも当たらない図形 %d 個は無視しました（%s）。";
inline constexpr const char* kszAreasUnknownKind =
    "kind が training でも test でもない図形 %d 個は無視しました（%s）。";
inline constexpr const char* kszAreasNotPolygons = "面でない図形（点、線、空の図形）%d 個は無視しました。";
inline constexpr const char* kszAreasAmbiguous =
    "複数のカテゴリーのテストエリアが重なる %s ピクセルはテストエリアにしていません。";
// One value naming nothing and how many features hold it; "（空）" for a feature without one.
inline constexpr const char* kszAreasValueCount = "「%s」%d 個";
inline constexpr const char* kszAreasEmptyValue = "（空）";
inline constexpr const char* kszAreasValueJoint = "、";

// The whole scene's accuracy against reference polygons (classify --test-areas).
inline constexpr const char* kszMsgSceneAreasNotRead = "cannot read the test areas %s: %s";
inline constexpr const char* kszMsgSceneNotGeoreferenced =
    "the scene (%s) has no georeferencing, so the test areas cannot be placed on it";
