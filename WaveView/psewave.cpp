#include "psewave.h"
#include "signal/csignal.h"

void PseWave::setCurSignal(Signal* s)
{
    curSignal = s;
    ++repaintRequests;
    update();
}

void PseWave::DrawIndicator(QPainter*, int, EParamType) {}

void PseWave::paint(QPainter* painter)
{
    if (curSignal)
        curSignal->updateIndicator(painter);
}
