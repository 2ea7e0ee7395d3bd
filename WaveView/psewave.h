#pragma once
// Preview item of a channel's parameter screen. This is the interface the
// signal objects use: they hand it the signal whose picture and indicator
// are current and ask it to repaint. The painting of the traces, arrows and
// bar charts fills in paint() and DrawIndicator().
#include <QQuickPaintedItem>
#include "param/global.h"

class QPainter;

// What the preview shows: the signal whose picture and indicator are current.
// The signal classes live above the waveform layer and implement it.
class PseIndicator {
public:
    virtual void updateIndicator(QPainter* painter) = 0;

protected:
    ~PseIndicator() = default;
};

class PseWave : public QQuickPaintedItem {
    Q_OBJECT
public:
    explicit PseWave(QQuickItem* parent = nullptr) : QQuickPaintedItem(parent) {}

    int ch = CH1;
    PseIndicator* curSignal = nullptr;
    // Repaints requested through setCurSignal (read by the screens' tests).
    int repaintRequests = 0;

    void setCurSignal(PseIndicator* s);
    void DrawIndicator(QPainter* painter, int ch, EParamType type);
    void paint(QPainter* painter) override;
};
