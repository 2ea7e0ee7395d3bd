// The English translation covers the screens: every qsTr() text of every
// QML file has a finished English entry in the translation source, in the
// context of its file, and the texts that carry an argument keep it.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QXmlStreamReader>

namespace {
QString sourceDir() { return QStringLiteral(ORNAV_SOURCE_DIR); }

struct Entry {
    QString translation;
    bool unfinished = false;
};

// context -> source text -> entry
QHash<QString, QHash<QString, Entry>> readTs(const QString& path)
{
    QHash<QString, QHash<QString, Entry>> out;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return out;
    QXmlStreamReader xml(&f);
    QString context, source;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("name"))
            context = xml.readElementText();
        else if (xml.name() == QLatin1String("source"))
            source = xml.readElementText();
        else if (xml.name() == QLatin1String("translation")) {
            Entry e;
            e.unfinished = xml.attributes().value(QLatin1String("type")) == QLatin1String("unfinished");
            e.translation = xml.readElementText();
            out[context][source] = e;
        }
    }
    return out;
}
} // namespace

TEST(Translation, EveryScreenTextHasAnEnglishEntry)
{
    const auto ts = readTs(sourceDir() + "/qml/en_US.ts");
    ASSERT_FALSE(ts.isEmpty());
    const QRegularExpression call(QStringLiteral("qsTr\\(\"((?:[^\"\\\\]|\\\\.)*)\""));
    const QDir qml(sourceDir() + "/qml");
    int texts = 0;
    for (const QString& name : qml.entryList({"*.qml"}, QDir::Files)) {
        QFile f(qml.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
        const QString text = QString::fromUtf8(f.readAll());
        const QString context = name.left(name.size() - 4);
        auto it = call.globalMatch(text);
        while (it.hasNext()) {
            QString s = it.next().captured(1);
            s.replace(QLatin1String("\\\""), QLatin1String("\"")).replace(QLatin1String("\\n"), QLatin1String("\n"));
            ++texts;
            const Entry e = ts.value(context).value(s);
            EXPECT_FALSE(e.translation.isEmpty() || e.unfinished)
                << name.toStdString() << ": no English text for \"" << s.toStdString() << "\"";
            // A placeholder of the source stays in the translation.
            if (s.contains(QLatin1String("%1"))) {
                EXPECT_TRUE(e.translation.contains(QLatin1String("%1"))) << s.toStdString();
            }
        }
    }
    EXPECT_GT(texts, 200);
}
