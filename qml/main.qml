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

    // The counter strip: open (920 wide) while the counter is on, with the
    // latest frequency, period, duty cycle and positive pulse width.
    function counteronoff(on) {
        counterframe.width = on ? 920 : 16
        uidata.counteronoff(on)
    }
    function counterupdate(fre, period, duty, pwidth) {
        countertext.text = "频率:" + fre + "  周期:" + period + "  占空比:" + duty + "  正脉宽:" + pwidth
    }

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
                                       // Latest result lists: frequency, period, duty,
                                       // positive width, negative width; readings held.
                                       property var results: []
                                       property int samples: 0
                                       function updateCounter(fre, period, duty, pwidth, nwidth, count) {
                                           results = [fre, period, duty, pwidth, nwidth]
                                           samples = count
                                       }
                                       Item { objectName: "countersetlistview" }
                                       Item { objectName: "statisticRec"; Item { objectName: "counterClr" } } }
                                Item { objectName: "UtilityDigitalSet"
                                       property string inputText: ""
                                       property bool hexFormat: uidata ? !uidata.getdigitalfromat() : true
                                       property bool autoSend: uidata ? uidata.getdigitalAutoSend() : false
                                       property int paints: 0
                                       property int reloads: 0
                                       function setInputText(text) { inputText = text }
                                       function digitalformatctl(format) { hexFormat = !format }
                                       function digitalsendctl(on) { autoSend = on }
                                       function requestPaint() { paints++ }
                                       function digitalparamReload() { reloads++ } }
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

    Rectangle {
        id: counterframe
        objectName: "counterframe"
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        width: 16
        height: 40
        color: "#446722"
        clip: true
        Text {
            id: countertext
            objectName: "countertext"
            anchors.verticalCenter: parent.verticalCenter
            x: 20
            color: "white"
            text: ""
        }
    }
}
