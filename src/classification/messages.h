// Texts of the categories, training areas and the classification: messages with their captions,
// panel texts and dialog labels. Tests compare against these same literals.
#pragma once

// ---- Messages -----------------------------------------------------------------------------------
inline constexpr const char* kszMsgBackgroundReset =
    "対象とするカテゴリーの変更により直前のカテゴリー画像は無効となります\n"
    "トレーニングエリアの背景は合成画像となります";
inline constexpr const char* kszCapBackgroundReset = "Change to BackGround";
inline constexpr const char* kszMsgClearCategory =
    "この対象となっているカテゴリーのピクセルを全部クリアしていいですか";
inline constexpr const char* kszMsgClearAll = "全部のカテゴリーのピクセルを全部クリアしていいですか";
inline constexpr const char* kszCapClear = "クリア";
inline constexpr const char* kszMsgBandsChanged =
    "使用するバンドを変更したことにより各カテゴリーに対する\n"
    "トレーニングエリア選定の更新が必要です";
inline constexpr const char* kszMsgRegenerate =
    "分類するカテゴリーを変更したことにより\n再度、「カテゴリー画像より分類画像の生成」が必要です";
inline constexpr const char* kszCapProcess = "処理";
// Band b's existence warning: "Band%dはありません チェックは取り消しました" (band 8 breaks the
// line) with the caption "Warning in Check Band%d".
inline constexpr const char* kszMsgNoBandCheck = "Band%dはありません チェックは取り消しました";
inline constexpr const char* kszMsgNoBand8Check = "Band8はありません\nチェックは取り消しました";
inline constexpr const char* kszCapNoBandCheck = "Warning in Check Band%d";

// Signature files: the path and the reason follow on their own lines.
inline constexpr const char* kszMsgSignatureNotSaved = "シグネチャを保存できません。\n%s\n%s";
inline constexpr const char* kszMsgSignatureNotRead =
    "シグネチャを読み込めません。何も変更していません。\n%s\n%s";
inline constexpr const char* kszCapSignature = "シグネチャ";

// The accuracy assessment.
inline constexpr const char* kszCapAccuracy = "精度評価";
inline constexpr const char* kszMsgNoTestAreas =
    "精度評価にはテストエリアが必要です。\n"
    "「テストエリア」をチェックして、各カテゴリーのテストエリアを塗ってください。";

// Separability: why a pair of categories has no values.
inline constexpr const char* kszSepTooFewPixels =
    "カテゴリー%d：トレーニングピクセルが%d個しかありません（%dバンドでは%d個以上必要です）";
inline constexpr const char* kszSepConstantBand =
    "カテゴリー%d：トレーニングピクセルのバンド%dの値が全部同じで、共分散行列の逆行列が求められません";
inline constexpr const char* kszSepDependentBands =
    "カテゴリー%d：トレーニングピクセルのバンド%dの値が他のバンドから一次式で決まり、"
    "共分散行列の逆行列が求められません";
inline constexpr const char* kszSepNoBands = "使用するバンドがありません";
inline constexpr const char* kszSepReasonJoint = "／";
// A pair's cell: no values, and the mark of a pair below the well-separated JM.
inline constexpr const char* kszSepNoValue = "－";
inline constexpr const char* kszSepPoorMark = "＊";
// The table window "カテゴリー間の分離度" and the lines under its table.
inline constexpr const char* kszSepTitle = "カテゴリー間の分離度";
inline constexpr const char* kszSepBandsNote = "使用しているバンド：%s";
inline constexpr const char* kszSepBandsNone = "なし";
inline constexpr const char* kszSepNeedTwo =
    "分離度を求めるには有効なカテゴリーが２つ以上必要です（「トレーニングエリア更新」で有効になります）";
inline constexpr const char* kszSepCellNote =
    "各欄の上段は JM（Jeffries-Matusita 距離、0～2）、下段は TD（変換ダイバージェンス、0～2000）です";
inline constexpr const char* kszSepPoorNote =
    "＊（赤字）：JM が 1.9 未満の組です。分離が十分でなく、分類で混同されやすくなります";
inline constexpr const char* kszSepNoValueNote = "－（%d と %d）%s";
inline constexpr const char* kszSepClose = "閉じる";

// Maximum likelihood needs every category's covariance inverted: the category (number and
// name) and why it cannot be.
inline constexpr const char* kszMsgFewTrainingPixels =
    "カテゴリー%d（%s）のトレーニングピクセルは%d個です\n"
    "最尤法には使用するバンドの数＋１（%d個）以上が必要です\n"
    "分類画像を生成できません";
inline constexpr const char* kszMsgSingularCovariance =
    "カテゴリー%d（%s）の共分散行列は逆行列を求められません\n"
    "値が一定のバンドか、他のバンドから決まるバンドがあります\n"
    "分類画像を生成できません";
inline constexpr const char* kszCapMaximumLikelihood = "最尤法";

// ---- Panels -------------------------------------------------------------------------------------
inline constexpr const char* kaszTrainingGuide[8] = {
    ">マウス操作：",
    ">  「左クリック」で選定",
    ">  「Shift+左クリック」で消去",
    ">必要ピクセル数（全画面の0.1％以上）：",
    ">  x軸(%d)×y軸(%d)×0.001＝%d",
    ">選定後は「トレーニングエリア更新」を行い、",
    ">「カテゴリー画像表示」で確認を行います",
    ">精度の向上には何度もフィードバックが必要です",
};
inline constexpr const char* kszTrainingTitle = "トレーニングエリア選定";
// The training panel's legend of the test areas, while painting marks training or test areas.
inline constexpr const char* kszTestAreaLegend = "テストエリア";
inline constexpr const char* kszTestAreaPainting = "テストエリア（塗っています）";
inline constexpr const char* kszNeedsUpdate = "選定又は更新が必要";
// "ＯＫ" and 22 blanks, which overwrite the longer text.
inline constexpr const char* kszTrainingOk = "ＯＫ                      ";
inline constexpr const char* kaszCategoryInvalidGuide[5] = {
    ">カテゴリー画像：",
    ">このカテゴリーはトレーニングエリアが",
    ">必要ピクセル数に満たないか更新処理が",
    ">なされていません",
    ">「トレーニングエリア選定」が必要です",
};
inline constexpr const char* kaszClassifyGuide[5] = {
    ">分類画像は",
    ">トレーニングエリア選定の更新、ピクセルの",
    ">クリア、及び使用するバンド変更をしたら",
    ">「カテゴリー画像から分類画像を生成」で",
    ">再度、データ更新が必要です",
};
inline constexpr const char* kaszClassifyInvalidGuide[5] = {
    ">分類画像を作成できません",
    ">カテゴリー画像より分類画像を",
    ">生成できません",
    ">各カテゴリーのトレーニングエリアの",
    ">更新状態を再度確認して下さい",
};
inline constexpr const char* kszClassifyTitle = "分類画像";
inline constexpr const char* kszClassOk = "ＯＫ";
inline constexpr const char* kszClassCannot = "処理できません";
inline constexpr const char* kszClassNotTaking = "このカテゴリーは分類しません";
// The row of the pixels beyond the reject threshold.
inline constexpr const char* kszUnclassified = "未分類";

// The distance picture's panel: guidance, title, the measure of each method, the grey scale's
// end values, the threshold in force and the unclassified pixels (red).
inline constexpr const char* kaszDistanceGuide[4] = {
    ">距離画像：",
    ">分類した各ピクセルの、そのカテゴリーまでの",
    ">距離を黒（０）から白（最大）の濃淡で示します",
    ">赤は棄却しきい値を超えた未分類のピクセルです",
};
inline constexpr const char* kszDistanceTitle = "距離画像";
inline constexpr const char* kszDistanceEuclidean = "最短距離法：ユークリッド距離";
inline constexpr const char* kszDistanceMahalanobis = "最尤法：マハラノビス距離の２乗";
inline constexpr const char* kszDistanceNoThreshold = "棄却しきい値：なし";
inline constexpr const char* kszDistanceThresholdDistance = "棄却しきい値：距離 %d";
inline constexpr const char* kszDistanceThresholdProbability = "棄却しきい値：確率 %g％（%.2f）";
inline constexpr const char* kszDistanceUnclassified = "未分類：%d";

// ---- Dialogs ------------------------------------------------------------------------------------
inline constexpr const char* kszCategoryValueTitle = "カテゴリ値設定";
inline constexpr const char* kszActiveCategoryLabel = "Active Category =";
inline constexpr const char* kszCategoryValueOk = "更新";
inline constexpr const char* kszCategoryValueCancel = "ｷｬﾝｾﾙ";
inline constexpr const char* kszCategoryOptionsTitle = "カテゴリー画像のオプション";
inline constexpr const char* kszUseBandsGroup = "使用するバンド";
inline constexpr const char* kszCategoryNamesGroup = "カテゴリーの名前";
inline constexpr const char* kszUseBandsNote = "使用するバンドはカテゴリー１～８で共通です。";
inline constexpr const char* kszClassifyOptionsTitle = "分類画像のオプション";
inline constexpr const char* kszClassifyCategoriesGroup = "分類するカテゴリー";
inline constexpr const char* kszBandsInUseGroup = "使用しているバンド";
inline constexpr const char* kaszCategoryLabel[8] = {"カテゴリー１", "カテゴリー２", "カテゴリー３",
                                                     "カテゴリー４", "カテゴリー５", "カテゴリー６",
                                                     "カテゴリー７", "カテゴリー８"};

// ---- The signature and feature-space plots -------------------------------------------------------
inline constexpr const char* kszSignatureTitle = "シグネチャ";
inline constexpr const char* kszScatterTitle = "特徴空間　Band%d×Band%d";
// A legend row: the category's number, name and training pixels.
inline constexpr const char* kszPlotLegendRow = "%d %s（%dピクセル）";
inline constexpr const char* kszPlotNoCategory = "表示できるカテゴリーがありません";
inline constexpr const char* kaszSignatureNotes[3] = {
    "線：トレーニングピクセルの平均",
    "帯：平均±標準偏差",
    "ひげ：下限～上限",
};
inline constexpr const char* kaszScatterNotes[3] = {
    "濃さ：ピクセル数（対数）",
    "楕円：平均±２σ　＋：中心",
    "矢印キー：←→ 横のバンド　↑↓ 縦のバンド",
};
inline constexpr const char* kszScatterNoCentres = "中心と境界は分類画像の生成後に表示します";
inline constexpr const char* kszScatterBoundaries = "橙の線：最短距離法の決定境界";
inline constexpr const char* kszPlotBandAxis = "バンド";
// The readouts of the two charts.
inline constexpr const char* kszSignatureReadout = "Band%d  値=%d";
inline constexpr const char* kszScatterReadout = "Band%d=%d  Band%d=%d  ピクセル数=%u";
// Dialog IDD_SCATTER_BANDS and its refusal of a band the scene lacks.
inline constexpr const char* kszScatterBandsTitle = "特徴空間のバンド";
inline constexpr const char* kszScatterBandXLabel = "横軸：Band";
inline constexpr const char* kszScatterBandYLabel = "縦軸：Band";
inline constexpr const char* kszMsgScatterNoBand = "Band%dはこのデータにありません（Band1～Band%d）";
// The settings report's line when the feature space is not drawn as it starts.
inline constexpr const char* kszScatterReport = "特徴空間：Band%d×Band%d　決定境界：%s";
