import QtQuick 2.12

// The utility tab: a column of six menu buttons and the page they select
// (channel settings, coupling, merge, counter, digital output, system). The
// controller reads the page from "utilitylayout"'s currentIndex and moves
// through the page's lists with the panel keys; updateMainIndex gives the
// focus back to the menu.
FocusScope {
    id: utility
    objectName: "utility"
    property var appdata: null
    property var masks: [false, false, false, false]
    property alias page: layout.currentIndex
    signal entryTouched(var model, int listNo)
    signal beep(int where)
    signal warnBeep(int where)

    readonly property var menuNames: [qsTr("通道设置"), qsTr("通道耦合"), qsTr("通道合并"), qsTr("计数器"),
                                      qsTr("数字输出"), qsTr("系统设置")]
    // The page whose menu button last took the focus back (-1: none yet).
    property int menuIndex: -1
    function updateMainIndex(p) {
        menuIndex = p
        if (p >= 0 && p < 6)
            layout.currentIndex = p
        menu.forceActiveFocus()
    }
    Connections {
        target: uidata
        function onUtilityMenuRequested(p) { utility.updateMainIndex(p) }
    }
    function selectPage(p) {
        layout.currentIndex = p
        menu.forceActiveFocus()
        beep(2)
    }

    FocusScope {
        id: menu
        objectName: "utilitymenu"
        width: 180
        height: parent.height
        focus: true
        Column {
            spacing: 8
            Repeater {
                model: utility.menuNames
                Rectangle {
                    width: 180
                    height: 70
                    radius: 6
                    color: index === layout.currentIndex ? "#446722" : "#1c2127"
                    border.color: index === layout.currentIndex && menu.activeFocus ? "#ffd54f" : "#446722"
                    border.width: 2
                    Text { anchors.centerIn: parent; width: parent.width - 12; horizontalAlignment: Text.AlignHCenter
                           fontSizeMode: Text.HorizontalFit; minimumPixelSize: 14; color: "white"; font.pixelSize: 22
                           font.bold: index === layout.currentIndex; text: modelData }
                    MouseArea { anchors.fill: parent; onClicked: utility.selectPage(index) }
                }
            }
        }
    }
    Item {
        objectName: "utilitycontext"
        x: 200
        width: parent.width - 200
        height: parent.height
        Item {
            id: layout
            objectName: "utilitylayout"
            anchors.fill: parent
            property int currentIndex: 0
            onCurrentIndexChanged: if (uidata) uidata.reportUtilityPage(currentIndex)
            Component.onCompleted: if (uidata) uidata.reportUtilityPage(currentIndex)
            UtilityChannelSet { anchors.fill: parent; visible: layout.currentIndex === 0; appdata: utility.appdata
                                masks: utility.masks; onEntryTouched: utility.entryTouched(model, listNo) }
            UtilityChannelCouple { anchors.fill: parent; visible: layout.currentIndex === 1; appdata: utility.appdata
                                   onEntryTouched: utility.entryTouched(model, listNo) }
            UtilityMerge { anchors.fill: parent; visible: layout.currentIndex === 2; appdata: utility.appdata
                           onEntryTouched: utility.entryTouched(model, listNo) }
            UtilityCounterSet { anchors.fill: parent; visible: layout.currentIndex === 3; appdata: utility.appdata
                                onEntryTouched: utility.entryTouched(model, listNo)
                                onToMenu: utility.updateMainIndex(3)
                                onBeep: utility.beep(where); onWarnBeep: utility.warnBeep(where) }
            UtilityDigitalSet { anchors.fill: parent; visible: layout.currentIndex === 4; appdata: utility.appdata
                                onEntryTouched: utility.entryTouched(model, listNo)
                                onToMenu: utility.updateMainIndex(4)
                                onBeep: utility.beep(where); onWarnBeep: utility.warnBeep(where) }
            UtilitySystemSet { anchors.fill: parent; visible: layout.currentIndex === 5; appdata: utility.appdata
                               onEntryTouched: utility.entryTouched(model, listNo) }
        }
    }
}
