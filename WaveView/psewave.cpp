#include "WaveView/psewave.h"

void PseWave::setCurSignal(PseIndicator* s)
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
