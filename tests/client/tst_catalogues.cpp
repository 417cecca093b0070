#include "catalogues.h"
#include "logfile.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

class TestCatalogues : public QObject
{
    Q_OBJECT

private:
    QList<QTranslator *> translators() const
    {
        return QCoreApplication::instance()->findChildren<QTranslator *>(QString(), Qt::FindDirectChildrenOnly);
    }
    void removeTranslators()
    {
        for (QTranslator *t : translators()) {
            QCoreApplication::instance()->removeTranslator(t);
            delete t;
        }
    }
    static QStringList logLines(const QString &path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

private Q_SLOTS:
    void cleanup()
    {
        removeTranslators();
        qInstallMessageHandler(nullptr);
        LogFile::setCurrent(nullptr);
    }

    void localeTable_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("catalogue");
        QTest::addColumn<QString>("confirm");
        QTest::newRow("zh_CN") << "zh_CN" << ":/Languages/translations/zh_CN.qm" << "确认";
        QTest::newRow("zh_HK") << "zh_HK" << ":/Languages/translations/zh_HK.qm" << "確認";
        QTest::newRow("en_US") << "en_US" << ":/Languages/translations/en_US.qm" << "Confirm";
        QTest::newRow("zh_TW has none") << "zh_TW" << "" << "确认";
        QTest::newRow("en_GB has none") << "en_GB" << "" << "确认";
        QTest::newRow("case matters") << "en_us" << "" << "确认";
        QTest::newRow("C") << "C" << "" << "确认";
    }
    void localeTable()
    {
        QFETCH(QString, locale);
        QFETCH(QString, catalogue);
        QFETCH(QString, confirm);
        QCOMPARE(Catalogues::clientCatalogue(locale), catalogue);
        const QStringList installed = Catalogues::install(QCoreApplication::instance(), locale, QStringLiteral("/nonexistent"));
        QCOMPARE(installed, catalogue.isEmpty() ? QStringList() : QStringList{catalogue});
        QCOMPARE(QCoreApplication::translate("MainWindow", "确认"), confirm);
    }

    void successLeavesNoLineFailureLeavesWarn()
    {
        QTemporaryDir dir;
        LogFile log(dir.filePath(QStringLiteral("client.log")));
        LogFile::setCurrent(&log);
        qInstallMessageHandler(logMessageHandler);
        // The client catalogue loads; the Qt catalogue is looked for in an empty directory.
        Catalogues::install(QCoreApplication::instance(), QStringLiteral("zh_HK"), dir.path());
        const QStringList lines = logLines(log.path());
        QCOMPARE(lines.size(), 1);
        QVERIFY(lines.first().contains(QStringLiteral("[WARN] Load translation file： qt_zh_HK.qm from ")));
        QVERIFY(lines.first().contains(dir.path()));
        QVERIFY(lines.first().contains(QStringLiteral(" failed! (unknown:0)")));
        QCOMPARE(translators().size(), 1); // only the one that loaded
    }

    void qtCatalogueTriedForAnyLocale()
    {
        // A locale without a client catalogue still loads Qt's own when it exists.
        const QString qtDir = QLibraryInfo::location(QLibraryInfo::TranslationsPath);
        if (!QFile::exists(qtDir + QStringLiteral("/qt_zh_TW.qm")))
            QSKIP("Debian's qttranslations5-l10n is not installed");
        const QStringList installed = Catalogues::install(QCoreApplication::instance(), QStringLiteral("zh_TW"), qtDir);
        QCOMPARE(installed, QStringList{qtDir + QStringLiteral("/qt_zh_TW.qm")});
    }
};

QTEST_GUILESS_MAIN(TestCatalogues)
#include "tst_catalogues.moc"
