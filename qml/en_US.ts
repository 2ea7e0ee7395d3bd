<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>AppData</name>
    <message>
        <location filename="AppData.qml" line="17"/>
        <source>U盘已退出</source>
        <translation>USB disk removed</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="17"/>
        <source>U盘已插入</source>
        <translation>USB disk inserted</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="17"/>
        <source>PC已断开</source>
        <translation>PC disconnected</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="17"/>
        <source>PC已连接</source>
        <translation>PC connected</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="18"/>
        <source>WLAN已接入</source>
        <translation>Network connected</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="18"/>
        <source>WLAN已断开</source>
        <translation>Network disconnected</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="18"/>
        <source>设备已解锁</source>
        <translation>Instrument unlocked</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="18"/>
        <source>设备已锁定</source>
        <translation>Instrument locked</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="19"/>
        <source>已切换到内部时钟</source>
        <translation>Switched to the internal clock</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="19"/>
        <source>已切换到外部时钟</source>
        <translation>Switched to the external clock</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="19"/>
        <source>外部时钟无效</source>
        <translation>External clock invalid</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="22"/>
        <source>远程控制中，设备已锁定，按Utility解锁</source>
        <translation>Remote control: the panel is locked, press Utility to unlock</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="23"/>
        <source>正占用端口FSK_Trig，请修改后重试！</source>
        <translation>Port FSK_Trig is in use: change the settings and retry!</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="24"/>
        <source>正占用端口FSK_Trig，无法启用该功能！</source>
        <translation>Port FSK_Trig is in use: this function cannot be enabled!</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="25"/>
        <source>正占用端口FSK_Trig，无法调整参数避开！</source>
        <translation>Port FSK_Trig is in use and no setting avoids it!</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="26"/>
        <source>已修改波形来满足调制！</source>
        <translation>Waveform changed to allow the modulation!</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="27"/>
        <source>已修改波形来满足扫频！</source>
        <translation>Waveform changed to allow the sweep!</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="28"/>
        <source>已修改波形来满足脉冲串！</source>
        <translation>Waveform changed to allow the burst!</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="29"/>
        <source>抱歉！无法调制当前波形！</source>
        <translation>Sorry! This waveform cannot be modulated!</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="30"/>
        <source>抱歉！无法扫频当前波形！</source>
        <translation>Sorry! This waveform cannot be swept!</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="31"/>
        <source>抱歉！当前波形无法使用脉冲串！</source>
        <translation>Sorry! This waveform cannot be used in a burst!</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="32"/>
        <source>高阻下无法计算功率！设置被取消！</source>
        <translation>No power at high impedance: setting cancelled!</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="33"/>
        <source>通道正被用于同步输出！</source>
        <translation>The channel is used for the sync output!</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="34"/>
        <source>抱歉，同步通道正被用作数字信号输出！</source>
        <translation>Sorry, the sync channel is used for the digital output!</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="35"/>
        <source>超出范围！</source>
        <translation>Out of range!</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="36"/>
        <source>通道合并需相同负载，负载被修改！</source>
        <translation>Merged channels need the same load: load changed!</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="37"/>
        <source>已将当前系统参数保存到预设组！</source>
        <translation>Settings saved to the preset!</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="38"/>
        <source>IP格式不合法</source>
        <translation>Invalid IP address</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="39"/>
        <source>子网掩码不合法</source>
        <translation>Invalid subnet mask</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="40"/>
        <source>重命名失败，检查名字是否重复或无写权限！</source>
        <translation>Rename failed: the name exists or the folder is read-only!</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="41"/>
        <source>重命名成功！</source>
        <translation>Renamed!</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="42"/>
        <source>删除失败，文件夹下包含文件或受保护文件！</source>
        <translation>Delete failed: the folder holds files or protected files!</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="43"/>
        <source>删除成功</source>
        <translation>Deleted</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="44"/>
        <source>受保护的目录</source>
        <translation>Protected folder</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="45"/>
        <source>功能暂不可用</source>
        <translation>Function not available</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="46"/>
        <source>未检测到U盘</source>
        <translation>No USB disk found</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="47"/>
        <source>未检测到TF卡</source>
        <translation>No TF card found</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="48"/>
        <source>噪声叠加不可与通道合并同时使用</source>
        <translation>Added noise cannot be used with channel merge</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="49"/>
        <source>保存当前屏幕成功</source>
        <translation>Screen saved</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="50"/>
        <source>保存当前屏幕失败</source>
        <translation>Saving the screen failed</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="51"/>
        <source>错误的文件格式</source>
        <translation>Wrong file format</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="52"/>
        <source>此按键已锁定</source>
        <translation>This key is locked</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="53"/>
        <source>拷贝成功</source>
        <translation>Copied</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="54"/>
        <source>拷贝失败</source>
        <translation>Copy failed</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="55"/>
        <source>相位耦合需在通道相位同步模式下才有效，已切换到同步模式</source>
        <translation>Phase coupling needs phase-synchronous mode; switched to it</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="56"/>
        <source>在相位同步模式下才能保证合并结果，已切换到同步模式</source>
        <translation>Merging needs phase-synchronous mode; switched to it</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="58"/>
        <source>负载异常，已关闭通道！</source>
        <translation>Load fault: the output was switched off!</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="58"/>
        <source>参数耦合失败！</source>
        <translation>Parameter coupling failed!</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="59"/>
        <source>机内温度过高，已关闭所有通道！</source>
        <translation>Internal temperature too high: all outputs switched off!</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="60"/>
        <source>检测到升级文件，现在升级？</source>
        <translation>An upgrade file was found. Upgrade now?</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="60"/>
        <source>正在更新固件,请勿断电……</source>
        <translation>Updating the firmware, do not switch off...</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="61"/>
        <source>恢复出厂设置将覆盖当前所有参数，现在执行？</source>
        <translation>A factory reset overwrites all current settings. Reset now?</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="61"/>
        <source>语言修改将在重启后生效，立即重启？</source>
        <translation>The language changes after a restart. Restart now?</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="62"/>
        <source>正在加载文件，请稍后……</source>
        <translation>Loading the file, please wait...</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="62"/>
        <source>正在关机……</source>
        <translation>Shutting down...</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="62"/>
        <source>请拔出U盘……</source>
        <translation>Please remove the USB disk...</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="76"/>
        <source>反三角函数</source>
        <translation>Inverse Trig</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="76"/>
        <source>生物电</source>
        <translation>Bioelectric</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="76"/>
        <source>常用</source>
        <translation>Common</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="76"/>
        <source>复小波</source>
        <translation>Complex Wavelets</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="77"/>
        <source>发动机</source>
        <translation>Engine</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="77"/>
        <source>数学</source>
        <translation>Maths</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="77"/>
        <source>医疗</source>
        <translation>Medical</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="77"/>
        <source>其他</source>
        <translation>Other</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="77"/>
        <source>分段调制</source>
        <translation>Segmented</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="77"/>
        <source>汽车电子</source>
        <translation>Automotive</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="78"/>
        <source>三角函数</source>
        <translation>Trigonometric</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="78"/>
        <source>窗函数</source>
        <translation>Window</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="78"/>
        <location filename="AppData.qml" line="84"/>
        <location filename="AppData.qml" line="134"/>
        <source>噪声</source>
        <translation>Noise</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="83"/>
        <source>正弦波</source>
        <translation>Sine</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="83"/>
        <location filename="AppData.qml" line="134"/>
        <source>方波</source>
        <translation>Square</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="83"/>
        <source>锯齿波</source>
        <translation>Ramp</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="83"/>
        <source>脉冲波</source>
        <translation>Pulse</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="84"/>
        <location filename="AppData.qml" line="134"/>
        <source>任意波</source>
        <translation>Arb</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="84"/>
        <source>谐波</source>
        <translation>Harmonic</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="84"/>
        <source>直流</source>
        <translation>DC</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="85"/>
        <source>伪随机码</source>
        <translation>PRBS</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="90"/>
        <source>线性</source>
        <translation>Linear</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="90"/>
        <source>对数</source>
        <translation>Log</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="90"/>
        <source>步进</source>
        <translation>Step</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="91"/>
        <source>列表</source>
        <translation>List</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="92"/>
        <source>N周期</source>
        <translation>N Cycle</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="92"/>
        <source>门控</source>
        <translation>Gated</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="92"/>
        <source>无限</source>
        <translation>Infinite</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="93"/>
        <source>基本波</source>
        <translation>Wave</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="93"/>
        <source>调制</source>
        <translation>Mod</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="93"/>
        <source>扫频</source>
        <translation>Sweep</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="93"/>
        <source>脉冲串</source>
        <translation>Burst</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="102"/>
        <source>幅度</source>
        <translation>Ampl</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="102"/>
        <source>高电平</source>
        <translation>High</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="102"/>
        <source>频率</source>
        <translation>Freq</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="102"/>
        <source>周期</source>
        <translation>Period</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="102"/>
        <source>采样率</source>
        <translation>Sample Rate</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="102"/>
        <source>相位</source>
        <translation>Phase</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="103"/>
        <source>偏移</source>
        <translation>Offset</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="103"/>
        <source>低电平</source>
        <translation>Low</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="103"/>
        <source>占空比</source>
        <translation>Duty</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="103"/>
        <source>脉宽</source>
        <translation>Width</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="103"/>
        <source>对称性</source>
        <translation>Symmetry</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="103"/>
        <location filename="AppData.qml" line="139"/>
        <source>上升沿</source>
        <translation>Rising</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="104"/>
        <location filename="AppData.qml" line="139"/>
        <source>下降沿</source>
        <translation>Falling</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="104"/>
        <source>调制源</source>
        <translation>Mod Source</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="104"/>
        <source>调制波形</source>
        <translation>Mod Wave</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="104"/>
        <source>调制频率</source>
        <translation>Mod Freq</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="104"/>
        <source>码率</source>
        <translation>Bit Rate</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="104"/>
        <location filename="AppData.qml" line="105"/>
        <source>调制深度</source>
        <translation>Depth</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="105"/>
        <source>频率偏差</source>
        <translation>Freq Dev</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="105"/>
        <source>相位偏差</source>
        <translation>Phase Dev</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="105"/>
        <source>跳频</source>
        <translation>Hop Freq</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="105"/>
        <source>跳频2</source>
        <translation>Hop Freq 2</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="105"/>
        <source>跳频3</source>
        <translation>Hop Freq 3</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="106"/>
        <source>速率</source>
        <translation>Rate</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="106"/>
        <source>相位1</source>
        <translation>Phase 1</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="106"/>
        <source>相位2</source>
        <translation>Phase 2</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="106"/>
        <source>相位3</source>
        <translation>Phase 3</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="106"/>
        <source>相位4</source>
        <translation>Phase 4</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="106"/>
        <source>占空比偏差</source>
        <translation>Duty Dev</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="107"/>
        <source>振荡时间</source>
        <translation>Osc Time</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="107"/>
        <source>星座图</source>
        <translation>Map</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="107"/>
        <source>起始频率</source>
        <translation>Start Freq</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="107"/>
        <source>终止频率</source>
        <translation>Stop Freq</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="107"/>
        <source>扫频时间</source>
        <translation>Sweep Time</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="108"/>
        <source>步进数</source>
        <translation>Steps</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="108"/>
        <source>列表文件</source>
        <translation>List File</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="108"/>
        <source>谐波次数</source>
        <translation>Harm Order</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="108"/>
        <source>谐波类型</source>
        <translation>Harm Type</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="108"/>
        <location filename="AppData.qml" line="136"/>
        <source>自定义</source>
        <translation>User</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="109"/>
        <source>谐波序号</source>
        <translation>Harm No.</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="109"/>
        <source>谐波幅度</source>
        <translation>Harm Ampl</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="109"/>
        <source>谐波相位</source>
        <translation>Harm Phase</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="109"/>
        <source>码元</source>
        <translation>Code</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="109"/>
        <source>边沿时间</source>
        <translation>Edge Time</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="110"/>
        <source>触发输出</source>
        <translation>Trig Out</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="110"/>
        <source>触发周期</source>
        <translation>Trig Period</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="110"/>
        <source>循环数</source>
        <translation>Cycles</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="110"/>
        <source>门控极性</source>
        <translation>Gate Polarity</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="110"/>
        <source>起始相位</source>
        <translation>Start Phase</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="111"/>
        <source>波形文件</source>
        <translation>Wave File</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="111"/>
        <source>调制文件</source>
        <translation>Mod File</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="111"/>
        <source>触发源</source>
        <translation>Trig Source</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="111"/>
        <source>点数</source>
        <translation>Points</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="111"/>
        <source>滤波</source>
        <translation>Filter</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="112"/>
        <source>输出</source>
        <translation>Output</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="112"/>
        <source>反相</source>
        <translation>Invert</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="112"/>
        <source>负载</source>
        <translation>Load</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="112"/>
        <source>限幅</source>
        <translation>Limit</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="112"/>
        <source>上限</source>
        <translation>Upper</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="112"/>
        <source>下限</source>
        <translation>Lower</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="112"/>
        <source>同步输出</source>
        <translation>Sync Out</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="113"/>
        <source>同步反相</source>
        <translation>Sync Invert</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="113"/>
        <source>噪声叠加</source>
        <translation>Noise Add</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="113"/>
        <source>信噪比</source>
        <translation>SNR</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="113"/>
        <source>通道合并</source>
        <translation>Merge</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="113"/>
        <source>频率耦合</source>
        <translation>Freq Couple</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="114"/>
        <location filename="AppData.qml" line="115"/>
        <source>耦合方式</source>
        <translation>Couple Mode</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="114"/>
        <source>频率差</source>
        <translation>Freq Dev</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="114"/>
        <source>频率比</source>
        <translation>Freq Ratio</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="114"/>
        <source>幅度耦合</source>
        <translation>Ampl Couple</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="114"/>
        <source>幅度差</source>
        <translation>Ampl Dev</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="115"/>
        <source>幅度比</source>
        <translation>Ampl Ratio</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="115"/>
        <source>相位耦合</source>
        <translation>Phase Couple</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="115"/>
        <source>相位差</source>
        <translation>Phase Dev</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="115"/>
        <source>相位比</source>
        <translation>Phase Ratio</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="116"/>
        <source>语言</source>
        <translation>Language</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="116"/>
        <source>分隔符</source>
        <translation>Separator</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="116"/>
        <source>蜂鸣器</source>
        <translation>Beeper</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="116"/>
        <source>背光</source>
        <translation>Backlight</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="116"/>
        <source>屏保</source>
        <translation>Screen Saver</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="116"/>
        <source>时钟源</source>
        <translation>Clock Source</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="117"/>
        <source>截图格式</source>
        <translation>Picture Format</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="117"/>
        <source>时钟输出</source>
        <translation>Clock Out</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="117"/>
        <source>相位同步</source>
        <translation>Phase Sync</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="117"/>
        <source>手动触发</source>
        <translation>Trigger</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="117"/>
        <source>上电参数</source>
        <translation>Power-on</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="118"/>
        <source>保存参数</source>
        <translation>Save</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="118"/>
        <source>恢复出厂</source>
        <translation>Factory Reset</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="118"/>
        <source>IP方式</source>
        <translation>IP Mode</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="118"/>
        <source>IP地址</source>
        <translation>IP Address</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="118"/>
        <source>子网掩码</source>
        <translation>Subnet Mask</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="118"/>
        <source>网关</source>
        <translation>Gateway</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="119"/>
        <source>MAC地址</source>
        <translation>MAC Address</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="119"/>
        <source>计数器</source>
        <translation>Counter</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="119"/>
        <source>耦合</source>
        <translation>Coupling</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="119"/>
        <source>触发电平</source>
        <translation>Trig Level</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="119"/>
        <source>灵敏度</source>
        <translation>Sensitivity</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="119"/>
        <source>低通滤波</source>
        <translation>LPF</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="120"/>
        <source>数字输出</source>
        <translation>Digital Out</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="120"/>
        <source>格式</source>
        <translation>Format</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="120"/>
        <source>电平</source>
        <translation>Level</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="120"/>
        <source>自动发送</source>
        <translation>Auto Send</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="120"/>
        <source>SPI时钟</source>
        <translation>SPI Clock</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="120"/>
        <source>I2C时钟</source>
        <translation>I2C Clock</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="121"/>
        <source>I2C地址</source>
        <translation>I2C Addr</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="121"/>
        <source>发送间隔</source>
        <translation>Interval</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="121"/>
        <source>波特率</source>
        <translation>Baud Rate</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="121"/>
        <source>数据位</source>
        <translation>Data Bits</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="121"/>
        <source>停止位</source>
        <translation>Stop Bits</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="121"/>
        <source>校验</source>
        <translation>Parity</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="131"/>
        <location filename="AppData.qml" line="139"/>
        <source>关</source>
        <translation>Off</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="131"/>
        <source>开</source>
        <translation>On</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="133"/>
        <location filename="AppData.qml" line="141"/>
        <location filename="AppData.qml" line="142"/>
        <source>内部</source>
        <translation>Internal</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="133"/>
        <source>外部</source>
        <translation>External</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="134"/>
        <source>正弦</source>
        <translation>Sine</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="134"/>
        <source>上升锯齿</source>
        <translation>Ramp up</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="134"/>
        <source>下降锯齿</source>
        <translation>Ramp down</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="136"/>
        <source>奇次</source>
        <translation>Odd</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="136"/>
        <source>偶次</source>
        <translation>Even</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="136"/>
        <source>全部</source>
        <translation>All</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="140"/>
        <source>正极性</source>
        <translation>Positive</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="140"/>
        <source>负极性</source>
        <translation>Negative</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="141"/>
        <location filename="AppData.qml" line="142"/>
        <source>外部上升沿</source>
        <translation>Ext Rising</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="141"/>
        <location filename="AppData.qml" line="142"/>
        <source>外部下降沿</source>
        <translation>Ext Falling</translation>
    </message>
    <message>
        <location filename="AppData.qml" line="141"/>
        <location filename="AppData.qml" line="142"/>
        <source>手动</source>
        <translation>Manual</translation>
    </message>
</context>
<context>
    <name>AskWindow</name>
    <message>
        <location filename="AskWindow.qml" line="105"/>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location filename="AskWindow.qml" line="115"/>
        <source>确定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>ChannelFrame</name>
    <message>
        <location filename="ChannelFrame.qml" line="47"/>
        <source>负载</source>
        <translation>Load</translation>
    </message>
    <message>
        <location filename="ChannelFrame.qml" line="48"/>
        <source>反相</source>
        <translation>Invert</translation>
    </message>
</context>
<context>
    <name>ChannelTab</name>
    <message>
        <location filename="ChannelTab.qml" line="37"/>
        <source>输出</source>
        <translation>Output</translation>
    </message>
    <message>
        <location filename="ChannelTab.qml" line="37"/>
        <location filename="ChannelTab.qml" line="40"/>
        <source>开</source>
        <translation>On</translation>
    </message>
    <message>
        <location filename="ChannelTab.qml" line="37"/>
        <location filename="ChannelTab.qml" line="40"/>
        <source>关</source>
        <translation>Off</translation>
    </message>
    <message>
        <location filename="ChannelTab.qml" line="40"/>
        <source>反相</source>
        <translation>Invert</translation>
    </message>
    <message>
        <location filename="ChannelTab.qml" line="45"/>
        <source>负载</source>
        <translation>Load</translation>
    </message>
    <message>
        <location filename="ChannelTab.qml" line="49"/>
        <source>复制</source>
        <translation>Copy</translation>
    </message>
    <message>
        <location filename="ChannelTab.qml" line="53"/>
        <source>手动触发</source>
        <translation>Trigger</translation>
    </message>
</context>
<context>
    <name>HeadBar</name>
    <message>
        <location filename="HeadBar.qml" line="22"/>
        <source>概览</source>
        <translation>Overview</translation>
    </message>
    <message>
        <location filename="HeadBar.qml" line="23"/>
        <source>帮助</source>
        <translation>Help</translation>
    </message>
    <message>
        <location filename="HeadBar.qml" line="24"/>
        <source>计数器</source>
        <translation>Counter</translation>
    </message>
    <message>
        <location filename="HeadBar.qml" line="31"/>
        <source>ORNAV72 任意波形发生器</source>
        <translation>ORNAV72 Arbitrary Waveform Generator</translation>
    </message>
</context>
<context>
    <name>VKeyboard</name>
    <message>
        <location filename="VKeyboard.qml" line="36"/>
        <source>逗号</source>
        <translation>Comma</translation>
    </message>
    <message>
        <location filename="VKeyboard.qml" line="36"/>
        <source>空格</source>
        <translation>Space</translation>
    </message>
    <message>
        <location filename="VKeyboard.qml" line="36"/>
        <source>无</source>
        <translation>None</translation>
    </message>
    <message>
        <location filename="VKeyboard.qml" line="37"/>
        <location filename="VKeyboard.qml" line="46"/>
        <source>关</source>
        <translation>Off</translation>
    </message>
    <message>
        <location filename="VKeyboard.qml" line="37"/>
        <source>5分钟</source>
        <translation>5 min</translation>
    </message>
    <message>
        <location filename="VKeyboard.qml" line="37"/>
        <source>15分钟</source>
        <translation>15 min</translation>
    </message>
    <message>
        <location filename="VKeyboard.qml" line="37"/>
        <source>30分钟</source>
        <translation>30 min</translation>
    </message>
    <message>
        <location filename="VKeyboard.qml" line="37"/>
        <source>60分钟</source>
        <translation>60 min</translation>
    </message>
    <message>
        <location filename="VKeyboard.qml" line="39"/>
        <source>默认</source>
        <translation>Default</translation>
    </message>
    <message>
        <location filename="VKeyboard.qml" line="39"/>
        <source>上次</source>
        <translation>Last</translation>
    </message>
    <message>
        <location filename="VKeyboard.qml" line="39"/>
        <location filename="VKeyboard.qml" line="40"/>
        <source>预设1</source>
        <translation>Preset 1</translation>
    </message>
    <message>
        <location filename="VKeyboard.qml" line="39"/>
        <location filename="VKeyboard.qml" line="40"/>
        <source>预设2</source>
        <translation>Preset 2</translation>
    </message>
    <message>
        <location filename="VKeyboard.qml" line="39"/>
        <location filename="VKeyboard.qml" line="40"/>
        <source>预设3</source>
        <translation>Preset 3</translation>
    </message>
    <message>
        <location filename="VKeyboard.qml" line="39"/>
        <location filename="VKeyboard.qml" line="40"/>
        <source>预设4</source>
        <translation>Preset 4</translation>
    </message>
    <message>
        <location filename="VKeyboard.qml" line="39"/>
        <location filename="VKeyboard.qml" line="40"/>
        <source>预设5</source>
        <translation>Preset 5</translation>
    </message>
    <message>
        <location filename="VKeyboard.qml" line="44"/>
        <source>正弦</source>
        <translation>Sine</translation>
    </message>
    <message>
        <location filename="VKeyboard.qml" line="44"/>
        <source>方波</source>
        <translation>Square</translation>
    </message>
    <message>
        <location filename="VKeyboard.qml" line="44"/>
        <source>上升锯齿</source>
        <translation>Ramp up</translation>
    </message>
    <message>
        <location filename="VKeyboard.qml" line="44"/>
        <source>下降锯齿</source>
        <translation>Ramp down</translation>
    </message>
    <message>
        <location filename="VKeyboard.qml" line="44"/>
        <source>噪声</source>
        <translation>Noise</translation>
    </message>
    <message>
        <location filename="VKeyboard.qml" line="44"/>
        <source>任意波</source>
        <translation>Arb</translation>
    </message>
    <message>
        <location filename="VKeyboard.qml" line="45"/>
        <source>奇次</source>
        <translation>Odd</translation>
    </message>
    <message>
        <location filename="VKeyboard.qml" line="45"/>
        <source>偶次</source>
        <translation>Even</translation>
    </message>
    <message>
        <location filename="VKeyboard.qml" line="45"/>
        <source>全部</source>
        <translation>All</translation>
    </message>
    <message>
        <location filename="VKeyboard.qml" line="45"/>
        <source>自定义</source>
        <translation>User</translation>
    </message>
    <message>
        <location filename="VKeyboard.qml" line="46"/>
        <source>上升沿</source>
        <translation>Rising</translation>
    </message>
    <message>
        <location filename="VKeyboard.qml" line="46"/>
        <source>下降沿</source>
        <translation>Falling</translation>
    </message>
    <message>
        <location filename="VKeyboard.qml" line="47"/>
        <source>内部</source>
        <translation>Internal</translation>
    </message>
    <message>
        <location filename="VKeyboard.qml" line="47"/>
        <source>外部上升沿</source>
        <translation>Ext Rising</translation>
    </message>
    <message>
        <location filename="VKeyboard.qml" line="47"/>
        <source>外部下降沿</source>
        <translation>Ext Falling</translation>
    </message>
    <message>
        <location filename="VKeyboard.qml" line="47"/>
        <source>手动</source>
        <translation>Manual</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <location filename="main.qml" line="17"/>
        <source>ORNAV72 任意波形发生器</source>
        <translation>ORNAV72 Arbitrary Waveform Generator</translation>
    </message>
    <message>
        <location filename="main.qml" line="91"/>
        <location filename="main.qml" line="472"/>
        <source>频率</source>
        <translation>Freq</translation>
    </message>
    <message>
        <location filename="main.qml" line="92"/>
        <location filename="main.qml" line="473"/>
        <source>周期</source>
        <translation>Period</translation>
    </message>
    <message>
        <location filename="main.qml" line="93"/>
        <location filename="main.qml" line="474"/>
        <source>占空比</source>
        <translation>Duty</translation>
    </message>
    <message>
        <location filename="main.qml" line="94"/>
        <location filename="main.qml" line="475"/>
        <source>正脉宽</source>
        <translation>+Width</translation>
    </message>
    <message>
        <location filename="main.qml" line="206"/>
        <source>按下前面板上的任意按键可查看该按键的说明。</source>
        <translation>Press any front-panel key to see what it does.</translation>
    </message>
    <message>
        <location filename="main.qml" line="207"/>
        <source>CH1～CH4：切换通道页面；Utility：系统设置；旋钮与方向键：移动光标、修改数值。</source>
        <translation>CH1 to CH4: switch the channel page; Utility: system settings; knob and arrows: move the cursor, change values.</translation>
    </message>
    <message>
        <location filename="main.qml" line="275"/>
        <source>CH1</source>
        <translation>CH1</translation>
    </message>
    <message>
        <location filename="main.qml" line="275"/>
        <source>CH2</source>
        <translation>CH2</translation>
    </message>
    <message>
        <location filename="main.qml" line="275"/>
        <source>CH3</source>
        <translation>CH3</translation>
    </message>
    <message>
        <location filename="main.qml" line="275"/>
        <source>CH4</source>
        <translation>CH4</translation>
    </message>
    <message>
        <location filename="main.qml" line="275"/>
        <source>系统</source>
        <translation>Utility</translation>
    </message>
</context>
<context>
    <name>DigitalTiming</name>
    <message>
        <location filename="DigitalTiming.qml" line="120"/>
        <source>(示例)</source>
        <translation>(example)</translation>
    </message>
</context>
<context>
    <name>HelpViewFrame</name>
    <message>
        <location filename="HelpViewFrame.qml" line="14"/>
        <source>使用帮助</source>
        <translation>Using the help</translation>
    </message>
    <message>
        <location filename="HelpViewFrame.qml" line="14"/>
        <source>按下前面板上的任意按键可查看该按键的说明，或在左侧选择主题。再次点击帮助按钮返回。</source>
        <translation>Press any front-panel key to read what it does, or pick a topic on the left. Touch the help button again to return.</translation>
    </message>
    <message>
        <location filename="HelpViewFrame.qml" line="15"/>
        <source>正弦波</source>
        <translation>Sine</translation>
    </message>
    <message>
        <location filename="HelpViewFrame.qml" line="15"/>
        <source>正弦波：设置频率、幅度、偏移和相位。幅度可用 Vpp、Vrms 或 dBm 表示，dBm 需要设置负载。</source>
        <translation>Sine: set frequency, amplitude, offset and phase. The amplitude can be given in Vpp, Vrms or dBm; dBm needs a load setting.</translation>
    </message>
    <message>
        <location filename="HelpViewFrame.qml" line="16"/>
        <source>方波</source>
        <translation>Square</translation>
    </message>
    <message>
        <location filename="HelpViewFrame.qml" line="16"/>
        <source>方波：除频率、幅度、偏移、相位外，还可设置占空比。高频时占空比范围会受限制。</source>
        <translation>Square: besides frequency, amplitude, offset and phase, set the duty cycle. At high frequencies the duty-cycle range narrows.</translation>
    </message>
    <message>
        <location filename="HelpViewFrame.qml" line="17"/>
        <source>锯齿波</source>
        <translation>Ramp</translation>
    </message>
    <message>
        <location filename="HelpViewFrame.qml" line="17"/>
        <source>锯齿波：对称性决定上升部分所占的比例，0% 为下降锯齿，100% 为上升锯齿，50% 为三角波。</source>
        <translation>Ramp: the symmetry is the rising part of the period: 0 % a falling ramp, 100 % a rising ramp, 50 % a triangle.</translation>
    </message>
    <message>
        <location filename="HelpViewFrame.qml" line="18"/>
        <source>脉冲波</source>
        <translation>Pulse</translation>
    </message>
    <message>
        <location filename="HelpViewFrame.qml" line="18"/>
        <source>脉冲波：可设置脉宽或占空比，以及上升沿和下降沿时间。边沿时间不能超过脉宽允许的范围。</source>
        <translation>Pulse: set the pulse width or duty cycle and the rise and fall times. The edges must fit within the pulse width.</translation>
    </message>
    <message>
        <location filename="HelpViewFrame.qml" line="19"/>
        <source>任意波</source>
        <translation>Arbitrary</translation>
    </message>
    <message>
        <location filename="HelpViewFrame.qml" line="19"/>
        <source>任意波：从内置波形库、内部存储或U盘选择波形文件（*.bsv、*.csv）。可按频率或采样率播放。</source>
        <translation>Arbitrary: choose a wave file (*.bsv, *.csv) from the built-in library, the internal storage or a USB disk. It plays at a frequency or at a sample rate.</translation>
    </message>
    <message>
        <location filename="HelpViewFrame.qml" line="20"/>
        <source>谐波</source>
        <translation>Harmonic</translation>
    </message>
    <message>
        <location filename="HelpViewFrame.qml" line="20"/>
        <source>谐波：设置谐波次数和类型（奇次、偶次、全部或自定义），并为每次谐波设置幅度和相位。</source>
        <translation>Harmonic: set the number of harmonics and their kind (odd, even, all or user), and each harmonic's amplitude and phase.</translation>
    </message>
    <message>
        <location filename="HelpViewFrame.qml" line="21"/>
        <source>噪声</source>
        <translation>Noise</translation>
    </message>
    <message>
        <location filename="HelpViewFrame.qml" line="21"/>
        <source>噪声：输出带宽受限的高斯白噪声，只需设置幅度和偏移。</source>
        <translation>Noise: band-limited Gaussian white noise; only amplitude and offset are set.</translation>
    </message>
    <message>
        <location filename="HelpViewFrame.qml" line="22"/>
        <source>直流</source>
        <translation>DC</translation>
    </message>
    <message>
        <location filename="HelpViewFrame.qml" line="22"/>
        <source>直流：输出恒定电压，由偏移设置，范围取决于负载。</source>
        <translation>DC: a constant voltage set by the offset; its range depends on the load.</translation>
    </message>
    <message>
        <location filename="HelpViewFrame.qml" line="23"/>
        <source>伪随机码</source>
        <translation>PRBS</translation>
    </message>
    <message>
        <location filename="HelpViewFrame.qml" line="23"/>
        <source>伪随机码：选择码元长度（PN3～PN33）、码率和边沿时间。</source>
        <translation>PRBS: choose the sequence length (PN3 to PN33), the bit rate and the edge time.</translation>
    </message>
    <message>
        <location filename="HelpViewFrame.qml" line="24"/>
        <source>连续</source>
        <translation>Continuous</translation>
    </message>
    <message>
        <location filename="HelpViewFrame.qml" line="24"/>
        <source>连续模式：通道连续输出所选的基本波形。</source>
        <translation>Continuous mode: the channel puts out the chosen base wave without interruption.</translation>
    </message>
    <message>
        <location filename="HelpViewFrame.qml" line="25"/>
        <source>调制</source>
        <translation>Modulation</translation>
    </message>
    <message>
        <location filename="HelpViewFrame.qml" line="25"/>
        <source>调制：AM、FM、PM、ASK、FSK、PSK、QAM、OSK、PWM、SUM 等。调制源可选内部或外部，内部调制可选调制波形和调制频率。调制频率也是 ASK、FSK、PSK 的键控速率；QAM、BPSK、QPSK 按码率键控；OSK 按速率起振，振荡时间是载波起落所用的时间。</source>
        <translation>Modulation: AM, FM, PM, ASK, FSK, PSK, QAM, OSK, PWM, SUM and more. The source is internal or external; an internal source has its own wave and frequency. The modulating frequency is also the keying rate of ASK, FSK and PSK; QAM, BPSK and QPSK key at the bit rate; OSK swells in at its Rate, and its oscillation time is how long the carrier takes to swell in and die away.</translation>
    </message>
    <message>
        <location filename="HelpViewFrame.qml" line="26"/>
        <source>扫频</source>
        <translation>Sweep</translation>
    </message>
    <message>
        <location filename="HelpViewFrame.qml" line="26"/>
        <source>扫频：线性、对数、步进或列表扫频。设置起始频率、终止频率和扫频时间；列表扫频使用频率列表文件。线性和对数扫频的扫频时间是一次扫频所用的时间，步进和列表扫频是每一步的停留时间。</source>
        <translation>Sweep: linear, logarithmic, stepped or list. Set the start and stop frequencies and the sweep time; a list sweep plays a frequency-list file. The sweep time is one whole sweep for linear and logarithmic sweeps, and the dwell on each step for stepped and list sweeps.</translation>
    </message>
    <message>
        <location filename="HelpViewFrame.qml" line="27"/>
        <source>脉冲串</source>
        <translation>Burst</translation>
    </message>
    <message>
        <location filename="HelpViewFrame.qml" line="27"/>
        <source>脉冲串：N周期、门控或无限脉冲串。触发源可为内部、外部或手动，可设置起始相位和触发输出。内部触发时，脉冲串周期是相邻两串起点的间隔。</source>
        <translation>Burst: N cycles, gated or infinite. The trigger is internal, external or manual; set the start phase and the trigger output. With the internal trigger the burst period is the time from one burst's start to the next.</translation>
    </message>
    <message>
        <location filename="HelpViewFrame.qml" line="28"/>
        <source>通道设置</source>
        <translation>Channel settings</translation>
    </message>
    <message>
        <location filename="HelpViewFrame.qml" line="28"/>
        <source>通道设置：每个通道的负载、幅度限制（上限和下限）、同步输出（CH1、CH2）和噪声叠加。</source>
        <translation>Channel settings: each channel's load, amplitude limits (high and low), sync output (CH1, CH2) and noise sum.</translation>
    </message>
    <message>
        <location filename="HelpViewFrame.qml" line="29"/>
        <source>通道耦合</source>
        <translation>Coupling</translation>
    </message>
    <message>
        <location filename="HelpViewFrame.qml" line="29"/>
        <source>通道耦合：CH1 与 CH2、CH3 与 CH4 可按比率或差值耦合频率、幅度和相位。相位耦合需要相位同步模式。</source>
        <translation>Coupling: CH1 with CH2 and CH3 with CH4 can couple frequency, amplitude and phase by a ratio or a difference. Phase coupling needs phase synchronisation.</translation>
    </message>
    <message>
        <location filename="HelpViewFrame.qml" line="30"/>
        <source>通道合并</source>
        <translation>Merge</translation>
    </message>
    <message>
        <location filename="HelpViewFrame.qml" line="30"/>
        <source>通道合并：合并的通道在自身输出上叠加另一通道的信号。两个通道的负载必须相同，不能同时使用噪声叠加。</source>
        <translation>Merge: a merged channel adds its partner's signal to its own output. Both channels need the same load; noise sum cannot be on at the same time.</translation>
    </message>
    <message>
        <location filename="HelpViewFrame.qml" line="31"/>
        <source>计数器</source>
        <translation>Counter</translation>
    </message>
    <message>
        <location filename="HelpViewFrame.qml" line="31"/>
        <source>计数器：测量输入信号的频率、周期、占空比和脉宽，并给出统计值。可设置耦合、触发电平、灵敏度和低通滤波。</source>
        <translation>Counter: measures the input's frequency, period, duty cycle and pulse widths, with statistics. Set coupling, trigger level, sensitivity and low-pass filter.</translation>
    </message>
    <message>
        <location filename="HelpViewFrame.qml" line="32"/>
        <source>数字输出</source>
        <translation>Digital output</translation>
    </message>
    <message>
        <location filename="HelpViewFrame.qml" line="32"/>
        <source>数字输出：CH2～CH4 可作为 SPI、I2C 或 UART 发送端。输入十六进制或文本数据，可手动发送或按间隔自动发送。</source>
        <translation>Digital output: CH2 to CH4 become an SPI, I2C or UART transmitter. Enter hexadecimal or text data and send it by hand or repeatedly at an interval.</translation>
    </message>
    <message>
        <location filename="HelpViewFrame.qml" line="33"/>
        <source>系统设置</source>
        <translation>System</translation>
    </message>
    <message>
        <location filename="HelpViewFrame.qml" line="33"/>
        <source>系统设置：语言、分隔符、蜂鸣器、背光、屏保、时钟源、截图格式、相位同步、上电参数、预设和恢复出厂，以及网络地址。</source>
        <translation>System: language, separator, beeper, backlight, screen saver, clock source, capture format, phase synchronisation, power-up settings, presets, factory reset and the network address.</translation>
    </message>
    <message>
        <location filename="HelpViewFrame.qml" line="34"/>
        <source>通道按键</source>
        <translation>Channel keys</translation>
    </message>
    <message>
        <location filename="HelpViewFrame.qml" line="34"/>
        <source>CH1～CH4：切换到该通道的页面；再按一次当前通道的按键可打开或关闭其输出。Utility：进入系统页面，远程控制时按下解锁。</source>
        <translation>CH1 to CH4: show that channel's page; the key of the channel shown switches its output. Utility: the utility pages; during remote control it unlocks the panel.</translation>
    </message>
    <message>
        <location filename="HelpViewFrame.qml" line="35"/>
        <source>旋钮与方向键</source>
        <translation>Knob and arrows</translation>
    </message>
    <message>
        <location filename="HelpViewFrame.qml" line="35"/>
        <source>旋钮和上下键修改选中的数位或移动列表；左右键移动数位或在列表之间切换；OK 确认，长按 OK 截屏到U盘。</source>
        <translation>The knob and Up/Down change the selected digit or move in a list; Left/Right select the digit or move between lists; OK confirms, holding OK saves a screen capture on the USB disk.</translation>
    </message>
    <message>
        <location filename="HelpViewFrame.qml" line="36"/>
        <source>数字键</source>
        <translation>Number keys</translation>
    </message>
    <message>
        <location filename="HelpViewFrame.qml" line="36"/>
        <source>数字键、小数点和正负号用于输入数值，输入后选择单位或按 OK 确认，退格删除最后一位，取消放弃输入。</source>
        <translation>Digits, point and sign type a value; finish with a unit or OK. Backspace removes the last character, Cancel drops the entry.</translation>
    </message>
</context>
<context>
    <name>UtilityChannelCouple</name>
    <message>
        <location filename="UtilityChannelCouple.qml" line="18"/>
        <source>CH1 与 CH2 耦合</source>
        <translation>CH1 and CH2 coupling</translation>
    </message>
    <message>
        <location filename="UtilityChannelCouple.qml" line="36"/>
        <source>CH3 与 CH4 耦合</source>
        <translation>CH3 and CH4 coupling</translation>
    </message>
</context>
<context>
    <name>UtilityCounterSet</name>
    <message>
        <location filename="UtilityCounterSet.qml" line="71"/>
        <source>频率</source>
        <translation>Frequency</translation>
    </message>
    <message>
        <location filename="UtilityCounterSet.qml" line="71"/>
        <source>周期</source>
        <translation>Period</translation>
    </message>
    <message>
        <location filename="UtilityCounterSet.qml" line="71"/>
        <source>占空比</source>
        <translation>Duty</translation>
    </message>
    <message>
        <location filename="UtilityCounterSet.qml" line="71"/>
        <source>正脉宽</source>
        <translation>+Width</translation>
    </message>
    <message>
        <location filename="UtilityCounterSet.qml" line="71"/>
        <source>负脉宽</source>
        <translation>-Width</translation>
    </message>
    <message>
        <location filename="UtilityCounterSet.qml" line="72"/>
        <source>当前值</source>
        <translation>Reading</translation>
    </message>
    <message>
        <location filename="UtilityCounterSet.qml" line="72"/>
        <source>平均值</source>
        <translation>Mean</translation>
    </message>
    <message>
        <location filename="UtilityCounterSet.qml" line="72"/>
        <source>最小值</source>
        <translation>Minimum</translation>
    </message>
    <message>
        <location filename="UtilityCounterSet.qml" line="72"/>
        <source>最大值</source>
        <translation>Maximum</translation>
    </message>
    <message>
        <location filename="UtilityCounterSet.qml" line="72"/>
        <source>标准差</source>
        <translation>Std. dev.</translation>
    </message>
    <message>
        <location filename="UtilityCounterSet.qml" line="100"/>
        <source>统计次数</source>
        <translation>Samples</translation>
    </message>
    <message>
        <location filename="UtilityCounterSet.qml" line="112"/>
        <source>清除统计</source>
        <translation>Clear</translation>
    </message>
</context>
<context>
    <name>UtilityDigitalSet</name>
    <message>
        <location filename="UtilityDigitalSet.qml" line="168"/>
        <source>发送数据</source>
        <translation>Data to send</translation>
    </message>
    <message>
        <location filename="UtilityDigitalSet.qml" line="168"/>
        <source>十六进制</source>
        <translation>Hex</translation>
    </message>
    <message>
        <location filename="UtilityDigitalSet.qml" line="168"/>
        <source>文本</source>
        <translation>Text</translation>
    </message>
    <message>
        <location filename="UtilityDigitalSet.qml" line="220"/>
        <source>输出</source>
        <translation>Output</translation>
    </message>
    <message>
        <location filename="UtilityDigitalSet.qml" line="220"/>
        <source>开</source>
        <translation>On</translation>
    </message>
    <message>
        <location filename="UtilityDigitalSet.qml" line="220"/>
        <source>关</source>
        <translation>Off</translation>
    </message>
    <message>
        <location filename="UtilityDigitalSet.qml" line="230"/>
        <source>手动发送</source>
        <translation>Send</translation>
    </message>
</context>
<context>
    <name>UtilityEntry</name>
    <message>
        <location filename="UtilityEntry.qml" line="25"/>
        <source>关</source>
        <translation>Off</translation>
    </message>
    <message>
        <location filename="UtilityEntry.qml" line="25"/>
        <source>开</source>
        <translation>On</translation>
    </message>
    <message>
        <location filename="UtilityEntry.qml" line="26"/>
        <source>比率</source>
        <translation>Ratio</translation>
    </message>
    <message>
        <location filename="UtilityEntry.qml" line="26"/>
        <source>差值</source>
        <translation>Difference</translation>
    </message>
    <message>
        <location filename="UtilityEntry.qml" line="32"/>
        <source>逗号</source>
        <translation>Comma</translation>
    </message>
    <message>
        <location filename="UtilityEntry.qml" line="32"/>
        <source>空格</source>
        <translation>Space</translation>
    </message>
    <message>
        <location filename="UtilityEntry.qml" line="32"/>
        <source>无</source>
        <translation>None</translation>
    </message>
    <message>
        <location filename="UtilityEntry.qml" line="34"/>
        <source>5分钟</source>
        <translation>5 min</translation>
    </message>
    <message>
        <location filename="UtilityEntry.qml" line="34"/>
        <source>15分钟</source>
        <translation>15 min</translation>
    </message>
    <message>
        <location filename="UtilityEntry.qml" line="34"/>
        <source>30分钟</source>
        <translation>30 min</translation>
    </message>
    <message>
        <location filename="UtilityEntry.qml" line="34"/>
        <source>60分钟</source>
        <translation>60 min</translation>
    </message>
    <message>
        <location filename="UtilityEntry.qml" line="35"/>
        <source>内部</source>
        <translation>Internal</translation>
    </message>
    <message>
        <location filename="UtilityEntry.qml" line="35"/>
        <source>外部</source>
        <translation>External</translation>
    </message>
    <message>
        <location filename="UtilityEntry.qml" line="37"/>
        <source>独立</source>
        <translation>Independent</translation>
    </message>
    <message>
        <location filename="UtilityEntry.qml" line="37"/>
        <source>同步</source>
        <translation>Synchronised</translation>
    </message>
    <message>
        <location filename="UtilityEntry.qml" line="38"/>
        <source>默认</source>
        <translation>Default</translation>
    </message>
    <message>
        <location filename="UtilityEntry.qml" line="38"/>
        <source>上次</source>
        <translation>Last</translation>
    </message>
    <message>
        <location filename="UtilityEntry.qml" line="38"/>
        <source>预设1</source>
        <translation>Preset 1</translation>
    </message>
    <message>
        <location filename="UtilityEntry.qml" line="38"/>
        <source>预设2</source>
        <translation>Preset 2</translation>
    </message>
    <message>
        <location filename="UtilityEntry.qml" line="38"/>
        <source>预设3</source>
        <translation>Preset 3</translation>
    </message>
    <message>
        <location filename="UtilityEntry.qml" line="38"/>
        <source>预设4</source>
        <translation>Preset 4</translation>
    </message>
    <message>
        <location filename="UtilityEntry.qml" line="38"/>
        <source>预设5</source>
        <translation>Preset 5</translation>
    </message>
    <message>
        <location filename="UtilityEntry.qml" line="40"/>
        <source>执行</source>
        <translation>Run</translation>
    </message>
    <message>
        <location filename="UtilityEntry.qml" line="41"/>
        <source>静态</source>
        <translation>Static</translation>
    </message>
    <message>
        <location filename="UtilityEntry.qml" line="43"/>
        <source>十六进制</source>
        <translation>Hex</translation>
    </message>
    <message>
        <location filename="UtilityEntry.qml" line="43"/>
        <source>文本</source>
        <translation>Text</translation>
    </message>
    <message>
        <location filename="UtilityEntry.qml" line="46"/>
        <source>偶校验</source>
        <translation>Even</translation>
    </message>
    <message>
        <location filename="UtilityEntry.qml" line="46"/>
        <source>奇校验</source>
        <translation>Odd</translation>
    </message>
</context>
<context>
    <name>UtilityMain</name>
    <message>
        <location filename="UtilityMain.qml" line="18"/>
        <source>通道设置</source>
        <translation>Channel settings</translation>
    </message>
    <message>
        <location filename="UtilityMain.qml" line="18"/>
        <source>通道耦合</source>
        <translation>Coupling</translation>
    </message>
    <message>
        <location filename="UtilityMain.qml" line="18"/>
        <source>通道合并</source>
        <translation>Merge</translation>
    </message>
    <message>
        <location filename="UtilityMain.qml" line="18"/>
        <source>计数器</source>
        <translation>Counter</translation>
    </message>
    <message>
        <location filename="UtilityMain.qml" line="19"/>
        <source>数字输出</source>
        <translation>Digital output</translation>
    </message>
    <message>
        <location filename="UtilityMain.qml" line="19"/>
        <source>系统设置</source>
        <translation>System</translation>
    </message>
</context>
<context>
    <name>UtilityMerge</name>
    <message>
        <location filename="UtilityMerge.qml" line="97"/>
        <source>CH%1 信号</source>
        <translation>CH%1 signal</translation>
    </message>
    <message>
        <location filename="UtilityMerge.qml" line="100"/>
        <source>CH%1 输出</source>
        <translation>CH%1 output</translation>
    </message>
</context>
<context>
    <name>UtilitySystemSet</name>
    <message>
        <location filename="UtilitySystemSet.qml" line="58"/>
        <source>网络</source>
        <translation>Network</translation>
    </message>
    <message>
        <location filename="UtilitySystemSet.qml" line="88"/>
        <source>设备型号</source>
        <translation>Model</translation>
    </message>
    <message>
        <location filename="UtilitySystemSet.qml" line="89"/>
        <source>软件版本</source>
        <translation>Software version</translation>
    </message>
    <message>
        <location filename="UtilitySystemSet.qml" line="90"/>
        <source>FPGA版本</source>
        <translation>FPGA version</translation>
    </message>
    <message>
        <location filename="UtilitySystemSet.qml" line="91"/>
        <source>硬件版本</source>
        <translation>Hardware version</translation>
    </message>
    <message>
        <location filename="UtilitySystemSet.qml" line="92"/>
        <source>序列号</source>
        <translation>Serial number</translation>
    </message>
    <message>
        <location filename="UtilitySystemSet.qml" line="93"/>
        <source>网页地址</source>
        <translation>Web address</translation>
    </message>
    <message>
        <location filename="UtilitySystemSet.qml" line="107"/>
        <source>保护测试</source>
        <translation>Protection test</translation>
    </message>
    <message>
        <location filename="UtilitySystemSet.qml" line="125"/>
        <source>机内温度</source>
        <translation>Inside temperature</translation>
    </message>
</context>
<context>
    <name>VFileBrower</name>
    <message>
        <location filename="VFileBrower.qml" line="294"/>
        <source>内置波形</source>
        <translation>Library</translation>
    </message>
    <message>
        <location filename="VFileBrower.qml" line="294"/>
        <source>内部存储</source>
        <translation>Internal</translation>
    </message>
    <message>
        <location filename="VFileBrower.qml" line="294"/>
        <source>U盘</source>
        <translation>USB disk</translation>
    </message>
    <message>
        <location filename="VFileBrower.qml" line="313"/>
        <source>可用空间</source>
        <translation>Free</translation>
    </message>
    <message>
        <location filename="VFileBrower.qml" line="370"/>
        <source>未检测到U盘</source>
        <translation>No USB disk found</translation>
    </message>
    <message>
        <location filename="VFileBrower.qml" line="370"/>
        <source>未检测到TF卡</source>
        <translation>No TF card found</translation>
    </message>
    <message>
        <location filename="VFileBrower.qml" line="382"/>
        <source>上一级</source>
        <translation>Up</translation>
    </message>
    <message>
        <location filename="VFileBrower.qml" line="382"/>
        <source>新建列表</source>
        <translation>New list</translation>
    </message>
    <message>
        <location filename="VFileBrower.qml" line="382"/>
        <source>新建文件夹</source>
        <translation>New folder</translation>
    </message>
    <message>
        <location filename="VFileBrower.qml" line="383"/>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <location filename="VFileBrower.qml" line="383"/>
        <source>重命名</source>
        <translation>Rename</translation>
    </message>
    <message>
        <location filename="VFileBrower.qml" line="383"/>
        <source>复制</source>
        <translation>Copy</translation>
    </message>
    <message>
        <location filename="VFileBrower.qml" line="384"/>
        <source>粘贴</source>
        <translation>Paste</translation>
    </message>
    <message>
        <location filename="VFileBrower.qml" line="384"/>
        <source>编辑列表</source>
        <translation>Edit list</translation>
    </message>
    <message>
        <location filename="VFileBrower.qml" line="407"/>
        <source>新名称</source>
        <translation>New name</translation>
    </message>
    <message>
        <location filename="VFileBrower.qml" line="426"/>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <location filename="VFileBrower.qml" line="429"/>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location filename="VFileBrower.qml" line="443"/>
        <source>列表编辑</source>
        <translation>List editor</translation>
    </message>
    <message>
        <location filename="VFileBrower.qml" line="467"/>
        <source>添加</source>
        <translation>Add</translation>
    </message>
    <message>
        <location filename="VFileBrower.qml" line="467"/>
        <source>上移</source>
        <translation>Move up</translation>
    </message>
    <message>
        <location filename="VFileBrower.qml" line="467"/>
        <source>下移</source>
        <translation>Move down</translation>
    </message>
    <message>
        <location filename="VFileBrower.qml" line="468"/>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <location filename="VFileBrower.qml" line="468"/>
        <source>返回</source>
        <translation>Back</translation>
    </message>
    <message>
        <location filename="VFileBrower.qml" line="487"/>
        <source>新值</source>
        <translation>New value</translation>
    </message>
</context>
</TS>
