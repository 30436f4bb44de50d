#include "classification/classify_method.h"

#include <nlohmann/json.hpp>

#include "core/text_format.h"
#include "resources/resource.h"

namespace {

const DialogField kaFields[] = {
    {FieldKind::Range, "METHOD", 0, 1},
    {FieldKind::Range, "DIST", 0, kMaxRejectDistance},
    {FieldKind::Range, "PROB", 0, 6},
};

void CurrentMethod(int anValues[]) {
  anValues[0] = g_nClassifyMethod;
  anValues[1] = g_nRejectDistance;
  anValues[2] = g_nRejectProbability;
}

void ApplyMethod(const int anValues[]) {
  const bool bChanged = anValues[0] != g_nClassifyMethod || anValues[1] != g_nRejectDistance ||
                        anValues[2] != g_nRejectProbability;
  g_nClassifyMethod = anValues[0];
  g_nRejectDistance = anValues[1];
  g_nRejectProbability = anValues[2];
  // The map on show was made another way: the next one needs a generation.
  if (bChanged) g_bClassified = false;
}

const char* MethodName() {
  return g_nClassifyMethod == kMethodMaximumLikelihood ? "最尤法" : "最短距離法";
}

}  // namespace

const DialogSpec kClassifyMethodDialog = {.nId = IDD_CLASSIFY_METHOD,
                                          .aFields = kaFields,
                                          .anCliOrder = {},
                                          .pfnCurrent = CurrentMethod,
                                          .pfnApply = ApplyMethod};

void ResetClassifyMethod() {
  g_nClassifyMethod = kMethodMinimumDistance;
  g_nRejectDistance = 0;
  g_nRejectProbability = 0;
}

bool ClassifyMethodIsDefault() {
  return g_nClassifyMethod == kMethodMinimumDistance && g_nRejectDistance == 0 &&
         g_nRejectProbability == 0;
}

int RejectDistanceInForce() {
  return g_nClassifyMethod == kMethodMinimumDistance ? g_nRejectDistance : 0;
}

double RejectPercentInForce() {
  return g_nClassifyMethod == kMethodMaximumLikelihood && g_nRejectProbability >= 1 &&
                 g_nRejectProbability <= 6
             ? kadRejectPercent[g_nRejectProbability]
             : 0.0;
}

int RejectProbabilityCode(const std::string& strPercent) {
  static const char* const kaszPercent[7] = {"", "0.1", "0.5", "1", "2.5", "5", "10"};
  for (int k = 1; k <= 6; ++k) {
    if (strPercent == kaszPercent[k]) return k;
  }
  return 0;
}

void AppendClassifyMethodReport(std::vector<ReportLine>& aLines) {
  if (ClassifyMethodIsDefault()) return;
  std::string str = FormatText("分類方法：%s", MethodName());
  if (RejectDistanceInForce() > 0) {
    str += FormatText("　棄却しきい値：距離 %d", RejectDistanceInForce());
  } else if (RejectPercentInForce() > 0.0) {
    str += FormatText("　棄却しきい値：確率 %g％", RejectPercentInForce());
  }
  aLines.push_back({47, str});
}

void AppendClassifyMethodStats(nlohmann::ordered_json& obj) {
  obj["method"] = g_nClassifyMethod == kMethodMaximumLikelihood ? "max-likelihood" : "min-distance";
  obj["reject_distance"] = RejectDistanceInForce() > 0 ? nlohmann::ordered_json(RejectDistanceInForce())
                                                       : nlohmann::ordered_json(nullptr);
  obj["reject_probability_percent"] = RejectPercentInForce() > 0.0
                                          ? nlohmann::ordered_json(RejectPercentInForce())
                                          : nlohmann::ordered_json(nullptr);
}
