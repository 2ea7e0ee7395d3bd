import QtQuick 2.12

// One entry of a utility list (a channel setting, a coupling setting, a
// counter, digital-output or system setting): its name and its value. A
// switch or a choice shows the text of its state.
Rectangle {
    id: row
    property var model: null
    property var appdata: null
    property bool current: false
    property color accent: "#446722"
    property int nameWidth: 130
    signal touched()
    width: 300
    height: 50
    radius: 4
    color: current ? Qt.darker(accent, 1.4) : "#1a1f25"
    border.color: current ? Qt.lighter(accent, 1.5) : "#2c333b"
    border.width: current ? 2 : 1
    opacity: model && model.mask ? 0.4 : 1.0

    // Texts of the choices of the system, counter, digital and coupling
    // entries, by parameter index (the channel entries' are in AppData).
    readonly property var choices: ({
        63: [qsTr("关"), qsTr("开")],
        64: [qsTr("比率"), qsTr("差值")],
        67: [qsTr("关"), qsTr("开")],
        68: [qsTr("比率"), qsTr("差值")],
        71: [qsTr("关"), qsTr("开")],
        72: [qsTr("比率"), qsTr("差值")],
        75: ["中文简体", "English"],
        76: [qsTr("逗号"), qsTr("空格"), qsTr("无")],
        78: ["30%", "40%", "50%", "60%", "70%", "80%", "90%", "100%"],
        79: [qsTr("关"), qsTr("5分钟"), qsTr("15分钟"), qsTr("30分钟"), qsTr("60分钟")],
        80: [qsTr("内部"), qsTr("外部")],
        81: ["BMP", "JPEG", "PNG"],
        83: [qsTr("独立"), qsTr("同步")],
        85: [qsTr("默认"), qsTr("上次"), qsTr("预设1"), qsTr("预设2"), qsTr("预设3"), qsTr("预设4"), qsTr("预设5")],
        86: [qsTr("预设1"), qsTr("预设2"), qsTr("预设3"), qsTr("预设4"), qsTr("预设5")],
        87: [qsTr("执行"), qsTr("执行")],
        88: ["DHCP", qsTr("静态")],
        94: ["DC", "AC"],
        99: [qsTr("十六进制"), qsTr("文本")],
        107: ["4", "5", "6", "7", "8"],
        108: ["1", "2", "2"],
        109: [qsTr("无"), qsTr("偶校验"), qsTr("奇校验")]
    })
    function choiceText(index, value) {
        if (index === 62)  // merge: the channel's number when on
            return value > 0 ? qsTr("开") : qsTr("关")
        var l = choices[index]
        if (l)
            return value >= 0 && value < l.length ? l[value] : String(value)
        return appdata ? appdata.choiceText(index, value) : String(value)
    }
    readonly property string name: model && appdata ? appdata.paramName(model.paramindex, model.nameindex) : ""
    readonly property bool choice: model ? model.isMultiSelect : false
    readonly property string valueText: !model ? "" : choice ? choiceText(model.paramindex, model.value)
                                                             : model.listvalue
    readonly property bool editing: model ? model.paramfocus : false

    // A long name takes a second line (and smaller type) rather than "…".
    Text {
        x: 10
        anchors.verticalCenter: parent.verticalCenter
        width: row.nameWidth - 14
        height: row.height - 4
        verticalAlignment: Text.AlignVCenter
        color: "#aebbc8"
        font.pixelSize: 18
        wrapMode: Text.Wrap
        fontSizeMode: Text.Fit
        minimumPixelSize: 11
        lineHeight: 0.95
        text: row.name
    }
    Text {
        x: row.nameWidth
        anchors.verticalCenter: parent.verticalCenter
        width: row.width - row.nameWidth - 10
        color: row.editing ? "#ffd54f" : "white"
        font.pixelSize: 21
        fontSizeMode: Text.HorizontalFit
        minimumPixelSize: 12
        horizontalAlignment: Text.AlignRight
        text: row.valueText
    }
    MouseArea { anchors.fill: parent; onClicked: row.touched() }
}
