#pragma once
// The instrument's error list: the newest 100 error codes of the remote
// interface and of the front panel (out of range, channel overload, network
// settings, file manager, trigger conflicts). "SYSTem:ERRor?" reads it newest
// first. The SCPI worker and the application thread both write it, so every
// access is serialised.
#include <cstdint>

enum { SYS_ERROR_STACK_SIZE = 100 };

// Pushes a code; with 100 codes held the oldest is dropped first.
void Sys_Error(int16_t code);
// Takes the newest code; 0 ("No error") when the list is empty.
int16_t Sys_ErrorPop();
int Sys_ErrorCount();
void Sys_ErrorClear();
