// The privacy categories' and rules' names in the user's language.
#ifndef PIICATEGORYNAMES_H
#define PIICATEGORYNAMES_H

#include <QString>
#include <QStringList>

// The scan service names every privacy category and rule in Chinese, and
// those names stay the keys on the bus, in the count maps and in the detail
// documents. Only what the user reads is translated, through this one table
// (context "PiiCategoryNames" of the interface catalogues).
namespace PiiCategoryNames {

// The name to show for a category or rule key; a key the table does not
// know (a rule added to the service later) is shown as it came.
QString displayName(const QString &key);

// Every key the table knows: the fourteen categories, then the rules.
QStringList keys();

} // namespace PiiCategoryNames

#endif // PIICATEGORYNAMES_H
