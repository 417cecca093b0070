#ifndef CATALOGUES_H
#define CATALOGUES_H

#include <QString>
#include <QStringList>

class QCoreApplication;

// Interface catalogues chosen by the system locale's name.
namespace Catalogues {

// The compiled-in client catalogue for a locale name ("zh_CN", "zh_HK",
// "en_US"), or an empty string for any other name.
QString clientCatalogue(const QString &localeName);

// Loads and installs the client catalogue for the locale (logging
// "Load translation ... success!/failed!"), then the Qt library's own
// catalogue "qt_<locale>.qm" from qtTranslationsDir. Each catalogue that
// loads gets its own translator, parented to app. Returns the resource or
// file paths of the catalogues that were installed.
QStringList install(QCoreApplication *app, const QString &localeName, const QString &qtTranslationsDir);

} // namespace Catalogues

#endif // CATALOGUES_H
