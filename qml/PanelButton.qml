import QtQuick 2.12

// A button of a channel's button column: its name and its current value.
Rectangle {
    id: btn
    property bool checked: false
    property string label: ""
    property string valueText: ""
    property color accent: "#990000"
    signal clicked()
    function setChecked(v) { checked = !!v }
    function setVisible(v) { visible = !!v }
    width: 190
    height: 76
    radius: 6
    color: checked ? accent : "#242a31"
    border.color: checked ? Qt.lighter(accent, 1.4) : "#46505b"
    border.width: 2
    Text { x: 12; y: 8; color: "#d0d8e0"; font.pixelSize: 18; text: btn.label }
    Text { anchors { right: parent.right; rightMargin: 12; bottom: parent.bottom; bottomMargin: 8 }
           width: parent.width - 24; horizontalAlignment: Text.AlignRight; elide: Text.ElideRight
           color: "white"; font.pixelSize: 22; font.bold: true; text: btn.valueText }
    MouseArea { anchors.fill: parent; onClicked: btn.clicked() }
}
