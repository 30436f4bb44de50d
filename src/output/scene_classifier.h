// The whole scene classified from a trained model, however large: the raster files are read a
// run of block rows at a time, each value goes through the model's band rule, each pixel to
// its class by the model's method and threshold exactly as the window's generation assigns
// it, and the classes go into a tiled, compressed GeoTIFF written beside its target and
// renamed over it when complete. Memory stays bounded by a few runs of rows whatever the
// scene's size. Reading runs on a thread of its own while the calling thread classifies and
// writes.
//
// Nothing here touches the program state: the request is a frozen copy, so a desktop front
// end can run it on a worker thread, show the progress and set the cancel flag.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "classification/accuracy.h"
#include "classification/signature.h"
#include "output/vector_areas.h"

struct SceneClassifyRequest {
  std::vector<std::string>
      astrRasterPaths;     // one multi-band file, or single-band files in band order
  Signature signature;     // the model, as read from its file
  std::string strOutPath;  // the classes GeoTIFF
  // Only this part of the scene (columns nX.., lines nY..), else the whole scene.
  bool bWindow = false;
  int nX = 0, nY = 0, nWidth = 0, nHeight = 0;
  // Reference polygons for the accuracy of the classes written (strPath "" for none).
  AreaReading testAreas{};
};

enum class SceneClassifyOutcome {
  Done,
  InputRefused,  // a raster file, the model or the window does not fit; nothing was written
  OutputFailed,  // the classes file could not be written; nothing is left of it
  Cancelled,     // the cancel flag was set; nothing is left of the file
};

struct SceneClassifyResult {
  SceneClassifyOutcome eOutcome = SceneClassifyOutcome::Done;
  std::string strMessage;          // why it stopped, naming the file ("" when done)
  int nWidth = 0, nHeight = 0;     // of the classes file
  std::uint64_t anPixels[9] = {};  // [0] pixels with nodata in a band in use, [c] category c
  std::uint64_t nUnclassified = 0;  // pixels beyond the model's reject threshold
  double dPixelHectares = 0.0;     // one pixel's ground area, 0 when it is not known
  // With test areas: the classes against the reference of every pixel whose centre lies in one
  // category's test polygons (nodata pixels left out), and the pixels in several categories'.
  Accuracy accuracy{};
  std::uint64_t nAmbiguousPixels = 0;
};

// Lines of the classes file done so far, of all; called on the calling thread after each run.
using SceneProgress = std::function<void(int nRowsDone, int nRowsTotal)>;

// Runs the request to the end, a failure or bCancel. The classes file holds k for category k
// and 0 where a band in use holds its nodata value or the pixel lies beyond the model's reject
// threshold, the model's colours and names as its legend, the source's georeferencing (moved to
// the window's corner) and the class counts and hectares in its metadata (CATEGORY_k_PIXELS,
// CATEGORY_k_HECTARES, NODATA_PIXELS, and UNCLASSIFIED_PIXELS with a threshold). A model whose
// categories maximum likelihood cannot use is refused as an input. With test areas, their
// polygons are burnt run by run beside the classes and counted into the accuracy.
SceneClassifyResult ClassifyScene(const SceneClassifyRequest& request,
                                  const SceneProgress& fnProgress,
                                  const std::atomic<bool>& bCancel);
