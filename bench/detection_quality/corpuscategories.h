// The names of the privacy categories the service reports, as the corpora
// label their items.
#ifndef CORPUSCATEGORIES_H
#define CORPUSCATEGORIES_H

#include <QString>

namespace CorpusCategories {

inline const QString Identity = QStringLiteral("身份标识");
inline const QString Religion = QStringLiteral("宗教信仰");
inline const QString Medical = QStringLiteral("医疗健康");
inline const QString Account = QStringLiteral("账户信息");
inline const QString Travel = QStringLiteral("行踪轨迹");
inline const QString Minor = QStringLiteral("未成年人信息");
inline const QString Legal = QStringLiteral("法规隐私");
inline const QString Location = QStringLiteral("地理位置");
inline const QString Relations = QStringLiteral("社会关系");
inline const QString Device = QStringLiteral("设备信息");
inline const QString Physical = QStringLiteral("健康生理");
inline const QString Career = QStringLiteral("职业教育");
inline const QString Special = QStringLiteral("特殊群体");
inline const QString Finance = QStringLiteral("金融消费");

} // namespace CorpusCategories

#endif // CORPUSCATEGORIES_H
