#include "Method/CRC.h"
#include <mutex>

namespace {
uint16_t g_tab[256];
std::once_flag g_once;
} // namespace

void CRC::init_crc16_tab()
{
    std::call_once(g_once, [] {
        for (unsigned i = 0; i < 256; ++i) {
            uint16_t crc = 0;
            uint16_t c = uint16_t(i);
            for (int j = 0; j < 8; ++j) {
                if ((crc ^ c) & 0x0001)
                    crc = uint16_t((crc >> 1) ^ 0x0A01);
                else
                    crc = uint16_t(crc >> 1);
                c = uint16_t(c >> 1);
            }
            g_tab[i] = crc;
        }
    });
}

const uint16_t* CRC::table()
{
    init_crc16_tab();
    return g_tab;
}

uint16_t CRC::crc_16(const unsigned char* data, unsigned int size)
{
    if (data == nullptr)
        return 0;
    const uint16_t* tab = table();
    uint16_t crc = 0;
    for (unsigned int i = 0; i < size; ++i)
        crc = uint16_t((crc >> 8) ^ tab[(crc ^ data[i]) & 0xFF]);
    return crc;
}
