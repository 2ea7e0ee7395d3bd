import QtQuick 2.12

// Utility page 1: coupling of the channel pairs. Each pair shows a grid of
// three columns (frequency, amplitude, phase), each with the switch, the
// kind (ratio or difference) and the ratio or difference.
Item {
    id: page
    objectName: "UtilityChannelCouple"
    property var appdata: null
    signal entryTouched(var model, int listNo)
    Column {
        objectName: "rowlay"
        spacing: 14
        Item {
            objectName: "ChannalCoupleSet12"
            // A channel of the pair serving sync or digital output: no coupling.
            enabled: !(uidata && (uidata.chMask[0] || uidata.chMask[1]))
            opacity: enabled ? 1.0 : 0.4
            width: grid12.width
            height: 40 + grid12.height
            Text { color: "#d8e2ec"; font.pixelSize: 22; font.bold: true; text: qsTr("CH1 与 CH2 耦合") }
            UtilityList {
                id: grid12
                objectName: "CoupleSetListview"
                viewKey: "CoupleSetListview12"
                y: 36
                rows: 3
                listNo: 4
                entryWidth: 320
                nameWidth: 175
                appdata: page.appdata
                model: uidata ? uidata.ch12CoupleSetList : []
                onEntryTouched: page.entryTouched(model, 4)
            }
        }
        Item {
            objectName: "ChannalCoupleSet34"
            // A channel of the pair serving sync or digital output: no coupling.
            enabled: !(uidata && (uidata.chMask[2] || uidata.chMask[3]))
            opacity: enabled ? 1.0 : 0.4
            width: grid34.width
            height: 40 + grid34.height
            Text { color: "#d8e2ec"; font.pixelSize: 22; font.bold: true; text: qsTr("CH3 与 CH4 耦合") }
            UtilityList {
                id: grid34
                objectName: "CoupleSetListview"
                viewKey: "CoupleSetListview34"
                y: 36
                rows: 3
                listNo: 5
                entryWidth: 320
                nameWidth: 175
                appdata: page.appdata
                model: uidata ? uidata.ch34CoupleSetList : []
                onEntryTouched: page.entryTouched(model, 5)
            }
        }
    }
}
