import QtQuick 2.12
import appc 1.0

// The number pad of the focused entry and its unit row. Its state is the
// entry's keyboard type; an empty type hides it. Keys go to the controller
// as panel keys from the screen (where 2), units as their position in the
// row (below 32).
Item {
    id: vk
    objectName: "vk"
    visible: false
    state: ""
    property bool subkvisible: false
    property int ch: 0
    property int listIndex: 0
    property int unitFocus: 0
    property color accent: "#990000"
    // Knob keys received (the key dispatch's tests read them).
    property var knobKeys: []
    signal key(int realkey, int ch, int listIndex)
    signal hidden()
    // Panel keys while the file browser is open (state "fileBrowse").
    signal browseKey(int realkey, int repeat)

    readonly property var unitRows: ({
        "Hz": ["MHz", "kHz", "Hz", "mHz", "μHz"],
        "sapslist": ["MSa/s", "kSa/s", "Sa/s", "mSa/s", "μSa/s"],
        "Time": ["ns", "μs", "ms", "s", "ks"],
        "AmplVoltage": ["Vpp", "mVpp", "Vrms", "mVrms", "dBm"],
        "VppVoltage": ["Vpp", "mVpp"],
        "DCVoltage": ["V", "mV"],
        "Percent": ["%", "25%", "50%", "75%", "95%"],
        "Degree": ["°", "90°", "180°", "270°", "360°"],
        "bitrate": ["Mbps", "kbps", "bps", "mbps", "μbps"],
        "LoadOhz": ["kΩ", "Ω", "50Ω", "HighZ"],
        "Language": ["中文简体", "English"],
        "BackLight": ["30%", "40%", "50%", "60%", "70%", "80%", "90%", "100%"],
        "Separator": [qsTr("逗号"), qsTr("空格"), qsTr("无")],
        "ScreenSave": [qsTr("关"), qsTr("5分钟"), qsTr("15分钟"), qsTr("30分钟"), qsTr("60分钟")],
        "Picformat": ["BMP", "JPEG", "PNG"],
        "powerUpParam": [qsTr("默认"), qsTr("上次"), qsTr("预设1"), qsTr("预设2"), qsTr("预设3"), qsTr("预设4"), qsTr("预设5")],
        "saveParam": [qsTr("预设1"), qsTr("预设2"), qsTr("预设3"), qsTr("预设4"), qsTr("预设5")],
        "CodeElement": ["PN3", "PN5", "PN7", "PN9", "PN11", "PN13", "PN15", "PN17", "PN21", "PN23", "PN25",
                        "PN27", "PN29", "PN31", "PN33"],
        "QAMStarMap": ["QAM4", "QAM8", "QAM16", "QAM32", "QAM64", "QAM128", "QAM256"],
        "Modwave": [qsTr("正弦"), qsTr("方波"), qsTr("上升锯齿"), qsTr("下降锯齿"), qsTr("噪声"), qsTr("任意波")],
        "harmonictype": [qsTr("奇次"), qsTr("偶次"), qsTr("全部"), qsTr("自定义")],
        "TrigerEdge": [qsTr("关"), qsTr("上升沿"), qsTr("下降沿")],
        "TrigerType": [qsTr("内部"), qsTr("外部上升沿"), qsTr("外部下降沿"), qsTr("手动")]
    })
    // Types whose entries are typed on the number pad.
    readonly property var numericTypes: ["Hz", "sapslist", "Time", "AmplVoltage", "VppVoltage", "DCVoltage",
        "Percent", "Degree", "bitrate", "LoadOhz", "SNR", "noSubBoard"]
    // The unit key each button sends: its row in the entry's unit table.
    // The time table runs from "ks" down to "ns", its row the other way.
    readonly property var unitKeys: ({ "Time": [4, 3, 2, 1, 0] })
    function unitKeyAt(pos) { var k = unitKeys[state]; return k !== undefined ? k[pos] : pos }
    // The unit OK takes after typing: the highlighted button's.
    readonly property int unitCode: subkvisible && unitFocus < units.length ? unitKeyAt(unitFocus) : -1
    readonly property var units: unitRows[state] !== undefined ? unitRows[state] : []
    readonly property bool numeric: numericTypes.indexOf(state) >= 0

    states: [
        State { name: "Hz" }, State { name: "sapslist" }, State { name: "Time" }, State { name: "AmplVoltage" },
        State { name: "VppVoltage" }, State { name: "DCVoltage" }, State { name: "Percent" },
        State { name: "Degree" }, State { name: "bitrate" }, State { name: "LoadOhz" }, State { name: "Language" },
        State { name: "BackLight" }, State { name: "Separator" }, State { name: "ScreenSave" },
        State { name: "Picformat" }, State { name: "powerUpParam" }, State { name: "saveParam" },
        State { name: "CodeElement" }, State { name: "QAMStarMap" }, State { name: "Modwave" },
        State { name: "harmonictype" }, State { name: "TrigerEdge" }, State { name: "TrigerType" },
        State { name: "SNR" }, State { name: "uartverify" }, State { name: "uartstartbits" },
        State { name: "uartstopbits" }, State { name: "fullkb" }, State { name: "noSubBoard" },
        State { name: "fileBrowse" }
    ]

    // The key routing decides on what the keyboard shows.
    function report() { if (uidata) uidata.reportKeyboard(visible, state, subkvisible) }
    onVisibleChanged: report()
    onStateChanged: report()
    onSubkvisibleChanged: report()
    Component.onCompleted: report()

    // Opens the pad for the focused entry (an empty type closes it).
    // Opens the pad for an entry whose value is shown in unit row "shown"
    // of its unit table: that unit is highlighted first.
    function openFor(type, channel, index, shown) {
        updateKeyBoard(type, channel, index)
        for (var i = 0; i < units.length; ++i)
            if (unitKeyAt(i) === shown)
                unitFocus = i
    }
    function updateKeyBoard(type, channel, index) {
        ch = channel
        listIndex = index
        state = type
        unitFocus = 0
        visible = type !== ""
        subkvisible = visible && units.length > 0
        if (!visible)
            hidden()
    }
    function hidefouce() {
        visible = false
        subkvisible = false
        state = ""
        hidden()
    }
    // Panel keys while the unit row (or the file browser) is active: Up and
    // Down move in the row, wrapping; OK takes the unit.
    function hdknob(k, where) {
        knobKeys.push(k)
        if (state === "fileBrowse") {
            browseKey(k, where)
            return
        }
        if (!subkvisible || units.length === 0)
            return
        if (k === Appc.QKey_Up)
            unitFocus = (unitFocus + units.length - 1) % units.length
        else if (k === Appc.QKey_Down)
            unitFocus = (unitFocus + 1) % units.length
    }

    // Unit row: above the moved preview.
    Row {
        id: unitRow
        objectName: "unitrow"
        x: 220
        y: 96
        spacing: 4
        visible: vk.subkvisible
        Repeater {
            model: vk.units
            Rectangle {
                width: Math.min(120, (500 - 4 * (vk.units.length - 1)) / Math.max(1, vk.units.length))
                height: 56
                radius: 4
                color: index === vk.unitFocus ? vk.accent : "#2b323b"
                border.color: "#6b7885"
                Text {
                    anchors.centerIn: parent
                    width: parent.width - 6
                    horizontalAlignment: Text.AlignHCenter
                    fontSizeMode: Text.HorizontalFit
                    minimumPixelSize: 12
                    font.pixelSize: 22
                    color: "white"
                    text: modelData
                }
                MouseArea { anchors.fill: parent; onClicked: { vk.unitFocus = index; vk.key(vk.unitKeyAt(index), vk.ch, vk.listIndex) } }
            }
        }
    }
    // Number pad.
    Grid {
        id: pad
        objectName: "keypad"
        x: 0
        y: 96
        columns: 3
        spacing: 6
        visible: vk.numeric
        Repeater {
            model: [
                ["7", Appc.QKey_7], ["8", Appc.QKey_8], ["9", Appc.QKey_9],
                ["4", Appc.QKey_4], ["5", Appc.QKey_5], ["6", Appc.QKey_6],
                ["1", Appc.QKey_1], ["2", Appc.QKey_2], ["3", Appc.QKey_3],
                ["0", Appc.QKey_0], [".", Appc.QKey_Dot], ["±", Appc.QKey_Symbol],
                ["⌫", Appc.QKey_Backspace], ["✕", Appc.QKey_Cancel], ["↵", Appc.QKey_Ok]
            ]
            Rectangle {
                width: 64
                height: 64
                radius: 6
                color: padArea.pressed ? vk.accent : "#2b323b"
                border.color: "#6b7885"
                Text { anchors.centerIn: parent; color: "white"; font.pixelSize: 28; text: modelData[0] }
                MouseArea { id: padArea; anchors.fill: parent; onClicked: vk.key(modelData[1], vk.ch, vk.listIndex) }
            }
        }
    }
}
