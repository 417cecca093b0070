#include "keywordtemplatelayout.h"

namespace {
const char *const DatabaseDirectory = "/opt/tavex-control-discovery/db/";
const char *const DatabaseFileName = "tavex.kwtemplate.db";

QString &chosenPath()
{
    static QString path;
    return path;
}
} // namespace

QString KeywordTemplateLayout::productDatabasePath()
{
    static const QString path = QLatin1String(DatabaseDirectory) + QLatin1String(DatabaseFileName);
    return path;
}

QString KeywordTemplateLayout::databasePath()
{
    return chosenPath();
}

void KeywordTemplateLayout::useDatabasePath(const QString &path)
{
    chosenPath() = path;
}
