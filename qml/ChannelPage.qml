import QtQuick 2.12

// One channel's page: its list of entries and the choice of work mode, base
// wave and mode type. The controller calls setmode / setBaseWave / setwave
// (front-panel keys, remote commands); the page answers with
// signalSelected, which the screen forwards to the controller.
Item {
    id: page
    property int ch: 0
    property var entries: []
    // The work mode this page last chose (-1: take the stored one). The
    // controller applies a choice later, so the page keeps its own.
    property int curMode: -1
    signal signalSelected(int ch, int mode, int type, bool base, int baseType)

    function inputList() {
        switch (ch) {
        case 0: return uidata.ch1inputlist
        case 1: return uidata.ch2inputlist
        case 2: return uidata.ch3inputlist
        default: return uidata.ch4inputlist
        }
    }
    function baseWave() { return uidata.getcurIndex(ch, 0) }
    // The type of a mode that suits the base wave (-1: none does).
    function modeType(mode) {
        if (mode === 1) return uidata.modulateSelected(ch)
        if (mode === 2) return uidata.sweepSelected(ch)
        if (mode === 3) return uidata.burstSelected(ch)
        return baseWave()
    }

    function mode() { return curMode >= 0 ? curMode : uidata.getCurrentModel(ch) }
    function setmode(mode) {
        curMode = mode
        if (mode === 0) {
            signalSelected(ch, 0, baseWave(), true, baseWave())
            return
        }
        var t = modeType(mode)
        if (t >= 0)
            signalSelected(ch, mode, t, false, baseWave())
    }
    function setBaseWave(wave, where) {
        var mode = page.mode()
        if (mode === 0)
            signalSelected(ch, 0, wave, true, wave)
        else
            signalSelected(ch, mode, uidata.getcurIndex(ch, mode), true, wave)
    }
    function setwave(index, where) {
        var mode = page.mode()
        if (index < 0) {
            // Previous / next entry of the base-wave list (the panel's arrows).
            if (mode !== 0)
                return
            index = (baseWave() + (where ? 1 : 8)) % 9
        }
        if (mode === 0)
            signalSelected(ch, 0, index, true, index)
        else
            signalSelected(ch, mode, index, false, baseWave())
    }
    function paramLoad() {
        curMode = -1
        entries = inputList()
        refresh()
    }
    // What the wave list shows: the mode and the selected entry.
    property var appdata: null
    property color accent: "#990000"
    property int shownMode: 0
    property int shownIndex: 0
    function refresh() {
        shownMode = uidata.getCurrentModel(ch)
        shownIndex = uidata.getcurIndex(ch, shownMode)
    }
    // An entry took the focus (touch or keys): the keyboard opens for it.
    signal entryFocus(var model)

    Connections {
        target: uidata
        function onCh1InputListChanged(list) { if (page.ch === 0) { page.entries = list; page.refresh() } }
        function onCh2InputListChanged(list) { if (page.ch === 1) { page.entries = list; page.refresh() } }
        function onCh3InputListChanged(list) { if (page.ch === 2) { page.entries = list; page.refresh() } }
        function onCh4InputListChanged(list) { if (page.ch === 3) { page.entries = list; page.refresh() } }
        // Choices from the panel keys and from remote.
        function onChModeRequested(ch, mode) { if (page.ch === ch) page.setmode(mode) }
        function onChBaseWaveRequested(ch, wave, where) { if (page.ch === ch) page.setBaseWave(wave, where) }
        function onChWaveRequested(ch, index, where) { if (page.ch === ch) page.setwave(index, where) }
        function onChParamLoadRequested(ch) { if (page.ch === ch) page.paramLoad() }
    }

    // Mode selector above the wave list: two rows of two, wide enough for
    // every mode's name in full-size type.
    Grid {
        id: modeRow
        x: 0
        y: 0
        columns: 2
        spacing: 4
        Repeater {
            model: page.appdata ? page.appdata.modeNames : []
            Rectangle {
                width: 98
                height: 26
                radius: 4
                color: index === page.shownMode ? page.accent : "#242a31"
                Text { anchors.centerIn: parent; color: "white"; font.pixelSize: 17; text: modelData }
                MouseArea { anchors.fill: parent; onClicked: { page.setmode(index); page.shownMode = index } }
            }
        }
    }
    // Base waves or the types of the current mode.
    ListView {
        id: waves
        objectName: "wavelistview"
        x: 0
        y: 62
        width: 200
        height: parent.height - 62
        clip: true
        spacing: 4
        model: page.appdata ? page.appdata.modeList(page.shownMode) : []
        currentIndex: page.shownIndex
        delegate: Rectangle {
            width: 200
            height: 52
            radius: 4
            color: index === page.shownIndex ? page.accent : "#1a1f25"
            border.color: "#2c333b"
            WaveIcon { x: 6; anchors.verticalCenter: parent.verticalCenter; kind: modelData[1]; color: "white" }
            Text { x: 62; anchors.verticalCenter: parent.verticalCenter; width: 132; elide: Text.ElideRight
                   color: "white"; font.pixelSize: 20; text: modelData[0] }
            MouseArea { anchors.fill: parent; onClicked: page.setwave(index, 2) }
        }
    }
    // More entries below or above: a mark at the list's edge (the list
    // scrolls with a swipe or the panel keys).
    Rectangle {
        objectName: "wavesmore"
        x: 0; y: waves.y + waves.height - 22
        width: 200; height: 22
        visible: !waves.atYEnd
        color: "#cc101418"
        Text { anchors.centerIn: parent; color: "white"; font.pixelSize: 16; text: "▼" }
    }
    Rectangle {
        x: 0; y: waves.y
        width: 200; height: 22
        visible: !waves.atYBeginning
        color: "#cc101418"
        Text { anchors.centerIn: parent; color: "white"; font.pixelSize: 16; text: "▲" }
    }

    ListView {
        id: inputs
        objectName: "inputlistview"
        x: 210
        y: 0
        width: 320
        height: parent.height
        clip: true
        spacing: 4
        function upCurrentIndex() { decrementCurrentIndex() }
        function downCurrentIndex() { incrementCurrentIndex() }
        ListBinding { view: inputs; key: "inputlistview" + (page.ch + 1) }
        model: page.entries
        delegate: InputlistDelegate {
            model: modelData
            appdata: page.appdata
            accent: page.accent
            current: ListView.isCurrentItem && ListView.view.activeFocus
            onTouched: { ListView.view.currentIndex = index; ListView.view.forceActiveFocus(); page.entryFocus(modelData) }
            onFocusGained: page.entryFocus(modelData)
        }
    }
}
