#pragma once
// Replaces a file on the internal storage so that a crash or a power cut at
// any moment leaves either the old or the new contents, never a truncated
// file: the bytes go to "<file>.tmp" beside it, are flushed to the medium,
// the temporary file is renamed over the old one and the folder is flushed
// so the rename itself survives. A full or read-only disk fails the write,
// removes the temporary file and leaves the old file as it was.
#include <QByteArray>
#include <QString>
#include <functional>

namespace AtomicFile {

// The steps of a replacement, in order. The step hook is called before each
// one; a hook that returns false stops the write right there, as if the
// power had gone (nothing is cleaned up). Tests use it to leave every
// intermediate state on disk; it is empty in the program.
enum Step { OpenTemp, WriteChunk, SyncTemp, Rename, SyncFolder };
using StepHook = std::function<bool(Step step, qint64 bytesWritten)>;
void setStepHook(StepHook hook);

// Host path of the temporary file used for target.
QString tempPath(const QString& target);

// Writes data to target (a host path) by the steps above. False, with the
// reason in *error when given, when any step failed.
bool write(const QString& target, const QByteArray& data, QString* error = nullptr);

// Flushes the folder holding path (a host path) so that a rename or a new
// file in it is on the medium. False when the folder can't be opened or
// flushed.
bool syncFolderOf(const QString& path);

} // namespace AtomicFile
