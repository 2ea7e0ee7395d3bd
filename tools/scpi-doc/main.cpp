// scpi-doc: writes the command reference generated from the command table.
//   scpi-doc [FILE]            the command reference (default: standard output)
//   scpi-doc --python [FILE]   the property table of the Python driver
//   scpi-doc --rows [FILE]     every record of the table as JSON (for the soak)
#include <cstdio>
#include <cstring>
#include <string>
#include "communication/SCPI/commands/scpi_doc.h"
#include "communication/SCPI/commands/scpi_driver_table.h"

int main(int argc, char** argv)
{
    int arg = 1;
    const bool python = argc > 1 && std::strcmp(argv[1], "--python") == 0;
    const bool rows = argc > 1 && std::strcmp(argv[1], "--rows") == 0;
    if (rows)
        ++arg;
    if (python) {
        ++arg;
        const std::string missing = scpi_driver_table_missing();
        if (!missing.empty()) {
            std::fprintf(stderr, "scpi-doc: the driver table names commands the command table lacks: %s\n",
                         missing.c_str());
            return 1;
        }
    }
    const std::string text =
        python ? scpi_driver_table_python() : (rows ? scpi_command_rows_json() : scpi_command_reference());
    const char* path = argc > arg ? argv[arg] : nullptr;
    FILE* f = path ? std::fopen(path, "wb") : stdout;
    if (!f) {
        std::perror(path);
        return 1;
    }
    const bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    if (f != stdout)
        std::fclose(f);
    return ok ? 0 : 1;
}
