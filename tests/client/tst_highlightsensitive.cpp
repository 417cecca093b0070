// Marking a hit in its passage: the exact texts for ordinary passages, and
// passages or words holding markup characters that must reach the rich-text
// label as text.

#include "highlightsensitive.h"

#include <QRandomGenerator>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

namespace {

QString marked(const QString &word)
{
    return QStringLiteral("<font color='#3676F5'>%1</font>").arg(word);
}

// The marking as it is done on text that needs no escaping: replace, join
// the lines, trim; the context unchanged when the word is empty or absent.
QString markPlain(const QString &context, const QString &word)
{
    QString copy = context;
    if (word.isEmpty() || copy.indexOf(word) < 0)
        return copy;
    copy.replace(word, QStringLiteral("<font color='#3676F5'>%1</font>").arg(word));
    copy.remove(QStringLiteral("\r\n"));
    copy.remove(QLatin1Char('\r'));
    copy.remove(QLatin1Char('\n'));
    return copy.trimmed();
}

// What a rich-text label shows: the plain text, and the pieces drawn in the
// highlight colour.
struct Rendered
{
    QString text;
    QStringList highlighted;
};

Rendered render(const QString &html)
{
    QTextDocument document;
    document.setHtml(html);
    Rendered rendered;
    rendered.text = document.toPlainText();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().foreground().color() == QColor(QStringLiteral("#3676F5")))
                rendered.highlighted << fragment.text();
        }
    }
    return rendered;
}

} // namespace

class TestHighlightSensitive : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void marksAndJoins_data()
    {
        QTest::addColumn<QString>("context");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("expected");

        QTest::newRow("one occurrence") << "the secret plan" << "secret" << "the " + marked("secret") + " plan";
        QTest::newRow("CR LF before the word")
            << "first line\r\nsecret here" << "secret" << "first line" + marked("secret") + " here";
        QTest::newRow("lone CR and LF") << "a\rb\nc secret" << "secret" << "abc " + marked("secret");
        QTest::newRow("two occurrences") << "secret and secret" << "secret"
                                         << marked("secret") + " and " + marked("secret");
        QTest::newRow("two-letter word back to back") << "xabab" << "ab" << "x" + marked("ab") + marked("ab");
        QTest::newRow("overlapping occurrences, left to right") << "aaa" << "aa" << marked("aa") + "a";
        QTest::newRow("outer blanks trimmed once marked")
            << "  \t secret \r\n " << "secret" << marked("secret");
        QTest::newRow("word at both ends") << "机密文件机密" << "机密" << marked("机密") + "文件" + marked("机密");
        QTest::newRow("no occurrence: unchanged")
            << "  first\r\nsecond\n " << "secret" << "  first\r\nsecond\n ";
        QTest::newRow("empty word: unchanged") << " a\r\nb " << "" << " a\r\nb ";
        QTest::newRow("other capitalisation: unchanged")
            << "Secret\nSECRET " << "secret" << "Secret\nSECRET ";
        QTest::newRow("empty context") << "" << "secret" << "";
        QTest::newRow("word with a percent marker") << "save 100%1 now" << "%1" << "save 100" + marked("%1") + " now";

        // Markup characters of the file or the word are text, not markup.
        QTest::newRow("tags in the context")
            << "<b>bold</b> secret" << "secret" << "&lt;b&gt;bold&lt;/b&gt; " + marked("secret");
        QTest::newRow("image tag in the context")
            << "<img src=x> secret" << "secret" << "&lt;img src=x&gt; " + marked("secret");
        QTest::newRow("unclosed less-than") << "a<b secret" << "secret" << "a&lt;b " + marked("secret");
        QTest::newRow("ampersand") << "Tom & Jerry" << "Jerry" << "Tom &amp; " + marked("Jerry");
        QTest::newRow("quotes around the word")
            << "say \"secret\" or 'secret'" << "secret"
            << "say &quot;" + marked("secret") + "&quot; or '" + marked("secret") + "'";
        QTest::newRow("word that is a tag") << "x <b> y <b>" << "<b>" << "x " + marked("&lt;b&gt;") + " y " + marked("&lt;b&gt;");
        QTest::newRow("word holding an ampersand") << "a&b, a&b" << "a&b" << marked("a&amp;b") + ", " + marked("a&amp;b");
        QTest::newRow("word spelled like an entity name") << "1 < 2" << "lt" << "1 &lt; 2";
        QTest::newRow("word spelled like an entity, present too")
            << "x & amp" << "amp" << "x &amp; " + marked("amp");
        QTest::newRow("no occurrence, markup kept as text")
            << " x & y\n" << "z" << " x &amp; y\n";
    }
    void marksAndJoins()
    {
        QFETCH(QString, context);
        QFETCH(QString, word);
        QFETCH(QString, expected);
        QCOMPARE(highlightSensitive(context, word), expected);
    }

    // Whatever the file holds, the label shows the file's text (lines joined
    // and trimmed when marked) with exactly the occurrences of the word in
    // the highlight colour.
    void rendersTheFileText_data()
    {
        QTest::addColumn<QString>("context");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QStringList>("highlighted");
        QTest::newRow("image tag") << "<img src=x> secret" << "secret" << "<img src=x> secret"
                                   << QStringList{"secret"};
        QTest::newRow("script and entity") << "<script>&amp;</script>\r\nkey" << "key"
                                           << "<script>&amp;</script>key" << QStringList{"key"};
        QTest::newRow("tag as the word") << "a <i> b" << "<i>" << "a <i> b" << QStringList{"<i>"};
        QTest::newRow("entity name as the word") << "a < b" << "lt" << "a < b" << QStringList{};
        QTest::newRow("quotes") << "\"q\" 'q'" << "q" << "\"q\" 'q'" << QStringList{"q", "q"};
    }
    void rendersTheFileText()
    {
        QFETCH(QString, context);
        QFETCH(QString, word);
        QFETCH(QString, shown);
        QFETCH(QStringList, highlighted);
        const Rendered rendered = render(highlightSensitive(context, word));
        QCOMPARE(rendered.text, shown);
        QCOMPARE(rendered.highlighted, highlighted);
    }

    // On text without characters that need escaping the result is exactly
    // that of replacing, joining and trimming: random passages over a small
    // alphabet with blanks and line breaks, where repeats and overlaps are
    // common.
    void plainTextMarkedAsBefore()
    {
        QRandomGenerator random(20240611);
        const QString alphabet = QStringLiteral("ab机 \r\n\t");
        auto randomText = [&](int maxLength) {
            QString text;
            const int length = random.bounded(maxLength + 1);
            for (int i = 0; i < length; ++i)
                text += alphabet.at(random.bounded(alphabet.size()));
            return text;
        };
        for (int i = 0; i < 20000; ++i) {
            const QString context = randomText(24);
            const QString word = randomText(3);
            const QString result = highlightSensitive(context, word);
            if (result != markPlain(context, word))
                QFAIL(qPrintable(QStringLiteral("context %1, word %2: %3")
                                     .arg(QString::fromLatin1(context.toUtf8().toPercentEncoding()),
                                          QString::fromLatin1(word.toUtf8().toPercentEncoding()), result)));
        }
    }
};

QTEST_MAIN(TestHighlightSensitive)
#include "tst_highlightsensitive.moc"
