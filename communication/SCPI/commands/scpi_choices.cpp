#include "communication/SCPI/commands/scpi_choices.h"

#define END                                                                                                            \
    {                                                                                                                  \
        nullptr, 0                                                                                                     \
    }

const scpi_choice_def_t scpi_list_phase_mode[] = {{"INDependent", 0}, {"SYNChronization", 1}, END};
const scpi_choice_def_t scpi_list_sleep_time[] = {{"CLOSe", 0}, {"5MIN", 1},  {"15MIN", 2},
                                                  {"30MIN", 3}, {"60MIN", 4}, END};
const scpi_choice_def_t scpi_list_counter_coupling[] = {{"AC", 0}, {"DC", 1}, {"NONe", 2}, END};
const scpi_choice_def_t scpi_list_number_format[] = {{"COMMa", 0}, {"SPACe", 1}, {"NONe", 2}, END};
const scpi_choice_def_t scpi_list_picture_format[] = {{"BMP", 0}, {"JPEG", 1}, {"PNG", 2}, END};
const scpi_choice_def_t scpi_list_language[] = {{"CHINese", 0}, {"ENGLish", 1}, END};
const scpi_choice_def_t scpi_list_amplitude_unit[] = {{"VPP", 0}, {"VRMS", 1}, {"DBM", 2}, END};
const scpi_choice_def_t scpi_list_noise_unit[] = {{"DBM", 0}, {"RATIO", 1}, END};
const scpi_choice_def_t scpi_list_digital_type[] = {{"SPI", 0}, {"IIC", 1}, {"UART", 2}, END};
const scpi_choice_def_t scpi_list_digital_format[] = {{"HEX", 0}, {"CHAR", 1}, END};
const scpi_choice_def_t scpi_list_uart_parity[] = {{"NONe", 0}, {"EVEN", 1}, {"ODD", 2}, END};
const scpi_choice_def_t scpi_list_base_wave[] = {{"SINe", 0},     {"SQUare", 1}, {"RAMP", 2}, {"PULSe", 3}, {"ARB", 4},
                                                 {"HARMonic", 5}, {"NOISe", 6},  {"DC", 7},   {"PRBS", 8},  END};
const scpi_choice_def_t scpi_list_harmonic_type[] = {{"ODD", 0}, {"EVEN", 1}, {"ALL", 2}, {"USER", 3}, END};
const scpi_choice_def_t scpi_list_arb_source[] = {{"INTernal", 0}, {"USER", 1}, {"EXTernal", 2}, END};
const scpi_choice_def_t scpi_list_arb_sampling[] = {{"DDS", 0}, {"POINTS", 1}, END};
const scpi_choice_def_t scpi_list_arb_filter[] = {{"ZEROHOLD", 0}, {"LINE", 1}, END};
const scpi_choice_def_t scpi_list_work_mode[] = {{"CONTinue", 0}, {"MODulation", 1}, {"SWEep", 2}, {"BURSt", 3}, END};
const scpi_choice_def_t scpi_list_trigger_source[] = {
    {"INTernal", 0}, {"EXTRise", 1}, {"EXTFall", 2}, {"MANual", 3}, END};
const scpi_choice_def_t scpi_list_mod_source[] = {{"INTernal", 0}, {"EXTernal", 1}, END};
const scpi_choice_def_t scpi_list_trigger_output[] = {{"CLOSe", 0}, {"RISe", 1}, {"FALL", 2}, END};
// In the order of the low four bits of the MOD_Type values.
const scpi_choice_def_t scpi_list_mod_type[] = {{"AM", 4160},  {"BAM", 4161}, {"QAM", 4162},      {"ASK", 4163},
                                                {"FM", 4292},  {"FSK", 4293}, {"ThreeFSK", 4294}, {"FourFSK", 4295},
                                                {"PM", 4232},  {"PSK", 4233}, {"BPSK", 4234},     {"QPSK", 4235},
                                                {"OSK", 4108}, {"PWM", 4109}, {"SUM", 4110},      END};
const scpi_choice_def_t scpi_list_qam_map[] = {{"QAM4", 0},  {"QAM8", 1},   {"QAM16", 2},  {"QAM32", 3},
                                               {"QAM64", 4}, {"QAM128", 5}, {"QAM256", 6}, END};
const scpi_choice_def_t scpi_list_pn_code[] = {
    {"PN3", 0},  {"PN5", 1},  {"PN7", 2},   {"PN9", 3},   {"PN11", 4},  {"PN13", 5},  {"PN15", 6},  {"PN17", 7},
    {"PN21", 8}, {"PN23", 9}, {"PN25", 10}, {"PN27", 11}, {"PN29", 12}, {"PN31", 13}, {"PN33", 14}, END};
const scpi_choice_def_t scpi_list_mod_wave[] = {
    {"SINe", 0}, {"SQUare", 1}, {"UPRamp", 2}, {"DNRamp", 3}, {"NOISe", 4}, {"ARB", 5}, END};
const scpi_choice_def_t scpi_list_sweep_type[] = {{"LINe", 8192}, {"LOG", 8193}, {"STEP", 8194}, {"LIST", 8195}, END};
const scpi_choice_def_t scpi_list_burst_type[] = {{"NCYC", 12288}, {"GATe", 12289}, {"INFinit", 12290}, END};
const scpi_choice_def_t scpi_list_gate_polarity[] = {{"NEGative", 0}, {"POSitive", 1}, END};
const scpi_choice_def_t scpi_list_touch_action[] = {{"DOWN", 0}, {"UP", 1}, {"MOVE", 2}, END};

const char* scpi_list_title(const scpi_choice_def_t* list)
{
    static const struct {
        const scpi_choice_def_t* list;
        const char* title;
    } titles[] = {
        {scpi_list_phase_mode, "phase mode"},
        {scpi_list_sleep_time, "sleep time"},
        {scpi_list_counter_coupling, "counter coupling"},
        {scpi_list_number_format, "number format"},
        {scpi_list_picture_format, "picture format"},
        {scpi_list_language, "language"},
        {scpi_list_amplitude_unit, "amplitude unit"},
        {scpi_list_noise_unit, "noise-sum unit"},
        {scpi_list_digital_type, "digital type"},
        {scpi_list_digital_format, "digital format"},
        {scpi_list_uart_parity, "UART parity"},
        {scpi_list_base_wave, "base wave"},
        {scpi_list_harmonic_type, "harmonic type"},
        {scpi_list_arb_source, "arb file source"},
        {scpi_list_arb_sampling, "arb sampling"},
        {scpi_list_arb_filter, "arb filter"},
        {scpi_list_work_mode, "work mode"},
        {scpi_list_trigger_source, "trigger source"},
        {scpi_list_mod_source, "modulation source"},
        {scpi_list_trigger_output, "trigger output"},
        {scpi_list_mod_type, "modulation type"},
        {scpi_list_qam_map, "QAM map"},
        {scpi_list_pn_code, "PN code"},
        {scpi_list_mod_wave, "modulating wave"},
        {scpi_list_sweep_type, "sweep type"},
        {scpi_list_burst_type, "burst type"},
        {scpi_list_gate_polarity, "gate polarity"},
        {scpi_list_touch_action, "touch action"},
    };
    for (const auto& t : titles)
        if (t.list == list)
            return t.title;
    return nullptr;
}
