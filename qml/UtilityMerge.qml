import QtQuick 2.12

// Utility page 2: merging a channel pair into one output. A merged channel
// adds its partner's signal to its own; the drawing shows the routing.
Item {
    id: page
    objectName: "UtilityMerge"
    property var appdata: null
    // Merge setting per channel (0 off, else the channel's number).
    property var merge: [0, 0, 0, 0]
    signal entryTouched(var model, int listNo)
    // The controller's redraw: the pair's first channel (1 or 3) and the
    // merge settings of both channels.
    function redrawmerge(first, m1, m2) {
        var l = merge.slice()
        var i = first === 3 ? 2 : 0
        l[i] = m1
        l[i + 1] = m2
        merge = l
        routing.requestPaint()
    }
    function refresh() {
        var models = uidata ? uidata.chMergeSetList : []
        var l = [0, 0, 0, 0]
        for (var i = 0; i < models.length && i < 4; ++i)
            l[i] = models[i] ? models[i].value : 0
        merge = l
        routing.requestPaint()
    }
    onVisibleChanged: if (visible) refresh()

    Column {
        Repeater {
            model: 4
            Text { height: 56; width: 60; verticalAlignment: Text.AlignVCenter; font.pixelSize: 20; font.bold: true
                   color: page.appdata ? page.appdata.chColor(index) : "white"; text: "CH" + (index + 1) }
        }
    }
    UtilityList {
        id: list
        objectName: "mergesetlistview"
        x: 60
        entryWidth: 260
        rows: 4
        listNo: 0
        nameWidth: 150
        appdata: page.appdata
        model: uidata ? uidata.chMergeSetList : []
        delegate: UtilityEntry {
            width: 260
            nameWidth: 150
            model: modelData
            appdata: page.appdata
            accent: page.appdata ? page.appdata.chColor(index) : "#446722"
            current: GridView.isCurrentItem && list.activeFocus
            onTouched: {
                list.currentIndex = index
                list.forceActiveFocus()
                if (modelData && !modelData.mask)
                    uidata.mergeClick(index, modelData.value === 0)
                else
                    uidata.mergeClick(index, true)  // refused with the warning beep
            }
        }
    }
    Connections {
        target: uidata
        function onChMergeSetListChanged(l) { page.refresh() }
        function onMergeRoutingChanged(first, firstMerged, secondMerged) {
            page.redrawmerge(first, firstMerged, secondMerged)
        }
    }

    // The routing: each channel's own signal goes to its output; a merged
    // channel's output adds the partner's signal.
    Canvas {
        id: routing
        objectName: "mergerouting"
        x: 340
        y: 0
        width: 700
        height: 520
        onPaint: {
            var ctx = getContext("2d")
            ctx.reset()
            ctx.fillStyle = "#101418"
            ctx.fillRect(0, 0, width, height)
            ctx.font = "20px sans-serif"
            for (var p = 0; p < 2; ++p) {
                var top = 30 + p * 250
                for (var k = 0; k < 2; ++k) {
                    var ch = p * 2 + k
                    var y = top + 40 + k * 120
                    var colour = page.appdata ? page.appdata.chColor(ch) : "#999999"
                    // source box
                    ctx.strokeStyle = colour
                    ctx.lineWidth = 2
                    ctx.strokeRect(20, y - 24, 130, 48)
                    ctx.fillStyle = colour
                    ctx.fillText(qsTr("CH%1 信号").arg(ch + 1), 32, y + 7)
                    // output box
                    ctx.strokeRect(530, y - 24, 140, 48)
                    ctx.fillText(qsTr("CH%1 输出").arg(ch + 1), 545, y + 7)
                    // straight path with the summing point
                    ctx.beginPath()
                    ctx.moveTo(150, y)
                    ctx.lineTo(530, y)
                    ctx.stroke()
                    if (page.merge[ch] > 0) {
                        var other = ch ^ 1
                        var oy = top + 40 + (other - p * 2) * 120
                        ctx.strokeStyle = page.appdata ? page.appdata.chColor(other) : "#999999"
                        ctx.beginPath()
                        ctx.moveTo(150, oy)
                        ctx.lineTo(260, oy)
                        ctx.lineTo(360, y + (oy < y ? -18 : 18))
                        ctx.stroke()
                        ctx.strokeStyle = "white"
                        ctx.beginPath()
                        ctx.arc(370, y, 18, 0, 2 * Math.PI)
                        ctx.fillStyle = "#101418"
                        ctx.fill()
                        ctx.stroke()
                        ctx.fillStyle = "white"
                        ctx.fillText("+", 363, y + 7)
                    }
                }
            }
        }
    }
}
