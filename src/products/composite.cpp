#include "products/composite.h"

#include "core/state.h"

void ResetCompositeQuery() {
  g_nRedBand = 3;
  g_nGreenBand = 2;
  g_nBlueBand = 1;
  g_nRedLower = g_nGreenLower = g_nBlueLower = 0;
  g_nRedUpper = g_nGreenUpper = g_nBlueUpper = 255;
  g_nCutOffRate = 3;
  g_bCutOffLinked = 0;
}
