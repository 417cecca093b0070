// The pieces of the exports the service tests cannot reach case by case:
// masking of numbers in passages, and CSV and HTML quoting of odd text.
#include "csvreport.h"
#include "htmlreport.h"
#include "passagemask.h"

#include <QTest>

class TestReportFormats : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void maskedPassage_data()
    {
        QTest::addColumn<QString>("context");
        QTest::addColumn<QString>("value"); // the rule's value (privacy), empty for a keyword passage
        QTest::addColumn<QString>("masked");
        QTest::newRow("mobile near a keyword") << "机密 手机13912345678。" << "" << "机密 手机139****5678。";
        QTest::newRow("identity number with X") << "身份证11010119900307123X号" << "" << "身份证110***********123X号";
        QTest::newRow("card in groups") << "卡号 6222 0212 3456 7890 止" << "" << "卡号 622* **** **** 7890 止";
        QTest::newRow("glued to a label") << "ID110101199003071234" << "" << "ID110***********1234";
        QTest::newRow("short numbers stay") << "共 123456 元，第 7 页" << "" << "共 123456 元，第 7 页";
        QTest::newRow("value wherever it stands") << "邮箱 li.ming@example.com 和 li.ming@example.com"
                                                  << "li.ming@example.com"
                                                  << "邮箱 li.****@*******.com 和 li.****@*******.com";
        QTest::newRow("short value") << "血型 AB 型" << "AB" << "血型 ** 型";
    }
    void maskedPassage()
    {
        QFETCH(QString, context);
        QFETCH(QString, value);
        QFETCH(QString, masked);
        QCOMPARE(PassageMask::context(context, value), masked);
    }

    void csvField_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("field");
        QTest::newRow("plain") << "/home/a/报告.txt" << QByteArray("/home/a/报告.txt");
        QTest::newRow("comma") << "/a,b.txt" << QByteArray("\"/a,b.txt\"");
        QTest::newRow("quotes doubled") << "/a\"b\".txt" << QByteArray("\"/a\"\"b\"\".txt\"");
        QTest::newRow("line break") << "/a\nb.txt" << QByteArray("\"/a\nb.txt\"");
        QTest::newRow("carriage return") << "/a\rb.txt" << QByteArray("\"/a\rb.txt\"");
    }
    void csvField()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, field);
        QCOMPARE(CsvReport::field(text), field);
    }

    void htmlEscape()
    {
        QCOMPARE(HtmlReport::escape(QStringLiteral("<script>a&b</script> \"x\" 'y'")),
                 QStringLiteral("&lt;script&gt;a&amp;b&lt;/script&gt; &quot;x&quot; &#39;y&#39;"));
    }
};

QTEST_APPLESS_MAIN(TestReportFormats)
#include "tst_reportformats.moc"
