// The SCPI worker: takes each delivered message off the queue and either
// runs it through the interpreter or, in a data-transfer mode, hands it as
// raw data to the pending receiver.
#include "scpi_msg_adpt.h"
#include <QByteArray>
#include <QMetaObject>
#include <QObject>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include "SCPI/scpi.h"
#include "SCPI/commands/scpi_commands.h"
#include "SCPI/scpi_wfile.h"
#include "hardwareinfo.h"
#include "scpi_wfile_receivers.h"

static scpi_msg_probe_t g_probe = nullptr;

void scpi_msg_set_probe(scpi_msg_probe_t probe)
{
    g_probe = probe;
}

static int responseSink(const char* data, int len)
{
    return scpi_msg_reponse_write(data, len);
}

void scpi_worker_init(QObject* controller)
{
    scpi_context.cmdlist = scpi_commands;
    SCPI_SetResponseSink(responseSink);
    SCPI_InstrumentInit(controller);
}

// "SYSTem:CONFigure": the block must be one whole parameter record.
static void receiveConfiguration(const char* data, long length)
{
    if (std::strcmp(wfile_name, "sysConfigure") != 0)
        return;
    if (length != long(sizeof(HardWareInfo))) {
        SCPI_ErrorPush(&scpi_context, SCPI_ERROR_PARAMETER_NOT_ALLOWED);
        return;
    }
    if (scpi_context.parent)
        QMetaObject::invokeMethod(scpi_context.parent, "loadSysParamRemote", Qt::DirectConnection,
                                  Q_ARG(QByteArray, QByteArray(data, int(length))));
}

static void receiveData(const scpi_msg_t* rec)
{
    switch (wfile_flag) {
    case WF_CONFIG:
        receiveConfiguration(rec->mtext, rec->msglen);
        break;
    case WF_ModArb:
    case WF_BaseArb:
    case WF_LIST:
        scpi_receive_wave_file(scpi_context.parent, wfile_flag, wfile_channel, wfile_name, rec->mtext,
                               rec->msglen > 0 ? size_t(rec->msglen) : 0);
        break;
    case WF_Cal:
    case WF_DIGITALDATA:
        // Their receivers (calibration loader, file writers, digital output)
        // are not part of this program yet: the block is dropped.
        fprintf(stderr, "[scpi-ERRO]:no receiver for wfile_flag:%d, %ld bytes dropped\n", int(wfile_flag),
                rec->msglen);
        break;
    default:
        fprintf(stderr, "[scpi-ERRO]:unkown wfile_flag:%d\n", int(wfile_flag));
        break;
    }
    scpi_wfile_reset();
}

void scpi_msg_execute(scpi_msg_t* rec)
{
    if (!rec)
        return;
    if (g_probe)
        g_probe(wfile_flag, rec->mtext, rec->msglen);
    if (wfile_flag == WF_None) {
        if (!rec->mtext) {
            fprintf(stderr, "[scpi-ERRO]:null scpi cmd mtype:%ld\n", rec->mtype);
        } else if (rec->msglen == 5 && std::memcmp(rec->mtext, "WFILE", 5) == 0) {
            fprintf(stderr, "[scpi-ERRO]:error!wfile no \\ n\n");
            SCPI_Input(&scpi_context, "WFILE\n", 6);
        } else {
            SCPI_Input(&scpi_context, rec->mtext, int(rec->msglen));
        }
    } else {
        receiveData(rec);
    }
    std::free(rec->mtext);
    rec->mtext = nullptr;
    scpi_muti_write_flg_clr();
}

void* scpi_thread(void* controller)
{
    scpi_worker_init(static_cast<QObject*>(controller));
    scpi_msg_t rec;
    for (;;) {
        if (scpi_msg_cmd_read(&rec) < 0) {
            // The queue is gone (a simulated board removes it at exit);
            // nothing can arrive any more.
            if (errno != EIDRM)
                fprintf(stderr, "[scpi-ERRO]:message queue read failed\n");
            return nullptr;
        }
        scpi_msg_execute(&rec);
    }
}
