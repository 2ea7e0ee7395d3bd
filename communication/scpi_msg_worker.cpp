// The SCPI worker: takes each delivered message off the queue and either
// runs it through the interpreter or, in a data-transfer mode, hands it as
// raw data to the pending receiver.
#include "communication/scpi_msg_adpt.h"
#include "communication/scpi_msg_block.h"
#include "communication/scpi_msg_session.h"
#include <QByteArray>
#include <QMetaObject>
#include <QObject>
#include <QString>
#include <malloc.h>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include "communication/SCPI/scpi.h"
#include "communication/SCPI/scpi_error.h"
#include "communication/SCPI/scpi_parser.h"
#include "communication/remote_road.h"
#include "communication/SCPI/scpi_wfile.h"
#include "param/hardwareinfo.h"
#include "platform/logging.h"

// Installed before the worker starts (tests); read by the worker.
static scpi_msg_probe_t g_probe = nullptr;

void scpi_msg_set_probe(scpi_msg_probe_t probe) { g_probe = probe; }

static int responseSink(const char* data, int len) { return scpi_msg_reponse_write(data, len); }

// Longest a command waits for the controller to apply what it handed over.
static const int kCommandApplyTimeoutMs = 30000;

// A command that handed requests to the controller without waiting for
// them is complete only once they are applied: the next command, of this
// message or of any client, starts after that.
static void commandEnd(scpi_t* c)
{
    if (!RemoteRoad::requestsOutstanding())
        return;
    if (!RemoteRoad::settle(kCommandApplyTimeoutMs))
        SCPI_ErrorPush(c, SCPI_ERROR_EXECUTION_ERROR);
}

void scpi_worker_init(QObject* controller)
{
    scpi_context.cmdlist = scpi_adpt_commands();
    SCPI_SetResponseSink(responseSink);
    SCPI_SetCommandEndHook(commandEnd);
    SCPI_InstrumentInit(controller);
}

// "SYSTem:CONFigure": the block must be one whole parameter record.
static void receiveConfiguration(const char* data, long length)
{
    if (std::strcmp(wfile_name, "sysConfigure") != 0)
        return;
    // A transport ends a message without a terminator with a LF of its own;
    // that byte is not part of the record.
    if (length == long(sizeof(HardWareInfo)) + 1 && data[length - 1] == '\n')
        length--;
    if (length != long(sizeof(HardWareInfo))) {
        SCPI_ErrorPush(&scpi_context, SCPI_ERROR_PARAMETER_NOT_ALLOWED);
        return;
    }
    if (scpi_context.parent)
        QMetaObject::invokeMethod(scpi_context.parent, "loadSysParamRemote", Qt::DirectConnection,
                                  Q_ARG(QByteArray, QByteArray(data, int(length))));
}

// Receivers of the other data-transfer modes, installed at start-up by the
// layers that own the data (calibration, files, digital output), before
// the worker starts; read by the worker only.
static scpi_data_receiver_t g_receivers[WF_DIGITALDATA + 1];

void scpi_msg_set_data_receiver(int mode, scpi_data_receiver_t receiver)
{
    if (mode > WF_None && mode <= WF_DIGITALDATA && mode != WF_CONFIG)
        g_receivers[mode] = receiver;
}

static void receiveData(const scpi_msg_t* rec)
{
    switch (wfile_flag) {
    case WF_CONFIG: receiveConfiguration(rec->mtext, rec->msglen); break;
    case WF_Cal:
    case WF_ModArb:
    case WF_BaseArb:
    case WF_LIST:
    case WF_DIGITALDATA:
        if (scpi_data_receiver_t r = g_receivers[wfile_flag]) {
            r(rec->mtext, rec->msglen);
            break;
        }
        qCCritical(lcScpi, "no receiver for wfile_flag:%d, %d bytes dropped", int(wfile_flag), rec->msglen);
        break;
    default: qCCritical(lcScpi, "unkown wfile_flag:%d", int(wfile_flag)); break;
    }
    scpi_wfile_reset();
}

void scpi_msg_data_mode_drop(int owner) { scpi_session_drop_transfer(owner); }

static void runCommands(scpi_msg_t* rec)
{
    if (!rec->mtext) {
        qCCritical(lcScpi, "null scpi cmd mtype:%ld", rec->mtype);
    } else if (rec->msglen == 5 && std::memcmp(rec->mtext, "WFILE", 5) == 0) {
        qCCritical(lcScpi, "error!wfile no \\ n");
        SCPI_Input(&scpi_context, "WFILE\n", 6);
    } else {
        // A message ended by its transport (END) without a line end of its
        // own is complete all the same: it gets the LF the parser runs on.
        if (rec->msglen > 0 && !scpi_msg_has_terminator(rec->mtext, size_t(rec->msglen))) {
            if (char* grown = static_cast<char*>(std::realloc(rec->mtext, size_t(rec->msglen) + 2))) {
                rec->mtext = grown;
                rec->mtext[rec->msglen++] = '\n';
                rec->mtext[rec->msglen] = '\0';
            }
        }
        SCPI_Input(&scpi_context, rec->mtext, int(rec->msglen));
    }
}

// Text run through the interpreter as one message, with the LF it runs on.
static void runText(const char* text, size_t n)
{
    std::string line(text, n);
    if (line.empty() || line.back() != '\n')
        line += '\n';
    SCPI_Input(&scpi_context, line.data(), int(line.size()));
}

// The one-message form: the arming command, then its block as the data of
// the transfer it armed, then whatever commands followed the block. A
// command that armed nothing (a bad name, a channel out of range) has
// reported why; its block is dropped.
static void runArmingBlock(scpi_msg_t* rec, const scpi_arming_block_t& b)
{
    runText(rec->mtext, b.commandLen);
    if (wfile_flag != WF_None) {
        scpi_msg_t data = *rec;
        data.mtext = const_cast<char*>(b.data);
        data.msglen = int32_t(b.length);
        receiveData(&data);
    }
    if (b.restLen)
        runText(b.rest, b.restLen);
}

void scpi_msg_execute(scpi_msg_t* rec)
{
    if (!rec)
        return;
    // The response buffer collects this message's output only.
    scpi_msg_reponse_buf_clear();
    scpi_transfer_t armed;
    const bool announced = scpi_session_take_transfer(rec->owner, &armed);
    if (announced) {
        // The data this session announced: its transfer is the pending one
        // while the receiver runs.
        scpi_wfile_arm(WF_type(armed.mode), armed.channel, armed.name);
    }
    if (g_probe)
        g_probe(wfile_flag, rec->mtext, rec->msglen);
    if (announced) {
        receiveData(rec);
    } else if (wfile_flag != WF_None) {
        // Armed outside any message (a test, a transport's own set-up): the
        // next message of any session is the data.
        receiveData(rec);
    } else {
        scpi_arming_block_t block;
        const scpi_arming_block_form form =
            rec->mtext ? scpi_msg_find_arming_block(rec->mtext, size_t(rec->msglen), &block) : SCPI_ARM_BLOCK_NONE;
        if (form == SCPI_ARM_BLOCK_OK) {
            runArmingBlock(rec, block);
        } else if (form == SCPI_ARM_BLOCK_BAD) {
            // An arming command whose block is malformed or whose length
            // does not match the bytes sent: nothing is armed or stored.
            qCCritical(lcScpi, "arming command with a bad block, %ld bytes dropped", long(rec->msglen));
            SCPI_ErrorPush(&scpi_context, SCPI_ERROR_ILLEGAL_PARAMETER_VALUE);
        } else {
            runCommands(rec);
        }
        if (wfile_flag != WF_None) {
            // The message armed a transfer: it belongs to its session.
            scpi_transfer_t t;
            t.mode = wfile_flag;
            t.channel = wfile_channel;
            std::snprintf(t.name, sizeof t.name, "%s", wfile_name);
            scpi_session_arm_transfer(rec->owner, t);
            scpi_wfile_reset();
        }
    }
    std::free(rec->mtext);
    rec->mtext = nullptr;
    // A large message (a wave file) leaves no pages behind in the arena of
    // the transport thread that received it.
    if (rec->msglen > 4 * 1024 * 1024)
        malloc_trim(0);
    scpi_session_finished(rec->owner, rec->seq);
}

namespace {
std::mutex g_holdMutex;
std::condition_variable g_holdCv;
bool g_held = false; // guarded by g_holdMutex

void waitWhileHeld()
{
    std::unique_lock<std::mutex> lock(g_holdMutex);
    if (!g_held)
        return;
    if (!g_holdCv.wait_for(lock, std::chrono::seconds(30), [] { return !g_held; })) {
        qCWarning(lcScpi, "start-up not finished after 30 s, serving anyway");
        g_held = false;
    }
}
} // namespace

void scpi_adpt_hold()
{
    std::lock_guard<std::mutex> lock(g_holdMutex);
    g_held = true;
}

void scpi_adpt_release()
{
    {
        std::lock_guard<std::mutex> lock(g_holdMutex);
        g_held = false;
    }
    g_holdCv.notify_all();
}

void* scpi_thread(void*)
{
    // The interpreter was set up by scpi_adpt_init before this thread began.
    // Whatever a test or an earlier run left in the response buffer belongs
    // to no message.
    scpi_msg_reponse_buf_clear();
    scpi_msg_t rec;
    for (;;) {
        if (scpi_msg_cmd_read(&rec) < 0) {
            // The queue is gone (a simulated board removes it at exit);
            // nothing can arrive any more.
            if (errno != EIDRM)
                qCCritical(lcScpi, "message queue read failed");
            return nullptr;
        }
        if (rec.owner == SCPI_STOP_OWNER)
            return nullptr; // the program is ending (scpi_adpt_shutdown)
        if (scpi_session_stopping()) {
            // Nothing more runs once the program is ending; the record
            // still counts as finished for its session.
            std::free(rec.mtext);
            scpi_session_finished(rec.owner, rec.seq);
            continue;
        }
        waitWhileHeld();
        scpi_msg_execute(&rec);
    }
}
