// The real editor, driven from outside through its command file, killed with SIGKILL and
// started again: what a crash leaves behind can only be seen from another process.
#include "exercise/exercisedata.h"
#include "exercise/exercisefile.h"
#include "recovery/recoveryentry.h"
#include "rtf/rtfreader.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

namespace {

const QString question = QStringLiteral("Veligram s'est arrêté sans enregistrer vos dernières modifications. "
                                        "Voulez-vous récupérer les textes non enregistrés ?");

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

bool waitFor(const std::function<bool()> &condition, int timeoutMs = 15000)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QTest::qWait(50);
    }
    return true;
}

// The text of a dumped RTF file's runs that `pick` accepts, joined.
QString runsOf(const QByteArray &rtf, const std::function<bool(const CharStyle &)> &pick)
{
    QString text;
    for (const Paragraph &paragraph : RtfReader::read(rtf).document.paragraphs) {
        for (const TextRun &run : paragraph.runs) {
            if (pick(run.style))
                text += run.text;
        }
    }
    return text;
}

QString allText(const QByteArray &rtf)
{
    return runsOf(rtf, [](const CharStyle &) { return true; });
}

// One run of the editor over a scratch home, answering the commands the test appends.
class Editor
{
public:
    Editor(const QString &home, const QString &name) : m_home(home), m_driver(home + QLatin1Char('/') + name)
    {
        QDir().mkpath(m_driver);
        writeAll(m_driver + QStringLiteral("/commands"), {});
        QFile::remove(m_driver + QStringLiteral("/replies"));
    }
    ~Editor()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }

    bool start(const QStringList &arguments = {})
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), m_home);
        environment.insert(QStringLiteral("XDG_DATA_HOME"), m_home + QStringLiteral("/data"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home + QStringLiteral("/config"));
        environment.insert(QStringLiteral("XDG_CACHE_HOME"), m_home + QStringLiteral("/cache"));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("VELIGRAM_TEST_DRIVER"), m_driver);
        environment.insert(QStringLiteral("VELIGRAM_RECOVERY_DELAYS"), QStringLiteral("300,3000"));
        m_process.setProcessEnvironment(environment);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral(VELIGRAM_EDITOR), arguments);
        return m_process.waitForStarted();
    }
    // Appends a command and returns its line number, without waiting.
    int post(const QString &command)
    {
        QFile file(m_driver + QStringLiteral("/commands"));
        if (file.open(QIODevice::Append))
            file.write(command.toUtf8() + '\n');
        return ++m_lines;
    }
    // The reply to line `line`, once it comes; "(no reply)" after the time-out.
    QString reply(int line)
    {
        const QByteArray prefix = QByteArray::number(line) + ' ';
        QString found = QStringLiteral("(no reply)");
        waitFor([&] {
            for (const QByteArray &row : readAll(m_driver + QStringLiteral("/replies")).split('\n')) {
                if (row.startsWith(prefix)) {
                    const QString text = QString::fromUtf8(row.mid(prefix.size()));
                    found = text.mid(text.indexOf(QLatin1Char(' ')) + 1);
                    return true;
                }
            }
            return m_process.state() == QProcess::NotRunning;
        });
        return found;
    }
    QString send(const QString &command) { return reply(post(command)); }
    // The texts as the editor holds them: exo.rtf, sujetampon.rtf, corectampon.rtf, state.txt.
    QString dump()
    {
        const QString folder = m_driver + QStringLiteral("/dump%1").arg(m_lines);
        return send(QStringLiteral("dump ") + folder) == QLatin1String("ok") ? folder : QString();
    }
    void kill()
    {
        m_process.kill(); // SIGKILL: nothing of the editor runs any more
        m_process.waitForFinished();
    }
    bool finished(int timeoutMs = 10000)
    {
        return m_process.state() == QProcess::NotRunning || m_process.waitForFinished(timeoutMs);
    }
    int exitCode() const { return m_process.exitCode(); }

private:
    QString m_home;
    QString m_driver;
    QProcess m_process;
    int m_lines = 0;
};

} // namespace

class tst_RecoveryProcess : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void exerciseBuffersAndANewTextComeBack();
    void anOpenedDocumentComesBackAndASaveRemovesItsCopy();
    void aSecondEditorLeavesTheFirstOnesCopiesAlone();
    void aCorruptedCopyIsSetAside();

private:
    // Under the scratch data folder wherever the program's names put it (an organisation name
    // adds a level).
    QString recoveryFolder() const
    {
        QDirIterator folders(m_home->path() + QStringLiteral("/data"), QDir::Dirs | QDir::NoDotAndDotDot,
                             QDirIterator::Subdirectories);
        while (folders.hasNext()) {
            const QString folder = folders.next();
            if (folders.fileName() == QLatin1String("recovery"))
                return folder;
        }
        return m_home->path() + QStringLiteral("/data/veligram/recovery");
    }
    QList<RecoveryEntry> copies() const
    {
        return RecoveryIndex::read(readAll(recoveryFolder() + QStringLiteral("/index.json")))
            .value_or(QList<RecoveryEntry>{});
    }
    QStringList copyFiles() const
    {
        return QDir(recoveryFolder()).entryList({QStringLiteral("*.rtf")}, QDir::Files, QDir::Name);
    }
    bool waitForCopies(const QStringList &buffers)
    {
        return waitFor([&] {
            QStringList present;
            for (const RecoveryEntry &entry : copies())
                present << entry.buffer;
            present.sort();
            QStringList wanted = buffers;
            wanted.sort();
            return present == wanted && copyFiles().size() == wanted.size();
        });
    }
    // Leaves a killed editor's copy of a new text "Perdu " in bold.
    void leaveANewText(Editor &editor)
    {
        QVERIFY(editor.start());
        QCOMPARE(editor.send(QStringLiteral("ping")), QStringLiteral("ready"));
        editor.send(QStringLiteral("trigger q21"));
        editor.send(QStringLiteral("type Perdu"));
        QVERIFY(waitForCopies({RecoveryEntry::document}));
        editor.kill();
    }

    std::unique_ptr<QTemporaryDir> m_home;
};

void tst_RecoveryProcess::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(m_home->isValid());
}

void tst_RecoveryProcess::exerciseBuffersAndANewTextComeBack()
{
    const QString folder = m_home->path();
    QVERIFY(writeAll(folder + QStringLiteral("/enonce.rtf"), R"({\rtf1\ansi\pard Enonce.\par})"));
    QVERIFY(writeAll(folder + QStringLiteral("/corrige.rtf"), R"({\rtf1\ansi\pard Corrige.\par})"));
    ExerciseData data;
    data.files[0] = QStringLiteral("enonce.rtf");
    data.files[2] = QStringLiteral("corrige.rtf");
    const QString exercise = folder + QStringLiteral("/pile.E01");
    QVERIFY(ExerciseFile::write(exercise, data));
    const QByteArray statementOnDisk = readAll(folder + QStringLiteral("/enonce.rtf"));

    {
        Editor first(folder, QStringLiteral("first"));
        QVERIFY(first.start({exercise}));
        QCOMPARE(first.send(QStringLiteral("ping")), QStringLiteral("ready"));
        first.send(QStringLiteral("trigger q21")); // bold
        first.send(QStringLiteral("type Gras "));
        QCOMPARE(first.send(QStringLiteral("trigger az51")), QStringLiteral("ok")); // the correction
        first.send(QStringLiteral("trigger q22"));                                  // italic
        first.send(QStringLiteral("type Penche "));
        first.send(QStringLiteral("trigger az52")); // back to the statement: both buffers hold edits
        // A new text beside the exercise: its prompt answered No keeps the buffers as they are.
        const int nouveau = first.post(QStringLiteral("trigger Nouv"));
        QCOMPARE(first.send(QStringLiteral("answer Non")),
                 QStringLiteral("Avertissement|Enregistrer modifications ?"));
        QCOMPARE(first.reply(nouveau), QStringLiteral("ok"));
        first.send(QStringLiteral("trigger q23")); // underline
        first.send(QStringLiteral("type Neuf"));
        QVERIFY(
            waitForCopies({RecoveryEntry::document, RecoveryEntry::statement, RecoveryEntry::correction}));
        first.kill();
    }
    QCOMPARE(readAll(folder + QStringLiteral("/enonce.rtf")), statementOnDisk); // never touched

    Editor second(folder, QStringLiteral("second"));
    QVERIFY(second.start());
    QCOMPARE(second.send(QStringLiteral("answer Oui")), QStringLiteral("Récupération|") + question);
    const QString dump = second.dump();
    QVERIFY(!dump.isEmpty());
    const QStringList state =
        QString::fromUtf8(readAll(dump + QStringLiteral("/state.txt"))).split(QLatin1Char('\n'));
    QCOMPARE(state.value(0), QStringLiteral("SANS NOM"));
    QCOMPARE(state.value(1), QStringLiteral("0")); // marked modified
    const QByteArray exo = readAll(dump + QStringLiteral("/exo.rtf"));
    QCOMPARE(runsOf(exo, [](const CharStyle &style) { return style.underline; }), QStringLiteral("Neuf"));
    const QByteArray statement = readAll(dump + QStringLiteral("/sujetampon.rtf"));
    QCOMPARE(allText(statement), QStringLiteral("Gras Enonce."));
    QCOMPARE(runsOf(statement, [](const CharStyle &style) { return style.bold; }), QStringLiteral("Gras "));
    const QByteArray correction = readAll(dump + QStringLiteral("/corectampon.rtf"));
    QCOMPARE(runsOf(correction, [](const CharStyle &style) { return style.italic; }),
             QStringLiteral("Penche "));

    // "Non" to the close guard: the run ends cleanly and takes its copies with it.
    const int quit = second.post(QStringLiteral("trigger quitter"));
    QCOMPARE(second.send(QStringLiteral("answer Non")),
             QStringLiteral("Avertissement|Enregistrer modifications ?"));
    Q_UNUSED(quit);
    QVERIFY(second.finished());
    QCOMPARE(second.exitCode(), 0);
    QVERIFY(copyFiles().isEmpty());
    QVERIFY(copies().isEmpty());
}

void tst_RecoveryProcess::anOpenedDocumentComesBackAndASaveRemovesItsCopy()
{
    const QString document = m_home->path() + QStringLiteral("/cours.rtf");
    QVERIFY(writeAll(document, R"({\rtf1\ansi\pard Cours.\par})"));
    {
        Editor first(m_home->path(), QStringLiteral("first"));
        QVERIFY(first.start({document}));
        QCOMPARE(first.send(QStringLiteral("ping")), QStringLiteral("ready"));
        first.send(QStringLiteral("trigger q21"));
        first.send(QStringLiteral("type Ajout "));
        QVERIFY(waitForCopies({RecoveryEntry::document}));
        QCOMPARE(copies().value(0).original, document);
        first.kill();
    }
    {
        Editor second(m_home->path(), QStringLiteral("second"));
        QVERIFY(second.start());
        QCOMPARE(second.send(QStringLiteral("answer Oui")), QStringLiteral("Récupération|") + question);
        const QString dump = second.dump();
        const QStringList state =
            QString::fromUtf8(readAll(dump + QStringLiteral("/state.txt"))).split(QLatin1Char('\n'));
        QCOMPARE(state.value(0), document);
        QCOMPARE(state.value(1), QStringLiteral("0"));
        QCOMPARE(state.value(2), QStringLiteral("VELIGRAM - ") + document);
        const QByteArray exo = readAll(dump + QStringLiteral("/exo.rtf"));
        QCOMPARE(runsOf(exo, [](const CharStyle &style) { return style.bold; }), QStringLiteral("Ajout "));
        // "Enregistrer" writes it where it belongs, and its copy goes.
        QCOMPARE(second.send(QStringLiteral("trigger resauve")), QStringLiteral("ok"));
        QVERIFY(waitForCopies({}));
        QCOMPARE(allText(readAll(document)), QStringLiteral("Ajout Cours."));
        second.send(QStringLiteral("type encore"));
        QVERIFY(waitForCopies({RecoveryEntry::document}));
        second.kill();
    }
    Editor third(m_home->path(), QStringLiteral("third"));
    QVERIFY(third.start());
    QCOMPARE(third.send(QStringLiteral("answer Non")), QStringLiteral("Récupération|") + question);
    QVERIFY(waitForCopies({}));
    const QString dump = third.dump();
    QVERIFY(allText(readAll(dump + QStringLiteral("/exo.rtf"))).isEmpty());
    QCOMPARE(allText(readAll(document)), QStringLiteral("Ajout Cours.")); // the copy never wrote it
    QCOMPARE(third.send(QStringLiteral("trigger quitter")), QStringLiteral("ok"));
    QVERIFY(third.finished());
}

void tst_RecoveryProcess::aSecondEditorLeavesTheFirstOnesCopiesAlone()
{
    Editor first(m_home->path(), QStringLiteral("first"));
    QVERIFY(first.start());
    QCOMPARE(first.send(QStringLiteral("ping")), QStringLiteral("ready"));
    first.send(QStringLiteral("type Premier"));
    QVERIFY(waitForCopies({RecoveryEntry::document}));
    const QStringList before = copyFiles();
    {
        Editor second(m_home->path(), QStringLiteral("second"));
        QVERIFY(second.start());
        QCOMPARE(second.send(QStringLiteral("modal")), QStringLiteral("none")); // asks nothing
        second.send(QStringLiteral("type Second"));
        QTest::qWait(1500); // past the quiet time: it would have written its copy by now
        second.post(QStringLiteral("trigger quitter"));
        QCOMPARE(second.send(QStringLiteral("answer Non")),
                 QStringLiteral("Avertissement|Enregistrer modifications ?"));
        QVERIFY(second.finished());
    }
    QCOMPARE(copyFiles(), before);
    QCOMPARE(copies().size(), 1);
    first.kill();

    Editor third(m_home->path(), QStringLiteral("third"));
    QVERIFY(third.start()); // takes over the dead editor's lock
    QCOMPARE(third.send(QStringLiteral("answer Oui")), QStringLiteral("Récupération|") + question);
    QCOMPARE(allText(readAll(third.dump() + QStringLiteral("/exo.rtf"))), QStringLiteral("Premier"));
}

void tst_RecoveryProcess::aCorruptedCopyIsSetAside()
{
    Editor first(m_home->path(), QStringLiteral("first"));
    leaveANewText(first);
    const QString damaged = copies().value(0).file;
    const QString path = recoveryFolder() + QLatin1Char('/') + damaged;
    const QByteArray truncated = readAll(path).left(40);
    QVERIFY(writeAll(path, truncated));

    Editor second(m_home->path(), QStringLiteral("second"));
    QVERIFY(second.start());
    QCOMPARE(second.send(QStringLiteral("answer Oui")), QStringLiteral("Récupération|") + question);
    const QString report = second.send(QStringLiteral("answer OK"));
    QVERIFY2(report.contains(damaged), qPrintable(report));
    QCOMPARE(readAll(recoveryFolder() + QStringLiteral("/rejected/") + damaged), truncated);
    QCOMPARE(second.send(QStringLiteral("modal")), QStringLiteral("none"));
    QVERIFY(allText(readAll(second.dump() + QStringLiteral("/exo.rtf"))).isEmpty());
}

QTEST_GUILESS_MAIN(tst_RecoveryProcess)
#include "tst_recoveryprocess.moc"
