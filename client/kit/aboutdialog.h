#pragma once

#include "roundeddialog.h"

#include <QIcon>

class QLabel;

namespace mvk {

// The "About" window: the application's icon, name, version and a short
// description, centred on the kit's rounded panel.
class AboutDialog : public RoundedDialog
{
    Q_OBJECT
    Q_PROPERTY(QString appName READ appName WRITE setAppName)
    Q_PROPERTY(QString appVersion READ appVersion WRITE setAppVersion)
    Q_PROPERTY(QString description READ description WRITE setDescription)

public:
    static constexpr int IconSize = 96;

    explicit AboutDialog(QWidget *parent = nullptr);
    AboutDialog(QWidget *parent, const QIcon &icon, const QString &appName, const QString &appVersion,
                const QString &description);
    AboutDialog(const QIcon &icon, const QString &appName, const QString &appVersion, const QString &description,
                QWidget *parent = nullptr);

    void setAppIcon(const QIcon &icon);
    QIcon appIcon() const;

    void setAppName(const QString &name);
    QString appName() const;

    void setAppVersion(const QString &version);
    QString appVersion() const;

    void setDescription(const QString &description);
    QString description() const;

private:
    void build();

    QIcon m_icon;
    QLabel *m_iconLabel = nullptr;
    QLabel *m_nameLabel = nullptr;
    QLabel *m_versionLabel = nullptr;
    QLabel *m_descriptionLabel = nullptr;
};

} // namespace mvk
