import QtQuick 2.12

// Status icons: remote lock, USB device, USB disk, network (crossed out
// when down) and the external 10 MHz reference (crossed out when invalid).
Row {
    id: bar
    objectName: "statusbar"
    signal lockVisible(bool on)
    // Shows or hides an icon by its STATUSBAR_TYPE number (the network's
    // is its cross, shown while the link is down).
    function showIcon(index, shown) {
        var icon = index === 0 ? disk : index === 1 ? husb : index === 2 ? netOff
                 : index === 3 ? locker : index === 4 ? ext : index === 5 ? extOff : null
        if (icon && icon.visible !== !!shown)
            icon.setVisible(shown)
    }
    spacing: 6
    layoutDirection: Qt.RightToLeft
    StatusIcon { id: locker; objectName: "imglocker"; label: "LOCK"; tint: "#e0a030"; visible: false
                 function setVisible(n) { visible = !!n; bar.lockVisible(visible) } }
    StatusIcon { id: disk; objectName: "imgdusb"; label: "DISK"; visible: false }
    StatusIcon { id: husb; objectName: "imghusb"; label: "USB"; visible: false }
    StatusIcon {
        objectName: "imgnet"
        label: "LAN"
        visible: true
        // The cross: shown while the link is down. The tick reports changes
        // from "up", so it starts hidden.
        Rectangle { id: netOff; objectName: "imgnetoff"; anchors.fill: parent; color: "transparent"; visible: false
                    function setVisible(n) { visible = !!n }
                    Rectangle { anchors.centerIn: parent; width: parent.width; height: 3; rotation: -28; color: "#d04040" } }
    }
    StatusIcon {
        id: ext
        objectName: "ext10m"
        label: "10M"
        visible: false
        function setVisible(n) { visible = !!n; if (visible) extOff.visible = false }
        Rectangle { id: extOff; objectName: "ext10mfalse"; anchors.fill: parent; color: "transparent"; visible: false
                    function setVisible(n) { visible = !!n }
                    Rectangle { anchors.centerIn: parent; width: parent.width; height: 3; rotation: -28; color: "#d04040" } }
    }
}
