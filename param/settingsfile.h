#pragma once
// The settings file "/home/root/settings.ini": an INI file without sections.
// Every access opens it anew and closes it, so each write reaches the file at
// once (the board may lose power at any moment), and always whole.
#include <QString>
#include <QVariant>

class SettingsFile {
public:
    static const char* kPath;
    static QVariant value(const QString& key, const QVariant& def = QVariant());
    // False when the file could not be written (full or read-only disk);
    // the old file is then left as it was.
    static bool setValue(const QString& key, const QVariant& value);
    static bool contains(const QString& key);
    // Removes the key; false when the file could not be written.
    static bool remove(const QString& key);
};
