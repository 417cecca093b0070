// Writes the labelled privacy corpus: Chinese office documents (and a few
// English forms) of the kinds personal data really lives in, in every format
// the scan service reads, with the labels of every item and look-alike in
// labels.tsv beside them. Seeded: the same seed writes the same corpus.
#ifndef CORPUSGENERATOR_H
#define CORPUSGENERATOR_H

#include "corpusdocument.h"
#include "seededrandom.h"

#include <QDate>
#include <QMap>
#include <QString>
#include <QStringList>

class CorpusGenerator : private SeededRandom
{
public:
    // The file formats of the corpus.
    enum class Format { TxtUtf8, TxtGbk, TxtUtf16, Csv, Docx, Xlsx, Pptx, PdfEmbedded, PdfUnembedded, Doc };

    explicit CorpusGenerator(quint64 seed);

    // Writes the corpus into dir (made when missing, emptied of an older
    // corpus first) with dir/labels.tsv; false with the reason in *error.
    bool write(const QString &dir, QString *error);

    int items() const { return m_items; }
    int lookAlikes() const { return m_lookAlikes; }
    int files() const { return m_files; }
    QMap<QString, int> itemsPerCategory() const { return m_perCategory; }

    // The date the documents are written on (ages and minors count from it).
    static QDate writtenOn() { return QDate(2026, 1, 1); }

private:
    struct Person;
    struct Region;


    // Values as people write them.
    Person person(bool minor = false);
    QString idNumber(const QString &region, const QDate &birth, bool male);
    QString mobile();
    QString writtenMobile(const QString &mobile, bool inParagraph);
    QString writtenId(const QString &id, bool inParagraph);
    QString fixedLine(const Region &region);
    QString bankCard();
    QString writtenCard(const QString &card);
    QString imei();
    QString mac();
    QString privateIp();
    QString serialNumber();
    QString creditCode();
    QString plate();
    QString flight();
    QString train();
    QString address(const Region &region);
    QString coordinates(const Region &region, int style);
    QString money(int yuan, int style);
    QString breakInside(const QString &value);
    static QString fullWidth(const QString &value);

    // The document kinds.
    CorpusDocument onboardingForm(bool asTable);
    CorpusDocument staffRoster(bool numberCells);
    CorpusDocument expenseClaim();
    CorpusDocument clinicRecord();
    CorpusDocument loanReport();
    CorpusDocument assetRegister(bool numberCells);
    CorpusDocument email();
    CorpusDocument gpsLog();
    CorpusDocument permitRegister();
    CorpusDocument englishForm();
    CorpusDocument studentRoster(bool numberCells);
    CorpusDocument assistanceRegister();
    CorpusDocument attendanceLog();
    CorpusDocument interviewNotes();
    CorpusDocument orderExport(bool numberCells);
    CorpusDocument technicalLog();
    CorpusDocument validationReport();
    CorpusDocument scheduleNotice();

    // Saves doc as dir/relative in format; its labels go to the table.
    bool save(const CorpusDocument &doc, const QString &relative, Format format, const QString &archive = QString(),
              const QString &member = QString());
    bool packArchive(const QString &relative, const QString &format, const QList<QPair<CorpusDocument, QString>> &members);

    QString m_dir;
    QString m_error;
    QStringList m_labelLines;
    int m_items = 0;
    int m_lookAlikes = 0;
    int m_files = 0;
    QMap<QString, int> m_perCategory;
};

#endif // CORPUSGENERATOR_H
