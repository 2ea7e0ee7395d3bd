import QtQuick 2.12

// A list of editing models on a utility page, laid out in columns of
// `rows` entries (column by column). The controller moves through it with
// the front-panel keys: upCurrentIndex / downCurrentIndex, and the grid's
// own moveCurrentIndexLeft / moveCurrentIndexRight (a column to the side).
// `listNo` is the number under which the controller finds the list's
// models (a channel 0..3, a pair 4/5, the system 6).
GridView {
    id: list
    property int rows: 8
    property int listNo: 6
    property var appdata: null
    property color accent: "#446722"
    property int entryWidth: 300
    property int nameWidth: 130
    // Whether the current entry is marked while the list has the focus (a
    // page whose own controls take the keys turns it off meanwhile).
    property bool marking: true
    // The name the key routing knows the list by (objectName, with the
    // channel or pair where a page has several lists of one name).
    property string viewKey: objectName
    signal entryTouched(var model, int index)
    flow: GridView.FlowTopToBottom
    cellWidth: entryWidth + 8
    cellHeight: 56
    height: rows * cellHeight
    width: Math.max(1, Math.ceil(count / rows)) * cellWidth
    interactive: false
    highlightFollowsCurrentItem: false
    currentIndex: 0
    function upCurrentIndex() { if (currentIndex > 0) currentIndex -= 1 }
    function downCurrentIndex() { if (currentIndex + 1 < count) currentIndex += 1 }
    ListBinding { view: list; key: list.viewKey }
    delegate: UtilityEntry {
        width: list.entryWidth
        nameWidth: list.nameWidth
        model: modelData
        appdata: list.appdata
        accent: list.accent
        current: GridView.isCurrentItem && list.activeFocus && list.marking
        onTouched: {
            list.currentIndex = index
            list.forceActiveFocus()
            list.entryTouched(modelData, index)
        }
    }
}
