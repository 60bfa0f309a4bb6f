#include "app/german_qt.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstring>

namespace didod {

namespace {

// Qt's translations minus the platform's error messages.
class GermanWithEnglishPlatformMessages : public QTranslator {
 public:
  using QTranslator::QTranslator;

  QString translate(const char* context, const char* sourceText, const char* disambiguation,
                    int n) const override {
    static const char* const kPlatformContexts[] = {"QIODevice",   "QFileDevice",  "QFile",        "QSaveFile",
                                                    "QTemporaryFile", "QLockFile", "QImageReader", "QImageWriter",
                                                    "QDir",        "QResource",    "QSettings"};
    for (const char* platform : kPlatformContexts)
      if (context != nullptr && std::strcmp(context, platform) == 0) return {};
    return QTranslator::translate(context, sourceText, disambiguation, n);
  }
};

}  // namespace

bool LoadGermanQtTexts(QCoreApplication& application) {
  auto* translator = new GermanWithEnglishPlatformMessages(&application);
  if (!translator->load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;  // without the translations Qt's texts stay English; nothing else changes
  }
  application.installTranslator(translator);
  return true;
}

}  // namespace didod
