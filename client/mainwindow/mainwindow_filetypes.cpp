// MainWindow: the fixed file-type scope of every scan.

#include "mainwindow.h"

QStringList MainWindow::scanFileTypes() const
{
    return {QStringLiteral("txt"), QStringLiteral("pdf"),  QStringLiteral("doc"),  QStringLiteral("docx"),
            QStringLiteral("xls"), QStringLiteral("xlsx"), QStringLiteral("ppt"),  QStringLiteral("pptx"),
            QStringLiteral("zip"), QStringLiteral("rar"),  QStringLiteral("7z"),   QStringLiteral("tar"),
            QStringLiteral("gz")};
}
