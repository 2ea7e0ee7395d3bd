#pragma once
// Loading arbitrary-wave and frequency-list files into a channel, the
// messages about files the record names that are gone, and the translated
// library folders the file browser shows. Owned by the controller; its state
// belongs to the controller's thread.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <cstddef>
#include "param/global.h"

class Ornav72;

class ArbFiles {
public:
    explicit ArbFiles(Ornav72& owner) : o(owner) {}
    ArbFiles(const ArbFiles&) = delete;
    ArbFiles& operator=(const ArbFiles&) = delete;

    void chUpdateArbMem(int ch, QString arbfile, bool base, bool exe, bool tempfile);
    void chUpdateListMem(int ch, QString file, bool exe, bool tempfile);
    // A wave just received and stored as path: loaded from the bytes held
    // (the whole file, header first), without reading the file back.
    void chLoadArbBytes(int ch, QString path, QByteArray bytes, bool base, bool exe);
    // A file the record names is gone: error -256 on the error list and a
    // message on the screen (kept until the screens are up at start-up).
    void reportMissingFile(const QString& path);
    // The messages kept for the screens, handed out once.
    QStringList takePendingTips();
    // Links the library folders into "/media/ram" under their shown names
    // (pairs [folder, shown name]).
    void SetArbDir(const QVariantList& list);

private:
    // Loads a wave file's bytes into channel ch (carrier or modulating wave),
    // showing the loading message with its progress when it takes long.
    bool loadArbInto(CH_ID ch, const QString& path, const char* data, size_t length, bool base, bool exe);

    Ornav72& o;
    // Missing-file messages waiting for the screens.
    QStringList pendingFileTips;
};
