import QtQuick 2.12
import chmodel 1.0

// One entry of a channel's parameter list: name, value (with the digit being
// edited selected) and the coupling mark.
Rectangle {
    id: row
    property var model: null
    property bool current: false
    property color accent: "#990000"
    property var appdata: null
    signal touched()
    signal focusGained()
    onEditingChanged: if (editing) focusGained()
    width: ListView.view ? ListView.view.width : 320
    height: 58
    radius: 4
    color: current ? Qt.darker(accent, 1.6) : "#1a1f25"
    border.color: current ? accent : "#2c333b"
    border.width: current ? 2 : 1
    opacity: model && model.mask ? 0.4 : 1.0

    readonly property string name: model && appdata ? appdata.paramName(model.paramindex, model.nameindex) : ""
    readonly property string valueText: !model ? "" : model.isMultiSelect ? appdata.choiceText(model.paramindex, model.value)
                                                                         : model.listvalue
    readonly property bool editing: model ? model.paramfocus : false
    readonly property int selStart: model ? model.sPos : 0
    readonly property int selLength: model ? model.sLenth : 0

    function htmlEscape(t) { return t.replace(/&/g, "&amp;").replace(/</g, "&lt;").replace(/>/g, "&gt;") }
    readonly property string richValue: {
        if (!editing || selLength <= 0 || selStart < 0 || selStart >= valueText.length)
            return htmlEscape(valueText)
        return htmlEscape(valueText.substring(0, selStart)) + "<u><font color=\"#ffd54f\">" +
               htmlEscape(valueText.substr(selStart, selLength)) + "</font></u>" +
               htmlEscape(valueText.substring(selStart + selLength))
    }

    // A long name takes a second line (and smaller type) rather than "…".
    Text {
        x: 10
        anchors.verticalCenter: parent.verticalCenter
        width: 104
        height: row.height - 4
        verticalAlignment: Text.AlignVCenter
        color: "#aebbc8"
        font.pixelSize: 20
        wrapMode: Text.Wrap
        fontSizeMode: Text.Fit
        minimumPixelSize: 11
        lineHeight: 0.95
        text: row.name
    }
    Text {
        x: 120
        anchors.verticalCenter: parent.verticalCenter
        width: row.width - 120 - (coupleMark.visible ? 34 : 8)
        color: "white"
        font.pixelSize: 24
        textFormat: Text.StyledText
        fontSizeMode: Text.HorizontalFit
        minimumPixelSize: 14
        text: row.richValue
    }
    Text {
        id: coupleMark
        anchors { right: parent.right; rightMargin: 8; verticalCenter: parent.verticalCenter }
        visible: row.model ? row.model.isCoupled() : false
        color: row.model && row.model.coupleState() ? "#6fcf6f" : "#cf6f6f"
        font.pixelSize: 18
        text: "∞"
    }
    MouseArea { anchors.fill: parent; onClicked: row.touched() }
}
