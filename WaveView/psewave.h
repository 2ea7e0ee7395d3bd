#pragma once
// Preview item of a channel's parameter screen: the 460-point traces the
// waveform layer keeps per channel, the QAM constellation, the harmonic bar
// chart and the dimension arrows of the parameter being edited. It computes
// nothing about the signal: the signal objects hand it the signal whose
// indicator is current and ask it to repaint.
#include <QColor>
#include <QPen>
#include <QQuickPaintedItem>
#include <QSize>
#include <atomic>
#include "param/global.h"
#include "param/hardwareinfo.h"
#include "param/systype.h"

class QPainter;

// What the preview shows: the signal whose picture and indicator are current.
// The signal classes live above the waveform layer and implement it.
class PseIndicator {
public:
    // The kind of the edited parameter whose dimension arrows the preview
    // draws (an EParamType), or -1 for none.
    virtual int indicatorType() const = 0;

protected:
    ~PseIndicator() = default;
};

enum { ARROW_WIDTH_DEF = 11, ARROW_HIGH_DEF = 11 };

class PseWave : public QQuickPaintedItem {
    Q_OBJECT
    Q_PROPERTY(int windWidth READ windWidth WRITE setwindWidth NOTIFY windWidthChanged)
    Q_PROPERTY(int penWidth READ penWidth WRITE setPenWidth)
    Q_PROPERTY(QColor penColor READ penColor WRITE setPenColor)
    Q_PROPERTY(int channel READ rch WRITE wch)
    Q_PROPERTY(int disfocuse READ rdisfocuse WRITE setdisfocuse NOTIFY disfocuseChanged)
public:
    explicit PseWave(QQuickItem* parent = nullptr);

    int ch = CH1;
    int disfocuse = 0;
    // The signal last shown (controller's thread; never dereferenced here).
    PseIndicator* curSignal = nullptr;
    QPen m_pen;
    int windw = 500;
    QSize ArrowSize {ARROW_WIDTH_DEF, ARROW_HIGH_DEF};
    // Repaints requested through setCurSignal (read by the screens' tests).
    int repaintRequests = 0;
    // A repaint is queued to the item's thread and not yet taken: further
    // requests meanwhile ride on it (the paint reads the newest copy).
    std::atomic<bool> m_updateQueued {false};
    // Gain of the output stage into a load (50 ohm source); the channel
    // layer installs the real one. Used for the offset arrows of DC.
    static double (*loadGain)(double load);

    int windWidth() const { return windw; }
    void setwindWidth(int w);
    int penWidth() const { return m_pen.width(); }
    void setPenWidth(int w)
    {
        m_pen.setWidth(w);
        update();
    }
    QColor penColor() const { return m_pen.color(); }
    void setPenColor(const QColor& c)
    {
        m_pen.setColor(c);
        update();
    }
    int rch() const { return ch; }
    void wch(int c);
    int rdisfocuse() const { return disfocuse; }
    void setdisfocuse(bool f);

    // Called by the controller's thread after it changed the record or the
    // traces: copies what the paint needs and asks for a repaint.
    void setCurSignal(PseIndicator* s);
    // Both read the copies setCurSignal took (paint under previewLock()).
    void paint(QPainter* painter) override;
    void DrawIndicator(QPainter* painter, EParamType type);

    // Drawing primitives; each sets its own pen.
    void DrawLine(QPainter* p, Qt::PenStyle style, const QColor& c, int x1, int y1, int x2, int y2);
    void DrawGround(QPainter* p, const QColor& c, int x, int y);
    void DrawArrowsHorizontal(QPainter* p, const QColor& c, int x1, int x2, int y);
    void DrawArrowsVertical(QPainter* p, const QColor& c, int y1, int y2, int x);
    void DrawArrowsHorizontal(QPainter* p, int x1, int x2, int y);
    void DrawArrowsVertical(QPainter* p, int y1, int y2, int x);
    void DrawArrowsUp(QPainter* p, int x, int y);
    void DrawArrowsDown(QPainter* p, int x, int y);
    void DrawArrowsLeft(QPainter* p, int x, int y);
    void DrawArrowsRight(QPainter* p, int x, int y);
    void DrawArrowUp(QPainter* p, const QColor& c, int y1, int y2, int x);
    void DrawArrowRight(QPainter* p, const QColor& c, int x1, int x2, int y);
    void SetArrowSize(int w, int h) { ArrowSize = QSize(w, h); }
    void SetArrowFDefSize() { ArrowSize = QSize(ARROW_WIDTH_DEF, ARROW_HIGH_DEF); }

    // Indicators of the single parameters.
    void DrawIndicatorAmpl(QPainter* p, const QColor& c);
    void DrawIndicatorHigh(QPainter* p, double high, double low, const QColor& c);
    void DrawIndicatorLow(QPainter* p, double high, double low, const QColor& c);
    void DrawIndicatorFreq(QPainter* p, const QColor& c);
    void DrawIndicatorOffset(QPainter* p, double vpp, double offset, const QColor& c);
    void DrawIndicatorPhase(QPainter* p, double phase, const QColor& c);
    void DrawIndicatorSymmetry(QPainter* p, double symmetry, const QColor& c);
    void DrawIndicatorDuty(QPainter* p, double rise, double pulseWidth, double period, const QColor& c);
    void DrawIndicatorRiseEdge(QPainter* p, double rise, double period, const QColor& c);
    void DrawIndicatorFallEdge(QPainter* p, double rise, double fall, double pulseWidth, double period,
                               const QColor& c);

    void DrawHarmicFreqAmp(QPainter* p);
    void drawQAM(QPainter* p, int map, const QColor& c);
    void Draw4QAM(QPainter* p, const QColor& c, const QRect& r);
    void Draw8QAM(QPainter* p, const QColor& c, const QRect& r);
    void Draw16QAM(QPainter* p, const QColor& c, const QRect& r);
    void Draw32QAM(QPainter* p, const QColor& c, const QRect& r);
    void Draw64QAM(QPainter* p, const QColor& c, const QRect& r);
    void Draw128QAM(QPainter* p, const QColor& c, const QRect& r);
    void Draw256QAM(QPainter* p, const QColor& c, const QRect& r);

    // Text of the point count of an arbitrary file ("points:...").
    static QString pointsText(int n);

signals:
    void windWidthChanged(int w);
    void disfocuseChanged(int f);

private:
    // What paint() draws besides the traces: the channel's record and the
    // indicator kind as setCurSignal last saw them. The record belongs to
    // the controller's thread, which writes it without a lock; the paint
    // runs in the GUI thread. Guarded by previewLock(), as the traces are.
    CH_DATA m_shown {};
    int m_indicator = -1;
    // Span of the indicators: 460 points, 220 beside the harmonic bars.
    int indicatorSpan() const;
    void drawTrace(QPainter* p, const short* trace, int n, int w);
    void drawGrid(QPainter* p, const QColor& c, const QRect& r, int margin, int n, int skip, int radius);
};
