// How the classification assigns pixels: the method (minimum distance or maximum likelihood)
// and the reject threshold beyond which a pixel stays unclassified. Part of the category
// settings group; the defaults are the program's classic behaviour, and the report, the work
// file and "stats" say nothing of them while they hold.
#pragma once

#include <nlohmann/json_fwd.hpp>
#include <string>
#include <vector>

#include "classification/category_settings.h"
#include "core/dialogs.h"
#include "core/settings_groups.h"

// Dialog IDD_CLASSIFY_METHOD: METHOD (0 minimum distance, 1 maximum likelihood), DIST (the
// largest distance, 0 for none, 1..721) and PROB (0 for none, 1..6 for 0.1, 0.5, 1, 2.5, 5 and
// 10 %). OK with a change leaves the classification needing a generation.
extern const DialogSpec kClassifyMethodDialog;

// Back to minimum distance without a threshold (the category query's reset).
void ResetClassifyMethod();
// Whether the method and threshold are the defaults.
bool ClassifyMethodIsDefault();

// The threshold in force for the method: the distance (minimum distance) or the probability in
// percent (maximum likelihood); 0 when there is none.
int RejectDistanceInForce();
double RejectPercentInForce();

// The probability code 1..6 of a percentage as typed ("2.5"), or 0 when it is none of them.
int RejectProbabilityCode(const std::string& strPercent);

// The report's line, only when they are not the defaults (so a classic report stays as it was),
// and the "stats" members.
void AppendClassifyMethodReport(std::vector<ReportLine>& aLines);
void AppendClassifyMethodStats(nlohmann::ordered_json& obj);
