#pragma once
// CRC-16 of the stored parameter record: table driven, reflected, initial
// value 0, no final XOR, polynomial constant 0x0A01 (not the common 0xA001;
// every stored record depends on this constant).
#include <cstdint>

class CRC {
public:
    static uint16_t crc_16(const unsigned char* data, unsigned int size);
    static void init_crc16_tab();
    static const uint16_t* table();
};
