#include "communication/SCPI/commands/scpi_service.h"
#include <QString>
#include <QThread>
#include <cmath>
#include <cstdio>
#include <climits>
#include <cstring>
#include "hardware/CSetParam.h"
#include "param/global.h"
#include "communication/SCPI/commands/scpi_service_host.h"
#include "communication/scpi_msg_adpt.h"
#include "communication/SCPI/commands/scpi_commands.h"
#include "communication/SCPI/commands/scpi_sync.h"
#include "communication/SCPI/scpi_error.h"
#include "communication/SCPI/scpi_match.h"
#include "communication/SCPI/scpi_param.h"
#include "communication/SCPI/scpi_result.h"
#include "communication/SCPI/scpi_wfile.h"
#include "param/sys_param.h"
#include "platform/logging.h"

namespace {

// Service addresses of "WP#:ADDR#" / "RP#:ADDR#?".
enum ServiceAddr {
    ADDR_NONE = 1,
    ADDR_FREQ = 2,
    ADDR_ATT = 47,
    ADDR_OUTPUT = 50,
    ADDR_AMP = 51,
    ADDR_OFFSET = 99,
    ADDR_SN = 2048,
    ADDR_VERSION = 2049,
    ADDR_SYSINFO = 2304,
    ADDR_HTTP = 2305,
};

const size_t kSnBytes = 30;
const size_t kSysInfoBytes = 54;

unsigned char g_attCode = 0;

ScpiServiceHost* controllerOf(scpi_t* context) { return scpi_service_host(context); }

// Remote activity counts as user activity: the screen saver goes off.
void wakeScreen(scpi_t* context)
{
    if (ScpiServiceHost* o = controllerOf(context))
        o->serviceWakeScreen();
}

// The station calibrates into 50 ohm with the output relay open while the
// path is switched over.
void prepareChannel(scpi_t* context, CH_ID ch)
{
    ScpiServiceHost* o = controllerOf(context);
    if (!o)
        return;
    if (sys_param::GetChOnOff(ch) != 0.0) {
        o->serviceSetValue(ch, PARAM_INDEX_CHSWITCH, 0);
        SCPI_WaitApplied(context->parent);
        QThread::msleep(400);
    }
    if (sys_param::GetChLoad(ch) != 50.0) {
        o->serviceSetValue(ch, PARAM_INDEX_CHLOAD, 50);
        SCPI_WaitApplied(context->parent);
        QThread::msleep(200);
    }
}

void copyPadded(char* out, size_t size, const QByteArray& text)
{
    std::memset(out, 0, size);
    std::memcpy(out, text.constData(), std::min(size, size_t(text.size())));
}

} // namespace

unsigned char SCPI_ServiceAttCode() { return g_attCode; }

scpi_result_t SCPI_ServiceSync(scpi_t* context)
{
    pc_lock = true;
    int32_t n[2] = {1, 1};
    if (!SCPI_CommandNumbers(context, n, 2)) {
        qCCritical(lcScpi, "SCPI_WSYNC error");
        SCPI_ErrorPush(context, SCPI_ERROR_ILLEGAL_PARAMETER_VALUE);
        return SCPI_RES_ERR;
    }
    const int32_t chNo = n[0];
    const int32_t cmd = n[1];
    const bool validCh = chNo >= 1 && chNo <= 4;
    const bool global =
        cmd == CSetParam::SYNC_Cal_WriteFile || cmd == CSetParam::SYNC_Cal_save || cmd == CSetParam::SYNC_Cal_ClearAll;
    if (!validCh && !global) {
        qCCritical(lcScpi, "SCPI_WSYNC error ch:%d cmd:%x", int(chNo), unsigned(cmd));
        SCPI_ErrorPush(context, SCPI_ERROR_PARAMETER_NOT_ALLOWED);
        return SCPI_RES_ERR;
    }
    const CH_ID ch = validCh ? CH_ID(chNo - 1) : CH1;
    if (validCh)
        prepareChannel(context, ch);

    scpi_result_t result = SCPI_RES_OK;
    switch (cmd) {
    case CSetParam::SYNC_Cal_DC: CSetParam::SetSatuseCalDc(ch); break;
    case CSetParam::SYNC_Cal_AC: CSetParam::SetSatuseCalAc(ch); break;
    case CSetParam::SYNC_Cal_WriteFile: break;
    case CSetParam::SYNC_Cal_save:
        if (!CSetParam::SaveCalData()) {
            SCPI_ErrorPush(context, SCPI_ERROR_FILE_SAVE);
            result = SCPI_RES_ERR;
        }
        break;
    case CSetParam::SYNC_Verify_DC: CSetParam::SetSatuseVerifyDc(ch); break;
    case CSetParam::SYNC_Verify_AC: CSetParam::SetSatuseVerifyAc(ch); break;
    case CSetParam::SYNC_Cal_ClearAll: CSetParam::CalClearAll(); break;
    default:
        qCCritical(lcScpi, "[SCPI_WSYNC]error cmd:%d", int(cmd));
        SCPI_ErrorPush(context, SCPI_ERROR_ILLEGAL_PARAMETER_VALUE);
        result = SCPI_RES_ERR;
        break;
    }
    wakeScreen(context);
    return result;
}

scpi_result_t SCPI_ServiceWFile(scpi_t*)
{
    scpi_wfile_arm(WF_Cal, 0, "");
    return SCPI_RES_OK;
}

scpi_result_t SCPI_ServiceWrite(scpi_t* context)
{
    int32_t n[2] = {1, 1};
    if (!SCPI_CommandNumbers(context, n, 2)) {
        qCCritical(lcScpi, "no channel number");
        SCPI_ErrorPush(context, SCPI_ERROR_ILLEGAL_PARAMETER_VALUE);
        return SCPI_RES_ERR;
    }
    const char* data = nullptr;
    size_t len = 0;
    if (!SCPI_ParamArbitraryBlock(context, &data, &len, true)) {
        qCCritical(lcScpi, "SCPI_ParamArbitraryBlock");
        SCPI_ErrorPush(context, SCPI_ERROR_ILLEGAL_PARAMETER_VALUE);
        return SCPI_RES_ERR;
    }
    const int32_t chNo = n[0];
    const int32_t addr = n[1];
    if (addr != ADDR_SN && (chNo < 1 || chNo > 4)) {
        qCCritical(lcScpi, "SCPI_WParam error ch:%d", int(chNo));
        SCPI_ErrorPush(context, SCPI_ERROR_PARAMETER_NOT_ALLOWED);
        return SCPI_RES_ERR;
    }
    const CH_ID ch = CH_ID(chNo - 1);

    // A one-byte block is a byte; a longer one starts with a little-endian
    // double. Two to seven bytes are neither: the numeric addresses refuse
    // them rather than read past the block.
    const bool numeric =
        addr == ADDR_FREQ || addr == ADDR_ATT || addr == ADDR_OUTPUT || addr == ADDR_AMP || addr == ADDR_OFFSET;
    unsigned char byte = 0;
    double value = 0;
    if (numeric) {
        if (len == 1) {
            byte = static_cast<unsigned char>(data[0]);
            value = byte;
        } else if (len >= sizeof(double)) {
            std::memcpy(&value, data, sizeof(double));
            if (!std::isfinite(value)) {
                SCPI_ErrorPush(context, SCPI_ERROR_ILLEGAL_PARAMETER_VALUE);
                return SCPI_RES_ERR;
            }
            byte = value >= 0 && value <= 255 ? static_cast<unsigned char>(value) : 0;
        } else {
            qCCritical(lcScpi, "SCPI_ParamArbitraryBlock");
            SCPI_ErrorPush(context, SCPI_ERROR_ILLEGAL_PARAMETER_VALUE);
            return SCPI_RES_ERR;
        }
    }

    ScpiServiceHost* o = controllerOf(context);
    switch (addr) {
    case ADDR_NONE: break;
    case ADDR_FREQ: CSetParam::SetFre(ch, value); break;
    case ADDR_ATT:
        g_attCode = byte;
        CSetParam::SetOffset(ch, 14, 0.0, false);
        CSetParam::SetVolAdjFine(ch, 0);
        QThread::msleep(30);
        CSetParam::SetATT(ch, g_attCode);
        break;
    case ADDR_OUTPUT: CSetParam::SetChOutput(ch, byte != 0); break;
    case ADDR_AMP: CSetParam::SetAmp(ch, g_attCode, value, value, 1.0, false); break;
    case ADDR_OFFSET: CSetParam::SetOffset(ch, g_attCode, value, false); break;
    case ADDR_SN:
        if (o && len >= 1 && len <= kSnBytes)
            o->serviceSetSerial(data, unsigned(len));
        break;
    case ADDR_SYSINFO:
        if (o)
            o->serviceSaveSysInfo(QString::fromLatin1(data, int(len)));
        break;
    case ADDR_HTTP:
        if (o)
            o->serviceSaveHttp(QString::fromLatin1(data, int(len)));
        break;
    default: qCCritical(lcScpi, "error addr:%d", int(addr)); break;
    }
    wakeScreen(context);
    return SCPI_RES_OK;
}

scpi_result_t SCPI_ServiceReadQ(scpi_t* context)
{
    int32_t n[2] = {1, 1};
    if (!SCPI_CommandNumbers(context, n, 2)) {
        qCCritical(lcScpi, "SCPI_RParam error");
        return SCPI_RES_ERR;
    }
    ScpiServiceHost* o = controllerOf(context);
    switch (n[1]) {
    case ADDR_SN: {
        char buf[kSnBytes];
        copyPadded(buf, sizeof buf, QByteArray(scpi_adpt_serial()));
        SCPI_ResultCharacters(context, buf, sizeof buf);
        break;
    }
    case ADDR_VERSION: SCPI_ResultCharacters(context, "1.0.1", 5); break;
    case ADDR_SYSINFO: {
        const QString info = o ? o->serviceSysInfo() : sys_param::SysInfo;
        QByteArray fw(SCPI_FIRMWARE_VERSION);
        const int dot = fw.lastIndexOf('.');
        if (dot >= 0)
            fw.truncate(dot);
        const QByteArray text = info.toLatin1() + ';' + fw + ';' + sys_param::HardWareVersion.toLatin1() + ';';
        char buf[kSysInfoBytes];
        copyPadded(buf, sizeof buf, text);
        SCPI_ResultCharacters(context, buf, sizeof buf);
        break;
    }
    case ADDR_HTTP:
        if (o) {
            const QByteArray http = o->serviceHttp().toLatin1();
            SCPI_ResultCharacters(context, http.constData(), size_t(http.size()));
        }
        break;
    default: break;
    }
    wakeScreen(context);
    return SCPI_RES_OK;
}

ScpiServiceHost* scpi_service_host(scpi_t* context)
{
    return context ? dynamic_cast<ScpiServiceHost*>(context->parent) : nullptr;
}

// "WFILE": the calibration text of the calibration station, parsed into the
// channel characteristics (saved later by "SYNC#:CMD3"). An empty message
// carries no data: parsing nothing would instead reload the file.
void SCPI_ServiceReceiveCalibration(const char* data, long length)
{
    if (!data || length <= 0 || length > INT_MAX) {
        qCCritical(lcScpi, "empty calibration data");
        return;
    }
    CSetParam::LoadCalData(QString::fromLatin1(data, int(length)));
}
