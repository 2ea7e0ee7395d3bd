import QtQuick 2.12

Rectangle {
    id: b
    property string glyph: ""
    property string label: ""
    property bool checked: false
    signal clicked()
    width: 140
    height: 42
    radius: 5
    color: checked ? "#3d6d99" : "#242a31"
    border.color: "#46505b"
    Text { x: 10; anchors.verticalCenter: parent.verticalCenter; color: "white"; font.pixelSize: 24; text: b.glyph }
    Text { x: 40; anchors.verticalCenter: parent.verticalCenter; width: 96; elide: Text.ElideRight
           color: "#e0e6ec"; font.pixelSize: 18; text: b.label }
    MouseArea { anchors.fill: parent; onClicked: b.clicked() }
}
