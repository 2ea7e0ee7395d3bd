#include "tests/scpi/scpi_test_table.h"
#include <cstdio>
#include <cstring>

ScpiTestRecord scpi_test_record;

static void called(scpi_t* c) { scpi_test_record.calls.push_back(c->param_list.cmd->pattern); }

static scpi_result_t idnQ(scpi_t* c)
{
    called(c);
    char buf[200];
    const int n = snprintf(buf, sizeof buf, "%s,%s,%s,%s", c->idn[0], c->idn[1], c->idn[2], c->idn[3]);
    SCPI_ResultCharacters(c, buf, size_t(n));
    return SCPI_RES_OK;
}

static scpi_result_t rst(scpi_t* c)
{
    called(c);
    if (c->interface && c->interface->reset)
        c->interface->reset(c);
    return SCPI_RES_OK;
}

static scpi_result_t systErrQ(scpi_t* c)
{
    called(c);
    const int16_t code = Sys_ErrorPop();
    char buf[80];
    const int n = snprintf(buf, sizeof buf, "%d,\"%s\"", code, SCPI_ErrorTranslate(code));
    SCPI_ResultCharacters(c, buf, size_t(n));
    return SCPI_RES_OK;
}

static scpi_result_t systErr(scpi_t* c)
{
    called(c);
    Sys_ErrorClear();
    return SCPI_RES_OK;
}

static int channelOf(scpi_t* c)
{
    int32_t n[1];
    SCPI_CommandNumbers(c, n, 1);
    scpi_test_record.numbers[0] = n[0];
    return (n[0] >= 1 && n[0] <= 4) ? n[0] : 0;
}

static scpi_result_t freq(scpi_t* c)
{
    called(c);
    const int ch = channelOf(c);
    scpi_number_t v;
    scpi_test_record.readOk = SCPI_ParamNumber(c, nullptr, &v, true);
    if (!scpi_test_record.readOk)
        return SCPI_RES_ERR;
    if (v.unit != SCPI_UNIT_NONE && v.unit != SCPI_UNIT_HERTZ) {
        SCPI_ErrorPush(c, SCPI_ERROR_ILLEGAL_PARAMETER_VALUE);
        return SCPI_RES_ERR;
    }
    scpi_test_record.number = v;
    scpi_test_record.freq[ch] = v.value;
    return SCPI_RES_OK;
}

static scpi_result_t freqQ(scpi_t* c)
{
    called(c);
    SCPI_ResultScientific(c, scpi_test_record.freq[channelOf(c)]);
    return SCPI_RES_OK;
}

static scpi_result_t pskPhase(scpi_t* c)
{
    called(c);
    int32_t n[2];
    SCPI_CommandNumbers(c, n, 2);
    scpi_test_record.numbers[0] = n[0];
    scpi_test_record.numbers[1] = n[1];
    if (SCPI_IsCmd(c, "CHANnel#:PSK:PHASe#?"))
        SCPI_ResultInt(c, int32_t(int64_t(n[0]) * 100 + n[1])); // any suffix the lexer passes, without overflow
    else
        scpi_test_record.readOk = SCPI_ParamDouble(c, &scpi_test_record.d, true);
    return SCPI_RES_OK;
}

static scpi_result_t volt(scpi_t* c)
{
    called(c);
    SCPI_CommandNumbers(c, scpi_test_record.numbers, 1);
    if (SCPI_IsCmd(c, "[SOURce#]:VOLTage[:LEVel]?")) {
        SCPI_ResultDouble(c, scpi_test_record.volt);
        return SCPI_RES_OK;
    }
    scpi_test_record.readOk = SCPI_ParamDouble(c, &scpi_test_record.volt, true);
    return scpi_test_record.readOk ? SCPI_RES_OK : SCPI_RES_ERR;
}

#define READER(name, expr)                                                                                             \
    static scpi_result_t name(scpi_t* c)                                                                               \
    {                                                                                                                  \
        called(c);                                                                                                     \
        scpi_test_record.readOk = (expr);                                                                              \
        return SCPI_RES_OK;                                                                                            \
    }

static const scpi_choice_def_t kLanguage[] = {
    {"CHINese", 0},
    {"ENGLish", 1},
    {nullptr, -1},
};

static const scpi_choice_def_t kSleep[] = {
    {"CLOSe", 0}, {"5MIN", 1}, {"15MIN", 2}, {"ThreeFSK", 3}, {nullptr, -1},
};

READER(testInt, SCPI_ParamInt(c, &scpi_test_record.i, true))
READER(testUint, SCPI_ParamUnsignedInt(c, &scpi_test_record.u, true))
READER(testDouble, SCPI_ParamDouble(c, &scpi_test_record.d, true))
READER(testBool, SCPI_ParamBool(c, &scpi_test_record.b, true))
READER(testChoice, SCPI_ParamChoice(c, kSleep, &scpi_test_record.choice, true))
READER(testNumber, SCPI_ParamNumber(c, nullptr, &scpi_test_record.number, true))
READER(testLanguage, SCPI_ParamNumber(c, kLanguage, &scpi_test_record.number, true))

static scpi_result_t testText(scpi_t* c)
{
    called(c);
    char buf[16];
    size_t n = 0;
    scpi_test_record.readOk = SCPI_ParamCopyText(c, buf, sizeof buf, &n, true);
    if (scpi_test_record.readOk)
        scpi_test_record.text.assign(buf, n);
    return SCPI_RES_OK;
}

static scpi_result_t testChars(scpi_t* c)
{
    called(c);
    const char* p = nullptr;
    size_t n = 0;
    scpi_test_record.readOk = SCPI_ParamCharacters(c, &p, &n, true);
    if (scpi_test_record.readOk)
        scpi_test_record.chars.assign(p, n);
    return SCPI_RES_OK;
}

static scpi_result_t testBlock(scpi_t* c)
{
    called(c);
    const char* p = nullptr;
    size_t n = 0;
    scpi_test_record.readOk = SCPI_ParamArbitraryBlock(c, &p, &n, true);
    if (scpi_test_record.readOk)
        scpi_test_record.block.assign(p, n);
    return SCPI_RES_OK;
}

static scpi_result_t testParam(scpi_t* c)
{
    called(c);
    scpi_parameter_t p;
    scpi_test_record.readOk = SCPI_Parameter(c, &p, true);
    scpi_test_record.paramType = p.type;
    if (scpi_test_record.readOk)
        scpi_test_record.chars.assign(p.ptr, size_t(p.len));
    return SCPI_RES_OK;
}

static scpi_result_t testOptional(scpi_t* c)
{
    called(c);
    int32_t v = 7;
    scpi_test_record.readOk = SCPI_ParamInt(c, &v, false);
    scpi_test_record.optional = v;
    return SCPI_RES_OK;
}

static scpi_result_t testMulti(scpi_t* c)
{
    called(c);
    scpi_test_record.readOk = SCPI_ParamInt(c, &scpi_test_record.i, true) &&
        SCPI_ParamDouble(c, &scpi_test_record.d, true) && SCPI_ParamBool(c, &scpi_test_record.b, true);
    return SCPI_RES_OK;
}

// Query handlers answering one field of the record.
#define RESULT(name, expr)                                                                                             \
    static scpi_result_t name(scpi_t* c)                                                                               \
    {                                                                                                                  \
        called(c);                                                                                                     \
        expr;                                                                                                          \
        return SCPI_RES_OK;                                                                                            \
    }

RESULT(testIntQ, SCPI_ResultInt(c, scpi_test_record.i))
RESULT(testDoubleQ, SCPI_ResultDouble(c, scpi_test_record.d))
RESULT(testSciQ, SCPI_ResultScientific(c, scpi_test_record.d))
RESULT(testBoolQ, SCPI_ResultBool(c, scpi_test_record.b))
RESULT(testTextQ, SCPI_ResultText(c, scpi_test_record.text.c_str()))
RESULT(testBlockQ, SCPI_ResultArbitraryBlock(c, scpi_test_record.block.data(), scpi_test_record.block.size()))
RESULT(testTagQ, SCPI_ResultInt(c, SCPI_CmdTag(c)))

static scpi_result_t testBaseQ(scpi_t* c)
{
    called(c);
    SCPI_ResultIntBase(c, scpi_test_record.i, 16);
    SCPI_ResultIntBase(c, scpi_test_record.i, 8);
    SCPI_ResultIntBase(c, scpi_test_record.i, 2);
    return SCPI_RES_OK;
}

static scpi_result_t testNumberQ(scpi_t* c)
{
    called(c);
    char buf[64];
    const size_t n = SCPI_NumberToStr(c, kLanguage, &scpi_test_record.number, buf, sizeof buf);
    SCPI_ResultCharacters(c, buf, n);
    return SCPI_RES_OK;
}

static scpi_result_t testFail(scpi_t* c)
{
    called(c);
    return SCPI_RES_ERR;
}

// A handler that reports its own code and then fails, as the instrument's
// handlers do: the code goes to the instrument list only, then -200 follows.
static scpi_result_t testFailCode(scpi_t* c)
{
    called(c);
    SCPI_Error(c, SCPI_ERROR_ILLEGAL_PARAMETER_VALUE);
    return SCPI_RES_ERR;
}

static scpi_result_t testPush(scpi_t* c)
{
    called(c);
    int32_t code = 0;
    scpi_test_record.readOk = SCPI_ParamInt(c, &code, true);
    if (scpi_test_record.readOk)
        SCPI_ErrorPush(c, int16_t(code));
    return SCPI_RES_OK;
}

static scpi_result_t testNoop(scpi_t* c)
{
    called(c);
    return SCPI_RES_OK;
}

const scpi_command_t scpi_test_commands[] = {
    {"*IDN?", idnQ, 0},
    {"*RST", rst, 0},
    {"SYSTem:ERRor?", systErrQ, 0},
    {"SYSTem:ERRor", systErr, 0},
    {"CHANnel#:BASe:FREQuency", freq, 0},
    {"CHANnel#:BASe:FREQuency?", freqQ, 0},
    {"CHANnel#:PSK:PHASe#", pskPhase, 0},
    {"CHANnel#:PSK:PHASe#?", pskPhase, 0},
    {"[SOURce#]:VOLTage[:LEVel][:IMMediate]", volt, 0},
    {"[SOURce#]:VOLTage[:LEVel]?", volt, 0},
    {"TEST:INTeger", testInt, 0},
    {"TEST:INTeger?", testIntQ, 0},
    {"TEST:UINT", testUint, 0},
    {"TEST:BASE?", testBaseQ, 0},
    {"TEST:DOUBle", testDouble, 0},
    {"TEST:DOUBle?", testDoubleQ, 0},
    {"TEST:SCIentific?", testSciQ, 0},
    {"TEST:BOOLean", testBool, 0},
    {"TEST:BOOLean?", testBoolQ, 0},
    {"TEST:CHOice", testChoice, 0},
    {"TEST:NUMBer", testNumber, 0},
    {"TEST:NUMBer?", testNumberQ, 0},
    {"TEST:LANGuage", testLanguage, 0},
    {"TEST:TEXT", testText, 0},
    {"TEST:TEXT?", testTextQ, 0},
    {"TEST:CHARacters", testChars, 0},
    {"TEST:BLOCk", testBlock, 0},
    {"TEST:BLOCk?", testBlockQ, 0},
    {"TEST:PARameter", testParam, 0},
    {"TEST:OPTional", testOptional, 0},
    {"TEST:MULTi", testMulti, 0},
    {"TEST:TAG?", testTagQ, 42},
    {"TEST:FAIL", testFail, 0},
    {"TEST:FAIL:CODE", testFailCode, 0},
    {"TEST:PUSH", testPush, 0},
    {"TEST:NOOP", testNoop, 0},
    {"KEY:CH1", testNoop, 46},
    {nullptr, nullptr, 0},
};

// Rig -----------------------------------------------------------------------

static ScpiTestRig* rigOf(scpi_t* c) { return static_cast<ScpiTestRig*>(c->user_context); }

static int rigError(scpi_t* c, int_fast16_t err)
{
    rigOf(c)->errors.push_back(int(err));
    return SCPI_Error(c, err); // the instrument's list and tip as well
}

static size_t rigWrite(scpi_t* c, const char* data, size_t len)
{
    rigOf(c)->out.append(data, len);
    return len;
}

static scpi_result_t rigControl(scpi_t* c, scpi_ctrl_name_t ctrl, scpi_reg_val_t val)
{
    rigOf(c)->controls.emplace_back(int(ctrl), int(val));
    return SCPI_RES_OK;
}

static scpi_result_t rigFlush(scpi_t* c)
{
    rigOf(c)->flushes++;
    return SCPI_RES_OK;
}

static scpi_result_t rigReset(scpi_t* c)
{
    rigOf(c)->resets++;
    return SCPI_RES_OK;
}

ScpiTestRig::ScpiTestRig()
{
    memset(input, 0, sizeof input);
    memset(regs, 0, sizeof regs);
    iface = {rigError, rigWrite, rigControl, rigFlush, rigReset};
    ctx.cmdlist = scpi_test_commands;
    ctx.buffer = {SCPI_INPUT_BUFFER_LENGTH, 0, input};
    ctx.interface = &iface;
    ctx.error_queue = &fifo;
    ctx.registers = regs;
    ctx.units = scpi_units_def;
    ctx.user_context = this;
    ctx.idn[0] = "VELTRIX Technologies";
    ctx.idn[1] = "ORNAV96T";
    ctx.idn[2] = "SN0001";
    ctx.idn[3] = "1.09.0018";
    SCPI_Init(&ctx);
    Sys_ErrorClear();
    scpi_test_record.clear();
}

int ScpiTestRig::send(const std::string& message) { return SCPI_Input(&ctx, message.data(), int(message.size())); }

std::vector<int> ScpiTestRig::drainErrors()
{
    std::vector<int> codes;
    while (SCPI_ErrorCount(&ctx) > 0)
        codes.push_back(SCPI_ErrorPop(&ctx));
    return codes;
}
