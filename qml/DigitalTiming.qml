import QtQuick 2.12

// Timing drawing of the digital output's frame for the current settings:
// SPI (chip select, clock, data, most significant bit first), I2C (start,
// address and write bit, acknowledge, data bytes, stop) or UART (start bit,
// data bits least significant first, parity, stop bits). The first bytes
// of the data are drawn; without data an example byte 0xA5.
Canvas {
    id: canvas
    property int fun: 0
    property bool hexFormat: true
    property string dataText: ""
    readonly property var lineColours: ["#ff9900", "#cc3399", "#009999"]

    function dataBytes() {
        var out = []
        if (hexFormat) {
            var parts = dataText.split(" ")
            for (var i = 0; i < parts.length && out.length < 2; ++i) {
                if (parts[i] === "")
                    continue
                var v = parseInt(parts[i], 16)
                out.push(isNaN(v) ? 0 : (v & 0xFF))
            }
        } else {
            for (var k = 0; k < dataText.length && out.length < 2; ++k)
                out.push(dataText.charCodeAt(k) & 0xFF)
        }
        return out
    }
    function hex(b) { return "0x" + (b < 16 ? "0" : "") + b.toString(16).toUpperCase() }
    function entryValue(index, fallback) {
        var l = uidata ? uidata.digitalSetList : []
        for (var i = 0; i < l.length; ++i)
            if (l[i] && l[i].paramindex === index)
                return l[i].value
        return fallback
    }
    // Bit cells of each line: {v: 0/1 (or -1 idle/unknown), t: label}.
    function frame(bytes) {
        var lines = [], names = []
        var i, b, bit
        if (fun === 0) {
            names = ["CS", "SCLK", "MOSI"]
            var cs = [], clk = [], mosi = []
            cs.push({v: 1, t: ""}); clk.push({v: 0, t: ""}); mosi.push({v: -1, t: ""})
            for (b = 0; b < bytes.length; ++b)
                for (bit = 7; bit >= 0; --bit) {
                    cs.push({v: 0, t: ""})
                    clk.push({v: 2, t: ""})  // one clock pulse
                    mosi.push({v: (bytes[b] >> bit) & 1, t: String((bytes[b] >> bit) & 1)})
                }
            cs.push({v: 1, t: ""}); clk.push({v: 0, t: ""}); mosi.push({v: -1, t: ""})
            lines = [cs, clk, mosi]
        } else if (fun === 1) {
            names = ["SCL", "SDA"]
            var scl = [], sda = []
            var addr = entryValue(104, 1) & 0x7F
            scl.push({v: 1, t: ""}); sda.push({v: 1, t: ""})
            scl.push({v: 1, t: ""}); sda.push({v: 0, t: "S"})
            var seq = [(addr << 1) & 0xFF].concat(bytes)
            for (b = 0; b < seq.length; ++b) {
                for (bit = 7; bit >= 0; --bit) {
                    scl.push({v: 2, t: ""})
                    var label = b === 0 ? (bit === 0 ? "W" : "A" + (bit - 1)) : String((seq[b] >> bit) & 1)
                    sda.push({v: (seq[b] >> bit) & 1, t: label})
                }
                scl.push({v: 2, t: ""}); sda.push({v: 0, t: "ACK"})
            }
            scl.push({v: 1, t: ""}); sda.push({v: 0, t: ""})
            scl.push({v: 1, t: ""}); sda.push({v: 1, t: "P"})
            lines = [scl, sda]
        } else {
            names = ["TX"]
            var tx = [{v: 1, t: ""}]
            var nbits = uidata ? uidata.uartDataBits() : 8
            var stops = uidata ? uidata.uartStopBits() : 1
            var parity = uidata ? uidata.iSuartVerify() : 0
            for (b = 0; b < bytes.length; ++b) {
                tx.push({v: 0, t: "ST"})
                var ones = 0
                for (bit = 0; bit < nbits; ++bit) {
                    var x = (bytes[b] >> bit) & 1
                    ones += x
                    tx.push({v: x, t: "D" + bit})
                }
                if (parity === 1) tx.push({v: ones & 1, t: "P"})
                else if (parity === 2) tx.push({v: (ones & 1) ? 0 : 1, t: "P"})
                for (i = 0; i < stops; ++i)
                    tx.push({v: 1, t: "SP"})
            }
            tx.push({v: 1, t: ""})
            lines = [tx]
        }
        return {names: names, lines: lines}
    }

    onFunChanged: requestPaint()
    onDataTextChanged: requestPaint()
    onHexFormatChanged: requestPaint()
    onPaint: {
        var ctx = getContext("2d")
        ctx.reset()
        ctx.fillStyle = "#101418"
        ctx.fillRect(0, 0, width, height)
        var bytes = dataBytes()
        var example = bytes.length === 0
        if (example)
            bytes = [0xA5]
        var f = frame(bytes)
        var cells = f.lines[0].length
        var left = 70
        var cw = (width - left - 10) / cells
        var lh = Math.min(110, (height - 60) / f.lines.length)
        ctx.font = "16px sans-serif"
        ctx.fillStyle = "#9fb0c0"
        var title = ["SPI", "I2C", "UART"][fun] + "  "
        for (var b = 0; b < bytes.length; ++b)
            title += hex(bytes[b]) + " "
        ctx.fillText(title + (example ? qsTr("(示例)") : ""), 10, 22)
        for (var l = 0; l < f.lines.length; ++l) {
            var top = 44 + l * lh
            var hi = top + 10, lo = top + lh - 36
            ctx.fillStyle = lineColours[l % 3]
            ctx.fillText(f.names[l], 8, (hi + lo) / 2 + 6)
            ctx.strokeStyle = lineColours[l % 3]
            ctx.lineWidth = 2
            ctx.beginPath()
            var prev = null
            for (var c = 0; c < cells; ++c) {
                var cell = f.lines[l][c]
                var x0 = left + c * cw, x1 = x0 + cw
                if (cell.v === 2) {
                    // a clock pulse: low, high, low
                    ctx.moveTo(x0, lo); ctx.lineTo(x0 + cw / 4, lo); ctx.lineTo(x0 + cw / 4, hi)
                    ctx.lineTo(x0 + 3 * cw / 4, hi); ctx.lineTo(x0 + 3 * cw / 4, lo); ctx.lineTo(x1, lo)
                    prev = lo
                } else if (cell.v < 0) {
                    var mid = (hi + lo) / 2
                    ctx.moveTo(x0, mid); ctx.lineTo(x1, mid)
                    prev = mid
                } else {
                    var y = cell.v ? hi : lo
                    if (prev !== null && prev !== y) { ctx.moveTo(x0, prev); ctx.lineTo(x0, y) }
                    ctx.moveTo(x0, y); ctx.lineTo(x1, y)
                    prev = y
                }
            }
            ctx.stroke()
            ctx.fillStyle = "#d8e2ec"
            ctx.font = (cw < 22 ? 10 : 13) + "px sans-serif"
            for (c = 0; c < cells; ++c)
                if (f.lines[l][c].t !== "")
                    ctx.fillText(f.lines[l][c].t, left + c * cw + 2, lo + 20)
            ctx.font = "16px sans-serif"
        }
    }
}
