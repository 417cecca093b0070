// The extraction worker's memory limit: a worker starts and reads under it,
// and a document that makes its reader allocate more than the limit costs
// only that file ("memory limit reached"), in a plain build as under
// AddressSanitizer (where the limit is the sanitizer allocator's).
#include "documentreader.h"
#include "sampledocuments.h"
#include "workerprocess.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr qint64 WorkerMemory = qint64(256) << 20;
// Above the worker's limit, below the reader's size limit for documents.
constexpr quint32 DeclaredStreamBytes = 400u << 20;

struct TextCollector : TextSink
{
    QByteArray text;
    QStringList labelled; // "label=value", with the text read before each
    bool write(const char *utf8, std::size_t length) override
    {
        text.append(utf8, static_cast<int>(length));
        return true;
    }
    void labelledValue(const QByteArray &label, const QByteArray &value) override
    {
        labelled.append(QString::fromUtf8(label + "=" + value + " after " + QByteArray::number(text.size())));
    }
};

QString fixture(const QString &name)
{
    return qEnvironmentVariable("DISCOVERY_SOURCE_DIR") + "/tests/scanservice/fixtures/" + name;
}

} // namespace

class TestWorkerProcess : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void memoryLimitCostsOnlyTheFile()
    {
        WorkerProcess::Limits limits;
        limits.memoryBytes = WorkerMemory;
        limits.secondsPerFile = 120;
        WorkerProcess worker(QStringLiteral(SCAN_SERVICE_BINARY), limits, false);

        // A document whose directory says its text stream is 400 MB long: the
        // file is that long (sparse), so the reader sets aside room for it.
        QByteArray bytes = SampleDocuments::readFile(fixture("multipiece.doc"));
        const int entry = bytes.indexOf(QByteArray(reinterpret_cast<const char *>(u"WordDocument"), 24));
        QVERIFY(entry > 0);
        qToLittleEndian<quint32>(DeclaredStreamBytes, bytes.data() + entry + 0x78);
        QTemporaryDir dir;
        const QString bloated = dir.path() + "/bloated.doc";
        QVERIFY(SampleDocuments::writeFile(bloated, bytes));
        QVERIFY(QFile::resize(bloated, qint64(DeclaredStreamBytes) + (1 << 20)));

        const auto extract = [&](const QString &path, TextCollector *text, QString *detail) {
            const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
            const ExtractStatus status = worker.extract(fd, QFileInfo(path).size(), QFile::encodeName(QFileInfo(path).fileName()),
                                                        DocumentReader::Kind::Doc, {}, *text, nullptr, detail);
            ::close(fd);
            return status;
        };
        TextCollector text;
        QString detail;
        QCOMPARE(int(extract(fixture("multipiece.doc"), &text, &detail)), int(ExtractStatus::Ok));
        QCOMPARE(QString::fromUtf8(text.text).count("confidential"), 200);

        TextCollector none;
        QCOMPARE(int(extract(bloated, &none, &detail)), int(ExtractStatus::Failed));
        QCOMPARE(detail, QStringLiteral("memory limit reached"));

        // The next file is read as before.
        TextCollector again;
        QCOMPARE(int(extract(fixture("multipiece.doc"), &again, &detail)), int(ExtractStatus::Ok));
        QCOMPARE(again.text, text.text);
    }

    // A sheet's cells with their headers come back from the worker in their
    // place among the text, as the reader gave them in-process.
    void labelledValuesCrossTheWorker()
    {
        QTemporaryDir dir;
        const QString path = dir.path() + "/roster.xlsx";
        using C = SampleDocuments::Cell;
        QVERIFY(SampleDocuments::writeXlsxSheets(path, {{"Sheet1", {{C{"工号", false}, C{"手机", false}},
                                                                    {C{"4860", true}, C{"13912345678", true}}}}}));
        TextCollector local;
        QCOMPARE(int(DocumentReader::read(QFile::encodeName(path), DocumentReader::Kind::Xlsx, local)), int(ExtractStatus::Ok));
        QCOMPARE(local.labelled.size(), 2);

        WorkerProcess::Limits limits;
        limits.memoryBytes = WorkerMemory;
        limits.secondsPerFile = 120;
        WorkerProcess worker(QStringLiteral(SCAN_SERVICE_BINARY), limits, false);
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
        TextCollector remote;
        QString detail;
        QCOMPARE(int(worker.extract(fd, QFileInfo(path).size(), "roster.xlsx", DocumentReader::Kind::Xlsx, {}, remote, nullptr, &detail)),
                 int(ExtractStatus::Ok));
        ::close(fd);
        QCOMPARE(remote.text, local.text);
        QCOMPARE(remote.labelled, local.labelled);
    }
};

QTEST_GUILESS_MAIN(TestWorkerProcess)
#include "tst_workerprocess.moc"
