#include "WaveView/previewlock.h"

std::mutex& previewLock()
{
    static std::mutex lock;
    return lock;
}
