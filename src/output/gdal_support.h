// What the output's GDAL users share: datasets closed when they go, and GDAL's first failure
// caught with its own text rather than printed.
#pragma once

#include <cpl_error.h>
#include <gdal.h>

#include <memory>
#include <string>

struct DatasetCloser {
  void operator()(void* h) const { GDALClose(h); }
};
using Dataset = std::unique_ptr<void, DatasetCloser>;

// GDAL's first failure on this thread while the object lives, with GDAL's own text. Warnings
// are kept from the terminal too: the failures are what the messages report.
class CGdalErrors {
 public:
  CGdalErrors() { CPLPushErrorHandlerEx(Handler, this); }
  ~CGdalErrors() { CPLPopErrorHandler(); }
  CGdalErrors(const CGdalErrors&) = delete;
  CGdalErrors& operator=(const CGdalErrors&) = delete;
  bool Failed() const { return !m_strFirst.empty(); }
  std::string Text(const char* szNone) const { return m_strFirst.empty() ? szNone : m_strFirst; }

 private:
  static void CPL_STDCALL Handler(CPLErr eClass, CPLErrorNum, const char* szText) {
    auto* pThis = static_cast<CGdalErrors*>(CPLGetErrorHandlerUserData());
    if (eClass >= CE_Failure && pThis->m_strFirst.empty()) {
      pThis->m_strFirst = szText && *szText ? szText : "GDAL reported a failure";
    }
  }
  std::string m_strFirst;
};
