#pragma once
// Arbitrary-wave and frequency-list files.
//
// User waves (carrier or modulating wave) and frequency lists (the points of
// a list sweep) live in files in three places: the built-in library
// "/usr/share/ArbWaveLib" (read only), the internal storage
// "/run/media/mmcblk0p1" (user files and files received remotely) and a USB
// disk at "/media/usbdisk". ArbWaveData stores files received remotely,
// reads their headers, loads samples into a channel's tables and a
// full-length buffer for the deep wave memory, and loads, edits and saves
// frequency lists. All operations are static; board paths go through
// PlatformRoot.
#include <QFile>
#include <QList>
#include <QString>
#include <QVariant>
#include <functional>
#include "WaveView/arbfile_parse.h"
#include "param/systype.h"

class ArbWaveData {
public:
    ArbWaveData() {}

    static const char* const kLibraryDir; // "/usr/share/ArbWaveLib"
    static const char* const kUserDir;    // "/run/media/mmcblk0p1"
    static const char* const kUsbDir;     // "/media/usbdisk"
    static const char* const kDefaultArb; // the library's ACos.bsv, the fallback wave

    // A name received remotely may only name a file directly in the internal
    // storage: no "/", "\\", "..", NUL or other control character, not
    // empty, a wave's name ending in ".bsv" or ".csv", and short enough that
    // its stored path (below) fits a 128-byte path field of the record.
    static bool ValidRemoteName(const QString& name, const QString& type);

    // Where a received file is kept, the path the record names: a wave
    // (type "Base" or "Mod") as "/run/media/mmcblk0p1/<name>", so that the
    // channel plays it again after a power cycle and the file browser shows
    // it under the user's name; a list as
    // "/run/media/mmcblk0p1/CH<ch+1>_List_<name>".
    static QString ReceivedPath(int ch, const QString& type, const QString& name);
    // Removes what a save cut short (a power cut between writing and
    // renaming) left in the internal storage: the hidden ".<name>.part"
    // files. Called once at start-up, before anything saves.
    static void RemovePartialSaves();

    enum SaveResult {
        SaveOk = 0,
        SaveBadName,   // refused name, channel or type: nothing written
        SaveBadHeader, // the data is no wave or list file: nothing written
        SaveFailed,    // the storage took no copy (full, read-only): the old file stays
    };
    // Stores a received file at ReceivedPath. The header is checked on the
    // bytes before anything is written; the bytes go to a temporary file
    // that replaces the old one only once it is wholly on the medium, so a
    // full storage or a power cut leaves the previous file as it was.
    // Returns the board path, or "" on failure (*result says why).
    static QString SaveDataToFile(int ch, QString name, QString type, const char* data, size_t length,
                                  SaveResult* result = nullptr);
    // The checks SaveDataToFile makes before it writes anything: SaveOk when
    // the name, channel and header are good (a bsv carrying exactly its
    // points), else why not.
    static SaveResult CheckReceived(int ch, const QString& name, const QString& type, const char* data, size_t length);

    // Reads an arbitrary-wave header; on success the file position is the
    // first data byte.
    static bool LoadArbHead(QFile& file, ArbParam& param);
    // Loads the samples after the header (suffix "bsv" or "csv") scaled to
    // -32767..+32767. table8192 / table2048 (null to skip) receive the wave
    // resampled to that length; with table8192 the full-length buffer
    // (malloc'd, param.TotalPointNum samples) replaces *full, whose old
    // buffer is freed. param.TotalPointNum becomes the points actually
    // loaded (a truncated file loads what it holds). 0 success, -1 failure.
    // The file's data is mapped, not copied, and handed to LoadArbBytes.
    static int LoadArbData(QFile& file, QString suffix, short** full, short* table8192, short* table2048,
                           ArbParam& param);
    // Per cent done of a long load (0..100), called at most about 50 times.
    typedef std::function<void(int percent)> Progress;
    // The same on data already in memory (data: the bytes after the
    // header), e.g. a wave just received: nothing is read back from a file.
    static int LoadArbBytes(const char* data, size_t length, QString suffix, short** full, short* table8192,
                            short* table2048, ArbParam& param, const Progress& progress = Progress());
    // Reads a wave header from bytes in memory; *dataOffset is the first data byte.
    static bool ParseArbHead(const char* data, size_t length, ArbParam& param, size_t* dataOffset);

    // Frequency lists.
    static bool LoadFreqListHead(QFile& file, FreqListParam& param);
    // Reads the list values after the header into the channel's List
    // (clamped to the channel's frequency range, at least 1e-6 Hz).
    static int LoadListData(CH_ID ch, QFile& file);
    // The frequency range of the channel's base wave, which bounds a list's
    // entries. The channel characteristics sit above this layer, so the
    // controller installs the source at start-up; without one the entries
    // are bounded below only.
    typedef void (*ListRangeSource)(CH_ID ch, double* lo, double* hi);
    static void SetListRangeSource(ListRangeSource source);

    // List editing on the channel's List / ListLen and a parallel list of
    // display texts.
    static void LoadList(CH_ID ch, QList<QVariant>& list);
    static int ChangeList(CH_ID ch, QList<QVariant>& list, int index, double value);
    static int AppendOneList(CH_ID ch, QList<QVariant>& list, int index);
    static int DeleteOneList(CH_ID ch, QList<QVariant>& list, int index);
    static int ExchangeOneList(CH_ID ch, QList<QVariant>& list, int i, int j);
    // Board paths.
    static int SaveList(CH_ID ch, QString path);
    static bool createCsvListFile(QString path);

    // The display text of a list frequency.
    static QString listText(double hz);
};
