#include "platform/helpfile.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class tst_HelpFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void contents();
    void index();
    void search_data();
    void search();
    void everyTopicHasAnAnchor();
    void refused_data();
    void refused();
    void installedHelpFile();
};

void tst_HelpFile::contents()
{
    HelpFile help;
    QVERIFY(help.load(QFINDTESTDATA("data/sample.hlp")));
    const QList<HelpTopic> &topics = help.topics();
    QCOMPARE(topics.size(), 5);
    QCOMPARE(topics[0].title, QStringLiteral("Bienvenue & présentation"));
    QCOMPARE(topics[0].id, QStringLiteral("accueil"));
    QCOMPARE(topics[0].level, 1);
    QCOMPARE(topics[1].title, QStringLiteral("Le menu Fichier")); // tags inside dropped
    QCOMPARE(topics[1].level, 2);
    QCOMPARE(topics[2].id, QStringLiteral("topic-3")); // no id given
    QCOMPARE(topics[3].id, QStringLiteral("topic-4")); // id already used
    QCOMPARE(topics[4].id, QStringLiteral("fin"));     // upper-case tags and single quotes
    QCOMPARE(topics[4].level, 1);
    // The unclosed heading is text of the topic before it, not a topic.
    QVERIFY(topics[3].plainText.contains(QStringLiteral("Titre jamais fermé")));
    QVERIFY(!topics[0].plainText.contains(QStringLiteral("hors de toute rubrique")));
}

void tst_HelpFile::index()
{
    HelpFile help;
    QVERIFY(help.load(QFINDTESTDATA("data/sample.hlp")));
    const QList<HelpIndexEntry> index = help.index();
    QStringList terms;
    for (const HelpIndexEntry &entry : index)
        terms.append(entry.term);
    // Sorted the French way, blanks and case-duplicates merged.
    QCOMPARE(terms, QStringList({"Accueil", "enregistrer", "imprimer", "ouvrir", "présentation"}));
    QCOMPARE(index[1].topicIds, QStringList({"fichier", "fin"}));
    QCOMPARE(index[3].topicIds, QStringList({"fichier"}));
}

void tst_HelpFile::search_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("one word") << "zéphyr" << QStringList{"fin"};
    QTest::newRow("accents and case ignored") << "ENONCE" << QStringList{"fichier"};
    QTest::newRow("every word must be there") << "enregistrer commande" << QStringList{"fichier"};
    QTest::newRow("ligature") << "coeur" << QStringList{"topic-4"};
    QTest::newRow("titles count") << "identifiant" << QStringList{"topic-3", "topic-4"};
    QTest::newRow("no match") << "quantique" << QStringList{};
    QTest::newRow("blank query") << "   " << QStringList{};
}

void tst_HelpFile::search()
{
    QFETCH(QString, query);
    QFETCH(QStringList, expected);
    HelpFile help;
    QVERIFY(help.load(QFINDTESTDATA("data/sample.hlp")));
    QCOMPARE(help.search(query), expected);
}

void tst_HelpFile::everyTopicHasAnAnchor()
{
    HelpFile help;
    QVERIFY(help.load(QFINDTESTDATA("data/sample.hlp")));
    for (const HelpTopic &topic : help.topics())
        QVERIFY2(help.html().contains(QStringLiteral("<a name=\"%1\">").arg(topic.id)), qPrintable(topic.id));
}

void tst_HelpFile::refused_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("no heading") << QByteArrayLiteral("<html><body><p>rien</p></body></html>");
    QTest::newRow("binary") << QByteArray("\x00\x01\xff<h", 6);
    QTest::newRow("only unclosed headings") << QByteArray("<h2 id=a>x").repeated(20000);
}

void tst_HelpFile::refused()
{
    QFETCH(QByteArray, content);
    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("QZ7.hlp"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    HelpFile help;
    QVERIFY(!help.load(path));
    QVERIFY(help.topics().isEmpty());
    QVERIFY(!help.load(directory.filePath(QStringLiteral("absent.hlp"))));
    QVERIFY(!help.load(QString()));
}

void tst_HelpFile::installedHelpFile()
{
    HelpFile help;
    QVERIFY(help.load(QStringLiteral(VELIGRAM_HELP_FILE)));
    QStringList ids;
    for (const HelpTopic &topic : help.topics()) {
        QVERIFY2(!topic.id.startsWith(QStringLiteral("topic-")),
                 qPrintable(topic.title)); // ids given, unique
        QVERIFY2(topic.plainText.size() > topic.title.size() + 40, qPrintable(topic.title));
        ids.append(topic.id);
    }
    // A topic per menu of the main window, and the exercise workflow.
    for (const char *id : {"menu-fichier", "menu-edition", "menu-insertion", "menu-format", "menu-indices",
                           "menu-options", "menu-outils", "menu-exercice", "exercice-creer"})
        QVERIFY2(ids.contains(QLatin1String(id)), id);
    QVERIFY(help.index().size() >= 40);
    QVERIFY(!help.search(QStringLiteral("Corrigé")).isEmpty());
}

QTEST_MAIN(tst_HelpFile)
#include "tst_helpfile.moc"
