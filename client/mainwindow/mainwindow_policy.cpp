// MainWindow: the scan policy document a task carries.

#include "mainwindow.h"

#include "policydocument.h"

#include <QJsonDocument>

QString MainWindow::buildScanPolicy(const QStringList &fileTypes, const QStringList &keywords, bool privacy) const
{
    FiletypeDetectRule filetypeRule;
    filetypeRule.name = tr("文件类型检测规则");
    filetypeRule.description =
        tr("可配置一个或者多个文件类型。支持检测的文件类型列表：txt、html、json、xml、ppt、pptx、doc、docx、xls、xlsx、pdf");
    filetypeRule.fileTypes = fileTypes;
    filetypeRule.matchCondition = QStringLiteral("ONEOF");
    filetypeRule.exception = false;

    DetectRuleset detect;
    detect.filetypeRules << filetypeRule;
    if (!privacy) {
        // One rule per keyword, numbered from 1 in list order; the keyword
        // goes in as given (the JSON writer escapes it).
        for (int i = 0; i < keywords.size(); ++i) {
            KeywordPattern pattern;
            pattern.pattern = keywords.at(i);
            pattern.maxMatches = -1;
            pattern.distinct = false;
            pattern.matchCondition = 1;

            KeywordDetectRule rule;
            rule.name = tr("关键字检测规则") + QString::number(i + 1);
            rule.description = tr("可配置一个或者多个关键字");
            rule.exception = false;
            rule.keywords << pattern;
            detect.keywordRules << rule;
        }
    }
    detect.dataIdentifier = privacy;

    ResponseRule response;
    response.name = tr("事件写入数据库");
    response.description = tr("指定一个响应动作，用于触发策略后执行");
    response.action = QStringLiteral("WriteDatabase");

    ScanPolicy policy;
    policy.name = tr("敏感信息扫描策略");
    policy.description = tr("用于对指定路径下的目标类型文件进行敏感信息检查");
    policy.ruleset.detectRuleset = detect;
    policy.ruleset.responseRules << response;

    PolicyDocument document;
    document.version = QStringLiteral("1.0.0");
    document.policies << policy;

    return QString::fromUtf8(QJsonDocument(document.toJson()).toJson(QJsonDocument::Indented));
}

QString MainWindow::encodeScanPolicy(const QString &document)
{
    return QString::fromLatin1(document.toUtf8().toBase64());
}
