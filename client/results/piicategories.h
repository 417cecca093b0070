#ifndef PIICATEGORIES_H
#define PIICATEGORIES_H

#include <QList>
#include <QString>
#include <QStringList>

// The fourteen privacy categories in their two groups of seven, in display
// order. A category's name is its tile's text and the key under which the
// scan service reports it; it is never translated. The group titles are
// translated in the MainWindow context (QCoreApplication::translate or the
// main window's tr()).
namespace PiiCategories {

struct Category
{
    QString name;
    QString iconPath;
};

struct Group
{
    const char *title; // source text, context "MainWindow"
    QString iconPath;
    QList<Category> categories;
};

// "隐私信息" then "疑似隐私信息".
const QList<Group> &groups();

// The fourteen names in display order.
QStringList names();

// The translated group title.
QString translatedTitle(const Group &group);

} // namespace PiiCategories

#endif // PIICATEGORIES_H
