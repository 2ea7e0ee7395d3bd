import QtQuick 2.12

// One channel's column of the channel-settings page: its title and its
// settings list. A channel used for something else (sync or digital
// output) is masked: greyed, and skipped by the keys.
Item {
    id: col
    property int ch: 0
    property var appdata: null
    property var models: []
    property bool mask: false
    readonly property string role: uidata ? uidata.chRoles[ch] : ""
    property alias list: setlist
    signal entryTouched(var model, int listNo)
    width: 256
    height: 520
    opacity: mask ? 0.4 : 1.0
    Rectangle {
        width: parent.width
        height: 40
        radius: 4
        color: col.appdata ? col.appdata.chColor(col.ch) : "#446722"
        Text { anchors.centerIn: parent; color: "white"; font.pixelSize: 22; font.bold: true
               text: "CH" + (col.ch + 1) + (col.role !== "" ? "  " + col.role : "") }
    }
    UtilityList {
        id: setlist
        objectName: "setlistview"
        viewKey: "setlistview" + (col.ch + 1)
        y: 48
        rows: 8
        listNo: col.ch
        entryWidth: col.width
        nameWidth: 132
        appdata: col.appdata
        accent: col.appdata ? col.appdata.chColor(col.ch) : "#446722"
        enabled: !col.mask
        model: col.models
        onEntryTouched: col.entryTouched(model, col.ch)
    }
}
