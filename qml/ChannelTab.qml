import QtQuick 2.12

// The tab of one channel: its page and its column of buttons.
Item {
    id: tab
    property int ch: 0
    signal signalSelected(int ch, int mode, int type, bool base, int baseType)
    objectName: "ch" + (ch + 1)

    ChannelPage {
        objectName: "ch" + (tab.ch + 1) + "mc"
        ch: tab.ch
        anchors.fill: parent
        onSignalSelected: tab.signalSelected(ch, mode, type, base, baseType)
    }
    Item {
        objectName: "ch" + (tab.ch + 1) + "cc"
        x: 1100
        y: 100
        Column {
            objectName: "buttonColumn"
            // The output switch: a touch toggles the channel's output.
            Rectangle { id: output; objectName: "output"; property bool checked: false
                        width: 150; height: 60; color: checked ? "#2e7d32" : "#37474f"
                        function setChecked(v) { checked = v }
                        MouseArea { anchors.fill: parent; onClicked: uidata.chSwitch(tab.ch, !output.checked) } }
            Item { objectName: "invert"; property bool checked: false
                   function setChecked(v) { checked = v } }
            Item { objectName: "handltrig"; visible: false
                   function setVisible(v) { visible = v } }
            Item { objectName: "loadbtn"; property string load: ""
                   function setload(t) { load = t } }
            Item { objectName: "copybtn"; visible: true
                   function setvisible(v) { visible = v } }
        }
    }
}
