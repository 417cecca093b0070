// The layout analysis of PDF pages on hand-written word boxes: which lines
// are table rows, form rows or running text, and which header each cell of
// a table row is read under; and the PDF reader on a table typed as text.
#include "pdfextractor.h"
#include "pdflayout.h"
#include "sampledocuments.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cmath>

Q_DECLARE_METATYPE(PdfWord)

namespace {

// An ideograph is 10 points wide, a digit 6, other Latin characters 3 to 8
// (a proportional font: a page where all advance alike is read as
// fixed-pitch) and a line 10 high; a cell's x position is where its column starts; words of a cell are
// 3 points apart (a space), cells at least 20 apart.
constexpr double CharWidth = 10;
constexpr double DigitWidth = 6;
constexpr double LineHeight = 10;

double widthOf(const QString &text)
{
    double width = 0;
    for (const QChar c : text)
        width += c.unicode() >= 0x80 ? CharWidth : c.isDigit() ? DigitWidth : 3 + c.unicode() % 6;
    return width;
}

struct CellAt
{
    double x;
    QString text;
};

// The words of one line of cells at height y.
QVector<PdfWord> line(double y, const QVector<CellAt> &cells)
{
    QVector<PdfWord> words;
    for (const CellAt &cell : cells) {
        double x = cell.x;
        const QStringList parts = cell.text.split(QLatin1Char(' '));
        for (int i = 0; i < parts.size(); ++i) {
            PdfWord w;
            w.text = parts.at(i);
            w.left = x;
            w.right = x + widthOf(parts.at(i));
            w.top = y;
            w.bottom = y + LineHeight;
            w.spaceAfter = i + 1 < parts.size();
            words.append(w);
            x = w.right + 3;
        }
    }
    return words;
}

// Lines 14 points apart from the top, each given as its cells.
QVector<PdfWord> page(const QVector<QVector<CellAt>> &lines)
{
    QVector<PdfWord> words;
    for (int i = 0; i < lines.size(); ++i)
        words += line(100 + 14 * i, lines.at(i));
    return words;
}

QStringList texts(const QVector<PdfLayout::Line> &lines)
{
    QStringList out;
    for (const PdfLayout::Line &l : lines)
        out.append(l.text);
    return out;
}

QStringList labels(const QVector<PdfLayout::Line> &lines)
{
    QStringList out;
    for (const PdfLayout::Line &l : lines) {
        for (const auto &cell : l.labelled)
            out.append(cell.first + "=" + cell.second);
    }
    return out;
}

// What the PDF reader hands on: the text, and each value with its label.
struct RecordingSink : TextSink
{
    QString text;
    QStringList labelled;
    bool write(const char *utf8, std::size_t length) override
    {
        text += QString::fromUtf8(utf8, static_cast<int>(length));
        return true;
    }
    void labelledValue(const QByteArray &label, const QByteArray &value) override
    {
        labelled.append(QString::fromUtf8(label) + "=" + QString::fromUtf8(value));
    }
};

} // namespace

class TestPdfLayout : public QObject
{
    Q_OBJECT

private slots:
    void pages_data()
    {
        QTest::addColumn<QVector<PdfWord>>("words");
        QTest::addColumn<QStringList>("lines"); // empty: the page is left to the reader's own layout
        QTest::addColumn<QStringList>("labelled");

        // Header cells left-aligned over their columns; the salary column is
        // right-aligned and wider than its header.
        QTest::newRow("roster table, rows after a title")
            << page({{{0, "员工花名册"}},
                     {{0, "姓名"}, {100, "工号"}, {200, "职务"}, {320, "月薪"}},
                     {{0, "刘洁"}, {100, "HR2041"}, {200, "测试工程师"}, {300, "9,000元"}},
                     {{0, "欧阳娜娜"}, {100, "HR2044"}, {200, "司机"}, {300, "12,500元"}}})
            << QStringList{"员工花名册", "姓名  工号  职务  月薪", "刘洁  HR2041  测试工程师  9,000元",
                           "欧阳娜娜  HR2044  司机  12,500元"}
            << QStringList{"姓名=刘洁", "工号=HR2041", "职务=测试工程师", "月薪=9,000元",
                           "姓名=欧阳娜娜", "工号=HR2044", "职务=司机", "月薪=12,500元"};

        // A row without a value in the middle column: its last cell is read
        // under the last header, not the second.
        QTest::newRow("ragged table")
            << page({{{0, "姓名"}, {100, "紧急联系人"}, {250, "联系电话"}},
                     {{0, "刘洁"}, {100, "陈斌"}, {250, "13912345678"}},
                     {{0, "蔡超"}, {250, "18792406785"}}})
            << QStringList{"姓名  紧急联系人  联系电话", "刘洁  陈斌  13912345678", "蔡超  18792406785"}
            << QStringList{"姓名=刘洁", "紧急联系人=陈斌", "联系电话=13912345678", "姓名=蔡超", "联系电话=18792406785"};

        // An address written on two lines of its cell: the rows below it
        // are still read under the table's header, not under the row above.
        QTest::newRow("table with a cell on two lines")
            << page({{{0, "姓名"}, {100, "住址"}, {300, "手机"}},
                     {{0, "刘洁"}, {100, "北京市朝阳区"}, {300, "13912345678"}},
                     {{100, "建国路88号"}},
                     {{0, "蔡超"}, {100, "上海市徐汇区"}, {300, "18792406785"}}})
            << QStringList{"姓名  住址  手机", "刘洁  北京市朝阳区  13912345678", "建国路88号", "蔡超  上海市徐汇区  18792406785"}
            << QStringList{"姓名=刘洁", "住址=北京市朝阳区", "手机=13912345678", "住址=建国路88号",
                           "姓名=蔡超", "住址=上海市徐汇区", "手机=18792406785"};

        // Rows of numbers with no header line above them are no header.
        QTest::newRow("rows of numbers without a header")
            << page({{{0, "1"}, {100, "8946"}, {200, "13912345678"}},
                     {{0, "2"}, {100, "8949"}, {200, "18792406785"}}})
            << QStringList{"1\t8946\t13912345678", "2\t8949\t18792406785"} << QStringList{};

        // Cells in order under a header line are a row only when there are
        // as many as the header has, or one fewer (its last cell empty), or
        // its line is full and goes on.
        QTest::newRow("line of two cells fewer than the line above")
            << page({{{0, "会议"}, {100, "地点"}, {200, "时间"}, {300, "人数"}}, {{0, "周一"}, {130, "三楼"}}})
            << QStringList{"会议\t地点\t时间\t人数", "周一\t三楼"} << QStringList{};

        // Label on the left, value on the right: no header row, each label
        // beside its value on one line.
        QTest::newRow("label beside value form")
            << page({{{0, "入职登记表"}},
                     {{0, "姓名"}, {120, "刘洁"}},
                     {{0, "身份证号"}, {120, "110108198509030228"}},
                     {{0, "紧急联系人"}, {120, "陈斌"}}})
            << QStringList{"入职登记表", "姓名 刘洁", "身份证号 110108198509030228", "紧急联系人 陈斌"} << QStringList{};

        QTest::newRow("form of labels ending in a colon, two pairs a line")
            << page({{{0, "姓名："}, {80, "刘洁"}, {200, "性别："}, {280, "女"}},
                     {{0, "民族："}, {80, "汉族"}, {200, "学历："}, {280, "本科"}}})
            << QStringList{"姓名： 刘洁 性别： 女", "民族： 汉族 学历： 本科"} << QStringList{};

        QTest::newRow("paragraph")
            << page({{{0, "The quarterly report was sent to every"}},
                     {{0, "department on Monday, and nobody has"}},
                     {{0, "answered it yet."}}})
            << QStringList{} << QStringList{};

        // Two columns of running text stand side by side like two cells.
        QTest::newRow("two columns of running text")
            << page({{{0, "本季度的报告已于周一发给各部门，"}, {400, "会议定于下周三上午九点在三楼举行，"}},
                     {{0, "请各部门负责人在周五前反馈意见。"}, {400, "请参会人员提前十分钟到场并签到。"}},
                     {{0, "如有疑问，请与办公室联系。"}, {400, "会议材料将在会前一天发送给大家。"}}})
            << QStringList{} << QStringList{};

        // Words that share no column: a heading with a date far to its right
        // above a paragraph is no table.
        QTest::newRow("heading with a date, then a paragraph")
            << page({{{0, "会议纪要"}, {400, "2025-03-01"}},
                     {{0, "本次会议讨论了下一季度的预算安排与人员调整。"}}})
            << QStringList{} << QStringList{};
    }

    void pages()
    {
        QFETCH(QVector<PdfWord>, words);
        QFETCH(QStringList, lines);
        QFETCH(QStringList, labelled);
        const QVector<PdfLayout::Line> got = PdfLayout::arrange(words);
        QCOMPARE(texts(got), lines);
        QCOMPARE(labels(got), labelled);
    }

    // Words in any order on the page come out in reading order.
    void wordsOutOfOrder()
    {
        QVector<PdfWord> words = page({{{0, "姓名"}, {100, "工号"}}, {{0, "刘洁"}, {100, "HR2041"}}, {{0, "蔡超"}, {100, "HR2042"}}});
        std::reverse(words.begin(), words.end());
        QCOMPARE(texts(PdfLayout::arrange(words)), (QStringList{"姓名 工号", "刘洁 HR2041", "蔡超 HR2042"}));
    }

    // Hostile boxes neither crash the analysis nor lose their text.
    void hostileBoxes_data()
    {
        QTest::addColumn<QVector<PdfWord>>("odd");
        PdfWord rotated;
        rotated.text = QStringLiteral("机密");
        rotated.left = 500;
        rotated.right = 510;
        rotated.top = 90;
        rotated.bottom = 150;
        rotated.upright = false;
        PdfWord flat = rotated;
        flat.text = QStringLiteral("扁平");
        flat.upright = true;
        flat.bottom = flat.top;
        PdfWord nowhere = flat;
        nowhere.text = QStringLiteral("无处");
        nowhere.top = std::nan("");
        nowhere.bottom = HUGE_VAL;
        PdfWord overlapping = line(128, {{0, "重叠"}}).first();
        QTest::newRow("rotated") << QVector<PdfWord>{rotated};
        QTest::newRow("zero height") << QVector<PdfWord>{flat};
        QTest::newRow("no position") << QVector<PdfWord>{nowhere};
        QTest::newRow("overlapping a cell") << QVector<PdfWord>{overlapping};
    }

    void hostileBoxes()
    {
        QFETCH(QVector<PdfWord>, odd);
        const QVector<PdfWord> table = page({{{0, "姓名"}, {100, "工号"}}, {{0, "刘洁"}, {100, "HR2041"}}, {{0, "蔡超"}, {100, "HR2042"}}});
        const QString all = texts(PdfLayout::arrange(table + odd)).join(QLatin1Char('\n'));
        for (const QString &word : {QStringLiteral("刘洁"), QStringLiteral("HR2042"), odd.first().text})
            QVERIFY2(all.contains(word), qPrintable(all));
    }

    // Text typed as it is and printed in a CJK font the PDF does not embed
    // (every glyph one em wide, a space too), lines longer than the page is
    // wide wrapped at its edge.
    void typedTextInPdf_data()
    {
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QStringList>("labelled"); // header=value, in order
        QTest::addColumn<QStringList>("lines");    // lines the text holds

        // Cells parted by two spaces under no column of the header; rows
        // wrapped once inside a number, once at a space inside a phone
        // number; a row without its last cell. Each cell is still read under its header, single spaces
        // stay inside their value, and radicals a font maps its ideographs
        // to (⺠ for 民, ⻓ for 长) are read as the ideographs.
        QTest::newRow("table typed as text")
            << QStringList{"困难群众帮扶台账", "姓名  身份证号码  月收入  联系电话",
                           "刘洁  110108198509030228  3,500元  +86 139 1234 5678", "蔡超  —  800元  18792406785",
                           "赵敏  —  950元", "王芳芳芳  —  6,600元  +86 139 1234 5678", "以上收入以人⺠币计，最⻓一年。"}
            << QStringList{"姓名=刘洁", "身份证号码=110108198509030228", "月收入=3,500元", "联系电话=+86 139 1234 5678",
                           "姓名=蔡超", "身份证号码=—", "月收入=800元", "联系电话=18792406785",
                           "姓名=赵敏", "身份证号码=—", "月收入=950元", "姓名=王芳芳芳", "身份证号码=—", "月收入=6,600元", "联系电话=+86 139 1234 5678"}
            << QStringList{"刘洁  110108198509030228  3,500元  +86 139 1234 5678", "以上收入以人民币计，最长一年。"};
        // A form whose numbers mostly follow their labels' colons: a space
        // one em wide is still a space, not a gap between two cells.
        QTest::newRow("form typed as text")
            << QStringList{"入职登记表", "姓名：刘洁", "工资卡号：6236 6819 2779 0832", "开户行：交通银行"} << QStringList{}
            << QStringList{"工资卡号：6236 6819 2779 0832"};
    }

    void typedTextInPdf()
    {
        QFETCH(QStringList, typed);
        QFETCH(QStringList, labelled);
        QFETCH(QStringList, lines);
        const int width = 30;
        QStringList printed;
        for (const QString &line : typed) {
            for (int at = 0; at < line.size(); at += width)
                printed.append(line.mid(at, width));
        }
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath("typed.pdf");
        QVERIFY(SampleDocuments::writePdfUnembeddedCjk(path, printed));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        RecordingSink sink;
        QCOMPARE(PdfExtractor::extract(file.handle(), path.toUtf8(), sink), ExtractStatus::Ok);
        QCOMPARE(sink.labelled, labelled);
        const QStringList got = sink.text.split(QLatin1Char('\n'));
        for (const QString &line : lines)
            QVERIFY2(got.contains(line), qPrintable(sink.text));
    }

    // A page of more words than the analysis takes keeps the reader's layout.
    void tooManyWords()
    {
        QVector<QVector<CellAt>> rows;
        for (int i = 0; i < 10001; ++i)
            rows.append({{0, QStringLiteral("甲")}, {100, QStringLiteral("乙")}});
        const QVector<PdfWord> words = page(rows);
        QVERIFY(words.size() > 20000);
        QVERIFY(PdfLayout::arrange(words).isEmpty());
        QVERIFY(!PdfLayout::arrange(words.mid(0, 20000)).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestPdfLayout)
#include "tst_pdflayout.moc"
