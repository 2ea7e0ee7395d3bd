#include "param/settingsfile.h"
#include "platform/platformroot.h"
#include <QSettings>

const char* SettingsFile::kPath = "/home/root/settings.ini";

QVariant SettingsFile::value(const QString& key, const QVariant& def)
{
    QSettings s(PlatformRoot::path(kPath), QSettings::IniFormat);
    return s.value(key, def);
}

void SettingsFile::setValue(const QString& key, const QVariant& value)
{
    QSettings s(PlatformRoot::path(kPath), QSettings::IniFormat);
    s.setValue(key, value);
    s.sync();
}

bool SettingsFile::contains(const QString& key)
{
    QSettings s(PlatformRoot::path(kPath), QSettings::IniFormat);
    return s.contains(key);
}
