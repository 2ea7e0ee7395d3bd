import QtQuick 2.12

// The tab of one channel: its page and its column of buttons.
Item {
    id: tab
    property int ch: 0
    property var appdata: null
    property color accent: "#990000"
    property bool keyboardOpen: false
    signal signalSelected(int ch, int mode, int type, bool base, int baseType)
    signal beep(int where)
    signal warnBeep(int where)
    signal entryFocus(var model)
    objectName: "ch" + (ch + 1)

    property alias page: page
    Connections {
        target: uidata
        function onChInversionChanged(ch, inverted) { if (ch === tab.ch) invert.setChecked(inverted) }
        function onChOutputChanged(ch, on, lit) { if (ch === tab.ch) output.setChecked(on) }
        function onChLoadChanged(ch, text) { if (ch === tab.ch) loadbtn.setload(text) }
        function onChCopyAllowedChanged(ch, allowed) { if (ch === tab.ch) copybtn.setvisible(allowed) }
        function onChManualTrigChanged(ch, shown) { if (ch === tab.ch) handltrig.setVisible(shown) }
    }
    ChannelPage {
        id: page
        objectName: "ch" + (tab.ch + 1) + "mc"
        ch: tab.ch
        appdata: tab.appdata
        accent: tab.accent
        anchors.fill: parent
        onSignalSelected: tab.signalSelected(ch, mode, type, base, baseType)
        onEntryFocus: tab.entryFocus(model)
    }
    Item {
        objectName: "ch" + (tab.ch + 1) + "cc"
        x: 1060
        y: 0
        width: 190
        visible: !tab.keyboardOpen
        Column {
            objectName: "buttonColumn"
            spacing: 10
            // The output switch: a touch toggles the channel's output.
            PanelButton { id: output; objectName: "output"; accent: tab.accent
                          label: qsTr("输出"); valueText: checked ? qsTr("开") : qsTr("关")
                          onClicked: { uidata.chSwitch(tab.ch, !output.checked) } }
            PanelButton { id: invert; objectName: "invert"; accent: tab.accent
                          label: qsTr("反相"); valueText: checked ? qsTr("开") : qsTr("关")
                          onClicked: { uidata.chReverse(tab.ch, !invert.checked) } }
            PanelButton { id: loadbtn; objectName: "loadbtn"; accent: tab.accent
                          property string load: ""
                          function setload(t) { load = t }
                          label: qsTr("负载"); valueText: load.replace("\n", " ")
                          // Touch toggles between high impedance and 50 Ω.
                          onClicked: { uidata.chSetLoad(tab.ch, load === "HighZ" ? 50 : 1e6) } }
            PanelButton { id: copybtn; objectName: "copybtn"; accent: tab.accent
                          label: qsTr("复制"); valueText: "CH" + (tab.ch + 1) + " →"
                          function setvisible(v) { visible = v }
                          onClicked: { tab.beep(2); uidata.channelCopy(tab.ch) } }
            PanelButton { id: handltrig; objectName: "handltrig"; accent: tab.accent; visible: false
                          label: qsTr("手动触发"); valueText: ""
                          onClicked: { tab.beep(2); if (typeof uidata.channelManulTrigChanged === "function") uidata.channelManulTrigChanged(tab.ch) } }
        }
    }
    // A channel serving sync or digital output: its role over the greyed
    // page; touches there are refused.
    readonly property string role: uidata ? uidata.chRoles[ch] : ""
    Rectangle {
        objectName: "rolecover"
        anchors.fill: parent
        visible: tab.role !== ""
        color: "#b0101418"
        Text { objectName: "rolelabel"; anchors.centerIn: parent; color: tab.accent; font.pixelSize: 40; font.bold: true
               text: tab.role }
        MouseArea { anchors.fill: parent; onClicked: tab.warnBeep(2) }
    }
}
