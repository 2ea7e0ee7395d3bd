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

    // Screen capture (the long press of OK).
    function screenShot(convert, path, where) { return uidata.screenShot(convert, path, where) }
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
        state: "normalframe"
        states: [
            State { name: "normalframe" },
            State { name: "overviewframe" },
            State { name: "helpviewframe" }
        ]
        function changeState(newstate) { state = newstate }
        Item {
            objectName: "helpview"
            property int shownKey: -1
            function getToButtonIndex(key) { shownKey = key }
        }
        Item {
            objectName: "chmain"
            anchors.fill: parent
            Item {
                id: tabs
                objectName: "tabs"
                anchors.fill: parent
                property int current: 0
                function setChTab(ch, where) {
                    current = ch
                    if (ch < 4)
                        uidata.switchToCh(ch)
                    root.beep(where)
                }
                ChannelTab {
                    ch: 0
                    anchors.fill: parent
                    visible: tabs.current === 0
                    onSignalSelected: root.chSignalSelected(ch, mode, type, base, baseType)
                }
                ChannelTab {
                    ch: 1
                    anchors.fill: parent
                    visible: tabs.current === 1
                    onSignalSelected: root.chSignalSelected(ch, mode, type, base, baseType)
                }
                ChannelTab {
                    ch: 2
                    anchors.fill: parent
                    visible: tabs.current === 2
                    onSignalSelected: root.chSignalSelected(ch, mode, type, base, baseType)
                }
                ChannelTab {
                    ch: 3
                    anchors.fill: parent
                    visible: tabs.current === 3
                    onSignalSelected: root.chSignalSelected(ch, mode, type, base, baseType)
                }
                Item {
                    objectName: "tabutility"
                    anchors.fill: parent
                    visible: tabs.current === 4
                    Item {
                        objectName: "utility"
                        anchors.fill: parent
                        property int menuIndex: -1
                        function updateMainIndex(page) { menuIndex = page; forceActiveFocus() }
                        Item {
                            objectName: "utilitycontext"
                            anchors.fill: parent
                            Item {
                                objectName: "utilitylayout"
                                anchors.fill: parent
                                property int currentIndex: 0
                                Item {
                                    objectName: "UtilityChannelSet"
                                    Row {
                                        objectName: "rowlay"
                                        Item { objectName: "utilitySetch1"; property bool mask: false; width: 300; height: 300
                                               KeyList { objectName: "setlistview"; model: uidata ? uidata.ch1setlist : [] } }
                                        Item { objectName: "utilitySetch2"; property bool mask: false; width: 300; height: 300
                                               KeyList { objectName: "setlistview"; model: uidata ? uidata.ch2setlist : [] } }
                                        Item { objectName: "utilitySetch3"; property bool mask: false; width: 300; height: 300
                                               KeyList { objectName: "setlistview"; model: uidata ? uidata.ch3setlist : [] } }
                                        Item { objectName: "utilitySetch4"; property bool mask: false; width: 300; height: 300
                                               KeyList { objectName: "setlistview"; model: uidata ? uidata.ch4setlist : [] } }
                                    }
                                }
                                Item {
                                    objectName: "UtilityChannelCouple"
                                    Row {
                                        objectName: "rowlay"
                                        Item { objectName: "ChannalCoupleSet12"; width: 300; height: 300
                                               KeyList { objectName: "CoupleSetListview"; model: uidata ? uidata.ch12CoupleSetList : [] } }
                                        Item { objectName: "ChannalCoupleSet34"; width: 300; height: 300
                                               KeyList { objectName: "CoupleSetListview"; model: uidata ? uidata.ch34CoupleSetList : [] } }
                                    }
                                }
                                Item {
                                    objectName: "UtilityMerge"
                                    KeyList { objectName: "mergesetlistview"; model: uidata ? uidata.chMergeSetList : [] }
                                }
                                Item {
                                    objectName: "UtilityCounterSet"
                                    property int focusIndex: 0
                                    property var pageKeys: []
                                    function counterOnkey(key) { pageKeys.push(key) }
                                    // Latest result lists: frequency, period, duty,
                                    // positive width, negative width; readings held.
                                    property var results: []
                                    property int samples: 0
                                    function updateCounter(fre, period, duty, pwidth, nwidth, count) {
                                        results = [fre, period, duty, pwidth, nwidth]
                                        samples = count
                                    }
                                    KeyList { objectName: "countersetlistview"; model: uidata ? uidata.counterSetlist : [] }
                                    Item { objectName: "statisticRec"; Item { objectName: "counterClr" } }
                                }
                                Item {
                                    objectName: "UtilityDigitalSet"
                                    property int focusIndex: 0
                                    property var pageKeys: []
                                    function digitalOnkey(key, where) { pageKeys.push(key) }
                                    property string inputText: ""
                                    property bool hexFormat: uidata ? !uidata.getdigitalfromat() : true
                                    property bool autoSend: uidata ? uidata.getdigitalAutoSend() : false
                                    property int paints: 0
                                    property int reloads: 0
                                    function setInputText(text) { inputText = text }
                                    function digitalformatctl(format) { hexFormat = !format }
                                    function digitalsendctl(on) { autoSend = on }
                                    function requestPaint() { paints++ }
                                    function digitalparamReload() { reloads++ }
                                    KeyList { objectName: "digitallistview"; model: uidata ? uidata.digitalSetList : [] }
                                }
                                Item {
                                    objectName: "UtilitySystemSet"
                                    property string versions: ""
                                    function updateVersion(soft, fpga) { versions = soft + " " + fpga }
                                    KeyList { objectName: "syslistview"; model: uidata ? uidata.syssetlist : [] }
                                    KeyList { objectName: "syslanlistview"; model: uidata ? uidata.syslanlist : [] }
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

    // The virtual keyboard: its unit row and the file browser take the
    // arrows while they are shown.
    Item {
        objectName: "vk"
        visible: false
        property bool subkvisible: false
        property var knobKeys: []
        function hdknob(key, where) { knobKeys.push(key) }
    }
    // The question dialog.
    Item {
        objectName: "askWindow"
        property var keys: []
        function onkey(key) { keys.push(key) }
    }
    // Above everything: swallows touches while the remote lock holds.
    MouseArea {
        objectName: "screenmask"
        anchors.fill: parent
        z: 99
        enabled: false
        function setEnable(on) { enabled = on }
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
