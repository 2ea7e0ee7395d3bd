import QtQuick 2.12

// A list of editing models that the front-panel keys move through: the
// controller calls upCurrentIndex / downCurrentIndex, and on the two-column
// system list moveCurrentIndexLeft / moveCurrentIndexRight.
ListView {
    id: list
    property int rows: 6
    width: 300
    height: 300
    function upCurrentIndex() { decrementCurrentIndex() }
    function downCurrentIndex() { incrementCurrentIndex() }
    function moveCurrentIndexLeft() { if (currentIndex >= rows) currentIndex -= rows }
    function moveCurrentIndexRight() { if (currentIndex + rows < count) currentIndex += rows }
    delegate: Text {
        color: "#d8e2ec"
        font.pixelSize: 18
        text: modelData ? modelData.listvalue : ""
    }
}
