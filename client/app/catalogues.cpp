#include "catalogues.h"

#include "applog.h"

#include <QCoreApplication>
#include <QDebug>
#include <QLocale>
#include <QTranslator>

namespace Catalogues {

QString clientCatalogue(const QString &localeName)
{
    if (localeName == QLatin1String("zh_CN") || localeName == QLatin1String("zh_HK")
        || localeName == QLatin1String("en_US"))
        return QStringLiteral(":/Languages/translations/%1.qm").arg(localeName);
    return QString();
}

QStringList install(QCoreApplication *app, const QString &localeName, const QString &qtTranslationsDir)
{
    QStringList installed;

    const QString catalogue = clientCatalogue(localeName);
    if (!catalogue.isEmpty()) {
        // The zh_CN line has its own wording in the log.
        const QByteArray what = localeName == QLatin1String("zh_CN")
                                    ? QByteArrayLiteral("Load translation file：zh_CN.qm")
                                    : QByteArray("Load translation ") + localeName.toUtf8() + ".qm";
        auto *translator = new QTranslator(app);
        if (translator->load(catalogue)) {
            // Numbers are written the way the catalogue's language writes them.
            QLocale::setDefault(QLocale(localeName));
            app->installTranslator(translator);
            installed << catalogue;
            qCDebug(lcApp) << what.constData() << "success!";
        } else {
            delete translator;
            qCWarning(lcApp) << what.constData() << "failed!";
        }
    }

    const QString qtCatalogue = QStringLiteral("qt_") + localeName + QStringLiteral(".qm");
    auto *qtTranslator = new QTranslator(app);
    if (qtTranslator->load(qtCatalogue, qtTranslationsDir)) {
        app->installTranslator(qtTranslator);
        installed << qtTranslationsDir + QLatin1Char('/') + qtCatalogue;
        qCDebug(lcApp).noquote() << "Load translation file：" << qtCatalogue << "from" << qtTranslationsDir << "success!";
    } else {
        delete qtTranslator;
        qCWarning(lcApp).noquote() << "Load translation file：" << qtCatalogue << "from" << qtTranslationsDir << "failed!";
    }
    return installed;
}

} // namespace Catalogues
