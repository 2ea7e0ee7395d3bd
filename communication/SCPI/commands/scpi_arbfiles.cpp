#include "scpi_arbfiles.h"
#include <QMetaObject>
#include <QThread>
#include <cstdio>
#include <cstring>
#include "SCPI/scpi_error.h"
#include "SCPI/scpi_match.h"
#include "SCPI/scpi_param.h"
#include "SCPI/scpi_wfile.h"
#include "sys_param.h"

namespace {

// The file name parameter, quotes removed when it came as string data.
bool fileName(scpi_t* context, char* out, size_t size)
{
    const char* text = nullptr;
    size_t len = 0;
    if (!SCPI_ParamCharacters(context, &text, &len, true))
        return false;
    if (len >= 2 && (text[0] == '"' || text[0] == '\'') && text[len - 1] == text[0]) {
        ++text;
        len -= 2;
    }
    if (len == 0 || len >= size) {
        // Too long to hold: the receiver refuses it (an empty name is never valid).
        out[0] = '\0';
        return true;
    }
    std::memcpy(out, text, len);
    out[len] = '\0';
    return true;
}

// Channel 1..4 of the header's number, as 0..3 (-1 when out of range: the
// data that follows is still taken as data and then refused).
int channelOf(scpi_t* context)
{
    int32_t n = 1;
    SCPI_CommandNumbers(context, &n, 1);
    return (n >= 1 && n <= 4) ? int(n) - 1 : -1;
}

scpi_result_t arm(scpi_t* context, WF_type mode, const char* missingLog)
{
    char name[sizeof wfile_name];
    if (!fileName(context, name, sizeof name)) {
        fprintf(stderr, "%s\n", missingLog);
        return SCPI_RES_ERR;
    }
    scpi_wfile_arm(mode, channelOf(context), name);
    return SCPI_RES_OK;
}

} // namespace

scpi_result_t SCPI_WarbCarrier(scpi_t* context)
{
    return arm(context, WF_BaseArb, "[scpi-ERRO]:get base arb file name false");
}

scpi_result_t SCPI_WarbModulate(scpi_t* context)
{
    return arm(context, WF_ModArb, "get mod arb file name false");
}

scpi_result_t SCPI_WFreqList(scpi_t* context)
{
    const scpi_result_t r = arm(context, WF_LIST, "get freqlist file name false");
    const int ch = wfile_channel;
    if (r != SCPI_RES_OK || ch < 0 || !context->parent)
        return r;
    // The list plays in the list sweep: select it.
    QThread::msleep(1);
    const CH_DATA& d = sys_param::ch(CH_ID(ch));
    if (d.SweepType != u32(ST_LIST))
        QMetaObject::invokeMethod(context->parent, "setModeIndexCmd", Qt::DirectConnection, Q_ARG(int, ch),
                                  Q_ARG(int, 2), Q_ARG(int, 3));
    else if ((d.WorkMode >> 12) != 2)
        QMetaObject::invokeMethod(context->parent, "chModSelectedCmd", Qt::DirectConnection, Q_ARG(int, ch),
                                  Q_ARG(int, 2));
    return r;
}
