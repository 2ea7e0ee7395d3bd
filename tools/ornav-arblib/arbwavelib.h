#pragma once
// The instrument's built-in arbitrary-wave library, computed: thirteen
// folders of mathematically defined waveforms, each an arbitrary-wave file
// in the bsv format (text header, then 16-bit little-endian samples scaled
// to -32767..+32767). The program only reads it, at "/usr/share/ArbWaveLib".
#include <string>
#include <vector>

namespace arbwavelib {

struct Wave {
    std::string folder; // e.g. "AntiTrigonome"
    std::string name;   // file name without ".bsv", e.g. "ACos"
    std::string what;   // one line on what it is
};

// Every wave of the library, folder by folder.
const std::vector<Wave>& catalogue();
// The folder names, in the order the screens list them.
const std::vector<std::string>& folders();
// The bytes of one wave's bsv file (empty for an unknown wave).
std::vector<unsigned char> fileBytes(const Wave& w);
// Writes the whole library below dir (dir/<folder>/<name>.bsv), replacing
// files that differ. Returns the number of files written or kept, -1 on a
// write failure (message in *error).
int writeLibrary(const std::string& dir, std::string* error);

} // namespace arbwavelib
