import QtQuick 2.12

// An icon of the status bar; the controller shows or hides it with setVisible.
Rectangle {
    id: icon
    property string label: ""
    property color tint: "#6fb1e8"
    function setVisible(n) { visible = !!n }
    width: 64
    height: 34
    radius: 4
    color: "transparent"
    border.color: tint
    border.width: 2
    Text { anchors.centerIn: parent; color: icon.tint; font.pixelSize: 16; font.bold: true; text: icon.label }
}
