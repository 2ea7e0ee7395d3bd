import QtQuick 2.12
import QtQuick.Window 2.12
import appc 1.0
import pseWave 1.0

// The instrument's screen, 1280 x 800: head bar with the status icons, the
// channel tabs (wave list, parameter list, button column, waveform preview),
// the foot bar with the four channels, and the dialogs above them. The
// controller reaches it only through the objectNames and functions here.
Window {
    id: root
    objectName: "qmlmain"
    width: 1280
    height: 800
    visible: true
    color: "black"
    title: qsTr("ORNAV72 任意波形发生器")

    // Panel keys from the screen (touches on the keyboard).
    signal keyPress(int realkey, int repeater, int ch, int chlistIndex, int where)
    // Answer of a channel page to a selection; the controller applies it.
    signal chSignalSelected(int ch, int mode, int type, bool base, int baseType)
    signal beep(int where)
    signal warnBeep(int where)

    // The tab shown (0..3 channels, 4 utility); the remote side reads it here.
    property alias current: tabs.current
    readonly property int curCh: tabs.current < 4 ? tabs.current : lastCh
    property int lastCh: 0
    readonly property color accent: appdata.chColor(tabs.current < 4 ? tabs.current : 8)
    property bool counterOn: false

    function setChTab(ch, where) { tabs.setChTab(ch, where) }
    function updateMainIndex(page) { utilityMain().updateMainIndex(page) }
    function utilityMain() {
        for (var i = 0; i < tabs.children.length; ++i)
            if (tabs.children[i].objectName === "tabutility")
                return tabs.children[i].children[0]
        return null
    }

    // A message for a while: type 0 info, 1 tips, 2 error; any other type
    // shows nothing.
    function messageTips(type, number, header, milliseconds) {
        if (type !== 0 && type !== 1 && type !== 2)
            return
        // A remote error has an empty table entry: its header is the text.
        // It goes to the head bar, not over the parameters.
        var entry = appdata.messageText(type, number)
        var text = (header ? header : "") + entry
        if (text === "")
            return
        if (screenmask.screensaver)
            root.beep(0)
        if (entry === "" && type === 2) {
            headbar.showRemote(text, milliseconds)
            return
        }
        msgBox.text = text
        msgBox.visible = true
        msgTimer.interval = milliseconds > 0 ? milliseconds : 2000
        msgTimer.restart()
    }
    // A notice at power-up (type: the question it asks), unless a dialog is up.
    function powerinfo(text, type) {
        if (askWindow.visible)
            return
        askWindow.asktype = type
        askWindow.text = text
        askWindow.focusButton = 1
        askWindow.state = "powerupInfo"
    }
    function infoWindowState(state, type) {
        askWindow.asktype = type
        askWindow.text = appdata.askText(type)
        askWindow.focusButton = 1
        askWindow.state = state
    }
    function qmlAskWindowState(state, type) { infoWindowState(state, type) }
    // Progress of a firmware write: below 0 or from 100 the dialog closes.
    function processBar(value) {
        if (value < 0 || value >= 100) {
            askWindow.barShown = false
            askWindow.progressBar.value = 0
            askWindow.state = "closed"
            return
        }
        askWindow.progressBar.value = value
        askWindow.barShown = true
    }
    function updateProcessBar(value) { processBar(value) }
    // Screen capture (the long press of OK).
    function screenShot(convert, path, where) { return uidata.screenShot(convert, path, where) }
    function counteronoff(on) {
        counterOn = !!on
        if (typeof uidata.counteronoff === "function")
            uidata.counteronoff(counterOn)
    }
    function counterupdate(freq, period, duty, width) {
        countertext.text = qsTr("频率") + ":" + freq + "   " + qsTr("周期") + ":" + period + "   "
                + qsTr("占空比") + ":" + duty + "   " + qsTr("正脉宽") + ":" + width
    }
    // Only the shown channel's preview is visible.
    function pseWaveDisplay(ch) {
        for (var i = 0; i < 4; ++i) {
            var p = previews[i]
            p.opacity = 1.0
            p.x = 540; p.y = 360; p.width = 500; p.height = 300
            p.visible = (i === ch) && topmain.state === "normalframe" && !filebrowser.coversPreview
        }
        if (vk.visible)
            pseWaveKb(true)
    }
    // The overview: the four previews in a row, masked channels dimmed.
    function overViewPseWaveDisplay() {
        for (var i = 0; i < 4; ++i) {
            var p = previews[i]
            p.x = i * 313; p.y = 425; p.width = 340; p.height = 285
            p.visible = true
            p.opacity = chmain.mask[i] ? 0.4 : 1.0
        }
    }
    // While the keyboard is open the preview moves aside.
    function pseWaveKb(open) {
        if (tabs.current > 3)
            return
        var p = previews[tabs.current]
        if (open) { p.x = 760; p.y = 260 } else { p.x = 540; p.y = 360 }
    }
    function refreshPreviews() {
        if (topmain.state === "overviewframe")
            overViewPseWaveDisplay()
        else
            pseWaveDisplay(tabs.current)
    }
    // A channel's parameter list (empty once the controller is gone, at exit).
    function inputList(ch) {
        if (!uidata)
            return []
        return ch === 0 ? uidata.ch1inputlist : ch === 1 ? uidata.ch2inputlist
             : ch === 2 ? uidata.ch3inputlist : uidata.ch4inputlist
    }
    function openKeyboard(model, ch) {
        if (!model || ch !== tabs.current)
            return
        vk.accent = appdata.chColor(ch)
        vk.openFor(model.keyboardtype, ch, model.paramindex, model.shownUnit)
        pseWaveKb(vk.visible)
    }

    // A channel's entry by its parameter index (the file browser's owner).
    function entryOf(ch, paramindex) {
        var l = inputList(ch)
        for (var i = 0; l && i < l.length; ++i)
            if (l[i] && l[i].paramindex === paramindex)
                return l[i]
        return null
    }
    // A touch on an entry of a utility list: a switch or a merge toggles,
    // a choice takes the focus and shows its choices, a number opens the
    // number pad. Keys typed there go to the list's models (listNo).
    function utilityEntryTouched(model, listNo) {
        if (!model)
            return
        if (model.mask) {
            root.warnBeep(2)
            return
        }
        vk.accent = appdata.chColor(listNo < 4 ? listNo : 8)
        if (model.isMultiSelect && model.keyboardtype === "") {
            vk.hidefouce()
            root.keyPress(Appc.QKey_Ok, 1, listNo, model.paramindex, 2)
            return
        }
        if (model.isMultiSelect && !model.paramfocus)
            root.keyPress(Appc.QKey_Ok, 1, listNo, model.paramindex, 2)
        vk.openFor(model.keyboardtype, listNo, model.paramindex, model.shownUnit)
    }

    Component.onCompleted: {
        // The key routing starts from what is shown.
        uidata.reportTab(tabs.current)
        uidata.reportFrame(topmain.state)
        if (typeof uidata.fpgaOnlineCheck === "function" && !uidata.fpgaOnlineCheck())
            infoWindowState("upgrading", 2)
        if (typeof uidata.translateArbDir === "function")
            uidata.translateArbDir(appdata.arbDirs.map(function(d, i) { return [d, appdata.arbDirNames[i]] }))
        pseWaveDisplay(0)
        // Once the controller listens: each page announces its stored
        // selection, which builds the parameter lists and previews.
        Qt.callLater(announceSelections)
    }
    function announceSelections() {
        for (var i = 0; i < 4; ++i) {
            var page = channelPage(i)
            if (page)
                page.setmode(uidata.getCurrentModel(i))
        }
    }
    function channelPage(ch) {
        var name = "ch" + (ch + 1)
        for (var i = 0; i < tabs.children.length; ++i)
            if (tabs.children[i].objectName === name)
                return tabs.children[i].page
        return null
    }

    AppData { id: appdata }

    // What the controller shows: its signals arrive here in this thread.
    Connections {
        target: uidata
        function onChInversionChanged(ch, inverted) { appdata.channel_Setopposition(ch + 1, inverted) }
        function onChOutputChanged(ch, on, lit) { appdata.channel_Setswitch(ch + 1, lit) }
        function onChLoadChanged(ch, text) { appdata.channel_SetchLoad(ch + 1, text) }
        function onChLimitsChanged(ch, high, low) {
            appdata.channel_Setchhvalue(ch + 1, high)
            appdata.channel_Setchlvalue(ch + 1, low)
        }
        function onMessageTipsRequested(type, number, header, milliseconds) {
            root.messageTips(type, number, header, milliseconds)
        }
        function onStatusIconChanged(index, shown) { statusbar.showIcon(index, shown) }
        function onScreenSaveChanged(saver, locked) { screenmask.setScreensave(saver, locked) }
        function onScreenMaskEnabled(enabled) { screenmask.setEnable(enabled) }
        function onCounterStripRequested(on) { root.counteronoff(on) }
        function onScreenShotRequested(convert, path, where) { root.screenShot(convert, path, where) }
        function onProcessBarChanged(value) { root.processBar(value) }
        function onAskWindowRequested(state, type) { root.infoWindowState(state, type) }
        function onPowerInfoRequested(text, type) { root.powerinfo(text, type) }
        function onCounterStripUpdated(freq, period, duty, width) { root.counterupdate(freq, period, duty, width) }
        // The front-panel keys.
        function onTabRequested(tab, where) { chmain.setChTab(tab, where) }
        function onFrameRequested(state) { topmain.changeState(state) }
        function onHelpKeyRequested(key) { helpview.getToButtonIndex(key) }
        function onAskKeyRequested(key) { askWindow.onkey(key) }
        function onKeyboardKnobRequested(key, arg) { vk.hdknob(key, arg) }
        function onKeyboardUnitRequested(repeat, list, paramindex, where) {
            root.keyPress(vk.unitCode >= 0 ? vk.unitCode : Appc.QKey_Ok, repeat, list, paramindex, where)
        }
        function onBrowserCloseRequested() {
            if (vk.visible && vk.state === "fileBrowse")
                vk.hidefouce()
        }
        function onDigitalPageRequested() {
            if (tabs.current < 4) {
                root.setChTab(4, 0)
                Qt.callLater(root.updateMainIndex, 4)
            }
        }
    }

    HeadBar {
        id: headbar
        frame: topmain.state
        counterOn: root.counterOn
        onHome: { vk.hidefouce(); root.beep(2); topmain.changeState(topmain.state === "overviewframe" ? "normalframe" : "overviewframe") }
        onHelp: { vk.hidefouce(); root.beep(2); topmain.changeState(topmain.state === "helpviewframe" ? "normalframe" : "helpviewframe") }
        onCounter: { vk.hidefouce(); root.beep(2); root.counteronoff(!root.counterOn) }
        StatusBar {
            id: statusbar
            anchors { right: parent.right; rightMargin: 10; verticalCenter: parent.verticalCenter }
            onLockVisible: screenmask.setEnable(on)
        }
    }

    FocusScope {
        id: topmain
        objectName: "topmain"
        x: 10
        y: 60
        width: 1260
        height: 640
        state: "normalframe"
        states: [
            State { name: "normalframe" },
            State { name: "overviewframe" },
            State { name: "helpviewframe" }
        ]
        onStateChanged: {
            if (uidata)
                uidata.reportFrame(state)
            root.refreshPreviews()
        }
        function changeState(newstate) { state = newstate }

        HelpViewFrame {
            id: helpview
            anchors.fill: parent
            visible: topmain.state === "helpviewframe"
            accent: root.accent
        }
        Item {
            id: overview
            objectName: "overview"
            anchors.fill: parent
            visible: topmain.state === "overviewframe"
            Row {
                x: 0
                y: 10
                spacing: 10
                Repeater {
                    model: 4
                    Rectangle {
                        width: 307
                        height: 350
                        radius: 6
                        color: "#15191e"
                        border.color: appdata.chColor(index)
                        border.width: 2
                        opacity: chmain.mask[index] ? 0.4 : 1.0
                        readonly property var entries: root.inputList(index)
                        Rectangle { width: parent.width; height: 40; radius: 6; color: appdata.chColor(index)
                                    Text { anchors.centerIn: parent; color: "white"; font.pixelSize: 22; font.bold: true
                                           text: "CH" + (index + 1) + "  " + (appdata.chSwitch[index] ? "ON" : "OFF") } }
                        // Each entry: its name, and below it the whole value
                        // with its unit.
                        Column {
                            x: 12; y: 46
                            spacing: 3
                            Repeater {
                                model: parent.parent.entries.slice(0, 6)
                                Column {
                                    Text {
                                        width: 283
                                        color: "#9fb0c0"
                                        font.pixelSize: 15
                                        fontSizeMode: Text.HorizontalFit
                                        minimumPixelSize: 10
                                        text: modelData ? appdata.paramName(modelData.paramindex, modelData.nameindex) : ""
                                    }
                                    Text {
                                        width: 283
                                        color: "#e0e6ec"
                                        font.pixelSize: 20
                                        fontSizeMode: Text.HorizontalFit
                                        minimumPixelSize: 12
                                        text: !modelData ? "" : modelData.isMultiSelect
                                              ? appdata.choiceText(modelData.paramindex, modelData.value) : modelData.listvalue
                                    }
                                }
                            }
                        }
                    }
                }
            }
        }

        Item {
            id: chmain
            objectName: "chmain"
            anchors.fill: parent
            visible: topmain.state === "normalframe"
            property alias current: tabs.current
            // Masked tabs cannot be selected (channels in use by coupling,
            // merge or digital output).
            property var mask: uidata ? uidata.chMask : [false, false, false, false, false]
            function setChTab(ch, where) { tabs.setChTab(ch, where) }

            // Tab buttons.
            Row {
                id: tabRow
                spacing: 6
                Repeater {
                    model: [qsTr("CH1"), qsTr("CH2"), qsTr("CH3"), qsTr("CH4"), qsTr("系统")]
                    Rectangle {
                        width: 170
                        height: 44
                        radius: 6
                        color: tabs.current === index ? appdata.chColor(index < 4 ? index : 8) : "#1c2127"
                        border.color: appdata.chColor(index < 4 ? index : 8)
                        border.width: 2
                        opacity: chmain.mask[index] ? 0.4 : 1.0
                        Text { anchors.centerIn: parent; color: "white"; font.pixelSize: 22; font.bold: tabs.current === index
                               text: modelData }
                        MouseArea { anchors.fill: parent; onClicked: tabs.setChTab(index, 2) }
                    }
                }
            }

            Item {
                id: tabs
                objectName: "tabs"
                y: 50
                width: parent.width
                height: parent.height - 50
                property int current: 0
                property var mask: chmain.mask
                function setChTab(ch, where) {
                    if (ch < 0 || ch > 4)
                        return
                    if (chmain.mask[ch]) {
                        root.warnBeep(where)
                        return
                    }
                    current = ch
                    root.beep(where)
                }
                onCurrentChanged: {
                    if (uidata)
                        uidata.reportTab(current)
                    vk.hidefouce()
                    if (current < 4) {
                        root.lastCh = current
                        uidata.switchToCh(current)
                    }
                    root.pseWaveDisplay(current)
                }
                ChannelTab { ch: 0; anchors.fill: parent; visible: tabs.current === 0; appdata: appdata; accent: appdata.chColor(0)
                             keyboardOpen: vk.visible; onBeep: root.beep(where); onWarnBeep: root.warnBeep(where); onEntryFocus: root.openKeyboard(model, ch)
                             onSignalSelected: root.chSignalSelected(ch, mode, type, base, baseType) }
                ChannelTab { ch: 1; anchors.fill: parent; visible: tabs.current === 1; appdata: appdata; accent: appdata.chColor(1)
                             keyboardOpen: vk.visible; onBeep: root.beep(where); onWarnBeep: root.warnBeep(where); onEntryFocus: root.openKeyboard(model, ch)
                             onSignalSelected: root.chSignalSelected(ch, mode, type, base, baseType) }
                ChannelTab { ch: 2; anchors.fill: parent; visible: tabs.current === 2; appdata: appdata; accent: appdata.chColor(2)
                             keyboardOpen: vk.visible; onBeep: root.beep(where); onWarnBeep: root.warnBeep(where); onEntryFocus: root.openKeyboard(model, ch)
                             onSignalSelected: root.chSignalSelected(ch, mode, type, base, baseType) }
                ChannelTab { ch: 3; anchors.fill: parent; visible: tabs.current === 3; appdata: appdata; accent: appdata.chColor(3)
                             keyboardOpen: vk.visible; onBeep: root.beep(where); onWarnBeep: root.warnBeep(where); onEntryFocus: root.openKeyboard(model, ch)
                             onSignalSelected: root.chSignalSelected(ch, mode, type, base, baseType) }
                Item {
                    objectName: "tabutility"
                    anchors.fill: parent
                    visible: tabs.current === 4
                    UtilityMain {
                        anchors.fill: parent
                        appdata: appdata
                        masks: chmain.mask.slice(0, 4)
                        onEntryTouched: root.utilityEntryTouched(model, listNo)
                        onBeep: root.beep(where)
                        onWarnBeep: root.warnBeep(where)
                    }
                }

            }
        }
        // The file browser of a channel's file entry, over the channel page.
        VFileBrower {
            id: filebrowser
            anchors.fill: parent
            keyboard: vk
            appdata: appdata
            accent: appdata.chColor(vk.ch)
            fileModel: root.entryOf(vk.ch, vk.listIndex)
            onBeep: root.beep(where)
            onWarnBeep: root.warnBeep(where)
            onCoversPreviewChanged: root.pseWaveDisplay(tabs.current)
        }
    }

    // What the shown channel puts out, above its preview.
    Rectangle {
        id: note
        objectName: "notepanel"
        x: 540
        y: 110
        width: 500
        height: 240
        radius: 6
        color: "#101418"
        border.color: root.accent
        visible: topmain.state === "normalframe" && tabs.current < 4 && !vk.visible
        readonly property var entries: root.inputList(tabs.current)
        Text {
            x: 16; y: 10
            color: root.accent
            font.pixelSize: 28
            font.bold: true
            text: "CH" + (tabs.current + 1)
        }
        Column {
            x: 16; y: 56
            spacing: 8
            Repeater {
                model: note.entries.slice(0, 4)
                Row {
                    spacing: 12
                    Text { width: 170; color: "#9fb0c0"; font.pixelSize: 24; elide: Text.ElideRight
                           text: modelData ? appdata.paramName(modelData.paramindex, modelData.nameindex) : "" }
                    Text { width: 290; color: "white"; font.pixelSize: 28; elide: Text.ElideRight
                           text: !modelData ? "" : modelData.isMultiSelect ? appdata.choiceText(modelData.paramindex, modelData.value)
                                                                           : modelData.listvalue }
                }
            }
        }
    }

    // Waveform previews of the four channels.
    property var previews: [notewaveCh1, notewaveCh2, notewaveCh3, notewaveCh4]
    PseWave { id: notewaveCh1; objectName: "notewaveCh1"; channel: 0; penColor: appdata.chColor(0); penWidth: 2
              x: 540; y: 360; width: 500; height: 300; windWidth: width; visible: false }
    PseWave { id: notewaveCh2; objectName: "notewaveCh2"; channel: 1; penColor: appdata.chColor(1); penWidth: 2
              x: 540; y: 360; width: 500; height: 300; windWidth: width; visible: false }
    PseWave { id: notewaveCh3; objectName: "notewaveCh3"; channel: 2; penColor: appdata.chColor(2); penWidth: 2
              x: 540; y: 360; width: 500; height: 300; windWidth: width; visible: false }
    PseWave { id: notewaveCh4; objectName: "notewaveCh4"; channel: 3; penColor: appdata.chColor(3); penWidth: 2
              x: 540; y: 360; width: 500; height: 300; windWidth: width; visible: false }

    // The counter strip: a handle when closed, the readings when open.
    Rectangle {
        id: counterframe
        objectName: "counterframe"
        anchors.right: parent.right
        y: 664
        width: root.counterOn ? 920 : 16
        // Closed, nothing of it stays on the screen (the head bar's switch
        // opens it).
        visible: root.counterOn
        height: 42
        color: "#1c2a1c"
        border.color: "#446722"
        clip: true
        Text {
            id: countertext
            objectName: "countertext"
            x: 24
            width: parent.width - 32
            anchors.verticalCenter: parent.verticalCenter
            visible: root.counterOn
            color: "white"
            font.pixelSize: 18
            elide: Text.ElideRight
            text: ""
        }
        MouseArea { anchors.fill: parent; enabled: !root.counterOn; onClicked: { root.beep(2); root.counteronoff(true) } }
    }

    // Foot bar: the four channels.
    Row {
        id: footbar
        objectName: "footbar"
        x: 0
        y: 712
        spacing: 1
        Repeater {
            model: 4
            ChannelFrame {
                ch: index
                accent: appdata.chColor(index)
                on: appdata.chSwitch[index]
                inverted: appdata.chInvert[index]
                masked: chmain.mask[index]
                role: uidata ? uidata.chRoles[index] : ""
                load: appdata.chLoad[index].replace("\n", " ")
                limitH: appdata.chLimitH[index]
                limitL: appdata.chLimitL[index]
                current: tabs.current === index
                readonly property var entries: root.inputList(index)
                property int modeNo: 0
                property int waveNo: 0
                onEntriesChanged: if (uidata) { modeNo = uidata.getCurrentModel(index); waveNo = uidata.getcurIndex(index, 0) }
                wave: appdata.baseWaves[waveNo] ? appdata.baseWaves[waveNo][0] : ""
                mode: modeNo > 0 ? appdata.modeNames[modeNo] : ""
                onTouched: tabs.setChTab(ch, 2)
            }
        }
    }

    // Message box.
    Rectangle {
        id: msgBox
        objectName: "messagebox"
        property alias text: msgText.text
        visible: false
        z: 97
        anchors.horizontalCenter: parent.horizontalCenter
        y: 330
        width: Math.min(1100, msgText.implicitWidth + 80)
        height: 70
        radius: 8
        color: "#5c6670"
        border.color: "#c0c8d0"
        Text { id: msgText; anchors.centerIn: parent; color: "white"; font.pixelSize: 26 }
        Timer { id: msgTimer; interval: 2000; onTriggered: msgBox.visible = false }
    }

    VKeyboard {
        id: vk
        x: 550
        y: 60
        width: 720
        height: 640
        z: 50
        onKey: root.keyPress(realkey, 1, ch, listIndex, 2)
        onHidden: root.pseWaveKb(false)
        onBrowseKey: filebrowser.onKey(realkey, repeat)
    }

    AskWindow {
        id: askWindow
        onBeep: root.beep(where)
    }

    // Above everything: swallows touches while the remote lock holds, and
    // wakes the screen saver.
    MouseArea {
        id: screenmask
        objectName: "screenmask"
        anchors.fill: parent
        z: 99
        enabled: false
        property bool screensaver: false
        function setScreensave(screenStatus, lockStatus) {
            screensaver = !!screenStatus
            enabled = !!screenStatus || !!lockStatus
        }
        function setEnable(lockStatus) { enabled = !!lockStatus }
        onClicked: {
            if (screensaver)
                root.beep(2)
            else
                root.messageTips(1, 0, "", 2000)
        }
    }
}
