#pragma once
// Preview item of a channel's parameter screen. This is the interface the
// signal objects use: they hand it the signal whose picture and indicator
// are current and ask it to repaint. The painting of the traces, arrows and
// bar charts fills in paint() and DrawIndicator().
#include <QQuickPaintedItem>
#include "global.h"

class Signal;

class PseWave : public QQuickPaintedItem {
    Q_OBJECT
public:
    explicit PseWave(QQuickItem* parent = nullptr) : QQuickPaintedItem(parent) {}

    int ch = CH1;
    Signal* curSignal = nullptr;
    // Repaints requested through setCurSignal (read by the screens' tests).
    int repaintRequests = 0;

    Q_INVOKABLE void setCurSignal(Signal* s);
    void DrawIndicator(QPainter* painter, int ch, EParamType type);
    void paint(QPainter* painter) override;
};
