#pragma once
// CSetParam: the application's access to the FPGA register space and the
// start-up programming of the chips behind it. A class of static members over
// one process-wide register device: every transfer holds FPGA_RW_mutex for the
// one device call (the key thread, the worker thread and the remote threads
// share the device); while the device is closed every write is dropped and
// every read leaves its buffer as it was, so readers start from 0.
#include <QMutex>
#include <QString>
#include <cstdint>
#include "cchcharacter.h"
#include "fpga_regs.h"
#include "fpga_usercmd.h"
#include "systype.h"

class FpgaRegDevice;

class CSetParam {
public:
    CSetParam();
    ~CSetParam();

    // ---- register access ----------------------------------------------------
    static userCmd& MakeCMD(userCmd& cmd, unsigned short address, void* data, int unit);
    static void WRITE(userCmd* cmd, int count);
    static void READ(userCmd* cmd, int count);

    // Byte transfers to/from consecutive registers; the address is taken
    // modulo 2^16.
    static void FpgaWrite(unsigned address, const void* data, int bytes);
    static void FpgaRead(unsigned address, void* data, int bytes);
    static void FpgaReadDouble(unsigned address, void* data, int bytes);
    static void GetFPGA_Reg(unsigned address, void* data, int bytes);
    // A stream of 16-bit words into the one port at address.
    static void FpgaWriteWords(unsigned address, const unsigned short* words, int count);

    // Value writes, least significant byte at the base address.
    static void SetFPGA_reg(unsigned address, bool value);
    static void SetFPGA_reg(unsigned address, unsigned char value);
    static void SetFPGA_reg(unsigned address, unsigned short value);
    static void SetFPGA_reg(unsigned address, unsigned int value, unsigned int n);       // low n <= 4 bytes
    static void SetFPGA_reg(unsigned address, unsigned long long value, unsigned int n); // low n <= 8 bytes
    static void SetFPGA_reg(unsigned address, const void* data, unsigned int n);
    // Raw write of at most 6 bytes; returns 1.
    static int SetFPGADirect(unsigned address, const void* data, unsigned int n);

    // Address of a per-channel register.
    static unsigned short ChReg(CH_ID ch, unsigned offset) { return (unsigned(ch) * REG_CH_BLOCK) | offset; }
    // Address of a raw (channel, address) access: below 0x400 the address is
    // placed in the channel's block, above it is used as it is.
    static unsigned short RawAddress(int ch, unsigned address);

    // True while a key-expander interrupt is pending.
    static bool HAS_KEY_FLAG();
    static unsigned char GetKey();
    static unsigned char GetTCA8418Reg();

    // ---- bring-up -----------------------------------------------------------
    static void Init(unsigned variant);
    // Opens "/dev/fpga" (step one of Init); false with the device missing.
    static bool OpenDevice();
    static void CloseDevice();
    static bool DeviceOpen() { return fd >= 0; }

    static QString ReadLogicVer();
    static QString ReadHardwareVer();
    static QString ReadSoftDate();
    static QString GetSoftDate();
    static const char* SoftAndLogicDate(const char* s);

    // ---- chips --------------------------------------------------------------
    static void SetAD9122Reg(unsigned short word);
    static void SetChDAC();
    static void SetLMK04906(unsigned word);
    static void SetPLL();
    static void SetLTC2000Reg(CH_ID ch, unsigned char value);
    // The main-DAC start-up words in the order they are sent.
    static const unsigned short kDacInitWords[24];

    // Flatness tables (table port kind 2): CChCharacter::FlatnessWords(ch)
    // words, 4096 on CH1/CH2, 1536 on CH3/CH4.
    static void SetFineAmpDataReg(CH_ID ch, const unsigned short* table, int n);
    static void SetFineAmpData(CH_ID ch, unsigned short v);
    static void SetFineAmpDataToDefault(CH_ID ch);

    // ---- board operations -----------------------------------------------------
    static void ResetFPFGA(bool force);
    static void SetExtCLKIn(bool in, bool out);
    static bool GetInputClkValid();
    static void SetDigtalModTrigInOutReg(CH_ID ch, bool enable, bool isOut);
    static void SetManualTrig(CH_ID ch);
    // Channels whose two overload bits are both set in a REG_SAFE_STATUS
    // value, bit n for channel n.
    static unsigned char OverloadChannels(unsigned char status);
    // Reads REG_SAFE_STATUS, clears the latch of every overloaded channel and
    // returns their mask (bit n for channel n).
    static unsigned char PollOverload();

    // ---- access state ---------------------------------------------------------
    static int fd;
    static QMutex FPGA_RW_mutex;
    static FpgaRegDevice* device;

    // Per-channel caches of the register programming.
    static unsigned char m_ATT[4];
    static double m_VPP[4];
    static unsigned short m_NoiseSumCal[4];
    static volatile bool isDcCal;
    static volatile bool isAcCal;
    static uint32_t chAllLed;
    // The output-path characteristics of each channel, built at static
    // initialisation; Init hands them the board's bandwidth variant.
    static CChCharacter pCharacter[4];

    static const char* kDevicePath;
};
