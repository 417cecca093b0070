#include "keywordconfigallinonewidget.h"
#include "configlog.h"
#include "ui_keywordconfigallinonewidget.h"

#include "centercheckboxdelegate.h"
#include "flowlayout.h"
#include "headercheckbox.h"
#include "keywordtemplatelayout.h"
#include "keywordtemplatestore.h"
#include "nohoverdelegate.h"
#include "removablebutton.h"

#include <QCloseEvent>
#include <QCursor>
#include <QDebug>
#include <QGuiApplication>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QStandardItemModel>

namespace {

const char *const HighlightedAddButtonStyle = "QPushButton {background-color: rgb(44,137,255); color: white;}";

} // namespace

KeywordConfigAllinoneWidget::KeywordConfigAllinoneWidget(QWidget *parent, KeywordTemplateStore *store)
    : QWidget(parent)
    , ui(new Ui::KeywordConfigAllinoneWidget)
    , m_store(store)
{
    ui->setupUi(this);

    setWindowFlags(Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);

    centerInParent();

    ui->m_IconBar->setIcon(QIcon(QStringLiteral(":/SensitiveDiscovery/images/zoq_logo/vorel-security-center@1x.png")));
    ui->m_IconBar->setWidgetName(tr("敏感词配置"));

    ui->m_CloseButton->setProperty("useButtonPalette", true);
    ui->m_CloseButton->setIcons(QStringLiteral(":/SensitiveDiscovery/images/titlebar/close.png"),
                                QStringLiteral(":/SensitiveDiscovery/images/titlebar/closeWhite.png"),
                                QStringLiteral(":/SensitiveDiscovery/images/titlebar/closeWhite.png"));

    ui->m_CancelButton->setProperty("useButtonPalette", true);
    ui->m_TemplateCancelButton->setProperty("useButtonPalette", true);
    ui->m_ConfirmButton->setProperty("isImportant", true);
    ui->m_TemplateConfirmButton->setProperty("isImportant", true);

    ui->m_KeywordLineEdit->setFocus(Qt::OtherFocusReason);
    ui->m_KeywordLineEdit->installEventFilter(this);

    m_flowLayout = new FlowLayout(0, 6, 6);
    m_flowLayout->setContentsMargins(0, 0, 0, 16);
    ui->scrollAreaWidgetContents->setLayout(m_flowLayout);

    setFocusProxy(ui->m_KeywordLineEdit);

    fillTemplateTable();

    connect(ui->m_CloseButton, &QPushButton::clicked, this, &QWidget::close);
}

KeywordConfigAllinoneWidget::~KeywordConfigAllinoneWidget()
{
    // The chips, the flow layout, the checklist model and the form's widgets
    // are children of the panel and go with it.
    delete ui;
}

void KeywordConfigAllinoneWidget::centerInParent()
{
    if (QWidget *p = parentWidget()) {
        move((p->width() - 1) / 2 - (width() - 1) / 2, (p->height() - 1) / 2 - (height() - 1) / 2);
        return;
    }
    QScreen *screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect g = screen->geometry();
    move((g.left() + g.right()) / 2 - width() / 2, (g.top() + g.bottom()) / 2 - height() / 2);
}

void KeywordConfigAllinoneWidget::fillTemplateTable()
{
    if (!m_store)
        m_store = KeywordTemplateStore::instance(KeywordTemplateLayout::databasePath());

    m_templateModel = new QStandardItemModel(this);
    m_templateModel->setHorizontalHeaderLabels({QString(), tr("日期"), tr("名称")});

    QTableView *view = ui->m_KeywordTemplateTableView;
    view->setModel(m_templateModel);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setTextElideMode(Qt::ElideRight);
    view->setShowGrid(false);

    new HeaderCheckBox(view, m_templateModel, view);

    view->setColumnWidth(0, 20);
    view->setColumnWidth(1, 130);
    QHeaderView *header = view->horizontalHeader();
    header->setDefaultAlignment(Qt::AlignCenter);
    header->resizeSection(0, 20);
    header->setFixedHeight(30);
    header->setStretchLastSection(true);
    header->setHighlightSections(false);
    header->setSectionsMovable(false);
    header->setSortIndicatorShown(false);
    view->setSortingEnabled(false);
    QHeaderView *rows = view->verticalHeader();
    rows->setVisible(false);
    rows->setMinimumSectionSize(30);
    rows->setDefaultSectionSize(40);

    view->setItemDelegateForColumn(0, new CenterCheckBoxDelegate(view));
    view->setItemDelegate(new NoHoverDelegate(view));

    // A database that exists but cannot be read is said so here, not only
    // in the log: otherwise the tab would just be empty.
    if (!m_store->errorText().isEmpty()) {
        ui->m_KeywordTemplateErrorLabel->setText(tr("无法读取敏感词自查清单数据库：%1").arg(m_store->errorText()));
        ui->m_KeywordTemplateErrorLabel->setVisible(true);
    }

    QMap<QString, QString> templates;
    m_store->templates(templates);
    if (templates.isEmpty())
        return;
    qCDebug(lcConfig) << "敏感词清单个数:" << templates.size();
    for (auto it = templates.cbegin(); it != templates.cend(); ++it) {
        qCDebug(lcConfig) << "敏感词清单:" << it.value() << it.key();
        auto *tick = new QStandardItem;
        tick->setData(int(Qt::Checked), Qt::CheckStateRole);
        tick->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
        m_templateModel->appendRow({tick, new QStandardItem(it.value()), new QStandardItem(it.key())});
    }
}

QStringList KeywordConfigAllinoneWidget::keywords() const
{
    QStringList list;
    const int count = m_flowLayout->count();
    qCDebug(lcConfig) << "------- count = " << count;
    for (int i = 0; i < count; ++i) {
        QLayoutItem *item = m_flowLayout->itemAt(i);
        if (auto *chip = qobject_cast<RemovableButton *>(item ? item->widget() : nullptr)) {
            qCDebug(lcConfig) << "------- text = " << chip->text();
            list.append(chip->text());
        }
    }
    return list;
}

QMap<QString, QString> KeywordConfigAllinoneWidget::selectedTemplates() const
{
    QMap<QString, QString> selected;
    for (int row = 0; row < m_templateModel->rowCount(); ++row) {
        // A value that is no number reads as 0, not ticked.
        if (m_templateModel->index(row, 0).data(Qt::CheckStateRole).toInt() != Qt::Checked)
            continue;
        selected.insert(m_templateModel->index(row, 2).data(Qt::DisplayRole).toString(),
                        m_templateModel->index(row, 1).data(Qt::DisplayRole).toString());
    }
    return selected;
}

QStringList KeywordConfigAllinoneWidget::selectedTemplateKeywords() const
{
    QStringList list;
    m_store->templateKeywords(selectedTemplates(), list);
    return list;
}

void KeywordConfigAllinoneWidget::addKeyword()
{
    const QString text = ui->m_KeywordLineEdit->text();
    if (text.isEmpty())
        return;
    m_flowLayout->addWidget(createKeywordButton(text));
    ui->m_AddKeywordButton->setStyleSheet(QString());
    ui->m_KeywordLineEdit->clear();
}

RemovableButton *KeywordConfigAllinoneWidget::createKeywordButton(const QString &text)
{
    auto *chip = new RemovableButton(this);
    chip->setText(text);
    const QFontMetrics metrics(chip->font());
    chip->setFixedSize(metrics.horizontalAdvance(text) + 52, metrics.height() + 14);
    connect(chip, &QPushButton::clicked, chip, [chip] {
        const QPoint at = chip->mapFromGlobal(QCursor::pos());
        qCDebug(lcConfig).noquote() << QStringLiteral("Clicked at: (%1, %2)").arg(at.x()).arg(at.y())
                           << "with width:" << chip->width() << "height:" << chip->height();
    });
    connect(chip, &QObject::destroyed, [] { qCDebug(lcConfig) << "Button was successfully deleted"; });
    return chip;
}

void KeywordConfigAllinoneWidget::on_m_AddKeywordButton_clicked()
{
    addKeyword();
}

void KeywordConfigAllinoneWidget::on_m_KeywordLineEdit_textEdited(const QString &arg1)
{
    Q_UNUSED(arg1)
    ui->m_AddKeywordButton->setStyleSheet(ui->m_KeywordLineEdit->text().isEmpty()
                                              ? QString()
                                              : QLatin1String(HighlightedAddButtonStyle));
}

bool KeywordConfigAllinoneWidget::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui->m_KeywordLineEdit && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            addKeyword();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void KeywordConfigAllinoneWidget::closeFrom(bool templateTab)
{
    m_templateMode = templateTab;
    close();
}

void KeywordConfigAllinoneWidget::on_m_CancelButton_clicked()
{
    closeFrom(false);
}

void KeywordConfigAllinoneWidget::on_m_ConfirmButton_clicked()
{
    closeFrom(false);
}

void KeywordConfigAllinoneWidget::on_m_TemplateCancelButton_clicked()
{
    closeFrom(true);
}

void KeywordConfigAllinoneWidget::on_m_TemplateConfirmButton_clicked()
{
    closeFrom(true);
}

void KeywordConfigAllinoneWidget::closeEvent(QCloseEvent *event)
{
    if (m_templateMode)
        emit KeywordTemplateConfigured(selectedTemplates());
    else
        emit KeywordConfigured(keywords());
    event->accept();
}

void KeywordConfigAllinoneWidget::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    if (parentWidget())
        dragOffset = event->localPos().toPoint();
    else
        dragOffset = event->globalPos() - frameGeometry().topLeft();
    event->accept();
}

void KeywordConfigAllinoneWidget::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton)) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    if (QWidget *p = parentWidget()) {
        QPoint to = mapToParent(event->pos() - dragOffset);
        to.setX(qMax(0, qMin(to.x(), p->width() - width())));
        to.setY(qMax(0, qMin(to.y(), p->height() - height())));
        move(to);
    } else {
        move(event->globalPos() - dragOffset);
    }
    event->accept();
}
