// Register access: the transfer record, the serialised device calls and the
// value writes of every width.
#include "hardware/CSetParam.h"
#include "hardware/fpga_regdevice.h"
#include <QDebug>
#include <QMutexLocker>

int CSetParam::fd = -1;
QMutex CSetParam::FPGA_RW_mutex;
FpgaRegDevice* CSetParam::device = nullptr;

namespace {
// The open device's key flag word (FpgaRegDevice::keyFlagWord), null when it
// has none or no device is open: HAS_KEY_FLAG reads it lock-free.
std::atomic<const std::atomic<bool>*> keyFlag {nullptr};
} // namespace
const char* CSetParam::kDevicePath = "/dev/fpga";
CSetParam::State CSetParam::state;
QMutex CSetParam::counterLock;

void CSetParam::ResetState()
{
    QMutexLocker lock(&counterLock);
    state = State {};
}

CSetParam::CSetParam() { state.isAcCal = false; }

CSetParam::~CSetParam() { CloseDevice(); }

bool CSetParam::OpenDevice()
{
    CloseDevice();
    int d = -1;
    FpgaRegDevice* dev = FpgaRegDevice::open(kDevicePath, &d);
    QMutexLocker lock(&FPGA_RW_mutex);
    device = dev;
    fd = dev ? d : -1;
    keyFlag = dev ? dev->keyFlagWord() : nullptr;
    return dev != nullptr;
}

void CSetParam::CloseDevice()
{
    FpgaRegDevice* dev = nullptr;
    {
        QMutexLocker lock(&FPGA_RW_mutex);
        dev = device;
        device = nullptr;
        keyFlag = nullptr;
        fd = -1;
    }
    delete dev;
}

userCmd& CSetParam::MakeCMD(userCmd& cmd, unsigned short address, void* data, int unit)
{
    cmd.unit = uint8_t(unit);
    cmd.AddrUser = data;
    cmd.Adata = address;
    return cmd;
}

void CSetParam::WRITE(userCmd* cmd, int count)
{
    QMutexLocker lock(&FPGA_RW_mutex);
    if (fd < 0 || device == nullptr || cmd == nullptr)
        return;
    device->write(cmd, count);
}

void CSetParam::READ(userCmd* cmd, int count)
{
    QMutexLocker lock(&FPGA_RW_mutex);
    if (fd < 0 || device == nullptr || cmd == nullptr)
        return;
    device->read(cmd, count);
}

void CSetParam::FpgaWrite(unsigned address, const void* data, int bytes)
{
    if (bytes <= 0 || data == nullptr)
        return;
    userCmd cmd;
    MakeCMD(cmd, static_cast<unsigned short>(address), const_cast<void*>(data), FPGA_UNIT_BYTES);
    WRITE(&cmd, bytes);
}

void CSetParam::FpgaRead(unsigned address, void* data, int bytes)
{
    if (bytes <= 0 || data == nullptr)
        return;
    userCmd cmd;
    MakeCMD(cmd, static_cast<unsigned short>(address), data, FPGA_UNIT_BYTES);
    READ(&cmd, bytes);
}

void CSetParam::FpgaReadDouble(unsigned address, void* data, int bytes) { FpgaRead(address, data, bytes); }

void CSetParam::GetFPGA_Reg(unsigned address, void* data, int bytes) { FpgaRead(address, data, bytes); }

unsigned CSetParam::FpgaWriteWindowed(unsigned base, unsigned window, unsigned offset, const void* data, size_t bytes)
{
    QMutexLocker lock(&FPGA_RW_mutex);
    if (fd < 0 || device == nullptr || data == nullptr || window == 0)
        return window ? unsigned((offset + bytes) % window) : 0;
    return device->writeWindowed(base, window, offset, static_cast<const uint8_t*>(data), bytes);
}

void CSetParam::FpgaWriteWords(unsigned address, const unsigned short* words, int count)
{
    if (count <= 0 || words == nullptr)
        return;
    userCmd cmd;
    MakeCMD(cmd, static_cast<unsigned short>(address), const_cast<unsigned short*>(words), FPGA_UNIT_WORDS);
    WRITE(&cmd, count);
}

namespace {
// The low n bytes of a value, least significant first, whatever the host's
// byte order.
void writeLow(unsigned address, unsigned long long value, unsigned n)
{
    unsigned char b[8];
    for (unsigned k = 0; k < n; ++k)
        b[k] = static_cast<unsigned char>(value >> (8 * k));
    CSetParam::FpgaWrite(address, b, int(n));
}
} // namespace

void CSetParam::SetFPGA_reg(unsigned address, bool value) { writeLow(address, value ? 1 : 0, 1); }

void CSetParam::SetFPGA_reg(unsigned address, unsigned char value) { writeLow(address, value, 1); }

void CSetParam::SetFPGA_reg(unsigned address, unsigned short value) { writeLow(address, value, 2); }

void CSetParam::SetFPGA_reg(unsigned address, unsigned int value, unsigned int n)
{
    writeLow(address, value, n > 4 ? 4 : n);
}

void CSetParam::SetFPGA_reg(unsigned address, unsigned long long value, unsigned int n)
{
    writeLow(address, value, n > 8 ? 8 : n);
}

void CSetParam::SetFPGA_reg(unsigned address, const void* data, unsigned int n)
{
    FpgaWrite(address, data, int(n > 0xFFFF ? 0xFFFF : n));
}

int CSetParam::SetFPGADirect(unsigned address, const void* data, unsigned int n)
{
    FpgaWrite(address, data, int(n > 6 ? 6 : n));
    return 1;
}

unsigned short CSetParam::RawAddress(int ch, unsigned address)
{
    if (address < REG_CH_AREA_END)
        return static_cast<unsigned short>(((unsigned(ch) * REG_CH_BLOCK) & 0x300) | address);
    return static_cast<unsigned short>(address);
}

bool CSetParam::HAS_KEY_FLAG()
{
    // The idle program's one periodic read (every 10 ms): a word the device
    // keeps, read with no call and no lock, where the device has one.
    if (const std::atomic<bool>* flag = keyFlag.load(std::memory_order_acquire))
        return flag->load(std::memory_order_acquire);
    QMutexLocker lock(&FPGA_RW_mutex);
    if (fd < 0 || device == nullptr)
        return false;
    return device->control(FPGA_IOCTL_KEY_FLAG, 0) > 0;
}

unsigned char CSetParam::GetKey()
{
    unsigned char b = 0;
    FpgaRead(REG_KEY_CODE, &b, 1);
    return b;
}

unsigned char CSetParam::GetTCA8418Reg()
{
    unsigned char b = 0;
    FpgaRead(REG_KEY_READBACK, &b, 1);
    return b;
}
