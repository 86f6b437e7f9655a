#pragma once

#include "exercise/exercisedata.h"
#include "exercise/exercisefile.h"
#include "mainwindowfixture.h"
#include "recovery/copywriter.h"
#include "recovery/recoveryfolder.h"
#include "recovery/recoverytracker.h"
#include "rtf/rtfreader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The real window over the scripted platform, a recovery folder of its own and a tracker on a
// clock the test moves by hand.
struct RecoveryFixture : MainWindowFixture
{
    QTemporaryDir dir;
    RecoveryFolder folder{dir.filePath(QStringLiteral("recovery"))};
    CopyWriter writer{folder};
    qint64 now = 0;
    RecoveryTracker tracker{state, *window, [this] { return window->exercisePath(); }, writer,
                            [this] { return now; }};

    RecoveryFixture() { QVERIFY(folder.claim()); }

    // Ticks at `ms` until the copy under way is written.
    void at(qint64 ms)
    {
        now = ms;
        tracker.tick();
        while (tracker.copying())
            tracker.tick();
        writer.waitForDone();
    }
    void type(const QString &text) { QTest::keyClicks(window->exo().widget(), text); }
    QList<RecoveryEntry> copies() const { return folder.leftovers().entries; }
    RecoveryEntry copyOf(const QString &buffer) const
    {
        for (const RecoveryEntry &entry : copies()) {
            if (entry.buffer == buffer)
                return entry;
        }
        return {};
    }
    // The plain text of a copy, its paragraphs one a line.
    QString textOf(const RecoveryEntry &entry) const
    {
        const RtfReadResult read = RtfReader::read(folder.read(entry).rtf);
        QStringList paragraphs;
        for (const Paragraph &paragraph : read.document.paragraphs) {
            QString text;
            for (const TextRun &run : paragraph.runs)
                text += run.text;
            paragraphs << text;
        }
        return paragraphs.join(QLatin1Char('\n'));
    }
    QString file(const QString &name, const QByteArray &bytes)
    {
        const QString path = QDir::toNativeSeparators(dir.filePath(name));
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
            qWarning("cannot write %s", qPrintable(path));
        return path;
    }
    // An exercise of the first module with a statement and a correction beside it.
    QString exercise()
    {
        file(QStringLiteral("enonce.rtf"), R"({\rtf1\ansi\pard Enonce du fichier\par})");
        file(QStringLiteral("corrige.rtf"), R"({\rtf1\ansi\pard Corrige du fichier\par})");
        ExerciseData data;
        data.files[0] = QStringLiteral("enonce.rtf");
        data.files[2] = QStringLiteral("corrige.rtf");
        data.title = QStringLiteral("Pile");
        const QString path = QDir::toNativeSeparators(dir.filePath(QStringLiteral("pile.E01")));
        if (!ExerciseFile::write(path, data))
            qWarning("cannot write the exercise");
        return path;
    }
    QString statementPath() const
    {
        return QDir::toNativeSeparators(dir.filePath(QStringLiteral("enonce.rtf")));
    }
    QString correctionPath() const
    {
        return QDir::toNativeSeparators(dir.filePath(QStringLiteral("corrige.rtf")));
    }
};
