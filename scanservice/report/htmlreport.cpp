// HTML export of a run (see htmlreport.h).
#include "htmlreport.h"

#include "passagemask.h"

#include <QMap>
#include <QSet>
#include <QVector>

#include <algorithm>

namespace {
// Inline, so that the page needs nothing from elsewhere; print rules keep
// a file's table together and drop the screen's colours.
const char *const Style = R"(
body { font-family: "Noto Sans CJK SC", "Noto Sans", sans-serif; margin: 2em; color: #222; background: #fff; }
h1 { font-size: 1.5em; } h2 { font-size: 1.2em; margin-top: 1.6em; border-bottom: 1px solid #ccc; }
h3 { font-size: 1em; word-break: break-all; }
table { border-collapse: collapse; margin: 0.5em 0; }
th, td { border: 1px solid #ccc; padding: 0.2em 0.5em; text-align: left; vertical-align: top; }
td.n, th.n { text-align: right; }
td.path { word-break: break-all; }
.passage { font-family: monospace; white-space: pre-wrap; word-break: break-all; }
.note { color: #555; }
svg { display: block; margin: 0.5em 0; }
section.file { page-break-inside: avoid; break-inside: avoid; }
@media print { body { margin: 0; } h2 { page-break-after: avoid; break-after: avoid; } }
)";

QString row(const QStringList &cells, const QVector<bool> &numeric = {})
{
    QString html = QStringLiteral("<tr>");
    for (int i = 0; i < cells.size(); ++i) {
        const bool n = i < numeric.size() && numeric.at(i);
        html += (n ? QStringLiteral("<td class=\"n\">") : QStringLiteral("<td>")) + cells.at(i) + QStringLiteral("</td>");
    }
    return html + QStringLiteral("</tr>\n");
}

QString folderOf(const QString &path)
{
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    return slash <= 0 ? QStringLiteral("/") : path.left(slash);
}

// Horizontal bars, one per name, longest first; the names beside them.
QString chart(const QVector<QPair<QString, qint64>> &totals)
{
    const int bars = std::min<int>(totals.size(), HtmlReport::ChartBars);
    if (bars == 0)
        return QString();
    const int rowHeight = 22, labelWidth = 220, barWidth = 420, width = labelWidth + barWidth + 80;
    const qint64 most = std::max<qint64>(1, totals.first().second);
    QString svg = QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%2\" role=\"img\" "
                                 "aria-label=\"Hits per name\">\n")
                      .arg(width)
                      .arg(bars * rowHeight + 4);
    for (int i = 0; i < bars; ++i) {
        const int y = i * rowHeight + 2;
        const int w = std::max<int>(1, int(double(totals.at(i).second) / double(most) * barWidth));
        svg += QStringLiteral("<text x=\"%1\" y=\"%2\" text-anchor=\"end\" font-size=\"12\">%3</text>")
                   .arg(labelWidth - 6)
                   .arg(y + 15)
                   .arg(HtmlReport::escape(totals.at(i).first.left(30)));
        svg += QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"16\" fill=\"#3b78c2\"/>").arg(labelWidth).arg(y + 2).arg(w);
        svg += QStringLiteral("<text x=\"%1\" y=\"%2\" font-size=\"12\">%3</text>\n")
                   .arg(labelWidth + w + 6)
                   .arg(y + 15)
                   .arg(totals.at(i).second);
    }
    return svg + QStringLiteral("</svg>\n");
}
} // namespace

QString HtmlReport::escape(const QString &text)
{
    QString out;
    out.reserve(text.size() + 16);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '&': out += QLatin1String("&amp;"); break;
        case '<': out += QLatin1String("&lt;"); break;
        case '>': out += QLatin1String("&gt;"); break;
        case '"': out += QLatin1String("&quot;"); break;
        case '\'': out += QLatin1String("&#39;"); break;
        default: out += c;
        }
    }
    return out;
}

QByteArray HtmlReport::render(const RunReport &report, bool masked)
{
    const RunReport::Run &run = report.run;
    const bool privacy = run.tasktype == 3;
    const QString nameHeading = privacy ? QStringLiteral("Category") : QStringLiteral("Keyword");

    // Hits per category (privacy) or keyword, most first; hits per folder.
    QMap<QString, qint64> perName;
    QMap<QString, QPair<qint64, QSet<QString>>> perFolder;
    for (const RunReport::Finding &finding : report.findings) {
        perName[privacy ? finding.category : finding.name] += finding.count;
        auto &folder = perFolder[folderOf(finding.path)];
        folder.first += finding.count;
        folder.second.insert(finding.path);
    }
    QVector<QPair<QString, qint64>> totals;
    for (auto it = perName.constBegin(); it != perName.constEnd(); ++it)
        totals.append({it.key(), it.value()});
    std::stable_sort(totals.begin(), totals.end(), [](const auto &a, const auto &b) { return a.second > b.second; });
    QVector<QPair<QString, qint64>> folders;
    for (auto it = perFolder.constBegin(); it != perFolder.constEnd(); ++it)
        folders.append({it.key(), it.value().first});
    std::stable_sort(folders.begin(), folders.end(), [](const auto &a, const auto &b) { return a.second > b.second; });

    QString html;
    html += QStringLiteral("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                           "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; style-src 'unsafe-inline'\">\n");
    html += QStringLiteral("<title>Scan report, run %1</title>\n<style>%2</style>\n</head>\n<body>\n").arg(run.id).arg(QLatin1String(Style));
    html += QStringLiteral("<h1>Scan report, run %1</h1>\n").arg(run.id);
    html += masked ? QStringLiteral("<p class=\"note\">Values in passages are masked: only their first and last characters are shown.</p>\n")
                   : QStringLiteral("<p class=\"note\"><strong>Values in passages are shown in full.</strong> This report holds personal data.</p>\n");

    html += QStringLiteral("<h2>Summary</h2>\n<table>\n");
    const QVector<QPair<QString, QString>> summary{
        {QStringLiteral("Paths"), escape(run.pathlist).replace(QLatin1Char('|'), QStringLiteral("<br>"))},
        {QStringLiteral("Task"), privacy ? QStringLiteral("personal data (rule table %1)").arg(escape(run.ruleTable))
                                         : QStringLiteral("keywords (%1 sought)").arg(run.keywords)},
        {QStringLiteral("Scan mode"), run.scanmode == 4 ? QStringLiteral("idle time") : QStringLiteral("normal")},
        {QStringLiteral("Started"), escape(run.started)},
        {QStringLiteral("Ended"), escape(run.ended)},
        {QStringLiteral("Outcome"), escape(run.outcome) + (run.failure.isEmpty() ? QString() : QStringLiteral(": ") + escape(run.failure))},
        {QStringLiteral("Files selected"), QString::number(run.filesTotal)},
        {QStringLiteral("Files walked"), QString::number(run.filesWalked)},
        {QStringLiteral("Files read in full"), QString::number(run.filesRead)},
        {QStringLiteral("Files with hits"), QString::number(run.filesWithHits)},
        {QStringLiteral("Files not read (in full)"), QString::number(run.filesNotRead)},
    };
    for (const auto &entry : summary)
        html += QStringLiteral("<tr><th>%1</th><td>%2</td></tr>\n").arg(entry.first, entry.second);
    html += QStringLiteral("</table>\n");

    html += QStringLiteral("<h2>Hits per %1</h2>\n").arg(nameHeading.toLower());
    if (totals.isEmpty()) {
        html += QStringLiteral("<p>No hits.</p>\n");
    } else {
        html += chart(totals);
        html += QStringLiteral("<table>\n<tr><th>%1</th><th class=\"n\">Hits</th></tr>\n").arg(nameHeading);
        for (const auto &total : totals)
            html += row({escape(total.first), QString::number(total.second)}, {false, true});
        html += QStringLiteral("</table>\n");

        html += QStringLiteral("<h2>Folders with the most hits</h2>\n<table>\n<tr><th>Folder</th><th class=\"n\">Files</th>"
                               "<th class=\"n\">Hits</th></tr>\n");
        for (int i = 0; i < folders.size() && i < TopFolders; ++i)
            html += row({escape(folders.at(i).first), QString::number(perFolder.value(folders.at(i).first).second.size()),
                         QString::number(folders.at(i).second)},
                        {false, true, true});
        html += QStringLiteral("</table>\n");
    }

    html += QStringLiteral("<h2>Files not read</h2>\n");
    if (report.notRead.isEmpty()) {
        html += QStringLiteral("<p>Every file was read in full.</p>\n");
    } else {
        html += QStringLiteral("<table>\n<tr><th>File</th><th>Why</th><th>Detail</th></tr>\n");
        for (const RunReport::NotRead &file : report.notRead)
            html += row({escape(file.path), escape(file.kind), file.reason == file.kind ? QString() : escape(file.reason)});
        html += QStringLiteral("</table>\n");
    }

    html += QStringLiteral("<h2>Files with hits</h2>\n");
    QString current;
    for (int i = 0; i < report.findings.size(); ++i) {
        const RunReport::Finding &finding = report.findings.at(i);
        if (i == 0 || finding.path != current) {
            if (i > 0)
                html += QStringLiteral("</table>\n</section>\n");
            current = finding.path;
            html += QStringLiteral("<section class=\"file\">\n<h3>%1</h3>\n<table>\n<tr>%2<th>%3</th><th class=\"n\">Hits</th>"
                                   "<th>Passages</th></tr>\n")
                        .arg(escape(finding.path), privacy ? QStringLiteral("<th>Category</th>") : QString(),
                             privacy ? QStringLiteral("Rule") : QStringLiteral("Keyword"));
        }
        QString passages;
        for (const RunReport::Passage &kept : finding.passages) {
            const RunReport::Passage passage = masked ? PassageMask::passage(kept, privacy) : kept;
            passages += QStringLiteral("<div class=\"passage\">%1</div>").arg(escape(passage.context));
        }
        QStringList cells;
        if (privacy)
            cells << escape(finding.category);
        cells << escape(finding.name) << QString::number(finding.count) << passages;
        html += row(cells, privacy ? QVector<bool>{false, false, true, false} : QVector<bool>{false, true, false});
    }
    if (!report.findings.isEmpty())
        html += QStringLiteral("</table>\n</section>\n");
    else
        html += QStringLiteral("<p>No file with hits.</p>\n");
    html += QStringLiteral("</body>\n</html>\n");
    return html.toUtf8();
}
