import QtQuick 2.12
import QtQuick.Window 2.12

Window {
    id: root
    objectName: "mainwindow"
    width: 1280
    height: 800
    visible: true
    color: "#10161d"

    // Answer of a channel page to a selection; the controller applies it.
    signal chSignalSelected(int ch, int mode, int type, bool base, int baseType)
    signal beep(int where)
    signal warnBeep(int where)

    Item {
        objectName: "topmain"
        anchors.fill: parent
        Item {
            objectName: "chmain"
            anchors.fill: parent
            Item {
                objectName: "tabs"
                anchors.fill: parent
                ChannelTab {
                    ch: 0
                    anchors.fill: parent
                    visible: ch === 0
                    onSignalSelected: root.chSignalSelected(ch, mode, type, base, baseType)
                }
                ChannelTab {
                    ch: 1
                    anchors.fill: parent
                    visible: ch === 0
                    onSignalSelected: root.chSignalSelected(ch, mode, type, base, baseType)
                }
                ChannelTab {
                    ch: 2
                    anchors.fill: parent
                    visible: ch === 0
                    onSignalSelected: root.chSignalSelected(ch, mode, type, base, baseType)
                }
                ChannelTab {
                    ch: 3
                    anchors.fill: parent
                    visible: ch === 0
                    onSignalSelected: root.chSignalSelected(ch, mode, type, base, baseType)
                }
                Item {
                    objectName: "tabutility"
                    Item {
                        objectName: "utility"
                        Item {
                            objectName: "utilitycontext"
                            Item {
                                objectName: "utilitylayout"
                                Item { objectName: "UtilityChannelSet" }
                                Item { objectName: "UtilityChannelCouple"; Item { objectName: "rowlay" } }
                                Item { objectName: "UtilityMerge" }
                                Item { objectName: "UtilityCounterSet"
                                       Item { objectName: "countersetlistview" }
                                       Item { objectName: "statisticRec"; Item { objectName: "counterClr" } } }
                                Item { objectName: "UtilityDigitalSet" }
                                Item {
                                    objectName: "UtilitySystemSet"
                                    Item { objectName: "systeminfo" }
                                    Item { objectName: "innerTemp" }
                                    Text { objectName: "temperaturetxt" }
                                }
                            }
                        }
                    }
                }
            }
        }
    }
}
