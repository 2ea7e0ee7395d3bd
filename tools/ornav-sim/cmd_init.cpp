#include "tools/ornav-sim/simcommands.h"
#include "tools/ornav-arblib/arbwavelib.h"
#include "simboard/simroot.h"
#include <QDir>
#include <QFile>
#include <QSettings>
#include <cstdio>

// Creates (or completes) the board root and puts the English translation
// where the board keeps it. "--language en" (or "zh") also stores the
// language setting the program reads at start.
int simCmdInit(const QString& root, const QStringList& args)
{
    int language = -1;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] != QLatin1String("--language"))
            continue;
        const QString v = i + 1 < args.size() ? args[i + 1].toLower() : QString();
        if (v == QLatin1String("en") || v == QLatin1String("english"))
            language = 1;
        else if (v == QLatin1String("zh") || v == QLatin1String("chinese"))
            language = 0;
        else {
            std::fprintf(stderr, "ornav-sim: --language takes en or zh\n");
            return 2;
        }
    }
    QString error;
    if (!SimRoot::create(root, &error)) {
        std::fprintf(stderr, "ornav-sim: %s\n", qPrintable(error));
        return 1;
    }
    // The built-in wave library the board carries in "/usr/share/ArbWaveLib".
    std::string libError;
    const QString lib = QDir(root).absolutePath() + QStringLiteral("/usr/share/ArbWaveLib");
    if (arbwavelib::writeLibrary(lib.toStdString(), &libError) < 0) {
        std::fprintf(stderr, "ornav-sim: %s\n", libError.c_str());
        return 1;
    }
    Q_INIT_RESOURCE(language);
    const QString qmDir = root + QStringLiteral("/usr/share/Language");
    const QString qm = qmDir + QStringLiteral("/en_US.qm");
    QDir().mkpath(qmDir);
    QFile::remove(qm);
    if (!QFile::copy(QStringLiteral(":/language/en_US.qm"), qm)) {
        std::fprintf(stderr, "ornav-sim: cannot write %s\n", qPrintable(qm));
        return 1;
    }
    QFile::setPermissions(qm, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    if (language >= 0) {
        QSettings s(root + QStringLiteral("/home/root/settings.ini"), QSettings::IniFormat);
        s.setValue(QStringLiteral("language"), language);
        s.sync();
    }
    std::printf("simulated board root ready: %s\n", qPrintable(root));
    return 0;
}
