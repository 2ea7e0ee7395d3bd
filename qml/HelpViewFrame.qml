import QtQuick 2.12
import appc 1.0

// The help page: a short text per waveform, work mode, utility page and
// group of panel keys. A panel key pressed while the help is shown opens
// its topic (getToButtonIndex); a touch on the topic list does the same.
Item {
    id: help
    objectName: "helpview"
    property int topic: 0
    property color accent: "#446722"

    readonly property var topics: [
        [qsTr("使用帮助"), qsTr("按下前面板上的任意按键可查看该按键的说明，或在左侧选择主题。再次点击帮助按钮返回。")],
        [qsTr("正弦波"), qsTr("正弦波：设置频率、幅度、偏移和相位。幅度可用 Vpp、Vrms 或 dBm 表示，dBm 需要设置负载。")],
        [qsTr("方波"), qsTr("方波：除频率、幅度、偏移、相位外，还可设置占空比。高频时占空比范围会受限制。")],
        [qsTr("锯齿波"), qsTr("锯齿波：对称性决定上升部分所占的比例，0% 为下降锯齿，100% 为上升锯齿，50% 为三角波。")],
        [qsTr("脉冲波"), qsTr("脉冲波：可设置脉宽或占空比，以及上升沿和下降沿时间。边沿时间不能超过脉宽允许的范围。")],
        [qsTr("任意波"), qsTr("任意波：从内置波形库、内部存储或U盘选择波形文件（*.bsv、*.csv）。可按频率或采样率播放。")],
        [qsTr("谐波"), qsTr("谐波：设置谐波次数和类型（奇次、偶次、全部或自定义），并为每次谐波设置幅度和相位。")],
        [qsTr("噪声"), qsTr("噪声：输出带宽受限的高斯白噪声，只需设置幅度和偏移。")],
        [qsTr("直流"), qsTr("直流：输出恒定电压，由偏移设置，范围取决于负载。")],
        [qsTr("伪随机码"), qsTr("伪随机码：选择码元长度（PN3～PN33）、码率和边沿时间。")],
        [qsTr("连续"), qsTr("连续模式：通道连续输出所选的基本波形。")],
        [qsTr("调制"), qsTr("调制：AM、FM、PM、ASK、FSK、PSK、QAM、OSK、PWM、SUM 等。调制源可选内部或外部，内部调制可选调制波形和调制频率。调制频率也是 ASK、FSK、PSK 的键控速率；QAM、BPSK、QPSK 按码率键控；OSK 按速率起振，振荡时间是载波起落所用的时间。")],
        [qsTr("扫频"), qsTr("扫频：线性、对数、步进或列表扫频。设置起始频率、终止频率和扫频时间；列表扫频使用频率列表文件。线性和对数扫频的扫频时间是一次扫频所用的时间，步进和列表扫频是每一步的停留时间。")],
        [qsTr("脉冲串"), qsTr("脉冲串：N周期、门控或无限脉冲串。触发源可为内部、外部或手动，可设置起始相位和触发输出。内部触发时，脉冲串周期是相邻两串起点的间隔。")],
        [qsTr("通道设置"), qsTr("通道设置：每个通道的负载、幅度限制（上限和下限）、同步输出（CH1、CH2）和噪声叠加。")],
        [qsTr("通道耦合"), qsTr("通道耦合：CH1 与 CH2、CH3 与 CH4 可按比率或差值耦合频率、幅度和相位。相位耦合需要相位同步模式。")],
        [qsTr("通道合并"), qsTr("通道合并：合并的通道在自身输出上叠加另一通道的信号。两个通道的负载必须相同，不能同时使用噪声叠加。")],
        [qsTr("计数器"), qsTr("计数器：测量输入信号的频率、周期、占空比和脉宽，并给出统计值。可设置耦合、触发电平、灵敏度和低通滤波。")],
        [qsTr("数字输出"), qsTr("数字输出：CH2～CH4 可作为 SPI、I2C 或 UART 发送端。输入十六进制或文本数据，可手动发送或按间隔自动发送。")],
        [qsTr("系统设置"), qsTr("系统设置：语言、分隔符、蜂鸣器、背光、屏保、时钟源、截图格式、相位同步、上电参数、预设和恢复出厂，以及网络地址。")],
        [qsTr("通道按键"), qsTr("CH1～CH4：切换到该通道的页面；再按一次当前通道的按键可打开或关闭其输出。Utility：进入系统页面，远程控制时按下解锁。")],
        [qsTr("旋钮与方向键"), qsTr("旋钮和上下键修改选中的数位或移动列表；左右键移动数位或在列表之间切换；OK 确认，长按 OK 截屏到U盘。")],
        [qsTr("数字键"), qsTr("数字键、小数点和正负号用于输入数值，输入后选择单位或按 OK 确认，退格删除最后一位，取消放弃输入。")]
    ]
    // Topic of a panel key.
    function topicOf(key) {
        if (key === Appc.QKey_Start) return 10
        if (key === Appc.QKey_Mod) return 11
        if (key === Appc.QKey_Sweep) return 12
        if (key === Appc.QKey_Burst) return 13
        if (key >= Appc.QKey_Sine && key <= Appc.QKey_PRBS) return 1 + (key - Appc.QKey_Sine)
        if (key === Appc.QKey_WARB) return 5
        if (key >= Appc.QKey_Ch1 && key <= Appc.QKey_Utility) return 20
        if (key >= Appc.QKey_Right && key <= Appc.QKey_Down) return 21
        if (key >= Appc.QKey_0 && key <= Appc.QKey_Cancel) return 22
        return 0
    }
    // The last panel key asked about (-1: none yet).
    property int shownKey: -1
    function getToButtonIndex(key) {
        shownKey = key
        topic = topicOf(key)
    }

    GridView {
        id: topicList
        objectName: "helptopics"
        x: 0
        y: 0
        width: 410
        height: parent.height
        flow: GridView.FlowTopToBottom
        cellWidth: 205
        cellHeight: 40
        interactive: false
        model: help.topics
        currentIndex: help.topic
        delegate: Rectangle {
            width: 200
            height: 36
            radius: 4
            color: index === help.topic ? help.accent : "#161b21"
            Text { x: 10; anchors.verticalCenter: parent.verticalCenter; width: 184; elide: Text.ElideRight
                   color: "white"; font.pixelSize: 17; text: modelData[0] }
            MouseArea { anchors.fill: parent; onClicked: help.topic = index }
        }
    }
    Rectangle {
        x: 420
        width: parent.width - 420
        height: parent.height
        radius: 6
        color: "#101418"
        border.color: help.accent
        Text {
            objectName: "helptitle"
            x: 24; y: 20
            color: "#d8e2ec"
            font.pixelSize: 30
            font.bold: true
            text: help.topics[help.topic][0]
        }
        Text {
            objectName: "helptext"
            x: 24; y: 80
            width: parent.width - 48
            color: "#d0d8e0"
            font.pixelSize: 24
            lineHeight: 1.3
            wrapMode: Text.Wrap
            text: help.topics[help.topic][1]
        }
    }
}
