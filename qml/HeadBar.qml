import QtQuick 2.12

// The head bar: home (overview), help and the counter switch on the left,
// the instrument's name in the middle; the status icons sit on the right.
Rectangle {
    id: bar
    objectName: "headbar"
    property string frame: "normalframe"
    property bool counterOn: false
    signal home()
    signal help()
    signal counter()
    width: 1280
    height: 56
    color: "#14181d"
    Rectangle { anchors.bottom: parent.bottom; width: parent.width; height: 2; color: "#2f3842" }

    Row {
        x: 8
        y: 6
        spacing: 8
        HeadButton { objectName: "homebtn"; glyph: "⌂"; label: qsTr("概览"); checked: bar.frame === "overviewframe"; onClicked: bar.home() }
        HeadButton { objectName: "helpbtn"; glyph: "?"; label: qsTr("帮助"); checked: bar.frame === "helpviewframe"; onClicked: bar.help() }
        HeadButton { objectName: "imgcounterswitch"; glyph: "Σ"; label: qsTr("计数器"); checked: bar.counterOn; onClicked: bar.counter() }
    }
    Text {
        x: 470
        anchors.verticalCenter: parent.verticalCenter
        visible: !remote.visible
        color: "#c8d2dc"
        font.pixelSize: 22
        font.letterSpacing: 1
        text: qsTr("ORNAV72 任意波形发生器")
    }
    // A remote client's error, for a while, in place of the name: the
    // front-panel user keeps the parameters in view.
    function showRemote(text, ms) {
        remote.text = text
        remote.visible = true
        remoteTimer.interval = ms > 0 ? ms : 2000
        remoteTimer.restart()
    }
    Text {
        id: remote
        objectName: "remotenote"
        x: 300
        width: 600
        height: 52
        anchors.verticalCenter: parent.verticalCenter
        visible: false
        color: "#ff8a65"
        font.pixelSize: 18
        minimumPixelSize: 10
        fontSizeMode: Text.Fit
        wrapMode: Text.Wrap
        verticalAlignment: Text.AlignVCenter
        horizontalAlignment: Text.AlignHCenter
        Timer { id: remoteTimer; interval: 2000; onTriggered: remote.visible = false }
    }
}
