// Keys and knob on an editing model: focus, typing, the selected digit, the
// arrow steps and the number pad's unit buttons.
#include <QDebug>
#include "app/channalmodel.h"
#include "param/paramvalue.h"
#include "param/uinttable.h"

namespace {
const QString kHandled;
const QString kQuit = QStringLiteral("quit");
const QString kError = QStringLiteral("error");

bool isDigitKey(int key) { return key >= Key_0 && key <= Key_9; }
} // namespace

void channelModel::startTyping(const QString& text)
{
    inputting = true;
    wlistvalue(text);
    m_sIndex = 0;
    m_sLenth = 0;
    emit sPosChanged(0);
    emit sLenthChanged(0);
    announceShown();
}

QString channelModel::onKeyEvent(int key, int repeat)
{
    if (key == Key_Cancel) {
        wparamfocus(false);
        return kQuit;
    }
    const ParamType h = m_param ? m_param->HType : IsDouble;
    if (inputting) {
        switch (key) {
        case Key_Symbol: {
            const QString t = text();
            if (t.contains('-'))
                wlistvalue(t.mid(1));
            else if (h & IsPlus)
                return kError;
            else
                wlistvalue(QLatin1Char('-') + t);
            return kHandled;
        }
        case Key_Backspace: {
            QString t = text();
            if (t.isEmpty())
                return kError;
            t.chop(1);
            if (t.isEmpty()) {
                {
                    std::lock_guard<std::mutex> l(m_textLock);
                    m_value.clear();
                }
                wparamfocus(false);
                return kQuit;
            }
            wlistvalue(t);
            return kHandled;
        }
        case Key_Dot: {
            const QString t = text();
            if ((h & IsInt) || t.contains('.'))
                return kError;
            wlistvalue(t + QLatin1Char('.'));
            return kHandled;
        }
        default:
            if (isDigitKey(key)) {
                const QString t = text();
                if (!m_param || t.size() >= int(m_param->Length))
                    return kError;
                wlistvalue(t + QChar('0' + (key - Key_0)));
                return kHandled;
            }
            return InputUnit(key);
        }
    }

    if (!m_paramfocus) {
        wparamfocus(true);
        if (key == Key_Ok)
            return kHandled; // the first OK only selects the entry
    }
    switch (key) {
    case Key_Backspace: return kError;
    case Key_Dot:
        if (h & IsInt)
            return kError;
        startTyping(QStringLiteral("0."));
        return kHandled;
    case Key_Symbol:
        if (h & IsPlus)
            return kError;
        startTyping(QStringLiteral("-"));
        return kHandled;
    case Key_Left:
    case Key_Right:
    case Key_Up:
    case Key_Down: {
        if (!m_param || m_param->HType == IsMutSelect || !m_param->GetValue) {
            // Choice entries and entries without a value must handle the
            // arrows themselves; refusing keeps a missing override harmless.
            qCritical("%s %d", "onKeyEvent", __LINE__);
            return kError;
        }
        if (key == Key_Left || key == Key_Right) {
            const bool moved = AddSelectBit(*m_param, m_selectIndex, key == Key_Right);
            disUpdate();
            return moved ? kHandled : kError;
        }
        const int steps = repeat > 0 ? repeat : 1;
        const bool changed = paramValueAdd(*m_param, ch, key == Key_Up ? steps : -steps, m_selectIndex);
        if (changed) {
            mulitInputTypeSync(runit());
            valueChangedProcess();
        }
        disUpdate();
        return changed ? kHandled : kError;
    }
    case Key_Ok: wparamfocus(false); return kHandled;
    default:
        if (isDigitKey(key)) {
            startTyping(QString(QChar('0' + (key - Key_0))));
            return kHandled;
        }
        if (key >= 0 && key < 32)
            return InputUnit(key);
        return kError;
    }
}

QString channelModel::InputUnit(int key)
{
    if (!m_param)
        return kError;
    const UintType ut = m_param->UType;
    const UnitStruct* table = GetUintStruct(ut);
    if (!table)
        return kError;
    int unit;
    if (key == Key_Ok) {
        // The unit the value is shown in.
        QString shown;
        int sPos = 0, sLen = 0;
        unit = paramValueToString(value(), ut, m_param->MinBit, shown, false, 0, sPos, sLen);
        if (unit < 0)
            return kError;
    } else {
        if (key < 0 || key >= GetUintSize(ut))
            return kError;
        unit = key;
    }
    const UnitStruct& u = table[unit];
    bool stored = true;
    if (u.Default > 0) {
        stored = SetValue(u.Default, runit());
    } else if (inputting) {
        bool ok = false;
        const double typed = text().toDouble(&ok);
        stored = ok && SetValue(typed * u.scale, runit());
    }
    wparamfocus(false);
    return stored ? kQuit : kError;
}
