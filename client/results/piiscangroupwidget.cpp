#include "piiscangroupwidget.h"
#include "ui_piiscangroupwidget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyleOption>

PiiScanGroupWidget::PiiScanGroupWidget(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::PiiScanGroupWidget)
{
    ui->setupUi(this);
    m_formStyleSheet = styleSheet();
}

PiiScanGroupWidget::~PiiScanGroupWidget()
{
    delete ui;
}

void PiiScanGroupWidget::setIcon(const QString &path)
{
    m_iconPath = path;
    const QPixmap pixmap(path);
    ui->m_GroupIconLabel->setPixmap(pixmap);
    ui->m_GroupIconLabel->setFixedSize(pixmap.size());
}

void PiiScanGroupWidget::setName(const QString &name)
{
    ui->m_GroupNameLabel->setText(name);
}

QString PiiScanGroupWidget::name() const
{
    return ui->m_GroupNameLabel->text();
}

void PiiScanGroupWidget::setDescribe(const QString &describe)
{
    ui->m_GroupDescribeLabel->setText(describe);
}

QString PiiScanGroupWidget::describe() const
{
    return ui->m_GroupDescribeLabel->text();
}

void PiiScanGroupWidget::enterEvent(QEvent *event)
{
    setStyleSheet(QStringLiteral("background:transparent"));
    m_hover = true;
    update();
    QWidget::enterEvent(event);
}

void PiiScanGroupWidget::leaveEvent(QEvent *event)
{
    // Back to the tile's own look, so that a tile once hovered does not stay
    // different from the others.
    setStyleSheet(m_formStyleSheet);
    m_hover = false;
    update();
    QWidget::leaveEvent(event);
}

void PiiScanGroupWidget::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    Q_EMIT PiiScanGroupWidgetClicked(name(), describe());
}

void PiiScanGroupWidget::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    QPainter painter(this);

    // The style sheet's background (the grey tile).
    QStyleOption option;
    option.initFrom(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);

    if (!m_hover)
        return;
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(QPalette().color(QPalette::Highlight), 1));
    painter.setBrush(Qt::NoBrush);
    // Inset by half the pen so that the whole 1-pixel outline lies inside.
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.drawRoundedRect(box, 6, 6);
    QPainterPath outline;
    outline.addRoundedRect(box, 6, 6);
    painter.strokePath(outline, painter.pen());
}
