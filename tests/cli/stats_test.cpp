// The JSON state report of "geolumen stats", checked by its text: no JSON library is needed.
#include "cli/stats.h"

#include <algorithm>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "support/recording_platform.h"

namespace {

std::string StatsJson() {
  std::ostringstream out;
  WriteStatsJson(out);
  return out.str();
}

// Brackets balanced and matched outside strings, strings closed and free of raw control
// characters, no comma before a closing bracket.
bool IsWellFormed(const std::string& str) {
  std::vector<char> aStack;
  bool bInString = false;
  char chLast = 0;  // the last character outside strings that is not white space
  for (std::size_t i = 0; i < str.size(); ++i) {
    const char ch = str[i];
    if (bInString) {
      if (static_cast<unsigned char>(ch) < 0x20) return false;
      if (ch == '\\') ++i;
      if (ch == '"') bInString = false;
      continue;
    }
    if (ch == '"') bInString = true;
    if (ch == '{' || ch == '[') aStack.push_back(ch == '{' ? '}' : ']');
    if (ch == '}' || ch == ']') {
      if (aStack.empty() || aStack.back() != ch || chLast == ',') return false;
      aStack.pop_back();
    }
    if (ch != ' ' && ch != '\n') chLast = ch;
  }
  return !bInString && aStack.empty() && chLast == '}';
}

// Every fragment occurs, each after the one before it.
void ExpectInOrder(const std::string& str, std::initializer_list<std::string> astrFragments) {
  std::size_t nAt = 0;
  for (const std::string& strFragment : astrFragments) {
    const std::size_t nFound = str.find(strFragment, nAt);
    ASSERT_NE(nFound, std::string::npos) << "missing after offset " << nAt << ": " << strFragment;
    nAt = nFound + strFragment.size();
  }
}

// The text of category c's object, up to the next category.
std::string CategoryText(const std::string& str, int c) {
  const std::size_t nStart = str.find("\"number\": " + std::to_string(c) + ",");
  if (nStart == std::string::npos) return "";
  return str.substr(nStart, str.find("\"number\": ", nStart + 1) - nStart);
}

std::size_t CountOf(const std::string& str, const std::string& strFragment) {
  std::size_t n = 0;
  for (std::size_t i = str.find(strFragment); i != std::string::npos;
       i = str.find(strFragment, i + 1)) {
    ++n;
  }
  return n;
}

}  // namespace

using StatsTest = LogicTest;

TEST_F(StatsTest, SceneReportsItsHistogramsSettingsAndCategoriesInOrder) {
  // Band 1 takes the values 0..3 in equal shares, band 3 is 200 everywhere.
  MakeScene(20, 10, 3, Sensor::TmFloppy, [](int x, int y, int b) {
    return b == 1 ? x % 4 : b == 2 ? y * 10 : 200;
  });
  g_abUseBand[0] = 0;  // band 1 out of use: band numbers count from 1, the flags from 0
  g_astrCategoryName[2] = "森林";
  g_acrCategoryColour[2] = Rgb(10, 20, 30);
  for (int b = 1; b <= 8; ++b) {
    g_anCatLower[b][2] = b;
    g_anCatUpper[b][2] = 100 + b;
  }
  g_anTrainCount[2] = 57;
  g_abCategoryValid[2] = 1;
  g_abClassify[2] = 1;
  g_abClassColourOn[2] = 2;  // only 1 counts as on
  g_anClassCount[2] = 33;
  g_anBandInRange[1] = 11;
  g_anBandInRange[3] = 13;
  g_anBandInRange[4] = 99;  // beyond the scene's bands: not listed
  g_abClassify[3] = 0;

  std::string strBand1 = "[50, 50, 50, 50";
  for (int v = 4; v < 256; ++v) strBand1 += ", 0";
  strBand1 += "]";
  std::string strBand3 = "[0";
  for (int v = 1; v < 256; ++v) strBand3 += v == 200 ? ", 200" : ", 0";
  strBand3 += "]";

  const std::string str = StatsJson();
  EXPECT_TRUE(IsWellFormed(str)) << str;
  ExpectInOrder(str, {"{\n  \"sensor\": 1,\n", "\"width\": 20,\n", "\"height\": 10,\n",
                      "\"bands\": 3,\n", "\"display_mode\": 10,\n", "\"band_histograms\": [",
                      strBand1 + ",", "[", strBand3 + "\n", "\"composite\": {", "\"red_band\": ",
                      "\"cutoff_linked\": false\n", "\"categories\": [", "\"required_pixels\": ",
                      "\"bands_in_use\": [2, 3],\n", "\"band_in_range\": [11, 0, 13],\n",
                      "\"classified\": false\n}\n"});
  EXPECT_EQ(CountOf(str, "\"number\": "), 8u);

  ExpectInOrder(CategoryText(str, 2),
                {"\"name\": \"森林\",", "\"colour\": [10, 20, 30],",
                 "\"lower\": [1, 2, 3, 4, 5, 6, 7, 8],",
                 "\"upper\": [101, 102, 103, 104, 105, 106, 107, 108],",
                 "\"training_pixels\": 57,", "\"valid\": true,", "\"takes_part\": true,",
                 "\"colouring_on\": false,", "\"class_pixels\": 33\n"});
  ExpectInOrder(CategoryText(str, 3), {"\"valid\": false,", "\"takes_part\": false,"});
}

TEST_F(StatsTest, NamesAreEscapedAndUtf8PassesThrough) {
  g_astrCategoryName[5] = "a\"b\\c\nd}\t水田 ]\x01";
  const std::string str = StatsJson();
  EXPECT_TRUE(IsWellFormed(str)) << str;
  EXPECT_NE(CategoryText(str, 5).find("\"name\": \"a\\\"b\\\\c\\u000ad}\\u0009水田 ]\\u0001\","),
            std::string::npos)
      << str;
  // Nothing below a space but the line breaks between members.
  EXPECT_TRUE(std::none_of(str.begin(), str.end(), [](char ch) {
    return ch != '\n' && static_cast<unsigned char>(ch) < 0x20;
  })) << str;
}

TEST_F(StatsTest, WithoutDataNoBandIsListed) {
  const std::string str = StatsJson();
  EXPECT_TRUE(IsWellFormed(str)) << str;
  ExpectInOrder(str, {"\"sensor\": 20,", "\"bands\": 0,", "\"display_mode\": 20,",
                      "\"band_histograms\": [],", "\"categories\": [", "\"bands_in_use\": [],",
                      "\"band_in_range\": [],", "\"classified\": false"});
  EXPECT_EQ(CountOf(str, "\"number\": "), 8u);
}
