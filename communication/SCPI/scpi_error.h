#pragma once
// Error vocabulary of the remote interface and the context's error queue.
// Pushing a code also sets the event status bit of its class, marks the
// error queue in the status byte and hands the code to the interface's error
// callback (the instrument records it on its error list and shows a tip).
#include "communication/SCPI/scpi_types.h"

enum : int16_t {
    SCPI_ERROR_NO_ERROR = 0,
    SCPI_ERROR_INVALID_CHARACTER = -101,
    SCPI_ERROR_INVALID_SEPARATOR = -103,
    SCPI_ERROR_DATA_TYPE_ERROR = -104,
    SCPI_ERROR_PARAMETER_NOT_ALLOWED = -108,
    SCPI_ERROR_MISSING_PARAMETER = -109,
    SCPI_ERROR_UNDEFINED_HEADER = -113,
    SCPI_ERROR_INVALID_SUFFIX = -131,
    SCPI_ERROR_SUFFIX_NOT_ALLOWED = -138,
    SCPI_ERROR_INVALID_STRING_DATA = -151,
    SCPI_ERROR_EXECUTION_ERROR = -200,
    SCPI_ERROR_TRIGGER_IGNORED = -211,
    SCPI_ERROR_DATA_OUT_OF_RANGE = -222,
    SCPI_ERROR_ILLEGAL_PARAMETER_VALUE = -224,
    SCPI_ERROR_FILE_NAME_NOT_FOUND = -256,
    SCPI_ERROR_SYSTEM_ERROR = -310,
    SCPI_ERROR_INPUT_BUFFER_OVERRUN = -363,
    // Instrument errors, also raised outside remote control.
    SCPI_ERROR_OUT_OF_RANGE = -801,
    SCPI_ERROR_CHANNEL_OVERLOAD = -802,
    SCPI_ERROR_IP_FORMAT = -803,
    SCPI_ERROR_MASK_FORMAT = -804,
    SCPI_ERROR_RENAME = -805,
    SCPI_ERROR_DELETE = -806,
    SCPI_ERROR_FILE_SAVE = -807,
    SCPI_ERROR_NO_USB = -808,
    SCPI_ERROR_NODB_AT_HIGHZ = -809,
    SCPI_ERROR_IO_CONFILICT = -810,
};

// Text of a code; "Unknown error" for a code without one.
const char* SCPI_ErrorTranslate(int16_t code);

void SCPI_ErrorInit(scpi_t* context);
void SCPI_ErrorPush(scpi_t* context, int16_t code);
// Takes the oldest code of the queue; 0 when it is empty.
int16_t SCPI_ErrorPop(scpi_t* context);
int32_t SCPI_ErrorCount(scpi_t* context);
void SCPI_ErrorClear(scpi_t* context);
