#pragma once
// The instrument's side of the interpreter: its one context, the interface
// callbacks and the two links to the rest of the program that the remote
// adapter installs at start-up (where responses go, how tips are shown).
#include "communication/SCPI/scpi_types.h"

// The program's interpreter context, driven only by the SCPI worker thread.
// Its command table is set by the command set; its serial number at start-up.
extern scpi_t scpi_context;
extern scpi_interface_t scpi_interface;

// Interface callbacks.
// Records the code on the instrument error list (Sys_Error) and shows the
// tip '[ERROR]:<code>,"<text>"'. Handlers also call it directly to report a
// code of their own; that does not touch the error queue.
int SCPI_Error(scpi_t* context, int_fast16_t err);
// Appends the bytes to the remote response buffer; returns the count taken.
size_t SCPI_Write(scpi_t* context, const char* data, size_t len);
// Logs service requests and other control codes on the standard error stream.
scpi_result_t SCPI_Control(scpi_t* context, scpi_ctrl_name_t ctrl, scpi_reg_val_t val);
scpi_result_t SCPI_Flush(scpi_t* context);
scpi_result_t SCPI_Reset(scpi_t* context);

// Where SCPI_Write puts the response bytes: the remote adapter's response
// buffer append, which returns the bytes taken or a negative value. Without
// a sink the bytes are dropped.
typedef int (*scpi_response_sink_t)(const char* data, int len);
void SCPI_SetResponseSink(scpi_response_sink_t sink);

// How SCPI_Error shows its tip text (message type MESSAGE_TYPE_ERROR). The
// Qt side installs the controller's TipsMessage signal with
// SCPI_UseControllerTips(); without a hook no tip is shown.
typedef void (*scpi_tip_hook_t)(scpi_t* context, int type, const char* text);
void SCPI_SetTipHook(scpi_tip_hook_t hook);

// Called by SCPI_Control when the status byte requests service (a new
// reason under *SRE), with the status byte: the VXI-11 server sends its
// interrupt-channel calls from it. Runs on the interpreter's thread, so it
// must only hand the request on, never block.
typedef void (*scpi_srq_hook_t)(scpi_reg_val_t stb);
void SCPI_SetSrqHook(scpi_srq_hook_t hook);

// Tip text of an error code: [ERROR]:<code>,"<text>", cut to len - 1 bytes.
int SCPI_FormatErrorTip(char* buf, int len, int code);

// Replaces the serial number of the identification (copied; at most 63
// characters are kept).
void SCPI_SetIdnSerial(scpi_t* context, const char* serial);

// Start-up of the worker: SCPI_Init on the program's context, the
// controller as parent and its TipsMessage signal for error tips
// (defined with the Qt glue, scpi_tips_qt.cpp).
void SCPI_InstrumentInit(QObject* controller);
void SCPI_UseControllerTips();
