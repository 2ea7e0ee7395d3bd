#include "param/settingsfile.h"
#include "platform/atomicfile.h"
#include "platform/platformroot.h"
#include <QSettings>

const char* SettingsFile::kPath = "/home/root/settings.ini";

QVariant SettingsFile::value(const QString& key, const QVariant& def)
{
    QSettings s(PlatformRoot::path(kPath), QSettings::IniFormat);
    return s.value(key, def);
}

bool SettingsFile::setValue(const QString& key, const QVariant& value)
{
    const QString file = PlatformRoot::path(kPath);
    QSettings s(file, QSettings::IniFormat);
    // The settings object writes a temporary file, flushes it and renames it
    // over the old one (never writing in place); the rename reaches the
    // medium with the folder.
    s.setAtomicSyncRequired(true);
    s.setValue(key, value);
    s.sync();
    if (s.status() != QSettings::NoError) {
        qWarning("can't write %s (key %s)", kPath, qPrintable(key));
        return false;
    }
    AtomicFile::syncFolderOf(file);
    return true;
}

bool SettingsFile::contains(const QString& key)
{
    QSettings s(PlatformRoot::path(kPath), QSettings::IniFormat);
    return s.contains(key);
}

bool SettingsFile::remove(const QString& key)
{
    const QString file = PlatformRoot::path(kPath);
    QSettings s(file, QSettings::IniFormat);
    if (!s.contains(key))
        return true;
    s.setAtomicSyncRequired(true);
    s.remove(key);
    s.sync();
    if (s.status() != QSettings::NoError) {
        qWarning("can't write %s (key %s)", kPath, qPrintable(key));
        return false;
    }
    AtomicFile::syncFolderOf(file);
    return true;
}
