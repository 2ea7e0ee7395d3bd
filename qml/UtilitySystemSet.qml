import QtQuick 2.12

// Utility page 5: the system settings (two columns of six, the factory
// reset after them), the network settings, what the instrument is (name,
// versions, serial number, web address) and its inner temperature.
Item {
    id: page
    objectName: "UtilitySystemSet"
    property var appdata: null
    property bool factory: false
    property string softVersion: ""
    property string fpgaVersion: ""
    signal entryTouched(var model, int listNo)

    function info(name, full) {
        if (!uidata || typeof uidata[name] !== "function")
            return ""
        var v = full === undefined ? uidata[name]() : uidata[name](full)
        return v === undefined || v === null ? "" : String(v)
    }
    function reloadInfo() {
        softVersion = info("getSoftVersion", factory)
        fpgaVersion = info("getFpgaVersion", factory)
    }
    // The factory sequence shows the detailed versions.
    property string versions: ""
    function updateVersion(soft, fpga) {
        factory = true
        versions = soft + " " + fpga
        softVersion = String(soft)
        fpgaVersion = String(fpga)
    }
    Connections {
        target: uidata
        function onVersionsRequested(soft, fpga) { page.updateVersion(soft, fpga) }
    }
    onVisibleChanged: if (visible) reloadInfo()
    Component.onCompleted: reloadInfo()

    Item {
        objectName: "sysframe"
        width: syslist.width
        height: syslist.height
        UtilityList {
            id: syslist
            objectName: "syslistview"
            rows: 6
            listNo: 6
            cellHeight: 48
            entryWidth: 300
            nameWidth: 150
            appdata: page.appdata
            model: uidata ? uidata.syssetlist : []
            onEntryTouched: page.entryTouched(model, 6)
        }
    }
    Item {
        objectName: "lanframe"
        y: 300
        width: 380
        height: lanlist.height + 30
        Text { color: "#9fb0c0"; font.pixelSize: 18; text: qsTr("网络") }
        UtilityList {
            id: lanlist
            objectName: "syslanlistview"
            y: 28
            rows: 5
            listNo: 6
            cellHeight: 48
            entryWidth: 380
            nameWidth: 150
            appdata: page.appdata
            model: uidata ? uidata.syslanlist : []
            onEntryTouched: page.entryTouched(model, 6)
        }
    }
    Rectangle {
        objectName: "systeminfo"
        x: 400
        y: 300
        width: 420
        height: 268
        radius: 6
        color: "#101418"
        border.color: "#446722"
        Column {
            x: 12
            y: 10
            spacing: 8
            Repeater {
                model: [
                    [qsTr("设备型号"), page.info("getDeviceName")],
                    [qsTr("软件版本"), page.softVersion],
                    [qsTr("FPGA版本"), page.fpgaVersion],
                    [qsTr("硬件版本"), page.info("getHardwaveVersion")],
                    [qsTr("序列号"), page.info("getSN")],
                    [qsTr("网页地址"), page.info("getHttp")]
                ]
                Row {
                    spacing: 8
                    Text { width: 150; color: "#9fb0c0"; font.pixelSize: 17; elide: Text.ElideRight; text: modelData[0] }
                    Text { width: 245; color: "white"; font.pixelSize: 17; fontSizeMode: Text.HorizontalFit
                           minimumPixelSize: 11; text: modelData[1] }
                }
            }
        }
        Rectangle {
            objectName: "protecttest"
            visible: page.factory
            x: parent.width - 150; y: parent.height - 50
            width: 140; height: 40; radius: 4; color: "#242a31"; border.color: "#6f9a3a"
            Text { anchors.centerIn: parent; color: "white"; font.pixelSize: 16; text: qsTr("保护测试") }
            MouseArea {
                anchors.fill: parent
                onClicked: if (typeof uidata.protectTest === "function") protectReport.text = String(uidata.protectTest())
            }
        }
        // The protection test's report: one line per channel, then its verdict.
        Text { id: protectReport; objectName: "protectreport"; x: 12; y: parent.height - 96
               width: parent.width - 170; color: "#ffd54f"; font.pixelSize: 13; visible: page.factory }
    }
    Rectangle {
        objectName: "innerTemp"
        x: 840
        y: 300
        width: 200
        height: 110
        radius: 6
        color: "#101418"
        border.color: "#446722"
        Text { x: 12; y: 10; color: "#9fb0c0"; font.pixelSize: 18; text: qsTr("机内温度") }
        Text {
            objectName: "temperaturetxt"
            x: 12
            y: 46
            color: "white"
            font.pixelSize: 30
            property string value: uidata ? uidata.boardTemperature : "--"
            function settext(t) { value = String(t) }
            text: value + " ℃"
        }
    }
}
