import QtQuick 2.12

// A small line drawing of a wave or mode kind (the names of the picture
// files: sine, square, AM, LINE, NCYC...).
Canvas {
    id: icon
    property string kind: "sine"
    property color color: "white"
    width: 48
    height: 32
    onKindChanged: requestPaint()
    onColorChanged: requestPaint()
    onPaint: {
        var c = getContext("2d")
        var w = width, h = height, m = h / 2, a = h * 0.38
        c.reset()
        c.strokeStyle = color
        c.lineWidth = 2
        c.beginPath()
        var i, x
        function sine(f, amp) { for (i = 0; i <= w; i += 2) { var y = m - amp(i) * Math.sin(i / w * Math.PI * 2 * f); if (i === 0) c.moveTo(i, y); else c.lineTo(i, y) } }
        switch (kind) {
        case "square": case "ASK": case "PWM":
            c.moveTo(0, m + a); c.lineTo(0, m - a); c.lineTo(w / 2, m - a); c.lineTo(w / 2, m + a); c.lineTo(w, m + a); c.lineTo(w, m - a); break
        case "pulse": case "NCYC":
            c.moveTo(0, m + a); c.lineTo(w * 0.15, m + a); c.lineTo(w * 0.2, m - a); c.lineTo(w * 0.4, m - a); c.lineTo(w * 0.45, m + a)
            c.lineTo(w * 0.65, m + a); c.lineTo(w * 0.7, m - a); c.lineTo(w * 0.9, m - a); c.lineTo(w * 0.95, m + a); c.lineTo(w, m + a); break
        case "ramp": case "LINE":
            c.moveTo(0, m + a); c.lineTo(w / 2, m - a); c.lineTo(w / 2, m + a); c.lineTo(w, m - a); break
        case "LOG":
            for (i = 0; i <= w; i += 2) { var t = i / w; var y2 = m + a - 2 * a * Math.log(1 + 9 * t) / Math.log(10); if (i === 0) c.moveTo(i, y2); else c.lineTo(i, y2) } break
        case "STEP": case "LIST":
            for (i = 0; i < 4; ++i) { c.lineTo(i * w / 4, m + a - i * a * 2 / 3); c.lineTo((i + 1) * w / 4, m + a - i * a * 2 / 3) } break
        case "noise":
            for (i = 0; i <= w; i += 3) c.lineTo(i, m + a * Math.sin(i * 12.9898) * Math.cos(i * 4.1414)); break
        case "dc":
            c.moveTo(0, m - a / 2); c.lineTo(w, m - a / 2); break
        case "pseu":
            var bits = [1, 0, 1, 1, 0, 0, 1, 0]; c.moveTo(0, m + a)
            for (i = 0; i < bits.length; ++i) { var yb = bits[i] ? m - a : m + a; c.lineTo(i * w / 8, yb); c.lineTo((i + 1) * w / 8, yb) } break
        case "harm":
            sine(1, function() { return a * 0.7 }); c.stroke(); c.beginPath(); sine(3, function() { return a * 0.3 }); break
        case "arb": case "draw":
            c.moveTo(0, m); c.lineTo(w * 0.2, m - a); c.lineTo(w * 0.35, m + a * 0.4); c.lineTo(w * 0.55, m - a * 0.6)
            c.lineTo(w * 0.7, m + a); c.lineTo(w, m - a * 0.2); break
        case "AM": case "BAM": case "OSK": case "GATED":
            sine(5, function(x) { return a * (0.55 + 0.45 * Math.sin(x / w * Math.PI * 2)) }); break
        case "FM": case "FSK": case "SUM":
            for (i = 0; i <= w; i += 1) { var ph = (i / w) * Math.PI * 2 * (2 + 3 * i / w); c.lineTo(i, m - a * Math.sin(ph)) } break
        case "PM": case "PSK": case "BPSK": case "QPSK":
            sine(2, function() { return a }); c.moveTo(w / 2, m - a); c.lineTo(w / 2, m + a); break
        case "QAM":
            for (i = 0; i < 4; ++i) for (x = 0; x < 4; ++x) { c.moveTo(w / 2 - 12 + i * 8 + 1.5, m - 12 + x * 8); c.arc(w / 2 - 12 + i * 8, m - 12 + x * 8, 1.5, 0, Math.PI * 2) } break
        case "INFINITE":
            sine(4, function() { return a }); break
        default:
            sine(1, function() { return a }); break
        }
        c.stroke()
    }
}
