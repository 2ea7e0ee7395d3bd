import QtQuick 2.12
import QtQuick.Window 2.12

Window {
    id: root
    objectName: "mainwindow"
    width: 1280
    height: 800
    visible: true
    color: "#10161d"
}
