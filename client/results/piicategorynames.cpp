// The display names of the privacy categories and rules.
#include "piicategorynames.h"

#include <QCoreApplication>

namespace PiiCategoryNames {

namespace {

const char *const Context = "PiiCategoryNames";

// The categories, in the order of their tiles.
const char *const Categories[] = {
    QT_TRANSLATE_NOOP("PiiCategoryNames", "身份标识"), QT_TRANSLATE_NOOP("PiiCategoryNames", "宗教信仰"),
    QT_TRANSLATE_NOOP("PiiCategoryNames", "医疗健康"), QT_TRANSLATE_NOOP("PiiCategoryNames", "账户信息"),
    QT_TRANSLATE_NOOP("PiiCategoryNames", "行踪轨迹"), QT_TRANSLATE_NOOP("PiiCategoryNames", "未成年人信息"),
    QT_TRANSLATE_NOOP("PiiCategoryNames", "法规隐私"), QT_TRANSLATE_NOOP("PiiCategoryNames", "地理位置"),
    QT_TRANSLATE_NOOP("PiiCategoryNames", "社会关系"), QT_TRANSLATE_NOOP("PiiCategoryNames", "设备信息"),
    QT_TRANSLATE_NOOP("PiiCategoryNames", "健康生理"), QT_TRANSLATE_NOOP("PiiCategoryNames", "职业教育"),
    QT_TRANSLATE_NOOP("PiiCategoryNames", "特殊群体"), QT_TRANSLATE_NOOP("PiiCategoryNames", "金融消费"),
};

// The service's rules, in the order of its rule file.
const char *const Rules[] = {
    QT_TRANSLATE_NOOP("PiiCategoryNames", "居民身份证号"), QT_TRANSLATE_NOOP("PiiCategoryNames", "手机号码"),
    QT_TRANSLATE_NOOP("PiiCategoryNames", "固定电话号码"), QT_TRANSLATE_NOOP("PiiCategoryNames", "电子邮箱地址"),
    QT_TRANSLATE_NOOP("PiiCategoryNames", "护照号码"), QT_TRANSLATE_NOOP("PiiCategoryNames", "港澳通行证号码"),
    QT_TRANSLATE_NOOP("PiiCategoryNames", "台湾通行证号码"), QT_TRANSLATE_NOOP("PiiCategoryNames", "统一社会信用代码"),
    QT_TRANSLATE_NOOP("PiiCategoryNames", "姓名"), QT_TRANSLATE_NOOP("PiiCategoryNames", "车牌号码"),
    QT_TRANSLATE_NOOP("PiiCategoryNames", "宗教身份"), QT_TRANSLATE_NOOP("PiiCategoryNames", "宗教活动"),
    QT_TRANSLATE_NOOP("PiiCategoryNames", "疾病诊断"), QT_TRANSLATE_NOOP("PiiCategoryNames", "用药信息"),
    QT_TRANSLATE_NOOP("PiiCategoryNames", "检验检查报告"), QT_TRANSLATE_NOOP("PiiCategoryNames", "病历号"),
    QT_TRANSLATE_NOOP("PiiCategoryNames", "银行卡号"), QT_TRANSLATE_NOOP("PiiCategoryNames", "账号密码"),
    QT_TRANSLATE_NOOP("PiiCategoryNames", "社交账号"), QT_TRANSLATE_NOOP("PiiCategoryNames", "航班出行记录"),
    QT_TRANSLATE_NOOP("PiiCategoryNames", "火车出行记录"), QT_TRANSLATE_NOOP("PiiCategoryNames", "住宿记录"),
    QT_TRANSLATE_NOOP("PiiCategoryNames", "打卡签到记录"), QT_TRANSLATE_NOOP("PiiCategoryNames", "未满十四周岁者身份证号"),
    QT_TRANSLATE_NOOP("PiiCategoryNames", "儿童年龄"), QT_TRANSLATE_NOOP("PiiCategoryNames", "在读学段"),
    QT_TRANSLATE_NOOP("PiiCategoryNames", "犯罪记录"), QT_TRANSLATE_NOOP("PiiCategoryNames", "生物识别信息"),
    QT_TRANSLATE_NOOP("PiiCategoryNames", "性取向"), QT_TRANSLATE_NOOP("PiiCategoryNames", "经纬度坐标"),
    QT_TRANSLATE_NOOP("PiiCategoryNames", "详细地址"), QT_TRANSLATE_NOOP("PiiCategoryNames", "家庭成员"),
    QT_TRANSLATE_NOOP("PiiCategoryNames", "紧急联系人"), QT_TRANSLATE_NOOP("PiiCategoryNames", "亲属关系"),
    QT_TRANSLATE_NOOP("PiiCategoryNames", "婚姻状况"), QT_TRANSLATE_NOOP("PiiCategoryNames", "设备识别码IMEI"),
    QT_TRANSLATE_NOOP("PiiCategoryNames", "MAC地址"), QT_TRANSLATE_NOOP("PiiCategoryNames", "IP地址"),
    QT_TRANSLATE_NOOP("PiiCategoryNames", "设备序列号"), QT_TRANSLATE_NOOP("PiiCategoryNames", "身高体重"),
    QT_TRANSLATE_NOOP("PiiCategoryNames", "血压心率"), QT_TRANSLATE_NOOP("PiiCategoryNames", "血型"),
    QT_TRANSLATE_NOOP("PiiCategoryNames", "生理状况"), QT_TRANSLATE_NOOP("PiiCategoryNames", "学历学位"),
    QT_TRANSLATE_NOOP("PiiCategoryNames", "职业职务"), QT_TRANSLATE_NOOP("PiiCategoryNames", "工作岗位"),
    QT_TRANSLATE_NOOP("PiiCategoryNames", "毕业院校"), QT_TRANSLATE_NOOP("PiiCategoryNames", "学号工号"),
    QT_TRANSLATE_NOOP("PiiCategoryNames", "残疾人证号"), QT_TRANSLATE_NOOP("PiiCategoryNames", "特殊群体身份"),
    QT_TRANSLATE_NOOP("PiiCategoryNames", "收入薪资"), QT_TRANSLATE_NOOP("PiiCategoryNames", "存款资产"),
    QT_TRANSLATE_NOOP("PiiCategoryNames", "信贷征信"), QT_TRANSLATE_NOOP("PiiCategoryNames", "交易消费记录"),
};

} // namespace

QString displayName(const QString &key)
{
    const QByteArray source = key.toUtf8();
    return QCoreApplication::translate(Context, source.constData());
}

QStringList keys()
{
    QStringList all;
    for (const char *name : Categories)
        all << QString::fromUtf8(name);
    for (const char *name : Rules)
        all << QString::fromUtf8(name);
    return all;
}

} // namespace PiiCategoryNames
