// Amplitude-flatness tables: one word per 152587.890625 Hz of output
// frequency, sent through the table port (kind 2) as one word stream.
#include "hardware/CSetParam.h"
#include <vector>

void CSetParam::SetFineAmpDataReg(CH_ID ch, const unsigned short* table, int n)
{
    if (ch < CH1 || ch > CH4 || table == nullptr || n <= 0)
        return;
    SetFPGA_reg(REG_TABLE_SELECT, static_cast<unsigned char>(unsigned(ch) * 4 + TABLE_KIND_FLATNESS));
    SetFPGA_reg(REG_TABLE_LOAD, static_cast<unsigned char>(1));
    FpgaWriteWords(REG_TABLE_DATA, table, n);
    SetFPGA_reg(REG_TABLE_LOAD, static_cast<unsigned char>(0));
}

void CSetParam::SetFineAmpData(CH_ID ch, unsigned short v)
{
    if (ch < CH1 || ch > CH4)
        return;
    const std::vector<unsigned short> table(size_t(CChCharacter::FlatnessWords(ch)), v);
    SetFineAmpDataReg(ch, table.data(), int(table.size()));
}

void CSetParam::SetFineAmpDataToDefault(CH_ID ch) { SetFineAmpData(ch, 65535); }
