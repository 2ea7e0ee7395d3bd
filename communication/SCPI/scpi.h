#pragma once
// Everything a command handler or a transport needs from the interpreter.
#include "communication/SCPI/scpi_types.h"
#include "communication/SCPI/scpi_error.h"
#include "communication/SCPI/scpi_ieee488.h"
#include "communication/SCPI/scpi_interface.h"
#include "communication/SCPI/scpi_lexer.h"
#include "communication/SCPI/scpi_match.h"
#include "communication/SCPI/scpi_param.h"
#include "communication/SCPI/scpi_parser.h"
#include "communication/SCPI/scpi_result.h"
#include "communication/SCPI/scpi_units.h"
#include "communication/SCPI/sys_error.h"
