#include "communication/SCPI/scpi_wfile.h"
#include <cstdio>

int wfile_flag = WF_None;
int wfile_channel = 0;
char wfile_name[256] = "";

void scpi_wfile_arm(WF_type mode, int channel, const char* name)
{
    wfile_channel = channel;
    std::snprintf(wfile_name, sizeof wfile_name, "%s", name ? name : "");
    wfile_flag = mode;
}

void scpi_wfile_reset()
{
    wfile_flag = WF_None;
    wfile_channel = 0;
    wfile_name[0] = '\0';
}
