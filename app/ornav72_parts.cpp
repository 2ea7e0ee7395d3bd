// The controller's slots that its owned parts answer: thin forwards, so the
// screens, the remote side and the models keep one object to talk to.
#include "app/ornav72.h"
#include <QVariant>
#include "app/channalmodel.h"
#include "param/sys_param.h"

void Ornav72::SysTimer_Slots() { supervision_.tick(); }

void Ornav72::brightnessChanged() { supervision_.SetBrightness(sys_param::HWinfo.BackLight); }

void Ornav72::SendTempDis(float temp)
{
    // Every reading is shown, the first one too: the tick reports only
    // changes, so a reading dropped here would leave the page empty.
    const QString text = QString::asprintf("%2.2f", double(temp));
    Uidata* ui = &uidata;
    QMetaObject::invokeMethod(
        ui, [ui, text]() { ui->setBoardTemperature(text); }, Qt::QueuedConnection);
}

void Ornav72::connectSupervisionModels()
{
    auto model = [this](int index) -> channelModel* {
        const int i = index - PARAM_INDEX_SYS_START;
        return i >= 0 && i < sysparalist.size() ? sysparalist[i] : nullptr;
    };
    if (channelModel* m = model(PARAM_INDEX_SYSBACKLIGHT))
        connect(m, &channelModel::valueChanged, this, &Ornav72::brightnessChanged, Qt::UniqueConnection);
    if (channelModel* m = model(PARAM_INDEX_SYSIPSETTYPE))
        connect(m, &channelModel::valueChanged, this, &Ornav72::IPSetTypeChanged, Qt::UniqueConnection);
    for (int index : {PARAM_INDEX_SYSIPSET, PARAM_INDEX_SYSIPMASK, PARAM_INDEX_SYSIPGATEWAY})
        if (channelModel* m = model(index))
            connect(m, &channelModel::valueChanged, this, &Ornav72::IPParamChanged, Qt::UniqueConnection);
}

void Ornav72::connectCounterDigitalModels()
{
    auto wire = [this](int paramindex, void (Ornav72::*slot)()) {
        const int i = paramindex - PARAM_INDEX_SYS_START;
        if (channelModel* m = i >= 0 && i < sysparalist.size() ? sysparalist[i] : nullptr)
            connect(m, &channelModel::valueChanged, this, slot);
    };
    wire(PARAM_INDEX_COUNTERONOFF, &Ornav72::counterSwChanged);
    for (int i : {PARAM_INDEX_COUNTERCOUPLING, PARAM_INDEX_COUNTERTRIGVOLTAGE, PARAM_INDEX_COUNTERTRIGSENSITI,
                  PARAM_INDEX_COUNTERLPF})
        wire(i, &Ornav72::counterParamChanged);
    wire(PARAM_IDNEX_DIGITALSW, &Ornav72::digitalSWChanged);
    wire(PARAM_IDNEX_DIGITAL_FORMAT, &Ornav72::digitalFormatChanged);
    for (int i : {PARAM_INDEX_DIGITAL_VALTAGE, PARAM_IDNEX_I2CADDR, PARAM_IDNEX_DIGITALSENDINTERVAL,
                  PARAM_INDEX_UARTDATABITS, PARAM_INDEX_UARTSTOPBITS, PARAM_INDEX_UARTVERIFY})
        wire(i, &Ornav72::digitalParamChanged);
    wire(PARAM_IDNEX_DIGITALAUTOSEND, &Ornav72::digitaAutoSendChanged);
    for (int i : {PARAM_IDNEX_SPICLK, PARAM_IDNEX_I2CCLK, PARAM_INDEX_UARTBAUDRATE})
        wire(i, &Ornav72::digitalClkChanged);
    for (int i : {PARAM_INDEX_UARTDATABITS, PARAM_INDEX_UARTSTOPBITS, PARAM_INDEX_UARTVERIFY})
        wire(i, &Ornav72::digitalRequestPaint);
}

void Ornav72::IPSetTypeChanged() { network_.typeChanged(); }

void Ornav72::IPParamChanged() { network_.paramChanged(); }

void Ornav72::upgrade() { upgrade_.run(); }

void Ornav72::chUpdateArbMem(int ch, QString arbfile, bool base, bool exe, bool tempfile)
{
    arbFiles_.chUpdateArbMem(ch, arbfile, base, exe, tempfile);
}

void Ornav72::chUpdateListMem(int ch, QString file, bool exe, bool tempfile)
{
    arbFiles_.chUpdateListMem(ch, file, exe, tempfile);
}

void Ornav72::chLoadArbBytes(int ch, QString path, QByteArray bytes, bool base, bool exe)
{
    arbFiles_.chLoadArbBytes(ch, path, bytes, base, exe);
}

void Ornav72::reportMissingFile(const QString& path) { arbFiles_.reportMissingFile(path); }

void Ornav72::SetArbDir(QVariantList list) { arbFiles_.SetArbDir(list); }

bool Ornav72::digitalTypeChanged(int newfun) { return digital_.digitalTypeChanged(newfun); }

void Ornav72::digitalRemoteData(QByteArray data) { digital_.digitalRemoteData(data); }

void Ornav72::digitalClkChanged() { digital_.digitalClkChanged(); }

void Ornav72::digitalParamChanged() { digital_.digitalParamChanged(); }

void Ornav72::digitalFormatChanged() { digital_.digitalFormatChanged(); }

void Ornav72::digitalSWChanged() { digital_.digitalSWChanged(); }

void Ornav72::digitaAutoSendChanged() { digital_.digitaAutoSendChanged(); }

void Ornav72::digitalRequestPaint() { digital_.digitalRequestPaint(); }

void Ornav72::counterSwChanged() { counter_.counterSwChanged(); }

void Ornav72::counterParamChanged() { counter_.counterParamChanged(); }
