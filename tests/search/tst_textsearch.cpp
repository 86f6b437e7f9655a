#include "platform/editorstate.h"
#include "richtext/richtextfactory.h"
#include "richtext/textfinder.h"
#include "rtf/cp1252.h"
#include "scriptedmessageboxes.h"
#include "search/textsearch.h"

#include <QStandardPaths>
#include <QTest>

namespace {

struct SearchFixture
{
    EditorState state;
    ScriptedMessageBoxes messages;
    std::unique_ptr<RichTextControl> exo = createRichTextControl();
    TextSearch search{*exo, state, messages};

    explicit SearchFixture(const QString &text) { exo->setText(Cp1252::encode(text)); }
};

QByteArray latin(const char *utf8)
{
    return Cp1252::encode(QString::fromUtf8(utf8));
}

} // namespace

class tst_TextSearch : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void matchingAsAReaderSeesIt_data();
    void matchingAsAReaderSeesIt();
    void caseFoldingKeepsAccentsOverTheWholeCharacterSet();
    void matchesAcrossTheSlicesOfALongText();
    void findAllTakesEveryOccurrenceOnce();

    void continueSearchWrapsAsTheSteps_data();
    void continueSearchWrapsAsTheSteps();
    void secondFailureDoesNotWrapAgain();
    void dialogPrefill_data();
    void dialogPrefill();
    void dialogSearchRemembersTextAndOptions();
    void failedDialogSearchSaysSo();
    void cancelEndsTheCommand();
};

void tst_TextSearch::matchingAsAReaderSeesIt_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("needle");
    QTest::addColumn<int>("options");
    QTest::addColumn<int>("found");
    QTest::newRow("capitals find accented lower case") << latin("une école") << latin("ÉCOLE") << 0 << 4;
    QTest::newRow("Œ finds œ") << latin("chef-d'œuvre") << latin("ŒUVRE") << 0 << 7;
    QTest::newRow("E finds E") << latin("Ecole") << latin("ECOLE") << 0 << 0;
    QTest::newRow("E never finds é") << latin("école") << latin("ECOLE") << 0 << -1;
    QTest::newRow("é never finds e") << latin("ecole") << latin("école") << 0 << -1;
    QTest::newRow("match case keeps É from é") << latin("école École") << latin("École") << 4 << 6;
    QTest::newRow("Š folds to š") << latin("Škoda") << latin("škoda") << 0 << 0;
    QTest::newRow("Ÿ folds to ÿ") << latin("L'HAŸ") << latin("haÿ") << 0 << 2;
    QTest::newRow("é is a word character") << latin("caféine café") << latin("café") << 2 << 8;
    QTest::newRow("ç is a word character") << latin("garçon çon") << latin("on") << 2 << -1;
    QTest::newRow("œ is a word character") << latin("sœur sœurs") << latin("sœur") << 2 << 0;
    QTest::newRow("whole word at the very end") << latin("un chat") << latin("chat") << 2 << 3;
    QTest::newRow("apostrophe separates") << latin("l'eau") << latin("eau") << 2 << 2;
    QTest::newRow("digits make words") << latin("H2O") << latin("H") << 2 << -1;
}

void tst_TextSearch::matchingAsAReaderSeesIt()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, needle);
    QFETCH(int, options);
    QFETCH(int, found);
    const std::unique_ptr<RichTextControl> exo = createRichTextControl();
    exo->setText(text);
    QCOMPARE(exo->find(needle, 0, -1, options), found);
    const QList<TextRange> all = exo->findAll(needle, 0, -1, options);
    QCOMPARE(all.isEmpty() ? -1 : all.first().start, found);
}

void tst_TextSearch::caseFoldingKeepsAccentsOverTheWholeCharacterSet()
{
    // Two different characters match without match case only when they are the upper and
    // lower case of one letter.
    for (int a = 1; a < 256; ++a) {
        for (int b = 1; b < 256; ++b) {
            if (a == b)
                continue;
            const QByteArray one(1, char(a));
            const QByteArray other(1, char(b));
            const bool matches = TextFinder::match(one, other, 0, 1, 0) == 0;
            const QChar ca = Cp1252::toUnicode(uchar(a));
            const QChar cb = Cp1252::toUnicode(uchar(b));
            const bool caseVariants = ca.toLower() == cb.toLower() || ca.toUpper() == cb.toUpper();
            if (matches != caseVariants)
                QFAIL(qPrintable(QStringLiteral("%1 and %2: match %3").arg(ca).arg(cb).arg(matches)));
        }
    }
}

void tst_TextSearch::matchesAcrossTheSlicesOfALongText()
{
    // The text is read in slices of growing size; a match on a slice's edge must not be lost.
    for (int at : {0, 1, 510, 511, 512, 513, 1535, 1536, 3583, 100000}) {
        QByteArray text(120000, 'x');
        text.replace(at, 4, "chat");
        const std::unique_ptr<RichTextControl> exo = createRichTextControl();
        exo->setText(text);
        QCOMPARE(exo->find("chat", 0, -1, 2), -1); // glued to x's: not a whole word
        QCOMPARE(exo->find("chat", 0, -1, 0), at);
        QCOMPARE(exo->find("chat", at + 1, -1, 0), -1);
        QCOMPARE(exo->find("chat", 0, at + 3, 0), -1);
    }
}

void tst_TextSearch::findAllTakesEveryOccurrenceOnce()
{
    const std::unique_ptr<RichTextControl> exo = createRichTextControl();
    exo->setText("aaaa a\rba");
    exo->setSelection({2, 1});
    const QList<TextRange> found = exo->findAll("aa", 0, -1, 0);
    QCOMPARE(found, (QList<TextRange>{{0, 2}, {2, 2}}));
    QCOMPARE(exo->findAll("a", 0, -1, 2), (QList<TextRange>{{5, 1}}));
    QCOMPARE(exo->selection(), (TextRange{2, 1})); // left alone
}

void tst_TextSearch::continueSearchWrapsAsTheSteps_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("lastFound");
    QTest::addColumn<int>("expected");
    const QString three = QStringLiteral("ab ab ab"); // matches at 0, 3 and 6
    QTest::newRow("first one starts at 1, so skips index 0") << three << 0 << 3;
    QTest::newRow("from a middle match to the next") << three << 4 << 6;
    QTest::newRow("after the last match, wraps to the first") << three << 7 << 0;
    QTest::newRow("after a failure, from index 0") << three << -1 << 0;
    QTest::newRow("the only match, found again after the wrap") << QStringLiteral("xx ab") << 3 << 3;
    QTest::newRow("a previous match beyond a shortened text") << three << 40 << 0;
}

void tst_TextSearch::continueSearchWrapsAsTheSteps()
{
    QFETCH(QString, text);
    QFETCH(int, lastFound);
    QFETCH(int, expected);
    SearchFixture f(text);
    QCOMPARE(f.state.lastFoundPosition, 0); // initial value
    f.state.searchText = QStringLiteral("ab");
    f.state.lastFoundPosition = lastFound;
    f.search.continueSearch();
    QCOMPARE(f.state.lastFoundPosition, expected);
    QCOMPARE(f.exo->selection(), (TextRange{expected, 2}));
    QVERIFY(f.messages.asked().isEmpty());
}

void tst_TextSearch::secondFailureDoesNotWrapAgain()
{
    SearchFixture f(QStringLiteral("rien ici"));
    f.state.searchText = QStringLiteral("chat");
    f.messages.answerNext(MessageAnswer::Ok);
    f.search.continueSearch();
    QCOMPARE(f.state.lastFoundPosition, -1);
    QCOMPARE(f.messages.asked().at(0).text, QStringLiteral("Impossible de trouver chat"));
    QCOMPARE(f.messages.asked().at(0).title, QStringLiteral("Texte introuvable"));
    QCOMPARE(f.messages.asked().at(0).icon, MessageIcon::None);

    // The match at 0 is found now: the search after a failure starts there.
    f.exo->setText("chat");
    f.search.continueSearch();
    QCOMPARE(f.state.lastFoundPosition, 0);
}

void tst_TextSearch::dialogPrefill_data()
{
    QTest::addColumn<TextRange>("selection");
    QTest::addColumn<int>("options");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<bool>("wholeWord");
    QTest::newRow("selection, no options")
        << TextRange{3, 5} << 0 << QStringLiteral("chaud") << false << false;
    QTest::newRow("no selection: previous text, case")
        << TextRange{2, 0} << 4 << QStringLiteral("avant") << true << false;
    QTest::newRow("whole word") << TextRange{0, 0} << 2 << QStringLiteral("avant") << false << true;
    QTest::newRow("options 6 tick both") << TextRange{0, 0} << 6 << QStringLiteral("avant") << true << true;
}

void tst_TextSearch::dialogPrefill()
{
    QFETCH(TextRange, selection);
    QFETCH(int, options);
    QFETCH(QString, text);
    QFETCH(bool, matchCase);
    QFETCH(bool, wholeWord);
    SearchFixture f(QStringLiteral("le chaud soleil"));
    f.state.searchText = QStringLiteral("avant");
    f.state.findOptions = options;
    f.state.replaceReported = 1;
    f.exo->setSelection(selection);
    const SearchRequest request = f.search.openFindDialog();
    QCOMPARE(request.searchText, text);
    QCOMPARE(request.matchCase, matchCase);
    QCOMPARE(request.wholeWord, wholeWord);
    QCOMPARE(f.state.replaceReported, int16_t(0));
}

void tst_TextSearch::dialogSearchRemembersTextAndOptions()
{
    SearchFixture f(QStringLiteral("Chat chat"));
    SearchRequest request;
    request.searchText = QStringLiteral("chat");
    request.matchCase = true;
    request.wholeWord = true;
    QVERIFY(f.search.search(request));
    QCOMPARE(f.state.searchText, QStringLiteral("chat"));
    QCOMPARE(f.state.findOptions, 6);
    QCOMPARE(f.exo->selection(), (TextRange{5, 4}));
    QVERIFY(f.search.continuesAfterDialog());
}

void tst_TextSearch::failedDialogSearchSaysSo()
{
    SearchFixture f(QStringLiteral("Chat"));
    f.messages.answerNext(MessageAnswer::Ok);
    SearchRequest request;
    request.searchText = QStringLiteral("chien");
    QVERIFY(!f.search.search(request));
    QCOMPARE(f.messages.askedTexts(), QStringList{QStringLiteral("Impossible de trouver chien")});
}

void tst_TextSearch::cancelEndsTheCommand()
{
    SearchFixture f(QStringLiteral("Chat"));
    f.state.searchText = QStringLiteral("Chat");
    f.search.cancel();
    QVERIFY(f.state.searchText.isEmpty());
    QVERIFY(!f.search.continuesAfterDialog());
}

QTEST_MAIN(tst_TextSearch)
#include "tst_textsearch.moc"
