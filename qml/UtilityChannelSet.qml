import QtQuick 2.12

// Utility page 0: the settings of the four channels (load, amplitude
// limits, sync output, noise sum), one column each.
Item {
    id: page
    objectName: "UtilityChannelSet"
    property var appdata: null
    property var masks: [false, false, false, false]
    signal entryTouched(var model, int listNo)
    Row {
        objectName: "rowlay"
        spacing: 10
        UtilityChColumn { objectName: "utilitySetch1"; ch: 0; appdata: page.appdata; mask: page.masks[0]
                          models: uidata ? uidata.ch1setlist : []; onEntryTouched: page.entryTouched(model, listNo) }
        UtilityChColumn { objectName: "utilitySetch2"; ch: 1; appdata: page.appdata; mask: page.masks[1]
                          models: uidata ? uidata.ch2setlist : []; onEntryTouched: page.entryTouched(model, listNo) }
        UtilityChColumn { objectName: "utilitySetch3"; ch: 2; appdata: page.appdata; mask: page.masks[2]
                          models: uidata ? uidata.ch3setlist : []; onEntryTouched: page.entryTouched(model, listNo) }
        UtilityChColumn { objectName: "utilitySetch4"; ch: 3; appdata: page.appdata; mask: page.masks[3]
                          models: uidata ? uidata.ch4setlist : []; onEntryTouched: page.entryTouched(model, listNo) }
    }
}
