#include "piicategories.h"

#include <QCoreApplication>

namespace PiiCategories {

namespace {

const QString IconDir = QStringLiteral(":/SensitiveDiscovery/images/scan/pii/scanitem/");

Category category(const char *name)
{
    const QString n = QString::fromUtf8(name);
    return {n, IconDir + QStringLiteral("qovo-") + n + QStringLiteral("-symbolic@1x.png")};
}

QList<Group> buildGroups()
{
    return {
        {QT_TRANSLATE_NOOP("MainWindow", "隐私信息"), IconDir + QStringLiteral("隐私信息@1x.png"),
         {category("身份标识"), category("宗教信仰"), category("医疗健康"), category("账户信息"),
          category("行踪轨迹"), category("未成年人信息"), category("法规隐私")}},
        {QT_TRANSLATE_NOOP("MainWindow", "疑似隐私信息"), IconDir + QStringLiteral("疑似隐私信息@1x.png"),
         {category("地理位置"), category("社会关系"), category("设备信息"), category("健康生理"),
          category("职业教育"), category("特殊群体"), category("金融消费")}},
    };
}

} // namespace

const QList<Group> &groups()
{
    static const QList<Group> table = buildGroups();
    return table;
}

QStringList names()
{
    QStringList list;
    for (const Group &group : groups()) {
        for (const Category &c : group.categories)
            list.append(c.name);
    }
    return list;
}

QString translatedTitle(const Group &group)
{
    return QCoreApplication::translate("MainWindow", group.title);
}

} // namespace PiiCategories
