// Writes a second labelled privacy corpus, made apart from the first one and
// from the rule table, of other kinds of documents (contracts, discharge
// summaries, claims, statements, itineraries, chat exports, registers ...),
// so that the detection figures can be checked on documents the rules were
// not tuned on. Seeded: the same seed writes the same corpus.
#ifndef SECONDCORPUS_H
#define SECONDCORPUS_H

#include "corpusdocument.h"
#include "seededrandom.h"

#include <QDate>
#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <QStringList>

class SecondCorpus : private SeededRandom
{
public:
    enum class Format { TxtUtf8, TxtGbk, TxtUtf16, Csv, Docx, Xlsx, Pptx, PdfEmbedded, PdfUnembedded, Doc };

    explicit SecondCorpus(quint64 seed);

    // Writes the corpus into dir (made when missing, emptied of an older
    // corpus first) with dir/labels.tsv; false with the reason in *error.
    bool write(const QString &dir, QString *error);

    int items() const { return m_items; }
    int lookAlikes() const { return m_lookAlikes; }
    int files() const { return m_files; }
    QMap<QString, int> itemsPerCategory() const { return m_perCategory; }

    // The day the documents are dated (ages count from it).
    static QDate writtenOn() { return QDate(2025, 11, 20); }

private:
    struct Person
    {
        QString name;
        QString latin; // "WANG Xiaoyu"
        QString mailName;
        bool male = true;
        QDate birth;
        QString id;
        QString mobile;
        int region = 0;
    };


    // People and the values they write.
    Person person(int minAge, int maxAge);
    QString name(bool male);
    QString id(int region, const QDate &birth, bool male);
    QString badId(int region, const QDate &birth, bool impossibleDate);
    QString mobile();
    QString writeMobile(const QString &mobile);
    QString writeId(const QString &id);
    QString homePhone(int region);
    QString email(const Person &p);
    QString card();
    QString writeCard(const QString &card);
    QString badCard();
    QString address(int region);
    QString coordinates(int region);
    QString plate(int region);
    QString passport();
    QString imei();
    QString mac();
    QString ip();
    QString serial();
    QString money(int yuan);
    QString flight();
    QString train();
    QString hotel(int region);
    QString disabilityCard(const QString &id);
    QString age(const QDate &birth) const;
    static QString fullWidth(const QString &text);
    static QString spaced(const QString &text, const QList<int> &groups, const QString &separator);

    // A label written before a value: its wording varies as people's does.
    CorpusDocument &field(CorpusDocument &doc, const QString &label, const QString &category, const QString &value);
    CorpusDocument::Cell cell(const QString &category, const QString &text, bool number = false)
    {
        return CorpusDocument::itemCell(category, text, number);
    }

    // Look-alikes planted into any document.
    void lookAlikeLine(CorpusDocument &doc);

    // The document kinds.
    CorpusDocument employmentContract();
    CorpusDocument dischargeSummary();
    CorpusDocument prescription();
    CorpusDocument insuranceClaim();
    CorpusDocument schoolEnrolment();
    CorpusDocument scholarshipForm();
    CorpusDocument rentalAgreement();
    CorpusDocument bankStatement();
    CorpusDocument loanApplication();
    CorpusDocument travelItinerary();
    CorpusDocument hotelBooking();
    CorpusDocument chatExport();
    CorpusDocument serviceTickets();
    CorpusDocument courierLog();
    CorpusDocument resumeChinese();
    CorpusDocument resumeEnglish();
    CorpusDocument visaApplication();
    CorpusDocument courtNotice();
    CorpusDocument meetingMinutes();
    CorpusDocument communityRegister();
    CorpusDocument payrollSheet(bool numberCells);
    CorpusDocument deviceInventory();
    CorpusDocument vehicleRegister();
    CorpusDocument faithRegister();
    CorpusDocument healthCheck();
    CorpusDocument drugAdvert();
    CorpusDocument priceList();
    CorpusDocument timetable();
    CorpusDocument systemLog();
    CorpusDocument orderExport();

    bool save(const CorpusDocument &doc, const QString &relative, Format format);
    bool saveArchive(const QString &relative, const QString &kind,
                     const QList<QPair<CorpusDocument, QPair<QString, Format>>> &members);
    QByteArray bytes(const CorpusDocument &doc, Format format, const QString &scratch);
    void addLabels(const CorpusDocument &doc, const QString &file, const QString &member, Format format);

    QString m_dir;
    QString m_error;
    QStringList m_labelLines;
    int m_items = 0;
    int m_lookAlikes = 0;
    int m_files = 0;
    QMap<QString, int> m_perCategory;
};

#endif // SECONDCORPUS_H
