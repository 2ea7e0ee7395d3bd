#include "param/settingsfile.h"
#include "platform/atomicfile.h"
#include "platform/platformroot.h"
#include <QSettings>
#include <functional>
#include <mutex>

const char* SettingsFile::kPath = "/home/root/settings.ini";

namespace {

// Every access of any thread (the controller, the LAN services thread, the
// web server) goes through this lock: the read-modify-write of a change is
// never interleaved with another, and the settings objects' shared cache is
// only used under one lock the sanitizer can see.
std::mutex g_settingsMutex;

// Applies one change to the file and writes it whole. The settings object
// writes a temporary file, flushes it and renames it over the old one (never
// writing in place); the rename reaches the medium with the folder.
bool change(const QString& key, const std::function<void(QSettings&)>& apply)
{
    const QString file = PlatformRoot::path(SettingsFile::kPath);
    std::lock_guard<std::mutex> lock(g_settingsMutex);
    QSettings s(file, QSettings::IniFormat);
    s.setAtomicSyncRequired(true);
    apply(s);
    s.sync();
    if (s.status() != QSettings::NoError) {
        qWarning("can't write %s (key %s)", SettingsFile::kPath, qPrintable(key));
        return false;
    }
    AtomicFile::syncFolderOf(file);
    return true;
}

} // namespace

QVariant SettingsFile::value(const QString& key, const QVariant& def)
{
    std::lock_guard<std::mutex> lock(g_settingsMutex);
    QSettings s(PlatformRoot::path(kPath), QSettings::IniFormat);
    return s.value(key, def);
}

bool SettingsFile::setValue(const QString& key, const QVariant& value)
{
    return change(key, [&](QSettings& s) { s.setValue(key, value); });
}

bool SettingsFile::contains(const QString& key)
{
    std::lock_guard<std::mutex> lock(g_settingsMutex);
    QSettings s(PlatformRoot::path(kPath), QSettings::IniFormat);
    return s.contains(key);
}

bool SettingsFile::remove(const QString& key)
{
    if (!contains(key))
        return true;
    return change(key, [&](QSettings& s) { s.remove(key); });
}
