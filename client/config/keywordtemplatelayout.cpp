#include "keywordtemplatelayout.h"

namespace {
const char *const DatabaseDirectory = "/opt/tavex-control-discovery/db/";
const char *const DatabaseFileName = "tavex.kwtemplate.db";
} // namespace

QString KeywordTemplateLayout::databasePath()
{
    static const QString path = QLatin1String(DatabaseDirectory) + QLatin1String(DatabaseFileName);
    return path;
}
