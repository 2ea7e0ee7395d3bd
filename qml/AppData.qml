import QtQuick 2.12

// Constant tables of the screens (messages, tips, errors, questions,
// parameter names, wave and mode lists) and the state of the foot bar's
// channel boxes, which the controller sets through the channel_* functions.
Item {
    id: appdata
    objectName: "appdata"
    visible: false

    // Channel colours: channels 1..4, then merge 1/2, merge 3/4, counter,
    // system and digital share the last one.
    readonly property var chColors: ["#990000", "#009999", "#ff9900", "#cc3399", "#446722"]
    function chColor(ch) { return ch >= 0 && ch < 4 ? chColors[ch] : chColors[4] }

    readonly property var infoTexts: [
        qsTr("U盘已退出"), qsTr("U盘已插入"), qsTr("PC已断开"), qsTr("PC已连接"),
        qsTr("WLAN已接入"), qsTr("WLAN已断开"), qsTr("设备已解锁"), qsTr("设备已锁定"),
        qsTr("已切换到内部时钟"), qsTr("已切换到外部时钟"), qsTr("外部时钟无效")
    ]
    readonly property var tipsTexts: [
        qsTr("远程控制中，设备已锁定，按Utility解锁"),
        qsTr("正占用端口FSK_Trig，请修改后重试！"),
        qsTr("正占用端口FSK_Trig，无法启用该功能！"),
        qsTr("正占用端口FSK_Trig，无法调整参数避开！"),
        qsTr("已修改波形来满足调制！"),
        qsTr("已修改波形来满足扫频！"),
        qsTr("已修改波形来满足脉冲串！"),
        qsTr("抱歉！无法调制当前波形！"),
        qsTr("抱歉！无法扫频当前波形！"),
        qsTr("抱歉！当前波形无法使用脉冲串！"),
        qsTr("高阻下无法计算功率！设置被取消！"),
        qsTr("通道正被用于同步输出！"),
        qsTr("抱歉，同步通道正被用作数字信号输出！"),
        qsTr("超出范围！"),
        qsTr("通道合并需相同负载，负载被修改！"),
        qsTr("已将当前系统参数保存到预设组！"),
        qsTr("IP格式不合法"),
        qsTr("子网掩码不合法"),
        qsTr("重命名失败，检查名字是否重复或无写权限！"),
        qsTr("重命名成功！"),
        qsTr("删除失败，文件夹下包含文件或受保护文件！"),
        qsTr("删除成功"),
        qsTr("受保护的目录"),
        qsTr("功能暂不可用"),
        qsTr("未检测到U盘"),
        qsTr("未检测到TF卡"),
        qsTr("噪声叠加不可与通道合并同时使用"),
        qsTr("保存当前屏幕成功"),
        qsTr("保存当前屏幕失败"),
        qsTr("错误的文件格式"),
        qsTr("此按键已锁定"),
        qsTr("拷贝成功"),
        qsTr("拷贝失败"),
        qsTr("相位耦合需在通道相位同步模式下才有效，已切换到同步模式"),
        qsTr("在相位同步模式下才能保证合并结果，已切换到同步模式")
    ]
    readonly property var errorTexts: ["", qsTr("负载异常，已关闭通道！"), qsTr("参数耦合失败！"),
        qsTr("机内温度过高，已关闭所有通道！")]
    readonly property var askTexts: ["", qsTr("检测到升级文件，现在升级？"), qsTr("正在更新固件,请勿断电……"),
        qsTr("恢复出厂设置将覆盖当前所有参数，现在执行？"), qsTr("语言修改将在重启后生效，立即重启？"),
        qsTr("正在加载文件，请稍后……"), qsTr("正在关机……"), qsTr("请拔出U盘……")]

    // Text of a message: type 0 info, 1 tips, 2 error; anything else none.
    function messageText(type, number) {
        var t = type === 0 ? infoTexts : type === 1 ? tipsTexts : type === 2 ? errorTexts : null
        if (!t || number < 0 || number >= t.length)
            return ""
        return t[number]
    }
    function askText(type) { return type > 0 && type < askTexts.length ? askTexts[type] : "" }

    // Arbitrary-wave library folders and their display names.
    readonly property var arbDirs: ["AntiTrigonome", "Bioelect", "Common", "Complex_Wavelets", "Engine", "Maths",
        "Medical", "Other", "SectMod", "Automotive", "Trigonome", "Window", "Noise"]
    readonly property var arbDirNames: [qsTr("反三角函数"), qsTr("生物电"), qsTr("常用"), qsTr("复小波"),
        qsTr("发动机"), qsTr("数学"), qsTr("医疗"), qsTr("其他"), qsTr("分段调制"), qsTr("汽车电子"),
        qsTr("三角函数"), qsTr("窗函数"), qsTr("噪声")]

    // Wave and mode lists: [text, icon] per entry, in the order of the
    // instrument's type numbers.
    readonly property var baseWaves: [
        [qsTr("正弦波"), "sine"], [qsTr("方波"), "square"], [qsTr("锯齿波"), "ramp"], [qsTr("脉冲波"), "pulse"],
        [qsTr("任意波"), "arb"], [qsTr("谐波"), "harm"], [qsTr("噪声"), "noise"], [qsTr("直流"), "dc"],
        [qsTr("伪随机码"), "pseu"]]
    readonly property var modTypes: [
        ["AM", "AM"], ["BAM", "BAM"], ["QAM", "QAM"], ["ASK", "ASK"], ["FM", "FM"], ["FSK", "FSK"],
        ["3FSK", "FSK"], ["4FSK", "FSK"], ["PM", "PM"], ["PSK", "PSK"], ["BPSK", "BPSK"], ["QPSK", "QPSK"],
        ["OSK", "OSK"], ["PWM", "PWM"], ["SUM", "SUM"]]
    readonly property var sweepTypes: [[qsTr("线性"), "LINE"], [qsTr("对数"), "LOG"], [qsTr("步进"), "STEP"],
        [qsTr("列表"), "LIST"]]
    readonly property var burstTypes: [[qsTr("N周期"), "NCYC"], [qsTr("门控"), "GATED"], [qsTr("无限"), "INFINITE"]]
    readonly property var modeNames: [qsTr("基本波"), qsTr("调制"), qsTr("扫频"), qsTr("脉冲串")]
    function modeList(mode) {
        return mode === 1 ? modTypes : mode === 2 ? sweepTypes : mode === 3 ? burstTypes : baseWaves
    }
    function icon(name) { return "qrc:/picture/" + name + ".png" }

    // Parameter names by parameter index; a row with several names picks
    // the entry of the model's name index.
    readonly property var paramNames: [
        [qsTr("幅度"), qsTr("高电平")], [qsTr("频率"), qsTr("周期")], qsTr("采样率"), qsTr("相位"),
        [qsTr("偏移"), qsTr("低电平")], [qsTr("占空比"), qsTr("脉宽")], qsTr("对称性"), qsTr("上升沿"),
        qsTr("下降沿"), qsTr("调制源"), qsTr("调制波形"), qsTr("调制频率"), qsTr("码率"), qsTr("调制深度"),
        qsTr("调制深度"), qsTr("频率偏差"), qsTr("相位偏差"), qsTr("跳频"), qsTr("跳频2"), qsTr("跳频3"),
        qsTr("速率"), qsTr("相位1"), qsTr("相位2"), qsTr("相位3"), qsTr("相位4"), qsTr("占空比偏差"),
        qsTr("振荡时间"), qsTr("星座图"), qsTr("起始频率"), qsTr("终止频率"), qsTr("扫频时间"),
        qsTr("步进数"), qsTr("列表文件"), qsTr("谐波次数"), qsTr("谐波类型"), qsTr("自定义"),
        qsTr("谐波序号"), qsTr("谐波幅度"), qsTr("谐波相位"), qsTr("码元"), qsTr("边沿时间"),
        qsTr("触发输出"), qsTr("触发周期"), qsTr("循环数"), qsTr("门控极性"), qsTr("起始相位"),
        qsTr("波形文件"), qsTr("调制文件"), qsTr("触发源"), qsTr("触发源"), qsTr("点数"), qsTr("滤波"),
        qsTr("输出"), qsTr("反相"), qsTr("负载"), qsTr("限幅"), qsTr("上限"), qsTr("下限"), qsTr("同步输出"),
        qsTr("同步反相"), qsTr("噪声叠加"), qsTr("信噪比"), qsTr("通道合并"), qsTr("频率耦合"),
        qsTr("耦合方式"), qsTr("频率差"), qsTr("频率比"), qsTr("幅度耦合"), qsTr("耦合方式"), qsTr("幅度差"),
        qsTr("幅度比"), qsTr("相位耦合"), qsTr("耦合方式"), qsTr("相位差"), qsTr("相位比"),
        qsTr("语言"), qsTr("分隔符"), qsTr("蜂鸣器"), qsTr("背光"), qsTr("屏保"), qsTr("时钟源"),
        qsTr("截图格式"), qsTr("时钟输出"), qsTr("相位同步"), qsTr("手动触发"), qsTr("上电参数"),
        qsTr("保存参数"), qsTr("恢复出厂"), qsTr("IP方式"), qsTr("IP地址"), qsTr("子网掩码"), qsTr("网关"),
        qsTr("MAC地址"), qsTr("计数器"), qsTr("耦合"), qsTr("触发电平"), qsTr("灵敏度"), qsTr("低通滤波"),
        qsTr("数字输出"), qsTr("格式"), qsTr("电平"), qsTr("自动发送"), qsTr("SPI时钟"), qsTr("I2C时钟"),
        qsTr("I2C地址"), qsTr("发送间隔"), qsTr("波特率"), qsTr("数据位"), qsTr("停止位"), qsTr("校验")]
    function paramName(index, nameindex) {
        if (index < 0 || index >= paramNames.length)
            return ""
        var row = paramNames[index]
        if (typeof row === "string")
            return row
        return row[nameindex >= 0 && nameindex < row.length ? nameindex : 0]
    }
    // Choice texts of the selection entries.
    readonly property var offOn: [qsTr("关"), qsTr("开")]
    readonly property var choiceLists: ({
        9: [qsTr("内部"), qsTr("外部")],
        10: [qsTr("正弦"), qsTr("方波"), qsTr("上升锯齿"), qsTr("下降锯齿"), qsTr("噪声"), qsTr("任意波")],
        27: ["QAM4", "QAM8", "QAM16", "QAM32", "QAM64", "QAM128", "QAM256"],
        34: [qsTr("奇次"), qsTr("偶次"), qsTr("全部"), qsTr("自定义")],
        39: ["PN3", "PN5", "PN7", "PN9", "PN11", "PN13", "PN15", "PN17", "PN21", "PN23", "PN25", "PN27",
             "PN29", "PN31", "PN33"],
        41: [qsTr("关"), qsTr("上升沿"), qsTr("下降沿")],
        44: [qsTr("正极性"), qsTr("负极性")],
        48: [qsTr("内部"), qsTr("外部上升沿"), qsTr("外部下降沿"), qsTr("手动")],
        49: [qsTr("内部"), qsTr("外部上升沿"), qsTr("外部下降沿"), qsTr("手动")]
    })
    function choiceText(index, value) {
        var l = choiceLists[index]
        if (!l)
            l = offOn
        return value >= 0 && value < l.length ? l[value] : String(value)
    }

    // The foot bar's channel boxes (channel numbers 1..4).
    property var chSwitch: [false, false, false, false]
    property var chInvert: [false, false, false, false]
    property var chLoad: ["HighZ", "HighZ", "HighZ", "HighZ"]
    property var chLimitH: ["", "", "", ""]
    property var chLimitL: ["", "", "", ""]
    function setAt(list, ch, v) { var l = list.slice(); if (ch >= 1 && ch <= 4) l[ch - 1] = v; return l }
    function channel_Setswitch(ch, on) { chSwitch = setAt(chSwitch, ch, !!on) }
    function channel_Setopposition(ch, inv) { chInvert = setAt(chInvert, ch, !!inv) }
    function channel_SetchLoad(ch, text) { chLoad = setAt(chLoad, ch, String(text)) }
    function limitText(v) { return typeof v === "number" ? v.toFixed(3) + " V" : String(v) }
    function channel_Setchhvalue(ch, v) { chLimitH = setAt(chLimitH, ch, limitText(v)) }
    function channel_Setchlvalue(ch, v) { chLimitL = setAt(chLimitL, ch, limitText(v)) }
}
