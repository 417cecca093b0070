// MainWindow: closing by the title bar's close button or the menu's quit
// entry, which asks before leaving an unfinished task behind.

#include "mainwindow.h"

#include "transcontrolprotocol.h"
#include "sensitivescaninterface.h"
#include "servicecall.h"

void MainWindow::onCloseButtonClicked()
{
    if (!keywordPathList().isEmpty()
        && !mayLeaveTask(keywordPathList(), KeywordScanTask, tr("查询敏感词扫描任务详情失败，请检查！"),
                         tr("敏感词扫描"), tr("敏感词扫描尚未完成，确定退出吗？")))
        return;
    if (!privacyPathList().isEmpty()
        && !mayLeaveTask(privacyPathList(), PrivacyScanTask, tr("查询隐私信息扫描任务详情失败，请检查！"),
                         tr("隐私信息扫描"), tr("隐私信息扫描尚未完成，确定退出吗？")))
        return;
    close();
}

// Asks the service how far the task is; an unfinished one is terminated
// when the user confirms. False keeps the window open: the user declined,
// or the service did not terminate the task. A task the service cannot
// report on does not hold the window.
bool MainWindow::mayLeaveTask(const QString &pathlist, int taskType, const QString &queryFailure,
                              const QString &title, const QString &question)
{
    ScanTaskDetailInfo info;
    if (!ServiceCall::waitForTaskDetail(m_sensitiveScanInterface->SensitiveDiscoveryGetScanTaskDetail(pathlist, taskType),
                                        pathlist, &info)) {
        showFailure(queryFailure);
        return true;
    }
    // A progress that is not a number is no sign of a finished task.
    if (info.Progress >= 1.0)
        return true;
    if (!askQuestion(title, question))
        return false;
    if (!ServiceCall::waitForSuccess(m_sensitiveScanInterface->SensitiveDiscoveryTerminateScanTask(pathlist, taskType),
                                     QStringLiteral("SensitiveDiscoveryTerminateScanTask"), pathlist)) {
        showFailure(tr("中止扫描失败，请检查！"));
        return false;
    }
    return true;
}
