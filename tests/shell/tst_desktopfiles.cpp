#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>
#include <QXmlStreamReader>

// The desktop entry and the exercise files' type, as a file manager reads them.
class tst_DesktopFiles : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void exerciseTypeCoversEveryModule()
    {
        QFile file(QStringLiteral(VELIGRAM_SHELL_DIR "/veligram-exercise.xml"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        QStringList globs;
        QString type;
        QString french;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == QLatin1String("mime-type"))
                type = xml.attributes().value(QLatin1String("type")).toString();
            else if (xml.name() == QLatin1String("glob"))
                globs << xml.attributes().value(QLatin1String("pattern")).toString();
            else if (xml.name() == QLatin1String("comment") &&
                     xml.attributes().value(QLatin1String("xml:lang")) == QLatin1String("fr"))
                french = xml.readElementText();
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(type, QStringLiteral("application/x-veligram-exercise"));
        QCOMPARE(french, QStringLiteral("Fichier exercice Veligram"));
        QStringList expected;
        for (int module = 1; module <= 12; ++module)
            expected << QStringLiteral("*.E%1").arg(module, 2, 10, QLatin1Char('0'));
        QCOMPARE(globs, expected);
    }

    void desktopEntryOpensExercises()
    {
        const QSettings entry(QStringLiteral(VELIGRAM_SHELL_DIR "/veligram.desktop"), QSettings::IniFormat);
        const QString types = entry.value(QStringLiteral("Desktop Entry/MimeType")).toString();
        QVERIFY2(types.split(QLatin1Char(';')).contains(QStringLiteral("application/x-veligram-exercise")),
                 qPrintable(types));
        QVERIFY(entry.value(QStringLiteral("Desktop Entry/Exec")).toString().contains(QStringLiteral("%f")));
    }
};

QTEST_GUILESS_MAIN(tst_DesktopFiles)
#include "tst_desktopfiles.moc"
