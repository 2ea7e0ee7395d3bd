import QtQuick 2.12
import appc 1.0

// Utility page 3: the frequency counter: its settings, the results with
// their statistics over the last results, and the button that clears them.
// focusIndex: 0 the settings list, 1 the clear button.
Item {
    id: page
    objectName: "UtilityCounterSet"
    property var appdata: null
    property int focusIndex: 0
    property int samples: 0
    // Rows: frequency, period, duty, positive and negative pulse width;
    // columns: reading, mean, minimum, maximum, standard deviation.
    property var results: [[], [], [], [], []]
    signal entryTouched(var model, int listNo)
    signal toMenu()
    signal beep(int where)
    signal warnBeep(int where)

    // Keys the controller does not handle itself (the page's own controls).
    // Keys received, newest last (kept for the key tests).
    property var pageKeys: []
    function counterOnkey(key) {
        pageKeys = pageKeys.concat([key])
        if (!list.activeFocus) {
            list.forceActiveFocus()
            focusIndex = 0
            return
        }
        if (focusIndex === 0) {
            if (key === Appc.QKey_Left) { toMenu(); beep(1) }
            else if (key === Appc.QKey_Right) { focusIndex = 1; beep(1) }
            else warnBeep(1)
            return
        }
        if (key === Appc.QKey_Left) { focusIndex = 0; beep(1) }
        else if (key === Appc.QKey_Ok) uidata.counterClr()
        else warnBeep(1)
    }
    // The results of one refresh: five lists of texts and the sample count.
    onFocusIndexChanged: if (uidata) uidata.reportPageFocus(3, focusIndex)
    Component.onCompleted: if (uidata) uidata.reportPageFocus(3, focusIndex)
    Connections {
        target: uidata
        function onPageKeyRequested(p, key, repeat) { if (p === 3) page.counterOnkey(key) }
        function onCounterResultsUpdated(fre, period, duty, pwidth, nwidth, count) {
            page.updateCounter(fre, period, duty, pwidth, nwidth, count)
        }
    }
    function updateCounter(fre, period, duty, pwidth, nwidth, count) {
        results = [fre || [], period || [], duty || [], pwidth || [], nwidth || []]
        samples = count || 0
    }

    UtilityList {
        id: list
        objectName: "countersetlistview"
        rows: 5
        listNo: 6
        entryWidth: 320
        nameWidth: 130
        appdata: page.appdata
        marking: page.focusIndex === 0
        model: uidata ? uidata.counterSetlist : []
        onActiveFocusChanged: if (activeFocus) page.focusIndex = 0
        onEntryTouched: page.entryTouched(model, 6)
    }

    Rectangle {
        id: stats
        objectName: "statisticRec"
        x: 350
        y: 0
        width: 700
        height: 330
        radius: 6
        color: "#101418"
        border.color: "#446722"
        readonly property var rowNames: [qsTr("频率"), qsTr("周期"), qsTr("占空比"), qsTr("正脉宽"), qsTr("负脉宽")]
        readonly property var colNames: [qsTr("当前值"), qsTr("平均值"), qsTr("最小值"), qsTr("最大值"), qsTr("标准差")]
        Grid {
            x: 12
            y: 12
            columns: 6
            columnSpacing: 5
            rowSpacing: 10
            Repeater {
                model: 36
                Text {
                    readonly property int r: Math.floor(index / 6)
                    readonly property int c: index % 6
                    // Every reading whole, with its unit: a long one takes
                    // smaller type.
                    width: c === 0 ? 106 : 108
                    fontSizeMode: Text.HorizontalFit
                    minimumPixelSize: 10
                    font.pixelSize: r === 0 || c === 0 ? 18 : 16
                    color: r === 0 || c === 0 ? "#9fb0c0" : "white"
                    text: r === 0 ? (c === 0 ? "" : stats.colNames[c - 1])
                                  : c === 0 ? stats.rowNames[r - 1]
                                            : (page.results[r - 1] && page.results[r - 1][c - 1] !== undefined
                                               ? page.results[r - 1][c - 1] : "------")
                }
            }
        }
        Text {
            x: 12
            y: 270
            color: "#9fb0c0"
            font.pixelSize: 18
            text: qsTr("统计次数") + ": " + page.samples
        }
        Rectangle {
            objectName: "counterClr"
            x: stats.width - 172
            y: 262
            width: 160
            height: 56
            radius: 6
            color: page.focusIndex === 1 && list.activeFocus ? "#446722" : "#242a31"
            border.color: "#6f9a3a"
            border.width: 2
            Text { anchors.centerIn: parent; color: "white"; font.pixelSize: 20; text: qsTr("清除统计") }
            MouseArea { anchors.fill: parent; onClicked: uidata.counterClr() }
        }
    }
}
