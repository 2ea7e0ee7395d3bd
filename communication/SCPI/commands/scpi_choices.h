#pragma once
// The choice lists of the command set: the words a command takes, in long
// and short form, with their tags. A query answers with the entry at the
// position of the stored value, so the order of each list is fixed.
#include "communication/SCPI/scpi_types.h"

extern const scpi_choice_def_t scpi_list_phase_mode[];
extern const scpi_choice_def_t scpi_list_sleep_time[];
extern const scpi_choice_def_t scpi_list_counter_coupling[];
extern const scpi_choice_def_t scpi_list_number_format[];
extern const scpi_choice_def_t scpi_list_picture_format[];
extern const scpi_choice_def_t scpi_list_language[];
extern const scpi_choice_def_t scpi_list_amplitude_unit[];
extern const scpi_choice_def_t scpi_list_noise_unit[];
extern const scpi_choice_def_t scpi_list_digital_type[];
extern const scpi_choice_def_t scpi_list_digital_format[];
extern const scpi_choice_def_t scpi_list_uart_parity[];
extern const scpi_choice_def_t scpi_list_base_wave[];
extern const scpi_choice_def_t scpi_list_harmonic_type[];
extern const scpi_choice_def_t scpi_list_arb_source[];
extern const scpi_choice_def_t scpi_list_arb_sampling[];
extern const scpi_choice_def_t scpi_list_arb_filter[];
extern const scpi_choice_def_t scpi_list_work_mode[];
extern const scpi_choice_def_t scpi_list_trigger_source[];
extern const scpi_choice_def_t scpi_list_mod_source[];
extern const scpi_choice_def_t scpi_list_trigger_output[];
extern const scpi_choice_def_t scpi_list_mod_type[];
extern const scpi_choice_def_t scpi_list_qam_map[];
extern const scpi_choice_def_t scpi_list_pn_code[];
extern const scpi_choice_def_t scpi_list_mod_wave[];
extern const scpi_choice_def_t scpi_list_sweep_type[];
extern const scpi_choice_def_t scpi_list_burst_type[];
extern const scpi_choice_def_t scpi_list_gate_polarity[];
extern const scpi_choice_def_t scpi_list_touch_action[];

// The list's name for the command reference ("base wave"), null if unknown.
const char* scpi_list_title(const scpi_choice_def_t* list);
