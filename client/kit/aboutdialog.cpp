#include "aboutdialog.h"

#include <QLabel>
#include <QVBoxLayout>

namespace mvk {

AboutDialog::AboutDialog(QWidget *parent)
    : RoundedDialog(parent)
{
    build();
}

AboutDialog::AboutDialog(QWidget *parent, const QIcon &icon, const QString &appName, const QString &appVersion,
                         const QString &description)
    : AboutDialog(parent)
{
    setAppIcon(icon);
    setAppName(appName);
    setAppVersion(appVersion);
    setDescription(description);
}

AboutDialog::AboutDialog(const QIcon &icon, const QString &appName, const QString &appVersion,
                         const QString &description, QWidget *parent)
    : AboutDialog(parent, icon, appName, appVersion, description)
{
}

void AboutDialog::build()
{
    setFixedWidth(420);
    setWindowTitle(tr("关于"));

    QVBoxLayout *content = contentLayout();
    content->setContentsMargins(32, 0, 32, 32);
    content->setSpacing(8);

    m_iconLabel = new QLabel(this);
    m_iconLabel->setObjectName(QStringLiteral("appIconLabel"));
    m_iconLabel->setFixedSize(IconSize, IconSize);
    m_iconLabel->setAlignment(Qt::AlignCenter);
    m_iconLabel->setVisible(false);
    content->addWidget(m_iconLabel, 0, Qt::AlignHCenter);
    content->addSpacing(8);

    m_nameLabel = new QLabel(this);
    m_nameLabel->setObjectName(QStringLiteral("appNameLabel"));
    m_nameLabel->setAlignment(Qt::AlignCenter);
    m_nameLabel->setWordWrap(true);
    m_nameLabel->setStyleSheet(QStringLiteral("QLabel { color: #1f2329; font-size: 18px; font-weight: bold; }"));
    content->addWidget(m_nameLabel);

    m_versionLabel = new QLabel(this);
    m_versionLabel->setObjectName(QStringLiteral("appVersionLabel"));
    m_versionLabel->setAlignment(Qt::AlignCenter);
    m_versionLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_versionLabel->setStyleSheet(QStringLiteral("QLabel { color: #646a73; font-size: 14px; }"));
    content->addWidget(m_versionLabel);
    content->addSpacing(8);

    m_descriptionLabel = new QLabel(this);
    m_descriptionLabel->setObjectName(QStringLiteral("descriptionLabel"));
    m_descriptionLabel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_descriptionLabel->setWordWrap(true);
    m_descriptionLabel->setStyleSheet(QStringLiteral("QLabel { color: #646a73; font-size: 14px; }"));
    content->addWidget(m_descriptionLabel);
    content->addStretch(1);

    // Empty fields take no room until they are set.
    m_nameLabel->setVisible(false);
    m_versionLabel->setVisible(false);
    m_descriptionLabel->setVisible(false);
}

void AboutDialog::setAppIcon(const QIcon &icon)
{
    m_icon = icon;
    m_iconLabel->setPixmap(icon.isNull() ? QPixmap() : icon.pixmap(QSize(IconSize, IconSize)));
    m_iconLabel->setVisible(!icon.isNull());
    setWindowIcon(icon);
}

QIcon AboutDialog::appIcon() const
{
    return m_icon;
}

void AboutDialog::setAppName(const QString &name)
{
    m_nameLabel->setText(name);
    m_nameLabel->setVisible(!name.isEmpty());
    setWindowTitle(name.isEmpty() ? tr("关于") : tr("关于 %1").arg(name));
}

QString AboutDialog::appName() const
{
    return m_nameLabel->text();
}

void AboutDialog::setAppVersion(const QString &version)
{
    m_versionLabel->setText(version);
    m_versionLabel->setVisible(!version.isEmpty());
}

QString AboutDialog::appVersion() const
{
    return m_versionLabel->text();
}

void AboutDialog::setDescription(const QString &description)
{
    m_descriptionLabel->setText(description);
    m_descriptionLabel->setVisible(!description.isEmpty());
}

QString AboutDialog::description() const
{
    return m_descriptionLabel->text();
}

} // namespace mvk
