// Makes a sample directory for trying the keyword scan: text in UTF-8 and
// GB18030, DOCX, XLSX, PPTX and PDF files with planted keywords, and a file
// of the keywords (keywords.list, a type the scan leaves alone) for a sample
// checklist; and for the privacy scan, made-up personal data of every
// category in a text file and a DOCX.
#include "privacysamples.h"
#include "sampledocuments.h"

#include <QDir>
#include <QGuiApplication>
#include <QTextCodec>
#include <QTextStream>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 2 || arguments.at(1).startsWith(QLatin1Char('-'))) {
        QTextStream(stderr) << "Usage: tavex-discovery-sample-files DIR\n"
                               "Makes DIR with sample documents holding the keywords of DIR/keywords.list.\n";
        return 64;
    }
    const QString dir = QDir(arguments.at(1)).absolutePath();
    if (!QDir().mkpath(dir + QStringLiteral("/项目资料"))) {
        QTextStream(stderr) << "Cannot create " << dir << '\n';
        return 1;
    }
    const QStringList keywords{QStringLiteral("机密"), QStringLiteral("内部资料"), QStringLiteral("合同编号"),
                               QStringLiteral("confidential")};
    bool ok = SampleDocuments::writeFile(dir + QStringLiteral("/keywords.list"), keywords.join(QLatin1Char('\n')).toUtf8() + '\n');
    const QString memo = QStringLiteral("会议纪要\n本纪要属于内部资料，请勿外传。\n第二项：新产品方案仍为机密，发布前不得讨论。\n"
                                        "This memo is confidential.\n");
    ok = ok && SampleDocuments::writeFile(dir + QStringLiteral("/会议纪要.txt"), memo.toUtf8());
    ok = ok && SampleDocuments::writeFile(dir + QStringLiteral("/客户名单-GBK.txt"),
                                          QTextCodec::codecForName("GB18030")->fromUnicode(
                                              QStringLiteral("客户名单（内部资料）\n张三 138****0000\n李四 合同编号 HT-2024-017\n")));
    ok = ok && SampleDocuments::writeDocx(dir + QStringLiteral("/项目资料/投标方案.docx"), QStringLiteral("投标方案正文：报价属于商业机密。"),
                                          {QStringLiteral("合同编号"), QStringLiteral("HT-2024-031")},
                                          QStringLiteral("内部资料 请勿外传"), QStringLiteral("第 1 页"));
    ok = ok && SampleDocuments::writeXlsx(dir + QStringLiteral("/项目资料/工资表.xlsx"),
                                          {QStringLiteral("姓名"), QStringLiteral("工资（机密）"), QStringLiteral("内部|资料")},
                                          QStringLiteral("confidential"));
    ok = ok && SampleDocuments::writePptx(dir + QStringLiteral("/项目资料/季度汇报.pptx"),
                                          {QStringLiteral("季度汇报"), QStringLiteral("市场份额与计划")},
                                          {QStringLiteral("讲稿：第二季度的数据是机密，只在内部资料中使用。")});
    ok = ok && SampleDocuments::writePdf(dir + QStringLiteral("/合同扫描件.pdf"),
                                         {QStringLiteral("采购合同 合同编号 CG-2024-088"), QStringLiteral("附件：价格清单（机密）")});
    ok = ok && SampleDocuments::writeFile(dir + QStringLiteral("/公开说明.md"), "这个文件类型不在扫描范围内：机密\n");

    // Personal data of every rule of the privacy scan, so that a privacy scan of
    // the directory fills all fourteen categories: a registration form in text,
    // and a few items in a DOCX.
    PrivacySamples privacy(2024);
    QList<PrivacySamples::Item> items;
    QString form = QStringLiteral("员工信息登记表（示例数据，均为虚构）\n");
    for (const QString &rule : PrivacySamples::rules())
        form += privacy.valid(rule, &items) + QLatin1Char('\n');
    ok = ok && SampleDocuments::writeFile(dir + QStringLiteral("/个人信息登记表.txt"), form.toUtf8());
    QList<PrivacySamples::Item> more;
    ok = ok && SampleDocuments::writeDocx(dir + QStringLiteral("/项目资料/入职材料.docx"),
                                          privacy.valid(QStringLiteral("id_card"), &more),
                                          {privacy.valid(QStringLiteral("bank_card"), &more), privacy.valid(QStringLiteral("diagnosis"), &more)},
                                          privacy.valid(QStringLiteral("mobile"), &more), privacy.valid(QStringLiteral("address"), &more));
    if (!ok) {
        QTextStream(stderr) << "Cannot write the sample files in " << dir << '\n';
        return 1;
    }
    QTextStream(stdout) << dir << '\n';
    return 0;
}
