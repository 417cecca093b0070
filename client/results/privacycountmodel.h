// The privacy scan's running totals: one count per category.
#ifndef PRIVACYCOUNTMODEL_H
#define PRIVACYCOUNTMODEL_H

#include <QAbstractListModel>
#include <QStringList>
#include <QVector>

// One row per privacy category, in display order (PiiCategories::names()):
// the category's name and its running count of hits. The counts are the
// store; the category tiles only show them.
class PrivacyCountModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role {
        NameRole = Qt::DisplayRole,
        CountRole = Qt::UserRole + 1,
    };

    explicit PrivacyCountModel(QObject *parent = nullptr);
    ~PrivacyCountModel() override;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    QStringList categories() const { return m_names; }
    // The category's count; 0 for a name that is not a category.
    int count(const QString &category) const;
    // Adds to a category's count, held within int; an unknown category is
    // ignored.
    void add(const QString &category, int hits);
    // Every count back to 0.
    void reset();
    // The sum of the counts, held within 0 and int's maximum.
    int total() const;

private:
    const QStringList m_names;
    QVector<int> m_counts;
};

#endif // PRIVACYCOUNTMODEL_H
