// Bring-up of the FPGA board: device open, version read-outs and the first
// programming of the main DACs, the flatness tables and the digital output.
#include "hardware/CSetParam.h"
#include "buildinfo.h"
#include "platform/platformroot.h"
#include "param/sys_param.h"
#include <QDebug>
#include <QThread>
#include <cstring>

void CSetParam::Init(unsigned variant)
{
    // 1. The register device; without it the application runs on with every
    // register access dropped.
    if (!OpenDevice()) {
        qWarning("Can't Open %s !!!\n\r", kDevicePath);
        return;
    }
    // A freshly opened FPGA holds none of the values the caches remember.
    ForgetWrittenState();
    // 2. Bandwidth variant of every channel's characteristics.
    for (CChCharacter& c : state.pCharacter)
        c.InitBandwidth(variant);

    // 3. Versions and the display name.
    sys_param::LogicVersion = ReadLogicVer();
    sys_param::HardWareVersion = ReadHardwareVer();
    sys_param::DisplayName = sys_param::SysInfo.section(';', 0, 0);
    qInfo("logic version %s, hardware version %s", qPrintable(sys_param::LogicVersion),
          qPrintable(sys_param::HardWareVersion));

    // 4, 5. Main DACs, then let them settle.
    SetChDAC();
    QThread::msleep(200);

    // 6. Flat amplitude response until calibration loads the real tables.
    for (int ch = CH1; ch <= CH4; ++ch)
        SetFineAmpDataToDefault(CH_ID(ch));

    // 7. Digital protocol output off.
    SetFPGA_reg(REG_DIG_SW, static_cast<unsigned char>(0));
}

QString CSetParam::ReadLogicVer()
{
    unsigned char b[2] = {0, 0};
    FpgaRead(REG_LOGIC_VER, b, 2);
    return QString::asprintf("%d.%02d.%03d", b[0] >> 4, b[0] & 15, b[1]);
}

QString CSetParam::ReadHardwareVer()
{
    unsigned char b = 0;
    FpgaRead(REG_HW_VER, &b, 1);
    return QString::asprintf("%d.%02d", (b >> 3) + 1, b & 7);
}

// Build time in the C preprocessor's form "Jul 21 2023 11:50:11".
QString CSetParam::ReadSoftDate() { return QString::fromLatin1(ORNAV_BUILD_TIME); }

QString CSetParam::GetSoftDate() { return ReadSoftDate().left(11); }

const char* CSetParam::SoftAndLogicDate(const char* s)
{
    char* kept = state.softAndLogicDate;
    if (s != nullptr && s[0] != '\0') {
        std::strncpy(kept, s, sizeof(state.softAndLogicDate) - 1);
        kept[sizeof(state.softAndLogicDate) - 1] = '\0';
    }
    return kept;
}
