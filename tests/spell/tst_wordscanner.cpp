#include "spell/wordscanner.h"

#include <QTest>

// Which words of a paragraph reach the engine. A word wrongly kept is a false underline in every
// science text; a word wrongly dropped is a mistake nobody sees.
class tst_WordScanner : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void words_data();
    void words();
    void notPlainCharactersDropTheirWord_data();
    void notPlainCharactersDropTheirWord();
    void offsetsPointIntoTheText();
    void typographicApostropheReadsAsStraight();
    void hugeParagraphEnds();
};

void tst_WordScanner::words_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("plain sentence") << QStringLiteral("Une moléclue d'eau.")
                                    << QStringList{"Une", "moléclue", "d'eau"};
    QTest::newRow("element symbol as a word") << QStringLiteral("La") << QStringList{};
    QTest::newRow("elision kept whole")
        << QStringLiteral("l'eau aujourd'hui") << QStringList{"l'eau", "aujourd'hui"};
    QTest::newRow("typographic apostrophe") << QStringLiteral("l’eau") << QStringList{"l’eau"};
    QTest::newRow("hyphenated words")
        << QStringLiteral("peut-être, c'est-à-dire") << QStringList{"peut-être", "c'est-à-dire"};
    QTest::newRow("dash between words") << QStringLiteral("eau - sel") << QStringList{"eau", "sel"};
    QTest::newRow("trailing apostrophe dropped")
        << QStringLiteral("jusqu' ici") << QStringList{"jusqu", "ici"};
    QTest::newRow("digits") << QStringLiteral("H2O 3e CO2 SO4 1er") << QStringList{};
    QTest::newRow("all capitals") << QStringLiteral("ADN et ÉTÉ") << QStringList{"et"};
    QTest::newRow("formula of symbols") << QStringLiteral("NaCl dans NaOH") << QStringList{"dans"};
    QTest::newRow("ions") << QStringLiteral("Fe^3+ puis Cl- et Cu2+") << QStringList{"puis", "et"};
    QTest::newRow("units") << QStringLiteral("en mol ou m.s ou g/L ou mol.L-1")
                           << QStringList{"en", "ou", "ou", "ou"};
    QTest::newRow("powers of units") << QStringLiteral("a = 9,8 m.s^-2") << QStringList{"a"};
    QTest::newRow("web address") << QStringLiteral("voir https://exemple.fr/page?x=1.")
                                 << QStringList{"voir"};
    QTest::newRow("address in brackets") << QStringLiteral("(www.exemple.fr)") << QStringList{};
    QTest::newRow("bare domain") << QStringLiteral("sur exemple.fr") << QStringList{"sur"};
    QTest::newRow("mail address") << QStringLiteral("écrire à prof.durand@lycee.fr")
                                  << QStringList{"écrire", "à"};
    QTest::newRow("object between words") << QStringLiteral("eau\uFFFCsel") << QStringList{"eau", "sel"};
    QTest::newRow("line break") << QStringLiteral("eau\u2028sel") << QStringList{"eau", "sel"};
    QTest::newRow("word of a capital and lower letters")
        << QStringLiteral("Moléclue") << QStringList{"Moléclue"};
    QTest::newRow("sentence end after a unit word")
        << QStringLiteral("Il pèse 3 kg.") << QStringList{"Il", "pèse"};
    QTest::newRow("not an element pair") << QStringLiteral("Le Bo") << QStringList{"Le", "Bo"};
}

void tst_WordScanner::words()
{
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    QStringList got;
    for (const ScannedWord &word : WordScanner::words(text, {}))
        got.append(word.word);
    QCOMPARE(got, expected);
}

void tst_WordScanner::notPlainCharactersDropTheirWord_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("mask"); // 'x' where a character is no ordinary writing
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("exponent after a word")
        << QStringLiteral("xème eau") << QStringLiteral(" xxx    ") << QStringList{"eau"};
    QTest::newRow("lone exponent") << QStringLiteral("2 ème eau") << QStringLiteral("  xxx    ")
                                   << QStringList{"eau"};
    QTest::newRow("symbol font") << QStringLiteral("αβγ eau") << QStringLiteral("xxx    ")
                                 << QStringList{"eau"};
    QTest::newRow("index inside") << QStringLiteral("Mlle eau") << QStringLiteral(" xxx    ")
                                  << QStringList{"eau"};
}

void tst_WordScanner::notPlainCharactersDropTheirWord()
{
    QFETCH(QString, text);
    QFETCH(QString, mask);
    QFETCH(QStringList, expected);
    QList<bool> plain;
    for (const QChar c : mask)
        plain.append(c != QLatin1Char('x'));
    QStringList got;
    for (const ScannedWord &word : WordScanner::words(text, plain))
        got.append(word.word);
    QCOMPARE(got, expected);
}

void tst_WordScanner::offsetsPointIntoTheText()
{
    const QString text = QStringLiteral("  (l'eau), sel!");
    const QList<ScannedWord> words = WordScanner::words(text, {});
    QCOMPARE(words.size(), 2);
    for (const ScannedWord &word : words)
        QCOMPARE(text.mid(word.start, word.length), word.word);
    QCOMPARE(words.at(0).start, 3);
}

void tst_WordScanner::typographicApostropheReadsAsStraight()
{
    QCOMPARE(WordScanner::normalized(QStringLiteral("aujourd’hui")), QStringLiteral("aujourd'hui"));
}

void tst_WordScanner::hugeParagraphEnds()
{
    // A paragraph of one endless "word" and one of endless punctuation: no word, no hang.
    QCOMPARE(WordScanner::words(QString(200000, QLatin1Char('a')), {}).size(), 0);
    QCOMPARE(WordScanner::words(QString(200000, QLatin1Char('.')), {}).size(), 0);
    QCOMPARE(WordScanner::words(QString(100000, QLatin1Char('-')) + QStringLiteral("eau"), {}).size(), 1);
}

QTEST_GUILESS_MAIN(tst_WordScanner)
#include "tst_wordscanner.moc"
