import QtQuick 2.12

// Binds a list view to the front-panel keys: reports the view's focus and
// current entry to uidata under `key` (the controller decides on that
// copy), and moves the view as the controller asks.
Item {
    id: binding
    property Item view: null
    property string key: ""
    visible: false
    function report() {
        if (uidata && view && key !== "")
            uidata.reportView(key, view.activeFocus, view.currentIndex)
    }
    Connections {
        target: binding.view
        function onActiveFocusChanged() { binding.report() }
        function onCurrentIndexChanged() { binding.report() }
    }
    Connections {
        target: uidata
        function onListFocusRequested(k) { if (k === binding.key) binding.view.forceActiveFocus() }
        function onListStepRequested(k, up) {
            if (k !== binding.key)
                return
            if (up)
                binding.view.upCurrentIndex()
            else
                binding.view.downCurrentIndex()
        }
        function onListColumnRequested(k, right) {
            if (k !== binding.key)
                return
            if (right)
                binding.view.moveCurrentIndexRight()
            else
                binding.view.moveCurrentIndexLeft()
        }
        function onListIndexRequested(k, i) { if (k === binding.key) binding.view.currentIndex = i }
    }
    Component.onCompleted: report()
}
