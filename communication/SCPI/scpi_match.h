#pragma once
// Matching of received headers against command patterns.
//
// A pattern is a list of nodes separated by ":" such as
// "CHANnel#:BASe:FREQuency?" or "SYSTem:ERRor[:NEXT]?". A node matches its
// long form (the whole node) or its short form (its leading characters up to
// the first lower-case letter), in any letter case and with equal length. A
// node ending in "#" also takes trailing decimal digits, the number of that
// place (1 when none are given). Nodes in square brackets may be left out.
// A pattern ending in "?" matches only a query header and a query header
// only such a pattern. A leading ":" is ignored on either side.
#include "communication/SCPI/scpi_types.h"

// Does the mnemonic (len bytes) match the long or short form of the pattern
// word (plen bytes)? Used for header nodes and for choice names.
bool SCPI_MatchMnemonic(const char* pattern, int plen, const char* value, int len);

// Header test without numbers.
bool SCPI_Match(const char* pattern, const char* header, int len);

// Header test that also returns the numbers of the pattern's "#" places in
// order, up to count of them; places are 1 when no digits were given.
// Returns false (numbers untouched beyond their default of 1) when the
// header does not match.
bool SCPI_MatchNumbers(const char* pattern, const char* header, int len, int32_t* numbers, int count);

// First command of the list (ended by a null pattern) whose pattern the
// header matches; null when none does.
const scpi_command_t* SCPI_FindCommand(const scpi_command_t* list, const char* header, int len);

// Does the header of the running command match the pattern?
bool SCPI_IsCmd(scpi_t* context, const char* pattern);

// Numbers that the received header gave for the "#" places of the matched
// pattern, in order; entries past the pattern's places are 1.
bool SCPI_CommandNumbers(scpi_t* context, int32_t* numbers, size_t count);

// Tag of the matched command record; 0 when no command runs.
int32_t SCPI_CmdTag(scpi_t* context);

// Name of the choice with that tag, null when none has it.
const char* SCPI_ChoiceToName(const scpi_choice_def_t* options, int32_t tag);
