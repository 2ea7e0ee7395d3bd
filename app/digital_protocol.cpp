// The digital protocol output: CH2..CH4 turned into an SPI, I2C or UART
// transmitter of the bytes in digitalBuffer. Everything here runs in the
// controller's worker thread.
#include "app/digital_protocol.h"
#include <QDebug>
#include <cstring>
#include "hardware/CSetParam.h"
#include "app/channalmodel.h"
#include "app/channel.h"
#include "app/ornav72.h"
#include "param/sys_param.h"

namespace {
channelModel* sysEntry(const QList<channelModel*>& list, int paramindex)
{
    const int i = paramindex - PARAM_INDEX_SYS_START;
    return i >= 0 && i < list.size() ? list[i] : nullptr;
}

// An entry of a list the screens are given, its shown copies refreshed.
QVariant shown(channelModel* m)
{
    m->publishShown();
    return QVariant::fromValue(static_cast<QObject*>(m));
}

// Above this bit clock the output stage only swings 5 V.
const double kFullSwingClock = 10000000.0;
} // namespace

bool DigitalProtocol::digitalIOAvalid(uint type)
{
    const bool sync1 = sys_param::ch(CH1).SyncOut;
    const bool sync2 = sys_param::ch(CH2).SyncOut;
    if (type == DIGITAL_SPI || type == DIGITAL_I2C)
        return !sync1 && !sync2;
    if (type == DIGITAL_UART)
        return !sync2;
    return true;
}

bool DigitalProtocol::digitalTypeChanged(int newfun)
{
    if (newfun < DIGITAL_SPI || newfun > DIGITAL_UART)
        return false;
    const bool on = sys_param::digitalSW;
    if (on && !digitalIOAvalid(uint(newfun))) {
        emit o.TipsMessage(MESSAGE_TYPE_TIPS, TIPS_CONFLICT_WORK_AS_SYNC, false, QString(), true);
        return false;
    }
    const int old = sys_param::HWinfo.digitalType;
    sys_param::SetDigitalType(CH_DIGITAL, newfun);
    if (on) {
        // The channels of the old type are freed before the clock range of
        // the new one applies the output.
        if (newfun < old) {
            digitalClkChanged();
            updatedigitalChIO();
        } else {
            updatedigitalChIO();
            digitalClkChanged();
        }
    }
    updateDigitalSetlist();
    return true;
}

void DigitalProtocol::updatedigitalChIO()
{
    const bool on = sys_param::digitalSW;
    const int type = on ? sys_param::HWinfo.digitalType : -1;
    auto role = [this](CH_ID ch, const char* label) {
        o.ChDisableDisUpdate(ch, CHANNEL_ALTERFUN_DIGITAL, QString::fromLatin1(label), true);
    };
    // A channel the output gives back becomes a normal output again, or the
    // sync output of CH1 / CH2 when that is on.
    auto normal = [this](CH_ID ch) {
        Channel* c = o.channelAt(ch);
        if (!c || c->alterfun != CHANNEL_ALTERFUN_DIGITAL)
            return;
        o.ChDisableDisUpdate(ch, CHANNEL_ALTERFUN_CLOSED, QString(), true);
        if (ch == CH3 || ch == CH4)
            o.ChannelSyncOut(CH_ID(ch - 2));
    };
    switch (type) {
    case DIGITAL_SPI:
        role(CH2, "SPI-SCLK");
        role(CH3, "SPI-CS");
        role(CH4, "SPI-MOSI");
        break;
    case DIGITAL_I2C:
        normal(CH2);
        role(CH3, "IIC-SCL");
        role(CH4, "IIC-SDA");
        break;
    case DIGITAL_UART:
        normal(CH2);
        normal(CH3);
        role(CH4, "UART-TX");
        break;
    default:
        normal(CH2);
        normal(CH3);
        normal(CH4);
        break;
    }
    o.ui().publishDigital();
}

void DigitalProtocol::digitalClkChanged()
{
    const HardWareInfo& hw = sys_param::HWinfo;
    double clock = double(hw.digitalSPIClk);
    if (hw.digitalType == DIGITAL_I2C)
        clock = double(hw.digitalI2CClk);
    else if (hw.digitalType == DIGITAL_UART)
        clock = hw.digitalUARTBaudrate;
    if (channelModel* volt = sysEntry(o.systemModels(), PARAM_INDEX_DIGITAL_VALTAGE))
        volt->SetRange(0.001, clock <= kFullSwingClock ? 10 : 5, 0);
    digitalParamChanged();
}

void DigitalProtocol::digitalParamChanged()
{
    if (sys_param::digitalSW)
        emit o.channelParamChanged(CH_DIGITAL);
}

void DigitalProtocol::digitalFormatChanged()
{
    emit o.ui().digitalTextFormatChanged(bool(sys_param::HWinfo.digitalfromat));
    digitalParamChanged();
}

void DigitalProtocol::digitalSWChanged()
{
    if (sys_param::digitalSW && !digitalIOAvalid(sys_param::HWinfo.digitalType)) {
        // Switched on from a path that did not check (a remote request):
        // the channels are taken by a sync output, so the output stays off.
        if (channelModel* sw = sysEntry(o.systemModels(), PARAM_IDNEX_DIGITALSW))
            sw->SetValue(0, 0);
        else
            sys_param::digitalSW = false;
        emit o.TipsMessage(MESSAGE_TYPE_TIPS, TIPS_CONFLICT_WORK_AS_SYNC, false, QString(), true);
        return;
    }
    if (!sys_param::digitalSW) {
        updatedigitalChIO();
        digitalExe();
    } else {
        digitalExe();
        updatedigitalChIO();
    }
}

void DigitalProtocol::digitaAutoSendChanged()
{
    updateDigitalSetlist();
    emit o.ui().digitalAutoSendChanged(bool(sys_param::HWinfo.digitalAutoSend));
    emit o.channelParamChanged(CH_DIGITAL);
}

// The digital page reads its settings from Uidata's copies when it redraws.
void DigitalProtocol::digitalRequestPaint()
{
    o.ui().publishDigital();
    emit o.ui().digitalPaintRequested();
}

void DigitalProtocol::digitalDisUpdate()
{
    o.ui().publishDigital();
    emit o.ui().digitalReloadRequested();
}

void DigitalProtocol::updateDigitalSetlist()
{
    const HardWareInfo& hw = sys_param::HWinfo;
    QList<int> indices {PARAM_INDEX_DIGITAL_VALTAGE};
    if (hw.digitalType == DIGITAL_I2C)
        indices << PARAM_IDNEX_I2CCLK << PARAM_IDNEX_I2CADDR;
    else if (hw.digitalType == DIGITAL_UART)
        indices << PARAM_INDEX_UARTBAUDRATE << PARAM_INDEX_UARTDATABITS << PARAM_INDEX_UARTSTOPBITS
                << PARAM_INDEX_UARTVERIFY;
    else
        indices << PARAM_IDNEX_SPICLK;
    indices << PARAM_IDNEX_DIGITALAUTOSEND;
    if (hw.digitalAutoSend)
        indices << PARAM_IDNEX_DIGITALSENDINTERVAL;
    indices << PARAM_IDNEX_DIGITAL_FORMAT;
    QVariantList list;
    for (int i : indices)
        if (channelModel* m = sysEntry(o.systemModels(), i))
            list.append(shown(m));
    o.ui().setList(o.ui().digitalSetList, list);
    o.ui().senddigitalSetListChanged();
}

void DigitalProtocol::digitalExe()
{
    if (!sys_param::digitalSW) {
        CSetParam::SetDigitalSW(0);
        return;
    }
    const HardWareInfo& hw = sys_param::HWinfo;
    const int type = hw.digitalType;
    QList<CH_ID> used {CH4};
    if (type == DIGITAL_SPI)
        used = {CH2, CH3, CH4};
    else if (type == DIGITAL_I2C)
        used = {CH3, CH4};
    for (CH_ID ch : used)
        if (Channel* c = o.channelAt(ch))
            c->ChannelExe();
    CSetParam::SetDigitalSW(static_cast<unsigned char>(type + 1));
    CSetParam::SetDigitalData(reinterpret_cast<const char*>(digitalBuffer), unsigned(digitalLength));
    double clock = hw.digitalUARTBaudrate;
    if (type == DIGITAL_I2C)
        clock = 2 * double(hw.digitalI2CClk);
    else if (type == DIGITAL_SPI)
        clock = 2 * double(hw.digitalSPIClk);
    CSetParam::SetDigitalTrigType(!hw.digitalAutoSend);
    if (hw.digitalASendInterval > 0)
        CSetParam::SetDigitalAutoInterval(1 / hw.digitalASendInterval);
    CSetParam::SetDigitalClk(clock);
    CSetParam::SetDigitalUartDataBits(hw.digitalUARTDataBits);
    CSetParam::SetDigitalUartParityType(hw.digitalUARTParity != 0 ? 1 : 0);
    CSetParam::SetDigitalUartStopBits(hw.digitalUARTStopBits);
}

void DigitalProtocol::setText(const QString& text)
{
    digitaltext = text;
    GetDigitalDataByte();
    digitalParamChanged();
}

void DigitalProtocol::GetDigitalDataByte()
{
    char* buffer = reinterpret_cast<char*>(digitalBuffer);
    int n = 0;
    if (!sys_param::HWinfo.digitalfromat) {
        // Hexadecimal bytes separated by single spaces; a part that is no
        // number gives 0.
        // Empty parts (a doubled or trailing space) are no bytes.
        const QStringList parts = digitaltext.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (const QString& p : parts) {
            if (n >= int(sizeof digitalBuffer))
                break;
            bool ok = false;
            const uint v = p.toUInt(&ok, 16);
            buffer[n++] = char(ok ? (v & 0xFF) : 0);
        }
    } else {
        const QByteArray bytes = digitaltext.toLocal8Bit();
        n = qMin(bytes.size(), int(sizeof digitalBuffer));
        std::memcpy(buffer, bytes.constData(), size_t(n));
    }
    digitalLength = n;
}

void DigitalProtocol::digitalRemoteSetTxt(const char* data, size_t length)
{
    if (data == nullptr) {
        qDebug("pInData is null");
        return;
    }
    const int n = int(qMin(length, sizeof digitalBuffer));
    std::memcpy(digitalBuffer, data, size_t(n));
    digitalLength = n;
    if (!sys_param::HWinfo.digitalfromat) {
        QStringList parts;
        for (int i = 0; i < n; ++i)
            parts << QStringLiteral("%1").arg(uint(digitalBuffer[i]), 2, 16, QLatin1Char('0')).toUpper();
        digitaltext = parts.join(QLatin1Char(' '));
    } else {
        digitaltext = QString::fromLocal8Bit(reinterpret_cast<const char*>(digitalBuffer), n);
    }
    emit o.ui().digitalInputChanged(digitaltext);
}

void DigitalProtocol::digitalRemoteData(const QByteArray& data)
{
    digitalRemoteSetTxt(data.constData(), size_t(data.size()));
    // New data goes out on the next transmission of a running output.
    digitalParamChanged();
}

bool DigitalProtocol::digitalLinesFree(unsigned type) { return digitalIOAvalid(type); }

bool DigitalProtocol::digitalChangeType(int type)
{
    const bool accepted = digitalTypeChanged(type);
    if (accepted)
        digitalDisUpdate();
    return accepted;
}

QByteArray DigitalProtocol::digitalData()
{
    const int n = qBound(0, digitalLength, int(sizeof digitalBuffer));
    return QByteArray(reinterpret_cast<const char*>(digitalBuffer), n);
}

void DigitalProtocol::digitalTakeRemoteData(const QByteArray& data) { digitalRemoteData(data); }
