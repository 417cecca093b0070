// The dialog that lists the files a run did not read in full.
#include "filesnotreaddialog.h"

#include "filesnotreadmodel.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {
// Room for a path of a usual depth and its reason without scrolling.
constexpr int DialogWidth = 760;
constexpr int DialogHeight = 440;
constexpr int KindColumnWidth = 160;
} // namespace

FilesNotReadDialog::FilesNotReadDialog(const QList<RunReports::FileNotRead> &files, QWidget *parent)
    : QDialog(parent)
    , m_model(new FilesNotReadModel(this))
    , m_view(new QTableView(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("未能完整读取的文件"));
    resize(DialogWidth, DialogHeight);

    m_model->setFiles(files);
    m_view->setModel(m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setWordWrap(false);
    // Long paths keep their start and their file name.
    m_view->setTextElideMode(Qt::ElideMiddle);
    m_view->verticalHeader()->hide();
    m_view->horizontalHeader()->setSectionResizeMode(FilesNotReadModel::FileColumn, QHeaderView::Stretch);
    m_view->horizontalHeader()->setSectionResizeMode(FilesNotReadModel::KindColumn, QHeaderView::Interactive);
    m_view->horizontalHeader()->setSectionResizeMode(FilesNotReadModel::ReasonColumn, QHeaderView::Stretch);
    m_view->setColumnWidth(FilesNotReadModel::KindColumn, KindColumnWidth);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *close = buttons->addButton(tr("关闭"), QDialogButtonBox::RejectRole);
    close->setDefault(true);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_view);
    layout->addWidget(buttons);
}
