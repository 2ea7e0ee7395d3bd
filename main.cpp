// Process entry of the instrument application.
#include <QApplication>
#include <QDebug>
#include <QFile>
#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QSocketNotifier>
#include <QTextCodec>
#include <QThread>
#include <QTranslator>
#include <QtQml>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#include "app/ornav72.h"
#include "app/screentypes.h"
#include "communication/scpi_msg_adpt.h"
#include "app/channalmodel.h"
#include "WaveView/psewave.h"
#include "platform/platformroot.h"
#include "platform/logging.h"
#include "simboard/simtouch.h"
#include "simboard/textfit.h"
#include "param/sys_param.h"
#include "app/uidata.h"
#include "simboard/simboard.h"
#include "app/web_capture_window.h"

namespace {
int g_signalPipe[2] = {-1, -1};

void onTerminate(int)
{
    const char c = 1;
    // Only async-signal-safe work here: wake the event loop.
    ssize_t r = ::write(g_signalPipe[1], &c, 1);
    (void)r;
}

// SIGINT and SIGTERM end the event loop, so the program leaves through the
// same path as a normal quit and exits with status 0.
void installQuitOnSignal(QApplication& app)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [&app]() {
        char c;
        ssize_t r = ::read(g_signalPipe[0], &c, 1);
        (void)r;
        qInfo("signal received, quitting");
        app.quit();
    });
    struct sigaction sa {};
    sa.sa_handler = onTerminate;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
}
} // namespace

int main(int argc, char* argv[])
{
    // Diagnostics print in the instrument's bracketed form ("[vxi-ERRO] ...")
    // from the first one on.
    ornavlog::install();
    // The screens and images are compiled into the core library.
    PlatformRoot::initFromArgs(argc, argv);
    // A board root means the simulated board: its devices stand in for the
    // kernel's before the controller opens any of them.
    if (PlatformRoot::simulated())
        SimBoard::install();

    // 1. Texts are UTF-8.
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));

    // 2. QML types.
    registerScreenTypes();

    // 3. Single-threaded scene-graph rendering (the capture reads the frame in
    // the GUI thread).
    qputenv("QSG_RENDER_LOOP", "basic");
    // Headless runs (offscreen platform, no GPU) draw with the software scene
    // graph instead of OpenGL ES.
    const QByteArray qpa = qgetenv("QT_QPA_PLATFORM");
    if ((qpa == "offscreen" || qpa == "minimal") && qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);

    // 4. Application and translator.
    QApplication app(argc, argv);
    QTranslator translator;
    installQuitOnSignal(app);
    if (PlatformRoot::simulated())
        qInfo("running on the simulated board at %s", qPrintable(PlatformRoot::root()));

    // 5. The controller. Remote messages wait until it has applied the
    // stored settings (released at the end of its start-up).
    scpi_adpt_hold();
    auto* controller = new Ornav72();
    pOrnav72 = controller;

    // 6..8. Its worker thread.
    auto* worker = new QThread();
    worker->setObjectName(QStringLiteral("controller")); // the thread's name in top and perf
    controller->moveToThread(worker);
    controller->fpga().moveToThread(worker);
    QObject::connect(&controller->fpga(), &fpga_config::write_process, &controller->ui(), &Uidata::updateProcessBar,
                     Qt::QueuedConnection);
    QObject::connect(&controller->ui(), &Uidata::cmd_fpgaconfig, &controller->fpga(), &fpga_config::fpga_cfg_write,
                     Qt::QueuedConnection);
    worker->start(QThread::InheritPriority);

    // 9. Translation: language 0 keeps the texts of the screens.
    const int language = int(sys_param::GetLanguage(CH_SYS));
    if (language > 0 && !translator.load(PlatformRoot::path("/usr/share/Language/en_US.qm")))
        qInfo("translation file not found, keeping the built-in texts");
    app.installTranslator(&translator);

    // 10. QML engine with the state object.
    auto* engine = new QQmlApplicationEngine();
    controller->ui().engine = engine;
    engine->rootContext()->setContextProperty("uidata", &controller->ui());

    // 11. Back-light level before the first frame.
    controller->brightnessChanged();

    // 12. Screens.
    engine->load(QUrl(QStringLiteral("qrc:/qml/main.qml")));
    const auto roots = engine->rootObjects();
    if (!roots.isEmpty() && roots.first())
        controller->UIStartUpInit(roots.first());
    else
        scpi_adpt_release(); // no screens, no start-up to wait for
    // On a simulated board the touch screen is a file in the board root.
    if (PlatformRoot::simulated() && !roots.isEmpty()) {
        new SimTouch(qobject_cast<QWindow*>(roots.first()), PlatformRoot::path("/dev/input/event0"), &app);
        // Screen tests ask it whether every text on the screen is whole.
        new SimTextFit(qobject_cast<QWindow*>(roots.first()), &app);
    }
    // The web page's live view of the screen.
    if (!roots.isEmpty())
        installWebScreenCapture(roots.first());
    qInfo("ornav72 running");

    // 13. Event loop.
    app.exec();

    // No more grabs of a window that is going away.
    installWebScreenCapture(nullptr);

    // 14. Remote control ends first: clients waiting for replies are woken,
    // the transports' connection threads and the SCPI worker end, so none
    // of them reaches the controller while it goes away. A command still
    // running may need the screens: this thread keeps serving them.
    const auto pump = [] { QCoreApplication::processEvents(QEventLoop::AllEvents, 5); };
    scpi_adpt_shutdown(1000, pump);

    // 15. The worker thread finishes its current slot (never killed in the
    // middle of a write), then the objects are released.
    worker->quit();
    while (!worker->wait(5))
        pump();
    delete worker;
    delete controller;
    pOrnav72 = nullptr;
    delete engine;
    qInfo("ornav72 stopped");
    return 0;
}
