#include "fixlabel.h"

#include <QFontMetrics>

FixLabel::FixLabel(QWidget *parent)
    : QLabel(parent)
{
}

void FixLabel::setShowToolTip(bool show)
{
    m_showToolTip = show;
    if (!m_fullText.isEmpty()) {
        // Let the next paint cut the text afresh.
        QLabel::setText(m_fullText);
        m_elidedText.clear();
    }
}

void FixLabel::setFullText(const QString &text)
{
    m_fullText = text;
    m_elidedText.clear();
    QLabel::setText(text);
    updateGeometry();
}

QString FixLabel::sourceText() const
{
    if (!m_fullText.isEmpty())
        return m_fullText;
    // Without a full text the label's own text is the source, unless it is
    // the cut text this label set itself.
    if (!m_elidedText.isEmpty() && text() == m_elidedText)
        return m_plainText;
    return text();
}

QSize FixLabel::sizeHint() const
{
    const QSize base = QLabel::sizeHint();
    const QString whole = sourceText();
    if (whole == text())
        return base;
    const QFontMetrics fm(font());
    const int extra = base.width() - fm.horizontalAdvance(text());
    return QSize(fm.horizontalAdvance(whole) + qMax(0, extra), base.height());
}

QSize FixLabel::minimumSizeHint() const
{
    const QSize base = QLabel::minimumSizeHint();
    if (sourceText().isEmpty())
        return base;
    const QFontMetrics fm(font());
    const QString ellipsis(QChar(0x2026));
    return QSize(qMin(base.width(), fm.horizontalAdvance(ellipsis) + 2 * margin()), base.height());
}

void FixLabel::paintEvent(QPaintEvent *event)
{
    const QString whole = sourceText();
    const QFontMetrics fm(font());
    if (fm.horizontalAdvance(whole) > width()) {
        const QString cut = fm.elidedText(whole, Qt::ElideRight, width());
        if (m_fullText.isEmpty())
            m_plainText = whole;
        m_elidedText = cut;
        QLabel::setText(cut);
        if (m_showToolTip)
            setToolTip(whole);
    } else {
        m_elidedText.clear();
        QLabel::setText(whole);
        if (m_showToolTip)
            setToolTip(QString());
    }
    QLabel::paintEvent(event);
}
