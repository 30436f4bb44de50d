// Texts the scene import shows: messages with their captions, and the scene dialog's title and
// labels. Tests compare against these same literals.
#pragma once

// ---- Import driver ------------------------------------------------------------------------------
inline constexpr const char* kszMsgNoSensor = "センサの指定がありません";
inline constexpr const char* kszMsgNoDisplaySize = "表示サイズの指定がありません";
// Both the sensor and the size problem carry this caption.
inline constexpr const char* kszCapNoSensor = "Error in No Sensor";
inline constexpr const char* kszMsgFloppySize =
    "フロッピィディスク版での表示サイズは512×400ドットとなります。";
inline constexpr const char* kszCapSizeMssFd = "Size change MSS FD";
inline constexpr const char* kszCapSizeTmFd = "Size change TM FD";
inline constexpr const char* kszMsgBand1Required = "Band1には必ずチェックが必要です";
inline constexpr const char* kszMsgCheckFiles =
    "ファイル構成を確認して下さい。再度の読み込みが必要です";
inline constexpr const char* kszCapThisData = "Error in This Data";

// Indexed by band number - 1.
inline constexpr const char* kaszCapBand[8] = {
    "Error in Band1", "Error in Band2", "Error in Band3", "Error in Band4",
    "Error in Band5", "Error in Band6", "Error in Band7", "Error in Band8"};
// Band 1 is never invalidated (it gets kszMsgBand1Required instead).
inline constexpr const char* kaszMsgBandInvalid[8] = {
    nullptr,
    "Band2は無効になります", "Band3は無効になります", "Band4は無効になります",
    "Band5は無効になります", "Band6は無効になります", "Band7は無効になります",
    "Band8は無効になります"};

// Empty path and unopenable file: floppy and HDF scenes, then CEOS scenes.
inline constexpr const char* kszMsgNoPath = "パスおよびファイル名の指定がありません";
inline constexpr const char* kszMsgCannotOpen = "ファイルをオープンできません";
inline constexpr const char* kszMsgNoPathCeos = "パス及びファイル名の指定がありません。";
inline constexpr const char* kszMsgCannotOpenCeos = "ファイルをオープンできません。";

// ---- Dialog IDD_OPEN_SATELLITE: the satellite scene ----------------------------------------------------------
inline constexpr const char* kszOpenSatelliteTitle = "衛星データファイルを開く";
inline constexpr const char* kszSensorGroup = "センサの指定";
inline constexpr const char* kszDisplaySizeGroup = "表示サイズの指定";
// Sensor radio buttons 0..4 and the line beside each.
inline constexpr const char* kaszSensorLabel[5] = {"MSS", "TM", "TM", "ETM+", "ETM+"};
inline constexpr const char* kaszSensorLine[5] = {
    "LANDSAT-4,5 / フロッピィディスク / MS-DOS / BSQ",
    "LANDSAT-4,5 / フロッピィディスク / MS-DOS / BSQ",
    "LANDSAT-5 / CD-ROM / CEOS / BSQ",
    "LANDSAT-7 / CD-ROM / HDF 【6,921ピクセル×6,316ライン】",
    "LANDSAT-7 / CD-ROM / HDF 【6,845ピクセル×6,316ライン】"};
// Display-size radio buttons, by size code.
inline constexpr const char* kaszDisplaySizeLabel[3] = {"514*400", "800*600", "1024*1024"};
inline constexpr const char* kaszBandLabel[8] = {"Band1", "Band2", "Band3", "Band4",
                                                 "Band5", "Band6", "Band7", "Band8"};
inline constexpr const char* kszBrowseButton = "参照...";
inline constexpr const char* kszOpenButton = "開く";
inline constexpr const char* kszCancelButton = "キャンセル";
// The browse dialog's filter entries as the user sees them.
inline constexpr const char* kszFilterAllFiles = "全てのファイル(*.*)";
inline constexpr const char* kszFilterTextFiles = "テキストファイル(*.txt)";

// ---- Raster files (GeoTIFF and the other formats GDAL reads) ---------------------------------
inline constexpr const char* kszCapRaster = "Error in Raster";
inline constexpr const char* kszCapRasterBands = "Raster Bands";
inline constexpr const char* kszMsgRasterNoFile = "ラスターファイルの指定がありません";
inline constexpr const char* kszMsgRasterCannotOpen = "ラスターファイルを開くことができません\n%s";
inline constexpr const char* kszMsgRasterTooMany = "バンドは８つまでです（%d 個のファイル）";
inline constexpr const char* kszMsgRasterFirstEight =
    "%s には %d バンドあります。最初の８バンドを読み込みます";
inline constexpr const char* kszMsgRasterSizeDiffers =
    "%s の大きさ（%d×%d）が %s の大きさ（%d×%d）と違います";
inline constexpr const char* kszMsgRasterWindowTooLarge =
    "表示サイズ（%d×%d）がシーンの大きさ（%d×%d）を超えています";
inline constexpr const char* kszMsgRasterCannotRead = "ラスターファイルを読み込めません\n%s";
// A FIFO, a folder or a device in a file's place: refused before GDAL would wait on it.
inline constexpr const char* kszMsgRasterNotRegular =
    "ラスターファイルを開くことができません\n%s\n(%s, not a regular file)";
inline constexpr const char* kszMsgRasterSeveralBands =
    "%s には %d バンドあります。バンドは、全バンドを含むファイル１つか、"
    "バンド順に１バンドずつのファイル（８つまで）で指定してください";
inline constexpr const char* kszMsgRasterNoFiniteValue =
    "%s のバンド %d には有効な値がありません（NaN、無限大又は nodata だけです）";
// What GDAL said about a file: the detail of a refusal, a line of its own for a file taken.
inline constexpr const char* kszGdalSaid = "GDAL, %s: %s";
inline constexpr const char* kszOpenRasterTitle = "ラスターファイルを開く";

// ---- BMP pictures ----------------------------------------------------------------------------
// Shown with the application's name as the caption.
inline constexpr const char* kszMsgBmpShort = "read error 1";
inline constexpr const char* kszMsgBmpNotBitmap = "Invalid bitmap file";
inline constexpr const char* kszMsgBmpReadError = "Read error 1";
inline constexpr const char* kszMsgBmpUnsupported = "このBMP画像は読み込めません（%s）";
inline constexpr const char* kszMsgBmpTooLarge = "このBMP画像は大きすぎます（%s）";
// Under each of the lines above: the file, and what is wrong with it where the line says not.
inline constexpr const char* kszMsgBmpFile = "%s\n%s";
inline constexpr const char* kszMsgBmpFileReason = "%s\n%s\n(%s)";
inline constexpr const char* kszBmpProgress = "ＢＭＰ画像よりデータを生成中．．． ";
inline constexpr const char* kszBmpPercent = "%d％";

// ---- Dialog IDD_BAND_ARITHMETIC: band arithmetic -------------------------------------------------------------
inline constexpr const char* kszBandArithmeticTitle = "演算ライブラリ";
inline constexpr const char* kszNdviLine1 = "Landsat TM 植生指標( NDVI )";
inline constexpr const char* kszNdviLine2 = "Band8 = { (Band4-Band3) / (Band4+Band3) }  * 100 + 100";
inline constexpr const char* kszNdviCreate = "作成";
