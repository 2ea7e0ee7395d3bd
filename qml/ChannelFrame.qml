import QtQuick 2.12

// One channel's summary box of the foot bar: number, output, inversion,
// load, limits, base wave and mode.
Rectangle {
    id: frame
    property int ch: 0
    property color accent: "#990000"
    property bool on: false
    property bool inverted: false
    property bool masked: false
    property string load: ""
    property string limitH: ""
    property string limitL: ""
    property string wave: ""
    property string mode: ""
    // The role of a channel serving sync or digital output.
    property string role: ""
    property bool current: false
    signal touched(int ch)
    width: 314
    height: 80
    radius: 4
    color: "#15191e"
    border.color: current ? accent : "#39424c"
    border.width: current ? 3 : 1

    Rectangle {
        id: badge
        x: 6; y: 6
        width: 70; height: 68
        radius: 4
        color: frame.accent
        opacity: frame.on && !frame.masked ? 1.0 : 0.3
        Column {
            anchors.centerIn: parent
            Text { anchors.horizontalCenter: parent.horizontalCenter; color: "white"; font.pixelSize: 24; font.bold: true
                   text: "CH" + (frame.ch + 1) }
            Text { anchors.horizontalCenter: parent.horizontalCenter; color: "white"; font.pixelSize: 16
                   text: frame.on ? "ON" : "OFF" }
        }
    }
    Column {
        x: 84; y: 6
        spacing: 2
        Text { color: "#e8e8e8"; font.pixelSize: 20; width: 150; elide: Text.ElideRight
               text: frame.role !== "" ? frame.role : frame.wave + (frame.mode !== "" ? "  " + frame.mode : "") }
        Text { color: "#b8c4cf"; font.pixelSize: 16; width: 150; elide: Text.ElideRight
               text: qsTr("负载") + " " + frame.load }
        Text { color: "#b8c4cf"; font.pixelSize: 16; width: 150; visible: frame.inverted; text: qsTr("反相") }
    }
    Column {
        x: 236; y: 8
        spacing: 4
        visible: frame.limitH !== "" || frame.limitL !== ""
        Text { color: "#d9a441"; font.pixelSize: 14; text: "▲ " + frame.limitH }
        Text { color: "#d9a441"; font.pixelSize: 14; text: "▼ " + frame.limitL }
    }
    MouseArea { anchors.fill: parent; onClicked: frame.touched(frame.ch) }
}
