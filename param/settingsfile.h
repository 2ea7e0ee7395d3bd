#pragma once
// The settings file "/home/root/settings.ini": an INI file without sections.
// Every access opens it anew and closes it, so each write reaches the file at
// once (the board may lose power at any moment).
#include <QString>
#include <QVariant>

class SettingsFile {
public:
    static const char* kPath;
    static QVariant value(const QString& key, const QVariant& def = QVariant());
    static void setValue(const QString& key, const QVariant& value);
    static bool contains(const QString& key);
};
