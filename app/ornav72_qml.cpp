// Binding of the controller to the named objects of the QML screen tree.
#include "app/ornav72.h"
#include <QDebug>
#include "app/channel.h"
#include "WaveView/psewave.h"

namespace {
QObject* find(QObject* base, const char* name)
{
    return base ? base->findChild<QObject*>(QString::fromLatin1(name)) : nullptr;
}
} // namespace

void Ornav72::getMainBarFromQml(QObject* root)
{
    QObject* statusbar = find(root, "statusbar");
    usbdiskObject = find(statusbar, "imgdusb");
    lockerObject = find(statusbar, "imglocker");
    usbhostObject = find(statusbar, "imghusb");
    if (find(statusbar, "imgnet"))
        netoffObject = find(statusbar, "imgnetoff");
    ext10mObject = find(statusbar, "ext10m");
    ext10mfalseObject = find(statusbar, "ext10mfalse");
    appdataObj = find(root, "appdata");
    screenmaksobj = find(root, "screenmask");
    askWindowobj = find(root, "askWindow");
    uidata.vkObject = find(root, "vk");
    const char* waves[4] = {"notewaveCh1", "notewaveCh2", "notewaveCh3", "notewaveCh4"};
    for (int ch = 0; ch < 4; ++ch)
        pseObject[ch] = qobject_cast<PseWave*>(find(root, waves[ch]));

    topmainObject = find(root, "topmain");
    if (!topmainObject)
        return;
    helpObject = find(topmainObject, "helpview");
    QObject* chmain = find(topmainObject, "chmain");
    QObject* tabs = find(chmain, "tabs");
    if (!tabs)
        return;
    chObject = tabs;
    uidata.tabsObject = tabs;
    for (int ch = CH1; ch <= CH4; ++ch)
        getChObjectFromQml(CH_ID(ch), tabs);
    getUtilitObjectFromQml(find(tabs, "tabutility"));
    // The button columns and the foot bar start from the stored settings.
    for (int ch = CH1; ch <= CH4; ++ch)
        StatusDisUpdate(CH_ID(ch));
}

void Ornav72::getChObjectFromQml(CH_ID ch, QObject* tabs)
{
    const QByteArray name = QByteArray("ch") + QByteArray::number(int(ch) + 1);
    QObject* chObj = find(tabs, name.constData());
    if (!chObj)
        qFatal("get ch object error");
    QObject* mc = find(chObj, (name + "mc").constData());
    if (channel[ch])
        channel[ch]->mObject = mc;
    QObject* cc = find(chObj, (name + "cc").constData());
    QObject* column = find(cc, "buttonColumn");
    if (!column)
        return;
    outputObject[ch] = find(column, "output");
    invertObject[ch] = find(column, "invert");
    handlTrigObject[ch] = find(column, "handltrig");
    loadbtnObject[ch] = find(column, "loadbtn");
    copybtnObject[ch] = find(column, "copybtn");
}

void Ornav72::getUtilitObjectFromQml(QObject* tabutility)
{
    if (!tabutility)
        qFatal("get utility object fall");
    uMainObject = find(tabutility, "utility");
    if (!uMainObject)
        return;
    QObject* context = find(uMainObject, "utilitycontext");
    if (!context)
        qFatal("utilitycontext can not find");
    QObject* layout = find(context, "utilitylayout");
    if (!layout)
        return;
    uChObject = find(layout, "UtilityChannelSet");
    QObject* couple = find(layout, "UtilityChannelCouple");
    uCoupleChObject = find(couple, "rowlay");
    QObject* merge = find(layout, "UtilityMerge");
    mergeObj = merge;
    counterObj = find(layout, "UtilityCounterSet");
    counterInputObj = find(counterObj, "countersetlistview");
    counterClrObj = find(find(counterObj, "statisticRec"), "counterClr");
    digitalObj = find(layout, "UtilityDigitalSet");
    utilitySystem = find(layout, "UtilitySystemSet");
    if (!find(utilitySystem, "systeminfo"))
        qFatal("can't find child systeminfo ");
    if (!find(utilitySystem, "innerTemp"))
        qFatal("can't find child innerTemp ");
    pTemptextObj = find(utilitySystem, "temperaturetxt");
    if (!pTemptextObj)
        qFatal("can't find child innerTemp ");
}
