#pragma once
// Everything a command handler or a transport needs from the interpreter.
#include "scpi_types.h"
#include "scpi_error.h"
#include "scpi_ieee488.h"
#include "scpi_interface.h"
#include "scpi_lexer.h"
#include "scpi_match.h"
#include "scpi_param.h"
#include "scpi_parser.h"
#include "scpi_result.h"
#include "scpi_units.h"
#include "sys_error.h"
