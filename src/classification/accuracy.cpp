#include "classification/accuracy.h"

#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>

#include "classification/category_settings.h"
#include "core/state.h"
#include "core/text_format.h"

namespace {

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();

double Share(std::uint64_t nPart, std::uint64_t nWhole) {
  return nWhole == 0 ? kNan : static_cast<double>(nPart) / static_cast<double>(nWhole);
}

nlohmann::ordered_json NumberOrNull(double d) {
  return std::isnan(d) ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(d);
}

std::string CsvNumber(double d) { return std::isnan(d) ? "" : FormatText("%.6f", d); }

// A CSV field: quoted when it holds a comma, a quote or a line break.
std::string CsvText(const std::string& str) {
  if (str.find_first_of(",\"\r\n") == std::string::npos) return str;
  std::string strOut = "\"";
  for (char c : str) strOut += c == '"' ? std::string("\"\"") : std::string(1, c);
  return strOut + "\"";
}

}  // namespace

void Accuracy::Add(int nClass, int nReference, std::uint64_t nCount) {
  if (nClass < 1 || nClass > kUnclassifiedRow || nReference < 1 || nReference > 8) return;
  aanMatrix[nClass][nReference] += nCount;
}

bool Accuracy::Finish() {
  nTotal = 0;
  std::uint64_t nAgree = 0;
  for (int r = 1; r <= kUnclassifiedRow; ++r) anRowTotal[r] = 0;
  for (int c = 1; c <= 8; ++c) anColumnTotal[c] = 0;
  for (int r = 1; r <= kUnclassifiedRow; ++r) {
    for (int c = 1; c <= 8; ++c) {
      anRowTotal[r] += aanMatrix[r][c];
      anColumnTotal[c] += aanMatrix[r][c];
      nTotal += aanMatrix[r][c];
    }
  }
  for (int k = 1; k <= 8; ++k) {
    nAgree += aanMatrix[k][k];
    adProducers[k] = Share(aanMatrix[k][k], anColumnTotal[k]);
    adUsers[k] = Share(aanMatrix[k][k], anRowTotal[k]);
  }
  if (nTotal == 0) {
    dOverall = dKappa = dKappaSe = kNan;
    return false;
  }
  const double dN = static_cast<double>(nTotal);
  dOverall = static_cast<double>(nAgree) / dN;
  // Chance agreement: the unclassified row has no column of its own, so adds nothing.
  double dChance = 0.0;
  for (int k = 1; k <= 8; ++k) {
    dChance += static_cast<double>(anRowTotal[k]) * static_cast<double>(anColumnTotal[k]) / (dN * dN);
  }
  if (dChance >= 1.0) {
    // Every pixel in one category on both sides: agreement is certain by chance alone.
    dKappa = dKappaSe = kNan;
    return true;
  }
  dKappa = (dOverall - dChance) / (1.0 - dChance);
  // The large-sample approximation sqrt(po (1 - po) / (N (1 - pe)^2)).
  dKappaSe = std::sqrt(dOverall * (1.0 - dOverall) / (dN * (1.0 - dChance) * (1.0 - dChance)));
  return true;
}

bool WindowAccuracy(Accuracy& acc) {
  acc = Accuracy{};
  for (int x = 0; x < WindowWidth(); ++x) {
    for (int y = 0; y < WindowHeight(); ++y) {
      const PixelRecord& px = g_aPixel[x][y];
      for (int c = 0; c < 8; ++c) {
        if (px.abTrainMark[c] != kTestMark) continue;
        // Class 8 in the plane: left unclassified.
        acc.Add(px.bClassifyClass < 8 ? px.bClassifyClass + 1 : kUnclassifiedRow, c + 1);
        break;
      }
    }
  }
  return acc.Finish();
}

nlohmann::ordered_json AccuracyJson(const Accuracy& acc) {
  using Json = nlohmann::ordered_json;
  Json matrix = Json::array();
  for (int r = 1; r <= kUnclassifiedRow; ++r) {
    Json row = Json::array();
    for (int c = 1; c <= 8; ++c) row.push_back(acc.aanMatrix[r][c]);
    matrix.push_back(row);
  }
  Json producers = Json::array(), users = Json::array(), pixels = Json::array();
  for (int k = 1; k <= 8; ++k) {
    producers.push_back(NumberOrNull(acc.adProducers[k]));
    users.push_back(NumberOrNull(acc.adUsers[k]));
    pixels.push_back(acc.anColumnTotal[k]);
  }
  Json obj;
  obj["matrix"] = matrix;  // rows: classified 1..8 then unclassified; columns: reference 1..8
  obj["overall"] = NumberOrNull(acc.dOverall);
  obj["producers"] = producers;
  obj["users"] = users;
  obj["kappa"] = NumberOrNull(acc.dKappa);
  obj["kappa_se"] = NumberOrNull(acc.dKappaSe);
  obj["test_pixels"] = pixels;
  return obj;
}

std::string AccuracyCsv(const Accuracy& acc, const std::string astrName[9]) {
  std::string str = "classified \\ reference";
  for (int c = 1; c <= 8; ++c) str += "," + CsvText(FormatText("%d %s", c, astrName[c].c_str()));
  str += ",total,user's accuracy\n";
  for (int r = 1; r <= kUnclassifiedRow; ++r) {
    str += r == kUnclassifiedRow ? std::string("未分類") : CsvText(FormatText("%d %s", r, astrName[r].c_str()));
    for (int c = 1; c <= 8; ++c) str += FormatText(",%llu", static_cast<unsigned long long>(acc.aanMatrix[r][c]));
    str += FormatText(",%llu,", static_cast<unsigned long long>(acc.anRowTotal[r]));
    str += r == kUnclassifiedRow ? std::string() : CsvNumber(acc.adUsers[r]);
    str += "\n";
  }
  str += "total";
  for (int c = 1; c <= 8; ++c) str += FormatText(",%llu", static_cast<unsigned long long>(acc.anColumnTotal[c]));
  str += FormatText(",%llu\n", static_cast<unsigned long long>(acc.nTotal));
  str += "producer's accuracy";
  for (int c = 1; c <= 8; ++c) str += "," + CsvNumber(acc.adProducers[c]);
  str += "\n\noverall accuracy," + CsvNumber(acc.dOverall) + "\n";
  str += "kappa," + CsvNumber(acc.dKappa) + "\n";
  str += "kappa standard error," + CsvNumber(acc.dKappaSe) + "\n";
  return str;
}
