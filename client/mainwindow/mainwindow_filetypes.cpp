// MainWindow: the fixed file-type scope of every scan.

#include "mainwindow.h"

#include "borderlessbutton.h"
#include "bubblewidget.h"

#include <QLabel>
#include <QVBoxLayout>

QStringList MainWindow::scanFileTypes() const
{
    return {QStringLiteral("txt"), QStringLiteral("pdf"),  QStringLiteral("doc"),  QStringLiteral("docx"),
            QStringLiteral("xls"), QStringLiteral("xlsx"), QStringLiteral("ppt"),  QStringLiteral("pptx"),
            QStringLiteral("zip"), QStringLiteral("rar"),  QStringLiteral("7z"),   QStringLiteral("tar"),
            QStringLiteral("gz")};
}

void MainWindow::createFileTypeHintBubble()
{
    fileTypeHintBubble = new mvk::BubbleWidget;
    fileTypeHintBubble->setObjectName(QStringLiteral("fileTypeHintBubble"));
    auto *label = new QLabel(tr("文档解析支持：\ntxt、pdf、doc(x)、xls(x)、ppt(x)、\nwps、et、dps以及常见的压缩包格式等"));
    auto *layout = new QVBoxLayout(fileTypeHintBubble);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label);
    fileTypeHintBubble->setWindowFlags(Qt::Popup);
    fileTypeHintBubble->resize(290, 135);
    fileTypeHintBubble->setTailSize(QSize(20, 10));
    fileTypeHintBubble->setTailPosition(mvk::BubbleWidget::BottomTail, mvk::BubbleWidget::EndLocation);
    fileTypeHintBubble->setOpacity(0.5);
    fileTypeHintBubble->setEnableBlur(true);
    fileTypeHintBubble->hide();
}

// The bubble's right edge lines up with the button's, its bottom touches the
// button's top; nothing keeps it on the screen.
void MainWindow::on_m_KeywordScanFiletypeConfigButton_clicked()
{
    auto *button = qobject_cast<mvk::BorderlessButton *>(sender());
    if (!button || !fileTypeHintBubble)
        return;
    // With the desktop's font the text may need more room than the preset
    // size: let the layout settle the size first, so that the bubble is
    // placed by the size it is shown with.
    if (QLayout *layout = fileTypeHintBubble->layout())
        layout->activate();
    const QPoint corner = button->mapToGlobal(QPoint(0, 0));
    fileTypeHintBubble->move(corner.x() + button->width() - fileTypeHintBubble->width(),
                             corner.y() - fileTypeHintBubble->height());
    fileTypeHintBubble->show();
}

void MainWindow::on_m_PiiScanFiletypeConfigButton_clicked()
{
    on_m_KeywordScanFiletypeConfigButton_clicked();
}
