#include "shell/desktop.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTimer>
#include <QTranslator>
#include <cstdlib>

#include "classification/ui/classification_ui.h"
#include "cli/cli.h"
#include "core/document.h"
#include "core/platform.h"
#include "core/view.h"
#include "histograms/ui/histograms_ui.h"
#include "import/ui/import_ui.h"
#include "output/ui/output_ui.h"
#include "products/ui/products_ui.h"
#include "shell/main_frame.h"
#include "shell/qt_platform.h"
#include "shell/splash_wnd.h"
#include "workfile/recovery.h"
#include "workfile/ui/recovery_ui.h"
#include "workfile/ui/workfile_ui.h"

namespace {

// The menus and dialogs are Japanese: use a face that has the glyphs.
void ChooseUiFont() {
  QFont font = QApplication::font();
  const QString strFamily = QFontInfo(font).family();
  if (QFontDatabase::writingSystems(strFamily).contains(QFontDatabase::Japanese)) return;
  if (QFontDatabase::families().contains(QStringLiteral("IPAPGothic"))) {
    font.setFamilies({QStringLiteral("IPAPGothic")});
    QApplication::setFont(font);
  }
}

}  // namespace

bool DesktopCanStart(std::string& strWhy) {
  for (const char* szVariable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* sz = std::getenv(szVariable);
    if (sz && *sz) return true;
  }
  strWhy = "no display to show the desktop program on (DISPLAY is not set)";
  return false;
}

void RegisterDesktopUi() {
  RegisterWorkFileUi();
  RegisterImportUi();
  RegisterProductsUi();
  RegisterClassificationUi();
  RegisterHistogramsUi();
  RegisterOutputUi();
}

bool InstallQtTranslations() {
  static QTranslator s_translator;
  static bool s_bInstalled = false;
  if (s_bInstalled) return true;
  const QString strDir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  // qtbase holds the widgets' texts; qt_ja is the catalogue that pulls in the other modules.
  if (!s_translator.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                         QStringLiteral("_"), strDir)) {
    return false;
  }
  s_bInstalled = QCoreApplication::installTranslator(&s_translator);
  return s_bInstalled;
}

int RunDesktop(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Geolumen"));
  QApplication::setOrganizationName(QStringLiteral("Geolumen"));
  InstallFontSubstitutions();
  ChooseUiFont();
  InstallQtTranslations();
  RegisterDesktopUi();

  CQtPlatform platform;
  SetPlatform(&platform);
  int nResult = 0;
  {
    CMainFrame frame(platform);
    frame.resize(1100, 800);
    // A new, empty document: the view's first initial update.
    InitialUpdateView();
    frame.show();
    QPointer<CSplashWnd> pSplash = CSplashWnd::ShowSplashScreen(&frame);

    // Work a program that did not end normally left behind is offered first, once the window
    // shows; then what the command line names (which asks before it replaces restored work).
    StartRecoveryOnDesktop(&frame);
    QTimer::singleShot(0, &frame, [&frame, pSplash] {
      // The splash would cover the question.
      if (!OfferRecovery([pSplash] {
            if (pSplash) pSplash->HideSplashScreen();
          })) {
        return;
      }
      frame.RefreshCommandUi();
      frame.UpdateViews();
    });
    const QStringList astrArgs = QApplication::arguments();
    if (astrArgs.size() > 1 && IsSceneArgument(astrArgs.at(1).toStdString())) {
      // A scene and settings as the command line names them: loaded once the window shows.
      std::vector<std::string> astr;
      for (qsizetype i = 1; i < astrArgs.size(); ++i) astr.push_back(astrArgs.at(i).toStdString());
      QTimer::singleShot(0, &frame, [&frame, astr] {
        // Restored work is not replaced unasked.
        if (!ConfirmSaveChanges()) return;
        std::string strError;
        if (!OpenSceneArguments(astr, strError)) {
          ThePlatform().MessageBox(strError, "Geolumen", MsgButtons::Ok);
        }
        frame.RefreshCommandUi();
        frame.UpdateViews();
      });
    } else if (astrArgs.size() > 1) {
      const QString strPath = astrArgs.at(1);
      QTimer::singleShot(0, &frame, [&frame, strPath] { frame.OpenDocumentFile(strPath); });
    }
    nResult = QApplication::exec();
  }
  // A normal end (the user saved or chose not to): the copy is no longer wanted.
  StopRecovery();
  SetPlatform(nullptr);
  return nResult;
}
