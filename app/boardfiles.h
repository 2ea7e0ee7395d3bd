#pragma once
// File and folder operations of the file browser and the library links,
// done with the file API (no shell). Paths here are host paths unless the
// name says board path; symbolic links are removed, never followed, when a
// tree is deleted or copied.
#include <QString>

namespace boardfiles {

// The storage places of the file browser.
enum Place { PlaceNone = -1, PlaceLibrary = 0, PlaceUser = 1, PlaceUsb = 2 };

// A board path as the browser gives it ("file://" removed, cleaned).
QString fromUrl(const QString& path);
// Where a board path really lies once links are resolved (the library links
// in "/media/ram" lead into the library); PlaceNone outside the three places.
Place placeOf(const QString& boardPath);
// A path the browser may change: inside the internal storage or the USB disk.
bool writable(const QString& boardPath);
// A single file or folder name: not empty, no "/", "\\", "..", control characters.
bool plainName(const QString& name);

// Removes everything inside a folder (links themselves, not their targets);
// true when it is empty afterwards or did not exist.
bool clearFolder(const QString& hostDir);
// Removes a folder and everything in it (links are removed, not followed).
bool removeTree(const QString& hostDir);
// Copies a folder's contents into another (created when missing); with
// cover, existing files are replaced, else kept. Links are not copied.
bool copyTree(const QString& hostFrom, const QString& hostTo, bool cover);
// Copies one file; with cover an existing target is replaced.
bool copyFile(const QString& hostFrom, const QString& hostTo, bool cover);

} // namespace boardfiles
