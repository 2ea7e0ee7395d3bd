// ornav-arblib: computes the built-in arbitrary-wave library.
//
//   ornav-arblib DIR      write DIR/<folder>/<name>.bsv for every wave
//   ornav-arblib --list   print the library as "folder/name.bsv  what it is"
#include <cstdio>
#include <cstring>
#include <string>
#include "tools/ornav-arblib/arbwavelib.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: ornav-arblib DIR | --list\n");
        return 2;
    }
    if (std::strcmp(argv[1], "--list") == 0) {
        for (const arbwavelib::Wave& w : arbwavelib::catalogue())
            std::printf("%s/%s.bsv  %s\n", w.folder.c_str(), w.name.c_str(), w.what.c_str());
        return 0;
    }
    std::string error;
    const int n = arbwavelib::writeLibrary(argv[1], &error);
    if (n < 0) {
        std::fprintf(stderr, "ornav-arblib: %s\n", error.c_str());
        return 1;
    }
    std::printf("%d waves in %s\n", n, argv[1]);
    return 0;
}
