// scpi-doc: writes the command reference generated from the command table.
//   scpi-doc [FILE]     (default: standard output)
#include <cstdio>
#include <string>
#include "communication/SCPI/commands/scpi_doc.h"

int main(int argc, char** argv)
{
    const std::string text = scpi_command_reference();
    FILE* f = argc > 1 ? std::fopen(argv[1], "wb") : stdout;
    if (!f) {
        std::perror(argv[1]);
        return 1;
    }
    const bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    if (f != stdout)
        std::fclose(f);
    return ok ? 0 : 1;
}
