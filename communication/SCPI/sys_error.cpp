#include "communication/SCPI/sys_error.h"
#include <mutex>

static std::mutex g_sysErrorMutex;
static int16_t g_sysErrorList[SYS_ERROR_STACK_SIZE];
static int16_t g_sysErrorCount = 0;

void Sys_Error(int16_t code)
{
    std::lock_guard<std::mutex> lock(g_sysErrorMutex);
    if (g_sysErrorCount >= SYS_ERROR_STACK_SIZE) {
        for (int i = 1; i < SYS_ERROR_STACK_SIZE; i++)
            g_sysErrorList[i - 1] = g_sysErrorList[i];
        g_sysErrorCount = SYS_ERROR_STACK_SIZE - 1;
    }
    g_sysErrorList[g_sysErrorCount++] = code;
}

int16_t Sys_ErrorPop()
{
    std::lock_guard<std::mutex> lock(g_sysErrorMutex);
    if (g_sysErrorCount <= 0)
        return 0;
    return g_sysErrorList[--g_sysErrorCount];
}

int Sys_ErrorCount()
{
    std::lock_guard<std::mutex> lock(g_sysErrorMutex);
    return g_sysErrorCount;
}

void Sys_ErrorClear()
{
    std::lock_guard<std::mutex> lock(g_sysErrorMutex);
    g_sysErrorCount = 0;
}
