#ifndef KEYWORDCONFIGALLINONEWIDGET_H
#define KEYWORDCONFIGALLINONEWIDGET_H

#include <QList>
#include <QMap>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace Ui {
class KeywordConfigAllinoneWidget;
}

class FlowLayout;
class KeywordTemplateStore;
class QStandardItemModel;
class RemovableButton;

// The keyword configuration panel: a frameless child of the main window with
// two tabs, typed keywords (chips) and imported keyword checklists (a table
// of ticks). The panel holds no state beyond its widgets. Each close reports
// the content of the tab it was last closed from: KeywordConfigured with the
// typed keywords, or KeywordTemplateConfigured with the ticked checklists.
class KeywordConfigAllinoneWidget : public QWidget
{
    Q_OBJECT

public:
    // `store` is the checklist store to list and read; null means the
    // process-wide store over the product's checklist database.
    explicit KeywordConfigAllinoneWidget(QWidget *parent = nullptr, KeywordTemplateStore *store = nullptr);
    ~KeywordConfigAllinoneWidget() override;

    // The texts of the chips, in layout order, duplicates included.
    QStringList keywords() const;
    // Name -> imported time of the ticked checklists.
    QMap<QString, QString> selectedTemplates() const;
    // The decrypted keywords of the ticked checklists, by checklist name.
    QStringList selectedTemplateKeywords() const;
    // True when the panel was last closed from the checklist tab's buttons,
    // false when from the keyword tab's (and before either).
    bool templateMode() const { return m_templateMode; }

Q_SIGNALS:
    void KeywordConfigured(QList<QString> keywords);
    void KeywordTemplateConfigured(QMap<QString, QString> templates);

private Q_SLOTS:
    void on_m_CancelButton_clicked();
    void on_m_ConfirmButton_clicked();
    void on_m_AddKeywordButton_clicked();
    void on_m_KeywordLineEdit_textEdited(const QString &arg1);
    void on_m_TemplateCancelButton_clicked();
    void on_m_TemplateConfirmButton_clicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void centerInParent();
    void addKeyword();
    RemovableButton *createKeywordButton(const QString &text);
    void fillTemplateTable();
    void closeFrom(bool templateTab);

    Ui::KeywordConfigAllinoneWidget *ui;
    QPoint dragOffset;
    bool m_templateMode = false;
    FlowLayout *m_flowLayout = nullptr;
    QStandardItemModel *m_templateModel = nullptr;
    KeywordTemplateStore *m_store = nullptr;
};

#endif // KEYWORDCONFIGALLINONEWIDGET_H
