import QtQuick 2.12
import appc 1.0

// Utility page 4: the digital protocol output on channels 2 to 4 (SPI,
// I2C or UART): the function, its settings, the data to send, the output
// switch, the manual send, and a timing drawing of the frame the settings
// give. focusIndex: 0 function, 1 settings list, 2 data, 3 output switch,
// 4 send button (manual sending only).
Item {
    id: page
    objectName: "UtilityDigitalSet"
    property var appdata: null
    property int focusIndex: 1
    property int fun: 0
    property bool hexFormat: true
    property bool autoSend: false
    property bool outputOn: false
    property string inputText: ""
    property bool typing: false
    readonly property var funNames: ["SPI", "I2C", "UART"]
    signal entryTouched(var model, int listNo)
    signal toMenu()
    signal beep(int where)
    signal warnBeep(int where)

    function reload() {
        if (!uidata)
            return
        fun = uidata.getdigitalfun()
        hexFormat = !uidata.getdigitalfromat()
        autoSend = uidata.getdigitalAutoSend()
        outputOn = uidata.getdigitalSwitch()
        timing.requestPaint()
    }
    // Redraws and reloads asked by the controller, counted.
    property int paints: 0
    property int reloads: 0
    property var pageKeys: []
    function digitalparamReload() { reloads += 1; reload() }
    function digitalformatctl(textFormat) { hexFormat = !textFormat; timing.requestPaint() }
    function digitalsendctl(auto) { autoSend = !!auto; if (autoSend && focusIndex === 4) focusIndex = 3 }
    function requestPaint() { paints += 1; reload() }
    function setInputText(text) { inputText = String(text); timing.requestPaint() }
    onFocusIndexChanged: if (uidata) uidata.reportPageFocus(4, focusIndex)
    function setfocusIndex(i) { focusIndex = Math.max(0, Math.min(lastFocus(), i)) }
    function lastFocus() { return autoSend ? 3 : 4 }

    function selectFun(f) {
        if (f < 0 || f > 2)
            return false
        if (!uidata.digitalfunChanged(f)) {
            warnBeep(2)
            return false
        }
        fun = f
        timing.requestPaint()
        return true
    }
    function toggleOutput() {
        if (uidata.setdigitalSwitch(!outputOn))
            outputOn = !outputOn
        else
            warnBeep(2)
    }
    function applyText() {
        typing = false
        uidata.digtalTextChanged(inputText)
        timing.requestPaint()
    }
    function typeChar(c) {
        if (inputText.length < 2048 * 3)
            inputText += c
        timing.requestPaint()
    }

    // Keys the controller gives the page while its focus is not on the list.
    function digitalOnkey(key, where) {
        pageKeys = pageKeys.concat([key])
        if (!list.activeFocus) {
            list.forceActiveFocus()
            focusIndex = 0
            beep(1)
            return
        }
        if (typing) {
            if (key >= Appc.QKey_0 && key <= Appc.QKey_9) typeChar(String(key - Appc.QKey_0))
            else if (key === Appc.QKey_Dot) typeChar(hexFormat ? " " : ".")
            else if (key === Appc.QKey_Backspace) { inputText = inputText.slice(0, -1); timing.requestPaint() }
            else if (key === Appc.QKey_Ok) applyText()
            else if (key === Appc.QKey_Cancel) { typing = false; }
            else { warnBeep(1); return }
            beep(1)
            return
        }
        if (key === Appc.QKey_Left) {
            if (focusIndex === 0) toMenu()
            else focusIndex -= 1
        } else if (key === Appc.QKey_Right) {
            if (focusIndex < lastFocus()) focusIndex += 1
            else { warnBeep(1); return }
        } else if (key === Appc.QKey_Up || key === Appc.QKey_Down) {
            if (focusIndex !== 0) { warnBeep(1); return }
            if (!selectFun((fun + (key === Appc.QKey_Down ? 1 : 2)) % 3))
                return
        } else if (key === Appc.QKey_Ok) {
            if (focusIndex === 2) typing = true
            else if (focusIndex === 3) { toggleOutput(); return }
            else if (focusIndex === 4) { uidata.channelManulTrigChanged(7); return }
            else { warnBeep(1); return }
        } else {
            warnBeep(1)
            return
        }
        beep(1)
    }
    onVisibleChanged: if (visible) reload()
    Component.onCompleted: {
        if (uidata)
            uidata.reportPageFocus(4, focusIndex)
        reload()
    }
    Connections {
        target: uidata
        function onDigitalSetListChanged(l) { page.reload() }
        function onDigitalTextFormatChanged(text) { page.digitalformatctl(text) }
        function onDigitalAutoSendChanged(on) { page.digitalsendctl(on) }
        function onDigitalPaintRequested() { page.requestPaint() }
        function onDigitalReloadRequested() { page.digitalparamReload() }
        function onDigitalInputChanged(text) { page.setInputText(text) }
        function onPageKeyRequested(p, key, repeat) { if (p === 4) page.digitalOnkey(key, repeat) }
    }

    // Function selector.
    Row {
        objectName: "funsel"
        spacing: 6
        Repeater {
            model: page.funNames
            Rectangle {
                width: 100
                height: 44
                radius: 4
                color: index === page.fun ? "#446722" : "#242a31"
                border.color: page.focusIndex === 0 && list.activeFocus ? "#ffd54f" : "#46505b"
                border.width: 2
                Text { anchors.centerIn: parent; color: "white"; font.pixelSize: 20; font.bold: index === page.fun; text: modelData }
                MouseArea { anchors.fill: parent; onClicked: { list.forceActiveFocus(); page.focusIndex = 0; if (page.selectFun(index)) page.beep(2) } }
            }
        }
    }
    UtilityList {
        id: list
        objectName: "digitallistview"
        y: 54
        rows: 8
        listNo: 6
        entryWidth: 318
        nameWidth: 120
        cellHeight: 52
        appdata: page.appdata
        marking: page.focusIndex === 1
        model: uidata ? uidata.digitalSetList : []
        onEntryTouched: { page.focusIndex = 1; page.entryTouched(model, 6) }
    }

    // The data to send.
    Rectangle {
        id: dataBox
        objectName: "digitaldata"
        x: 340
        y: 0
        width: 500
        height: 96
        radius: 4
        color: "#101418"
        border.color: page.typing ? "#ffd54f" : page.focusIndex === 2 && list.activeFocus ? "#6f9a3a" : "#2c333b"
        border.width: 2
        Text { x: 10; y: 4; color: "#9fb0c0"; font.pixelSize: 16
               text: qsTr("发送数据") + " (" + (page.hexFormat ? qsTr("十六进制") : qsTr("文本")) + ")" }
        Text {
            x: 10; y: 28
            width: parent.width - 20
            height: parent.height - 32
            color: "white"
            font.pixelSize: 20
            font.family: "monospace"
            wrapMode: Text.WrapAnywhere
            elide: Text.ElideRight
            text: page.inputText + (page.typing ? "▏" : "")
        }
        MouseArea { anchors.fill: parent; onClicked: { list.forceActiveFocus(); page.focusIndex = 2; page.typing = true; page.beep(2) } }
    }
    // Hexadecimal letters and the space while typing (digits come from the pad).
    Grid {
        objectName: "digitalkeys"
        x: 340
        y: 102
        columns: 9
        spacing: 4
        visible: page.typing
        Repeater {
            model: page.hexFormat ? ["A", "B", "C", "D", "E", "F", "␣", "⌫", "↵"]
                                  : ["0", "1", "2", "3", "4", "5", "␣", "⌫", "↵"]
            Rectangle {
                width: 52; height: 40; radius: 4; color: "#2b323b"; border.color: "#6b7885"
                Text { anchors.centerIn: parent; color: "white"; font.pixelSize: 20; text: modelData }
                MouseArea {
                    anchors.fill: parent
                    onClicked: {
                        if (modelData === "␣") page.typeChar(" ")
                        else if (modelData === "⌫") { page.inputText = page.inputText.slice(0, -1); timing.requestPaint() }
                        else if (modelData === "↵") page.applyText()
                        else page.typeChar(modelData)
                        page.beep(2)
                    }
                }
            }
        }
    }
    Column {
        x: 850
        y: 0
        spacing: 8
        Rectangle {
            objectName: "output"
            width: 190; height: 56; radius: 6
            color: page.outputOn ? "#446722" : "#242a31"
            border.color: page.focusIndex === 3 && list.activeFocus ? "#ffd54f" : "#6f9a3a"
            border.width: 2
            Text { anchors.centerIn: parent; color: "white"; font.pixelSize: 20
                   text: qsTr("输出") + "  " + (page.outputOn ? qsTr("开") : qsTr("关")) }
            MouseArea { anchors.fill: parent; onClicked: { list.forceActiveFocus(); page.focusIndex = 3; page.toggleOutput() } }
        }
        Rectangle {
            objectName: "digitalsend"
            width: 190; height: 56; radius: 6
            visible: !page.autoSend
            color: "#242a31"
            border.color: page.focusIndex === 4 && list.activeFocus ? "#ffd54f" : "#6f9a3a"
            border.width: 2
            Text { anchors.centerIn: parent; color: "white"; font.pixelSize: 20; text: qsTr("手动发送") }
            MouseArea { anchors.fill: parent; onClicked: { list.forceActiveFocus(); page.focusIndex = 4; uidata.channelManulTrigChanged(7) } }
        }
    }

    DigitalTiming {
        id: timing
        objectName: "digitaltiming"
        x: 340
        y: 150
        width: 710
        height: 380
        fun: page.fun
        hexFormat: page.hexFormat
        dataText: page.inputText
    }
}
