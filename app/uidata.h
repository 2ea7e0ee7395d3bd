#pragma once
// The QML-facing state object, exposed to the screens as context property
// "uidata". It lives in the GUI thread; the controller reaches the screens
// through it and through invokeMethod on the bound QML objects.
#include <QObject>
#include <QString>

class Ornav72;
class QQmlApplicationEngine;

class Uidata : public QObject {
    Q_OBJECT
public:
    // Kind of the question dialog that is open.
    enum ASK_TYPE {
        ASK_NONE = 0,
        ASK_UPGRADE,
        ASK_UPGTADING,
        ASK_FACTORY_RESET,
        ASK_POWER_OFF,
    };
    Q_ENUM(ASK_TYPE)

    explicit Uidata(QObject* parent = nullptr);

    Ornav72* controller = nullptr;
    QQmlApplicationEngine* engine = nullptr;
    QObject* mainObject = nullptr;
    QObject* vkObject = nullptr;
    QObject* tabsObject = nullptr;

    // Last progress value shown by the loader's progress bar (0..100, -1 failure).
    int processValue() const { return m_process; }

signals:
    void cmd_fpgaconfig(QString path);
    void listfreqUpdate(int ch);
    void upgrade();
    void processBarChanged(int value);

public slots:
    void updateProcessBar(int value);

private:
    int m_process = 0;
};
