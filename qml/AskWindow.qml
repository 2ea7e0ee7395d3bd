import QtQuick 2.12
import appc 1.0

// The question dialog over the whole screen: a text, Cancel and OK, and a
// progress bar while firmware is written.
Rectangle {
    id: ask
    objectName: "askWindow"
    anchors.fill: parent
    z: 98
    color: "#cc000000"
    state: "closed"
    property int asktype: 0
    property alias text: msg.text
    // Focused button: 0 Cancel, 1 OK.
    property int focusButton: 1
    property alias progressBar: bar
    property bool barShown: false
    // Panel keys received (the key dispatch's tests read them).
    property var keys: []
    signal beep(int where)

    function close() {
        state = "closed"
        uidata.clrAskWindowtype()
    }
    function onkey(key) {
        keys.push(key)
        if (!okBtn.visible)
            return
        if (key === Appc.QKey_Up || key === Appc.QKey_Down || key === Appc.QKey_Left || key === Appc.QKey_Right) {
            focusButton = 1 - focusButton
        } else if (key === Appc.QKey_Ok) {
            if (focusButton === 0) {
                close()
            } else {
                var t = asktype
                uidata.askProcess(t)
                uidata.clrAskWindowtype()
            }
        }
    }

    states: [
        State { name: "askWindow"; PropertyChanges { target: ask; visible: true }
                PropertyChanges { target: okBtn; visible: true } PropertyChanges { target: cancelBtn; visible: true } },
        State { name: "powerupInfo"; PropertyChanges { target: ask; visible: true }
                PropertyChanges { target: okBtn; visible: true } PropertyChanges { target: cancelBtn; visible: true } },
        State { name: "upgrading"; PropertyChanges { target: ask; visible: true } },
        State { name: "updateok"; PropertyChanges { target: ask; visible: true } },
        State { name: "fileloadding"; PropertyChanges { target: ask; visible: true } },
        State { name: "closed"; PropertyChanges { target: ask; visible: false } }
    ]

    // Touches outside the box are swallowed.
    MouseArea { anchors.fill: parent }

    Rectangle {
        id: box
        width: 640
        height: 300
        anchors.centerIn: parent
        radius: 8
        color: "#20262e"
        border.color: "#5a6a7a"
        border.width: 2
        Text {
            id: msg
            objectName: "asktext"
            anchors { left: parent.left; right: parent.right; top: parent.top; margins: 30 }
            height: 130
            color: "#f0f0f0"
            font.pixelSize: 26
            wrapMode: Text.Wrap
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
        }
        Rectangle {
            id: bar
            objectName: "progress"
            property int value: 0
            visible: ask.barShown || ask.state === "upgrading"
            anchors { left: parent.left; right: parent.right; bottom: parent.bottom; margins: 40 }
            height: 36
            color: "#101418"
            border.color: "#7a8a9a"
            Rectangle {
                x: 2; y: 2
                height: parent.height - 4
                width: Math.max(0, (parent.width - 4) * Math.min(100, bar.value) / 100)
                color: "#2e8b57"
            }
            Text { anchors.centerIn: parent; color: "white"; font.pixelSize: 20; text: bar.value + " %" }
        }
        Row {
            anchors { horizontalCenter: parent.horizontalCenter; bottom: parent.bottom; bottomMargin: 30 }
            spacing: 60
            Rectangle {
                id: cancelBtn
                objectName: "cancelbtn"
                visible: false
                width: 180; height: 60; radius: 6
                color: ask.focusButton === 0 ? "#3d6d99" : "#3a424c"
                border.color: ask.focusButton === 0 ? "#9fd0ff" : "#5a6a7a"
                Text { anchors.centerIn: parent; color: "white"; font.pixelSize: 24; text: qsTr("取消") }
                MouseArea { anchors.fill: parent; onClicked: { ask.beep(2); ask.state = "closed"; uidata.clrAskWindowtype() } }
            }
            Rectangle {
                id: okBtn
                objectName: "okbtn"
                visible: false
                width: 180; height: 60; radius: 6
                color: ask.focusButton === 1 ? "#3d6d99" : "#3a424c"
                border.color: ask.focusButton === 1 ? "#9fd0ff" : "#5a6a7a"
                Text { anchors.centerIn: parent; color: "white"; font.pixelSize: 24; text: qsTr("确定") }
                MouseArea { anchors.fill: parent; onClicked: { ask.beep(2); uidata.askProcess(ask.asktype); uidata.clrAskWindowtype() } }
            }
        }
    }
}
