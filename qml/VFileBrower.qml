import QtQuick 2.12
import appc 1.0

// The file browser of a channel's file entry (arbitrary wave, modulating
// wave or frequency list) and the frequency-list editor. It opens while the
// keyboard is in the "fileBrowse" state and shows one of three storages:
// the built-in library (read only), the internal storage and the USB disk.
// Highlighting a file previews it on the channel, OK takes it. Every file
// operation goes through uidata, which refuses anything outside the
// internal storage and the USB disk.
Rectangle {
    id: fb
    objectName: "filebrowser"
    property var keyboard: null
    property var fileModel: null
    property var appdata: null
    property color accent: "#990000"
    readonly property bool open: keyboard !== null && keyboard.visible && keyboard.state === "fileBrowse"
    readonly property int ch: keyboard ? keyboard.ch : 0
    property int place: 0
    property string rootUrl: ""
    property string dir: ""
    property var entries: []
    property int current: 0
    property var filters: []
    property bool listType: false
    property bool editing: false
    property string editPath: ""
    property int editIndex: 0
    property string editText: ""
    property bool naming: false
    property string nameText: ""
    property string copied: ""
    signal beep(int where)
    signal warnBeep(int where)
    visible: open
    color: "#0d1014"
    border.color: accent
    radius: 6

    state: editing ? "editList" : rootUrl === "" ? "nomem" : place === 0 ? "buildinArb"
                                                 : listType ? "userList" : "userArb"
    states: [State { name: "buildinArb" }, State { name: "userArb" }, State { name: "userList" },
             State { name: "editList" }, State { name: "nomem" }]
    // The list editor and the name entry use the preview's place.
    readonly property bool coversPreview: open && (editing || naming)
    readonly property bool writable: state === "userArb" || state === "userList"

    onOpenChanged: if (open) reopen(); else { editing = false; naming = false }
    function reopen() {
        listType = uidata.listFileType(ch)
        filters = uidata.getFileTypeFilter(ch)
        place = uidata.storagePlace(ch)
        editing = false
        naming = false
        setRoot()
    }
    function rootOf(p) {
        return p === 0 ? uidata.storageLocal(ch) : p === 1 ? uidata.storageUser(ch) : uidata.storageExternal(ch)
    }
    function setRoot() {
        rootUrl = rootOf(place)
        dir = rootUrl
        current = 0
        refresh()
    }
    function refresh() {
        entries = rootUrl === "" ? [] : uidata.browseFolder(dir, filters)
        if (current >= entries.length)
            current = Math.max(0, entries.length - 1)
    }
    function selected() { return current >= 0 && current < entries.length ? entries[current] : null }
    function selectName(name) {
        for (var i = 0; i < entries.length; ++i)
            if (entries[i].name === name)
                current = i
    }
    function close() { if (keyboard) keyboard.hidefouce() }

    // Storage buttons: the library holds no frequency lists.
    function setStorage(p) {
        if (p === 0 && listType) {
            warnBeep(2)
            return false
        }
        var ok = uidata.setstorage(ch, p)
        place = ok ? p : uidata.storagePlace(ch)
        setRoot()
        if (ok) beep(2); else warnBeep(2)
        return ok
    }
    function preview() {
        var e = selected()
        if (e && !e.isDir && fileModel)
            fileModel.onFileSelectEvent(e.path, false)
    }
    function move(step) {
        if (entries.length === 0)
            return false
        current = (current + step + entries.length) % entries.length
        preview()
        return true
    }
    function enter(e) {
        dir = e.path
        current = 0
        refresh()
    }
    function up() {
        if (dir === rootUrl || dir.indexOf(rootUrl + "/") !== 0)
            return false
        var name = dir.substring(dir.lastIndexOf("/") + 1)
        dir = dir.substring(0, dir.lastIndexOf("/"))
        refresh()
        selectName(name)
        return true
    }
    function choose() {
        var e = selected()
        if (!e)
            return false
        if (e.isDir) {
            enter(e)
            return true
        }
        if (!fileModel)
            return false
        var r = fileModel.onFileSelectEvent(e.path, true)
        if (r === "error")
            return false
        close()
        return true
    }

    // File operations; uidata refuses them outside the user storages and
    // shows why.
    function newFile() {
        var path = uidata.newCsvFile(dir)
        refresh()
        if (path !== "")
            selectName(path.substring(path.lastIndexOf("/") + 1))
        return path !== ""
    }
    function newFolder() {
        var path = uidata.newfolder(dir)
        refresh()
        return path !== ""
    }
    function removeSelected() {
        var e = selected()
        var ok = e ? uidata.remove(e.path, e.isDir) : false
        refresh()
        return ok
    }
    function renameSelected(newname) {
        var e = selected()
        var ok = e ? uidata.rename(e.path, newname, e.isDir) : false
        refresh()
        if (ok)
            selectName(newname)
        return ok
    }
    function copySelected() {
        var e = selected()
        if (!e)
            return false
        uidata.cpyRequest(e.path, e.isDir)
        copied = e.name
        return true
    }
    function paste() {
        var ok = uidata.cpypstProcess(dir)
        refresh()
        return ok
    }

    // The list editor: the channel's frequency list, loaded from the
    // highlighted file, edited in place and saved back to it.
    function openEditor() {
        var e = selected()
        if (!listType || !e || e.isDir) {
            warnBeep(2)
            return false
        }
        preview()
        editPath = e.path
        editIndex = 0
        editText = ""
        editing = true
        uidata.loadList(ch)
        reloadTimer.restart()  // the controller loads the file in its own thread
        return true
    }
    Timer { id: reloadTimer; interval: 300; onTriggered: if (fb.editing) uidata.loadList(fb.ch) }
    function editorAdd() {
        var before = uidata.editlist.length
        editIndex = uidata.listEditorAdd(ch, editIndex + 1)
        if (uidata.editlist.length === before) {
            warnBeep(2)
            return false
        }
        return true
    }
    function editorDelete() {
        if (!uidata.listEditorDelete(ch, editIndex))
            return false
        editIndex = Math.max(0, Math.min(editIndex, uidata.editlist.length - 1))
        return true
    }
    function editorUp() { var i = uidata.listEditorMoveUp(ch, editIndex); var moved = i !== editIndex; editIndex = i; return moved }
    function editorDown() { var i = uidata.listEditorMoveDown(ch, editIndex); var moved = i !== editIndex; editIndex = i; return moved }
    function editorValue(scale) {
        var v = parseFloat(editText)
        editText = ""
        if (isNaN(v))
            return false
        return uidata.setlistEditorValue(ch, editIndex, v * scale)
    }
    function editorSave() { return uidata.savelist(ch, editPath) }

    // A touch on an entry highlights it; a touch on the highlighted one
    // opens the folder or takes the file.
    function touchEntry(i) {
        if (current !== i) {
            current = i
            preview()
            beep(2)
        } else if (choose()) {
            beep(2)
        } else {
            warnBeep(2)
        }
    }
    // Which operation buttons work in the shown storage.
    function allows(op) {
        if (op === "up") return true
        if (op === "newfile" || op === "edit") return state === "userList"
        if (op === "copy") return state !== "nomem"
        if (op === "paste") return writable && copied !== ""
        return writable
    }
    function operate(op) {
        var ok = true
        if (op === "up") ok = up()
        else if (op === "newfile") ok = newFile()
        else if (op === "newfolder") ok = newFolder()
        else if (op === "delete") ok = removeSelected()
        else if (op === "rename") { ok = selected() !== null; if (ok) { nameText = selected().name; naming = true } }
        else if (op === "copy") ok = copySelected()
        else if (op === "paste") ok = paste()
        else if (op === "edit") ok = openEditor()
        if (ok) beep(2); else warnBeep(2)
        return ok
    }

    // Panel keys while the browser is open (from the keyboard's hdknob).
    function onKey(key, repeat) {
        var n = repeat > 0 ? repeat : 1
        var ok = true
        if (editing) {
            if (key === Appc.QKey_Up) editIndex = Math.max(0, editIndex - n)
            else if (key === Appc.QKey_Down) editIndex = Math.min(uidata.editlist.length - 1, editIndex + n)
            else if (key >= Appc.QKey_0 && key <= Appc.QKey_9) editText += String(key - Appc.QKey_0)
            else if (key === Appc.QKey_Dot) ok = editText.indexOf(".") < 0 && (editText += ".") !== ""
            else if (key === Appc.QKey_Backspace) editText = editText.slice(0, -1)
            else if (key === Appc.QKey_Ok) ok = editorValue(1)
            else if (key === Appc.QKey_Cancel || key === Appc.QKey_Left) editing = false
            else ok = false
        } else if (naming) {
            if (key >= Appc.QKey_0 && key <= Appc.QKey_9) nameText += String(key - Appc.QKey_0)
            else if (key === Appc.QKey_Backspace) nameText = nameText.slice(0, -1)
            else if (key === Appc.QKey_Ok) { naming = false; ok = renameSelected(nameText) }
            else if (key === Appc.QKey_Cancel) naming = false
            else ok = false
        } else {
            if (key === Appc.QKey_Up) ok = move(-n)
            else if (key === Appc.QKey_Down) ok = move(n)
            else if (key === Appc.QKey_Ok) ok = choose()
            else if (key === Appc.QKey_Right) { var e = selected(); ok = e !== null && e.isDir; if (ok) enter(e) }
            else if (key === Appc.QKey_Left) ok = up()
            else if (key === Appc.QKey_Cancel) close()
            else ok = false
        }
        if (ok) beep(1); else warnBeep(1)
        return ok
    }

    // Storage buttons.
    Column {
        x: 10
        y: 10
        spacing: 8
        Repeater {
            model: [qsTr("内置波形"), qsTr("内部存储"), qsTr("U盘")]
            Rectangle {
                objectName: "storage" + index
                width: 160
                height: 60
                radius: 6
                color: fb.place === index ? fb.accent : "#1c2127"
                border.color: fb.accent
                border.width: 2
                opacity: index === 0 && fb.listType ? 0.4 : 1.0
                Text { anchors.centerIn: parent; color: "white"; font.pixelSize: 20; text: modelData }
                MouseArea { anchors.fill: parent; onClicked: fb.setStorage(index) }
            }
        }
        Text {
            width: 160
            color: "#9fb0c0"
            font.pixelSize: 15
            wrapMode: Text.Wrap
            text: fb.rootUrl === "" || !uidata ? "" : qsTr("可用空间") + ": " + uidata.getMemInfo(fb.place)
        }
    }

    // Path and entries.
    Text {
        x: 180
        y: 10
        width: 540
        color: "#d8e2ec"
        font.pixelSize: 18
        elide: Text.ElideLeft
        visible: !fb.editing
        text: fb.state === "nomem" ? "" : fb.dir.replace("file://", "")
    }
    ListView {
        id: pathlist
        objectName: "pathlistview"
        x: 180
        y: 40
        width: 540
        height: 590
        clip: true
        visible: !fb.editing && fb.state !== "nomem"
        model: fb.entries
        currentIndex: fb.current
        spacing: 2
        delegate: Rectangle {
            width: 540
            height: 44
            radius: 4
            color: index === fb.current ? Qt.darker(fb.accent, 1.3) : "#161b21"
            // Folder and file icons, drawn.
            Item {
                x: 8
                anchors.verticalCenter: parent.verticalCenter
                width: 30; height: 26
                Rectangle { visible: modelData.isDir; x: 0; y: 0; width: 12; height: 6; radius: 2; color: "#e0b040" }
                Rectangle { visible: modelData.isDir; x: 0; y: 4; width: 30; height: 22; radius: 3; color: "#ffd54f" }
                Rectangle { visible: !modelData.isDir; x: 5; y: 0; width: 20; height: 26; color: "#d8e2ec"; border.color: "#6b7885" }
                Rectangle { visible: !modelData.isDir; x: 9; y: 8; width: 12; height: 2; color: "#6b7885" }
                Rectangle { visible: !modelData.isDir; x: 9; y: 13; width: 12; height: 2; color: "#6b7885" }
                Rectangle { visible: !modelData.isDir; x: 9; y: 18; width: 12; height: 2; color: "#6b7885" }
            }
            Text { x: 48; anchors.verticalCenter: parent.verticalCenter; width: 480; elide: Text.ElideMiddle
                   color: "white"; font.pixelSize: 20; text: modelData.name }
            MouseArea {
                anchors.fill: parent
                onClicked: fb.touchEntry(index)
            }
        }
    }
    Text {
        objectName: "nomemtext"
        x: 180; y: 80; width: 540
        visible: fb.state === "nomem"
        color: "#ffb0a0"; font.pixelSize: 22; wrapMode: Text.Wrap
        text: fb.place === 2 ? qsTr("未检测到U盘") : qsTr("未检测到TF卡")
    }

    // Operations.
    Grid {
        objectName: "fileops"
        x: 740
        y: 10
        columns: 4
        spacing: 6
        visible: !fb.editing
        Repeater {
            model: [[qsTr("上一级"), "up"], [qsTr("新建列表"), "newfile"], [qsTr("新建文件夹"), "newfolder"],
                    [qsTr("删除"), "delete"], [qsTr("重命名"), "rename"], [qsTr("复制"), "copy"],
                    [qsTr("粘贴"), "paste"], [qsTr("编辑列表"), "edit"]]
            Rectangle {
                readonly property bool allowed: fb.allows(modelData[1])
                width: 120; height: 50; radius: 4
                color: "#242a31"; border.color: "#6b7885"
                opacity: allowed ? 1.0 : 0.35
                Text { anchors.centerIn: parent; color: "white"; font.pixelSize: 18; text: modelData[0] }
                MouseArea {
                    anchors.fill: parent
                    enabled: parent.allowed
                    onClicked: fb.operate(modelData[1])
                }
            }
        }
    }

    // New name of the highlighted entry.
    Rectangle {
        objectName: "renamebox"
        x: 740; y: 130; width: 510; height: 250; radius: 6
        visible: fb.naming
        color: "#1a1f25"; border.color: "#ffd54f"
        Text { x: 10; y: 8; width: 490; color: "white"; font.pixelSize: 20; elide: Text.ElideLeft
               text: qsTr("新名称") + ": " + fb.nameText + "▏" }
        Grid {
            x: 10; y: 44; columns: 10; spacing: 3
            Repeater {
                model: ["1","2","3","4","5","6","7","8","9","0","Q","W","E","R","T","Y","U","I","O","P",
                        "A","S","D","F","G","H","J","K","L","_","Z","X","C","V","B","N","M","-",".","⌫"]
                Rectangle {
                    width: 46; height: 40; radius: 3; color: "#2b323b"; border.color: "#6b7885"
                    Text { anchors.centerIn: parent; color: "white"; font.pixelSize: 18; text: modelData }
                    MouseArea { anchors.fill: parent; onClicked: {
                        if (modelData === "⌫") fb.nameText = fb.nameText.slice(0, -1)
                        else if (fb.nameText.length < 64) fb.nameText += modelData
                        fb.beep(2) } }
                }
            }
        }
        Row {
            x: 10; y: 200; spacing: 10
            Rectangle { width: 120; height: 40; radius: 4; color: "#446722"
                        Text { anchors.centerIn: parent; color: "white"; font.pixelSize: 18; text: qsTr("确定") }
                        MouseArea { anchors.fill: parent; onClicked: { fb.naming = false; if (fb.renameSelected(fb.nameText)) fb.beep(2); else fb.warnBeep(2) } } }
            Rectangle { width: 120; height: 40; radius: 4; color: "#5a2a2a"
                        Text { anchors.centerIn: parent; color: "white"; font.pixelSize: 18; text: qsTr("取消") }
                        MouseArea { anchors.fill: parent; onClicked: { fb.naming = false; fb.beep(2) } } }
        }
    }

    // The list editor.
    Item {
        objectName: "listeditor"
        x: 180
        y: 40
        width: 1070
        height: 590
        visible: fb.editing
        Text { y: -30; x: 0; color: "#d8e2ec"; font.pixelSize: 18
               text: qsTr("列表编辑") + ": " + fb.editPath.substring(fb.editPath.lastIndexOf("/") + 1)
                     + "  (" + (uidata ? uidata.editlist.length : 0) + "/2048)" }
        ListView {
            id: editlistview
            objectName: "editlistview"
            width: 540
            height: 590
            clip: true
            spacing: 2
            model: uidata ? uidata.editlist : []
            currentIndex: fb.editIndex
            delegate: Rectangle {
                width: 540; height: 40; radius: 4
                color: index === fb.editIndex ? Qt.darker(fb.accent, 1.3) : "#161b21"
                Text { x: 10; anchors.verticalCenter: parent.verticalCenter; width: 70; color: "#9fb0c0"; font.pixelSize: 18; text: index + 1 }
                Text { x: 90; anchors.verticalCenter: parent.verticalCenter; color: "white"; font.pixelSize: 20; text: modelData }
                MouseArea { anchors.fill: parent; onClicked: { fb.editIndex = index; fb.beep(2) } }
            }
        }
        Grid {
            x: 560
            columns: 4
            spacing: 6
            Repeater {
                model: [[qsTr("添加"), "add"], [qsTr("删除"), "del"], [qsTr("上移"), "up"], [qsTr("下移"), "down"],
                        [qsTr("保存"), "save"], [qsTr("返回"), "back"]]
                Rectangle {
                    width: 120; height: 50; radius: 4; color: "#242a31"; border.color: "#6b7885"
                    Text { anchors.centerIn: parent; color: "white"; font.pixelSize: 18; text: modelData[0] }
                    MouseArea { anchors.fill: parent; onClicked: {
                        var op = modelData[1], ok = true
                        if (op === "add") ok = fb.editorAdd()
                        else if (op === "del") ok = fb.editorDelete()
                        else if (op === "up") ok = fb.editorUp()
                        else if (op === "down") ok = fb.editorDown()
                        else if (op === "save") ok = fb.editorSave()
                        else fb.editing = false
                        if (ok) fb.beep(2); else fb.warnBeep(2) } }
                }
            }
        }
        Rectangle {
            x: 560; y: 120; width: 500; height: 52; radius: 4; color: "#101418"; border.color: "#ffd54f"
            Text { x: 10; anchors.verticalCenter: parent.verticalCenter; color: "white"; font.pixelSize: 22
                   text: qsTr("新值") + ": " + fb.editText + "▏" }
        }
        Grid {
            x: 560; y: 180; columns: 5; spacing: 6
            Repeater {
                model: [["7", 0], ["8", 0], ["9", 0], ["⌫", 0], ["MHz", 1e6], ["4", 0], ["5", 0], ["6", 0], [".", 0],
                        ["kHz", 1e3], ["1", 0], ["2", 0], ["3", 0], ["0", 0], ["Hz", 1]]
                Rectangle {
                    width: 92; height: 56; radius: 4; color: modelData[1] > 0 ? "#446722" : "#2b323b"; border.color: "#6b7885"
                    Text { anchors.centerIn: parent; color: "white"; font.pixelSize: 22; text: modelData[0] }
                    MouseArea { anchors.fill: parent; onClicked: {
                        var ok = true
                        if (modelData[1] > 0) ok = fb.editorValue(modelData[1])
                        else if (modelData[0] === "⌫") fb.editText = fb.editText.slice(0, -1)
                        else if (modelData[0] === ".") ok = fb.editText.indexOf(".") < 0 && (fb.editText += ".") !== ""
                        else fb.editText += modelData[0]
                        if (ok) fb.beep(2); else fb.warnBeep(2) } }
                }
            }
        }
    }
}
