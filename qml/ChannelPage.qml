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
    }

    Connections {
        target: uidata
        function onCh1InputListChanged(list) { if (page.ch === 0) page.entries = list }
        function onCh2InputListChanged(list) { if (page.ch === 1) page.entries = list }
        function onCh3InputListChanged(list) { if (page.ch === 2) page.entries = list }
        function onCh4InputListChanged(list) { if (page.ch === 3) page.entries = list }
    }

    ListView {
        objectName: "inputlistview"
        anchors.fill: parent
        function upCurrentIndex() { decrementCurrentIndex() }
        function downCurrentIndex() { incrementCurrentIndex() }
        model: page.entries
        delegate: Text {
            color: "#d8e2ec"
            font.pixelSize: 22
            text: modelData ? modelData.listvalue : ""
        }
    }
}
