#include "shell/key_indicators.h"

#include <QGuiApplication>
#include <dlfcn.h>

namespace {

// The few Xlib calls we need, looked up at run time so that the program does not depend on
// Xlib where it runs without X.
using XDisplay = void;
using XAtom = unsigned long;
using PfnOpenDisplay = XDisplay* (*)(const char*);
using PfnInternAtom = XAtom (*)(XDisplay*, const char*, int);
using PfnGetNamedIndicator = int (*)(XDisplay*, XAtom, int*, int*, void*, int*);

struct CXkbIndicators {
  XDisplay* pDisplay = nullptr;
  PfnGetNamedIndicator pfnGetNamedIndicator = nullptr;
  XAtom aAtoms[4] = {};

  CXkbIndicators() {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return;
    void* pLib = dlopen("libX11.so.6", RTLD_LAZY | RTLD_LOCAL);
    if (!pLib) return;
    auto pfnOpen = reinterpret_cast<PfnOpenDisplay>(dlsym(pLib, "XOpenDisplay"));
    auto pfnIntern = reinterpret_cast<PfnInternAtom>(dlsym(pLib, "XInternAtom"));
    pfnGetNamedIndicator =
        reinterpret_cast<PfnGetNamedIndicator>(dlsym(pLib, "XkbGetNamedIndicator"));
    if (!pfnOpen || !pfnIntern || !pfnGetNamedIndicator) return;
    pDisplay = pfnOpen(nullptr);
    if (!pDisplay) return;
    const char* kaszNames[4] = {"Kana", "Caps Lock", "Num Lock", "Scroll Lock"};
    for (int i = 0; i < 4; ++i) aAtoms[i] = pfnIntern(pDisplay, kaszNames[i], 0);
  }
};

}  // namespace

void ReadKeyIndicators(bool abOn[4]) {
  static CXkbIndicators s_xkb;
  for (int i = 0; i < 4; ++i) {
    abOn[i] = false;
    if (!s_xkb.pDisplay || s_xkb.aAtoms[i] == 0) continue;
    int nIndex = 0, bState = 0;
    if (s_xkb.pfnGetNamedIndicator(s_xkb.pDisplay, s_xkb.aAtoms[i], &nIndex, &bState, nullptr,
                                   nullptr)) {
      abOn[i] = bState != 0;
    }
  }
}
