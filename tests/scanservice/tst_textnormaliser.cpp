// The text normaliser on its own: numbers as people write them joined,
// full-width and radical forms folded, everything else left as written, and
// the map back to the original bytes.
#include "textnormaliser.h"

#include <QTest>

class TestTextNormaliser : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void normalises_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        // Folded forms.
        QTest::newRow("full-width digits") << "手机１９９８５６３８８２９" << "手机19985638829";
        QTest::newRow("full-width letters and punctuation") << "ＩＤ：（Ａ１）" << "ID:(A1)";
        QTest::newRow("ideographic and no-break space") << "姓名　张三\u00A0男" << "姓名 张三 男";
        QTest::newRow("kangxi radicals from a pdf") << "⾝份证号 ⼯号" << "身份证号 工号";
        QTest::newRow("radicals supplement from a pdf") << "⻔诊 ⻘岛 ⻋辆" << "门诊 青岛 车辆";
        // Numbers in parts joined.
        QTest::newRow("mobile with hyphens") << "电话199-7436-2293。" << "电话19974362293。";
        QTest::newRow("mobile with spaces") << "130 9932 8574" << "13099328574";
        QTest::newRow("mobile with dots") << "手机138.1234.5678" << "手机13812345678";
        QTest::newRow("mobile with +86 and hyphens") << "+86-151-6081-0007" << "+8615160810007";
        QTest::newRow("mobile with +86 and a space") << "Mobile: +86 13812345678" << "Mobile: +8613812345678";
        QTest::newRow("mobile with 86 in groups") << "86 177 0490 0988" << "8617704900988";
        QTest::newRow("full-width mobile with hyphens") << "１３９－１２３４－５６７８" << "13912345678";
        QTest::newRow("identity number 6-8-4") << "身份证 420111 19840712 0426" << "身份证 420111198407120426";
        QTest::newRow("identity number ending in X") << "420111 19840712 042X" << "42011119840712042X";
        QTest::newRow("fixed line parenthesised") << "电话(028)34708845" << "电话02834708845";
        QTest::newRow("fixed line full-width parentheses") << "（010）55929704" << "01055929704";
        QTest::newRow("fixed line parenthesised with a space") << "(0755) 8888 6666" << "075588886666";
        QTest::newRow("fixed line in spaced groups") << "022 4848 8314" << "02248488314";
        QTest::newRow("card in fours") << "卡号6222 0212 3456 7890 123" << "卡号6222021234567890123";
        QTest::newRow("imei in groups") << "IMEI 35-209900-176148-1" << "IMEI 352099001761481";
        QTest::newRow("identity number wrapped after its label") << "身份证号码：420111198407\n120426，" << "身份证号码:420111198407120426,";
        QTest::newRow("disability card wrapped in a row") << "李四  4403051975031\n2123743  2100元" << "李四  44030519750312123743  2100元";
        QTest::newRow("mobile wrapped with crlf") << "联系人 李四 1381234\r\n5678 备注" << "联系人 李四 13812345678 备注";
        // Left as written.
        QTest::newRow("date") << "2025-03-15 2025.03.15" << "2025-03-15 2025.03.15";
        QTest::newRow("time range") << "08:30-17:30" << "08:30-17:30";
        QTest::newRow("dotted address") << "192.168.100.20" << "192.168.100.20";
        QTest::newRow("version") << "版本5.4.0.5" << "版本5.4.0.5";
        QTest::newRow("dotted build number in fours") << "build 2024.0101.0001.0002" << "build 2024.0101.0001.0002";
        QTest::newRow("amount") << "1,234.50元 12 500" << "1,234.50元 12 500";
        QTest::newRow("coordinates") << "30.572815, 104.066801" << "30.572815, 104.066801";
        QTest::newRow("two mobiles on two lines") << "甲13812345678\n13912345678" << "甲13812345678\n13912345678";
        QTest::newRow("numbers alone on their lines") << "12345678\n1234567\n" << "12345678\n1234567\n";
        QTest::newRow("twenty-one digits across a line") << "编号 4403051975031\n21237431 备注" << "编号 4403051975031\n21237431 备注";
        QTest::newRow("a group too many") << "138-1234-5678-9" << "138-1234-5678-9";
        QTest::newRow("separators of two kinds") << "138-1234 5678" << "138-1234 5678";
        QTest::newRow("two spaces") << "130  9932 8574" << "130  9932 8574";
        QTest::newRow("part of a longer code") << "SN138-1234-5678" << "SN138-1234-5678";
        QTest::newRow("chinese across a line break") << "甲状腺功能\n亢进症" << "甲状腺功能\n亢进症";
    }
    void normalises()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(QString::fromUtf8(TextNormaliser::normalise(text.toUtf8()).text), expected);
    }

    // A value found in the normalised text maps back to what the file says.
    void mapsBackToTheOriginal_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("found");    // in the normalised text
        QTest::addColumn<QString>("original"); // the bytes it comes from
        QTest::newRow("hyphenated mobile") << "手机：199-7436-2293，谢谢" << "19974362293" << "199-7436-2293";
        QTest::newRow("parenthesised area code") << "电话（010）55929704。" << "01055929704" << "（010）55929704";
        QTest::newRow("+86") << "Tel +86-151-6081-0007." << "+8615160810007" << "+86-151-6081-0007";
        QTest::newRow("full-width digits") << "号码１３８１２３４５６７８！" << "13812345678" << "１３８１２３４５６７８";
        QTest::newRow("wrapped identity number") << "身份证号码：420111198407\n120426" << "420111198407120426" << "420111198407\n120426";
        QTest::newRow("text after a joined number") << "199-7436-2293，身份证" << ",身份证" << "，身份证";
    }
    void mapsBackToTheOriginal()
    {
        QFETCH(QString, text);
        QFETCH(QString, found);
        QFETCH(QString, original);
        const QByteArray utf8 = text.toUtf8();
        const TextNormaliser::Normalised n = TextNormaliser::normalise(utf8);
        const int at = n.text.indexOf(found.toUtf8());
        QVERIFY2(at >= 0, n.text.constData());
        const QPair<int, int> span = n.original(at, at + found.toUtf8().size());
        QCOMPARE(QString::fromUtf8(utf8.mid(span.first, span.second - span.first)), original);
    }

    // Bytes that are no UTF-8 pass through unchanged, and the text around them is still folded.
    void keepsBytesThatAreNoUtf8()
    {
        const QByteArray text = QByteArray("a\xff") + QStringLiteral("１").toUtf8() + QByteArray("\xc0\xaf") + "b";
        QCOMPARE(TextNormaliser::normalise(text).text, QByteArray("a\xff" "1\xc0\xaf" "b"));
    }
};

QTEST_GUILESS_MAIN(TestTextNormaliser)
#include "tst_textnormaliser.moc"
